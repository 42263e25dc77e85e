#pragma once
// The Qt platform with its sound calls doing nothing, for tests of the Qt side that
// must neither start the sound helper nor need a sound server.
//
// Example: SilentPlatform platform; platform.playOnce("ding.wav") returns at once and
// starts no process; every other call is the real desktop's.

#include <functional>
#include <string>

#include "platform/qt/qt_platform.h"

namespace tessaron::qt {

class SilentPlatform : public QtPlatform {
 public:
  void playOnce(const std::string&) override {}
  void playLoop(const std::string&, std::function<void(const std::string&)>) override {}
  void stopSound() override {}
};

}  // namespace tessaron::qt
