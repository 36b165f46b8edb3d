#!/usr/bin/env bash
# The real program in a desktop session of its own: an X server with a window
# manager, a session bus started here, and on it a stand-in for the desktop's
# screen saver service that records the calls, and the session's
# accessibility bus (at-spi2) with a stand-in screen reader that records the
# name changes. The display is held awake once the window is shown and
# active, and let go at minimising, when another program's window becomes
# active, and when the program ends. The screen saver answers the first hold
# late, as a slow one may: that hold is let go at minimising all the same.
# The screen reader hears the number drawn once, whole, when a spin ends.
#
# Usage (under xvfb-run): desktop_session.sh <tavlo executable>
set -euo pipefail

program=$1
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null || true; [[ -n ${bus_pid:-} ]] && kill "$bus_pid"; rm -rf "$work"' EXIT
cp "$program" "$work/tavlo"
ini="$work/Tavlo.ini"
printf '[Condition]\r\nRange=1,999\r\n' >"$ini"
log="$work/calls.log"
fail_log=$log
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"

source "$here/x_session.sh"

read -r DBUS_SESSION_BUS_ADDRESS bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -sd ' ')
export DBUS_SESSION_BUS_ADDRESS
/usr/bin/python3 "$here/session_services.py" "$log" late &
wait_for 100 grep -qx ready "$log"

calls() { grep -E '^(Inhibit|UnInhibit) ' "$log" | paste -sd ,; }
expected=""
# Waits up to 10 s for `call` to be the screen saver's next call, and its last.
expect_call() {
  expected+=${expected:+,}$1
  for ((i = 0; i < 100; i++)); do
    [[ $(calls) == "$expected" ]] && return 0
    sleep 0.1
  done
  fail "the screen saver saw: $(calls); expected: $expected"
}

start_window_manager
"$work/tavlo" &
tavlo_pid=$!
window=$(await_window Tavlo 30) || fail "no main window"
x windowactivate --sync "$window"
expect_call "Inhibit tavlo 抽選中 1"

# A spin ends: the screen reader hears the number once, whole.
draw_one
number=$(grep -E '^1=' "$ini" | tr -d '\r' | cut -d= -f2)
wait_for 100 grep -qx "name 当選番号 $number" "$log"
[[ $(grep -c '^name 当選番号' "$log") -eq 1 ]] || fail "the number was not announced once: $(grep '^name' "$log" | paste -sd ,)"

x windowminimize --sync "$window"
expect_call "UnInhibit 1"
x windowactivate --sync "$window"
expect_call "Inhibit tavlo 抽選中 2"

# Another program's window takes the focus, then gives it back.
xmessage "another program" 2>/dev/null &
other=$(await_window xmessage 30) || fail "no other window"
x windowactivate --sync "$other"
expect_call "UnInhibit 2"
x windowactivate --sync "$window"
expect_call "Inhibit tavlo 抽選中 3"

# 終了 answered Yes: the program ends and lets go on its way out.
key alt+x
wait_for 200 windows_at_least Tavlo 2
key Return
wait_for 200 bash -c "! kill -0 $tavlo_pid"
expect_call "UnInhibit 3"
echo "desktop session: the number announced once; the display held while in use and let go at minimise, deactivation and exit"
