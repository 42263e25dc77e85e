#pragma once
// A zone file of the tz database (TZif, versions 1 to 4) read for one year: the local
// time in effect when the year begins and every change during it.
//
// Example: America/New_York read for 2026 starts in EST (UTC-5, standard) and changes to
// EDT (UTC-4, daylight) at 2026-03-08 07:00 UTC and back to EST at 2026-11-01 06:00 UTC;
// the first change comes from the stored table or, after the table's last entry, from the
// footer rule "EST5EDT,M3.2.0,M11.1.0".
//
// Only the parts the year needs are read: the headers, the table of change instants, the
// few type indexes around the year, the type records and their names, and the footer.
// Every count and offset is checked against the limits below before it is used; a file
// that breaks them, is cut short or contradicts itself gives nothing.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/tzdb/unix_time.h"

namespace tessaron::tzdb {

constexpr std::uint32_t kMaxTransitions = 4096;  // the tz reference reader allows 2000
constexpr std::uint32_t kMaxTypes = 256;         // a type index is one byte
constexpr std::uint32_t kMaxNameBytes = 1024;    // all abbreviations of a file together
constexpr std::uint32_t kMaxLeapSeconds = 1024;
constexpr std::size_t kMaxFooterLength = 256;      // between the footer's two newlines
constexpr std::int32_t kMaxUtcOffset = 26 * 3600;  // seconds, either side of UTC
// A zone file is a few kilobytes (the largest of the database under 4 KiB); a larger one,
// whatever its head says, is not a zone, and is neither read nor handed to the C library,
// which would hold all of it.
constexpr std::size_t kMaxZoneFileBytes = 64 << 10;

// Whether `path` (its links followed) is an ordinary file of at most kMaxZoneFileBytes:
// what may be read as a zone without blocking on a pipe or a device, or filling memory.
bool isZoneSizedFile(const std::string& path);

// Random access to a zone file's bytes.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to out.size() bytes from `offset`; how many it copied (fewer at the end).
  virtual std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// A file opened read-only; each read is one pread. Anything but a zone-sized file (see
// isZoneSizedFile) stays unopened.
class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  bool isOpen() const { return fd_ >= 0; }
  std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  int fd_ = -1;
};

struct LocalTimeType {
  UtcOffset utcOffset;       // [-26 h:26 h]
  bool isDaylight = false;   // the file's own flag; negative daylight saving sets it in winter
  std::string abbreviation;  // e.g. "EDT", "+0530"
  bool operator==(const LocalTimeType&) const = default;
};

struct OffsetChange {
  UtcTime at;
  LocalTimeType to;
};

// A zone's local time through one calendar year, taken in UTC.
struct YearTimeline {
  int year = 0;                       // [1:9999]
  UtcTime begin;                      // 1 January 00:00 UTC
  UtcTime end;                        // the next 1 January 00:00 UTC
  LocalTimeType initial;              // in effect at `begin`
  std::vector<OffsetChange> changes;  // begin < at < end, ascending; each changes something
};

// Nothing when the file is not a TZif file, is damaged or cut short, or the year lies
// outside [1:9999].
std::optional<YearTimeline> readYearTimeline(ByteSource& source, int year);

struct PosixTz;
// One year [1:9999] of a zone that a POSIX TZ string alone describes, e.g. TZ="EST5EDT".
YearTimeline posixYearTimeline(const PosixTz& tz, int year);

// Whether two timelines of one year give every instant the same offset (names and flags
// aside).
bool sameOffsets(const YearTimeline& a, const YearTimeline& b);

}  // namespace tessaron::tzdb
