// Prints everything the clock shows and asks of its desktop over a few thousand start-up and
// command sequences, on a scripted desktop and the fixture zone database. A change meant to
// keep the behaviour (a refactor) leaves this output byte-identical:
//
//   build/behaviour_dump > before.txt; (change, rebuild); build/behaviour_dump | cmp before.txt
//
// Each block names its sequence, then the controls, menu marks, buttons, texts and every
// outward call since the last block.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "commands/command_bar.h"
#include "commands/music.h"
#include "core/readout.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/zone_year.h"
#include "tests/core_internals.h"
#include "tests/fake_platform.h"
#include "tests/tzdb/tzdb_test_support.h"
#include "timezones/alternate_zone.h"

namespace tessaron {
namespace {

// The design's date serial, seconds from 1899-12-30, as the dump has always printed times;
// the largest count stands for "none in sight".
template <class Clock>
std::int64_t serial(std::chrono::time_point<Clock, std::chrono::seconds> t) {
  if (t == t.max()) return INT64_MAX;
  return t.time_since_epoch().count() + 25569LL * 86400;
}

std::string out;

void line(const std::string& text) {
  out += text;
  out += '\n';
}
std::string num(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6g", v);
  return buffer;
}
std::string num(Twips v) { return num(v.count()); }
std::string flag(bool b) { return b ? "1" : "0"; }

std::string shape(const Shape& s) {
  return num(s.Left) + "," + num(s.Top) + " " + num(s.Width) + "x" + num(s.Height) + " v" +
         flag(s.Visible) + " c" + std::to_string(s.FillColor);
}
std::string label(const Label& l) {
  return num(l.Left) + "," + num(l.Top) + " " + num(l.Width) + "x" + num(l.Height) + " v" +
         flag(l.Visible) + " c" + std::to_string(l.ForeColor) + " '" + l.Caption + "'";
}
std::string record(const ZoneRecord& z) {
  return std::to_string(z.Bias) + "/" + std::to_string(z.StandardBias) + "/" +
         std::to_string(z.DaylightBias) + " " + std::to_string(z.DaylightDate.Month) + "." +
         std::to_string(z.DaylightDate.Day) + "." + std::to_string(z.DaylightDate.DayOfWeek) + "@" +
         std::to_string(z.DaylightDate.Hour) + ":" + std::to_string(z.DaylightDate.Minute) + " " +
         std::to_string(z.StandardDate.Month) + "." + std::to_string(z.StandardDate.Day) + "." +
         std::to_string(z.StandardDate.DayOfWeek) + "@" + std::to_string(z.StandardDate.Hour) +
         ":" + std::to_string(z.StandardDate.Minute) + " '" + z.Display + "' " + z.Std + " " +
         z.Dlt + " " + z.MapID;
}
std::string combo(const ComboBox& c) {
  std::size_t hash = 0;
  for (const std::string& entry : c.List) hash = hash * 31 + std::hash<std::string>{}(entry);
  return std::to_string(c.List.size()) + " entries #" + std::to_string(hash % 1000003) + " i" +
         std::to_string(c.ListIndex) + " '" + c.Text + "' " + num(c.Left) + "," + num(c.Top) + " " +
         num(c.Width) + "x" + num(c.Height) + " v" + flag(c.Visible) + " r" +
         std::to_string(c.Revision);
}

struct Run {
  test::FakePlatform platform;
  Tessaron core{platform};
  std::size_t callsShown = 0;
  std::size_t saidShown = 0;

  explicit Run(const std::string& systemZone) {
    const std::string folder = tzdb::test::fixtureZoneinfo();
    platform.catalogueAt = [folder, systemZone](UtcTime at) {
      return tzdb::readCatalogue(folder, at, systemZone, "");
    };
    platform.zoneYears = [folder](const std::string& id, int year) {
      return tzdb::readZoneYear(folder, id, year);
    };
    platform.files["/opt/tessaron/smallworld.wav"] = "RIFF";
    platform.files["/opt/tessaron/ding.wav"] = "RIFF";
    platform.files["/opt/tessaron/Tessa.hlp"] = "help";
    platform.utcOffset = systemZone == "America/New_York" ? -18000 : 0;
  }

