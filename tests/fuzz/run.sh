#!/usr/bin/env bash
# Builds the fuzz targets (libFuzzer, ASan, UBSan) in build-fuzz/ and runs each named one
# (default: all) for the given number of seconds (default 60), or for RUNS inputs when
# RUNS is set. Seeds: the fixture zone files and a few footer strings for the zone-file
# reader, the fixture zone.tab and tzdata.zi for the zone table, saved lines for the
# preferences, the program's sounds for the .WAV reader. Findings land in build-fuzz/ as
# crash-*, timeout-* or oom-* files.
#
# Usage: tests/fuzz/run.sh [seconds] [tzif_fuzz|preferences_fuzz|zone_table_fuzz|wav_fuzz ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(tzif_fuzz preferences_fuzz zone_table_fuzz wav_fuzz)
out="$root/build-fuzz"

build() {
  local name=$1
  shift
  clang++ -std=c++20 -O1 -g -Wall -Wextra -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root" \
    -I"$root/platform/include" -I"$root/platform/tzdb/include" -I"$root/timezones/include" \
    -I"$root/core/include" -I"$root/layout/include" -I"$root/commands/include" \
    -I"$root/i18n/include" \
    "$root/tests/fuzz/$name.cpp" "$@" -o "$out/$name"
}

seed() {
  local name=$1
  mkdir -p "$out/$name-corpus" "$out/$name-seeds"
  case $name in
    tzif_fuzz)
      local fixtures="$root/tests/fixtures/zoneinfo" file base i=0
      while IFS= read -r file; do
        base=${file#"$fixtures/"}
        cp "$file" "$out/$name-seeds/${base//\//_}"
      done < <(find "$fixtures" -type f ! -path '*/source/*' ! -name '*.sh' ! -name '*.tab' ! -name '*.zi')
      for footer in 'EST5EDT,M3.2.0,M11.1.0' '<-04>4<-03>,M9.1.6/24,M4.1.6/24' 'IST-1GMT0,M10.5.0,M3.5.0/1' \
                    'EST5EDT4,0/0,J365/25' '<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45' 'AAA0BBB,59,J300/-167'; do
        printf '%s' "$footer" > "$out/$name-seeds/footer_$i"
        i=$((i + 1))
      done
      ;;
    zone_table_fuzz)
      cp "$root/tests/fixtures/zoneinfo/zone.tab" "$root/tests/fixtures/zoneinfo/tzdata.zi" "$out/$name-seeds/"
      ;;
    preferences_fuzz)
      printf '255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,"smallworld.wav",#FALSE#\r\n' \
        > "$out/$name-seeds/example"
      printf '65280,-2147483633,16711680,#TRUE#,#TRUE#,#TRUE#,#TRUE#,1234.5,4322.5,"tick.wav",#TRUE#' \
        > "$out/$name-seeds/every_option"
      printf ' -1e3 , .5,2E+2,#FALSE#,#TRUE#,#FALSE#,#TRUE#,-0.0,-2147483520,"a,b",#FALSE#\n' \
        > "$out/$name-seeds/odd_numbers"
      ;;
    wav_fuzz)
      cp "$root/data/ding.wav" "$out/$name-seeds/"
      head -c 4096 "$root/data/smallworld.wav" > "$out/$name-seeds/smallworld_head.wav"
      ;;
  esac
}

mkdir -p "$out"
for name in "${targets[@]}"; do
  case $name in
    tzif_fuzz) build "$name" "$root"/platform/tzdb/*.cpp "$root/timezones/conversion.cpp" ;;
    preferences_fuzz)  # the reader lives beside the save command, which needs the whole core
      mapfile -t core < <(find "$root/core" "$root/layout" "$root/timezones" "$root/commands" -name '*.cpp')
      build "$name" "${core[@]}" "$root/i18n/i18n.cpp" ;;
    zone_table_fuzz) build "$name" "$root"/platform/tzdb/*.cpp "$root/timezones/conversion.cpp" ;;
    wav_fuzz) build "$name" "$root/platform/qt/sound_helper/wav.cpp" "$root/i18n/i18n.cpp" ;;
    *) echo "unknown target $name" >&2; exit 2 ;;
  esac
  seed "$name"
done

for name in "${targets[@]}"; do
  limit=(-max_total_time="$seconds")
  [[ -n ${RUNS:-} ]] && limit=(-runs="$RUNS")
  echo "== $name"
  "$out/$name" "${limit[@]}" -max_len=8192 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$out/$name-" "$out/$name-corpus" "$out/$name-seeds"
done
