// The zone catalogue at start-up, and the alternate zone: its selector, its label
// and the time it gives the dots.

#include "timezones/alternate_zone.h"

#include <string>

#include "i18n/i18n.h"
#include "timezones/zone_search.h"

namespace tessaron {

namespace {

// The display name starts with the offset in parentheses; the label shows just that.
std::string labelFor(const std::string& text) {
  const auto close = text.find(')');
  return close == std::string::npos ? std::string() : text.substr(0, close + 1);
}

std::string trimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void tellCatalogueMissing(Platform& platform, const std::string& location) {
  platform.messageBox(
      // TRANSLATORS: %1 is a line break and the folder where the zones were looked for.
      i18n("Unable to locate Time Zones information in Registry under the key: %1",
           "\r\n" + location),
      MessageStyle::Plain, "");
}

}  // namespace

AlternateZone::AlternateZone() {
  Combo1[0].Visible = false;
  ATZ = Label{120_tw, 480_tw, 1332_tw, 252_tw, "", static_cast<Colour>(0x80000012u),
              false};  // button text
}

bool AlternateZone::catalogueFound(Platform& platform) {
  const ZoneCatalogueSource source = platform.findZoneCatalogue();
  if (!source.found) tellCatalogueMissing(platform, source.location);
  return source.found;
}

bool AlternateZone::LoadZoneCatalogue(Platform& platform, Twips labelTop) {
  const ZoneCatalogueSource source = platform.readZoneCatalogue(platform.clockNow().utc);
  if (!source.found) {
    tellCatalogueMissing(platform, source.location);
    return false;
  }
  const std::string systemName = trimSpaces(source.systemStandardName);

  // The lists' positions are the catalogue's indexes, so nothing here sorts.
  ZoneCatalogue.clear();
  ZoneCatalogue.reserve(source.zones.size());
  // The system's zone (the last entry of its name); UTC when none is the system's; the
  // first entry when neither is listed.
  int selected = -1;
  int utc = 0;
  // A zone that cannot be read comes as an empty record, listed as an empty entry: UTC.
  for (const ZoneRecord& zone : source.zones) {
    ZoneCatalogue.push_back(zone);
    Combo1[0].List.push_back(zone.Display);
    Combo1[1].List.push_back(zone.Display);
    const int index = static_cast<int>(ZoneCatalogue.size()) - 1;
    if (!systemName.empty() && zone.Std == systemName) selected = index;
    if (zone.Std == "UTC" && utc == 0) utc = index;
  }
  if (selected < 0) selected = utc;
  listedUntil_ = source.listedUntil;
  if (!ZoneCatalogue.empty()) {
    selectZone(0, selected, labelTop);
    selectZone(1, selected, labelTop);
  } else {
    Combo1[1].Visible = false;  // nothing to choose; the option can still show it, empty
  }
  ATZ.Visible = false;
  return true;
}

void AlternateZone::selectZone(int Index, int listIndex, Twips labelTop) {
  ComboBox& list = Combo1.at(static_cast<std::size_t>(Index));
  if (listIndex < 0 || listIndex >= static_cast<int>(list.List.size())) return;
  list.ListIndex = listIndex;
  list.Text = list.List[static_cast<std::size_t>(listIndex)];
  Combo1_Click(Index, labelTop);
}

void AlternateZone::Combo1_Click(int Index, Twips labelTop) {
  const int chosen = Combo1.at(static_cast<std::size_t>(Index)).ListIndex;
  if (chosen >= 0 && chosen < static_cast<int>(ZoneCatalogue.size())) {
    ZonePair[static_cast<std::size_t>(Index)] = ZoneCatalogue[static_cast<std::size_t>(chosen)];
  }
  Combo1[1].Visible = false;
  ATZ.Top = labelTop;
  ATZ.Width = Combo1[1].Width;
  ATZ.Left = Combo1[1].Left;
  ATZ.Caption = labelFor(Combo1[1].Text);
  ATZ.Visible = true;
}

void AlternateZone::followSystem(Platform& platform, UtcTime now) {
  const ZoneCatalogueSource source = platform.readZoneCatalogue(now);
  if (!source.found) return;  // the database went away: keep what the lists hold
  listedUntil_ = source.listedUntil;
  const bool labelNamesPair = ATZ.Caption == labelFor(ZonePair[1].Display);
  const std::string systemName = trimSpaces(source.systemStandardName);
  int system = -1;
  for (std::size_t i = 0; i < ZoneCatalogue.size(); ++i) {
    ZoneRecord& entry = ZoneCatalogue[i];
    if (entry.Std.empty()) continue;
    if (entry.Std == systemName) system = static_cast<int>(i);
    for (const ZoneRecord& key : source.zones) {
      if (key.Std != entry.Std) continue;
      entry.Display = key.Display;
      break;
    }
    for (ComboBox& list : Combo1) list.List[i] = entry.Display;
  }
  for (std::size_t k = 0; k < 2; ++k) {
    ComboBox& list = Combo1[k];
    if (list.ListIndex < 0 || list.ListIndex >= static_cast<int>(ZoneCatalogue.size())) continue;
    const ZoneRecord& entry = ZoneCatalogue[static_cast<std::size_t>(list.ListIndex)];
    // A zone the user typed but did not choose keeps its text.
    if (list.Text == ZonePair[k].Display) list.Text = entry.Display;
    ZonePair[k].Display = entry.Display;
  }
  if (system >= 0 && system != Combo1[0].ListIndex) {
    // The local zone follows the system without a click: nothing shown moves.
    Combo1[0].ListIndex = system;
    Combo1[0].Text = ZoneCatalogue[static_cast<std::size_t>(system)].Display;
    ZonePair[0] = ZoneCatalogue[static_cast<std::size_t>(system)];
  }
  if (labelNamesPair) ATZ.Caption = labelFor(ZonePair[1].Display);
  ++Combo1[0].Revision;
  ++Combo1[1].Revision;
}

void AlternateZone::showSelector(Platform& platform, Twips top) {
  Combo1[1].Width = platform.windowWidth() - 150_tw;
  Combo1[1].Left = 50_tw;
  Combo1[1].Top = top;
  Combo1[1].Visible = true;
}

void AlternateZone::UpdateAltTime(Platform& platform, UtcTime now) {
  // From the instant itself: a local wall time turned back into UTC is ambiguous in the
  // hour the local zone repeats, and wrong when the system zone is not the list's.
  const ZoneTimes::Instant at = times_.at(
      now, ZonePair[1],
      [&platform](const std::string& id, int year) { return platform.readZoneYear(id, year); });
  AltTime = at.local;
  altOffset_ = at.offset;
}

std::vector<int> AlternateZone::find(Platform& platform, const std::string& typed) const {
  if (places_.size() != ZoneCatalogue.size()) {
    places_.assign(ZoneCatalogue.size(), std::string());
    for (std::size_t i = 0; i < ZoneCatalogue.size(); ++i) {
      const ZoneRecord& zone = ZoneCatalogue[i];
      if (zone.Std.empty()) continue;
      // The zone table's country code leads the entry's map id: "JP +353916+1394441".
      const std::string country = zone.MapID.substr(0, zone.MapID.find(' '));
      for (const std::string& name : platform.placeNames(zone.Std, country)) {
        places_[i] += '\n' + platform.searchForm(name);
      }
    }
  }
  const std::vector<std::string>& list = Combo1[1].List;
  names_.resize(list.size());
  std::vector<std::string> texts;
  texts.reserve(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    auto& [from, form] = names_[i];
    if (from != list[i]) {
      from = list[i];
      form = platform.searchForm(from);
    }
    texts.push_back(form + (i < places_.size() ? places_[i] : std::string()));
  }
  return findZones(texts, platform.searchForm(typed));
}

}  // namespace tessaron
