// The translation layer without a catalog: texts stay the English ones byte for byte, and
// numbered placeholders are filled in whatever order a translation puts them.

#include "i18n/i18n.h"

#include <gtest/gtest.h>

namespace tessaron::i18n_test {
namespace {

TEST(Substitute, FillsNumberedPlaceholdersInAnyOrder) {
  struct Case {
    const char* name;
    const char* format;
    std::initializer_list<std::string_view> args;
    const char* expected;
  };
  const Case cases[] = {
      {"in order",
       "%1 was not found in %2.",
       {"rain.wav", "/home/u"},
       "rain.wav was not found in /home/u."},
      {"reordered", "In %2 fehlt %1.", {"rain.wav", "/home/u"}, "In /home/u fehlt rain.wav."},
      {"repeated", "%1, %1", {"a"}, "a, a"},
      {"percent sign", "Zoom %1%%", {"150"}, "Zoom 150%"},
      {"bare percent at the end", "缩放 %1%", {"150"}, "缩放 150%"},
      {"placeholder without an argument left as written", "%1 %2", {"x"}, "x %2"},
      {"an argument is not read again", "%1 %2", {"%2", "y"}, "%2 y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(substitute(c.format, c.args), c.expected);
  }
}

TEST(Translate, WithoutACatalogEveryTextIsTheEnglishOne) {
  EXPECT_STREQ(translate("Music on"), "Music on");
  EXPECT_STREQ(translate("Options menu", "&Music"), "&Music");
  EXPECT_EQ(i18n("Zoom %1 percent", 150), "Zoom 150 percent");
  EXPECT_EQ(i18nc("Options menu, music playing", "&Music (%1)", std::string("rain.wav")),
            "&Music (rain.wav)");
  EXPECT_EQ(localDigits("2026-12-10"), "2026-12-10");
  EXPECT_EQ(catalogLanguage(), "");
  EXPECT_STREQ(translate(""), "");
}

}  // namespace
}  // namespace tessaron::i18n_test
