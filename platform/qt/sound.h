#pragma once
// .WAV playback for the clock: one sound at a time, never waited for.
//
// The sounds play in a helper program ("tessaron_sound"), started for a sound and let go
// once it reports that nothing plays: a clock at rest holds no sound library and no
// sound-server connection. The helper answers every command at once; one that does not
// answer, floods its output or dies is dropped, and the next sound starts another.
//
// Example: playLoop("smallworld.wav", onFailure) loops until playOnce("ding.wav")
// replaces it; stopSound() right after leaves the ding to play out. A damaged
// "smallworld.wav" runs onFailure("the file is not a playable .WAV (...)") instead.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QProcess;
class QTimer;

namespace tessaron::qt {

class SoundPlayer : public QObject {
 public:
  using Failure = std::function<void(const std::string& reason)>;

  // `program`: the helper to run; empty for the one beside the executable.
  explicit SoundPlayer(QString program = {}, int answerLimitMs = kAnswerLimitMs,
                       QObject* parent = nullptr);
  ~SoundPlayer() override;

  // Each request replaces the sound that was playing.
  void playOnce(const QString& path);
  // `onFailure` runs once, later, should the loop not play.
  void playLoop(const QString& path, Failure onFailure = {});
  // Ends looped playback; a one-shot sound plays to its end.
  void stopSound();
  // Waits while a one-shot sound still plays, at most `maxMs`; any loop ends.
  void waitForOneShot(int maxMs);

  // How long a helper may take to answer a command before it is dropped.
  static constexpr int kAnswerLimitMs = 5000;

 private:
  // False when no helper could be started.
  bool send(const QByteArray& verb, const QString& path = {});
  void readReplies();
  void reply(const QByteArray& line);
  void letGo();
  void drop(const std::string& reason);
  void forget(QProcess* helper);
  void loopFailed(const std::string& reason);

  QString program_;
  int answerLimitMs_;
  QProcess* helper_ = nullptr;   // the helper that takes the next command
  QTimer* answerTimer_;          // runs while a command is unanswered
  unsigned long long sent_ = 0;  // number of the last command sent
  unsigned long long answered_ = 0;
  unsigned long long loop_ = 0;  // number of the loop request that should be playing; 0: none
  Failure onLoopFailure_;
  QByteArray replies_;
  qint64 received_ = 0;   // bytes from the current helper
  qint64 allowance_ = 0;  // bytes it may send for the commands it was given
  bool warned_ = false;   // the helper's absence is told once
};

}  // namespace tessaron::qt
