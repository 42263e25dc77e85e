#include "platform/qt/icons.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace tessaron::qt {

namespace {

// Drawn afresh for each size, mode and palette: a handful of small pictures, painted
// only when the toolbar is.
class PictureEngine : public QIconEngine {
 public:
  explicit PictureEngine(QByteArray svg) : svg_(std::move(svg)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const QPalette palette = QGuiApplication::palette();
    QColor ink = palette.color(QPalette::Active, QPalette::WindowText);
    if (mode == QIcon::Disabled) ink = palette.color(QPalette::Disabled, QPalette::WindowText);
    QByteArray svg = svg_;
    svg.replace("currentColor", ink.name().toLatin1());
    QSvgRenderer renderer(svg);
    painter->save();
    if (mode == QIcon::Disabled) painter->setOpacity(0.45);
    renderer.render(painter, QRectF(rect));
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(&painter, image.rect(), mode, state);
    painter.end();
    return QPixmap::fromImage(std::move(image));
  }

  QIconEngine* clone() const override { return new PictureEngine(svg_); }

 private:
  QByteArray svg_;
};

}  // namespace

QIcon toolbarIcon(int index) {
  // In the order of the picture list.
  static const char* const kPictures[] = {"main",        "always", "seconds",     "alttimezone",
                                          "on",          "off",    "transparent", "numbers",
                                          "preferences", "music",  "vertical"};
  if (index < 1 || index > static_cast<int>(std::size(kPictures))) return QIcon();
  QFile file(QStringLiteral(":/icons/%1.svg").arg(kPictures[index - 1]));
  if (!file.open(QIODevice::ReadOnly)) return QIcon();
  return QIcon(new PictureEngine(file.readAll()));
}

}  // namespace tessaron::qt
