#include <malloc.h>
#include <signal.h>

#include <QApplication>
#include <QTimer>

#include "core/tessaron.h"
#include "platform/qt/command_line.h"
#include "platform/qt/icons.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_platform.h"

int main(int argc, char* argv[]) {
  if (const auto status = tessaron::qt::handleCommandLine(argc, argv)) return *status;
  // A few dots a second go to the X server as plain image requests: through shared memory
  // each repaint would wake the clock a second time, when the server reports it done.
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
  // Past a file-size limit a save must fail and say so, not end the clock.
  signal(SIGXFSZ, SIG_IGN);
  tessaron::qt::QtPlatform::refuseUnreadableTz();
  // Where an X display is there (an X11 session, or XWayland under GNOME or KDE), the
  // clock runs on it, so that Always on Top and the saved position work; Wayland alone
  // is the fallback. The user's own choice of platform wins.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
  }
  QApplication app(argc, argv);
  // The window class ("Tessaron") and, on Wayland, the application id that the desktop
  // entry names.
  QApplication::setApplicationName("Tessaron");
  QGuiApplication::setDesktopFileName("org.tessaron.Tessaron");
  // Help, prompts and messages carry the clock's icon, not the toolkit's.
  QApplication::setWindowIcon(tessaron::qt::toolbarIcon(1));

  tessaron::qt::QtPlatform platform;
  tessaron::Tessaron core(platform);
  {
    tessaron::qt::MainWindow window(core);
    platform.attach(&window);
    core.Form_Load();
    if (!core.unloaded) {
      platform.watchSystemZone([&core, &window] {
        core.systemZoneChanged();
        window.sync();
      });
      window.sync();
      window.show();
      window.startClock();
      // Start-up reads hundreds of zone files and builds the window; hand the memory it
      // freed back to the system rather than keep it for a clock that will not need it.
      QTimer::singleShot(0, [] { malloc_trim(0); });
      app.exec();
    }
  }
  platform.closeClock(core);
  return 0;
}
