#pragma once
// The About and Support windows as forms the desktop draws: their captions, labels and
// button in twips, filled and placed against the clock when they load, and drawn as
// large as the clock is.
//
// Example: with the clock at Left 3000, Top 1200, 5542 wide and 1995 high, the About
// window (client 984 high, 450 of frame) cannot stand above it (1200 - 1434 <= 0), so
// it opens at Left 3000, Top 1200 + 1995 = 3195, 5542 wide. At 200 % the clock is 11084 x
// 3990 on screen and the window 1968 + 450 high: Top 1200 + 3990, 11084 wide.

#include <string>

#include "platform/platform.h"

namespace tessaron {

// The support page, fetched over plain HTTP.
inline constexpr const char* kSupportAddress = "http://tessaron.example/tessa/tssupport.php";
inline constexpr const char* kSupportEmail = "support@tessaron.example";

// Draws `form` at the clock's scale (its zoom in percent and the font's) and puts it
// directly above the main window as the window stands on screen when it fits below the
// top of the screen's free area, otherwise directly below it; as wide as the clock (or as
// its own client, if wider) and centred on it. Whatever of it would then lie off that
// area is brought onto it.
void placeAgainstMainWindow(Form& form, Platform& platform, int zoom = 100);

// The About window, modal, until the user closes it.
void showAbout(Platform& platform, int zoom = 100);
// The Support window, modal; its button closes it and opens the support page.
void showSupport(Platform& platform, int zoom = 100);

class frmAbout {
 public:
  frmAbout();
  // Version, company and legal notice, description; then the placement.
  void Form_Load(Platform& platform, int zoom = 100);

  Form form;
};

class frmTSSupport {
 public:
  frmTSSupport();
  void Form_Load(Platform& platform, int zoom = 100);
  // Closes this window, then opens the support page in a new browser window.
  void WebSupport_Click(Platform& platform);

  Form form;
};

}  // namespace tessaron
