// The Help menu: the two help files, the About window and the Support window with its
// way to the support page.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "commands/dialogs.h"
#include "commands/menu.h"
#include "core/tessaron.h"
#include "tests/fake_platform.h"

namespace tessaron::help_about_test {
namespace {

using Calls = std::vector<std::string>;

class HelpMenu : public ::testing::Test {
 protected:
  test::FakePlatform platform;
  Tessaron core{platform};

  void SetUp() override {
    core.Form_Load();
    platform.calls.clear();
  }
};

TEST_F(HelpMenu, HelpCommandsOpenTheirFileOnlyWhenItIsThere) {
  struct Case {
    const char* name;
    void (Tessaron::*command)();
    const char* file;
  };
  const Case cases[] = {
      {"Help", &Tessaron::HelpFile_Click, "/opt/tessaron/Tessa.hlp"},
      {"Short Cut keys", &Tessaron::ShortCut_Click, "/opt/tessaron/TSShortcut.hlp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.files.erase("/opt/tessaron/Tessa.hlp");
    platform.files.erase("/opt/tessaron/TSShortcut.hlp");
    platform.calls.clear();
    (core.*c.command)();
    EXPECT_EQ(platform.calls, Calls{"messageBox 64 Tessaron|Unable to display Help."})
        << "missing: the message with the clock's caption, and no viewer";

    platform.files[c.file] = "<html></html>";
    platform.calls.clear();
    (core.*c.command)();
    EXPECT_EQ(platform.calls, Calls{std::string("showHelp ") + c.file});

    platform.helpError = "The help viewer could not read " + std::string(c.file);
    platform.calls.clear();
    (core.*c.command)();
    EXPECT_EQ(platform.calls,
              (Calls{std::string("showHelp ") + c.file,
                     "messageBox 0 |The help viewer could not read " + std::string(c.file)}))
        << "the viewer's error, plain, under the application's own title";
    platform.helpError.reset();
  }
}

TEST_F(HelpMenu, AboutShowsTheVersionWithoutLeadingZerosAndTheRecordsTexts) {
  platform.info.major = 2;
  platform.info.minor = 7;
  platform.info.revision = 6;
  platform.info.companyName = "Tessaron Project";
  platform.info.legalCopyright = "Copyright (C) 2026";
  platform.info.fileDescription = "Binary clock";
  core.About_Click();
  ASSERT_EQ(platform.calls, Calls{"showModalForm frmAbout"});
  Form about = platform.shownForms.at(0);
  EXPECT_EQ(about.Caption, "About Tessaron");
  const std::pair<const char*, const char*> texts[] = {
      {"Label2", "2.7.6"},
      {"Label3", "Tessaron Project Copyright (C) 2026"},
      {"Label4", "Binary clock"},
  };
  for (const auto& [name, text] : texts) {
    SCOPED_TRACE(name);
    const FormControl* label = about.control(name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption, text);
  }
  platform.info.major = 10;
  platform.info.minor = 0;
  platform.info.revision = 12;
  core.About_Click();
  EXPECT_EQ(platform.shownForms.at(1).control("Label2")->Caption, "10.0.12");
  // A screen reader skips one-word labels when it reads a window: the version is named.
  EXPECT_EQ(platform.shownForms.at(1).control("Label2")->AccessibleName,
            "Tessaron version 10.0.12");
}

// Both windows stand directly above the clock when that leaves their whole outer height
// on the screen's side of 0, otherwise directly below; always the clock's left and width.
TEST_F(HelpMenu, AboutAndSupportStandAgainstTheClock) {
  struct Case {
    const char* name;
    double top, width;
    double aboutTop, supportTop;  // About: 984 + 450 = 1434 high; Support: 2700 + 450 = 3150
  };
  const Case cases[] = {
      {"room above both", 6000, 3622, 6000 - 1434, 6000 - 3150},
      {"room above About only", 2000, 3622, 2000 - 1434, 2000 + 1995},
      {"About exactly at the boundary goes below", 1434, 5542, 1434 + 1995, 1434 + 1995},
      {"one twip more fits above", 1435, 5542, 1, 1435 + 1995},
      {"at the top of the screen", 0, 5542, 1995, 1995},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.left = 4321;
    platform.top = c.top;
    platform.width = c.width;
    platform.height = 1995;
    platform.shownForms.clear();
    core.About_Click();
    core.Support_Click();
    ASSERT_EQ(platform.shownForms.size(), 2u);
    const Form& about = platform.shownForms[0];
    const Form& support = platform.shownForms[1];
    EXPECT_EQ(about.Top, Twips(c.aboutTop));
    EXPECT_EQ(support.Top, Twips(c.supportTop));
    for (const Form* f : {&about, &support}) {
      EXPECT_EQ(f->Left, Twips(4321)) << f->Name;
      EXPECT_EQ(f->Width, Twips(c.width)) << f->Name << ": as wide as the clock";
    }
  }
}

// Zoomed, or with a font larger than the design's, both windows are drawn at the clock's
// scale and stand against the clock as it is on screen: above it, else below it, never over
// its dots while the screen has room, centred on it and wholly on the screen's free area.
TEST(FormsAtTheClocksScale, StandAgainstTheZoomedClockAndWhollyOnTheScreen) {
  struct Case {
    const char* name;
    const char* view;  // Tessa.view; null: none
    double fontScale;
    double left, top, width;  // the clock at 100 %, twips
    double areaWidth, areaHeight;
    double scale;  // the forms' boxes
    int zoom;      // the forms' text
  };
  const Case cases[] = {
      {"200 %, room above", "zoom=200\n", 1, 3000, 9000, 3622, 28800, 16200, 2, 200},
      {"200 %, near the top: below", "zoom=200\n", 1, 3000, 1000, 3622, 28800, 16200, 2, 200},
      {"18 pt at 100 %", nullptr, 2, 3000, 1000, 3622, 28800, 16200, 2, 100},
      {"a clock narrower than the forms", "zoom=200\n", 1, 6000, 1000, 3000, 28800, 16200, 2, 200},
      {"a narrow clock against the right edge", "zoom=200\n", 1, 28800 - 6000, 1000, 3000, 28800,
       16200, 2, 200},
      {"against the right edge", "zoom=150\n", 1, 28800 - 3622 * 1.5, 200, 3622, 28800, 16200, 1.5,
       150},
      {"a screen too low for room above or below", "zoom=200\n", 1, 0, 2500, 3622, 19200, 9000, 2,
       200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform p;
    if (c.view != nullptr) p.files["/opt/tessaron/Tessa.view"] = c.view;
    p.fontScaleValue = c.fontScale;
    p.workArea = ScreenArea{0_tw, 0_tw, Twips(c.areaWidth), Twips(c.areaHeight)};
    Tessaron core(p);
    core.Form_Load();
    p.left = c.left;
    p.top = c.top;
    p.width = c.width;
    p.height = 1995;
    core.About_Click();
    core.Support_Click();
    ASSERT_EQ(p.shownForms.size(), 2u);
    const WindowSize clock = p.windowSizeAt(core.zoom());
    for (const Form& f : p.shownForms) {
      SCOPED_TRACE(f.Name);
      EXPECT_EQ(f.Scale, c.scale);
      EXPECT_EQ(f.Zoom, c.zoom);
      const Twips h = f.ClientHeight * f.Scale + Twips(p.frameHeight);
      EXPECT_GE(f.Width, f.ClientWidth * f.Scale) << "its scaled labels fit";
      EXPECT_GE(f.Left, Twips(0));
      EXPECT_GE(f.Top, Twips(0));
      EXPECT_LE(f.Left + f.Width, Twips(c.areaWidth));
      EXPECT_LE(f.Top + h, Twips(c.areaHeight));
      const Twips top(c.top), left(c.left), areaWidth(c.areaWidth), areaHeight(c.areaHeight);
      const bool room = top - h > 0_tw || top + clock.height + h <= areaHeight;
      if (room) {
        EXPECT_TRUE(f.Top + h <= top || f.Top >= top + clock.height) << "over the dots";
      }
      const Twips centre = f.Left + f.Width / 2, clockCentre = left + clock.width / 2;
      if (f.Left > 0_tw && f.Left + f.Width < areaWidth) {
        EXPECT_EQ(centre, clockCentre);
      }
    }
  }
}

// Every control of both windows lies inside its window's client area, and the
// Support window's note ends with the address to write to.
TEST_F(HelpMenu, WindowsHoldTheirControlsInsideTheirClientArea) {
  core.About_Click();
  core.Support_Click();
  ASSERT_EQ(platform.shownForms.size(), 2u);
  for (const Form& form : platform.shownForms) {
    SCOPED_TRACE(form.Name);
    EXPECT_FALSE(form.Controls.empty());
    for (const FormControl& c : form.Controls) {
      SCOPED_TRACE(c.Name);
      EXPECT_GE(c.Left, Twips(0));
      EXPECT_GE(c.Top, Twips(0));
      EXPECT_LE(c.Left + c.Width, form.ClientWidth);
      EXPECT_LE(c.Top + c.Height, form.ClientHeight);
    }
  }
  const Form& support = platform.shownForms[1];
  const FormControl* email = support.control("Label1(8)");
  ASSERT_NE(email, nullptr);
  EXPECT_EQ(email->Caption, std::string("email: ") + kSupportEmail);
  const FormControl* button = support.control("WebSupport");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->kind, FormControl::Kind::CommandButton);
}

TEST_F(HelpMenu, WebSupportClosesTheSupportWindowBeforeEachNewBrowser) {
  const std::string page = "http://tessaron.example/tessa/tssupport.php";
  EXPECT_EQ(std::string(kSupportAddress).substr(std::string(kSupportAddress).find("/tessa/")),
            "/tessa/tssupport.php");
  platform.buttonClicks = {"WebSupport"};
  core.Support_Click();
  EXPECT_EQ(platform.calls,
            (Calls{"showModalForm frmTSSupport", "closeModalForm", "openBrowserWindow " + page}));

  platform.calls.clear();
  platform.buttonClicks = {"WebSupport"};
  core.Support_Click();
  EXPECT_EQ(platform.calls,
            (Calls{"showModalForm frmTSSupport", "closeModalForm", "openBrowserWindow " + page}))
      << "every click opens a browser of its own";

  // A browser that cannot start says so, after the support window has gone.
  ASSERT_EQ(platform.browserFailures.size(), 2u);
  platform.calls.clear();
  platform.browserFailures[1]();
  EXPECT_EQ(platform.calls, (Calls{"messageBox 48 |The browser could not start."}));
}

// The shortcut help must not drift from the menus: every shortcut stands in it beside
// its item's caption.
TEST(HelpFiles, ShortcutHelpListsEveryShortcutOfTheMenuTree) {
  std::ifstream file(std::string(TESSARON_DATA_DIR) + "/TSShortcut.hlp");
  ASSERT_TRUE(file) << "data/TSShortcut.hlp";
  std::stringstream text;
  text << file.rdbuf();
  const std::string help = text.str();
  int shortcuts = 0;
  for (const Menu& menu : menuTree()) {
    for (const MenuEntry& entry : menu.entries) {
      if (*entry.shortcut == '\0') continue;
      ++shortcuts;
      std::string caption = entry.caption;
      caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
      const std::string row =
          "<td>" + std::string(entry.shortcut) + "</td><td>" + caption + "</td>";
      EXPECT_NE(help.find(row), std::string::npos) << row;
    }
  }
  EXPECT_EQ(shortcuts, 14);
}

}  // namespace
}  // namespace tessaron::help_about_test
