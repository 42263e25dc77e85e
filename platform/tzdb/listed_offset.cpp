#include "platform/tzdb/listed_offset.h"

#include <algorithm>
#include <vector>

namespace tessaron::tzdb {

namespace {

struct Span {
  UtcTime start;
  UtcOffset offset;
  bool daylight = false;  // the file's own flag
};

// What the entry names through span i: see the header.
UtcOffset listedIn(const std::vector<Span>& spans, std::size_t i) {
  const Span& s = spans[i];
  if (s.daylight) {
    // The standard time it stands in for: the last one before it, else the next one.
    std::optional<UtcOffset> standard;
    for (std::size_t j = i; j-- > 0 && !standard;) {
      if (!spans[j].daylight) standard = spans[j].offset;
    }
    for (std::size_t j = i + 1; j < spans.size() && !standard; ++j) {
      if (!spans[j].daylight) standard = spans[j].offset;
    }
    return standard ? std::min(*standard, s.offset) : s.offset;
  }
  UtcOffset out = s.offset;
  if (i > 0 && spans[i - 1].daylight) out = std::min(out, spans[i - 1].offset);
  if (i + 1 < spans.size() && spans[i + 1].daylight) out = std::min(out, spans[i + 1].offset);
  return out;
}

}  // namespace

std::optional<ListedOffset> listedOffsetAt(ByteSource& file, UtcTime at) {
  const int year = yearOf(at);
  if (year - 1 < kMinYear || year + 1 > kMaxYear) return std::nullopt;
  // The year before and the year after give each span around `at` its neighbours.
  std::vector<Span> spans;
  for (int y = year - 1; y <= year + 1; ++y) {
    const std::optional<YearTimeline> timeline = readYearTimeline(file, y);
    if (!timeline) return std::nullopt;
    const auto add = [&](UtcTime start, const LocalTimeType& type) {
      if (!spans.empty() && spans.back().offset == type.utcOffset &&
          spans.back().daylight == type.isDaylight)
        return;
      spans.push_back({start, type.utcOffset, type.isDaylight});
    };
    add(timeline->begin, timeline->initial);
    for (const OffsetChange& c : timeline->changes) add(c.at, c.to);
  }
  std::size_t i = 0;
  while (i + 1 < spans.size() && spans[i + 1].start <= at) ++i;
  ListedOffset out{listedIn(spans, i), utcMidnight(year + 2, 1, 1)};
  for (std::size_t j = i + 1; j < spans.size(); ++j) {
    if (listedIn(spans, j) != out.offset) {
      out.until = spans[j].start;
      break;
    }
  }
  // The last span's neighbours lie beyond what was read: look again from there.
  if (out.until == utcMidnight(year + 2, 1, 1) && spans.size() > i + 1) {
    out.until = spans.back().start;
  }
  return out;
}

}  // namespace tessaron::tzdb
