#!/usr/bin/env bash
# End to end: the real kibiki under Xvfb, typed with real X key events (xdotool). A kana lesson
# and a romaji lesson go from Ctrl+N to "やめる" with some wrong keys on purpose; then the history
# lines and the settings file are checked byte for byte, and the practice log for every key judged.
# Then a second user is made through the user dialogs and chosen, types a lesson, finds it in the
# history dialog and deletes the history.
# Then that user registers a UTF-8 lesson file through the settings dialog and types it. Last,
# with "IMEと同じつづりをすべて受け付ける" turned on, the same file as a romaji lesson is typed in
# an input method's own spellings (CI, LTU, N') without a miss.
#   e2e_kibiki.sh KIBIKI_BINARY SOURCE_DIR
# Exit 77 (skipped) when Xvfb, xdotool or xclip is missing.
# shellcheck source-path=SCRIPTDIR source=e2e_common.sh
. "${BASH_SOURCE[0]%/*}/e2e_common.sh" "$1" "$2" e2e Xvfb xdotool xclip iconv || exit 1
fail() { e2e_fail "$@"; }
e2e_windows() { e2e_shown_windows; }
e2e_xvfb
e2e_home
e2e_logs=("$work/kibiki.log")

"$KIBIKI" >"$work/kibiki.log" 2>&1 &
kibiki_pid=$!
pids+=($kibiki_pid)

window() { e2e_window "$1"; }  # NAME -> window id, waiting for it to be shown
shown() { xdotool search --onlyvisible --name '.*' 2>/dev/null || true; }  # ids of shown windows
new_window() {  # IDS -> the id of a window shown that is not among IDS, waiting for it
  local w=""
  for _ in $(seq 150); do
    w=$(shown | grep -vxF -e "$1" | head -1) && [ -n "$w" ] && break
    sleep 0.1
  done
  [ -n "$w" ] || fail "no new window"
  echo "$w"
}
gone() { e2e_gone "$1"; }  # NAME: waits until no such window is shown
main=$(window Kibiki)
xdotool windowfocus --sync "$main"
sleep 0.3

# The built-in lesson texts, in the order lesson 1 asks them.
lesson() {  # FIRST LAST
  awk -F'\t' -v a="$1" -v b="$2" '$1 >= a && $1 <= b { print $2 }' "$SRC/resources/lessons.tsv"
}

romaji_keys() {
  local s=$1 i c
  for ((i = 0; i < ${#s}; i++)); do
    c=${s:i:1}
    case "$c" in
      ';') keys+=(semicolon) ;;
      "'") keys+=(apostrophe) ;;
      [A-Z]) keys+=("${c,,}") ;;
      *) fail "no key for $c" ;;
    esac
    strokes=$((strokes + 1))
  done
}

stamp() { date +'%Y年%m月%d日 %H:%M'; }
now() { date +%s.%N; }
run_lesson() {  # KIND FIRST LAST WRONG1 WRONG2 WRONG3 -> sets date_a/date_b, t_* and strokes
  local kind=$1 first=$2 last=$3 q
  shift 3
  local -a texts
  mapfile -t texts < <(lesson "$first" "$last")
  strokes=0
  xdotool key ctrl+n
  window "レッスンの選択" >/dev/null
  xdotool key Return  # Lesson1 is chosen when the dialog opens
  gone "レッスンの選択"
  xdotool windowfocus --sync "$main"
  # Two wrong keys before the first question's first key, one before the second question's.
  date_a=$(stamp); t_first0=$(now)
  xdotool key "$1"
  t_first1=$(now); date_b=$(stamp)
  xdotool key "$2"
  keys=()
  "${kind}_keys" "${texts[0]}"
  keys+=("$3")
  for q in "${texts[@]:1}"; do "${kind}_keys" "$q"; done
  t_last0=$(now)
  xdotool key --delay 70 "${keys[@]}"
  t_last1=$(now)
  local dlg
  dlg=$(window "レッスン終了")
  t_last1=$(now)
  # "やめる": the third button of the bottom row.
  eval "$(xdotool getwindowgeometry --shell "$dlg")"
  local dx dy
  dx=$(awk -v w="$WIDTH" 'BEGIN { printf "%d", w * (146 + 30) / 220 }')
  dy=$(awk -v h="$HEIGHT" 'BEGIN { printf "%d", h * (118 + 7) / 140 }')
  xdotool mousemove --sync $((X + dx)) $((Y + dy)) click 1
  gone "レッスン終了"
  # Without a window manager nobody gives the focus back to the main window.
  xdotool windowfocus --sync "$main"
  sleep 0.2
}

