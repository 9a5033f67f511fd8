#!/usr/bin/env bash
# Wayland smoke test: kibiki as a native Wayland client under a headless sway, typed with wtype
# (the virtual-keyboard protocol). It starts as a fixed-size window, Ctrl+N opens the lesson
# dialog, romaji lesson 1 is typed without a mistake, and the history gets its line.
#   wayland_smoke.sh KIBIKI_BINARY SOURCE_DIR
# Exit 77 (skipped) when sway, swaymsg, wtype or Qt's Wayland plugin (qt6-wayland) is missing.
# sway refuses to run as root, so under root the compositor and the program run as "nobody", the
# program copied into the work folder: the build tree may be in a folder only root may enter.
# shellcheck source-path=SCRIPTDIR source=e2e_common.sh
. "${BASH_SOURCE[0]%/*}/e2e_common.sh" "$1" "$2" wayland sway swaymsg wtype iconv || exit 1
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-*.so" >/dev/null ||
  { echo "wayland: qt6-wayland not installed, skipped"; exit 77; }

chmod 755 "$work"
as_user=()
if [ "$(id -u)" -eq 0 ]; then as_user=(runuser -u nobody --); fi
fail() { e2e_fail "$@"; }
e2e_windows() {  # the compositor's windows: names and app ids, once sway answers
  [ -n "${ipc:-}" ] || { echo "(sway never answered)"; return; }
  tree | grep -E '"(name|app_id|type|visible|focused)": ' || echo "(no answer from sway)"
}
e2e_settings=$work/Setting
e2e_logs=("$work/kibiki.log" "$work/sway.log")

mkdir -p "$work/home" "$work/run" "$work/Setting" "$work/pids"
chmod 700 "$work/run"
# A user who practises romaji input (the file a new user's choice of that mode leaves).
printf '%s\r\n' Type=1 HomePos=1 HomeColor=0 RomanMode=1 Font=3 Color=1 count=0 "KanaSepa=｜" \
  ColorL0=0 ColorB0=65535 ColorLG0=255 ColorL1=0 ColorB1=16776960 ColorLG1=255 \
  ColorL2=0 ColorB2=12632256 ColorLG2=255 ColorL3=0 ColorB3=65280 ColorLG3=255 \
  | iconv -f UTF-8 -t CP932 > "$work/Setting/default.dat"
printf 'xwayland disable\noutput HEADLESS-1 resolution 1280x1024\n' > "$work/sway.config"
if [ ${#as_user[@]} -gt 0 ]; then
  chown -R nobody:nogroup "$work/home" "$work/run" "$work/Setting" "$work/pids"
  install -m 755 "$KIBIKI" "$work/kibiki"
  KIBIKI=$work/kibiki
fi

env_common=(HOME="$work/home" XDG_RUNTIME_DIR="$work/run" PATH="/usr/bin:/bin" LC_ALL=C.UTF-8)
start() {  # NAME [VAR=VALUE...] COMMAND...: runs as the test user, its pid in $work/pids/NAME
  local name=$1
  shift
  "${as_user[@]}" env -i "${env_common[@]}" \
    sh -c 'echo $$ > "$0"; exec env "$@"' "$work/pids/$name" "$@" >"$work/$name.log" 2>&1 &
  pids+=($!)
}
# Keeps trying COMMAND for up to SECS seconds.
wait_for() {  # SECS COMMAND...
  local secs=$1 i
  shift
  for ((i = 0; i < secs * 10; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

start sway WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway --config "$work/sway.config"
socket_up() { compgen -G "$work/run/wayland-*.lock" >/dev/null && compgen -G "$work/run/sway-ipc.*.sock" >/dev/null; }
wait_for 30 socket_up || fail "sway did not start"
wl=$(basename "$(compgen -G "$work/run/wayland-*.lock" | head -1)" .lock)
ipc=$(compgen -G "$work/run/sway-ipc.*.sock" | head -1)

in_session() { "${as_user[@]}" env -i "${env_common[@]}" WAYLAND_DISPLAY="$wl" SWAYSOCK="$ipc" "$@"; }
tree() { in_session swaymsg -r -t get_tree; }
has_window() { tree | grep "\"name\": \"$1\"" >/dev/null; }
window() { wait_for 30 has_window "$1" || fail "no window \"$1\""; }
no_window() { ! has_window "$1"; }
gone() { wait_for 30 no_window "$1" || fail "window \"$1\" did not close"; }
keys() { in_session wtype -s 300 "$@" || fail "wtype $*"; }

start kibiki WAYLAND_DISPLAY="$wl" QT_QPA_PLATFORM=wayland KIBIKI_SETTING_DIR="$work/Setting" \
  "$KIBIKI"
wait_for 60 eval 'tree | grep "\"app_id\": \"kibiki\"" >/dev/null' || fail "kibiki opened no Wayland window"
window Kibiki
# sway floats a window whose least and greatest sizes agree: the size is fixed.
tree | grep '"type": "floating_con"' >/dev/null || fail "the main window is tiled, not of fixed size"

keys -M ctrl n -m ctrl
window "レッスンの選択"
keys -k Return  # Lesson1 is chosen when the dialog opens
gone "レッスンの選択"

text=$(awk -F'\t' '$1 >= 41400 && $1 <= 41419 { printf "%s", tolower($2) }' "$SRC/resources/lessons.tsv")
[ -n "$text" ] || fail "no lesson text"
keys -d 5 "$text"
window "レッスン終了"

history="$work/Setting/default.hst"
[ -f "$history" ] || fail "no history file"
[ "$(wc -l < "$history")" -eq 1 ] || fail "history has $(wc -l < "$history") lines, expected 1"
line=$(iconv -f CP932 -t UTF-8 < "$history" | tr -d '\r')
IFS=, read -r date lesson speed accuracy missed <<< "$line"
[[ $date == "$(date +'%Y年%m月%d日')"* ]] || fail "history date '$date'"
[ "$lesson" = 11 ] || fail "history lesson '$lesson', expected 11 (romaji lesson 1)"
[[ $speed =~ ^[0-9]+$ ]] && [ "$speed" -gt 0 ] || fail "history speed '$speed'"
[ "$accuracy" = 100 ] || fail "history accuracy '$accuracy': keys were lost or misjudged"
[ -z "${missed// /}" ] || fail "history lists missed keys '$missed'"
echo "wayland: romaji lesson 1 typed (${#text} keys) in a native Wayland window; history: $line"
