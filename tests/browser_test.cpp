// The support browser window: its address list, caption, timer and sizes against a
// browser control that only reports what the test sets.

#include "commands/browser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/fake_platform.h"

namespace tessaron::browser_test {
namespace {

using List = std::vector<std::string>;

class Browser : public ::testing::Test {
 protected:
  test::FakeBrowserControl control;
  frmBrowser form{control};

  // The control finishes loading `url` under `title` and reports it; the timer ticks.
  void arrive(const std::string& url, const std::string& title) {
    control.busy = false;
    control.url = url;
    control.title = title;
    form.brwWebBrowser_NavigateComplete2();
    form.brwWebBrowser_DownloadComplete();
    if (form.timTimer.Enabled) form.timTimer_Timer();
  }
  void load(const std::string& start) {
    form.StartingAddress = start;
    form.Form_Load(frmBrowser::kDesignClientWidth, frmBrowser::kDesignClientHeight);
  }
};

TEST_F(Browser, StartingAddressLoadsWithWorkingThenThePageTitle) {
  load("http://127.0.0.1/tessa/tssupport.php");
  EXPECT_EQ(control.navigations, List{"http://127.0.0.1/tessa/tssupport.php"});
  EXPECT_EQ(form.cboAddress.Text, "http://127.0.0.1/tessa/tssupport.php");
  EXPECT_EQ(form.cboAddress.List, List{"http://127.0.0.1/tessa/tssupport.php"});
  EXPECT_EQ(form.cboAddress.Left, Twips(50));
  EXPECT_EQ(form.cboAddress.Top, Twips(330));
  EXPECT_TRUE(form.timTimer.Enabled);
  EXPECT_EQ(form.timTimer.Interval, 5);

  control.busy = true;
  form.timTimer_Timer();
  EXPECT_EQ(form.Caption, "Working...");
  EXPECT_TRUE(form.timTimer.Enabled);

  arrive("http://127.0.0.1/tessa/tssupport.php", "Tessa Support Page");
  form.timTimer_Timer();
  EXPECT_FALSE(form.timTimer.Enabled) << "the first idle tick ends the polling";
  EXPECT_EQ(form.Caption, "Tessa Support Page");
  EXPECT_EQ(form.cboAddress.List, List{"http://127.0.0.1/tessa/tssupport.php"});
  EXPECT_EQ(form.cboAddress.ListIndex, 0);
  EXPECT_EQ(control.navigations.size(), 1u) << "the program's own selection navigates nowhere";
  EXPECT_FALSE(form.SuppressNavigation);
}

TEST_F(Browser, WithoutAStartingAddressNothingLoads) {
  load("");
  EXPECT_TRUE(control.navigations.empty());
  EXPECT_FALSE(form.timTimer.Enabled);
  EXPECT_TRUE(form.cboAddress.List.empty());
  EXPECT_EQ(form.Caption, "Tessa Web Support");
}

TEST_F(Browser, AddressListKeepsEachAddressOnceNewestFirst) {
  struct Case {
    const char* name;
    List reported;  // addresses the control reports, in order, after loading "A"
    List list;
  };
  const Case cases[] = {
      {"the requested address comes back", {"http://h/A"}, {"http://h/A"}},
      {"a redirect: both, the reported one first", {"http://h/B"}, {"http://h/B", "http://h/A"}},
      {"A, B, A gives A, B",
       {"http://h/A", "http://h/B", "http://h/A"},
       {"http://h/A", "http://h/B"}},
      {"letter case makes another address", {"http://h/a"}, {"http://h/a", "http://h/A"}},
      {"an older entry moves up, the rest keep their order",
       {"http://h/B", "http://h/C", "http://h/B"},
       {"http://h/B", "http://h/C", "http://h/A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeBrowserControl control;
    frmBrowser form(control);
    form.StartingAddress = "http://h/A";
    form.Form_Load(6564_tw, 5052_tw);
    for (const std::string& url : c.reported) {
      control.url = url;
      control.title = "page " + url;
      form.brwWebBrowser_NavigateComplete2();
    }
    EXPECT_EQ(form.cboAddress.List, c.list);
    EXPECT_EQ(form.cboAddress.Text, c.list.front());
    EXPECT_EQ(form.Caption, "page " + c.reported.back());
    EXPECT_EQ(control.navigations, List{"http://h/A"}) << "only the load navigated";
  }
}

TEST_F(Browser, EnterAndListPicksNavigateOtherKeysDoNot) {
  load("http://h/A");
  arrive("http://h/A", "A");
  arrive("http://h/B", "B");  // a link followed inside the page
  control.navigations.clear();

  form.cboAddress.Text = "example.test/Typed Text";
  form.cboAddress_KeyPress('a');
  form.cboAddress_KeyPress(10);
  EXPECT_TRUE(control.navigations.empty());
  EXPECT_FALSE(form.timTimer.Enabled);
  form.cboAddress_KeyPress(13);
  EXPECT_EQ(control.navigations, List{"example.test/Typed Text"}) << "the text as typed";
  EXPECT_TRUE(form.timTimer.Enabled);

  form.timTimer.Enabled = false;
  form.selectAddress(1);  // the user picks "http://h/A"
  EXPECT_EQ(control.navigations, (List{"example.test/Typed Text", "http://h/A"}));
  EXPECT_EQ(form.cboAddress.Text, "http://h/A");
  EXPECT_TRUE(form.timTimer.Enabled);
}

TEST_F(Browser, ARejectedNavigationIsSkipped) {
  load("http://h/A");
  control.failNavigate = true;
  form.cboAddress.Text = "http://h/rejected";
  EXPECT_NO_THROW(form.cboAddress_KeyPress(13));
  EXPECT_NO_THROW(form.selectAddress(0));
  EXPECT_FALSE(form.cboAddress_Click()) << "the rejection comes back as a result";
  control.failNavigate = false;
  form.cboAddress.Text = "http://h/next";
  form.cboAddress_KeyPress(13);
  EXPECT_EQ(control.navigations, (List{"http://h/A", "http://h/next"}));
}

TEST_F(Browser, ResizeFitsTheBoxAndBrowserToTheWindow) {
  struct Case {
    const char* name;
    double scaleWidth, scaleHeight;
    double boxWidth, browserWidth, browserHeight;
  };
  // The browser's height is what is left under the address panel (432 + 675), less 100.
  const Case cases[] = {
      {"3000 x 2500", 3000, 2500, 2900, 2900, 1293},
      {"the designed client area", 6564, 5052, 6464, 6464, 3845},
      {"exactly nothing left", 100, 1207, 0, 0, 0},
      {"too small: sizes stay as they were", 99, 1206, 2900, 2900, 1293},
      {"too narrow only", 50, 4000, 2900, 2900, 2793},
      {"too low only", 4000, 900, 3900, 3900, 1293},
  };
  load("");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form.Form_Resize(3000_tw, 2500_tw);
    form.Form_Resize(Twips(c.scaleWidth), Twips(c.scaleHeight));
    EXPECT_EQ(form.cboAddress.Width, Twips(c.boxWidth));
    EXPECT_EQ(form.brwWebBrowser.Width, Twips(c.browserWidth));
    EXPECT_EQ(form.brwWebBrowser.Height, Twips(c.browserHeight));
    EXPECT_EQ(form.brwWebBrowser.Left, Twips(50));
    EXPECT_EQ(form.brwWebBrowser.Top, Twips(1215));
    EXPECT_EQ(form.cboAddress.Height, Twips(288));
  }
}

// Each button does what it says, only when there is something to do: back and forward
// through the window's own pages, stop a load, reload, the support page and its search.
TEST_F(Browser, ToolbarButtonsDoWhatTheySayWhenThereIsSomethingToDo) {
  struct Case {
    const char* name;
    bool canGoBack, canGoForward, busy;
    const char* key;
    List asked;        // what the control is asked for after the click
    bool working;      // the caption goes to "Working..." until the page has loaded
    const char* text;  // the address box afterwards
  };
  const Case cases[] = {
      {"back to the page before", true, false, false, "Back", {"back"}, true, "http://h/B"},
      {"back with nowhere to go", false, true, false, "Back", {}, false, "http://h/B"},
      {"forward again", false, true, false, "Forward", {"forward"}, true, "http://h/B"},
      {"forward with nowhere to go", true, false, false, "Forward", {}, false, "http://h/B"},
      {"stop a page that loads", false, false, true, "Stop", {"stop"}, false, "http://h/B"},
      {"stop with nothing loading", false, false, false, "Stop", {}, false, "http://h/B"},
      {"reload", false, false, false, "Refresh", {"refresh"}, true, "http://h/B"},
      {"home: the support page", true, false, false, "Home", {"http://h/A"}, true, "http://h/A"},
      {"search: the support page's",
       true,
       false,
       false,
       "Search",
       {"http://h/A#search"},
       true,
       "http://h/A#search"},
  };
  const char* keys[] = {"Back", "Forward", "Stop", "Refresh", "Home", "Search"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeBrowserControl browser;
    frmBrowser window{browser};
    window.StartingAddress = "http://h/A";
    window.Form_Load(frmBrowser::kDesignClientWidth, frmBrowser::kDesignClientHeight);
    browser.url = "http://h/B";
    window.brwWebBrowser_NavigateComplete2();
    window.timTimer_Timer();
    browser.canGoBack = c.canGoBack;
    browser.canGoForward = c.canGoForward;
    browser.busy = c.busy;
    window.updateButtons();
    EXPECT_EQ(window.tbToolBar.button(1).Enabled, c.canGoBack);
    EXPECT_EQ(window.tbToolBar.button(2).Enabled, c.canGoForward);
    EXPECT_EQ(window.tbToolBar.button(3).Enabled, c.busy);
    browser.navigations.clear();
    window.timTimer.Enabled = false;
    const int index = static_cast<int>(std::find(keys, keys + 6, std::string(c.key)) - keys) + 1;
    ASSERT_EQ(window.tbToolBar.button(index).Key, c.key);
    window.tbToolBar_ButtonClick(index);
    EXPECT_EQ(browser.navigations, c.asked);
    EXPECT_EQ(window.timTimer.Enabled, c.working);
    EXPECT_EQ(window.cboAddress.Text, c.text);
  }
}

// Before the first page there is nowhere to go and nothing to stop.
TEST_F(Browser, BackForwardAndStopStartDisabled) {
  for (int index : {1, 2, 3}) EXPECT_FALSE(form.tbToolBar.button(index).Enabled) << index;
  for (int index : {4, 5, 6}) EXPECT_TRUE(form.tbToolBar.button(index).Enabled) << index;
}

}  // namespace
}  // namespace tessaron::browser_test
