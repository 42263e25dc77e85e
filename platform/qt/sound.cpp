#include "platform/qt/sound.h"

#include <QAudioDevice>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

namespace tessaron::qt {

SoundPlayer::SoundPlayer(QObject* parent)
    : QObject(parent), once_(new QSoundEffect(this)), loop_(new QSoundEffect(this)) {
  once_->setLoopCount(1);
  loop_->setLoopCount(QSoundEffect::Infinite);
}

// A sound that cannot be loaded or played stays silent: the clock ignores sound failures.
static void start(QSoundEffect* effect, const QString& path) {
  effect->stop();
  effect->setSource(QUrl::fromLocalFile(path));
  effect->play();  // starts once the file is loaded, if it is not yet
}

void SoundPlayer::playOnce(const QString& path) {
  loop_->stop();
  start(once_, path);
}

void SoundPlayer::playLoop(const QString& path) {
  once_->stop();
  start(loop_, path);
}

void SoundPlayer::stopSound() { loop_->stop(); }

void SoundPlayer::waitForOneShot(int maxMs) {
  // Without an output nothing is heard, however long the effect says it plays.
  if (QMediaDevices::defaultAudioOutput().isNull()) return;
  const QDeadlineTimer deadline(maxMs);
  QEventLoop loop;
  QTimer poll;
  connect(&poll, &QTimer::timeout, &loop, [&] {
    const bool loading = once_->status() == QSoundEffect::Loading;
    if (once_->status() == QSoundEffect::Error) loop.quit();
    if ((!once_->isPlaying() && !loading) || deadline.hasExpired()) loop.quit();
  });
  poll.start(20);
  loop.exec();
}

}  // namespace tessaron::qt
