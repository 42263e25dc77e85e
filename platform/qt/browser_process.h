#pragma once
// The support browser in a process of its own ("tessaron_browser"): started for the first
// browser window, it ends with its last one. The clock never maps the web engine, so its
// memory stays at rest, and a browser that crashes or cannot start takes only itself down.
// Closing the clock leaves open browser windows working.
//
// Example: open("http://host/tessa/tssupport.php", onFailure) starts the browser and asks
// it for a window; a second open() while it runs asks the same process for another. With
// a damaged browser program, onFailure runs once the process has ended without a window;
// one that shows no window within the start limit is ended and fails the same way.
//
// Talk is one line each way on a socket the browser gets as an inherited descriptor:
//   clock -> browser: "<n> open <percent-encoded address>"
//   browser -> clock: "<n> opened"

#include <sys/types.h>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace tessaron::qt {

class BrowserProcess : public QObject {
 public:
  // `startLimitMs`: how long a new browser may take to show its first window.
  explicit BrowserProcess(QString program = {}, QObject* parent = nullptr,
                          int startLimitMs = 10000);
  ~BrowserProcess() override;

  void open(const std::string& address, std::function<void()> onFailure);

  // The running browser's process id, or -1.
  pid_t pid() const { return pid_; }

 private:
  struct Request {
    unsigned long long number;
    std::string address;
    std::function<void()> onFailure;
    bool retried;  // already sent to a browser that ended before it could open it
  };

  bool start();
  bool send(const Request& request);
  void readReplies();
  void ended();
  void fail(Request& request);

  QString program_;
  int startLimitMs_;
  QTimer* startLimit_ = nullptr;
  pid_t pid_ = -1;
  int socket_ = -1;  // our end
  QSocketNotifier* notifier_ = nullptr;
  QByteArray replies_;
  std::vector<Request> unanswered_;
  unsigned long long sent_ = 0;
  bool openedAny_ = false;  // the running browser has opened a window
};

}  // namespace tessaron::qt
