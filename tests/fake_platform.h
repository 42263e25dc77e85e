#pragma once
// A scripted desktop for the core's tests: a settable clock and screen, a window
// that keeps exactly what it is told, queued dialog answers, and a log of every
// call with an effect outside the core (sound, stacking, messages, geometry).

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/civil_time.h"
#include "timezones/conversion.h"

namespace tessaron::test {

// A screen's area from plain numbers of twips, as the scripted desktop keeps them.
inline ScreenArea screenArea(double left, double top, double width, double height) {
  return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

class FakePlatform : public Platform {
 public:
  TimeOfDay time{0, 0, 0};
  CivilTime now{2026, 12, 10, 0, 0, 0};
  double screenW = 1920 * 15.0;
  double screenH = 1080 * 15.0;
  double left = 0, top = 0, width = 4956, height = 2000;
  Colour background = kButtonFace;
  std::deque<std::optional<Colour>> colourAnswers;  // nothing queued: the user cancels
  std::deque<std::string> inputAnswers;
  std::map<std::string, std::string> files;
  std::vector<ScreenArea> extraScreens;           // empty: one screen of screenW x screenH
  std::optional<std::string> writeError;          // set: every save fails for this reason
  std::map<std::string, std::string> unreadable;  // path -> why it cannot be read
  // What each loop and browser request was told to run should it fail, in order.
  std::vector<std::function<void(const std::string&)>> loopFailures;
  std::vector<std::function<void()>> browserFailures;
  // A portable copy: every folder is the program's own.
  ProgramInfo info{"/opt/tessaron", "/opt/tessaron", "/opt/tessaron", 1,  0,  0,
                   "Company",       "Legal",         "Description",   "", "", ""};
  std::vector<std::string> calls;  // in order, e.g. "playOnce /opt/tessaron/ding.wav"

  int utcOffset = 0;    // seconds east of UTC of the local clock
  int millisecond = 0;  // into the second of `time`
  // The local date of `now` at the time of day `time`.
  ClockReading clockNow() override {
    const ZoneTime local =
        makeTime<ZoneTime>({now.year, now.month, now.day, time.hour, time.minute, time.second});
    return {instantOfWall(local, UtcOffset(utcOffset)), local, millisecond};
  }
  ZoneTime localNow() override { return makeTime<ZoneTime>(now); }
  ScreenArea windowScreen() override {
    // The screen under the window's centre, else the primary one.
    const auto all = screens();
    const Twips x(left + width / 2), y(top + height / 2);
    for (const ScreenArea& s : all) {
      if (x >= s.left && x < s.left + s.width && y >= s.top && y < s.top + s.height) return s;
    }
    return all.front();
  }
  std::vector<ScreenArea> screens() override {
    if (!extraScreens.empty()) return extraScreens;
    return {{0_tw, 0_tw, Twips(screenW), Twips(screenH)}};
  }
  std::optional<ScreenArea> workArea;  // unset: the whole screen under the window
  ScreenArea windowWorkArea() override { return workArea.value_or(windowScreen()); }
  // The clock's face grows with the zoom and the font; `chromeHeight` of it (a frame, a menu
  // bar) does not.
  double chromeHeight = 0;
  double fontScaleValue = 1;
  WindowSize windowSizeAt(int zoomPercent) override {
    const double s = zoomPercent / 100.0 * fontScaleValue;
    return {Twips(width * s), Twips(chromeHeight + (height - chromeHeight) * s)};
  }
  double fontScale() override { return fontScaleValue; }
  // The scripted desktop keeps its geometry as plain numbers of twips.
  Twips windowLeft() override { return Twips(left); }
  Twips windowTop() override { return Twips(top); }
  Twips windowWidth() override { return Twips(width); }
  Twips windowHeight() override { return Twips(height); }
  void setWindowLeft(Twips twips) override {
    left = twips.count();
    log("setWindowLeft", left);
  }
  void setWindowTop(Twips twips) override {
    top = twips.count();
    log("setWindowTop", top);
  }
  void setWindowWidth(Twips twips) override {
    width = twips.count();
    log("setWindowWidth", width);
  }
  void setWindowHeight(Twips twips) override {
    height = twips.count();
    log("setWindowHeight", height);
  }
  Colour windowBackgroundColour() override { return background; }
  void setTopmost(bool topmost) override { calls.push_back(topmost ? "topmost" : "notopmost"); }
  bool waylandOnly = false;  // a session without X: no stacking, no window position
  bool canKeepOnTop() override { return !waylandOnly; }
  bool knowsWindowPosition() override { return !waylandOnly; }

  std::optional<Colour> chooseColour(Colour initial, const std::string& title) override {
    calls.push_back("chooseColour " + std::to_string(initial) + " " + title);
    if (colourAnswers.empty()) return std::nullopt;
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
  }
  std::string inputBox(const std::string& message, const std::string& title,
                       const std::string& defaultText, Twips l, Twips t) override {
    calls.push_back("inputBox " + message + "|" + title + "|" + defaultText + "|" +
                    std::to_string(static_cast<long>(l.count())) + "," +
                    std::to_string(static_cast<long>(t.count())));
    if (inputAnswers.empty()) return {};
    auto answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
  }
  void messageBox(const std::string& text, MessageStyle style, const std::string& title) override {
    calls.push_back("messageBox " + std::to_string(static_cast<int>(style)) + " " + title + "|" +
                    text);
  }

  // What a screen reader was told, in order; kept apart from `calls`, which it never changes.
  std::vector<std::string> announcements;
  void announce(const std::string& text) override { announcements.push_back(text); }

  void playOnce(const std::string& path) override { calls.push_back("playOnce " + path); }
  void playLoop(const std::string& path,
                std::function<void(const std::string&)> onFailure) override {
    calls.push_back("playLoop " + path);
    loopFailures.push_back(std::move(onFailure));
  }
  void stopSound() override { calls.push_back("stopSound"); }
  std::optional<std::string> helpError;  // what the help viewer reports; nothing: it shows the file
  std::optional<std::string> showHelp(const std::string& path) override {
    calls.push_back("showHelp " + path);
    return helpError;
  }

  double frameHeight = 450;              // a form's title bar and borders, twips
  std::vector<Form> shownForms;          // every form as it was when shown
  std::deque<std::string> buttonClicks;  // clicked, in order, while the next form is open
  bool formOpen = false;
  Twips formFrameHeight() override { return Twips(frameHeight); }
  void showModalForm(const Form& form,
                     const std::function<void(const std::string&)>& onClick) override {
    calls.push_back("showModalForm " + form.Name);
    shownForms.push_back(form);
    formOpen = true;
    while (formOpen && !buttonClicks.empty()) {
      const std::string button = buttonClicks.front();
      buttonClicks.pop_front();
      onClick(button);
    }
    formOpen = false;  // the user closes what is still open
  }
  void closeModalForm() override {
    calls.push_back("closeModalForm");
    formOpen = false;
  }
  void openBrowserWindow(const std::string& startingAddress,
                         std::function<void()> onFailure) override {
    calls.push_back("openBrowserWindow " + startingAddress);
    browserFailures.push_back(std::move(onFailure));
  }

  bool isOrdinaryFile(const std::string& path) override { return files.count(path) != 0; }
  std::set<std::string> linksLeadingOut;  // files whose links lead out of their folder
  bool isOrdinaryFileBelow(const std::string& path, const std::string&) override {
    return isOrdinaryFile(path) && linksLeadingOut.count(path) == 0;
  }
  std::size_t lastReadLimit = 0;
  FileRead readFile(const std::string& path, std::size_t maxBytes) override {
    lastReadLimit = maxBytes;
    if (auto bad = unreadable.find(path); bad != unreadable.end()) {
      return {FileRead::Status::Failed, "", bad->second};
    }
    auto it = files.find(path);
    if (it == files.end()) return {};
    if (it->second.size() > maxBytes) {
      return {FileRead::Status::Failed, "",
              "it is larger than " + std::to_string(maxBytes) + " bytes"};
    }
    return {FileRead::Status::Read, it->second, ""};
  }
  std::optional<std::string> writeFileReplacing(const std::string& path,
                                                const std::string& contents) override {
    if (writeError) return writeError;
    files[path] = contents;
    return std::nullopt;
  }
  std::optional<std::string> removeError;  // set: every removal fails for this reason
  std::optional<std::string> removeFile(const std::string& path) override {
    calls.push_back("removeFile " + path);
    if (removeError) return removeError;
    files.erase(path);
    return std::nullopt;
  }
  std::set<std::string> folders;  // made by makeFolder
  bool makeFolder(const std::string& path) override {
    calls.push_back("makeFolder " + path);
    folders.insert(path);
    return true;
  }
  ProgramInfo programInfo() override { return info; }
  ZoneCatalogueSource catalogue{"/usr/share/zoneinfo", true, {}, ""};
  // The catalogue at an instant, when set (a zone database); else `catalogue` always.
  std::function<ZoneCatalogueSource(UtcTime)> catalogueAt;
  int catalogueYear = 0;
  int catalogueReads = 0;
  int catalogueLooks = 0;
  ZoneCatalogueSource findZoneCatalogue() override {
    ++catalogueLooks;
    return {catalogue.location, catalogueAt ? true : catalogue.found, {}, ""};
  }
  ZoneCatalogueSource readZoneCatalogue(UtcTime at) override {
    catalogueYear = yearOf(at);
    ++catalogueReads;
    return catalogueAt ? catalogueAt(at) : catalogue;
  }

  // A zone's other names by "zone id|country code"; every question is logged in `calls`.
  std::map<std::string, std::vector<std::string>> places;
  std::vector<std::string> placeNames(const std::string& zoneId,
                                      const std::string& countryCode) override {
    calls.push_back("placeNames " + zoneId + " " + countryCode);
    const auto found = places.find(zoneId + "|" + countryCode);
    return found == places.end() ? std::vector<std::string>{} : found->second;
  }
  // ASCII letters lowered, and the one accented letter the tests type: "ã" (UTF-8 C3 A3).
  std::string searchForm(const std::string& text) override {
    std::string form = Platform::searchForm(text);
    for (std::size_t at; (at = form.find("\xC3\xA3")) != std::string::npos;) {
      form.replace(at, 2, "a");
    }
    return form;
  }

  // One zone's year: from `zoneYears` when set (a zone database), else the catalogue entry's
  // rules taken as exact for every year. Every read is logged in `zoneYearReads`.
  std::function<ZoneYear(const std::string&, int)> zoneYears;
  std::vector<std::pair<std::string, int>> zoneYearReads;
  ZoneYear readZoneYear(const std::string& zoneId, int year) override {
    zoneYearReads.emplace_back(zoneId, year);
    if (zoneYears) return zoneYears(zoneId, year);
    ZoneYear out;
    for (const ZoneRecord& key : catalogue.zones) {
      if (key.Std.empty() || key.Std != zoneId) continue;
      out.found = true;
      out.exact = true;
      out.TZI = key;
    }
    return out;
  }

  // The recorded calls that start with `prefix`.
  std::vector<std::string> callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls) {
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    }
    return out;
  }

 private:
  void log(const char* what, double twips) {
    calls.push_back(std::string(what) + " " + std::to_string(twips));
  }
};

// A web browser control that loads nothing: tests set what it reports and read what
// it was asked.
class FakeBrowserControl : public WebBrowserControl {
 public:
  std::string title;
  std::string url;
  bool busy = false;
  bool failNavigate = false;             // Navigate rejects every request
  std::vector<std::string> navigations;  // every address asked for, in order

  bool Navigate(const std::string& address) override {
    if (failNavigate) return false;
    navigations.push_back(address);
    return true;
  }
  std::string LocationName() override { return title; }
  std::string LocationURL() override { return url; }
  bool Busy() override { return busy; }
  bool canGoBack = false, canGoForward = false;
  bool CanGoBack() override { return canGoBack; }
  bool CanGoForward() override { return canGoForward; }
  void GoBack() override { navigations.push_back("back"); }
  void GoForward() override { navigations.push_back("forward"); }
  void Stop() override { navigations.push_back("stop"); }
  void Refresh() override { navigations.push_back("refresh"); }
};

}  // namespace tessaron::test
