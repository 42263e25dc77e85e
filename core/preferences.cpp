#include "core/preferences.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/controls.h"

namespace tessaron {

namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::optional<double> number() {
    skipSpaces();
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isNumberChar(text_[pos_])) ++pos_;
    const std::string_view token = text_.substr(start, pos_ - start);
    // from_chars would also take "inf" and "nan"; the character filter above keeps them out.
    if (token.empty()) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || end != token.data() + token.size() || !std::isfinite(value)) {
      return std::nullopt;
    }
    return value;
  }

  std::optional<bool> flag() {
    skipSpaces();
    if (consume("#TRUE#")) return true;
    if (consume("#FALSE#")) return false;
    return std::nullopt;
  }

  std::optional<std::string> text() {
    skipSpaces();
    if (pos_ >= text_.size() || text_[pos_] != '"') return std::nullopt;
    const std::size_t close = text_.find('"', pos_ + 1);
    if (close == std::string_view::npos) return std::nullopt;
    std::string value(text_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    return value;
  }

  bool comma() {
    skipSpaces();
    return consume(",");
  }

  // After the last field: spaces, then the line's end or the file's.
  bool atLineEnd() {
    skipSpaces();
    return pos_ == text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n';
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;

  static bool isNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
  }
  void skipSpaces() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool consume(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }
};

std::optional<std::int32_t> toInt32(std::optional<double> value) {
  if (!value) return std::nullopt;
  const double rounded = roundHalfEven(*value);
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

// Plain decimal with "." whatever the locale; a whole number has no point.
std::string formatSingle(float value) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  return std::string(buffer, end);
}

const char* formatFlag(bool value) { return value ? "#TRUE#" : "#FALSE#"; }

}  // namespace

std::optional<SavedPreferences> parsePreferences(std::string_view text) {
  Reader in(text);
  SavedPreferences p;
  const auto on = toInt32(in.number());
  if (!on || !in.comma()) return std::nullopt;
  const auto off = toInt32(in.number());
  if (!off || !in.comma()) return std::nullopt;
  const auto hint = toInt32(in.number());
  if (!hint || !in.comma()) return std::nullopt;
  std::optional<bool> flags[4];
  for (auto& f : flags) {
    f = in.flag();
    if (!f || !in.comma()) return std::nullopt;
  }
  const auto top = in.number();
  if (!top || std::fabs(*top) > FLT_MAX || !in.comma()) return std::nullopt;
  const auto left = in.number();
  // As written back (single precision) it must still fit, or a save could not be read.
  if (!left || !toInt32(static_cast<float>(*left)) || !in.comma()) return std::nullopt;
  auto music = in.text();
  if (!music || !in.comma()) return std::nullopt;
  const auto vertical = in.flag();
  if (!vertical || !in.atLineEnd()) return std::nullopt;

  p.OnColor = *on;
  p.OffColor = *off;
  p.HintColor = *hint;
  p.Numbers = *flags[0];
  p.Seconds = *flags[1];
  p.Music = *flags[2];
  p.Always = *flags[3];
  p.Top = static_cast<float>(*top);
  p.Left = *left;
  p.MusicFile = std::move(*music);
  p.Vertical = *vertical;
  return p;
}

std::string formatPreferences(const SavedPreferences& p) {
  std::string line;
  line += std::to_string(p.OnColor) + "," + std::to_string(p.OffColor) + "," +
          std::to_string(p.HintColor) + ",";
  line += std::string(formatFlag(p.Numbers)) + "," + formatFlag(p.Seconds) + "," +
          formatFlag(p.Music) + "," + formatFlag(p.Always) + ",";
  line += formatSingle(p.Top) + "," + formatSingle(static_cast<float>(p.Left)) + ",";
  line += "\"" + p.MusicFile + "\",";
  line += std::string(formatFlag(p.Vertical)) + "\r\n";
  return line;
}

}  // namespace tessaron