hst=$KIBIKI_SETTING_DIR/default.hst
check_record() {  # LINE_NO LESSON_KEY MISSED
  local no=$1 key=$2 missed=$3 line date speed rest
  line=$(sed -n "${no}p" "$hst" | iconv -f CP932 -t UTF-8) || fail "history not CP932"
  line=${line%$'\r'}
  date=${line%%,*}
  [ "$date" = "$date_a" ] || [ "$date" = "$date_b" ] || fail "record $no: date '$date', expected '$date_a'"
  rest=${line#*,}; rest=${rest#*,}
  speed=${rest%%,*}
  # Speed = keystrokes per minute over the whole seconds from the first key to the last.
  awk -v s="$speed" -v k="$strokes" -v lo="$(awk -v a="$t_last0" -v b="$t_first1" 'BEGIN{print int(a-b)}')" \
      -v hi="$(awk -v a="$t_last1" -v b="$t_first0" 'BEGIN{print int(a-b)}')" \
      'BEGIN { if (lo < 1) lo = 1; ok = s ~ /^[0-9]+$/ && s >= int(k*60/hi) && s <= int(k*60/lo + 1); exit !ok }' \
    || fail "record $no: speed '$speed' for $strokes keystrokes"
  local accuracy
  accuracy=$(awk -v k="$strokes" 'BEGIN { printf "%.0f", (k - 3) / k * 100 }')
  printf '%s,%s,%s,%s,%s\r\n' "$date" "$key" "$speed" "$accuracy" "$missed" | iconv -f UTF-8 -t CP932 > "$work/expected"
  sed -n "${no}p" "$hst" > "$work/actual"
  cmp -s "$work/expected" "$work/actual" || {
    od -c "$work/expected" | head; od -c "$work/actual" | head; fail "record $no differs"; }
}

# 1. Kana input, lesson 1 (a new user practises kana input). Wrong: た and ぬ while ま is due,
#    ぬ while は is due (the first kana of the second question).
run_lesson kana 41100 41119 q 1 1
check_record 1 10 "ま は  2 1 "
kana_strokes=$strokes

# 2. Romaji input, chosen from the menu: 設定 > 練習モード > ローマ字入力練習. Every wrong key
#    comes while A is due (the second question starts with A too).
for k in alt+o Return Down Return; do xdotool key "$k"; sleep 0.3; done
run_lesson romaji 41400 41419 q z x
check_record 2 11 "A  3 "
[ "$(wc -l < "$KIBIKI_SETTING_DIR/default.hst")" -eq 2 ] || fail "history has more than two records"

# The practice log has both runs, every key judged as typed: the right keys and the three wrong.
check_log() {  # DB EXPECTED: one "mode source ending right wrong first_wrong_due" line per run, oldest first
  local got
  got=$(python3 - "$1" <<'PY' 2>&1
import sqlite3, sys
db = sqlite3.connect("file:" + sys.argv[1] + "?mode=ro", uri=True)
for rid, mode, source, ending, misses in db.execute(
        "SELECT id, mode, source, ending, misses FROM run ORDER BY id"):
    right, wrong = db.execute("SELECT SUM(ok), SUM(1 - ok) FROM keystroke WHERE run = ?", (rid,)).fetchone()
    # Romaji letters have no kana unit: the letter due tells.
    due = db.execute("SELECT unit, due FROM keystroke WHERE run = ? AND ok = 0 ORDER BY seq LIMIT 1", (rid,)).fetchone()
    print(mode, source, ending, right, wrong, misses, (due[0] or chr(due[1])) if due else "-")
PY
) || true
  [ "$got" = "$2" ] || { printf 'log reads:\n%s\nexpected:\n%s\n' "$got" "$2"; fail "practice log differs"; }
}
check_log "$KIBIKI_SETTING_DIR/default.db" "0 built-in finished $kana_strokes 3 3 ま
1 built-in finished $strokes 3 3 A"

# 3. The settings file: a new user's, with the romaji mode saved.
printf '%s\r\n' Type=1 HomePos=1 HomeColor=0 RomanMode=1 Font=3 Color=1 count=0 "KanaSepa=｜" \
  ColorL0=0 ColorB0=65535 ColorLG0=255 ColorL1=0 ColorB1=16776960 ColorLG1=255 \
  ColorL2=0 ColorB2=12632256 ColorLG2=255 ColorL3=0 ColorB3=65280 ColorLG3=255 \
  | iconv -f UTF-8 -t CP932 > "$work/expected.dat"
cmp "$work/expected.dat" "$KIBIKI_SETTING_DIR/default.dat" || {
  od -c "$KIBIKI_SETTING_DIR/default.dat" | head -20; fail "settings file differs"; }

click() {  # WINDOW X Y WIDTH HEIGHT: clicks the dialog-unit point (X, Y) of a WIDTH×HEIGHT dialog
  local X Y WIDTH HEIGHT SCREEN WINDOW prev="" cur=""
  # A dialog is placed over its parent just after it is shown: click once it stays put.
  for _ in $(seq 50); do
    cur=$(xdotool getwindowgeometry --shell "$1")
    [ "$cur" = "$prev" ] && break
    prev=$cur
    sleep 0.1
  done
  eval "$cur"
  xdotool mousemove --sync $((X + WIDTH * $2 / $4)) $((Y + HEIGHT * $3 / $5)) click 1
}
message_box() {  # -> the id of a shown message box (captioned "Kibiki" like the main window)
  local w
  for _ in $(seq 300); do
    w=$(xdotool search --onlyvisible --name '^Kibiki$' 2>/dev/null | grep -vx "$main" | head -1) && [ -n "$w" ] && break
    sleep 0.1
  done
  [ -n "$w" ] || fail "no message box"
  echo "$w"
}

# Fills the focused line edit with TEXT through the clipboard and waits until the field reads it
# (select all puts the field's text in the PRIMARY selection). Not `xdotool type`: for each
# character the keyboard map lacks (any kana or kanji) it binds a spare key, presses it and unbinds
# it at once, and a program that reads the changed map only after the unbinding gets no character.
fill_field() {  # TEXT
  local got=""
  echo -n none | xclip -selection primary
  printf %s "$1" | xclip -selection clipboard
  xdotool key ctrl+a ctrl+v ctrl+a
  for _ in $(seq 150); do
    got=$(xclip -o -selection primary 2>/dev/null) && [ "$got" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the field reads '$got', not '$1'"
}

# 4. A second user through the dialogs: ユーザ > 選択(S), "新規", a Japanese name, OK, then OK
#    chooses the new user, whose settings file is a new user's.
xdotool key alt+u; sleep 0.3; xdotool key Return
sel=$(window "ユーザの選択")
click "$sel" 58 43 219 57  # "新規"
add=$(window "新規ユーザ")
xdotool windowfocus --sync "$add"
fill_field "花子"
xdotool key Return
gone "新規ユーザ"
# The dialog is gone from the screen a moment before the program writes the file.
for _ in $(seq 100); do [ -f "$KIBIKI_SETTING_DIR/花子.dat" ] && break; sleep 0.1; done
[ -f "$KIBIKI_SETTING_DIR/花子.dat" ] || fail "no settings file for the new user"
xdotool windowfocus --sync "$sel"
xdotool key Return
gone "ユーザの選択"
xdotool windowfocus --sync "$main"
sleep 0.2
grep -q "User=花子" "$XDG_CONFIG_HOME/Tobira software/Kibiki.conf" || {
  cat "$XDG_CONFIG_HOME/Tobira software/Kibiki.conf"; fail "the profile does not name the new user"; }

# 5. The new user practises kana input (a new user's mode) and the run goes to their history.
hst=$KIBIKI_SETTING_DIR/花子.hst
run_lesson kana 41100 41119 q 1 1
check_record 1 10 "ま は  2 1 "
[ "$(wc -l < "$hst")" -eq 1 ] || fail "the new user's history has more than one record"
[ "$(wc -l < "$KIBIKI_SETTING_DIR/default.hst")" -eq 2 ] || fail "the first user's history changed"
# Loaded after default, the new user's file took default's separator on its first save.
printf '%s\r\n' Type=0 HomePos=1 HomeColor=0 RomanMode=1 Font=3 Color=1 count=0 "KanaSepa=｜" \
  ColorL0=0 ColorB0=65535 ColorLG0=255 ColorL1=0 ColorB1=16776960 ColorLG1=255 \
  ColorL2=0 ColorB2=12632256 ColorLG2=255 ColorL3=0 ColorB3=65280 ColorLG3=255 \
  | iconv -f UTF-8 -t CP932 > "$work/expected.dat"
cmp "$work/expected.dat" "$KIBIKI_SETTING_DIR/花子.dat" || fail "the new user's settings file differs"

# 6. ユーザ > 履歴表示(H): the row is there (Ctrl+C copies it as the list shows it), its missed
#    keys open, and "履歴削除" after Yes deletes the file, empties the list and the
#    practice log.
xdotool key alt+u; sleep 0.3; xdotool key Down Return
his=$(window "履歴表示")
# A click or key that reaches a dialog still settling on a loaded machine may do nothing: the row
# is chosen and copied again until the clipboard has it.
row=none
for _ in $(seq 10); do
  click "$his" 100 46 426 140  # the first row
  xdotool windowfocus --sync "$his"
  echo -n none | xclip -selection clipboard
  xdotool key ctrl+c
  for _ in $(seq 30); do row=$(xclip -o -selection clipboard 2>/dev/null) && [ "$row" != none ] && break 2; sleep 0.1; done
done
expected_row=$(printf '%s\tLesson1(かな)\t%s\t%s\tま…2回　は…1回　' "$(cut -d, -f1 "$hst" | iconv -f CP932 -t UTF-8)" \
  "$(cut -d, -f3 "$hst")" "$(cut -d, -f4 "$hst")")
[ "$row" = "$expected_row" ] || fail "history row reads '$row', expected '$expected_row'"
click "$his" 306 15 426 140  # "間違えたキーをすべて表示"
keys=$(window "間違えたキー一覧")
xdotool windowfocus --sync "$keys"; xdotool key Return
gone "間違えたキー一覧"
click "$his" 220 15 426 140  # "履歴削除"
box=$(message_box)
xdotool windowfocus --sync "$box"; xdotool key alt+y  # はい(&Y): No is the default
for _ in $(seq 150); do [ -e "$hst" ] || break; sleep 0.1; done
[ ! -e "$hst" ] || fail "the history file is still there"
check_log "$KIBIKI_SETTING_DIR/花子.db" ""  # emptied with the history
xdotool windowfocus --sync "$his"
click "$his" 100 46 426 140  # where the first row was
echo -n none | xclip -selection clipboard
xdotool key ctrl+c
click "$his" 394 15 426 140  # "閉じる"
gone "履歴表示"
# The program took Ctrl+C before the click that closed the dialog.
[ "$(xclip -o -selection clipboard)" = none ] || fail "a row is left after deleting the history"
[ "$(wc -l < "$KIBIKI_SETTING_DIR/default.hst")" -eq 2 ] || fail "the first user's history changed"

# Ctrl+N > オリジナルレッスン > the first registered entry > 開始; the focus back on the window.
start_registered_lesson() {
  local dlg
  xdotool windowfocus --sync "$main"
  xdotool key ctrl+n
  dlg=$(window "レッスンの選択")
  click "$dlg" 40 132 200 176; sleep 0.3   # オリジナルレッスン
  click "$dlg" 70 161 200 176; sleep 0.3   # OK
  dlg=$(window "オリジナルレッスン開始")
  click "$dlg" 50 37 236 150; sleep 0.3    # the registered entry
  click "$dlg" 201 14 236 150; sleep 0.3   # 開始
  gone "オリジナルレッスン開始"
  xdotool windowfocus --sync "$main"
  sleep 0.3
}
# "やめる" on the lesson-end dialog.
quit_lesson_end() {
  local dlg
  dlg=$(window "レッスン終了")
  click "$dlg" 176 125 220 140; sleep 0.3  # やめる
  gone "レッスン終了"
}

# 7. A lesson file of one's own, written in UTF-8: registered through 設定 > オリジナルレッスン...
#    (追加, the open-file dialog, OK), started from the lesson-select dialog and typed to its end.
mkdir -p "$work/lessons"
lesson_file=$work/lessons/utf8.txt
name="自分のことば"
printf '#KANA\n%s\nちとしは\nまのりれ\n' "$name" > "$lesson_file"
xdotool windowfocus --sync "$main"
sleep 0.2
for k in alt+o Down Down Return; do xdotool key "$k"; sleep 0.3; done
dlg=$(window "オリジナルレッスン設定")
before=$(shown)
click "$dlg" 201 57 236 156   # 追加
open_file=$(new_window "$before")
xdotool windowfocus --sync "$open_file"
xdotool type --delay 20 "$lesson_file"  # ASCII: keys the map has
xdotool key Return
for _ in $(seq 150); do shown | grep -qx "$open_file" || break; sleep 0.1; done
shown | grep -qx "$open_file" && fail "the open-file dialog did not close"
click "$dlg" 201 14 236 156; sleep 0.3   # OK
gone "オリジナルレッスン設定"
printf 'No0=%s\r\nFile0=%s\r\n' "$name" "$lesson_file" | iconv -f UTF-8 -t CP932 > "$work/expected.list"
grep -q "count=1" "$KIBIKI_SETTING_DIR/花子.dat" || fail "the lesson file was not registered"
tail -c "$(wc -c < "$work/expected.list")" "$KIBIKI_SETTING_DIR/花子.dat" | cmp -s - "$work/expected.list" || {
  od -c "$KIBIKI_SETTING_DIR/花子.dat" | tail -8; fail "registered entry differs"; }

start_registered_lesson
keys=()
strokes=0
kana_keys ちとしは
kana_keys まのりれ
xdotool key --delay 70 "${keys[@]}"
quit_lesson_end
line=$(sed -n 1p "$hst" | iconv -f CP932 -t UTF-8) || fail "history not CP932"
case "$line" in
  *",$name,"*",100,"*) ;;
  *) fail "record for the lesson file: '$line'" ;;
