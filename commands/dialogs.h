#pragma once
// The About and Support windows as forms the desktop draws: their captions, labels and
// button in twips, filled and placed against the clock when they load.
//
// Example: with the clock at Left 3000, Top 1200, 5542 wide and 1995 high, the About
// window (client 984 high, 450 of frame) cannot stand above it (1200 - 1434 <= 0), so
// it opens at Left 3000, Top 1200 + 1995 = 3195, 5542 wide.

#include <string>

#include "platform/platform.h"

namespace tessaron {

// The support page, fetched over plain HTTP.
inline constexpr const char* kSupportAddress = "http://tessaron.example/tessa/tssupport.php";
inline constexpr const char* kSupportEmail = "support@tessaron.example";

// Puts `form` directly above the main window when it fits below the screen's top edge,
// otherwise directly below it; same left edge, same width.
void placeAgainstMainWindow(Form& form, Platform& platform);

// The About window, modal, until the user closes it.
void showAbout(Platform& platform);
// The Support window, modal; its button closes it and opens the support page.
void showSupport(Platform& platform);

class frmAbout {
 public:
  frmAbout();
  // Version, company and legal notice, description; then the placement.
  void Form_Load(Platform& platform);

  Form form;
};

class frmTSSupport {
 public:
  frmTSSupport();
  void Form_Load(Platform& platform);
  // Closes this window, then opens the support page in a new browser window.
  void WebSupport_Click(Platform& platform);

  Form form;
};

}  // namespace tessaron
