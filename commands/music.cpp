// Background music: a .WAV file from the user's folder or the program's own, looped
// until switched off.

#include "commands/music.h"

#include <string_view>

#include "i18n/i18n.h"

namespace tessaron {

namespace {

constexpr Twips kPromptOffset = 5800_tw;  // left of the clock

// A typed name may use "\" between folders, as it would on the system it came from.
std::string withSlashes(std::string name) {
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  return name;
}

// Whether a relative path stays below its folder: no part of it climbs above the start.
bool staysBelowFolder(const std::string& name) {
  if (name.front() == '/') return false;
  int depth = 0;
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string_view part(name.data() + start, end - start);
    if (part == "..") {
      if (--depth < 0) return false;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

void BackgroundMusic::useSaved(const std::string& musicFile) {
  MusicFile = musicFile.size() < 5 ? "smallworld.wav" : musicFile;
}

void BackgroundMusic::StopMusic(Platform& platform, const std::string& folder) {
  platform.playOnce(folder + "ding.wav");
  platform.stopSound();
}

std::optional<std::string> BackgroundMusic::findMusicFile(Platform& platform,
                                                          const std::string& userFolder,
                                                          const std::string& shippedFolder,
                                                          const std::string& name) {
  // One ordinary file, not a pattern; a name the preferences file could not store back
  // (a double quote, a line break) is refused too.
  if (name.empty() || name.find_first_of("*?\"\r\n") != std::string::npos) return std::nullopt;
  // Names are found below the folders, never beside or above them.
  if (!staysBelowFolder(withSlashes(name))) return std::nullopt;
  // The user's own file wins over a shipped one of the same name; the shipped ones make
  // "smallworld.wav" work from the first start of an installed clock.
  for (const std::string* folder : {&userFolder, &shippedFolder}) {
    const std::string path = *folder + withSlashes(name);
    if (platform.isOrdinaryFileBelow(path, *folder)) return path;
    if (userFolder == shippedFolder) break;
  }
  return std::nullopt;
}

bool BackgroundMusic::choose(Platform& platform, const std::string& userFolder,
                             const std::string& shippedFolder,
                             std::function<void(const std::string&)> onFailure,
                             std::string* notFound) {
  const std::string previous = MusicFile;
  const Twips L = platform.windowLeft();
  const Twips T = platform.windowTop();
  const Twips W = platform.windowWidth();
  const Twips H = platform.windowHeight();
  // The folder the prompt names is there to be found, if it can be made; a copy's own
  // folder is there already.
  if (userFolder != shippedFolder) platform.makeFolder(userFolder);
  const Twips x = L - kPromptOffset > 0_tw ? L - kPromptOffset : L + W;
  const Twips y = T - H > 0_tw ? T - H : T + H;
  MusicFile = platform.inputBox(
      // TRANSLATORS: the prompt for a sound file's name; %1 is the user's folder.
      i18n("Enter the .WAV file - %1", userFolder), i18n("WAV file Input"), MusicFile, x, y);
  const auto path = findMusicFile(platform, userFolder, shippedFolder, MusicFile);
  if (!path) {
    if (notFound != nullptr) *notFound = MusicFile;
    MusicFile = previous;
    return false;
  }
  platform.playLoop(*path, std::move(onFailure));
  return true;
}

}  // namespace tessaron
