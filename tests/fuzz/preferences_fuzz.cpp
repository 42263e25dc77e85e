// libFuzzer target for the "Tessa.sav" reader: whatever the bytes, a read gives the eleven
// values or nothing; and whatever it accepts, the clock writes back in a line that reads
// back to the same values (Top and Left as the single-precision values the line holds).
//
// Example: tests/fuzz/run.sh 60 preferences_fuzz

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/preferences.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tessaron::SavedPreferences;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto read = tessaron::parsePreferences(text);
  if (!read) return 0;
  const std::string line = tessaron::formatPreferences(*read);
  const auto again = tessaron::parsePreferences(line);
  require(again.has_value());
  const SavedPreferences& expected = *read;
  require(again->OnColor == expected.OnColor && again->OffColor == expected.OffColor &&
          again->HintColor == expected.HintColor);
  require(again->Numbers == expected.Numbers && again->Seconds == expected.Seconds &&
          again->Music == expected.Music && again->Always == expected.Always &&
          again->Vertical == expected.Vertical);
  // The line holds single-precision values: the first read's, exactly.
  require(again->Top == expected.Top &&
          static_cast<float>(again->Left) == static_cast<float>(expected.Left));
  require(again->MusicFile == expected.MusicFile);
  require(tessaron::formatPreferences(*again) == line);
  return 0;
}
