// libFuzzer target for the sound helper's .WAV header reader: whatever the bytes, it gives
// a format whose samples lie inside the file in whole frames, or a reason.
//
// Example: tests/fuzz/run.sh 60 wav_fuzz

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

#include "platform/qt/sound_helper/wav.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaron::sound;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const auto r = parseWavHeader(file.substr(0, kMaxWavHeaderBytes), size);
  if (const auto* f = std::get_if<WavFormat>(&r)) {
    require(f->channels >= 1 && f->channels <= 8 && f->rate >= 1 && f->blockAlign >= 1);
    require(f->dataBytes > 0 && f->dataBytes % static_cast<unsigned>(f->blockAlign) == 0);
    require(f->dataOffset + f->dataBytes <= size);
  } else {
    require(!std::get<std::string>(r).empty());
  }
  return 0;
}
