# shellcheck shell=bash disable=SC2034  # $KIBIKI and $SRC are the sourcing test's
# Sourced first by the shell ui tests, which are run as: TEST.sh KIBIKI_BINARY SOURCE_DIR
#   . "${BASH_SOURCE[0]%/*}/e2e_common.sh" "$1" "$2" LABEL TOOL... || exit 1
# Strict mode, $KIBIKI and $SRC, exit 77 (skipped) when a TOOL is missing, and a work folder
# $work removed at exit once every process in $pids, or with its pid in $work/pids/, has ended.
# e2e_fail MESSAGE ends the test and prints what it saw: the windows shown (e2e_windows, which the
# test defines), the files of the settings folder $e2e_settings, and the last lines of each log
# in $e2e_logs (the program's output first).
set -euo pipefail
KIBIKI=$1
SRC=$2
shift 2
export LC_ALL=C.UTF-8
e2e_label=$1
shift
for tool in "$@"; do
  command -v "$tool" >/dev/null || { echo "$e2e_label: $tool not installed, skipped"; exit 77; }
done

work=$(mktemp -d)
pids=()  # in start order: a wrapper before what it runs
cleanup() {
  local f i running
  for f in "$work"/pids/*; do
    [ -f "$f" ] && pids+=("$(cat "$f")")
  done
  # Last started first; one that does not end within 3 s is killed.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for ((i = 0; i < 30; i++)); do
    running=0
    for f in "${pids[@]}"; do kill -0 "$f" 2>/dev/null && running=1; done
    [ $running -eq 0 ] && break
    sleep 0.1
  done
  for f in "${pids[@]}"; do kill -9 "$f" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

e2e_settings=""
e2e_logs=()
e2e_fail() {
  echo "$e2e_label: FAIL: $*" >&2
  {
    if declare -F e2e_windows >/dev/null; then
      echo "--- windows shown"
      e2e_windows || true
    fi
    if [ -n "$e2e_settings" ]; then
      echo "--- settings folder $e2e_settings"
      ls -l "$e2e_settings" || true
      local f
      for f in "$e2e_settings"/*.dat; do
        [ -f "$f" ] || continue
        echo "--- ${f##*/} (CP932 shown as UTF-8)"
        iconv -f CP932 -t UTF-8 "$f" | tr -d '\r' || od -c "$f" | head -40
      done
    fi
    local log
    for log in "${e2e_logs[@]}"; do
      [ -s "$log" ] || { echo "--- ${log##*/}: empty"; continue; }
      echo "--- ${log##*/} (last 40 lines)"
      tail -40 "$log"
    done
  } >&2
  exit 1
}

# e2e_xvfb: a display of our own, exported as DISPLAY. The server picks a free display and names
# it once it listens; one that cannot be reached is replaced, up to three times. -noreset: the
# program, connecting just after the check, must not find it resetting.
e2e_xvfb() {
  local up="" pid
  for _ in 1 2 3; do
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -1 "$work/display" 2>/dev/null)"
    for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && { up=1; break; }; sleep 0.1; done
    [ -n "$up" ] && { pids+=("$pid"); return 0; }
    kill "$pid" 2>/dev/null || true
  done
  e2e_fail "no X server could be reached"
}

# e2e_home: a fresh user, nothing from the machine's own home or profile; settings in
# $work/Setting.
e2e_home() {
  export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
  export XDG_RUNTIME_DIR=$work/run KIBIKI_SETTING_DIR=$work/Setting
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  e2e_settings=$KIBIKI_SETTING_DIR
}

# e2e_window NAME [TENTHS]: the id of a shown window of that name, waiting for it (30 s).
e2e_window() {
  local w=""
  for _ in $(seq "${2:-300}"); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$w" ] && break
    sleep 0.1
  done
  [ -n "$w" ] || e2e_fail "no window \"$1\""
  echo "$w"
}

# e2e_gone NAME: waits until no such window is shown.
e2e_gone() {
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  e2e_fail "window \"$1\" did not close"
}

# e2e_shown_windows: each shown window: id, name, and which has the focus.
e2e_shown_windows() {
  local w focus
  focus=$(xdotool getwindowfocus 2>/dev/null) || focus=""
  for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '%s "%s"%s\n' "$w" "$(xdotool getwindowname "$w" 2>/dev/null)" "$([ "$w" != "$focus" ] || echo ' (focus)')"
  done
}

# Keys of the JIS kana layout by place, as a US map names them; the small kana and the marks
# with Shift.
declare -A KANA=(
  [ぬ]=1 [ふ]=2 [あ]=3 [う]=4 [え]=5 [お]=6 [や]=7 [ゆ]=8 [よ]=9 [わ]=0 [ほ]=minus [へ]=equal
  [た]=q [て]=w [い]=e [す]=r [か]=t [ん]=y [な]=u [に]=i [ら]=o [せ]=p
  [ち]=a [と]=s [し]=d [は]=f [き]=g [く]=h [ま]=j [の]=k [り]=l [れ]=semicolon [け]=apostrophe
  [む]=backslash [つ]=z [さ]=x [そ]=c [ひ]=v [こ]=b [み]=n [も]=m [ね]=comma [る]=period [め]=slash
  [っ]=shift+z [ゃ]=shift+7 [ゅ]=shift+8 [ょ]=shift+9 [を]=shift+0 [、]=shift+comma [。]=shift+period)
declare -A VOICED=([が]=か [ぎ]=き [ぐ]=く [げ]=け [ご]=こ [ざ]=さ [じ]=し [ず]=す [ぜ]=せ [ぞ]=そ
  [だ]=た [ぢ]=ち [づ]=つ [で]=て [ど]=と [ば]=は [び]=ひ [ぶ]=ふ [べ]=へ [ぼ]=ほ)
declare -A SEMI=([ぱ]=は [ぴ]=ひ [ぷ]=ふ [ぺ]=へ [ぽ]=ほ)

# kana_keys TEXT: its key names appended to $keys, its keystrokes counted into $strokes.
kana_keys() {
  local s=$1 i c
  for ((i = 0; i < ${#s}; i++)); do
    c=${s:i:1}
    if [ -n "${VOICED[$c]:-}" ]; then keys+=("${KANA[${VOICED[$c]}]}" bracketleft); strokes=$((strokes + 2))
    elif [ -n "${SEMI[$c]:-}" ]; then keys+=("${KANA[${SEMI[$c]}]}" bracketright); strokes=$((strokes + 2))
    elif [ -n "${KANA[$c]:-}" ]; then keys+=("${KANA[$c]}"); strokes=$((strokes + 1))
    else e2e_fail "no key for $c"; fi
  done
}
