// The About window: the program's version, company, legal notice and description.

#include <string>

#include "commands/dialogs.h"
#include "i18n/i18n.h"

namespace tessaron {

frmAbout::frmAbout() {
  using K = FormControl::Kind;
  form.Name = "frmAbout";
  form.Caption = i18n("About Tessaron");
  form.ClientWidth = 3348;
  form.ClientHeight = 984;
  form.Controls = {
      {K::Label, "Label1", 120, 120, 732, 252, i18n("Version:"), false, false, ""},
      {K::Label, "Label2", 960, 120, 972, 252, "", false, false, ""},
      {K::Label, "Label3", 120, 360, 2652, 252, "", false, false, ""},
      {K::Label, "Label4", 120, 600, 2652, 252, "", false, false, ""},
  };
}

void frmAbout::Form_Load(Platform& platform, int zoom) {
  const ProgramInfo info = platform.programInfo();
  FormControl& version = *form.control("Label2");
  version.Caption = std::to_string(info.major) + "." + std::to_string(info.minor) + "." +
                    std::to_string(info.revision);
  // A bare number beside a one-word label: screen readers pass over both when they read the
  // window, so the version says whose it is.
  version.AccessibleName = i18n("Tessaron version %1", version.Caption);
  form.control("Label3")->Caption = info.companyName + " " + info.legalCopyright;
  form.control("Label4")->Caption = info.fileDescription;
  placeAgainstMainWindow(form, platform, zoom);
}

void showAbout(Platform& platform, int zoom) {
  frmAbout about;
  about.Form_Load(platform, zoom);
  platform.showModalForm(about.form, [](const std::string&) {});
}

}  // namespace tessaron
