// The Support window: a fixed note to the user and the button to the support page.

#include <array>
#include <string>

#include "commands/dialogs.h"
#include "i18n/i18n.h"

namespace tessaron {

frmTSSupport::frmTSSupport() {
  using K = FormControl::Kind;
  form.Name = "frmTSSupport";
  form.Caption = i18n("Tessaron Support");
  form.ClientWidth = 3348_tw;
  form.ClientHeight = 2700_tw;
  // The note is one text for its translators, broken into the window's seven lines where
  // it has line breaks.
  std::array<std::string, 8> texts{i18n("Tessa Support")};
  // TRANSLATORS: seven lines of about 42 characters each; keep the line breaks and the
  // button's name as it is translated on the button.
  const std::string note = i18n(
      "I would like to continue to upgrade Tessa\n"
      "To do this I need to hear from users about\n"
      "any bugs, problems or enhancements to the\n"
      "program.    To send me comments about \n"
      "Tessa, either email me at the address\n"
      "below or click on the \"Web Support\" button");
  std::size_t line = 1;
  for (std::size_t at = 0; line < 7; ++line) {
    const std::size_t end = note.find('\n', at);
    texts[line] = note.substr(at, end - at);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  for (int i = 0; i <= 7; ++i) {
    form.Controls.push_back({K::Label, "Label1(" + std::to_string(i) + ")", 120_tw, 240_tw * i,
                             3132_tw, 252_tw, texts[static_cast<std::size_t>(i)], i == 0, i == 0,
                             ""});
  }
  form.Controls.push_back({K::Label, "Label1(8)", 240_tw, 2400_tw, 2892_tw, 252_tw,
                           i18n("email: %1", kSupportEmail), false, true, ""});
  form.Controls.push_back({K::CommandButton, "WebSupport", 960_tw, 1920_tw, 1092_tw, 492_tw,
                           i18n("Web Support"), false, false, ""});
}

void frmTSSupport::Form_Load(Platform& platform, int zoom) {
  placeAgainstMainWindow(form, platform, zoom);
}

void frmTSSupport::WebSupport_Click(Platform& platform) {
  platform.closeModalForm();
  platform.openBrowserWindow(kSupportAddress, [&platform] {
    platform.messageBox(i18n("The browser could not start."), MessageStyle::Exclamation, "");
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
