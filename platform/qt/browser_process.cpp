#include "platform/qt/browser_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>

#include "platform/qt/helpers.h"

extern char** environ;

namespace tessaron::qt {

namespace {

constexpr int kBrowserFd = 3;  // where the browser finds its end of the socket
constexpr qsizetype kMaxReplyBytes = 4096;

// Reaps an ended browser without waiting for it: it may take a moment to go.
void reap(pid_t pid, int triesLeft = 50) {
  if (waitpid(pid, nullptr, WNOHANG) != 0 || triesLeft == 0) return;
  QTimer::singleShot(100, [pid, triesLeft] { reap(pid, triesLeft - 1); });
}

}  // namespace

BrowserProcess::BrowserProcess(QString program, QObject* parent, int startLimitMs)
    : QObject(parent),
      program_(program.isEmpty() ? browserHelperPath() : std::move(program)),
      startLimitMs_(startLimitMs) {}

BrowserProcess::~BrowserProcess() {
  // The browser keeps its windows; it sees the clock gone and ends with its last window.
  // One that has shown none yet would have nothing to end with: it goes with the clock.
  if (pid_ >= 0 && !openedAny_) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, WNOHANG);
  }
  if (socket_ >= 0) ::close(socket_);
}

void BrowserProcess::open(const std::string& address, std::function<void()> onFailure) {
  Request request{++sent_, address, std::move(onFailure), false};
  if ((pid_ < 0 && !start()) || !send(request)) {
    fail(request);
    return;
  }
  unanswered_.push_back(std::move(request));
}

bool BrowserProcess::start() {
  int pair[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pair[1], kBrowserFd);  // dup2 clears close-on-exec
  const QByteArray path = program_.toLocal8Bit();
  const QByteArray fdArgument = "--clock-fd=" + QByteArray::number(kBrowserFd);
  char* argv[] = {const_cast<char*>(path.constData()), const_cast<char*>(fdArgument.constData()),
                  nullptr};
  pid_t pid = -1;
  const int error = posix_spawn(&pid, path.constData(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pair[1]);
  if (error != 0) {
    ::close(pair[0]);
    return false;
  }
  pid_ = pid;
  socket_ = pair[0];
  openedAny_ = false;
  replies_.clear();
  notifier_ = new QSocketNotifier(socket_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &BrowserProcess::readReplies);
  // A browser that starts but never shows a window must not leave Support silent.
  if (startLimit_ == nullptr) {
    startLimit_ = new QTimer(this);
    startLimit_->setSingleShot(true);
    connect(startLimit_, &QTimer::timeout, this, [this] {
      if (pid_ < 0 || openedAny_) return;
      ::kill(pid_, SIGKILL);  // hung, perhaps deaf to a polite request too
      ended();
    });
  }
  startLimit_->start(startLimitMs_);
  return true;
}

bool BrowserProcess::send(const Request& request) {
  const QByteArray line = QByteArray::number(request.number) + " open " +
                          QUrl::toPercentEncoding(QString::fromStdString(request.address)) + "\n";
  // Never blocks and never raises SIGPIPE: a browser that stopped reading has failed.
  const ssize_t n = ::send(socket_, line.constData(), static_cast<size_t>(line.size()),
                           MSG_NOSIGNAL | MSG_DONTWAIT);
  return n == line.size();
}

void BrowserProcess::readReplies() {
  char chunk[1024];
  const ssize_t n = ::recv(socket_, chunk, sizeof chunk, MSG_DONTWAIT);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
  if (n <= 0 || replies_.size() + n > kMaxReplyBytes) {
    ended();
    return;
  }
  replies_.append(chunk, n);
  qsizetype end;
  while ((end = replies_.indexOf('\n')) >= 0) {
    const QList<QByteArray> words = replies_.left(end).split(' ');
    replies_.remove(0, end + 1);
    if (words.size() != 2 || words[1] != "opened") continue;
    const unsigned long long number = words[0].toULongLong();
    std::erase_if(unanswered_, [number](const Request& r) { return r.number == number; });
    openedAny_ = true;
    startLimit_->stop();
  }
}

void BrowserProcess::ended() {
  // A browser that is still there but talks nonsense is ended too.
  ::kill(pid_, SIGTERM);
  delete notifier_;
  notifier_ = nullptr;
  ::close(socket_);
  socket_ = -1;
  reap(pid_);
  pid_ = -1;
  const bool worked = openedAny_;
  std::vector<Request> left = std::move(unanswered_);
  unanswered_.clear();
  for (Request& request : left) {
    // A working browser that closed its last window as this request came asks for a
    // new one; one that never opened a window could not start.
    if (worked && !request.retried && (pid_ >= 0 || start())) {
      request.retried = true;
      if (send(request)) {
        unanswered_.push_back(std::move(request));
        continue;
      }
    }
    fail(request);
  }
}

void BrowserProcess::fail(Request& request) {
  // Later: the core may be in the middle of the request that failed.
  if (request.onFailure) QTimer::singleShot(0, this, std::move(request.onFailure));
}

}  // namespace tessaron::qt
