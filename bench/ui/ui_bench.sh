#!/usr/bin/env bash
# Window figures under Xvfb, every program measured in the same run, turn about, medians:
# exec to the window's MapNotify and to its first painted frame, resident memory, and key press
# to changed pixels (a wrong and a right key in a running kana lesson 1; any key in a bare Qt
# label that echoes it). An older build's kibiki can be given to compare with.
#   bench/ui/ui_bench.sh [BUILD_DIR] [RUNS] [PRESSES] [OLD_KIBIKI]
set -euo pipefail
BUILD=${1:-build}
RUNS=${2:-15}
PRESSES=${3:-150}
OLD=${4:-}
ROUNDS=3
probe=$BUILD/bench/ui/x11_probe
bare=$BUILD/bench/ui/bare_window
kibiki=$BUILD/src/ui/kibiki
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

disp=:$((90 + RANDOM % 9))
Xvfb "$disp" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
export DISPLAY=$disp
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export KIBIKI_SETTING_DIR=$work/Setting XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run
mkdir -p "$KIBIKI_SETTING_DIR" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

names=("bare Qt" "Kibiki")
cmds=("$bare" "$kibiki")
if [[ -n $OLD ]]; then names+=("older Kibiki"); cmds+=("$OLD"); fi
title() { [[ $1 == "$bare" ]] && echo "Bare Qt" || echo "Kibiki"; }
median() { sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "-"}'; }

# Start-up: one start of each program in turn, RUNS times.
for _ in $(seq "$RUNS"); do
  for i in "${!cmds[@]}"; do
    "$probe" startup "$(title "${cmds[$i]}")" -- "${cmds[$i]}" 2>/dev/null \
      | sed -E 's/.*window ([0-9.-]+) ms, first frame ([0-9.]+) ms, rss ([0-9.]+) MB/\1 \2 \3/' >> "$work/start$i"
  done
done

# Keys: ROUNDS rounds, each program in turn; a trainer starts afresh each round into a kana
# lesson 1 (home keys only), where Q is always wrong and the home keys are tried for right ones.
home=q,a,s,d,f,g,h,j,k,l,semicolon,colon,bracketright
per=$((PRESSES / ROUNDS))
for _ in $(seq "$ROUNDS"); do
  for i in "${!cmds[@]}"; do
    name=$(title "${cmds[$i]}")
    "${cmds[$i]}" >/dev/null 2>&1 &
    pid=$!
    # Mapped, not merely created: a window not yet shown cannot take the focus.
    for _ in $(seq 100); do xdotool search --onlyvisible --name "^$name\$" >/dev/null 2>&1 && break; sleep 0.1; done
    # No window manager under Xvfb: give the window the focus ourselves.
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$name\$" | head -1)"; sleep 0.2
    if [[ $name == Kibiki ]]; then
      xdotool key ctrl+n; sleep 0.5; xdotool key Return; sleep 0.5
      "$probe" latency "$name" "$per" q | grep '^sample' >> "$work/keys$i" || true
      # A lesson 1 is 45 keys: the right presses stay within one.
      "$probe" right "$name" $((per < 40 ? per : 40)) "$home" | grep '^sample' >> "$work/keys$i" || true
    else
      "$probe" latency "$name" "$per" q | grep '^sample' >> "$work/keys$i" || true
    fi
    kill "$pid"; wait "$pid" 2>/dev/null || true
  done
done

printf '| | start→window | start→first frame | resident memory | wrong key→pixel | right key→pixel |\n'
printf '|---|---|---|---|---|---|\n'
for i in "${!cmds[@]}"; do
  col() { cut -d' ' -f"$1" "$work/start$i" | median; }
  key() { awk -v k="$1" '$(NF-1) == k {print $NF}' "$work/keys$i" | median; }
  right="$(key right) ms"; [[ $i == 0 ]] && right="(any key: as wrong)"
  printf '| %s | %s ms | %s ms | %s MB | %s ms | %s |\n' "${names[$i]}" "$(col 1)" "$(col 2)" "$(col 3)" \
    "$(key wrong)" "$right"
done
printf '(%s starts each, %s rounds of keys, load average %s)\n' "$RUNS" "$ROUNDS" "$(cut -d' ' -f1-3 /proc/loadavg)"
