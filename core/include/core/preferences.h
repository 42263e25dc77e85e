#pragma once
// "Tessa.sav": the user's choices in one line of eleven comma-separated fields,
// ended by CR LF. Example, with the default colours, every option off, the window
// at top 1200 and left 3000 twips:
//   255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,"smallworld.wav",#FALSE#

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tessaron {

// The clock's size on screen, in a file of its own beside this one, in the same folder.
constexpr const char* kPreferencesFileName = "Tessa.sav";
constexpr const char* kViewSettingsFileName = "Tessa.view";

// The file is one short line; anything longer is damaged and is not read whole.
constexpr std::size_t kMaxPreferencesBytes = 64 * 1024;

struct SavedPreferences {
  Colour OnColor = 255;
  Colour OffColor = 0;
  Colour HintColor = 16777215;
  bool Numbers = false;
  bool Seconds = false;
  bool Music = false;
  bool Always = false;
  float Top = 0;    // twips, kept with its fraction
  double Left = 0;  // twips; read back rounded to a 32-bit integer, halves to even
  std::string MusicFile;
  bool Vertical = false;
};

// line   = number "," number "," number "," flag "," flag "," flag "," flag ","
//          number "," number "," text "," flag [CR] [LF]
// number = ["-"] (digits ["." digits] | "." digits) [("E"|"e") ["+"|"-"] digits]
// flag   = "#TRUE#" | "#FALSE#"
// text   = '"' { any byte but '"' } '"'
// Spaces around a field are allowed. Colours must be 32-bit signed integers (a fraction
// rounds, halves to even), the top a single-precision value, the left a value that
// rounds into 32 bits as a single-precision value. Anything else gives nothing.
std::optional<SavedPreferences> parsePreferences(std::string_view text);

// The line as written, CR LF included; parsePreferences reads it back exactly
// (Top and Left as single-precision values).
std::string formatPreferences(const SavedPreferences& preferences);

}  // namespace tessaron
