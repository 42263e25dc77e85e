#pragma once
// Background music: a .WAV file from the user's folder or else from the program's own
// sounds, looped until switched off.
//
// Example: with the clock at Left 9000, Top 3000, 4956 x 2000, the prompt for the file
// stands at 3200, 1000 (5800 left of the clock, one clock-height above it); the answer
// "sounds\tick.wav" plays "<user folder>/sounds/tick.wav" in a loop, or the shipped
// "<program folder>/sounds/tick.wav" when the user has none.

#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace tessaron {

class BackgroundMusic {
 public:
  // Asks for the file, naming `userFolder` and offering the current name, and loops it.
  // False, with the file name as it was, when the answer names no ordinary file below
  // `userFolder` or `shippedFolder` (links followed); `notFound` then holds the name typed,
  // or nothing when the prompt was left empty. Should the sound service find it
  // unplayable, `onFailure` runs later with the reason.
  bool choose(Platform& platform, const std::string& userFolder, const std::string& shippedFolder,
              std::function<void(const std::string& reason)> onFailure,
              std::string* notFound = nullptr);
  // The closing ding, then silence.
  void StopMusic(Platform& platform, const std::string& folder);
  // The file kept in the preferences; a name too short to be one gives the shipped
  // "smallworld.wav".
  void useSaved(const std::string& musicFile);

  // The file the music plays, or last played, as the user typed it: "sounds\tick.wav".
  const std::string& musicFile() const { return MusicFile; }

 private:
  std::string MusicFile;

  // The path of the file the user named, or nothing when neither folder holds it.
  std::optional<std::string> findMusicFile(Platform& platform, const std::string& userFolder,
                                           const std::string& shippedFolder,
                                           const std::string& name);
};

}  // namespace tessaron
