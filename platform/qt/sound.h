#pragma once
// .WAV playback for the clock: one sound at a time, never waited for.
//
// The sounds play in a helper program ("tessaron_sound", see privateProgramFile),
// started for a sound and let go once it reports that nothing plays: a clock at
// rest holds no sound library and no sound-server connection.
//
// Example: playLoop("smallworld.wav") loops until playOnce("ding.wav") replaces
// it; stopSound() right after leaves the ding to play out.

#include <QByteArray>
#include <QObject>
#include <QString>

class QProcess;

namespace tessaron::qt {

// The helper's file name.
inline constexpr const char* kSoundHelper = "tessaron_sound";

class SoundPlayer : public QObject {
 public:
  explicit SoundPlayer(QObject* parent = nullptr) : QObject(parent) {}
  ~SoundPlayer() override;

  // Each request replaces the sound that was playing.
  void playOnce(const QString& path);
  void playLoop(const QString& path);
  // Ends looped playback; a one-shot sound plays to its end.
  void stopSound();
  // Waits while a one-shot sound still plays, at most `maxMs`; any loop ends.
  void waitForOneShot(int maxMs);

 private:
  void send(const QByteArray& verb, const QString& path = {});
  void readReplies();
  void letGo();
  void forget(QProcess* helper);

  QProcess* helper_ = nullptr;   // the helper that takes the next command
  unsigned long long sent_ = 0;  // number of the last command sent
  QByteArray replies_;
  bool warned_ = false;  // the helper's absence is told once
};

}  // namespace tessaron::qt