  void dump(const std::string& step) {
    line("@ " + step);
    const Tessaron& c = core;
    line("caption '" + c.caption() + "' interval " + std::to_string(c.timerInterval()) + " zoom " +
         std::to_string(c.zoom()) + " redraw " + flag(test::Internals::redrawAll(core)) +
         " unloaded " + flag(c.unloaded()));
    line("colours " + std::to_string(c.colours().OnColor) + " " +
         std::to_string(c.colours().OffColor) + " " + std::to_string(c.colours().HintColor) + " " +
         std::to_string(c.colours().StartOnColor) + " " +
         std::to_string(c.colours().StartOffColor) + " " +
         std::to_string(c.colours().BackgroundColor));
    line("saved " + num(test::Internals::savedLeft(c)) + "," + num(test::Internals::savedTop(c)) +
         " told " + flag(test::Internals::savedElsewhereTold(c)));
    const ShownTime& s = c.shown();
    line("shown " + flag(s.drawn) + " " + std::to_string(s.hour) + ":" + std::to_string(s.minute) +
         ":" + std::to_string(s.second) + " s" + flag(s.withSeconds) + " a" + flag(s.alternate) +
         " " + std::to_string(s.alternateOffset.count()));
    line("text '" + shownTimeText(c.shown()) + "' readout '" +
         readoutText(c.shown(), platform.localNow()) + "'");
    for (int i = 0; i < kDotCount; ++i) {
      line("dot " + std::to_string(i) + " " + shape(c.dotLayout().dots()[i]) + " | " +
           label(c.dotLayout().hints()[i]));
    }
    line("layout " + num(c.dotLayout().labelOffset()) + " " +
         num(c.dotLayout().widthWithoutSeconds()) + " " + num(c.dotLayout().widthWithSeconds()) +
         " raised " + flag(c.dotLayout().raisedForAlternate()));
    line("alt " + std::to_string(serial(c.alternateZone().altTime())) + " " +
         std::to_string(c.alternateZone().altOffset().count()) + " until " +
         std::to_string(serial(c.alternateZone().listedUntil())));
    for (const ZoneRecord& z : c.alternateZone().zonePair()) line("pair " + record(z));
    line("catalogue " + std::to_string(c.alternateZone().catalogue().size()));
    for (const ComboBox& box : c.alternateZone().lists()) line("combo " + combo(box));
    line("atz " + label(c.alternateZone().label()));
    for (const MenuEntry& entry : kCommandTable) {
      const MenuItem& item = c.commandBar().item(entry.command);
      line("item " + std::string(entry.name) + " '" + item.Caption + "' " + flag(item.Checked) +
           flag(item.Enabled));
    }
    for (const ToolbarButton& b : c.commandBar().toolbar().Buttons) {
      line("button " + b.Key + " '" + b.ToolTipText + "' " + std::to_string(b.Image) + " " +
           std::to_string(static_cast<int>(b.Style)) + " " + std::to_string(b.Value) + " " +
           flag(b.Enabled));
    }
    line("toolbar " + num(c.commandBar().toolbar().Top) + " " +
         num(c.commandBar().toolbar().Height) + " " + num(c.commandBar().toolbar().ButtonWidth));
    line("music '" + c.backgroundMusic().musicFile() + "'");
    line("window " + num(platform.left) + "," + num(platform.top) + " " + num(platform.width) +
         "x" + num(platform.height));
    for (; callsShown < platform.calls.size(); ++callsShown) {
      line("call " + platform.calls[callsShown]);
    }
    for (; saidShown < platform.announcements.size(); ++saidShown) {
      line("said " + platform.announcements[saidShown]);
    }
    for (const auto& [path, contents] : platform.files) {
      if (path.find("Tessa.") != std::string::npos) line("file " + path + " '" + contents + "'");
    }
  }

