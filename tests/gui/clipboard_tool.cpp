// The X clipboard for real-window tests, which have no clipboard program of their own.
//   clipboard_tool set TEXT   owns the clipboard with TEXT, says "ready", serves until killed
//   clipboard_tool get        prints the clipboard's text
#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (argc == 3 && std::strcmp(argv[1], "set") == 0) {
    clipboard->setText(QString::fromUtf8(argv[2]));
    std::puts("ready");
    std::fflush(stdout);
    return QGuiApplication::exec();
  }
  if (argc == 2 && std::strcmp(argv[1], "get") == 0) {
    std::fputs(clipboard->text().toUtf8().constData(), stdout);
    return 0;
  }
  std::fputs("usage: clipboard_tool set TEXT | clipboard_tool get\n", stderr);
  return 2;
}
