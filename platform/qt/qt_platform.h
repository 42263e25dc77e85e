#pragma once
// The desktop behind the core's platform interface, on Qt 6.

#include <time.h>

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

class QSocketNotifier;
class QTimer;
class QWidget;

namespace tessaron {
class Tessaron;
}

namespace tessaron::qt {

class FormDialog;
class HelpViewer;
class MainWindow;
class SystemZoneFile;
class TimedatedListener;
class SoundPlayer;
class BrowserProcess;
class ZonePlaces;

class QtPlatform : public Platform {
 public:
  // The tz database and the system's zone file; tests give folders of their own.
  explicit QtPlatform(std::string zoneinfoDir = "/usr/share/zoneinfo",
                      std::string localtimePath = "/etc/localtime");
  ~QtPlatform() override;
  // Runs `onChange` soon after the system's zone changes (its zone file replaced, as
  // timedatectl does, or rewritten in place), once the C library reads the new zone; a
  // change no watch sees is found at the first reading of the clock in the next minute.
  // timedated's word on the system bus, where there is one, has the zone read too.
  void watchSystemZone(std::function<void()> onChange);
  // The bus that timedated speaks on, a D-Bus address; before watchSystemZone. Tests give
  // a bus of their own.
  void setSystemBus(QString address) { systemBus_ = std::move(address); }
  bool hearsTimedated() const;
  // TZ naming a pipe, a device or a folder would block the C library's first zone reading
  // for good: such a TZ is taken as unknown, that is UTC. Before anything reads the zone.
  static void refuseUnreadableTz(const std::string& zoneinfoDir = "/usr/share/zoneinfo");
  void attach(MainWindow* window) { window_ = window; }
  // Lets a closing sound that is still playing finish, waiting at most `maxMs`.
  void finishSounds(int maxMs);
  // Ends the clock once its window is gone: the core's closing handler, then its closing
  // sound (a short one) heard out, at most `maxMs`.
  void closeClock(Tessaron& core, int maxMs = 1500);
  // The sound and browser programs to run instead of the ones the program ships; before
  // the first sound or browser window. Empty keeps the shipped one.
  void setHelperPrograms(QString soundProgram, QString browserProgram);
  HelpViewer* helpViewer() const { return help_.get(); }

  ClockReading clockNow() override;
  ZoneTime localNow() override;
  ScreenArea windowScreen() override;
  std::vector<ScreenArea> screens() override;
  ScreenArea windowWorkArea() override;
  WindowSize windowSizeAt(int zoomPercent) override;
  double fontScale() override;
  Twips windowLeft() override;
  Twips windowTop() override;
  Twips windowWidth() override;
  Twips windowHeight() override;
  void setWindowLeft(Twips twips) override;
  void setWindowTop(Twips twips) override;
  void setWindowWidth(Twips twips) override;
  void setWindowHeight(Twips twips) override;
  Colour windowBackgroundColour() override;
  void setTopmost(bool topmost) override;
  std::optional<Colour> chooseColour(Colour initial, const std::string& title) override;
  std::string inputBox(const std::string& message, const std::string& title,
                       const std::string& defaultText, Twips left, Twips top) override;
  void messageBox(const std::string& text, MessageStyle style, const std::string& title) override;
  void announce(const std::string& text) override;
  // Sound requests made while held wait, in order, for the release: start-up holds them
  // so that the sound helper starts after the first frame, not beside it.
  void holdSounds();
  void releaseSounds();
  void playOnce(const std::string& path) override;
  void playLoop(const std::string& path,
                std::function<void(const std::string&)> onFailure) override;
  void stopSound() override;
  std::optional<std::string> showHelp(const std::string& path) override;
  Twips formFrameHeight() override;
  void showModalForm(const Form& form,
                     const std::function<void(const std::string&)>& onClick) override;
  void closeModalForm() override;
  void openBrowserWindow(const std::string& startingAddress,
                         std::function<void()> onFailure) override;
  bool canKeepOnTop() override;
  bool knowsWindowPosition() override;
  bool isOrdinaryFile(const std::string& path) override;
  bool isOrdinaryFileBelow(const std::string& path, const std::string& folder) override;
  FileRead readFile(const std::string& path, std::size_t maxBytes) override;
  std::optional<std::string> writeFileReplacing(const std::string& path,
                                                const std::string& contents) override;
  std::optional<std::string> removeFile(const std::string& path) override;
  bool makeFolder(const std::string& path) override;
  ProgramInfo programInfo() override;
  ZoneCatalogueSource readZoneCatalogue(UtcTime now) override;
  ZoneCatalogueSource findZoneCatalogue() override;
  ZoneYear readZoneYear(const std::string& zoneId, int year) override;
  std::vector<std::string> placeNames(const std::string& zoneId,
                                      const std::string& countryCode) override;
  std::string searchForm(const std::string& text) override;

 protected:
  // The wall clock; tests script it.
  virtual timespec wallClock();

 private:
  MainWindow* window_ = nullptr;
  std::string zoneinfoDir_;
  std::string localtimePath_;
  int zoneWatch_ = -1;  // inotify descriptor; -1 while nothing is watched
  int fileWatch_ = -1;  // the zone file itself (through its link), for a rewrite in place
  QSocketNotifier* zoneNotifier_ = nullptr;
  QTimer* zoneSettle_ = nullptr;  // one reading after a burst of changes
  std::function<void()> onZoneChange_;
  void zoneFileEvent();
  void rereadSystemZone();
  std::unique_ptr<SoundPlayer> sound_;  // made at the first sound request
  bool soundsHeld_ = false;
  std::vector<std::function<void()>> heldSounds_;
  std::int64_t zoneCheckedMinute_ = -1;  // Unix minutes when the zone file was last looked at
  std::unique_ptr<SystemZoneFile> systemZone_;
  QTimer* zoneNotice_ = nullptr;  // tells onZoneChange_ of a change the minute's look found
  std::unique_ptr<TimedatedListener> timedated_;
  QString systemBus_;                        // empty: the system's own
  std::unique_ptr<HelpViewer> help_;         // made at the first help request
  std::unique_ptr<BrowserProcess> browser_;  // made at the first browser window
  std::unique_ptr<ZonePlaces> places_;       // made at the first zone search
  FormDialog* openForm_ = nullptr;           // the form that showModalForm has open
  QString soundProgram_, browserProgram_;    // empty: the shipped helpers
  SoundPlayer& sound();
  QWidget* owner() const;  // the parent of a dialog: the clock once it is shown
};

}  // namespace tessaron::qt