  void tickAt(int h, int m, int s, int day = 10) {
    platform.now = {2026, 12, day, h, m, s};
    platform.time = {h, m, s};
    core.Timer1_Timer();
  }
};

struct Step {
  const char* name;
  std::function<void(Run&)> act;
};

std::vector<Step> steps() {
  std::vector<Step> all;
  for (const MenuEntry& entry : kCommandTable) {
    const Command command = entry.command;
    all.push_back({entry.name, [command](Run& r) { r.core.run(command); }});
  }
  for (int i = 1; i <= 10; ++i) {
    all.push_back({"button", [i](Run& r) { r.core.clickToolbarButton(i); }});
  }
  all.push_back({"zone 3", [](Run& r) { r.core.selectZone(1, 3); }});
  all.push_back({"zone last", [](Run& r) {
                   r.core.selectZone(
                       1, static_cast<int>(r.core.alternateZone().selector().List.size()) - 1);
                 }});
  all.push_back({"system zone", [](Run& r) {
                   r.platform.utcOffset = -18000;
                   r.core.systemZoneChanged();
                 }});
  all.push_back({"cancel colours", [](Run& r) {
                   r.platform.colourAnswers = {std::nullopt, std::nullopt};
                   r.core.On_Click();
                   r.core.Numbers_Click();
                 }});
  all.push_back({"music fails", [](Run& r) {
                   for (auto& fail : r.platform.loopFailures) fail("the device is gone");
                   r.platform.loopFailures.clear();
                 }});
  all.push_back({"moved right", [](Run& r) {
                   r.platform.left = r.platform.screenW - r.platform.width;
                   r.platform.top = r.platform.screenH - r.platform.height;
                 }});
  return all;
}

void sequence(const std::string& systemZone, const std::string& saved, const Step& a,
              const Step& b) {
  Run r(systemZone);
  if (!saved.empty()) r.platform.files["/opt/tessaron/Tessa.sav"] = saved;
  const std::string name = systemZone + " [" + saved + "] " + a.name + " " + b.name;
  r.tickAt(23, 59, 58, 9);
  r.core.Form_Load();
  r.dump(name + ": start");
  for (const Step* step : {&a, &b}) {
    r.platform.colourAnswers = {rgb(0, 128, 255), rgb(200, 10, 10)};
    r.platform.inputAnswers = {"smallworld.wav"};
    step->act(r);
    r.dump(name + ": " + step->name);
    r.tickAt(0, 0, 1);
    r.tickAt(1, 59, 59);
    r.dump(name + ": ticks");
  }
  r.core.Form_Terminate();
  r.dump(name + ": end");
}

}  // namespace
}  // namespace tessaron

int main() {
  using namespace tessaron;
  const std::vector<Step> all = steps();
  // A first start, and starts from files an earlier run of the clock saved.
  std::vector<std::string> saves = {""};
  for (const Step& step : all) {
    Run r("Europe/Dublin");
    r.core.Form_Load();
    r.platform.colourAnswers = {rgb(0, 128, 255), rgb(200, 10, 10)};
    r.platform.inputAnswers = {"smallworld.wav"};
    step.act(r);
    r.core.Preferences_Click();
    const auto it = r.platform.files.find("/opt/tessaron/Tessa.sav");
    if (it != r.platform.files.end()) saves.push_back(it->second);
  }
  saves.push_back("garbage\n");
  for (const char* zone : {"Europe/Dublin", "America/New_York"}) {
    for (const std::string& saved : saves) {
      for (const Step& a : all) {
        for (const Step& b : all) {
          if (&saved != &saves.front() && &a != &all.front()) continue;
          sequence(zone, saved, a, b);
          std::fputs(out.c_str(), stdout);
          out.clear();
        }
      }
    }
  }
}
