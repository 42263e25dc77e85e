// tessaron_sound: plays the clock's sounds in a process of its own, so that a clock
// at rest holds neither Qt Multimedia nor a sound-server connection. The clock
// starts it for a sound and lets it go once it reports that nothing plays.
//
// Commands arrive on standard input, one a line, each numbered by the clock:
//   "<n> once <file URL>"   play once, replacing what plays
//   "<n> loop <file URL>"   play over and over, replacing what plays
//   "<n> stop"              end the looped sound; a one-shot sound plays out
// Whenever nothing plays any more it writes "<n> idle", n being the last command
// read. At the end of its input (the clock closed it, or died) it ends any loop,
// lets a one-shot sound play out and exits: music never outlives the clock.

#include <signal.h>
#include <unistd.h>

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QSocketNotifier>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace {

// How long a one-shot sound may still play after the input has ended.
constexpr int kPlayOutLimitMs = 10000;

class Player : public QObject {
 public:
  Player() : input_(STDIN_FILENO, QSocketNotifier::Read) {
    once_.setLoopCount(1);
    loop_.setLoopCount(QSoundEffect::Infinite);
    for (QSoundEffect* effect : {&once_, &loop_}) {
      connect(effect, &QSoundEffect::playingChanged, this, &Player::checkIdle);
      connect(effect, &QSoundEffect::statusChanged, this, &Player::checkIdle);
    }
    connect(&input_, &QSocketNotifier::activated, this, &Player::readInput);
  }

 private:
  static bool busy(const QSoundEffect& effect) {
    return effect.status() != QSoundEffect::Error &&
           (effect.isPlaying() || effect.status() == QSoundEffect::Loading);
  }

  void readInput() {
    char chunk[4096];
    const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) return;
    if (n <= 0) {
      finish();
      return;
    }
    pending_.append(chunk, n);
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
      const QByteArray line = pending_.left(end);
      pending_.remove(0, end + 1);
      run(line);
    }
  }

  void run(const QByteArray& line) {
    const QList<QByteArray> words = line.trimmed().split(' ');
    bool numbered = false;
    const qulonglong number = words.value(0).toULongLong(&numbered);
    if (!numbered || words.size() < 2) return;  // not from the clock: ignored
    last_ = number;
    const QByteArray& verb = words[1];
    if (verb == "stop") {
      loop_.stop();
    } else if ((verb == "once" || verb == "loop") && words.size() == 3) {
      QSoundEffect& start = verb == "once" ? once_ : loop_;
      QSoundEffect& other = verb == "once" ? loop_ : once_;
      other.stop();
      start.stop();
      // Without an output nothing could be heard: stay silent and say so.
      if (!QMediaDevices::defaultAudioOutput().isNull()) {
        start.setSource(QUrl::fromEncoded(words[2]));
        start.play();  // starts once the file is loaded; an unreadable one ends in Error
      }
    }
    reported_ = false;
    checkIdle();
  }

  void checkIdle() {
    if (busy(once_) || busy(loop_)) return;
    if (ended_) {
      QCoreApplication::quit();
      return;
    }
    if (reported_) return;
    reported_ = true;
    const QByteArray reply = QByteArray::number(last_) + " idle\n";
    // The clock may be gone; a failed write changes nothing here.
    [[maybe_unused]] const ssize_t written = ::write(STDOUT_FILENO, reply.data(), reply.size());
  }

  void finish() {
    input_.setEnabled(false);
    ended_ = true;
    loop_.stop();
    QTimer::singleShot(kPlayOutLimitMs, qApp, &QCoreApplication::quit);
    checkIdle();
  }

  QSocketNotifier input_;
  QSoundEffect once_;
  QSoundEffect loop_;
  QByteArray pending_;
  qulonglong last_ = 0;
  bool reported_ = false;
  bool ended_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  signal(SIGPIPE, SIG_IGN);  // a clock that died must not take its closing sound with it
  QCoreApplication app(argc, argv);
  Player player;
  return app.exec();
}
