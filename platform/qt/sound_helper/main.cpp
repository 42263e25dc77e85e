// tessaron_sound: plays the clock's .WAV sounds in a process of its own, so that a clock
// at rest holds neither a sound library nor a sound-server connection, and a sound that
// goes wrong takes only this process with it. Plain C++ on PulseAudio's simple API (which
// PipeWire serves too); the .WAV header is checked by our own reader first.
//
// Commands arrive on standard input, one a line, each numbered by the clock:
//   "<n> once <file URL>"   play once, replacing what plays
//   "<n> loop <file URL>"   play over and over, replacing what plays
//   "<n> stop"              end the looped sound; a one-shot sound plays out
// Each command is answered at once, before the next is read:
//   "<n> failed <reason>"   the sound cannot play (then "<n> idle" follows)
//   "<n> playing"           a sound plays
//   "<n> idle"              nothing plays
// and when a sound ends by itself, "<n> idle" with n the last command read; a sound that
// the sound server stops taking is first reported as "<m> failed <reason>", m being the
// command that started it. At the end
// of its input (the clock closed it, or died) it ends any loop, lets a one-shot sound play
// out for at most a few seconds and exits: music never outlives the clock.

#include <fcntl.h>
#include <poll.h>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <signal.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "i18n/i18n.h"
#include "platform/qt/sound_helper/wav.h"

namespace {

using tessaron::i18n;
using tessaron::sound::WavFormat;
// PulseAudio's description of a stream's samples: format, rate and channels.
using StreamSamples = pa_sample_spec;

constexpr int kPlayOutLimitMs = 10000;  // a one-shot sound after the input has ended
constexpr int kChunkMs = 40;            // written at a time; the input is read between chunks
constexpr int kBufferMs = 200;          // queued at the server: what a stop still lets out
constexpr std::size_t kMaxLineBytes = 16 * 1024;

long long nowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

void reply(unsigned long long number, const std::string& words) {
  const std::string line = std::to_string(number) + " " + words + "\n";
  // The clock may be gone; a failed write changes nothing here.
  [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, line.data(), line.size());
}

// "file:///a%20b.wav" -> "/a b.wav"; nothing for anything else.
std::optional<std::string> localPath(const std::string& url) {
  const std::string prefix = "file://";
  if (url.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  std::string path;
  for (std::size_t i = prefix.size(); i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size()) {
      const std::string hex = url.substr(i + 1, 2);
      char* end = nullptr;
      const long value = std::strtol(hex.c_str(), &end, 16);
      if (end != hex.c_str() + 2 || value == 0) return std::nullopt;
      path += static_cast<char>(value);
      i += 2;
    } else {
      path += url[i];
    }
  }
  if (path.empty() || path[0] != '/') return std::nullopt;
  return path;
}

pa_sample_format_t paFormat(WavFormat::Sample s) {
  switch (s) {
    case WavFormat::Sample::U8:
      return PA_SAMPLE_U8;
    case WavFormat::Sample::S16:
      return PA_SAMPLE_S16LE;
    case WavFormat::Sample::S24:
      return PA_SAMPLE_S24LE;
    case WavFormat::Sample::S32:
      return PA_SAMPLE_S32LE;
    case WavFormat::Sample::Float32:
      return PA_SAMPLE_FLOAT32LE;
  }
  return PA_SAMPLE_INVALID;
}

class Player {
 public:
  ~Player() { close(); }

