// The clock's file access on a real file system: what a bounded read finds in the place of
// "Tessa.sav", and saves that meet a full disk or a file-size limit without touching the
// old file.

#include "platform/qt/files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace tessaron::qt::files_test {
namespace {

namespace fs = std::filesystem;

const std::string kOld =
    "255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,\"smallworld.wav\",#FALSE#\r\n";

void write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The folder's entries: a failed save leaves no temporary file behind.
std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReadSmallFile, SaysWhatStandsInTheFilesPlace) {
  QTemporaryDir dir;
  const std::string d = dir.path().toStdString();
  write(d + "/good", kOld);
  ::mkdir((d + "/folder").c_str(), 0755);
  ::mkfifo((d + "/fifo").c_str(), 0644);
  ::symlink((d + "/nowhere").c_str(), (d + "/dangling").c_str());
  ::symlink((d + "/good").c_str(), (d + "/link").c_str());
  write(d + "/at-limit", std::string(100, 'x'));
  write(d + "/past-limit", std::string(101, 'x'));
  {
    std::ofstream sparse(d + "/sparse", std::ios::binary);
    sparse.seekp((1LL << 30) - 1);
    sparse.put('\n');
  }
  using S = FileRead::Status;
  struct Case {
    const char* name;
    S status;
    const char* reason;
  };
  const Case cases[] = {
      {"good", S::Read, ""},
      {"missing", S::Missing, ""},
      {"folder", S::Failed, "it is a folder"},
      {"fifo", S::Failed, "it is not an ordinary file"},  // and opening it does not hang
      {"dangling", S::Failed, "it is a link to nothing"},
      {"link", S::Read, ""},
      {"at-limit", S::Read, ""},
      {"past-limit", S::Failed, "it is larger than 100 bytes"},
      {"sparse", S::Failed, "it is larger than 100 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FileRead r = readSmallFile(d + "/" + c.name, 100);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.reason, c.reason);
    if (c.status == S::Read) {
      EXPECT_EQ(r.contents, read(d + "/" + c.name));
    }
  }
  if (geteuid() != 0) {  // the superuser reads whatever the permissions say
    ::chmod((d + "/good").c_str(), 0);
    const FileRead r = readSmallFile(d + "/good", 100);
    EXPECT_EQ(r.status, S::Failed);
    EXPECT_EQ(r.reason, "Permission denied");
  }
}

TEST(ReplaceFile, ReplacesTheWholeFileAndKeepsItsPermissions) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/Tessa.sav";
  write(path, kOld);
  ::chmod(path.c_str(), 0640);
  EXPECT_EQ(replaceFile(path, "new\r\n"), std::nullopt);
  EXPECT_EQ(read(path), "new\r\n");
  struct stat st {};
  ::stat(path.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(entries(dir.path().toStdString()), std::vector<std::string>{"Tessa.sav"});
}

TEST(ReplaceFile, MakesMissingFoldersFirst) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/config/tessaron/Tessa.sav";
  EXPECT_EQ(replaceFile(path, kOld), std::nullopt);
  EXPECT_EQ(read(path), kOld);
}

TEST(ReplaceFile, AFolderInTheFilesPlaceIsLeftAndNamed) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/Tessa.sav";
  ::mkdir(path.c_str(), 0755);
  EXPECT_EQ(replaceFile(path, kOld), "it is a folder");
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(entries(dir.path().toStdString()), std::vector<std::string>{"Tessa.sav"});
}

TEST(ReplaceFile, PastAFileSizeLimitTheOldFileStaysByteForByte) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/Tessa.sav";
  write(path, kOld);
  // As the clock does: past the limit a write fails rather than ending the program.
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 40;  // the old save tore the file to this many bytes
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto error = replaceFile(path, kOld + kOld);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(error, "File too large");
  EXPECT_EQ(read(path), kOld);
  EXPECT_EQ(entries(dir.path().toStdString()), std::vector<std::string>{"Tessa.sav"});
}

TEST(ReplaceFile, OnAFullDiskTheOldFileStaysByteForByte) {
  QTemporaryDir dir;
  const std::string mountPoint = dir.path().toStdString();
  if (::mount("tessaron-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here: " << std::strerror(errno);
  }
  const std::string path = mountPoint + "/Tessa.sav";
  write(path, kOld);
  {
    // Fill every block that is left.
    std::ofstream filler(mountPoint + "/filler", std::ios::binary);
    const std::string block(4096, 'f');
    for (int i = 0; i < 64 && filler; ++i) filler.write(block.data(), block.size());
  }
  const auto error = replaceFile(path, kOld);
  const std::string after = read(path);
  const auto left = entries(mountPoint);
  ::umount(mountPoint.c_str());
  EXPECT_EQ(error, "No space left on device");
  EXPECT_EQ(after, kOld);
  EXPECT_EQ(left, (std::vector<std::string>{"Tessa.sav", "filler"}));
}

}  // namespace
}  // namespace tessaron::qt::files_test
