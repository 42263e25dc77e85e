#pragma once
// The alternate zone: the zone catalogue read at start-up, the pair of zones the
// clock converts between, the selector that picks the second one and the label that
// stands in for the selector once a zone is chosen.
//
// Example: with the system in "Europe/Paris" and "(UTC-05:00) America/New York"
// chosen, ZonePair is {Paris, New York}, ATZ reads "(UTC-05:00)", and at 16:00 UTC in
// July (18:00 in Paris) UpdateAltTime gives AltTime 12:00.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls.h"
#include "platform/platform.h"
#include "timezones/conversion.h"
#include "timezones/zone_times.h"

namespace tessaron {

class AlternateZone {
 public:
  AlternateZone();

  // Fills both lists from the platform's catalogue and selects the system's zone in
  // each, the label going to `labelTop`. False when there is no catalogue: the user
  // has been told, and the program ends.
  bool LoadZoneCatalogue(Platform& platform, Twips labelTop);
  // Whether the platform has a catalogue to load, told as LoadZoneCatalogue tells it when
  // there is none; nothing is read.
  bool catalogueFound(Platform& platform);
  // What a list does when its selection is set, by a user's choice or by the program:
  // an index in range selects that entry and runs Combo1_Click.
  void selectZone(int Index, int listIndex, Twips labelTop);
  // Takes list `Index`'s choice into the pair; the label replaces the selector.
  void Combo1_Click(int Index, Twips labelTop);
  // The selector across the window, below the toolbar at `top`.
  void showSelector(Platform& platform, Twips top);
  // AltTime = the alternate zone's time at the instant `now`, by the rules of the year
  // that instant falls in there; altOffset() its offset then.
  void UpdateAltTime(Platform& platform, UtcTime now);
  // Reads the catalogue again at `now`: each entry's name takes the offset it lists now, and
  // the local list's entry and element 0 of the pair the zone the system clock runs in now.
  // What is shown (selector, label) stays as it is shown; only its texts follow.
  void followSystem(Platform& platform, UtcTime now);
  // The selector's entries that hold `typed` in their name, city or country (in English or
  // the user's language), letter case and accents aside; those where it starts a word
  // first. Example, in German: "tokio" finds "(UTC+09:00) Asia/Tokyo".
  std::vector<int> find(Platform& platform, const std::string& typed) const;
  // From this instant on some entry's name lists another offset.
  UtcTime listedUntil() const { return listedUntil_; }
  // Where the dots' row hangs: the selector's middle.
  Twips selectorMiddle() const { return Combo1[1].Top + Combo1[1].Height / 2; }
  // The label goes, leaving the selector as it is (hidden or shown).
  void hideLabel() { ATZ.Visible = false; }
  // The selector waits hidden, as for the catalogue's start-up selection.
  void hideSelector() { Combo1[1].Visible = false; }

  ZoneTime altTime() const { return AltTime; }
  UtcOffset altOffset() const { return altOffset_; }
  // [0] the local zone, [1] the alternate one.
  const std::array<ZoneRecord, 2>& zonePair() const { return ZonePair; }
  const std::vector<ZoneRecord>& catalogue() const { return ZoneCatalogue; }
  // [0] holds the local zone and is never shown; [1] is the selector.
  const std::array<ComboBox, 2>& lists() const { return Combo1; }
  const ComboBox& selector() const { return Combo1[1]; }
  const Label& label() const { return ATZ; }

 private:
  ZoneTime AltTime = kDayZero;         // the design's zero until the first conversion
  UtcOffset altOffset_{0};             // the alternate zone's offset at AltTime
  std::array<ZoneRecord, 2> ZonePair;  // [0] the local zone, [1] the alternate one
  std::vector<ZoneRecord> ZoneCatalogue;
  std::array<ComboBox, 2> Combo1;  // [0] holds the local zone and is never shown
  Label ATZ;
  ZoneTimes times_;
  UtcTime listedUntil_ = UtcTime::max();
  // Each entry's other names in search form, each after a line break; asked of the desktop
  // at the first search, as a clock that is never searched needs none of them.
  mutable std::vector<std::string> places_;
  // Each entry's name in search form, beside the name it was made from: made again only
  // when the entry's name changes (a new listed offset), not at each letter typed.
  mutable std::vector<std::pair<std::string, std::string>> names_;
};

}  // namespace tessaron
