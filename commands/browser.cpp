#include "commands/browser.h"

#include "i18n/i18n.h"

namespace tessaron {

namespace {

constexpr int kEnter = 13;
// Where the support page keeps its search.
constexpr const char* kSearchAnchor = "#search";

}  // namespace

frmBrowser::frmBrowser(WebBrowserControl& control) : control_(control) {
  Caption = i18n("Tessa Web Support");
  lblAddress.Caption = i18n("&Address:");
  tbToolBar.Height = 432_tw;
  tbToolBar.Buttons = {
      {"Back", i18n("Back"), 1, ButtonStyle::Plain, 0},
      {"Forward", i18n("Forward"), 2, ButtonStyle::Plain, 0},
      {"Stop", i18n("Stop"), 3, ButtonStyle::Plain, 0},
      {"Refresh", i18n("Refresh"), 4, ButtonStyle::Plain, 0},
      {"Home", i18n("Home"), 5, ButtonStyle::Plain, 0},
      {"Search", i18n("Search"), 6, ButtonStyle::Plain, 0},
  };
  // Nowhere to go back or forward to, and nothing to stop, before the first page.
  for (int index : {1, 2, 3}) tbToolBar.button(index).Enabled = false;
  cboAddress.Left = 45_tw;
  cboAddress.Top = 300_tw;
  cboAddress.Width = 3795_tw;
  cboAddress.Height = 288_tw;
  cboAddress.Text = "Combo1";
}

void frmBrowser::Form_Load(Twips ScaleWidth, Twips ScaleHeight) {
  Form_Resize(ScaleWidth, ScaleHeight);
  cboAddress.Left = 50_tw;
  cboAddress.Top = lblAddress.Top + lblAddress.Height + 15_tw;
  if (!StartingAddress.empty()) {
    cboAddress.Text = StartingAddress;
    cboAddress.List.push_back(cboAddress.Text);
    timTimer.Enabled = true;
    // A starting address the control rejects leaves the window empty.
    control_.Navigate(StartingAddress);
    updateButtons();
  }
}

void frmBrowser::Form_Resize(Twips ScaleWidth, Twips ScaleHeight) {
  // Too small a window keeps the sizes it had rather than take a negative one.
  const Twips width = ScaleWidth - 100_tw;
  if (width >= 0_tw) {
    cboAddress.Width = width;
    brwWebBrowser.Width = width;
  }
  const Twips height = ScaleHeight - (picAddress.Top + picAddress.Height) - 100_tw;
  if (height >= 0_tw) brwWebBrowser.Height = height;
}

bool frmBrowser::cboAddress_Click() {
  if (SuppressNavigation) return true;
  timTimer.Enabled = true;
  const bool accepted = control_.Navigate(cboAddress.Text);
  updateButtons();
  return accepted;
}

void frmBrowser::cboAddress_KeyPress(int KeyAscii) {
  // A request the control rejects leaves the page as it is.
  if (KeyAscii == kEnter) cboAddress_Click();
}

void frmBrowser::selectAddress(int listIndex) {
  if (listIndex < 0 || listIndex >= static_cast<int>(cboAddress.List.size())) return;
  cboAddress.ListIndex = listIndex;
  cboAddress.Text = cboAddress.List[static_cast<std::size_t>(listIndex)];
  // A request the control rejects is let go here as on the Enter path.
  cboAddress_Click();
}

void frmBrowser::timTimer_Timer() {
  if (control_.Busy()) {
    Caption = i18n("Working...");
  } else {
    timTimer.Enabled = false;
    Caption = control_.LocationName();
  }
  updateButtons();
}

void frmBrowser::brwWebBrowser_DownloadComplete() {
  Caption = control_.LocationName();
  updateButtons();
}

void frmBrowser::brwWebBrowser_NavigateComplete2() {
  Caption = control_.LocationName();
  updateButtons();
  const std::string address = control_.LocationURL();
  auto& list = cboAddress.List;
  SuppressNavigation = true;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (*it == address) {
      list.erase(it);
      break;
    }
  }
  list.insert(list.begin(), address);
  selectAddress(0);
  SuppressNavigation = false;
}

void frmBrowser::tbToolBar_ButtonClick(int index) {
  if (index < 1 || index > static_cast<int>(tbToolBar.Buttons.size())) return;
  const ToolbarButton& button = tbToolBar.button(index);
  if (!button.Enabled) return;
  const std::string& key = button.Key;
  if (key == "Stop") {
    control_.Stop();
  } else if (key == "Home" || key == "Search") {
    if (StartingAddress.empty()) return;
    cboAddress.Text = key == "Home" ? StartingAddress : StartingAddress + kSearchAnchor;
    cboAddress_Click();
    return;
  } else {
    if (key == "Back") control_.GoBack();
    if (key == "Forward") control_.GoForward();
    if (key == "Refresh") control_.Refresh();
    timTimer.Enabled = true;  // "Working..." until it has loaded
  }
  updateButtons();
}

void frmBrowser::updateButtons() {
  tbToolBar.button(1).Enabled = control_.CanGoBack();
  tbToolBar.button(2).Enabled = control_.CanGoForward();
  tbToolBar.button(3).Enabled = control_.Busy();
}

}  // namespace tessaron
