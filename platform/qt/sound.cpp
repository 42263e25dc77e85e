#include "platform/qt/sound.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QUrl>

#include "platform/qt/program_files.h"

namespace tessaron::qt {

SoundPlayer::~SoundPlayer() { waitForOneShot(0); }

void SoundPlayer::playOnce(const QString& path) { send("once", path); }

void SoundPlayer::playLoop(const QString& path) { send("loop", path); }

void SoundPlayer::stopSound() {
  // Nothing plays without a helper, so there is nothing to stop.
  if (helper_ != nullptr) send("stop");
}

void SoundPlayer::send(const QByteArray& verb, const QString& path) {
  if (helper_ == nullptr) {
    helper_ = new QProcess(this);
    helper_->setProgram(privateProgramFile(kSoundHelper));
    helper_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcess* helper = helper_;
    connect(helper, &QProcess::readyReadStandardOutput, this, &SoundPlayer::readReplies);
    // A helper that cannot start or that dies leaves the clock silent, never broken.
    connect(helper, &QProcess::finished, this, [this, helper] { forget(helper); });
    connect(helper, &QProcess::errorOccurred, this, [this, helper](QProcess::ProcessError e) {
      if (e != QProcess::FailedToStart) return;
      if (!warned_) {
        qWarning("tessaron: cannot start %s; the clock stays silent",
                 qPrintable(helper->program()));
        warned_ = true;
      }
      forget(helper);
    });
    helper_->start();
    if (helper_ == nullptr) return;  // it could not start
  }
  QByteArray line = QByteArray::number(++sent_) + ' ' + verb;
  // Encoded, a file URL holds no space or line break whatever the file is called.
  if (!path.isEmpty()) line += ' ' + QUrl::fromLocalFile(path).toEncoded();
  helper_->write(line + '\n');
}

void SoundPlayer::readReplies() {
  if (helper_ == nullptr) return;
  replies_ += helper_->readAllStandardOutput();
  qsizetype end;
  while ((end = replies_.indexOf('\n')) >= 0) {
    const QByteArray reply = replies_.left(end);
    replies_.remove(0, end + 1);
    // Idle after an earlier command says nothing of the commands sent since.
    if (reply == QByteArray::number(sent_) + " idle") letGo();
  }
}

void SoundPlayer::letGo() {
  // At the end of its input the idle helper exits; the next sound starts another.
  helper_->closeWriteChannel();
  helper_ = nullptr;
  replies_.clear();
}

void SoundPlayer::forget(QProcess* helper) {
  if (helper_ == helper) helper_ = nullptr;
  helper->deleteLater();
}

void SoundPlayer::waitForOneShot(int maxMs) {
  if (helper_ != nullptr) letGo();
  const QDeadlineTimer deadline(maxMs);
  for (QProcess* helper : findChildren<QProcess*>()) {
    if (helper->state() != QProcess::NotRunning &&
        !helper->waitForFinished(static_cast<int>(deadline.remainingTime()))) {
      helper->kill();
      helper->waitForFinished(1000);
    }
  }
}

}  // namespace tessaron::qt
