#!/usr/bin/env bash
# Builds the zone-file fuzz target (libFuzzer, ASan, UBSan) in build-fuzz/ and runs it for
# the given number of seconds (default 60), seeded with the fixture zone files and a few
# footer strings. Findings land in build-fuzz/ as crash-*, timeout-* or oom-* files.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
out="$root/build-fuzz"
mkdir -p "$out/corpus" "$out/seeds"

clang++ -std=c++20 -O1 -g -Wall -Wextra -Werror \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root" \
  "$root/tests/fuzz/tzif_fuzz.cpp" "$root"/platform/tzdb/*.cpp "$root/timezones/conversion.cpp" \
  -o "$out/tzif_fuzz"

fixtures="$root/tests/fixtures/zoneinfo"
while IFS= read -r file; do
  name=${file#"$fixtures/"}
  cp "$file" "$out/seeds/${name//\//_}"
done < <(find "$fixtures" -type f ! -path '*/source/*' ! -name '*.sh' ! -name '*.tab' ! -name '*.zi')
i=0
for footer in 'EST5EDT,M3.2.0,M11.1.0' '<-04>4<-03>,M9.1.6/24,M4.1.6/24' 'IST-1GMT0,M10.5.0,M3.5.0/1' \
              'EST5EDT4,0/0,J365/25' '<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45' 'AAA0BBB,59,J300/-167'; do
  printf '%s' "$footer" > "$out/seeds/footer_$i"
  i=$((i + 1))
done

"$out/tzif_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$out/" "$out/corpus" "$out/seeds"
