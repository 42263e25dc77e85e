// The Support window: a fixed note to the user and the button to the support page.

#include <string>

#include "commands/dialogs.h"

namespace tessaron {

frmTSSupport::frmTSSupport() {
  using K = FormControl::Kind;
  form.Name = "frmTSSupport";
  form.Caption = "Tessaron Support";
  form.ClientWidth = 3348;
  form.ClientHeight = 2700;
  const char* texts[] = {
      "Tessa Support",
      "I would like to continue to upgrade Tessa",
      "To do this I need to hear from users about",
      "any bugs, problems or enhancements to the",
      "program.    To send me comments about ",
      "Tessa, either email me at the address",
      "below or click on the \"Web Support\" button",
      "",
  };
  for (int i = 0; i <= 7; ++i) {
    form.Controls.push_back({K::Label, "Label1(" + std::to_string(i) + ")", 120, 240.0 * i, 3132,
                             252, texts[i], i == 0, i == 0, ""});
  }
  form.Controls.push_back({K::Label, "Label1(8)", 240, 2400, 2892, 252,
                           std::string("email: ") + kSupportEmail, false, true, ""});
  form.Controls.push_back(
      {K::CommandButton, "WebSupport", 960, 1920, 1092, 492, "Web Support", false, false, ""});
}

void frmTSSupport::Form_Load(Platform& platform, int zoom) {
  placeAgainstMainWindow(form, platform, zoom);
}

void frmTSSupport::WebSupport_Click(Platform& platform) {
  platform.closeModalForm();
  platform.openBrowserWindow(kSupportAddress, [&platform] {
    platform.messageBox("The browser could not start.", MessageStyle::Exclamation, "");
  });
}

void showSupport(Platform& platform, int zoom) {
  frmTSSupport support;
  support.Form_Load(platform, zoom);
  platform.showModalForm(support.form, [&](const std::string& button) {
    if (button == "WebSupport") support.WebSupport_Click(platform);
  });
}

}  // namespace tessaron
