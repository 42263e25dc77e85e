#include "platform/qt/sound.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "platform/qt/helpers.h"
#include "platform/qt/text.h"

namespace tessaron::qt {

namespace {

// A helper answers each command with a line or two; more than this is a flood.
constexpr qint64 kBytesPerCommand = 512;
constexpr qsizetype kMaxReplyBytes = 512;

}  // namespace

SoundPlayer::SoundPlayer(QString program, int answerLimitMs, QObject* parent)
    : QObject(parent),
      program_(program.isEmpty() ? soundHelperPath() : std::move(program)),
      answerLimitMs_(answerLimitMs),
      answerTimer_(new QTimer(this)) {
  answerTimer_->setSingleShot(true);
  connect(answerTimer_, &QTimer::timeout, this,
          [this] { drop(i18n("the sound helper stopped answering")); });
}

SoundPlayer::~SoundPlayer() { waitForOneShot(0); }

void SoundPlayer::playOnce(const QString& path) { send("once", path); }

void SoundPlayer::playLoop(const QString& path, Failure onFailure) {
  const bool sent = send("loop", path);
  loop_ = sent_;
  onLoopFailure_ = std::move(onFailure);
  if (!sent) loopFailed(i18n("the sound helper could not start"));
}

void SoundPlayer::stopSound() {
  // Nothing plays without a helper, so there is nothing to stop.
  if (helper_ != nullptr) send("stop");
}

bool SoundPlayer::send(const QByteArray& verb, const QString& path) {
  // Every request replaces the loop, whether it was heard or not.
  loop_ = 0;
  onLoopFailure_ = nullptr;
  if (helper_ == nullptr) {
    helper_ = new QProcess(this);
    helper_->setProgram(program_);
    helper_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    received_ = 0;
    allowance_ = 0;
    replies_.clear();
    QProcess* helper = helper_;
    connect(helper, &QProcess::readyReadStandardOutput, this, [this, helper] {
      if (helper == helper_) {
        readReplies();
      } else {
        helper->readAllStandardOutput();  // a helper let go has nothing more to say
      }
    });
    // A helper that cannot start or that dies leaves the clock silent, never broken.
    connect(helper, &QProcess::finished, this, [this, helper] {
      if (helper == helper_) {
        readReplies();
        if (helper == helper_) drop(i18n("the sound helper stopped"));
      }
      forget(helper);
    });
    connect(helper, &QProcess::errorOccurred, this, [this, helper](QProcess::ProcessError e) {
      if (e != QProcess::FailedToStart) return;
      if (!warned_) {
        qWarning("tessaron: cannot start %s; the clock stays silent",
                 qPrintable(helper->program()));
        warned_ = true;
      }
      const bool current = helper == helper_;
      forget(helper);
      if (current && loop_ != 0) loopFailed(i18n("the sound helper could not start"));
    });
    helper_->start();
    if (helper_ == nullptr) return false;  // it could not start
  }
  QByteArray line = QByteArray::number(++sent_) + ' ' + verb;
  // Encoded, a file URL holds no space or line break whatever the file is called.
  if (!path.isEmpty()) line += ' ' + QUrl::fromLocalFile(path).toEncoded();
  allowance_ += kBytesPerCommand;
  helper_->write(line + '\n');
  if (!answerTimer_->isActive()) answerTimer_->start(answerLimitMs_);
  return true;
}

void SoundPlayer::readReplies() {
  if (helper_ == nullptr) return;
  const QByteArray data = helper_->readAllStandardOutput();
  received_ += data.size();
  // Dropped before its output is looked at: a flood costs the clock one read.
  if (received_ > allowance_) {
    drop(i18n("the sound helper misbehaved"));
    return;
  }
  replies_ += data;
  qsizetype end;
  while (helper_ != nullptr && (end = replies_.indexOf('\n')) >= 0) {
    const QByteArray line = replies_.left(end);
    replies_.remove(0, end + 1);
    reply(line);
  }
  if (helper_ != nullptr && replies_.size() > kMaxReplyBytes)
    drop(i18n("the sound helper misbehaved"));
}

void SoundPlayer::reply(const QByteArray& line) {
  const qsizetype space = line.indexOf(' ');
  bool numbered = false;
  const unsigned long long number = line.left(space).toULongLong(&numbered);
  if (space < 0 || !numbered || number > sent_) {
    drop(i18n("the sound helper misbehaved"));
    return;
  }
  const QByteArray words = line.mid(space + 1);
  if (number > answered_) answered_ = number;
  if (answered_ == sent_) {
    answerTimer_->stop();
  } else {
    answerTimer_->start(answerLimitMs_);  // the next command's turn
  }
  if (words.startsWith("failed ")) {
    if (number == loop_) loopFailed(words.mid(7).toStdString());
  } else if (words == "idle" && number == sent_) {
    // Idle after an earlier command says nothing of the commands sent since.
    letGo();
  }
}

void SoundPlayer::loopFailed(const std::string& reason) {
  const Failure onFailure = std::move(onLoopFailure_);
  loop_ = 0;
  onLoopFailure_ = nullptr;
  // Later: the core may be in the middle of the request that failed.
  if (onFailure) QTimer::singleShot(0, this, [onFailure, reason] { onFailure(reason); });
}

void SoundPlayer::letGo() {
  // At the end of its input the idle helper exits; the next sound starts another.
  helper_->closeWriteChannel();
  helper_ = nullptr;
  answerTimer_->stop();
  replies_.clear();
}

void SoundPlayer::drop(const std::string& reason) {
  if (helper_ == nullptr) return;
  QProcess* helper = helper_;
  helper_ = nullptr;
  answerTimer_->stop();
  replies_.clear();
  helper->disconnect(this);
  helper->kill();
  helper->waitForFinished(1000);
  helper->deleteLater();
  if (loop_ != 0) loopFailed(reason);
}

void SoundPlayer::forget(QProcess* helper) {
  if (helper_ == helper) helper_ = nullptr;
  helper->deleteLater();
}

void SoundPlayer::waitForOneShot(int maxMs) {
  if (helper_ != nullptr) letGo();
  loop_ = 0;
  onLoopFailure_ = nullptr;
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
