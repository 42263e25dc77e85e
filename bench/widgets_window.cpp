// The clock's widgets with nothing behind them: a window with a menu bar of two menus
// and fourteen items (ten with shortcuts), a toolbar of ten checkable picture buttons
// and a painted row of dots. It shows what Qt's own widgets cost, so that the clock's
// memory can be read as "Qt's widgets" plus "the clock's own code and data".
// The pictures are the clock's own, drawn from their SVG files as Qt draws vector pictures
// (stroked paths, gradients); built with TESSARON_PLAIN_PICTURES, they are filled squares,
// which leave Qt's vector drawing out.
#include <QApplication>
#include <QBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QToolBar>
#ifndef TESSARON_PLAIN_PICTURES
#include <QSvgRenderer>
#endif

namespace {

class Dots : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 17; ++i) {
      painter.setBrush(i % 3 ? Qt::red : Qt::black);
      painter.drawEllipse(QRectF(10 + 18 * i, 60, 16, 16));
    }
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Widgets");
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* menus = new QMenuBar(&window);
  layout->setMenuBar(menus);
  QMenu* options = menus->addMenu("&Options");
  const char* keys = "AMHSNFTZPV";
  for (int i = 0; i < 10; ++i) {
    QAction* item = options->addAction(QString("Option item %1").arg(i));
    item->setCheckable(i % 2 == 0);
    item->setShortcut(QKeySequence(QString("Ctrl+") + QChar(keys[i])));
  }
  QMenu* help = menus->addMenu("&Help");
  for (int i = 0; i < 4; ++i) help->addAction(QString("Help item %1").arg(i));
  auto* dots = new Dots;
  layout->addWidget(dots);
  auto* bar = new QToolBar(dots);
  bar->setIconSize(QSize(20, 20));
#ifdef TESSARON_PLAIN_PICTURES
  for (int i = 0; i < 10; ++i) {
    QPixmap picture(20, 20);
    picture.fill(QColor(25 * i, 0, 128));
    bar->addAction(QIcon(picture), QString())->setCheckable(true);
  }
#else
  for (const char* name : {"on", "off", "transparent", "always", "music", "numbers", "seconds",
                           "alttimezone", "preferences", "vertical"}) {
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QSvgRenderer(QStringLiteral(TESSARON_PICTURES "/%1.svg").arg(QLatin1String(name)))
        .render(&painter, QRectF(picture.rect()));
    painter.end();
    bar->addAction(QIcon(picture), QString())->setCheckable(true);
  }
#endif
  bar->setGeometry(0, 0, 330, 26);
  window.resize(330, 133);
  window.show();
  return app.exec();
}
