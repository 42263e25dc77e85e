// A plain Qt Widgets window that shows one line of text: like the clock, it loads the
// font system, which a window without text never does.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel window("Minimal");
  window.setWindowTitle("Minimal text");
  window.resize(330, 133);
  window.show();
  return app.exec();
}
