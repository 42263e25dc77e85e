#include "platform/qt/system_zone.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <optional>

#include "platform/tzdb/tzif.h"

namespace tessaron::qt {

namespace {

std::optional<std::string> currentTz() {
  const char* tz = std::getenv("TZ");
  return tz != nullptr ? std::optional<std::string>(tz) : std::nullopt;
}

// An ordinary file of a zone's size: the library would block on a pipe, and hold the whole
// of a file of many megabytes. Missing is safe too: the library then takes UTC.
bool safeToRead(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) != 0 || tzdb::isZoneSizedFile(path);
}

// UTC by the zone database's own file where that is safe to read (the zone list names it
// so), else by the rule alone, which the library reads from no file.
std::string utcTz() {
  const char* dir = std::getenv("TZDIR");
  return safeToRead(std::string(dir != nullptr && *dir != '\0' ? dir : "/usr/share/zoneinfo") +
                    "/UTC")
             ? "UTC"
             : "UTC0";
}

}  // namespace

bool SystemZoneFile::Signature::operator==(const Signature& o) const {
  return exists == o.exists && target == o.target && dev == o.dev && ino == o.ino &&
         mode == o.mode && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
         mtime.tv_nsec == o.mtime.tv_nsec;
}

SystemZoneFile::SystemZoneFile(std::string localtimePath) : path_(std::move(localtimePath)) {
  const std::optional<std::string> tz = currentTz();
  follows_ = !tz || *tz == path_ || *tz == ":" + path_;
  fileTz_ = tz && follows_ ? *tz : ":" + path_;
  read();
}

SystemZoneFile::Signature SystemZoneFile::signatureOf(const std::string& path) {
  Signature s;
  std::array<char, PATH_MAX> link{};
  const ssize_t n = ::readlink(path.c_str(), link.data(), link.size() - 1);
  if (n > 0) s.target.assign(link.data(), static_cast<std::size_t>(n));
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.dev = st.st_dev;
  s.ino = st.st_ino;
  s.mode = st.st_mode;
  s.size = st.st_size;
  s.mtime = st.st_mtim;
  return s;
}

bool SystemZoneFile::changed() const { return follows_ && !(signatureOf(path_) == seen_); }

void SystemZoneFile::read() {
  std::string tz;
  if (follows_) {
    seen_ = signatureOf(path_);
    fileInUse_ = safeToRead(path_);
    if (fileInUse_) {
      tz = fileTz_;
      // A link's zone stays readable should the link later lead to something unreadable.
      if (std::array<char, PATH_MAX> real{}; ::realpath(path_.c_str(), real.data()) != nullptr &&
                                             path_ != real.data() && safeToRead(real.data())) {
        lastGoodTz_ = std::string(":") + real.data();
      }
    } else {
      tz = !lastGoodTz_.empty() && safeToRead(lastGoodTz_.substr(1)) ? lastGoodTz_ : utcTz();
    }
  } else {
    const std::optional<std::string> user = currentTz();
    if (!user) {
      ::tzset();
      return;
    }
    tz = *user;
  }
  // The library keeps a zone file it has read while the file's inode and modification second
  // stay, and never reads a TZ again that has not changed: a zone that is no file in between
  // makes it read the file afresh.
  ::setenv("TZ", "UTC0", 1);
  ::tzset();
  ::setenv("TZ", tz.c_str(), 1);
  ::tzset();
}

}  // namespace tessaron::qt
