#pragma once
// The desktop behind the core's platform interface, on Qt 6.

#include <memory>

#include "platform/platform.h"

class QWidget;

namespace tessaron::qt {

class FormDialog;
class HelpViewer;
class MainWindow;
class SoundPlayer;
class BrowserProcess;

class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;
  void attach(MainWindow* window) { window_ = window; }
  // Lets a closing sound that is still playing finish, waiting at most `maxMs`.
  void finishSounds(int maxMs);
  HelpViewer* helpViewer() const { return help_.get(); }

  ClockReading clockNow() override;
  LocalDateTime localNow() override;
  ScreenArea windowScreen() override;
  std::vector<ScreenArea> screens() override;
  double windowLeft() override;
  double windowTop() override;
  double windowWidth() override;
  double windowHeight() override;
  void setWindowLeft(double twips) override;
  void setWindowTop(double twips) override;
  void setWindowWidth(double twips) override;
  void setWindowHeight(double twips) override;
  Colour windowBackgroundColour() override;
  void setTopmost(bool topmost) override;
  std::optional<Colour> chooseColour(Colour initial, const std::string& title) override;
  std::string inputBox(const std::string& message, const std::string& title,
                       const std::string& defaultText, double left, double top) override;
  void messageBox(const std::string& text, MessageStyle style, const std::string& title) override;
  void playOnce(const std::string& path) override;
  void playLoop(const std::string& path,
                std::function<void(const std::string&)> onFailure) override;
  void stopSound() override;
  std::optional<std::string> showHelp(const std::string& path) override;
  double formFrameHeight() override;
  void showModalForm(const Form& form,
                     const std::function<void(const std::string&)>& onClick) override;
  void closeModalForm() override;
  void openBrowserWindow(const std::string& startingAddress,
                         std::function<void()> onFailure) override;
  bool isOrdinaryFile(const std::string& path) override;
  FileRead readFile(const std::string& path, std::size_t maxBytes) override;
  std::optional<std::string> writeFileReplacing(const std::string& path,
                                                const std::string& contents) override;
  ProgramInfo programInfo() override;
  ZoneCatalogueSource readZoneCatalogue(int year) override;
  ZoneYear readZoneYear(const std::string& zoneId, int year) override;

 private:
  MainWindow* window_ = nullptr;
  std::unique_ptr<SoundPlayer> sound_;       // made at the first sound request
  std::int64_t zoneCheckedMinute_ = -1;      // Unix minutes when the system zone was last read
  std::unique_ptr<HelpViewer> help_;         // made at the first help request
  std::unique_ptr<BrowserProcess> browser_;  // made at the first browser window
  FormDialog* openForm_ = nullptr;           // the form that showModalForm has open
  SoundPlayer& sound();
  QWidget* owner() const;  // the parent of a dialog: the clock once it is shown
};

}  // namespace tessaron::qt
