#!/usr/bin/env bash
# Start-up time and resident memory of the clock beside the minimal Qt clock (a
# label set by a timer, BUILD_DIR/minimal_clock), built the same way, under a
# private Xvfb. Four more windows show where the difference lies: a bare window,
# one with a line of text (the font system), one with the clock's menu bar and
# toolbar, its pictures drawn from their SVG files, but no clock (BUILD_DIR/widgets_window:
# what Qt's own widgets cost), and the same with filled squares for pictures
# (BUILD_DIR/plain_widgets_window: what Qt's vector drawing adds).
# The clock's own phases come from BUILD_DIR/tessaron_marks, the clock with timing
# marks: exec -> main -> QApplication -> widgets built -> window state -> shown ->
# first frame,
# and the look for the zone catalogue after it (the catalogue is read at the zone option).
#
# Usage: bench/startup_memory.sh BUILD_DIR [RUNS]     (RUNS defaults to 10)
#
# Start-up = from just before the process is started until the X server maps
# its top-level window (no window manager, so mapped = viewable). Memory =
# VmRSS and VmHWM from /proc/PID/status about 2 s later.
# The project aims for start-up and memory within 1.03 of the window with only the
# clock's widgets (a Qt clock's floor); this prints each figure beside its aim and
# whether it holds, and fails only when it cannot measure.
set -euo pipefail
export LC_ALL=C   # EPOCHREALTIME with a "." decimal point

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 BUILD_DIR [RUNS]" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
runs=${2:-10}
settle=2
for exe in tessaron tessaron_marks minimal_clock minimal_window minimal_text_window widgets_window \
  plain_widgets_window; do
  [[ -x "$build/$exe" ]] || { echo "missing $build/$exe" >&2; exit 2; }
done
for tool in Xvfb xdotool xev; do
  command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tessaron-bench.XXXXXX")
xvfb_pid=
xev_pid=
app_pid=

