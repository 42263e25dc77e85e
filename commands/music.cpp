// Background music: a .WAV file from the program's folder, looped until switched off.

#include "core/tessaron.h"

namespace tessaron {

namespace {

constexpr const char* kPrompt = "Enter the .WAV file - ";
constexpr const char* kPromptTitle = "WAV file Input";
constexpr double kPromptOffset = 5800;  // twips left of the clock

// A typed name may use "\" between folders, as it would on the system it came from.
std::string withSlashes(std::string name) {
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  return name;
}

}  // namespace

void Tessaron::StopMusic() {
  platform_.playOnce(AppFolder + "ding.wav");
  platform_.stopSound();
}

bool Tessaron::musicFileFound(const std::string& name) {
  // One ordinary file, not a pattern; a name the preferences file could not store back
  // (a double quote, a line break) is refused too.
  if (name.empty() || name.find_first_of("*?\"\r\n") != std::string::npos) return false;
  return platform_.isOrdinaryFile(AppFolder + withSlashes(name));
}

void Tessaron::Music_Click() {
  if (Music.Checked) {
    Music.Checked = false;
    Toolbar1.button(kButtonMusic).Value = 0;
    StopMusic();
    Music.Caption = "Music";
    return;
  }
  Music.Checked = true;
  Toolbar1.button(kButtonMusic).Value = 1;
  const std::string previous = MusicFile;

  const double L = platform_.windowLeft();
  const double T = platform_.windowTop();
  const double W = platform_.windowWidth();
  const double H = platform_.windowHeight();
  const double x = L - kPromptOffset > 0 ? L - kPromptOffset : L + W;
  const double y = T - H > 0 ? T - H : T + H;
  MusicFile = platform_.inputBox(kPrompt + AppFolder, kPromptTitle, MusicFile, x, y);

  if (musicFileFound(MusicFile)) {
    platform_.playLoop(AppFolder + withSlashes(MusicFile));
    Music.Caption = "Music (" + MusicFile + ")";
  } else {
    MusicFile = previous;
    Music.Checked = false;
    Toolbar1.button(kButtonMusic).Value = 0;
    Music.Caption = "Music";
  }
}

void Tessaron::Form_Terminate() { StopMusic(); }

}  // namespace tessaron