esac

# 8. 設定 > ローマ字の設定...: "IMEと同じつづりをすべて受け付ける", OK. The registered file becomes a
#    hiragana-to-romaji lesson, typed as an input method takes it: no key is a miss.
xdotool windowfocus --sync "$main"
sleep 0.2
for k in alt+o Down Down Down Down Return; do xdotool key "$k"; sleep 0.3; done
dlg=$(window "ローマ字の設定")
click "$dlg" 20 160 173 171; sleep 0.3   # IMEと同じつづりをすべて受け付ける
click "$dlg" 131 23 173 171; sleep 0.3   # OK
gone "ローマ字の設定"
grep -q "^ImeSpellings=1"$'\r'"\$" "$KIBIKI_SETTING_DIR/花子.dat" || fail "the input-method option was not saved"
printf '#ROMANJ\n%s\nしっかん\nこんや\n' "$name" > "$lesson_file"
start_registered_lesson
keys=()
romaji_keys "CILTUKAN'"
romaji_keys "KON'YA"
xdotool key --delay 70 "${keys[@]}"
quit_lesson_end
line=$(sed -n 2p "$hst" | iconv -f CP932 -t UTF-8) || fail "history not CP932"
line=${line%$'\r'}
missed=${line##*,}
case "$line" in
  *",$name,"*",100,"*) [ -z "${missed// /}" ] || fail "missed keys recorded: '$line'" ;;
  *) fail "record for the input-method romaji lesson: '$line'" ;;
esac

kill -0 "$kibiki_pid" || fail "kibiki ended on its own"
echo "e2e: kana lesson ($kana_strokes keys) and romaji lesson recorded as expected;"
echo "e2e: a new user made, chosen, practised, found in the history and the history deleted;"
echo "e2e: a UTF-8 lesson file registered through the settings dialog and typed;"
echo "e2e: the same file typed in an input method's spellings with that option on, no miss"
