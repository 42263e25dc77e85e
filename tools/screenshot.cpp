// Takes the README's pictures of the clock: the real main window at 21:43:17 with the
// seconds and hints shown, on a light or a dark palette, saved as PNG. Run at
// QT_SCALE_FACTOR=2 for a picture at twice the pixels. With a font size, the application
// font is set to it as a desktop's font settings would, and the alternate zone is shown:
// its selector ("list") or, Tokyo chosen, its label ("label"). LANGUAGE=de (under
// LANG=C.UTF-8) takes the picture in German.
// Usage: screenshot light|dark OUT.png [ZOOM_PERCENT [FONT_POINTS list|label]]

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "core/tessaron.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/text.h"
#include "timezones/conversion.h"

namespace {

constexpr const char* kSaved =
    "255,0,16777215,#TRUE#,#TRUE#,#FALSE#,#FALSE#,0,0,\"smallworld.wav\",#FALSE#\r\n";

class PicturePlatform : public tessaron::qt::QtPlatform {
 public:
  QTemporaryDir folder;  // holds only the saved options
  tessaron::ClockReading clockNow() override {
    using namespace std::chrono;
    const tessaron::ZoneTime at{tessaron::localDate(2026, 12, 10) + hours(21) + minutes(43) +
                                seconds(17)};
    return {tessaron::UtcTime{at.time_since_epoch()}, at, 0};
  }
  // A picture makes no sound.
  void playOnce(const std::string&) override {}
  void playLoop(const std::string&, std::function<void(const std::string&)>) override {}
  void stopSound() override {}
  tessaron::ProgramInfo programInfo() override {
    tessaron::ProgramInfo info = QtPlatform::programInfo();
    info.dataFolder = info.settingsFolder = info.userFolder = folder.path().toStdString();
    return info;
  }
};

QPalette darkPalette() {
  QPalette p;
  const QColor window(0x2a, 0x2e, 0x32), text(0xfc, 0xfc, 0xfc), base(0x1b, 0x1e, 0x20);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor(0x31, 0x36, 0x3b));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
  p.setColor(QPalette::HighlightedText, text);
  p.setColor(QPalette::Light, QColor(0x40, 0x46, 0x4c));
  p.setColor(QPalette::Midlight, QColor(0x38, 0x3d, 0x42));
  p.setColor(QPalette::Mid, QColor(0x24, 0x27, 0x2a));
  p.setColor(QPalette::Dark, QColor(0x18, 0x1a, 0x1c));
  p.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
  return p;
}

}  // namespace

int main(int argc, char* argv[]) {
  // In the language LANGUAGE names, from the catalogs beside the tool in the build folder.
  tessaron::startTranslations(TESSARON_LOCALE_FROM_BIN);
  QApplication app(argc, argv);
  tessaron::qt::installQtTranslations(app);
  const QStringList args = QApplication::arguments();
  const bool withFont = args.size() == 6 && (args[5] == "list" || args[5] == "label");
  if (args.size() < 3 || args.size() == 5 || (args.size() == 6 && !withFont) || args.size() > 6 ||
      (args[1] != "light" && args[1] != "dark")) {
    std::fputs("usage: screenshot light|dark OUT.png [ZOOM_PERCENT [FONT_POINTS list|label]]\n",
               stderr);
    return 2;
  }
  if (withFont) {
    QFont font = QApplication::font();
    font.setPointSizeF(args[4].toDouble());
    QApplication::setFont(font);
  }
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(args[1] == "dark" ? darkPalette()
                                             : QApplication::style()->standardPalette());

  PicturePlatform platform;
  QFile saved(QDir(platform.folder.path()).filePath("Tessa.sav"));
  if (!saved.open(QIODevice::WriteOnly) || saved.write(kSaved) < 0) return 1;
  saved.close();
  if (args.size() >= 4) {
    // The clock's own zoom, as Ctrl+Plus keeps it.
    QFile view(QDir(platform.folder.path()).filePath("Tessa.view"));
    if (!view.open(QIODevice::WriteOnly) || view.write("zoom=" + args[3].toUtf8() + "\n") < 0) {
      return 1;
    }
  }
  tessaron::Tessaron core(platform);
  int status = 0;
  {
    tessaron::qt::MainWindow window(core);
    platform.attach(&window);
    core.Form_Load();
    core.Timer1_Timer();
    if (withFont) {
      core.run(tessaron::Command::AltTimeZone);
      if (args[5] == "label") {
        const auto& list = core.zoneSelector().List;
        for (std::size_t i = 0; i < list.size(); ++i) {
          if (list[i].ends_with(" Asia/Tokyo")) core.selectZone(1, static_cast<int>(i));
        }
      }
    }
    window.sync();
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(args[2], "PNG")) {
      std::fprintf(stderr, "screenshot: cannot write %s\n", qPrintable(args[2]));
      status = 1;
    }
  }
  platform.attach(nullptr);
  return status;
}
