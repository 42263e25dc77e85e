#pragma once
// Finding a zone in the selector by typing: any part of an entry matches, letter case
// aside; entries where the typed text starts a word come first, then the rest, each
// group in list order.
//
// Example: in {"(UTC+05:00) Antarctica/Vostok", "(UTC+09:00) Asia/Tokyo"}, "tok" gives
// {1, 0}: it starts the word "Tokyo" and only sits inside "Vostok".

#include <string>
#include <vector>

namespace tessaron {

// Positions in `entries` of those that hold `typed`; nothing for an empty text.
std::vector<int> findZones(const std::vector<std::string>& entries, const std::string& typed);

}  // namespace tessaron
