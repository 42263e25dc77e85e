#pragma once
// The system's zone as the C library reads it. The clock keeps TZ set, so that the library
// reads a zone file only when the clock asks (a tzset with the TZ it read last returns at
// once), and it never hands the library a zone file that is not an ordinary file: opening
// a pipe would block the clock for good.
//
// Example: with no TZ and /etc/localtime -> /usr/share/zoneinfo/Asia/Tokyo, TZ becomes
// ":/etc/localtime". Relinked to a pipe, read() sets TZ to ":/usr/share/zoneinfo/Asia/Tokyo"
// (the last zone file read) and the clock stays on Tokyo time; relinked to Asia/Kolkata,
// read() sets ":/etc/localtime" again, and the library reads Kolkata.

#include <sys/types.h>
#include <time.h>

#include <string>

namespace tessaron::qt {

class SystemZoneFile {
 public:
  // The clock follows `localtimePath` where TZ is unset or names that file; otherwise TZ is
  // the user's zone, and stays as it is. Sets TZ and has the library read it.
  explicit SystemZoneFile(std::string localtimePath);
  // Has the C library read the system's zone afresh: the zone file when it is an ordinary
  // file (or missing: the library takes UTC), else the last zone file read, else UTC.
  void read();
  // Whether the zone file's link, inode or modification time differ from the last read:
  // a readlink and two stats, nothing read, so that it can run every minute.
  bool changed() const;
  // Whether the zone file is in use (not stood in for by the last good zone or UTC).
  bool fileInUse() const { return fileInUse_; }

 private:
  struct Signature {
    bool exists = false;
    std::string target;  // where the link leads; empty for no link
    dev_t dev = 0;
    ino_t ino = 0;
    mode_t mode = 0;
    off_t size = 0;
    timespec mtime{};
    bool operator==(const Signature& o) const;
  };
  static Signature signatureOf(const std::string& path);

  std::string path_;
  bool follows_ = false;
  std::string fileTz_;      // the TZ that names the zone file
  std::string lastGoodTz_;  // the zone file last read, where it lies elsewhere; may be empty
  bool fileInUse_ = false;
  Signature seen_;  // the zone file at the last read
};

}  // namespace tessaron::qt
