// The About window: the program's version, company, legal notice and description.

#include <string>

#include "commands/dialogs.h"
#include "i18n/i18n.h"

namespace tessaron {

frmAbout::frmAbout() {
  using K = FormControl::Kind;
  form.Name = "frmAbout";
  form.Caption = i18n("About Tessaron");
  form.ClientWidth = 3348_tw;
  form.ClientHeight = 984_tw;
  form.Controls = {
      {K::Label, "Label1", 120_tw, 120_tw, 732_tw, 252_tw, i18n("Version:"), false, false, ""},
      {K::Label, "Label2", 960_tw, 120_tw, 972_tw, 252_tw, "", false, false, ""},
      {K::Label, "Label3", 120_tw, 360_tw, 2652_tw, 252_tw, "", false, false, ""},
      {K::Label, "Label4", 120_tw, 600_tw, 2652_tw, 252_tw, "", false, false, ""},
  };
}

void frmAbout::Form_Load(Platform& platform, int zoom) {
  const ProgramInfo info = platform.programInfo();
  FormControl& version = *form.control("Label2");
  version.Caption = localDigits(std::to_string(info.major) + "." + std::to_string(info.minor) +
                                "." + std::to_string(info.revision));
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
