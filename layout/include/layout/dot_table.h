#pragma once
// What each dot means, in both arrangements: runs of dots, each showing one number of the
// time in binary, its highest bit first. The tick, the rule of which dots show and the
// hint captions all read it.
//
// Example: the row's minute run {Minute, Whole, 5, 6} shows 34 (100010) on dots 5..10,
// lighting 5 (32) and 9 (2), captioned "32" "16" "8" "4" "2" "1"; the columns' run
// {Second, Tens, 13, 3} shows the 5 of 56 (101) on dots 13..15.

#include <array>
#include <string>

namespace tessaron {

constexpr int kDotCount = 20;

enum class TimeField { Hour, Minute, Second };
enum class Digit { Whole, Tens, Units };  // which part of the field's value a run shows

struct DotRun {
  TimeField field;
  Digit digit;
  int first;  // the run's first dot, its highest bit
  int bits;

  int last() const { return first + bits - 1; }
  // The number the run shows for the field's value.
  int valueOf(int fieldValue) const {
    switch (digit) {
      case Digit::Tens:
        return fieldValue / 10;
      case Digit::Units:
        return fieldValue % 10;
      case Digit::Whole:
        break;
    }
    return fieldValue;
  }
  // The weight of dot `i` of the run, as its hint shows it.
  std::string caption(int i) const { return std::to_string(1 << (last() - i)); }
};

// The row: hour, minute and second in pure binary.
constexpr std::array<DotRun, 3> kRowRuns = {{
    {TimeField::Hour, Digit::Whole, 0, 5},
    {TimeField::Minute, Digit::Whole, 5, 6},
    {TimeField::Second, Digit::Whole, 11, 6},
}};

// The columns: one binary column for each decimal digit.
constexpr std::array<DotRun, 6> kColumnRuns = {{
    {TimeField::Hour, Digit::Tens, 0, 2},
    {TimeField::Hour, Digit::Units, 2, 4},
    {TimeField::Minute, Digit::Tens, 6, 3},
    {TimeField::Minute, Digit::Units, 9, 4},
    {TimeField::Second, Digit::Tens, 13, 3},
    {TimeField::Second, Digit::Units, 16, 4},
}};

// The last dot shown: every dot up to the last one of the runs shown (the seconds' runs
// only while the seconds are).
constexpr int lastDotOf(bool columns, bool seconds) {
  int last = 0;
  auto scan = [&](const auto& runs) {
    for (const DotRun& run : runs) {
      if (run.field == TimeField::Second && !seconds) continue;
      if (run.first + run.bits - 1 > last) last = run.first + run.bits - 1;
    }
  };
  if (columns) {
    scan(kColumnRuns);
  } else {
    scan(kRowRuns);
  }
  return last;
}

}  // namespace tessaron
