// The yardstick for the clock at rest: a QLabel showing hh:mm:ss, set by an 850 ms timer.
#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel label;
  label.setWindowTitle("Minimal clock");
  label.resize(330, 133);
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout,
                   [&] { label.setText(QTime::currentTime().toString("hh:mm:ss")); });
  timer.start(850);
  label.show();
  return app.exec();
}
