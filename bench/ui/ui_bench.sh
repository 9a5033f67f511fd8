#!/usr/bin/env bash
# Window figures under Xvfb: start to first paint and resident memory (Kibiki and a bare Qt
# window, median of RUNS), and key press to changed pixels in a running kana lesson.
#   bench/ui/ui_bench.sh [BUILD_DIR] [RUNS] [PRESSES]
set -euo pipefail
BUILD=${1:-build}
RUNS=${2:-10}
PRESSES=${3:-200}
probe=$BUILD/bench/ui/x11_probe
kibiki=$BUILD/src/ui/kibiki
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

disp=:$((90 + RANDOM % 9))
Xvfb "$disp" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
export DISPLAY=$disp
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export KIBIKI_SETTING_DIR=$work/Setting XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work
mkdir -p "$KIBIKI_SETTING_DIR"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
startup() {  # NAME CMD -> "paint_ms rss_mb" lines
  local name=$1; shift
  for _ in $(seq "$RUNS"); do
    "$probe" startup "$name" -- "$@" 2>/dev/null | sed -E 's/.*first paint ([0-9.]+) ms, rss ([0-9.]+) MB/\1 \2/'
  done
}
startup "Bare Qt" "$BUILD/bench/ui/bare_window" > "$work/bare"
startup "Kibiki" "$kibiki" > "$work/kibiki"
printf 'first paint, median of %s: bare Qt %s ms, Kibiki %s ms\n' "$RUNS" \
  "$(cut -d' ' -f1 "$work/bare" | median)" "$(cut -d' ' -f1 "$work/kibiki" | median)"
printf 'resident memory, median: bare Qt %s MB, Kibiki %s MB\n' \
  "$(cut -d' ' -f2 "$work/bare" | median)" "$(cut -d' ' -f2 "$work/kibiki" | median)"

# A kana lesson 1 (home keys only): Q is always a wrong key, so every press repaints the miss
# counter and the sunken cap.
"$kibiki" >/dev/null 2>&1 &
for _ in $(seq 100); do xdotool search --name '^Kibiki$' >/dev/null 2>&1 && break; sleep 0.1; done
# No window manager under Xvfb: give the window the focus ourselves.
xdotool windowfocus --sync "$(xdotool search --name '^Kibiki$' | head -1)"
xdotool key ctrl+n; sleep 0.5; xdotool key Return; sleep 0.5
"$probe" latency Kibiki "$PRESSES" q
