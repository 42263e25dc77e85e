#include "platform/tzdb/posix_tz.h"

namespace tessaron::tzdb {

namespace {

constexpr std::size_t kMaxNameLength = 32;  // longer names are not a zone's abbreviation
constexpr int kMaxOffsetHours = 24;
constexpr int kMaxRuleHours = 167;

class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }
  bool eat(char c) {
    if (peek() != c || atEnd()) return false;
    ++pos_;
    return true;
  }

  // 1 to maxDigits decimal digits, at most `limit`.
  std::optional<int> number(int maxDigits, int limit) {
    int value = 0;
    int digits = 0;
    while (!atEnd() && digits < maxDigits && peek() >= '0' && peek() <= '9') {
      value = value * 10 + (peek() - '0');
      ++digits;
      ++pos_;
    }
    if (digits == 0 || value > limit) return std::nullopt;
    return value;
  }

  // name = alpha{3,} | '<' [A-Za-z0-9+-]{3,} '>'
  std::optional<std::string> name() {
    const auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    std::string out;
    if (eat('<')) {
      while (!atEnd() && peek() != '>') {
        const char c = peek();
        if (!alpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-') return std::nullopt;
        out.push_back(c);
        ++pos_;
        if (out.size() > kMaxNameLength) return std::nullopt;
      }
      if (!eat('>')) return std::nullopt;
    } else {
      while (!atEnd() && alpha(peek()) && out.size() <= kMaxNameLength) {
        out.push_back(peek());
        ++pos_;
      }
      if (out.size() > kMaxNameLength) return std::nullopt;
    }
    if (out.size() < 3) return std::nullopt;
    return out;
  }

  // offset or time = [+-] h{1,hourDigits} [':' m{1,2} [':' s{1,2}]], in signed seconds
  std::optional<std::int32_t> clock(int hourDigits, int maxHours) {
    int sign = 1;
    if (eat('-')) {
      sign = -1;
    } else {
      eat('+');
    }
    const auto hours = number(hourDigits, maxHours);
    if (!hours) return std::nullopt;
    int minutes = 0;
    int seconds = 0;
    if (eat(':')) {
      const auto m = number(2, 59);
      if (!m) return std::nullopt;
      minutes = *m;
      if (eat(':')) {
        const auto s = number(2, 59);
        if (!s) return std::nullopt;
        seconds = *s;
      }
    }
    return sign * (*hours * 3600 + minutes * 60 + seconds);
  }

  // date ['/' time], date = 'J' n | n | 'M' m '.' w '.' d
  std::optional<PosixDate> date() {
    PosixDate d;
    if (eat('J')) {
      const auto n = number(3, 365);
      if (!n || *n < 1) return std::nullopt;
      d.kind = PosixDate::Kind::Julian;
      d.day = *n;
    } else if (eat('M')) {
      const auto m = number(2, 12);
      if (!m || *m < 1 || !eat('.')) return std::nullopt;
      const auto w = number(1, 5);
      if (!w || *w < 1 || !eat('.')) return std::nullopt;
      const auto wd = number(1, 6);
      if (!wd) return std::nullopt;
      d.kind = PosixDate::Kind::MonthWeekDay;
      d.month = *m;
      d.week = *w;
      d.weekday = *wd;
    } else {
      const auto n = number(3, 365);
      if (!n) return std::nullopt;
      d.kind = PosixDate::Kind::ZeroBased;
      d.day = *n;
    }
    if (eat('/')) {
      const auto t = clock(3, kMaxRuleHours);
      if (!t) return std::nullopt;
      d.time = *t;
    }
    return d;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Local midnight of the rule's day in `year`.
ZoneTime dayStart(const PosixDate& d, int year) {
  switch (d.kind) {
    case PosixDate::Kind::Julian: {
      const int leapDay = isLeapYear(year) && d.day >= 60 ? 1 : 0;
      return ZoneTime{localDate(year, 1, d.day + leapDay)};
    }
    case PosixDate::Kind::ZeroBased:
      return ZoneTime{localDate(year, 1, 1 + d.day)};
    case PosixDate::Kind::MonthWeekDay:
      break;
  }
  const int first =
      static_cast<int>(std::chrono::weekday{localDate(year, d.month, 1)}.c_encoding());
  int day = 1 + (d.weekday - first + 7) % 7 + (d.week - 1) * 7;
  while (day > monthDays(year, d.month)) day -= 7;
  return ZoneTime{localDate(year, d.month, day)};
}

ZoneTime plusSeconds(ZoneTime t, std::int64_t seconds) { return t + std::chrono::seconds(seconds); }

}  // namespace

std::optional<PosixTz> parsePosixTz(std::string_view text) {
  Cursor in(text);
  PosixTz tz;
  const auto stdName = in.name();
  if (!stdName) return std::nullopt;
  const auto stdWest = in.clock(2, kMaxOffsetHours);
  if (!stdWest) return std::nullopt;
  tz.stdName = *stdName;
  tz.stdOffset = UtcOffset{-*stdWest};
  if (in.atEnd()) return tz;

  const auto dstName = in.name();
  if (!dstName) return std::nullopt;
  tz.hasDaylight = true;
  tz.dstName = *dstName;
  tz.dstOffset = tz.stdOffset + std::chrono::hours(1);
  if (!in.atEnd() && in.peek() != ',') {
    const auto dstWest = in.clock(2, kMaxOffsetHours);
    if (!dstWest) return std::nullopt;
    tz.dstOffset = UtcOffset{-*dstWest};
  }
  if (in.atEnd()) {
    // No rule: the POSIX default the C libraries use, the United States' rule.
    tz.start = {PosixDate::Kind::MonthWeekDay, 0, 3, 2, 0, 7200};
    tz.end = {PosixDate::Kind::MonthWeekDay, 0, 11, 1, 0, 7200};
    return tz;
  }
  if (!in.eat(',')) return std::nullopt;
  const auto start = in.date();
  if (!start || !in.eat(',')) return std::nullopt;
  const auto end = in.date();
  if (!end || !in.atEnd()) return std::nullopt;
  tz.start = *start;
  tz.end = *end;
  return tz;
}

DaylightInstants daylightInstants(const PosixTz& tz, int year) {
  return {instantOfWall(plusSeconds(dayStart(tz.start, year), tz.start.time), tz.stdOffset),
          instantOfWall(plusSeconds(dayStart(tz.end, year), tz.end.time), tz.dstOffset)};
}

}  // namespace tessaron::tzdb
