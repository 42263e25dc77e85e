#include "platform/qt/qt_platform.h"

#include <time.h>

#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTimeZone>
#include <algorithm>

#include "platform/qt/browser_process.h"
#include "platform/qt/files.h"
#include "platform/qt/form_dialog.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/main_window.h"
#include "platform/qt/program_files.h"
#include "platform/qt/sound.h"
#include "platform/qt/units.h"
#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/zone_year.h"

namespace tessaron::qt {

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

ClockReading QtPlatform::clockNow() {
  // One reading of the clock for all three, so that none of them is from the next second.
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  // The system's zone is looked up again once a minute, not at every tick: each lookup
  // stats the zone file.
  if (now.tv_sec / 60 != zoneCheckedMinute_) {
    zoneCheckedMinute_ = now.tv_sec / 60;
    ::tzset();
  }
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  constexpr std::int64_t kUnixEpochSerial = 25569LL * 86400;  // 1970-01-01 as a date serial
  const UtcTime utc{static_cast<std::int64_t>(now.tv_sec) + kUnixEpochSerial};
  return {utc, ZoneTime{utc.seconds + local.tm_gmtoff}, static_cast<int>(now.tv_nsec / 1000000)};
}

LocalDateTime QtPlatform::localNow() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

static QRect screenGeometry(const MainWindow* window) {
  const QScreen* screen = window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

ScreenArea QtPlatform::windowScreen() {
  const QRect g = screenGeometry(window_);
  return {toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
}

std::vector<ScreenArea> QtPlatform::screens() {
  std::vector<ScreenArea> areas;
  const QScreen* primary = QGuiApplication::primaryScreen();
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    const ScreenArea area{toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
    if (screen == primary) {
      areas.insert(areas.begin(), area);
    } else {
      areas.push_back(area);
    }
  }
  return areas;
}

double QtPlatform::windowLeft() { return window_->outerLeft(); }
double QtPlatform::windowTop() { return window_->outerTop(); }
double QtPlatform::windowWidth() { return window_->outerWidth(); }
double QtPlatform::windowHeight() { return window_->outerHeight(); }
void QtPlatform::setWindowLeft(double twips) { window_->setOuterLeft(twips); }
void QtPlatform::setWindowTop(double twips) { window_->setOuterTop(twips); }
void QtPlatform::setWindowWidth(double twips) { window_->setOuterWidth(twips); }
void QtPlatform::setWindowHeight(double twips) { window_->setOuterHeight(twips); }

Colour QtPlatform::windowBackgroundColour() { return kButtonFace; }

QWidget* QtPlatform::owner() const {
  // Before its first showing the clock has no place on the screen yet: a dialog that it
  // owned would make its native window early, and the window manager would then take the
  // saved position for the client area's and open the clock a title bar too high.
  return window_ != nullptr && window_->isVisible() ? window_ : nullptr;
}

void QtPlatform::setTopmost(bool topmost) { window_->setTopmost(topmost); }

std::optional<Colour> QtPlatform::chooseColour(Colour initial, const std::string& title) {
  QColorDialog dialog(toQColor(initial, window_->palette()), owner());
  dialog.setWindowTitle(QString::fromStdString(title));
  // Beside the clock, not over it, so that the dots stay in sight: to its right, else its
  // left, level with its top; else below or above it; on a screen too small for any of
  // these, to its right as far as the screen allows.
  const QRect clock = window_->frameGeometry();
  const QRect screen = window_->screen()->availableGeometry();
  dialog.adjustSize();
  // The window manager will frame it as it framed the clock.
  const QSize size = dialog.size() + (clock.size() - window_->size());
  const int level = std::clamp(clock.top(), screen.top(),
                               std::max(screen.top(), screen.bottom() + 1 - size.height()));
  const QPoint places[] = {{clock.right() + 1, level},
                           {clock.left() - size.width(), level},
                           {clock.left(), clock.bottom() + 1},
                           {clock.left(), clock.top() - size.height()}};
  QPoint at(std::min(clock.right() + 1, screen.right() + 1 - size.width()), level);
  for (const QPoint& place : places) {
    if (screen.contains(QRect(place, size))) {
      at = place;
      break;
    }
  }
  dialog.move(at);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return fromQColor(dialog.selectedColor());
}

std::string QtPlatform::inputBox(const std::string& message, const std::string& title,
                                 const std::string& defaultText, double left, double top) {
  QInputDialog dialog(owner());
  dialog.setWindowTitle(QString::fromStdString(title));
  dialog.setLabelText(QString::fromStdString(message));
  dialog.setTextValue(QString::fromStdString(defaultText));
  dialog.move(toPixels(left), toPixels(top));
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdString();
}

void QtPlatform::messageBox(const std::string& text, MessageStyle style, const std::string& title) {
  const QMessageBox::Icon icon = style == MessageStyle::Information   ? QMessageBox::Information
                                 : style == MessageStyle::Exclamation ? QMessageBox::Warning
                                                                      : QMessageBox::NoIcon;
  QMessageBox box(icon, title.empty() ? QStringLiteral("Tessa") : QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::Ok, owner());
  box.exec();
}

SoundPlayer& QtPlatform::sound() {
  if (!sound_) sound_ = std::make_unique<SoundPlayer>();
  return *sound_;
}

void QtPlatform::playOnce(const std::string& path) {
  sound().playOnce(QString::fromStdString(path));
}
void QtPlatform::playLoop(const std::string& path,
                          std::function<void(const std::string&)> onFailure) {
  sound().playLoop(QString::fromStdString(path), std::move(onFailure));
}
void QtPlatform::stopSound() { sound().stopSound(); }

void QtPlatform::finishSounds(int maxMs) {
  if (sound_) sound_->waitForOneShot(maxMs);
}

std::optional<std::string> QtPlatform::showHelp(const std::string& path) {
  if (!help_) help_ = std::make_unique<HelpViewer>();
  if (const auto error = help_->open(QString::fromStdString(path))) return error->toStdString();
  return std::nullopt;
}

double QtPlatform::formFrameHeight() {
  // A dialog gets the same decorations as the clock's own window.
  if (window_ == nullptr) return 0;
  return toTwips(window_->frameGeometry().height() - window_->geometry().height());
}

void QtPlatform::showModalForm(const Form& form,
                               const std::function<void(const std::string&)>& onClick) {
  const int frameWidth =
      window_ != nullptr ? window_->frameGeometry().width() - window_->geometry().width() : 0;
  FormDialog dialog(form, frameWidth, window_, onClick);
  FormDialog* const outer = openForm_;
  openForm_ = &dialog;
  dialog.exec();
  openForm_ = outer;
}

void QtPlatform::closeModalForm() {
  if (openForm_ != nullptr) openForm_->done(QDialog::Rejected);
}

void QtPlatform::openBrowserWindow(const std::string& startingAddress,
                                   std::function<void()> onFailure) {
  // The browser runs in a process of its own: whatever becomes of it, the clock goes on.
  if (!browser_) browser_ = std::make_unique<BrowserProcess>();
  browser_->open(startingAddress, std::move(onFailure));
}

bool QtPlatform::isOrdinaryFile(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  return info.isFile() && !info.isHidden();
}

FileRead QtPlatform::readFile(const std::string& path, std::size_t maxBytes) {
  return readSmallFile(path, maxBytes);
}

std::optional<std::string> QtPlatform::writeFileReplacing(const std::string& path,
                                                          const std::string& contents) {
  return replaceFile(path, contents);
}

ProgramInfo QtPlatform::programInfo() {
  ProgramInfo info;
  findProgramFolders(info);
  info.major = TESSARON_VERSION_MAJOR;
  info.minor = TESSARON_VERSION_MINOR;
  info.revision = TESSARON_VERSION_PATCH;
  info.companyName = "Tessaron Project";
  info.legalCopyright = "(C) 2026";
  info.fileDescription = "Tessaron binary clock";
  return info;
}

ZoneCatalogueSource QtPlatform::readZoneCatalogue(int year) {
  // Qt's system zone follows TZ and /etc/localtime; the reader maps it onto the catalogue.
  return tzdb::readCatalogue("/usr/share/zoneinfo", year,
                             QTimeZone::systemTimeZoneId().toStdString(), "/etc/localtime");
}

ZoneYear QtPlatform::readZoneYear(const std::string& zoneId, int year) {
  return tzdb::readZoneYear("/usr/share/zoneinfo", zoneId, year);
}

}  // namespace tessaron::qt
