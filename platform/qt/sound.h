#pragma once
// .WAV playback for the clock: one sound at a time, never waited for.
//
// Example: playLoop("smallworld.wav") loops until playOnce("ding.wav") replaces
// it; stopSound() right after leaves the ding to play out.

#include <QObject>
#include <QString>

class QSoundEffect;

namespace tessaron::qt {

class SoundPlayer : public QObject {
 public:
  explicit SoundPlayer(QObject* parent = nullptr);

  // Each request replaces the sound that was playing.
  void playOnce(const QString& path);
  void playLoop(const QString& path);
  // Ends looped playback; a one-shot sound plays to its end.
  void stopSound();
  // Waits, handling events, while a one-shot sound still plays, at most `maxMs`.
  void waitForOneShot(int maxMs);

 private:
  QSoundEffect* once_;
  QSoundEffect* loop_;
};

}  // namespace tessaron::qt
