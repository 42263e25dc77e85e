#pragma once
// The header of a .WAV file, checked before a byte of sound is played: a file that lies
// about its format or its length is refused whole rather than played as noise.
//
// Example: "RIFF" <size> "WAVE" "fmt " 16 {1, 2, 44100, 176400, 4, 16} "data" 17640 ...
// in a file of 17684 bytes gives {S16, 2 channels, 44100 Hz, block 4, data at 44, 17640
// bytes}; the same file cut to 10000 bytes gives "the file ends before its sound does".

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace tessaron::sound {

struct WavFormat {
  enum class Sample { U8, S16, S24, S32, Float32 };  // little-endian, as stored
  Sample sample = Sample::S16;
  int channels = 0;              // [1:8]
  std::uint32_t rate = 0;        // frames per second [1:384000]
  int blockAlign = 0;            // bytes per frame: channels * bytes per sample
  std::uint64_t dataOffset = 0;  // where the samples start in the file
  std::uint64_t dataBytes = 0;   // whole frames only, at least one
};

// The largest header that is read: the samples must start within it.
constexpr std::size_t kMaxWavHeaderBytes = 64 * 1024;

// file   = "RIFF" u32 "WAVE" { chunk }          (u32 little-endian)
// chunk  = id[4] u32:size bytes[size] [pad byte when size is odd]
// "fmt " = u16 format u16 channels u32 rate u32 byteRate u16 blockAlign u16 bits [extension]
// format 1 (integer PCM), 3 (float) or 0xFFFE (extensible, with sub-format 1 or 3).
// `head` is the file's first bytes (up to kMaxWavHeaderBytes); `fileSize` its whole size.
// The format, or why the file cannot be played.
std::variant<WavFormat, std::string> parseWavHeader(std::string_view head, std::uint64_t fileSize);

}  // namespace tessaron::sound
