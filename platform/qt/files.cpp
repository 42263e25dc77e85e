#include "platform/qt/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

namespace tessaron::qt {

namespace {

std::string systemError(int error) { return std::strerror(error); }

FileRead failed(std::string reason) { return {FileRead::Status::Failed, "", std::move(reason)}; }

std::string tooLarge(std::size_t maxBytes) {
  return "it is larger than " + std::to_string(maxBytes) + " bytes";
}

// What is wrong with a thing that is not an ordinary file, or nothing.
std::optional<std::string> notOrdinary(const struct stat& st) {
  if (S_ISREG(st.st_mode)) return std::nullopt;
  if (S_ISDIR(st.st_mode)) return "it is a folder";
  return "it is not an ordinary file";
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now, so that a failure to close is seen; the error number, or 0.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

// Makes `folder` and any missing parents; the error number, or 0.
int makeFolders(const std::string& folder) {
  for (std::size_t at = 1; at <= folder.size(); ++at) {
    if (at < folder.size() && folder[at] != '/') continue;
    const std::string part = folder.substr(0, at);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return errno;
  }
  return 0;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a save of `path` must go: the file its links lead to, relative ones read from
// their own folder, so that a link (into a dotfiles folder, say) stays a link.
std::optional<std::string> followLinks(std::string path, std::string& error) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) {
      error = systemError(errno);
      return std::nullopt;
    }
    target.resize(static_cast<std::size_t>(n));
    path = target.front() == '/' ? target : folderOf(path) + "/" + target;
  }
  error = systemError(ELOOP);
  return std::nullopt;
}

// Why a file the user has must not be replaced, or nothing. The superuser could write
// anything, so for it the file's own permission bits decide, as a careful editor's do.
std::optional<std::string> mustKeep(const std::string& path, const struct stat& st) {
  if (auto why = notOrdinary(st)) return why;
  const bool root = ::geteuid() == 0;
  if (root ? (st.st_mode & 0444) == 0 : ::access(path.c_str(), R_OK) != 0) {
    return "it cannot be read, so it is left as it is";
  }
  if (root ? (st.st_mode & 0222) == 0 : ::access(path.c_str(), W_OK) != 0) {
    return "it is read-only";
  }
  return std::nullopt;
}

// A save holds a lock on its temporary file until the rename; one left by a save that
// was killed holds none any more, and goes.
void removeLeftTemporaries(const std::string& folder, const std::string& name) {
  const std::string prefix = "." + name + ".";
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string found = entry->d_name;
    if (found.size() != prefix.size() + 6 || found.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    const std::string path = folder + "/" + found;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::geteuid()) {
      continue;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) ::unlink(path.c_str());
  }
  ::closedir(dir);
}

// A new temporary file beside the one to save, created and locked (`fd`), its name in
// `temporary`; the error number, or 0. Another clock's sweep may take a new file in the
// instant before it is locked; the file is then gone or not ours to lock, and another
// name is tried.
int makeLockedTemporary(const std::string& folder, const std::string& name, std::string& temporary,
                        Descriptor& fd) {
  constexpr int kTries = 16;
  for (int attempt = 0; attempt < kTries; ++attempt) {
    temporary = folder + "/." + name + ".XXXXXX";
    Descriptor made(::mkostemp(temporary.data(), O_CLOEXEC));
    if (made.get() < 0) return errno;
    if (::flock(made.get(), LOCK_EX | LOCK_NB) != 0) {
      // A file system without locks saves as it can, unlocked; a file another clock's
      // sweep holds is being removed.
      if (errno == EWOULDBLOCK) continue;
      fd.reset(made.release());
      return 0;
    }
    struct stat held {};
    struct stat named {};
    if (::fstat(made.get(), &held) == 0 && ::lstat(temporary.c_str(), &named) == 0 &&
        held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
      fd.reset(made.release());
      return 0;
    }
  }
  return EAGAIN;
}

}  // namespace

FileRead readSmallFile(const std::string& path, std::size_t maxBytes) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return {};
    return failed(systemError(errno));
  }
  if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0) {
    return failed(errno == ENOENT ? "it is a link to nothing" : systemError(errno));
  }
  if (auto why = notOrdinary(st)) return failed(*why);
  // Non-blocking: should a FIFO take the file's place meanwhile, opening it must not wait.
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return failed(systemError(errno));
  if (::fstat(fd.get(), &st) != 0) return failed(systemError(errno));
  if (auto why = notOrdinary(st)) return failed(*why);
  if (static_cast<unsigned long long>(st.st_size) > maxBytes) return failed(tooLarge(maxBytes));

  // One byte more than allowed tells a file that grew since it was measured.
  std::string text(maxBytes + 1, '\0');
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::read(fd.get(), text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return failed(systemError(errno));
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  if (done > maxBytes) return failed(tooLarge(maxBytes));
  text.resize(done);
  return {FileRead::Status::Read, std::move(text), ""};
}

std::optional<std::string> replaceFile(const std::string& given, const std::string& contents) {
  std::string error;
  const auto resolved = followLinks(given, error);
  if (!resolved) return error;
  const std::string& path = *resolved;
  const std::string folder = folderOf(path);
  const std::string name = path.substr(path.rfind('/') + 1);
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (exists) {
    if (auto why = mustKeep(path, old)) return why;
  }
  // An installed clock's settings folder does not exist before the first save.
  if (const int made = makeFolders(folder)) return systemError(made);
  removeLeftTemporaries(folder, name);
  std::string temporary;
  Descriptor fd(-1);
  if (const int error = makeLockedTemporary(folder, name, temporary, fd)) {
    return systemError(error);
  }

  // Every step is checked before the rename: a short write, a failed flush or close
  // (a full disk, a file-size limit) leaves the old file as it was.
  auto abandon = [&](int error) {
    ::unlink(temporary.c_str());
    return systemError(error);
  };
  // The new file keeps the old one's permissions; a first one gets the usual ones.
  mode_t mode = 0;
  if (exists) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd.get(), mode) != 0) return abandon(errno);
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = ::write(fd.get(), contents.data() + done, contents.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return abandon(errno);
    if (n == 0) return abandon(EIO);
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd.get()) != 0) return abandon(errno);
  // The lock belongs to the open file, not to one descriptor: a second descriptor keeps
  // it through the rename, while closing the first still reports a failed close.
  Descriptor lock(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
  if (lock.get() < 0) return abandon(errno);
  if (const int error = fd.close()) return abandon(error);
  if (::rename(temporary.c_str(), path.c_str()) != 0) return abandon(errno);
  lock.close();
  // The rename itself reaches the disk with the folder; a failure here loses nothing.
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return std::nullopt;
}

}  // namespace tessaron::qt
