#pragma once
// Background music: a .WAV file from the program's folder, looped until switched off.
//
// Example: with the clock at Left 9000, Top 3000, 4956 x 2000, the prompt for the file
// stands at 3200, 1000 (5800 left of the clock, one clock-height above it); the answer
// "sounds\tick.wav" plays "<folder>/sounds/tick.wav" in a loop.

#include <string>

#include "platform/platform.h"

namespace tessaron {

class BackgroundMusic {
 public:
  // Asks for the file, offering the current one, and loops it. False, with the file
  // name as it was, when the answer names no ordinary file of `folder`.
  bool choose(Platform& platform, const std::string& folder);
  // The closing ding, then silence.
  void StopMusic(Platform& platform, const std::string& folder);

  std::string MusicFile;

 private:
  bool musicFileFound(Platform& platform, const std::string& folder, const std::string& name);
};

}  // namespace tessaron
