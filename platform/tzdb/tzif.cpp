#include "platform/tzdb/tzif.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/tzdb/posix_tz.h"

namespace tessaron::tzdb {

std::size_t MemorySource::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (out.empty() || offset >= bytes_.size()) return 0;
  const std::size_t n = std::min<std::uint64_t>(out.size(), bytes_.size() - offset);
  std::memcpy(out.data(), bytes_.data() + offset, n);
  return n;
}

bool isZoneSizedFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         static_cast<std::uint64_t>(st.st_size) <= kMaxZoneFileBytes;
}

FileSource::FileSource(const std::string& path) {
  // Non-blocking so that a pipe planted among the zone files cannot stall the reader.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st {};
  if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) ||
                   static_cast<std::uint64_t>(st.st_size) > kMaxZoneFileBytes)) {
    ::close(fd_);
    fd_ = -1;
  }
}

FileSource::~FileSource() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t FileSource::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  constexpr std::uint64_t kMaxOffset = std::uint64_t{1} << 40;
  if (fd_ < 0 || offset > kMaxOffset) return 0;
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n =
        ::pread(fd_, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

namespace {

constexpr std::size_t kHeaderSize = 44;
constexpr std::size_t kTypeRecordSize = 6;

// The counts as a header gives them; readHeader admits only those within the limits.
struct Header {
  std::uint8_t version = 0;         // 0 for version 1, else '2', '3', '4', ...
  std::uint32_t utIndicators = 0;   // 0 or `types`
  std::uint32_t stdIndicators = 0;  // 0 or `types`
  std::uint32_t leapSeconds = 0;    // [0:kMaxLeapSeconds]
  std::uint32_t transitions = 0;    // [0:kMaxTransitions]
  std::uint32_t types = 0;          // [1:kMaxTypes]
  std::uint32_t nameBytes = 0;      // [1:kMaxNameBytes]
};

// Where each part of a data block starts, in bytes from the start of the file.
struct Layout {
  std::uint64_t times = 0;
  std::uint64_t typeIndexes = 0;
  std::uint64_t typeRecords = 0;
  std::uint64_t names = 0;
  std::uint64_t end = 0;  // one past the block: the next header, or the footer
};

std::uint32_t be32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

std::int64_t be64(const std::uint8_t* p) {
  return static_cast<std::int64_t>(static_cast<std::uint64_t>(be32(p)) << 32 | be32(p + 4));
}

bool readExact(ByteSource& source, std::uint64_t offset, std::span<std::uint8_t> out) {
  return out.empty() || source.readAt(offset, out) == out.size();
}

// header = "TZif" version(1) unused(15) isutcnt isstdcnt leapcnt timecnt typecnt charcnt(4 each)
std::optional<Header> readHeader(ByteSource& source, std::uint64_t offset) {
  std::uint8_t b[kHeaderSize];
  if (!readExact(source, offset, b) || std::memcmp(b, "TZif", 4) != 0) return std::nullopt;
  Header h;
  h.version = b[4];
  h.utIndicators = be32(b + 20);
  h.stdIndicators = be32(b + 24);
  h.leapSeconds = be32(b + 28);
  h.transitions = be32(b + 32);
  h.types = be32(b + 36);
  h.nameBytes = be32(b + 40);
  const bool valid = (h.version == 0 || h.version >= '2') && h.transitions <= kMaxTransitions &&
                     h.types >= 1 && h.types <= kMaxTypes && h.nameBytes >= 1 &&
                     h.nameBytes <= kMaxNameBytes && h.leapSeconds <= kMaxLeapSeconds &&
                     (h.utIndicators == 0 || h.utIndicators == h.types) &&
                     (h.stdIndicators == 0 || h.stdIndicators == h.types);
  if (!valid) return std::nullopt;
  return h;
}

// Counts are bounded by readHeader, so none of these sums can overflow.
Layout layoutOf(const Header& h, std::uint64_t start, std::uint64_t timeSize) {
  Layout l;
  l.times = start;
  l.typeIndexes = l.times + std::uint64_t{h.transitions} * timeSize;
  l.typeRecords = l.typeIndexes + h.transitions;
  l.names = l.typeRecords + std::uint64_t{h.types} * kTypeRecordSize;
  l.end = l.names + h.nameBytes + std::uint64_t{h.leapSeconds} * (timeSize + 4) + h.stdIndicators +
          h.utIndicators;
  return l;
}

// footer = '\n' [POSIX TZ string] '\n'. An empty string says no rule; nothing when damaged.
std::optional<std::optional<PosixTz>> readFooter(ByteSource& source, std::uint64_t offset) {
  std::uint8_t b[kMaxFooterLength + 2];
  const std::size_t got = source.readAt(offset, b);
  if (got < 2 || b[0] != '\n') return std::nullopt;
  const auto* close = std::find(b + 1, b + got, std::uint8_t{'\n'});
  if (close == b + got) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(b + 1),
                              static_cast<std::size_t>(close - (b + 1)));
  if (text.empty()) return std::optional<PosixTz>{};
  auto tz = parsePosixTz(text);
  if (!tz) return std::nullopt;
  return std::optional<PosixTz>{std::move(*tz)};
}

// The footer rule's local time at any instant of `year`, from the changes of the years
// around it (a rule time may push a change up to a week into the neighbouring year).
class FooterClock {
 public:
  FooterClock(const PosixTz& tz, int year)
      : standard_{tz.stdOffset, false, tz.stdName}, daylight_{tz.dstOffset, true, tz.dstName} {
    if (!tz.hasDaylight) return;
    for (int y = year - 2; y <= year + 1; ++y) {
      const DaylightInstants d = daylightInstants(tz, y);
      events_.push_back({d.start, true});
      events_.push_back({d.end, false});
    }
    // At a tie the end goes first, so a rule that keeps daylight all year never leaves it.
    std::sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
      return a.at != b.at ? a.at < b.at : (!a.toDaylight && b.toDaylight);
    });
  }

  const LocalTimeType& at(UtcTime t) const {
    bool inDaylight = false;
    for (const Event& e : events_) {
      if (e.at > t) break;
      inDaylight = e.toDaylight;
    }
    return inDaylight ? daylight_ : standard_;
  }

  // Appends the rule's changes in (from, to); of several at one instant only the last counts.
  void changesBetween(UtcTime from, UtcTime to, std::vector<OffsetChange>& out) const {
    for (std::size_t i = 0; i < events_.size(); ++i) {
      const Event& e = events_[i];
      if (i + 1 < events_.size() && events_[i + 1].at == e.at) continue;
      if (e.at > from && e.at < to) out.push_back({e.at, e.toDaylight ? daylight_ : standard_});
    }
  }

 private:
  struct Event {
    UtcTime at;
    bool toDaylight;
  };
  LocalTimeType standard_;
  LocalTimeType daylight_;
  std::vector<Event> events_;
};

