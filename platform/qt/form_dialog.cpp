#include "platform/qt/form_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

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
          toPixels(c.Width) - margin) {
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
  setFont(fittingFont(font(), form));
  for (const FormControl& c : form.Controls) {
    const QRect box(toPixels(c.Left), toPixels(c.Top), toPixels(c.Width), toPixels(c.Height));
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
  setFixedSize(clientWidth, toPixels(form.ClientHeight));
  move(toPixels(form.Left), toPixels(form.Top));
}

}  // namespace tessaron::qt
