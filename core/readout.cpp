#include "core/readout.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "i18n/i18n.h"

namespace tessaron {

namespace {

std::string twoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string clockText(const ShownTime& shown) {
  if (!shown.drawn) return {};
  std::string text = twoDigits(shown.hour) + ":" + twoDigits(shown.minute);
  if (shown.withSeconds) text.append(":").append(twoDigits(shown.second));
  return text;
}

std::string zoneName(const ZoneRecord& zone) {
  // "(UTC+09:00) Asia/Tokyo": the list shows the offset first, then the name.
  const auto close = zone.Display.find(')');
  const std::string name =
      trimmed(close == std::string::npos ? zone.Display : zone.Display.substr(close + 1));
  if (!name.empty()) return name;
  return zone.Std.empty() ? "UTC" : zone.Std;
}

std::string utcOffsetText(UtcOffset offset) {
  const int minutesEast =
      static_cast<int>(std::chrono::duration_cast<std::chrono::minutes>(offset).count());
  const int magnitude = std::abs(minutesEast);
  return std::string("UTC") + (minutesEast < 0 ? "-" : "+") + twoDigits(magnitude / 60) + ":" +
         twoDigits(magnitude % 60);
}

std::string shownTimeText(const ShownTime& shown) {
  std::string text = clockText(shown);
  if (shown.drawn && shown.alternate) text.append(" ").append(shown.zone);
  return text;
}

std::string readoutText(const ShownTime& shown, ZoneTime today) {
  using namespace std::chrono;
  if (!shown.drawn) return {};
  const year_month_day date{floor<days>(shown.alternate ? shown.alternateAt : today)};
  const std::string shownDate =
      // TRANSLATORS: the date under the time in the hover readout: %1 is the year, %2 the
      // month and %3 the day, each of two digits; put them in your language's order.
      i18nc("readout date", "%1-%2-%3", static_cast<int>(date.year()),
            twoDigits(static_cast<int>(static_cast<unsigned>(date.month()))),
            twoDigits(static_cast<int>(static_cast<unsigned>(date.day()))));
  std::string text = clockText(shown) + "\n" + localDigits(shownDate) + "\n";
  if (!shown.alternate) return text + i18n("Local time");
  // The offset of the very conversion that gave the dots their time: in a repeated hour
  // the first pass tells the daylight offset, the second the standard one.
  return text + shown.zone + ", " + utcOffsetText(shown.alternateOffset);
}

}  // namespace tessaron
