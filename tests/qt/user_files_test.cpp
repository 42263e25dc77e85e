// Saves over the files people really keep: a link into a dotfiles folder is written
// through and stays a link, a file's mode is kept, a file the user made read-only or
// unreadable and anything but an ordinary file are left byte for byte with the reason,
// and what a killed save left behind goes at the next save, but never another clock's
// save in progress. Run as the superuser too, so the modes are judged by their bits.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/files.h"

namespace tessaron::qt::user_files_test {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "old line\r\n";
const std::string kNew = "new line\r\n";

void write(const std::string& path, const std::string& text, mode_t mode = 0644) {
  std::ofstream(path, std::ios::binary) << text;
  ::chmod(path.c_str(), mode);
}

std::string read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(UserFiles, SavesKeepLinksModesAndTheFilesTheUserProtected) {
  struct Case {
    const char* name;
    std::function<void(const std::string& dir)> make;  // makes dir/app/Tessa.sav
    std::optional<std::string> error;                  // nothing: the save goes through
    const char* file;  // where the saved line ends up (or the old one stays), below dir
    mode_t mode;       // that file's mode afterwards
  };
  const Case cases[] = {
      {"a relative link into a dotfiles folder",
       [](const std::string& d) {
         write(d + "/dotfiles/Tessa.sav", kOld, 0640);
         fs::create_symlink("../dotfiles/Tessa.sav", d + "/app/Tessa.sav");
       },
       std::nullopt, "dotfiles/Tessa.sav", 0640},
      {"an absolute link to a link",
       [](const std::string& d) {
         write(d + "/dotfiles/Tessa.sav", kOld, 0600);
         fs::create_symlink(d + "/dotfiles/Tessa.sav", d + "/dotfiles/current");
         fs::create_symlink(d + "/dotfiles/current", d + "/app/Tessa.sav");
       },
       std::nullopt, "dotfiles/Tessa.sav", 0600},
      {"a link to a file not made yet",
       [](const std::string& d) {
         fs::create_symlink("../dotfiles/new.sav", d + "/app/Tessa.sav");
       },
       std::nullopt, "dotfiles/new.sav", 0644},
      {"a file of mode 0600", [](const std::string& d) { write(d + "/app/Tessa.sav", kOld, 0600); },
       std::nullopt, "app/Tessa.sav", 0600},
      {"a read-only file", [](const std::string& d) { write(d + "/app/Tessa.sav", kOld, 0444); },
       "it is read-only", "app/Tessa.sav", 0444},
      {"an unreadable file", [](const std::string& d) { write(d + "/app/Tessa.sav", kOld, 0); },
       "it cannot be read, so it is left as it is", "app/Tessa.sav", 0},
      {"a link to a read-only file",
       [](const std::string& d) {
         write(d + "/dotfiles/Tessa.sav", kOld, 0444);
         fs::create_symlink("../dotfiles/Tessa.sav", d + "/app/Tessa.sav");
       },
       "it is read-only", "dotfiles/Tessa.sav", 0444},
      {"a FIFO", [](const std::string& d) { ::mkfifo((d + "/app/Tessa.sav").c_str(), 0644); },
       "it is not an ordinary file", "app/Tessa.sav", 0644},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir tmp;
    const std::string dir = tmp.path().toStdString();
    fs::create_directories(dir + "/app");
    fs::create_directories(dir + "/dotfiles");
    const mode_t mask = ::umask(022);
    c.make(dir);
    const bool wasLink = fs::is_symlink(dir + "/app/Tessa.sav");
    const std::string before =
        fs::is_regular_file(dir + "/" + c.file) ? read(dir + "/" + c.file) : "";

    EXPECT_EQ(replaceFile(dir + "/app/Tessa.sav", kNew), c.error);
    ::umask(mask);

    const std::string file = dir + "/" + c.file;
    EXPECT_EQ(fs::is_symlink(dir + "/app/Tessa.sav"), wasLink) << "a link stays a link";
    if (!c.error) {
      EXPECT_EQ(read(file), kNew);
    } else if (fs::is_regular_file(file)) {
      EXPECT_EQ(read(file), before) << "byte for byte";
    } else {
      EXPECT_TRUE(fs::is_fifo(file));
    }
    EXPECT_EQ(modeOf(file), c.mode);
    EXPECT_EQ(entries(dir + "/app"), std::vector<std::string>{"Tessa.sav"}) << "nothing left";
  }
}

TEST(UserFiles, WhatAKilledSaveLeftGoesAtTheNextSaveButNotAnotherClocksSave) {
  QTemporaryDir tmp;
  const std::string dir = tmp.path().toStdString();
  const std::string path = dir + "/Tessa.sav";
  write(path, kOld);
  // A save killed half-way through its write: past the file-size limit the kernel ends
  // the process with SIGXFSZ in the middle of the write.
  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit small{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &small);
    ::signal(SIGXFSZ, SIG_DFL);
    replaceFile(path, std::string(64 << 10, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  ASSERT_EQ(entries(dir).size(), 2u) << "the killed save left its temporary file";
  EXPECT_EQ(read(path), kOld);
  // Another clock saving right now holds its temporary file locked.
  const std::string busy = dir + "/.Tessa.sav.Busy01";
  write(busy, "half");
  const int lock = ::open(busy.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(lock, LOCK_EX), 0);

  EXPECT_EQ(replaceFile(path, kNew), std::nullopt);
  EXPECT_EQ(read(path), kNew);
  EXPECT_EQ(entries(dir), (std::vector<std::string>{".Tessa.sav.Busy01", "Tessa.sav"}));
  ::close(lock);
}

}  // namespace
}  // namespace tessaron::qt::user_files_test

namespace tessaron::qt::user_files_test {
namespace {

// Two clocks in one folder save at the same time, each its own zoom, as fast as they can:
// each save either lands whole or says why, and neither clock's sweep of what killed saves
// left takes the other's save in progress.
TEST(UserFiles, TwoClocksSavingInOneFolderNeverLoseASave) {
  QTemporaryDir tmp;
  const std::string dir = tmp.path().toStdString();
  const std::string path = dir + "/Tessa.view";
  constexpr int kSaves = 500;
  const std::string texts[2] = {"zoom=200\n", "zoom=150\n"};
  int pipes[2][2];
  pid_t children[2];
  for (int clock = 0; clock < 2; ++clock) {
    ASSERT_EQ(::pipe(pipes[clock]), 0);
    children[clock] = ::fork();
    if (children[clock] == 0) {
      ::close(pipes[clock][0]);
      std::string failures;
      for (int i = 0; i < kSaves; ++i) {
        if (const auto error = replaceFile(path, texts[clock])) failures += *error + "\n";
      }
      (void)!::write(pipes[clock][1], failures.data(), failures.size());
      ::_exit(0);
    }
    ::close(pipes[clock][1]);
  }
  for (int clock = 0; clock < 2; ++clock) {
    std::string failures;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipes[clock][0], buffer, sizeof buffer)) > 0;) {
      failures.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipes[clock][0]);
    int status = 0;
    ::waitpid(children[clock], &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(failures, "") << "clock " << clock << "'s failed saves";
  }
  const std::string last = read(path);
  EXPECT_TRUE(last == texts[0] || last == texts[1]) << last;
  EXPECT_EQ(entries(dir), std::vector<std::string>{"Tessa.view"});
}

}  // namespace
}  // namespace tessaron::qt::user_files_test
