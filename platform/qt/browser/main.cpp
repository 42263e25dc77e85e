// tessaron_browser: the support browser, a program of its own so that the clock never maps
// the web engine. The clock asks it for windows over the socket named by --clock-fd; it
// answers each with "<n> opened" once the window shows, and ends with its last window,
// whether or not the clock is still there.

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QByteArray>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QSocketNotifier>
#include <QTranslator>
#include <QUrl>
#include <vector>

#include "i18n/i18n.h"
#include "platform/qt/browser/browser_window.h"

namespace {

constexpr qsizetype kMaxLineBytes = 64 * 1024;

class ClockLink : public QObject {
 public:
  explicit ClockLink(int fd) : fd_(fd), notifier_(fd, QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &ClockLink::read);
  }

 private:
  void read() {
    char chunk[4096];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
      // The clock is gone: the windows stay; with none open there is nothing to do.
      notifier_.setEnabled(false);
      ::close(fd_);
      fd_ = -1;
      if (windows_ == 0) QCoreApplication::quit();
      return;
    }
    pending_.append(chunk, n);
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
      const QList<QByteArray> words = pending_.left(end).split(' ');
      pending_.remove(0, end + 1);
      if (words.size() == 3 && words[1] == "open") open(words[0], words[2]);
    }
    if (pending_.size() > kMaxLineBytes) pending_.clear();  // not from the clock
  }

  void open(const QByteArray& number, const QByteArray& encodedAddress) {
    const QString address = QUrl::fromPercentEncoding(encodedAddress);
    auto* window =
        new tessaron::qt::BrowserWindow(address.toStdString());  // deletes itself on close
    ++windows_;
    connect(window, &QObject::destroyed, this, [this] { --windows_; });
    // Pages must be gone before the engine's profile goes down with the program.
    connect(qApp, &QCoreApplication::aboutToQuit, window, [window] { delete window; });
    window->show();
    if (fd_ < 0) return;
    const QByteArray reply = number + " opened\n";
    [[maybe_unused]] const ssize_t sent =
        ::send(fd_, reply.constData(), static_cast<size_t>(reply.size()), MSG_NOSIGNAL);
  }

  int fd_;
  QSocketNotifier notifier_;
  QByteArray pending_;
  int windows_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  int fd = -1;
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg.startsWith("--clock-fd=")) fd = arg.mid(11).toInt();
  }
  if (fd < 0 || ::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) return 2;  // only the clock starts it
  // The web engine's sandbox refuses to start for the superuser.
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  // The page's content to screen readers: the engine keeps it from them on Linux unless
  // asked, and builds it only while one listens.
  qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  tessaron::startTranslations(TESSARON_LOCALE_FROM_PRIVATE);
  QApplication app(argc, argv);
  // Qt's and the web engine's own words (a page's context menu) in the user's language.
  for (const char* catalog : {"qtbase", "qtwebengine"}) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(), QString::fromLatin1(catalog), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QCoreApplication::installTranslator(translator);
    }
  }
  QApplication::setApplicationName("Tessaron");
  // The clock's icon on its browser windows too.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/main.svg")));
  ClockLink link(fd);
  return app.exec();
}
