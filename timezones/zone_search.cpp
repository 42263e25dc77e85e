#include "timezones/zone_search.h"

#include <cctype>

namespace tessaron {

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// A letter of any script is part of a word: a byte of a multi-byte UTF-8 letter is too.
bool inWord(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 || std::isalnum(byte);
}

bool startsWordAt(const std::string& text, std::size_t at) {
  return at == 0 || !inWord(text[at - 1]);
}

}  // namespace

std::vector<int> findZones(const std::vector<std::string>& entries, const std::string& typed) {
  std::vector<int> wordStarts, inside;
  if (typed.empty()) return wordStarts;
  std::string needle;
  for (char c : typed) needle += lower(c);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::string entry;
    for (char c : entries[i]) entry += lower(c);
    bool found = false, atWordStart = false;
    for (auto at = entry.find(needle); at != std::string::npos; at = entry.find(needle, at + 1)) {
      found = true;
      if (startsWordAt(entry, at)) {
        atWordStart = true;
        break;
      }
    }
    if (found) (atWordStart ? wordStarts : inside).push_back(static_cast<int>(i));
  }
  wordStarts.insert(wordStarts.end(), inside.begin(), inside.end());
  return wordStarts;
}

}  // namespace tessaron