  // Plays `path` (replacing what plays); the reason when it cannot.
  std::optional<std::string> start(const std::string& path, bool loop) {
    stop(true);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return i18n("the file cannot be opened");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      return i18n("it is not an ordinary file");
    }
    std::string head(tessaron::sound::kMaxWavHeaderBytes, '\0');
    const ssize_t n = ::pread(fd, head.data(), head.size(), 0);
    head.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    auto parsed = tessaron::sound::parseWavHeader(head, static_cast<std::uint64_t>(st.st_size));
    if (auto* why = std::get_if<std::string>(&parsed)) {
      ::close(fd);
      return i18n("the file is not a playable .WAV (%1)", *why);
    }
    const WavFormat format = std::get<WavFormat>(parsed);
    StreamSamples wanted{paFormat(format.sample), format.rate,
                         static_cast<std::uint8_t>(format.channels)};
    if (!connected_ || wanted.format != streaming_.format || wanted.rate != streaming_.rate ||
        wanted.channels != streaming_.channels) {
      close();
      const auto bytesFor = [&](int ms) {
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(format.rate) * ms / 1000 *
                                          static_cast<std::uint32_t>(format.blockAlign));
      };
      pa_buffer_attr attr{};
      attr.maxlength = static_cast<std::uint32_t>(-1);
      attr.tlength = bytesFor(kBufferMs);
      attr.prebuf = static_cast<std::uint32_t>(-1);
      attr.minreq = static_cast<std::uint32_t>(-1);
      attr.fragsize = static_cast<std::uint32_t>(-1);
      int error = 0;
      stream_ = pa_simple_new(nullptr, "Tessaron", PA_STREAM_PLAYBACK, nullptr, "clock sound",
                              &wanted, nullptr, &attr, &error);
      if (stream_ == nullptr) {
        ::close(fd);
        return i18n("no sound device (%1)", pa_strerror(error));
      }
      connected_ = true;
      streaming_ = wanted;
    }
    fd_ = fd;
    format_ = format;
    position_ = 0;
    loop_ = loop;
    const std::size_t chunk = static_cast<std::size_t>(
        std::max<std::uint64_t>(1, static_cast<std::uint64_t>(format.rate) * kChunkMs / 1000));
    buffer_.resize(chunk * static_cast<std::size_t>(format.blockAlign));
    return std::nullopt;
  }

  // Ends what plays: at once when `now`, otherwise only a loop (a one-shot plays out).
  void stop(bool now) {
    if (fd_ < 0 || (!now && !loop_)) return;
    ::close(fd_);
    fd_ = -1;
    if (connected_) pa_simple_flush(stream_, nullptr);
  }

  bool playing() const { return fd_ >= 0; }
  // Whether the sound that ended last was cut short by the sound server.
  bool lost() const { return lost_; }

  // Writes the next chunk; false once the sound has ended (or the server went away).
  bool step() {
    lost_ = false;
    if (fd_ < 0) return false;
    const std::uint64_t left = format_.dataBytes - position_;
    std::size_t want = buffer_.size();
    if (left < want) want = static_cast<std::size_t>(left);
    const ssize_t n =
        ::pread(fd_, buffer_.data(), want, static_cast<off_t>(format_.dataOffset + position_));
    if (n <= 0 ||
        pa_simple_write(stream_, buffer_.data(), static_cast<std::size_t>(n), nullptr) < 0) {
      end(false);
      lost_ = true;
      return false;
    }
    position_ += static_cast<std::uint64_t>(n);
    if (position_ >= format_.dataBytes) {
      if (loop_) {
        position_ = 0;
      } else {
        end(true);
        return false;
      }
    }
    return true;
  }

 private:
  void end(bool drain) {
    ::close(fd_);
    fd_ = -1;
    if (drain) pa_simple_drain(stream_, nullptr);
  }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (stream_ != nullptr) pa_simple_free(stream_);
    stream_ = nullptr;
    connected_ = false;
  }

  pa_simple* stream_ = nullptr;
  bool connected_ = false;
  StreamSamples streaming_{};  // what the open stream takes
  int fd_ = -1;
  WavFormat format_;
  std::uint64_t position_ = 0;  // bytes of the data played
  bool loop_ = false;
  bool lost_ = false;
  std::vector<char> buffer_;
};

class Helper {
 public:
  int run() {
    long long deadline = -1;
    while (true) {
      if (ended_ && !player_.playing()) return 0;
      if (ended_ && deadline < 0) deadline = nowMs() + kPlayOutLimitMs;
      if (deadline >= 0 && nowMs() > deadline) return 0;
      if (!ended_) {
        pollfd in{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&in, 1, player_.playing() ? 0 : -1);
        if (ready < 0 && errno != EINTR) return 1;
        if (ready > 0) readInput();
      }
      if (player_.playing() && !player_.step()) {
        // A loop only ends by itself when it can no longer be played: the clock must know.
        if (player_.lost())
          reply(started_, "failed " + i18n("the sound server stopped playing it"));
        reply(last_, "idle");
      }
    }
  }

 private:
  void readInput() {
    char chunk[4096];
    const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
      ended_ = true;
      player_.stop(false);
      return;
    }
    pending_.append(chunk, static_cast<std::size_t>(n));
    std::size_t end;
    while ((end = pending_.find('\n')) != std::string::npos) {
      const std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      command(line);
    }
    if (pending_.size() > kMaxLineBytes) pending_.clear();  // not from the clock
  }

  void command(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
      const std::size_t space = line.find(' ', at);
      const std::size_t end = space == std::string::npos ? line.size() : space;
      if (end > at) words.push_back(line.substr(at, end - at));
      at = end + 1;
    }
    if (words.size() < 2) return;
    char* end = nullptr;
    const unsigned long long number = std::strtoull(words[0].c_str(), &end, 10);
    if (end != words[0].c_str() + words[0].size()) return;  // not from the clock: ignored
    last_ = number;
    const std::string& verb = words[1];
    if (verb == "stop") {
      player_.stop(false);
    } else if ((verb == "once" || verb == "loop") && words.size() == 3) {
      const auto path = localPath(words[2]);
      started_ = number;
      const auto failure =
          path ? player_.start(*path, verb == "loop")
               : std::optional<std::string>(i18n("the file name is not understood"));
      if (failure) {
        player_.stop(true);
        reply(number, "failed " + *failure);
      }
    }
    reply(number, player_.playing() ? "playing" : "idle");
  }

  Player player_;
  std::string pending_;
  unsigned long long last_ = 0;
  unsigned long long started_ = 0;  // the command that started what plays
  bool ended_ = false;
};

}  // namespace

int main() {
  signal(SIGPIPE, SIG_IGN);  // a clock that died must not take its closing sound with it
  // Its reasons for not playing are shown to the user as they are.
  tessaron::startTranslations(TESSARON_LOCALE_FROM_PRIVATE);
  Helper helper;
  return helper.run();
}
