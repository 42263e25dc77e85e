// The floors for any Qt clock at rest: a window woken once a second that paints nothing
// (the event loop's wake-up alone), and with --paint one that repaints a single small dot
// each second (the least a clock whose seconds change on screen can do).
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class Dot : public QWidget {
 public:
  bool lit = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(lit ? Qt::red : Qt::black);
    painter.drawEllipse(QRectF(20, 20, 16, 16));
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const bool paint = app.arguments().contains(QStringLiteral("--paint"));
  Dot window;
  window.setWindowTitle(paint ? "Minimal dot" : "Minimal timer");
  window.resize(330, 133);
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (!paint) return;
    window.lit = !window.lit;
    window.repaint(QRect(20, 20, 16, 16));
  });
  timer.start(1000);
  window.show();
  return app.exec();
}
