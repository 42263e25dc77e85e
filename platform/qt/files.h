#pragma once
// The clock's own files on a POSIX file system: bounded reads that never block on what
// is not an ordinary file, and saves that replace a file whole or leave it untouched.
//
// Example: readSmallFile("Tessa.sav", 65536) on a 1 GB sparse file gives
// {Failed, "", "it is larger than 65536 bytes"} without reading it; replaceFile on a full
// disk gives "No space left on device" and the old file keeps every byte.

#include <cstddef>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace tessaron::qt {

FileRead readSmallFile(const std::string& path, std::size_t maxBytes);

// A temporary file beside `path` (beside the file its links lead to, so the links stay),
// written, flushed to the disk and checked at every step, then renamed over it with the
// old file's mode; missing folders on the way are made first. A file the user made
// read-only or unreadable, and anything but an ordinary file, is not replaced. Temporary
// files of saves that were killed are removed. Nothing on success, otherwise the reason,
// for the user.
std::optional<std::string> replaceFile(const std::string& path, const std::string& contents);

}  // namespace tessaron::qt
