#pragma once
// Texts a user meets, in the user's language, through GNU gettext (the C library's own, so
// the rule folders reach it without Qt); one text domain for the whole program. A text is
// written in English where it is used, and marked there for extraction:
//
//   i18n("Music on")                  "Musik an" under LANGUAGE=de
//   i18n("Zoom %1 percent", 150)      "Zoom 150 Prozent": numbered placeholders, which a
//                                     translation may put in any order
//   i18nc("Options menu", "&Music")   the same English told apart by a context
//   I18N_NOOP("Display seconds")      stored in English in a table, translated where shown
//                                     by translate()
//
// Under the C locale, or with no catalog for the user's language, every text is the
// English one, byte for byte.

#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

// Marks a text for extraction and leaves it as it is.
#define I18N_NOOP(text) text
#define I18NC_NOOP(context, text) text

namespace tessaron {

inline constexpr const char* kTextDomain = "tessaron";

// The user's form of an English text marked elsewhere; the English text itself when no
// catalog has it. Empty stays empty (gettext would give the catalog's header).
const char* translate(const char* english);
const char* translate(const char* context, const char* english);

// `format` with %1 … %9 replaced by the arguments, in any order and as often as written;
// "%%" is a percent sign.
std::string substitute(std::string_view format, std::initializer_list<std::string_view> args);

namespace i18n_detail {
inline std::string_view asText(std::string_view s) { return s; }
inline std::string_view asText(const std::string& s) { return s; }
inline std::string_view asText(const char* s) { return s; }
template <typename N>
requires std::is_integral_v<N> std::string asText(N n) { return std::to_string(n); }
}  // namespace i18n_detail

inline std::string i18n(const char* english) { return translate(english); }

template <typename... Args>
std::string i18n(const char* english, const Args&... args) {
  return substitute(translate(english), {std::string_view(i18n_detail::asText(args))...});
}

inline std::string i18nc(const char* context, const char* english) {
  return translate(context, english);
}

template <typename... Args>
std::string i18nc(const char* context, const char* english, const Args&... args) {
  return substitute(translate(context, english), {std::string_view(i18n_detail::asText(args))...});
}

// `text` with its digits 0-9 written as the user's language writes them, which its
// translators give (Arabic: "٠١٢٣٤٥٦٧٨٩"); unchanged in English.
std::string localDigits(std::string_view text);

// The language of the catalog the texts come from ("de", "pt_BR"), as its translators
// named it; empty while the texts are the English ones.
std::string catalogLanguage();

// Where the catalogs are (a folder of <language>/LC_MESSAGES/tessaron.mo), chosen once at
// start; texts are read as UTF-8 whatever the locale's own character set.
void bindCatalogs(const std::string& localeFolder);

// Takes the user's locale and binds the running program's catalogs: the "locale" folder
// beside it in a build folder or a portable copy, else `installedFromProgram` (relative to
// the program's folder, e.g. "../share/locale") in an installed tree. Returns the folder.
std::string startTranslations(const char* installedFromProgram);

}  // namespace tessaron
