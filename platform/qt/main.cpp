#include <malloc.h>
#include <signal.h>

#include <QApplication>
#include <QEvent>
#include <QIconEngine>
#include <QPainter>
#include <QProxyStyle>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>
#ifdef TESSARON_STARTUP_MARKS
#include <cstdio>
#include <ctime>
#endif

#include "core/tessaron.h"
#include "platform/qt/command_line.h"
#include "platform/qt/icons.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/text.h"

namespace {

// The benchmark build's timing marks: "mark NAME MICROSECONDS HEAP_KIB" (the Unix clock, the
// heap in use), so that the start-up benchmark can say where the time between exec and the
// mapped window goes, and the memory.
void mark([[maybe_unused]] const char* name) {
#ifdef TESSARON_STARTUP_MARKS
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(stderr, "mark %s %lld %zu\n", name,
               static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000,
               mallinfo2().uordblks / 1024);
#endif
}

// The desktop's style, but with the menu bar's and toolbar's overflow arrows drawn as a
// plain chevron: the style's own are image files, and reading the first image file makes
// Qt load every image-format plugin (JPEG, GIF, ICO, SVG) into a clock that shows none.
class ClockStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                     const QWidget* widget) const override {
    if (which == SP_ToolBarHorizontalExtensionButton) return chevron(false);
    if (which == SP_ToolBarVerticalExtensionButton) return chevron(true);
    return QProxyStyle::standardIcon(which, option, widget);
  }

 private:
  class Chevron : public QIconEngine {
   public:
    explicit Chevron(bool down) : down_(down) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
      painter->save();
      painter->setRenderHint(QPainter::Antialiasing);
      painter->setPen(QPen(QGuiApplication::palette().color(
                               mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active,
                               QPalette::WindowText),
                           1.5));
      const QRectF r = QRectF(rect).adjusted(rect.width() * 0.3, rect.height() * 0.3,
                                             -rect.width() * 0.3, -rect.height() * 0.3);
      for (const qreal at : {0.0, 0.45}) {
        if (down_) {
          const qreal y = r.top() + r.height() * at;
          painter->drawPolyline(
              QPolygonF({QPointF(r.left(), y), QPointF(r.center().x(), y + r.height() * 0.45),
                         QPointF(r.right(), y)}));
        } else {
          const qreal x = r.left() + r.width() * at;
          painter->drawPolyline(
              QPolygonF({QPointF(x, r.top()), QPointF(x + r.width() * 0.45, r.center().y()),
                         QPointF(x, r.bottom())}));
        }
      }
      painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
      QPixmap picture(size);
      picture.fill(Qt::transparent);
      QPainter painter(&picture);
      paint(&painter, picture.rect(), mode, state);
      return picture;
    }
    QIconEngine* clone() const override { return new Chevron(down_); }

   private:
    bool down_;
  };
  static QIcon chevron(bool down) { return QIcon(new Chevron(down)); }
};

// Runs `then` once `window` is on screen with its first frame (exposed: the frame is
// painted and sent as the expose is handled), or after `latestMs` should the desktop
// never show it (a window started minimised), whichever comes first.
class AfterFirstFrame : public QObject {
 public:
  AfterFirstFrame(QWidget* window, int latestMs, std::function<void()> then)
      : QObject(window), then_(std::move(then)) {
    window->windowHandle()->installEventFilter(this);
    QTimer::singleShot(latestMs, this, [this] { run(); });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // A moment after the expose painted and flushed the frame: the desktop is busy
    // showing the new window (an opening animation, the compositor's first frame).
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed() &&
        !exposed_) {
      exposed_ = true;
      mark("first-frame");
      QTimer::singleShot(kSettleMs, this, [this] { run(); });
    }
    return false;
  }

 private:
  static constexpr int kSettleMs = 250;
  std::function<void()> then_;
  bool exposed_ = false;
  void run() {
    if (!then_) return;
    static_cast<QWidget*>(parent())->windowHandle()->removeEventFilter(this);
    std::function<void()> then = std::move(then_);
    then_ = nullptr;
    then();
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  mark("main");
  tessaron::startTranslations(TESSARON_LOCALE_FROM_BIN);
  if (const auto status = tessaron::qt::handleCommandLine(argc, argv)) return *status;
  // A few dots a second go to the X server as plain image requests: through shared memory
  // each repaint would wake the clock a second time, when the server reports it done.
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
  // Past a file-size limit a save must fail and say so, not end the clock.
  signal(SIGXFSZ, SIG_IGN);
  tessaron::qt::QtPlatform::refuseUnreadableTz();
  // Before anything reads the zone: the platform pins TZ, and never lets the C library
  // open a system zone file that is a pipe (it would block for good, before any window).
  // Ended before the application, as the Qt objects it makes must be.
  auto ownPlatform = std::make_unique<tessaron::qt::QtPlatform>();
  // Where an X display is there (an X11 session, or XWayland under GNOME or KDE), the
  // clock runs on it, so that Always on Top and the saved position work; Wayland alone
  // is the fallback. The user's own choice of platform wins.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
  }
  QApplication app(argc, argv);
  tessaron::qt::installQtTranslations(app);
  // The window class ("Tessaron") and, on Wayland, the application id that the desktop
  // entry names.
  QApplication::setApplicationName("Tessaron");
  QGuiApplication::setDesktopFileName("org.tessaron.Tessaron");
  // Help, prompts and messages carry the clock's icon, not the toolkit's.
  QApplication::setWindowIcon(tessaron::qt::toolbarIcon(1));

  QApplication::setStyle(new ClockStyle);
  mark("application");

  tessaron::qt::QtPlatform& platform = *ownPlatform;
  {
    tessaron::Tessaron core(platform);
    {
      tessaron::qt::MainWindow window(core);
      mark("widgets");
      platform.attach(&window);
      // The start-up sound's helper starts after the first frame, not beside it.
      platform.holdSounds();
      core.loadWindow();
      mark("window");
      window.sync();
      window.show();
      window.startClock();
      mark("shown");
      // Whether there is a zone catalogue, once the time is on screen; the catalogue itself
      // (hundreds of zone files) is read when the zone option first needs it.
      new AfterFirstFrame(&window, 1000, [&core, &window, &platform] {
        platform.releaseSounds();
        if (!core.checkZoneCatalogue()) {
          QApplication::exit(0);
          return;
        }
        mark("catalogue");
        platform.watchSystemZone([&core, &window] {
          core.systemZoneChanged();
          window.sync();
        });
        window.sync();
        // Start-up built the window; hand the memory it freed back to the system rather
        // than keep it for a clock that will not need it.
        malloc_trim(0);
      });
      app.exec();
    }
    platform.closeClock(core);
  }
  ownPlatform.reset();
  return 0;
}
