#include "platform/qt/icons.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>
#include <utility>
#include <vector>

#include "commands/menu.h"

namespace tessaron::qt {

namespace {

// Rendered once for each size, mode and ink (the palette's text colour), then kept: the
// toolbar repaints its pictures far more often than their look changes. The program's icon
// is not kept: the window system takes it once per window, in sizes that would stay in
// memory for nothing.
class PictureEngine : public QIconEngine {
 public:
  PictureEngine(QByteArray svg, bool keep) : svg_(std::move(svg)), keep_(keep) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    const qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
    QPixmap picture = rendered((QSizeF(rect.size()) * scale).toSize(), mode);
    picture.setDevicePixelRatio(scale);
    painter->drawPixmap(rect, picture);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    return rendered(size, mode);
  }

  QIconEngine* clone() const override { return new PictureEngine(svg_, keep_); }

  // The sizes a window manager gets the program's icon in: the window system's own choice
  // for a scalable icon, less its 128 px, whose drawing starts a pool of threads in a clock
  // that has no other use for them. Larger icons come from the desktop entry's icon.
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {QSize(16, 16), QSize(32, 32), QSize(64, 64)};
  }

 private:
  QByteArray svg_;
  bool keep_;
  struct Key {
    QSize size;
    QIcon::Mode mode;
    QRgb ink;
    bool operator==(const Key&) const = default;
  };
  std::vector<std::pair<Key, QPixmap>> rendered_;  // a few sizes and modes at most

  QPixmap rendered(const QSize& size, QIcon::Mode mode) {
    const QPalette palette = QGuiApplication::palette();
    const QColor ink = palette.color(
        mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active, QPalette::WindowText);
    const Key key{size, mode, ink.rgba()};
    for (const auto& [k, picture] : rendered_) {
      if (k == key) return picture;
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (mode == QIcon::Disabled) painter.setOpacity(0.45);
    QByteArray svg = svg_;
    svg.replace("currentColor", ink.name().toLatin1());
    QSvgRenderer(svg).render(&painter, QRectF(image.rect()));
    painter.end();
    if (!keep_) return QPixmap::fromImage(std::move(image));
    // A palette change makes the old ones useless; zoom steps add a size each.
    if (rendered_.size() >= 16) rendered_.clear();
    rendered_.emplace_back(key, QPixmap::fromImage(std::move(image)));
    return rendered_.back().second;
  }
};

}  // namespace

QIcon toolbarIcon(int index) {
  // The picture list's key, in lower case, names the picture's file.
  if (index < 1 || index > static_cast<int>(kImageKeys.size())) return QIcon();
  const QString key = QString::fromLatin1(kImageKeys[static_cast<std::size_t>(index - 1)]);
  QFile file(QStringLiteral(":/icons/%1.svg").arg(key.toLower()));
  if (!file.open(QIODevice::ReadOnly)) return QIcon();
  return QIcon(new PictureEngine(file.readAll(), index != 1));
}

}  // namespace tessaron::qt
