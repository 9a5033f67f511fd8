#!/usr/bin/env bash
# The real kibiki under Xvfb on a D-Bus session of its own, read through AT-SPI by
# atspi_walk.py: names and roles of every control shown, the caps and counters, and the
# practice's announcements when a wrong and a right key are typed.
#   atspi_kibiki.sh KIBIKI_BINARY SOURCE_DIR
# Exit 77 (skipped) when Xvfb, xdotool, dbus or the AT-SPI bus or its Python bindings are missing.
# shellcheck source-path=SCRIPTDIR source=e2e_common.sh
. "${BASH_SOURCE[0]%/*}/e2e_common.sh" "$1" "$2" atspi Xvfb xdotool dbus-run-session dbus-send || exit 1

python=""
for p in /usr/bin/python3 python3; do
  "$p" -c 'import gi; gi.require_version("Atspi", "2.0"); from gi.repository import Atspi' 2>/dev/null &&
    { python=$p; break; }
done
[ -n "$python" ] || { echo "atspi: no Python with the AT-SPI bindings (python3-pyatspi), skipped"; exit 77; }
launcher=""
for p in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$p" ] && { launcher=$p; break; }
done
[ -n "$launcher" ] || { echo "atspi: at-spi-bus-launcher not found (at-spi2-core), skipped"; exit 77; }

rm -f "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display" 2>/dev/null)"
up=""
for _ in $(seq 100); do xdotool getmouselocation >/dev/null 2>&1 && { up=1; break; }; sleep 0.1; done
[ -n "$up" ] || e2e_fail "no X server could be reached"

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_RUNTIME_DIR=$work/run KIBIKI_SETTING_DIR=$work/Setting
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
e2e_settings=$KIBIKI_SETTING_DIR
e2e_logs=("$work/kibiki.log" "$work/dbus.log" "$work/launcher.log" "$work/walk.log")

# One session bus for the program, the accessibility bus launcher and the walker; the script
# run inside it starts them and ends with the walker's verdict.
cat >"$work/session.sh" <<INNER
set -u
"$launcher" --launch-immediately >"$work/launcher.log" 2>&1 &
echo \$! >"$work/pids/launcher"
# The program asks the session bus for the accessibility bus once, at start.
for _ in \$(seq 200); do
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 && break
  sleep 0.05
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null 2>&1 || { echo "atspi: the accessibility bus did not start, skipped"; exit 77; }
"$KIBIKI" >"$work/kibiki.log" 2>&1 &
echo \$! >"$work/pids/kibiki"
"$python" "$SRC/tests/ui/atspi_walk.py" \$! 2>&1 | tee "$work/walk.log"
exit \${PIPESTATUS[0]}
INNER
mkdir -p "$work/pids"
set +e
dbus-run-session -- bash "$work/session.sh" 2>"$work/dbus.log"
rc=$?
set -e
[ $rc -eq 0 ] || [ $rc -eq 77 ] || e2e_fail "the AT-SPI walk failed (exit $rc)"
exit $rc
