// A plain Qt Widgets window: the yardstick for the clock's start-up time and memory.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Minimal");
  window.resize(330, 133);
  window.show();
  return app.exec();
}
