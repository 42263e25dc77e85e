// The Support window: a fixed note to the user and the button to the support page.

#include <string>

#include "commands/dialogs.h"

namespace tessaron {

frmTSSupport::frmTSSupport() {
  using K = FormControl::Kind;
  form.Name = "frmTSSupport";
  form.Caption = "Tessaron Support";
  form.ClientWidth = 3348_tw;
  form.ClientHeight = 2700_tw;
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
    form.Controls.push_back({K::Label, "Label1(" + std::to_string(i) + ")", 120_tw, 240_tw * i,
                             3132_tw, 252_tw, texts[i], i == 0, i == 0, ""});
  }
  form.Controls.push_back({K::Label, "Label1(8)", 240_tw, 2400_tw, 2892_tw, 252_tw,
                           std::string("email: ") + kSupportEmail, false, true, ""});
  form.Controls.push_back({K::CommandButton, "WebSupport", 960_tw, 1920_tw, 1092_tw, 492_tw,
                           "Web Support", false, false, ""});
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
