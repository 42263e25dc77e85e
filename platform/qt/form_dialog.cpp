#include "platform/qt/form_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "platform/qt/units.h"

namespace tessaron::qt {

namespace {

// The forms were laid out for a smaller system font than most desktops use: the whole
// form takes the largest font size at which every text fits its designed box.
QFont fittingFont(QFont font, const Form& form) {
  auto fits = [&form](QFont f) {
    for (const FormControl& c : form.Controls) {
      f.setBold(c.Bold);
      const int margin = c.kind == FormControl::Kind::CommandButton ? 8 : 0;
      if (QFontMetrics(f).horizontalAdvance(QString::fromStdString(c.Caption)) >
          toPixels(c.Width * form.Scale) - margin) {
        return false;
      }
    }
    return true;
  };
  while (font.pointSizeF() > 6 && !fits(font)) font.setPointSizeF(font.pointSizeF() - 0.5);
  return font;
}

}  // namespace

FormDialog::FormDialog(const Form& form, int frameWidth, QWidget* owner,
                       std::function<void(const std::string&)> onClick)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                         Qt::WindowTitleHint) {
  setObjectName(QString::fromStdString(form.Name));
  setWindowTitle(QString::fromStdString(form.Caption));
  // The clock's zoom draws its text larger too; the font's own size is in the scale.
  QFont zoomed = font();
  if (zoomed.pointSizeF() > 0) {
    zoomed.setPointSizeF(zoomed.pointSizeF() * form.Zoom / 100.0);
  } else {
    zoomed.setPixelSize(static_cast<int>(std::lround(zoomed.pixelSize() * form.Zoom / 100.0)));
  }
  setFont(fittingFont(zoomed, form));
  const double s = form.Scale;
  for (const FormControl& c : form.Controls) {
    const QRect box(toPixels(c.Left * s), toPixels(c.Top * s), toPixels(c.Width * s),
                    toPixels(c.Height * s));
    if (c.kind == FormControl::Kind::CommandButton) {
      auto* button = new QPushButton(QString::fromStdString(c.Caption), this);
      button->setObjectName(QString::fromStdString(c.Name));
      button->setGeometry(box);
      button->setAutoDefault(true);  // Enter presses the button that has the focus
      const std::string name = c.Name;
      connect(button, &QPushButton::clicked, this, [onClick, name] { onClick(name); });
    } else {
      auto* label = new QLabel(this);
      label->setObjectName(QString::fromStdString(c.Name));
      label->setTextFormat(Qt::PlainText);
      label->setText(QString::fromStdString(c.Caption));
      label->setAlignment((c.Centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
      if (c.Bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
      }
      label->setGeometry(box);
      if (!c.AccessibleName.empty())
        label->setAccessibleName(QString::fromStdString(c.AccessibleName));
    }
  }
  const int clientWidth = std::max(1, toPixels(form.Width) - frameWidth);
  setFixedSize(clientWidth, toPixels(form.ClientHeight * s));
  move(toPixels(form.Left), toPixels(form.Top));
}

}  // namespace tessaron::qt
