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
