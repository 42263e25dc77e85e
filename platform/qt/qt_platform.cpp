#include "platform/qt/qt_platform.h"

#include <sys/inotify.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/tessaron.h"
#include "platform/qt/browser_process.h"
#include "platform/qt/clock_view.h"
#include "platform/qt/files.h"
#include "platform/qt/form_dialog.h"
#include "platform/qt/help_viewer.h"
#include "platform/qt/main_window.h"
#include "platform/qt/program_files.h"
#include "platform/qt/sound.h"
#include "platform/qt/system_zone.h"
#include "platform/qt/text.h"
#include "platform/qt/timedated.h"
#include "platform/qt/units.h"
#include "platform/qt/zone_places.h"
#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/zone_year.h"

namespace tessaron::qt {

namespace {
// Long enough for a rewrite's truncation and writing to end in one reading.
constexpr int kZoneSettleMs = 100;

// What the C library takes as the system zone: TZ when set (empty is UTC), else the zone file.
std::string systemZoneId() {
  const char* tz = std::getenv("TZ");
  if (tz == nullptr) return {};
  const std::string_view id(tz);
  return id.empty() || id == ":" ? std::string("UTC") : std::string(id);
}
}  // namespace

QtPlatform::QtPlatform(std::string zoneinfoDir, std::string localtimePath)
    : zoneinfoDir_(std::move(zoneinfoDir)),
      localtimePath_(std::move(localtimePath)),
      systemZone_(std::make_unique<SystemZoneFile>(localtimePath_)) {}

QtPlatform::~QtPlatform() {
  timedated_.reset();
  delete zoneNotifier_;
  delete zoneSettle_;
  delete zoneNotice_;
  if (zoneWatch_ >= 0) ::close(zoneWatch_);
}

void QtPlatform::refuseUnreadableTz(const std::string& zoneinfoDir) {
  const char* tz = std::getenv("TZ");
  if (tz == nullptr) return;
  const char* dir = std::getenv("TZDIR");
  if (tzdb::tzNamesUnsafeFile(tz, dir != nullptr && *dir != '\0' ? dir : zoneinfoDir)) {
    ::setenv("TZ", "UTC", 1);
  }
}

void QtPlatform::watchSystemZone(std::function<void()> onChange) {
  onZoneChange_ = std::move(onChange);
  if (zoneSettle_ == nullptr) {
    zoneSettle_ = new QTimer;
    zoneSettle_->setSingleShot(true);
    zoneSettle_->setInterval(kZoneSettleMs);
    QObject::connect(zoneSettle_, &QTimer::timeout, [this] { rereadSystemZone(); });
  }
  if (!timedated_) {
    timedated_ = std::make_unique<TimedatedListener>(
        systemBus_.isEmpty() ? TimedatedListener::systemBusAddress() : systemBus_,
        [this] { zoneSettle_->start(); });
  }
  if (zoneNotice_ == nullptr) {
    // Told after the tick that found the change, not inside it.
    zoneNotice_ = new QTimer;
    zoneNotice_->setSingleShot(true);
    zoneNotice_->setInterval(0);
    QObject::connect(zoneNotice_, &QTimer::timeout, [this] {
      if (onZoneChange_) onZoneChange_();
    });
  }
  if (zoneWatch_ >= 0) return;
  zoneWatch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (zoneWatch_ < 0) return;  // the minute's check in clockNow still follows a change
  // A replaced link or file is a new name in its folder; a rewrite, a change of the file.
  const std::string folder = localtimePath_.substr(0, localtimePath_.rfind('/') + 1);
  ::inotify_add_watch(zoneWatch_, folder.empty() ? "." : folder.c_str(),
                      IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_ONLYDIR);
  fileWatch_ =
      ::inotify_add_watch(zoneWatch_, localtimePath_.c_str(),
                          IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF);
  zoneNotifier_ = new QSocketNotifier(zoneWatch_, QSocketNotifier::Read);
  QObject::connect(zoneNotifier_, &QSocketNotifier::activated, [this] { zoneFileEvent(); });
}

bool QtPlatform::hearsTimedated() const { return timedated_ && timedated_->listening(); }

void QtPlatform::zoneFileEvent() {
  const std::string name = localtimePath_.substr(localtimePath_.rfind('/') + 1);
  alignas(inotify_event) std::array<char, 4096> buffer{};
  bool ours = false;
  for (;;) {
    const ssize_t n = ::read(zoneWatch_, buffer.data(), buffer.size());
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
      // Other files of the folder come and go without a look at the zone.
      if (event->wd == fileWatch_ || (event->len > 0 && name == event->name)) ours = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  if (ours) zoneSettle_->start();
}

void QtPlatform::rereadSystemZone() {
  // The new file (or link target) is watched from now on.
  if (fileWatch_ >= 0) ::inotify_rm_watch(zoneWatch_, fileWatch_);
  fileWatch_ =
      ::inotify_add_watch(zoneWatch_, localtimePath_.c_str(),
                          IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF);
  systemZone_->read();
  if (onZoneChange_) onZoneChange_();
}

timespec QtPlatform::wallClock() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

ClockReading QtPlatform::clockNow() {
  // One reading of the clock for all three, so that none of them is from the next second.
  const timespec now = wallClock();
  // Once a minute, with a watch or without: a watch sees nothing of a zone file on a
  // folder mounted over its own (containers and image tools do it). Only the link and the
  // file's identity are looked at; the zone is read only when they changed.
  if (now.tv_sec / 60 != zoneCheckedMinute_) {
    zoneCheckedMinute_ = now.tv_sec / 60;
    if (systemZone_->changed()) {
      systemZone_->read();
      if (zoneNotice_ != nullptr) zoneNotice_->start();
    }
  }
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  const UtcTime utc{std::chrono::seconds(now.tv_sec)};
  return {utc, wallTimeAt(utc, UtcOffset(static_cast<std::int32_t>(local.tm_gmtoff))),
          static_cast<int>(now.tv_nsec / 1000000)};
}

ZoneTime QtPlatform::localNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return ZoneTime{std::chrono::seconds(now.toSecsSinceEpoch() + now.offsetFromUtc())};
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

ScreenArea QtPlatform::windowWorkArea() {
  const QScreen* screen = window_ != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
  const QRect g = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  return {toTwips(g.x()), toTwips(g.y()), toTwips(g.width()), toTwips(g.height())};
}

WindowSize QtPlatform::windowSizeAt(int zoomPercent) { return window_->sizeAt(zoomPercent); }
double QtPlatform::fontScale() { return window_ != nullptr ? window_->fontScale() : 1.0; }

Twips QtPlatform::windowLeft() { return window_->outerLeft(); }
Twips QtPlatform::windowTop() { return window_->outerTop(); }
Twips QtPlatform::windowWidth() { return window_->outerWidth(); }
Twips QtPlatform::windowHeight() { return window_->outerHeight(); }
void QtPlatform::setWindowLeft(Twips twips) { window_->setOuterLeft(twips); }
void QtPlatform::setWindowTop(Twips twips) { window_->setOuterTop(twips); }
void QtPlatform::setWindowWidth(Twips twips) { window_->setOuterWidth(twips); }
void QtPlatform::setWindowHeight(Twips twips) { window_->setOuterHeight(twips); }

Colour QtPlatform::windowBackgroundColour() { return kButtonFace; }

QWidget* QtPlatform::owner() const {
  // Before its first showing the clock has no place on the screen yet: a dialog that it
  // owned would make its native window early, and the window manager would then take the
  // saved position for the client area's and open the clock a title bar too high.
  return window_ != nullptr && window_->isVisible() ? window_ : nullptr;
}

void QtPlatform::setTopmost(bool topmost) { window_->setTopmost(topmost); }

namespace {
// A Wayland compositor keeps stacking and positions to itself.
bool onWayland() { return QGuiApplication::platformName().startsWith("wayland"); }
}  // namespace

bool QtPlatform::canKeepOnTop() { return !onWayland(); }
bool QtPlatform::knowsWindowPosition() { return !onWayland(); }

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
                                 const std::string& defaultText, Twips left, Twips top) {
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
  QMessageBox box(icon, title.empty() ? qi18n("Tessa") : QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::Ok, owner());
  box.exec();
}

SoundPlayer& QtPlatform::sound() {
  if (!sound_) sound_ = std::make_unique<SoundPlayer>(soundProgram_);
  return *sound_;
}

void QtPlatform::holdSounds() { soundsHeld_ = true; }

void QtPlatform::releaseSounds() {
  soundsHeld_ = false;
  std::vector<std::function<void()>> held;
  held.swap(heldSounds_);
  for (const auto& request : held) request();
}

void QtPlatform::playOnce(const std::string& path) {
  if (soundsHeld_) {
    heldSounds_.push_back([this, path] { playOnce(path); });
    return;
  }
  sound().playOnce(QString::fromStdString(path));
}
void QtPlatform::playLoop(const std::string& path,
                          std::function<void(const std::string&)> onFailure) {
  if (soundsHeld_) {
    heldSounds_.push_back([this, path, onFailure] { playLoop(path, onFailure); });
    return;
  }
  sound().playLoop(QString::fromStdString(path), std::move(onFailure));
}
void QtPlatform::stopSound() {
  if (soundsHeld_) {
    heldSounds_.push_back([this] { stopSound(); });
    return;
  }
  sound().stopSound();
}

void QtPlatform::finishSounds(int maxMs) {
  releaseSounds();
  if (sound_) sound_->waitForOneShot(maxMs);
}

void QtPlatform::closeClock(Tessaron& core, int maxMs) {
  attach(nullptr);
  core.Form_Terminate();
  finishSounds(maxMs);
}

void QtPlatform::setHelperPrograms(QString soundProgram, QString browserProgram) {
  soundProgram_ = std::move(soundProgram);
  browserProgram_ = std::move(browserProgram);
}

void QtPlatform::announce(const std::string& text) {
  if (window_ != nullptr) window_->clockView()->say(QString::fromStdString(text));
}

std::optional<std::string> QtPlatform::showHelp(const std::string& path) {
  if (!help_) {
    help_ = std::make_unique<HelpViewer>();
    // Ctrl+Q closes the clock from its help as from its own window.
    help_->setCloseClock([this] {
      if (window_ != nullptr) window_->close();
    });
  }
  if (const auto error = help_->open(QString::fromStdString(path))) return error->toStdString();
  return std::nullopt;
}

Twips QtPlatform::formFrameHeight() {
  // A dialog gets the same decorations as the clock's own window.
  if (window_ == nullptr) return 0_tw;
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
  if (!browser_) browser_ = std::make_unique<BrowserProcess>(browserProgram_);
  browser_->open(startingAddress, std::move(onFailure));
}

bool QtPlatform::isOrdinaryFile(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  return info.isFile() && !info.isHidden();
}

bool QtPlatform::isOrdinaryFileBelow(const std::string& path, const std::string& folder) {
  if (!isOrdinaryFile(path)) return false;
  // A link in the folder may lead anywhere: to a file elsewhere, or to /etc/passwd.
  const QString target = QFileInfo(QString::fromStdString(path)).canonicalFilePath();
  const QString base = QFileInfo(QString::fromStdString(folder)).canonicalFilePath();
  return !target.isEmpty() && !base.isEmpty() && target.startsWith(base + "/");
}

FileRead QtPlatform::readFile(const std::string& path, std::size_t maxBytes) {
  return readSmallFile(path, maxBytes);
}

std::optional<std::string> QtPlatform::writeFileReplacing(const std::string& path,
                                                          const std::string& contents) {
  return replaceFile(path, contents);
}

std::optional<std::string> QtPlatform::removeFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return std::nullopt;
  return std::string(std::strerror(errno));
}

