#include "platform/qt/sound_helper/wav.h"

#include "i18n/i18n.h"

namespace tessaron::sound {

namespace {

std::uint32_t u32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t u16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned char>(b[at + 1]) << 8);
}

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kFloat = 3;
constexpr std::uint16_t kExtensible = 0xFFFE;

}  // namespace

std::variant<WavFormat, std::string> parseWavHeader(std::string_view head, std::uint64_t fileSize) {
  if (head.size() > fileSize) head = head.substr(0, fileSize);
  if (head.size() < 12 || head.substr(0, 4) != "RIFF" || head.substr(8, 4) != "WAVE") {
    return i18n("it is not a .WAV file");
  }
  WavFormat f;
  bool haveFormat = false;
  std::size_t at = 12;
  while (true) {
    if (head.size() - at < 8) {
      return at >= fileSize ? i18n("it holds no sound") : i18n("its header is too long");
    }
    const std::string_view id = head.substr(at, 4);
    const std::uint64_t size = u32(head, at + 4);
    const std::uint64_t body = at + 8;
    if (id == "data") {
      if (!haveFormat) return i18n("its sound comes before its format");
      if (body + size > fileSize) return i18n("the file ends before its sound does");
      f.dataOffset = body;
      f.dataBytes = size - size % static_cast<std::uint64_t>(f.blockAlign);
      if (f.dataBytes == 0) return i18n("it holds no sound");
      return f;
    }
    if (body + size > head.size()) {
      return std::string(body + size > fileSize ? "the file ends inside its header"
                                                : "its header is too long");
    }
    if (id == "fmt ") {
      if (size < 16) return i18n("its format is cut short");
      std::uint16_t format = u16(head, body);
      const int channels = u16(head, body + 2);
      const std::uint32_t rate = u32(head, body + 4);
      const int blockAlign = u16(head, body + 12);
      const int bits = u16(head, body + 14);
      if (format == kExtensible) {
        if (size < 40) return i18n("its format is cut short");
        format = u16(head, body + 24);  // the sub-format's first two bytes
      }
      using S = WavFormat::Sample;
      if (format == kPcm && bits == 8) {
        f.sample = S::U8;
      } else if (format == kPcm && bits == 16) {
        f.sample = S::S16;
      } else if (format == kPcm && bits == 24) {
        f.sample = S::S24;
      } else if (format == kPcm && bits == 32) {
        f.sample = S::S32;
      } else if (format == kFloat && bits == 32) {
        f.sample = S::Float32;
      } else {
        return i18n("its sample format is not one that plays");
      }
      if (channels < 1 || channels > 8) return i18n("its channel count is not one that plays");
      if (rate < 1 || rate > 384000) return i18n("its sample rate is not one that plays");
      if (blockAlign != channels * (bits / 8)) return i18n("its frame size is wrong");
      f.channels = channels;
      f.rate = rate;
      f.blockAlign = blockAlign;
      haveFormat = true;
    }
    at = static_cast<std::size_t>(body + size + (size & 1));
    if (at > head.size()) return i18n("the file ends inside its header");
  }
}

}  // namespace tessaron::sound
