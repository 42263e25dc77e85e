// The .WAV header reader: the program's own sounds play; every cut and every lie is
// refused with a reason, never read past.

#include "platform/qt/sound_helper/wav.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <variant>

namespace tessaron::sound::wav_test {
namespace {

std::string le16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
std::string le32(std::uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

// A well-formed file: `format` fields, then `frames` frames of silence.
std::string wav(int format, int channels, std::uint32_t rate, int bits, std::uint32_t dataBytes,
                const std::string& extra = "") {
  const int block = channels * bits / 8;
  std::string fmt =
      le16(format) + le16(channels) + le32(rate) + le32(rate * block) + le16(block) + le16(bits);
  std::string body = "WAVE" + extra + "fmt " + le32(static_cast<std::uint32_t>(fmt.size())) + fmt +
                     "data" + le32(dataBytes) + std::string(dataBytes, '\0');
  return "RIFF" + le32(static_cast<std::uint32_t>(body.size())) + body;
}

std::variant<WavFormat, std::string> parse(const std::string& file) {
  return parseWavHeader(std::string_view(file).substr(0, kMaxWavHeaderBytes), file.size());
}

TEST(WavHeader, TheProgramsOwnSoundsPlay) {
  for (const char* name : {"smallworld.wav", "ding.wav"}) {
    SCOPED_TRACE(name);
    std::ifstream in(std::string(TESSARON_DATA_DIR) + "/" + name, std::ios::binary);
    const std::string file(std::istreambuf_iterator<char>(in), {});
    const auto r = parse(file);
    ASSERT_TRUE(std::holds_alternative<WavFormat>(r)) << std::get<std::string>(r);
    const WavFormat& f = std::get<WavFormat>(r);
    EXPECT_EQ(f.sample, WavFormat::Sample::S16);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.rate, 22050u);
    EXPECT_EQ(f.dataOffset + f.dataBytes, file.size());
  }
}

TEST(WavHeader, EveryCutIsRefused) {
  const std::string file = wav(1, 2, 44100, 16, 400);
  ASSERT_TRUE(std::holds_alternative<WavFormat>(parse(file)));
  for (std::size_t n = 0; n < file.size(); ++n) {
    SCOPED_TRACE(n);
    EXPECT_TRUE(std::holds_alternative<std::string>(parse(file.substr(0, n))));
  }
}

TEST(WavHeader, FormatsThatPlayAndLiesThatDoNot) {
  struct Case {
    const char* name;
    std::string file;
    const char* reason;  // nothing: it plays
  };
  const std::string good = wav(1, 2, 44100, 16, 400);
  std::string longer = good;
  longer.replace(40, 4, le32(401 + 4));  // the data claims more than the file holds
  std::string dataFirst = "RIFF" + le32(100) + "WAVE" + "data" + le32(4) + "abcd";
  const Case cases[] = {
      {"8-bit mono", wav(1, 1, 8000, 8, 10), nullptr},
      {"24-bit stereo", wav(1, 2, 48000, 24, 60), nullptr},
      {"32-bit float", wav(3, 1, 48000, 32, 40), nullptr},
      {"a chunk before the format",
       wav(1, 1, 8000, 16, 10, "LIST" + le32(3) + std::string("abc\0", 4)), nullptr},
      {"ADPCM", wav(2, 1, 8000, 4, 10), "its sample format is not one that plays"},
      {"no channels", wav(1, 0, 8000, 16, 10), "its channel count is not one that plays"},
      {"nine channels", wav(1, 9, 8000, 16, 18), "its channel count is not one that plays"},
      {"rate 0", wav(1, 1, 0, 16, 10), "its sample rate is not one that plays"},
      {"no sound", wav(1, 1, 8000, 16, 0), "it holds no sound"},
      {"less than one frame", wav(1, 2, 8000, 16, 3), "it holds no sound"},
      {"data longer than the file", longer, "the file ends before its sound does"},
      {"sound before format", dataFirst, "its sound comes before its format"},
      {"not RIFF", "RIFX" + good.substr(4), "it is not a .WAV file"},
      {"empty", "", "it is not a .WAV file"},
      {"a header past the limit",
       wav(1, 1, 8000, 16, 10,
           "JUNK" + le32(kMaxWavHeaderBytes) + std::string(kMaxWavHeaderBytes, 'j')),
       "its header is too long"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto r = parse(c.file);
    if (c.reason == nullptr) {
      ASSERT_TRUE(std::holds_alternative<WavFormat>(r)) << std::get<std::string>(r);
      const WavFormat& f = std::get<WavFormat>(r);
      EXPECT_LE(f.dataOffset + f.dataBytes, c.file.size());
      EXPECT_EQ(f.dataBytes % static_cast<unsigned>(f.blockAlign), 0u);
    } else {
      ASSERT_TRUE(std::holds_alternative<std::string>(r));
      EXPECT_EQ(std::get<std::string>(r), c.reason);
    }
  }
}

}  // namespace
}  // namespace tessaron::sound::wav_test
