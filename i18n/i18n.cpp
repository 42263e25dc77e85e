#include "i18n/i18n.h"

#include <libintl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>

namespace tessaron {

const char* translate(const char* english) {
  if (english == nullptr || *english == '\0') return english;
  return ::dgettext(kTextDomain, english);
}

const char* translate(const char* context, const char* english) {
  if (english == nullptr || *english == '\0') return english;
  // gettext's own key for a text with a context: the context, EOT, the text.
  const std::string key = std::string(context) + '\004' + english;
  const char* found = ::dgettext(kTextDomain, key.c_str());
  return found == key.c_str() ? english : found;
}

std::string substitute(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(format.size() + 16);
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c == '%' && i + 1 < format.size()) {
      const char next = format[i + 1];
      if (next == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (next >= '1' && next <= '9') {
        const auto index = static_cast<std::size_t>(next - '1');
        if (index < args.size()) {
          out.append(*(args.begin() + index));
          ++i;
          continue;
        }
      }
    }
    out += c;
  }
  return out;
}

std::string localDigits(std::string_view text) {
  // TRANSLATORS: the ten digits from zero to nine as your language writes numbers in
  // dates and version numbers; leave them as they are where those are 0-9.
  const std::string digits = i18nc("digits", "0123456789");
  // Ten UTF-8 sequences, one a digit; anything else is ignored as a mistake.
  std::string_view glyphs[10];
  std::size_t at = 0;
  for (auto& glyph : glyphs) {
    if (at >= digits.size()) return std::string(text);
    std::size_t length = 1;
    const auto lead = static_cast<unsigned char>(digits[at]);
    if (lead >= 0xF0) {
      length = 4;
    } else if (lead >= 0xE0) {
      length = 3;
    } else if (lead >= 0xC0) {
      length = 2;
    }
    glyph = std::string_view(digits).substr(at, length);
    at += length;
  }
  if (at != digits.size()) return std::string(text);
  std::string out;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      out.append(glyphs[c - '0']);
    } else {
      out += c;
    }
  }
  return out;
}

std::string catalogLanguage() {
  // The catalog's header is its translation of the empty text.
  static const char kHeaderKey[] = "";
  const std::string header = ::dgettext(kTextDomain, kHeaderKey);
  constexpr std::string_view kField = "Language: ";
  std::size_t at = header.find(kField);
  if (at == std::string::npos || (at != 0 && header[at - 1] != '\n')) return "";
  at += kField.size();
  const std::size_t end = header.find('\n', at);
  std::string language = header.substr(at, end == std::string::npos ? end : end - at);
  // Only what can name a folder: letters, digits, "_" and "@".
  for (char c : language) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == '@';
    if (!plain) return "";
  }
  return language;
}

void bindCatalogs(const std::string& localeFolder) {
  ::bindtextdomain(kTextDomain, localeFolder.c_str());
  ::bind_textdomain_codeset(kTextDomain, "UTF-8");
}

std::string startTranslations(const char* installedFromProgram) {
  std::setlocale(LC_ALL, "");
  std::string program(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", program.data(), program.size() - 1);
  program.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  const std::string folder = program.substr(0, program.rfind('/') + 1);
  std::string catalogs = folder + "locale";
  struct stat st {};
  if (::stat(catalogs.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    catalogs = folder + installedFromProgram;
  }
  bindCatalogs(catalogs);
  return catalogs;
}

}  // namespace tessaron