bool QtPlatform::makeFolder(const std::string& path) {
  return QDir().mkpath(QString::fromStdString(path));
}

ProgramInfo QtPlatform::programInfo() {
  ProgramInfo info;
  findProgramFolders(info);
  info.major = TESSARON_VERSION_MAJOR;
  info.minor = TESSARON_VERSION_MINOR;
  info.revision = TESSARON_VERSION_PATCH;
  info.companyName = "Tessaron Project";
  info.legalCopyright = "(C) 2026";
  info.fileDescription = i18n("Tessaron binary clock");
  return info;
}

ZoneCatalogueSource QtPlatform::readZoneCatalogue(UtcTime now) {
  // The zone the C library gives the clock's local time, mapped onto the catalogue.
  return tzdb::readCatalogue(zoneinfoDir_, now, systemZoneId(), localtimePath_);
}

ZoneCatalogueSource QtPlatform::findZoneCatalogue() {
  return tzdb::findCatalogue(zoneinfoDir_);
}

ZoneYear QtPlatform::readZoneYear(const std::string& zoneId, int year) {
  return tzdb::readZoneYear(zoneinfoDir_, zoneId, year);
}

std::vector<std::string> QtPlatform::placeNames(const std::string& zoneId,
                                                const std::string& countryCode) {
  if (!places_) places_ = std::make_unique<ZonePlaces>(QLocale::system().uiLanguages());
  return places_->names(zoneId, countryCode);
}

std::string QtPlatform::searchForm(const std::string& text) { return ZonePlaces::searchForm(text); }

}  // namespace tessaron::qt
