#include "platform/qt/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

std::optional<std::string> replaceFile(const std::string& path, const std::string& contents) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  // An installed clock's settings folder does not exist before the first save.
  if (const int error = makeFolders(folder)) return systemError(error);
  std::string temporary = folder + "/." + name + ".XXXXXX";
  Descriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (fd.get() < 0) return systemError(errno);

  // Every step is checked before the rename: a short write, a failed flush or close
  // (a full disk, a file-size limit) leaves the old file as it was.
  auto abandon = [&](int error) {
    ::unlink(temporary.c_str());
    return systemError(error);
  };
  // The new file keeps the old one's permissions; a first one gets the usual ones.
  struct stat old {};
  mode_t mode = 0;
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
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
  if (const int error = fd.close()) return abandon(error);
  if (::rename(temporary.c_str(), path.c_str()) != 0) return abandon(errno);
  // The rename itself reaches the disk with the folder; a failure here loses nothing.
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return std::nullopt;
}

}  // namespace tessaron::qt
