#include "commands/browser.h"

namespace tessaron {

namespace {

constexpr int kEnter = 13;

}  // namespace

frmBrowser::frmBrowser(WebBrowserControl& control) : control_(control) {
  tbToolBar.Height = 432;
  tbToolBar.Buttons = {
      {"Back", "Back", 1, ButtonStyle::Plain, 0}, {"Forward", "Forward", 2, ButtonStyle::Plain, 0},
      {"Stop", "Stop", 3, ButtonStyle::Plain, 0}, {"Refresh", "Refresh", 4, ButtonStyle::Plain, 0},
      {"Home", "Home", 5, ButtonStyle::Plain, 0}, {"Search", "Search", 6, ButtonStyle::Plain, 0},
  };
  cboAddress.Left = 45;
  cboAddress.Top = 300;
  cboAddress.Width = 3795;
  cboAddress.Height = 288;
  cboAddress.Text = "Combo1";
}

void frmBrowser::Form_Load(double ScaleWidth, double ScaleHeight) {
  Form_Resize(ScaleWidth, ScaleHeight);
  cboAddress.Left = 50;
  cboAddress.Top = lblAddress.Top + lblAddress.Height + 15;
  if (!StartingAddress.empty()) {
    cboAddress.Text = StartingAddress;
    cboAddress.List.push_back(cboAddress.Text);
    timTimer.Enabled = true;
    // A starting address the control rejects leaves the window empty.
    control_.Navigate(StartingAddress);
  }
}

void frmBrowser::Form_Resize(double ScaleWidth, double ScaleHeight) {
  // Too small a window keeps the sizes it had rather than take a negative one.
  const double width = ScaleWidth - 100;
  if (width >= 0) {
    cboAddress.Width = width;
    brwWebBrowser.Width = width;
  }
  const double height = ScaleHeight - (picAddress.Top + picAddress.Height) - 100;
  if (height >= 0) brwWebBrowser.Height = height;
}

bool frmBrowser::cboAddress_Click() {
  if (SuppressNavigation) return true;
  timTimer.Enabled = true;
  return control_.Navigate(cboAddress.Text);
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
    Caption = "Working...";
  } else {
    timTimer.Enabled = false;
    Caption = control_.LocationName();
  }
}

void frmBrowser::brwWebBrowser_DownloadComplete() { Caption = control_.LocationName(); }

void frmBrowser::brwWebBrowser_NavigateComplete2() {
  Caption = control_.LocationName();
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

void frmBrowser::tbToolBar_ButtonClick(int) {}

}  // namespace tessaron
