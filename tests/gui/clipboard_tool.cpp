// The X clipboard for real-window tests, which have no clipboard program of their own.
//   clipboard_tool set TEXT   owns the clipboard with TEXT, says "ready", serves until killed,
//                             saying "served" each time a program asks for the text
//   clipboard_tool get        prints the clipboard's text
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstdio>
#include <cstring>

namespace {
// Tells the test when a paste has fetched the text, so that it can let the owner go.
class TellingMimeData : public QMimeData {
 protected:
  QVariant retrieveData(const QString& type, QMetaType metaType) const override {
    const QVariant data = QMimeData::retrieveData(type, metaType);
    std::puts("served");
    std::fflush(stdout);
    return data;
  }
};
}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (argc == 3 && std::strcmp(argv[1], "set") == 0) {
    auto* data = new TellingMimeData;  // the clipboard owns it
    data->setText(QString::fromUtf8(argv[2]));
    clipboard->setMimeData(data);
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