cleanup() {
  if [[ -n $app_pid ]]; then kill -KILL "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
  if [[ -n $xev_pid ]]; then kill "$xev_pid" 2>/dev/null || true; wait "$xev_pid" 2>/dev/null || true; fi
  if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -dpi 96 -noreset \
  3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 500); do
  [[ -s $work/display ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.02
done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
display=":$(tr -d '[:space:]' <"$work/display")"
export DISPLAY=$display   # for xev and xdotool

# xev reports each top-level window's MapNotify the moment it happens; this
# shell blocks on the pipe and stamps the event when it arrives, so the
# measurement costs no polling load beside the program being measured.
mkfifo "$work/events"
xev -root -event substructure >"$work/events" 2>/dev/null &
xev_pid=$!
exec {events}<"$work/events"
sleep 0.5   # let xev select its events before the first program starts

drain_events() {
  local line
  while read -r -t 0.1 -u "$events" line; do :; done || true
}

# Waits for a MapNotify of a top-level window titled $1 after now; prints the
# time it arrived (EPOCHREALTIME, seconds with microseconds).
wait_for_map() {
  local title=$1 deadline line stamp win left
  deadline=$((${EPOCHREALTIME/./} + 20000000))
  while :; do
    left=$(((deadline - ${EPOCHREALTIME/./}) / 1000))
    ((left > 0)) || return 1
    read -r -t "$((left / 1000)).$(printf '%03d' $((left % 1000)))" -u "$events" line || return 1
    [[ $line == MapNotify* ]] || continue
    stamp=$EPOCHREALTIME
    # The next line names the window: "event 0x.., window 0x.., override NO"
    read -r -t 1 -u "$events" line || return 1
    [[ $line =~ window\ (0x[0-9a-f]+),\ override\ NO ]] || continue
    win=$((BASH_REMATCH[1]))
    if [[ $(xdotool getwindowname "$win" 2>/dev/null) == "$title" ]]; then
      echo "$stamp"
      return 0
    fi
  done
}

# One run: prints "startup_us rss_kib hwm_kib". Each run gets a fresh folder
# with a fresh copy, so the clock always starts as on its first start.
measure() {
  local exe=$1 title=$2 run_dir t0 t1 rss hwm
  run_dir=$(mktemp -d "$work/run.XXXXXX")
  cp "$build/$exe" "$run_dir/"
  # The clock's own files, so that its start-up sound really plays.
  if [[ $exe == tessaron* ]]; then
    for f in tessaron_sound ding.wav smallworld.wav Tessa.hlp TSShortcut.hlp tessaron_browser; do
      [[ -e $build/$f ]] && cp "$build/$f" "$run_dir/"
    done
  fi
  mkdir -m 700 "$run_dir/runtime"
  drain_events
  t0=$EPOCHREALTIME
  env -i PATH=/usr/bin:/bin HOME="$run_dir" XDG_RUNTIME_DIR="$run_dir/runtime" \
    DISPLAY="$display" LANG=C.UTF-8 QT_QPA_PLATFORM=xcb \
    "$run_dir/$exe" >"$run_dir/log" 2>&1 &
  app_pid=$!
  if ! t1=$(wait_for_map "$title"); then
    echo "$exe mapped no window titled '$title' within 20 s; log:" >&2
    cat "$run_dir/log" >&2
    exit 1
  fi
  sleep "$settle"
  if ! kill -0 "$app_pid" 2>/dev/null; then
    echo "$exe exited during the run; log:" >&2; cat "$run_dir/log" >&2; exit 1
  fi
  if [[ $exe == tessaron_marks ]]; then
    # Each mark from the start, in microseconds, in the order of $marks.
    for m in $marks; do
      awk -v m="$m" -v t0="${t0/./}" '$1 == "mark" && $2 == m {print $3 - t0}' "$run_dir/log"
    done | paste -sd' ' >>"$work/phases.txt"
    for m in $marks; do
      awk -v m="$m" '$1 == "mark" && $2 == m {print $4}' "$run_dir/log"
    done | paste -sd' ' >>"$work/heap.txt"
  fi
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$app_pid/status")
  hwm=$(awk '/^VmHWM:/ {print $2}' "/proc/$app_pid/status")
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  rm -rf "$run_dir"
  echo "$((${t1/./} - ${t0/./})) $rss $hwm"
}

marks="main application widgets window shown first-frame catalogue"
: >"$work/phases.txt"
: >"$work/heap.txt"

# One unmeasured run each warms the page cache and font caches alike for both.
measure tessaron Tessaron >/dev/null
measure minimal_clock "Minimal clock" >/dev/null
measure minimal_window Minimal >/dev/null
measure minimal_text_window "Minimal text" >/dev/null
measure widgets_window Widgets >/dev/null
measure plain_widgets_window Widgets >/dev/null
: >"$work/phases.txt"
: >"$work/heap.txt"

# Interleaved, so any drift in machine load falls on both programs alike.
: >"$work/tessaron.txt"
: >"$work/clock.txt"
: >"$work/marked.txt"
: >"$work/minimal.txt"
: >"$work/text.txt"
: >"$work/widgets.txt"
: >"$work/plain.txt"
for ((i = 1; i <= runs; i++)); do
  measure tessaron Tessaron >>"$work/tessaron.txt"
  measure minimal_clock "Minimal clock" >>"$work/clock.txt"
  measure tessaron_marks Tessaron >>"$work/marked.txt"
  measure minimal_window Minimal >>"$work/minimal.txt"
  measure minimal_text_window "Minimal text" >>"$work/text.txt"
  measure widgets_window Widgets >>"$work/widgets.txt"
  measure plain_widgets_window Widgets >>"$work/plain.txt"
done

median() { sort -n | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else print (v[NR/2]+v[NR/2+1])/2}'; }
column_of() { awk -v c="$1" '{print $c}' "$2"; }

stats() {  # file -> "startup_ms min_ms max_ms rss_mib hwm_mib"
  local f=$1 s lo hi r h
  s=$(column_of 1 "$f" | median)
  lo=$(column_of 1 "$f" | sort -n | head -1)
  hi=$(column_of 1 "$f" | sort -n | tail -1)
  r=$(column_of 2 "$f" | median)
  h=$(column_of 3 "$f" | median)
  awk -v s="$s" -v lo="$lo" -v hi="$hi" -v r="$r" -v h="$h" \
    'BEGIN {printf "%.1f %.1f %.1f %.2f %.2f\n", s/1000, lo/1000, hi/1000, r/1024, h/1024}'
}

read -r ts tlo thi tr th < <(stats "$work/tessaron.txt")
read -r cs clo chi cr ch < <(stats "$work/clock.txt")
read -r ms mlo mhi mr mh < <(stats "$work/minimal.txt")
read -r xs xlo xhi xr xh < <(stats "$work/text.txt")
read -r ws wlo whi wr wh < <(stats "$work/widgets.txt")
read -r ps plo phi pr ph < <(stats "$work/plain.txt")

echo "Medians of $runs runs each (Xvfb $display; memory read ${settle} s after the window was mapped)"
printf '%-16s %12s %17s %11s %11s\n' "" "start-up ms" "(min..max)" "VmRSS MiB" "VmHWM MiB"
printf '%-16s %12s %17s %11s %11s\n' tessaron "$ts" "($tlo..$thi)" "$tr" "$th"
printf '%-16s %12s %17s %11s %11s\n' minimal_clock "$cs" "($clo..$chi)" "$cr" "$ch"
printf '%-16s %12s %17s %11s %11s\n' minimal_window "$ms" "($mlo..$mhi)" "$mr" "$mh"
printf '%-16s %12s %17s %11s %11s\n' "minimal + text" "$xs" "($xlo..$xhi)" "$xr" "$xh"
printf '%-16s %12s %17s %11s %11s\n' "clock's widgets" "$ws" "($wlo..$whi)" "$wr" "$wh"
printf '%-16s %12s %17s %11s %11s\n' "plain pictures" "$ps" "($plo..$phi)" "$pr" "$ph"
awk -v ts="$ts" -v cs="$cs" -v tr="$tr" -v cr="$cr" -v th="$th" -v ch="$ch" 'BEGIN {
  rs = ts / cs; rr = tr / cr; rh = th / ch
  printf "%-16s %12.2f %17s %11.2f %11.2f\n", "ratio to clock", rs, "", rr, rh
}'
awk -v ts="$ts" -v xs="$xs" -v tr="$tr" -v xr="$xr" -v ws="$ws" -v wr="$wr" -v mr="$mr" \
    -v th="$th" -v wh="$wh" -v ps="$ps" -v pr="$pr" 'BEGIN {
  printf "against the window with text: start-up %.2f, VmRSS %.2f\n", ts / xs, tr / xr
  printf "against the clock'"'"'s widgets with plain pictures: start-up %.2f, VmRSS %.2f\n", ts / ps, tr / pr
  printf "against the clock'"'"'s widgets alone: start-up %.2f, VmRSS %.2f (those widgets: %.2f of a bare window)\n",
    ts / ws, tr / wr, wr / mr
  aim = 1.03
  printf "aim: start-up %.2f x the clock'"'"'s widgets (at most %.2f: %s), VmRSS %.2f (%s), VmHWM %.2f (%s)\n",
    ts / ws, aim, (ts / ws <= aim ? "holds" : "DOES NOT HOLD"),
    tr / wr, (tr / wr <= aim ? "holds" : "DOES NOT HOLD"),
    th / wh, (th / wh <= aim ? "holds" : "DOES NOT HOLD")
}'
# The phases: the median of each mark, and of the mapped window, from exec.
read -r ks kslo kshi kr kh < <(stats "$work/marked.txt")
echo "the clock's start-up phases (tessaron_marks, medians, ms from exec; heap in use, KiB):"
i=0
for m in $marks; do
  i=$((i + 1))
  v=$(awk -v c="$i" '{print $c}' "$work/phases.txt" | median)
  h=$(awk -v c="$i" '{print $c}' "$work/heap.txt" | median)
  printf '  %-12s %8.1f %8s\n' "$m" "$(awk -v v="$v" 'BEGIN {print v / 1000}')" "$h"
  if [[ $m == shown ]]; then printf '  %-12s %8.1f\n' mapped "$ks"; fi
done
# Every figure is reported: a missed aim is no failure to measure.
exit 0
