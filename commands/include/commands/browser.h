#pragma once
// The support browser window "frmBrowser": an address box over an embedded web
// browser. The desktop side draws these controls and forwards the window's events.
//
// Example: StartingAddress "http://host/a" loads: the box and its list hold
// "http://host/a", the timer polls the control and the caption reads "Working..."
// until the page stops loading; a redirect to "http://host/b" then leaves the list
// as {"http://host/b", "http://host/a"} and the caption as the page's title.

#include <string>

#include "platform/controls.h"
#include "platform/platform.h"

namespace tessaron {

class frmBrowser {
 public:
  explicit frmBrowser(WebBrowserControl& control);

  // Window handlers; ScaleWidth and ScaleHeight are the client area's size in twips.
  void Form_Load(Twips ScaleWidth, Twips ScaleHeight);
  void Form_Resize(Twips ScaleWidth, Twips ScaleHeight);

  // Address box.
  // False when the control rejected the address.
  bool cboAddress_Click();
  void cboAddress_KeyPress(int KeyAscii);
  // What the box does when an entry of its list is selected, by the user or the program.
  void selectAddress(int listIndex);

  void timTimer_Timer();
  void brwWebBrowser_DownloadComplete();
  void brwWebBrowser_NavigateComplete2();

  // The toolbar's click notification: back and forward through this window's pages,
  // stop or reload the page, the support page ("Home") and its search.
  void tbToolBar_ButtonClick(int index);
  // Back and Forward enabled only with somewhere to go, Stop only while a page loads.
  void updateButtons();

  std::string StartingAddress;
  bool SuppressNavigation = false;

  std::string Caption = "Tessa Web Support";
  Toolbar tbToolBar;
  Box picAddress{0_tw, 432_tw, 6564_tw, 675_tw};
  Label lblAddress{45_tw, 60_tw, 3075_tw, 255_tw, "&Address:", 0, true};
  ComboBox cboAddress;
  Box brwWebBrowser{50_tw, 1215_tw, 5393_tw, 3734_tw};
  Timer timTimer{5, false};

  static constexpr Twips kDesignClientWidth = 6564_tw;
  static constexpr Twips kDesignClientHeight = 5052_tw;

 private:
  WebBrowserControl& control_;
};

}  // namespace tessaron
