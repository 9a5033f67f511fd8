#!/usr/bin/env bash
# End to end: a 1-minute 腕試し in the real kibiki under Xvfb, typed with X key events in kana
# input over the first built-in passage: its first sentence whole, one wrong key, and the start
# of the second. The test must end by itself at the limit and show its result; then the history
# holds one line named for it and the practice log one finished "test" run measured to the
# limit, with the first sentence's characters and every right key.
#   e2e_timed_test.sh KIBIKI_BINARY SOURCE_DIR
# With E2E_SHOTS set to a folder, the screen is saved there as it goes (dialog.png, running.png,
# result.png), for looking at by eye.
# Exit 77 (skipped) when Xvfb, xdotool, iconv or python3 is missing.
# shellcheck source-path=SCRIPTDIR source=e2e_common.sh
. "${BASH_SOURCE[0]%/*}/e2e_common.sh" "$1" "$2" e2e_timed Xvfb xdotool iconv python3 || exit 1
e2e_windows() { e2e_shown_windows; }
shot() { [ -z "${E2E_SHOTS:-}" ] || import -window root "$E2E_SHOTS/$1.png" || true; }
e2e_xvfb
e2e_home
e2e_logs=("$work/kibiki.log")

"$KIBIKI" >"$work/kibiki.log" 2>&1 &
pids+=($!)
main=$(e2e_window Kibiki)
xdotool windowfocus --sync "$main"
sleep 0.3

# The first passage's first two sentences: "kanji,reading" with the runs cut by ｜.
sentence() { awk -F'\t' -v id="$1" '$1 == id { print $2 }' "$SRC/resources/test_passages.tsv"; }
first=$(sentence 48001)
second=$(sentence 48002)
[ -n "$first" ] && [ -n "$second" ] || e2e_fail "no passage 48000 in test_passages.tsv"
first_kanji=${first%%,*}
first_reading=${first#*,}; first_reading=${first_reading//｜/}
second_reading=${second#*,}; second_reading=${second_reading//｜/}

# レッスン > 腕試し...: the third item of the menu.
xdotool key alt+l
sleep 0.3
xdotool key Down Down Return
dlg=$(e2e_window "腕試し")
xdotool windowfocus --sync "$dlg"
sleep 0.3
shot dialog
# 1 分, かな入力, the first passage; Return starts.
for k in Home Tab Home Tab Home Down Return; do xdotool key "$k"; sleep 0.15; done
e2e_gone "腕試し"
xdotool windowfocus --sync "$main"
sleep 0.3

keys=()
strokes=0
kana_keys "$first_reading"
keys+=(1)  # wrong: ぬ where た is due
kana_keys "${second_reading:0:3}"
t_first=$(date +%s.%N)
xdotool key --delay 60 "${keys[@]}"
t_typed=$(date +%s.%N)
sleep 1.5
shot running
awk -v a="$t_first" -v b="$t_typed" 'BEGIN { exit !(b - a < 55) }' \
  || e2e_fail "typing took longer than the test: $(awk -v a="$t_first" -v b="$t_typed" 'BEGIN { print b - a }') s"

# Nothing more is typed: the result comes at the limit by itself.
result=$(e2e_window "腕試し1分" 900)
t_result=$(date +%s.%N)
late=$(awk -v a="$t_first" -v b="$t_result" 'BEGIN { printf "%.1f", b - a }')
# The limit counts from the first key, which xdotool sent after t_first; a tick every 100 ms and
# a loaded machine may show it a little late.
awk -v d="$late" 'BEGIN { exit !(d >= 59.5 && d <= 66) }' || e2e_fail "the result came after $late s"
xdotool windowfocus --sync "$result"
sleep 0.3
shot result
xdotool key Escape
e2e_gone "腕試し1分"

# The history line: date, the test's name, keys per minute over the whole minute, accuracy.
hst=$KIBIKI_SETTING_DIR/default.hst
[ -s "$hst" ] || e2e_fail "no history"
[ "$(wc -l < "$hst")" -eq 1 ] || e2e_fail "history has more than one record"
line=$(iconv -f CP932 -t UTF-8 "$hst" | tr -d '\r')
accuracy=$(awk -v k="$strokes" 'BEGIN { printf "%.0f", (k - 1) / k * 100 }')
[[ $line =~ ^[0-9]{4}年[0-9]{2}月[0-9]{2}日\ [0-9]{2}:[0-9]{2},腕試し1分,$strokes,$accuracy,た\ +1\ $ ]] \
  || e2e_fail "history line '$line', expected $strokes keys a minute, $accuracy%, た missed once"

# The practice log's run, read with sqlite.
db=$KIBIKI_SETTING_DIR/default.db
[ -s "$db" ] || e2e_fail "no practice log"
row=$(python3 - "$db" <<'PY'
import sqlite3, sys
con = sqlite3.connect(sys.argv[1])
rows = con.execute("SELECT source, lesson, ending, elapsed_ms, chars, keys, misses FROM run").fetchall()
print("|".join(str(v) for v in rows[0]) if len(rows) == 1 else "%d runs" % len(rows))
PY
) || e2e_fail "the practice log could not be read"
expected="test|腕試し1分|finished|60000|${#first_kanji}|$strokes|1"
[ "$row" = "$expected" ] || e2e_fail "log run '$row', expected '$expected'"
echo "e2e_timed: the test ended after $late s; history and log as expected"