// Takes into the timeline the changes that change something.
void keepChanges(YearTimeline& timeline, std::vector<OffsetChange>& changes) {
  LocalTimeType current = timeline.initial;
  for (OffsetChange& c : changes) {
    if (c.to == current) continue;
    current = c.to;
    timeline.changes.push_back(std::move(c));
  }
}

}  // namespace

std::optional<YearTimeline> readYearTimeline(ByteSource& source, int year) {
  if (year < kMinYear || year > kMaxYear) return std::nullopt;

  // Version 1 data only when the file has nothing newer; otherwise skip to the 64-bit copy.
  const auto first = readHeader(source, 0);
  if (!first) return std::nullopt;
  Header header = *first;
  std::uint64_t timeSize = 4;
  Layout layout = layoutOf(header, kHeaderSize, timeSize);
  if (first->version != 0) {
    const auto second = readHeader(source, layout.end);
    if (!second || second->version == 0) return std::nullopt;
    header = *second;
    timeSize = 8;
    layout = layoutOf(header, layout.end + kHeaderSize, timeSize);
  }

  // The footer comes first: it sits at the very end, so reading it also shows the file whole.
  std::optional<PosixTz> footer;
  if (header.version != 0) {
    auto read = readFooter(source, layout.end);
    if (!read) return std::nullopt;
    footer = std::move(*read);
  } else {
    std::uint8_t last[1];
    if (!readExact(source, layout.end - 1, last)) return std::nullopt;
  }

  const std::uint32_t count = header.transitions;
  std::vector<std::uint8_t> raw(count * timeSize);
  if (!readExact(source, layout.times, raw)) return std::nullopt;
  std::vector<UtcTime> times(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* p = raw.data() + i * timeSize;
    times[i] =
        UtcTime{std::chrono::seconds(timeSize == 8 ? be64(p) : static_cast<std::int32_t>(be32(p)))};
    if (i > 0 && times[i] <= times[i - 1]) return std::nullopt;
  }

  YearTimeline timeline;
  timeline.year = year;
  timeline.begin = utcMidnight(year, 1, 1);
  timeline.end = utcMidnight(year + 1, 1, 1);

  // The year needs the entry in force at its start and those inside it; the last entry also
  // stands for all later times when there is no footer rule.
  const auto upper = std::upper_bound(times.begin(), times.end(), timeline.begin);
  const std::uint32_t from =
      upper == times.begin() ? 0 : static_cast<std::uint32_t>(upper - times.begin() - 1);
  const std::uint64_t indexBytes = count - from;
  std::vector<std::uint8_t> rest(indexBytes + header.types * kTypeRecordSize + header.nameBytes);
  if (!readExact(source, layout.typeIndexes + from, rest)) return std::nullopt;
  const std::uint8_t* indexes = rest.data();
  const std::uint8_t* records = indexes + indexBytes;
  const char* names = reinterpret_cast<const char*>(records + header.types * kTypeRecordSize);

  std::vector<LocalTimeType> types(header.types);
  for (std::uint32_t i = 0; i < header.types; ++i) {
    const std::uint8_t* r = records + i * kTypeRecordSize;
    const auto offset = static_cast<std::int32_t>(be32(r));
    const std::uint8_t isDst = r[4];
    const std::uint8_t nameAt = r[5];
    if (offset < -kMaxUtcOffset || offset > kMaxUtcOffset || isDst > 1 ||
        nameAt >= header.nameBytes) {
      return std::nullopt;
    }
    const char* nameEnd =
        static_cast<const char*>(std::memchr(names + nameAt, '\0', header.nameBytes - nameAt));
    if (nameEnd == nullptr) return std::nullopt;
    types[i] = {UtcOffset{offset}, isDst == 1, std::string(names + nameAt, nameEnd)};
  }
  for (std::uint64_t i = 0; i < indexBytes; ++i) {
    if (indexes[i] >= header.types) return std::nullopt;
  }
  const auto typeAfter = [&](std::uint32_t i) -> const LocalTimeType& {
    return types[indexes[i - from]];
  };

  // Before the first stored change the first type holds; from the last one on, the footer
  // rule when there is one.
  const bool footerRules = footer.has_value() && (count == 0 || timeline.end > times.back());
  const UtcTime footerFrom = count == 0 ? timeline.begin : std::max(timeline.begin, times.back());
  std::optional<FooterClock> clock;
  if (footerRules) clock.emplace(*footer, year);

  if (footerRules && timeline.begin >= footerFrom) {
    timeline.initial = clock->at(timeline.begin);
  } else if (upper == times.begin()) {
    timeline.initial = types[0];
  } else {
    timeline.initial = typeAfter(from);
  }
  std::vector<OffsetChange> changes;
  for (std::uint32_t i = static_cast<std::uint32_t>(upper - times.begin()); i < count; ++i) {
    if (times[i] >= timeline.end || (footerRules && times[i] >= footerFrom)) break;
    changes.push_back({times[i], typeAfter(i)});
  }
  if (footerRules) {
    if (footerFrom > timeline.begin) changes.push_back({footerFrom, clock->at(footerFrom)});
    clock->changesBetween(footerFrom, timeline.end, changes);
  }

  keepChanges(timeline, changes);
  return timeline;
}

YearTimeline posixYearTimeline(const PosixTz& tz, int year) {
  YearTimeline timeline;
  timeline.year = year;
  timeline.begin = utcMidnight(year, 1, 1);
  timeline.end = utcMidnight(year + 1, 1, 1);
  const FooterClock clock(tz, year);
  timeline.initial = clock.at(timeline.begin);
  std::vector<OffsetChange> changes;
  clock.changesBetween(timeline.begin, timeline.end, changes);
  keepChanges(timeline, changes);
  return timeline;
}

bool sameOffsets(const YearTimeline& a, const YearTimeline& b) {
  const auto offsets = [](const YearTimeline& t) {
    std::vector<std::pair<UtcTime, UtcOffset>> out{{t.begin, t.initial.utcOffset}};
    for (const OffsetChange& c : t.changes) {
      if (c.to.utcOffset != out.back().second) out.emplace_back(c.at, c.to.utcOffset);
    }
    return out;
  };
  return a.begin == b.begin && a.end == b.end && offsets(a) == offsets(b);
}

}  // namespace tessaron::tzdb
