// Renders an SVG picture to a square PNG: the program icon's fixed sizes for the
// desktop's icon theme. Usage: render_icon PICTURE.svg SIZE OUT.png

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  bool ok = false;
  const int size = args.size() == 4 ? args[2].toInt(&ok) : 0;
  if (!ok || size <= 0 || size > 4096) {
    std::fputs("usage: render_icon PICTURE.svg SIZE OUT.png\n", stderr);
    return 2;
  }
  QSvgRenderer renderer(args[1]);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render_icon: cannot read %s\n", qPrintable(args[1]));
    return 1;
  }
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  QDir().mkpath(QFileInfo(args[3]).absolutePath());
  if (!image.save(args[3], "PNG")) {
    std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(args[3]));
    return 1;
  }
  return 0;
}
