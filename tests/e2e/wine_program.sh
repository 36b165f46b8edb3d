#!/usr/bin/env bash
# Tavlo.exe under Wine with Qt's windows platform plugin, on a real X server
# with a window manager (openbox) and real X input (xdotool): set the range
# 1..20 with the keyboard, draw 4 numbers with Enter (START, STOP), kill the
# program with SIGKILL, start it again, draw 4 more, end it with Alt+X, and
# check from Tavlo.ini, written through Wine's own profile functions, that
# the 8 draws are distinct numbers of the range, in order, the first four as
# they stood before the kill. Takes a screenshot into the shots folder.
#
# Usage (under xvfb-run):
#   wine_program.sh <Tavlo.exe, or a folder holding it> <shots folder> <Wine prefix> [runner]
# A folder (an unpacked package) is copied whole and started with plain Wine,
# so it runs only on what it carries; an .exe is copied alone and started
# through the runner (default wine), which finds the DLLs.
set -euo pipefail

source=$1
shots=$2
export WINEPREFIX=$3
runner=${4:-wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset QT_QPA_PLATFORM WINEQT_QPA_PLATFORM WINEQT_QPA_FONTDIR

work=$(mktemp -d)
cleanup() {
  kill -9 $(jobs -p) 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
if [[ -d $source ]]; then
  cp -r "$source"/. "$work"/
else
  cp "$source" "$work/Tavlo.exe"
fi
ini="$work/Tavlo.ini"

source "$(dirname "$0")/x_session.sh"
fail_log="$work/wine.log"
draw_pause=0.3  # Wine takes a key in a little later

has_range() { tr -d '\r' <"$ini" | grep -q '^Range=1,20$'; }
focus_main() {
  xdotool windowactivate --sync "$(xdotool search --onlyvisible --name '^Tavlo$' | head -n 1)" 2>/dev/null ||
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Tavlo$' | head -n 1)"
}

start_window_manager

# The prefix's Wine server and its background processes start here, with
# their output away from the test's.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot -i </dev/null >/dev/null 2>&1
  wineserver -w
fi
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

start_tavlo() {
  (cd "$work" && exec "$runner" Tavlo.exe </dev/null >>"$work/wine.log" 2>&1) &
  tavlo_pid=$!
  await_window Tavlo 60 >/dev/null || fail "no main window"
  focus_main
  sleep 0.5  # let the window take the focus in before the first key
}

start_tavlo
key alt+j
wait_for 300 windows_at_least "条件入力" 1
xdotool type --delay 80 "1"
key Tab
xdotool type --delay 80 "20"
key Tab space           # OK
wait_for 300 windows_at_least "条件入力" 2
key alt+y               # the range narrowed (the first range): yes
wait_for 300 has_range
wait_for 300 windows_exactly "条件入力" 0
focus_main

for _ in 1 2 3 4; do draw_one; done
[[ $(draws_in_file) -eq 4 ]] || fail "4 presses of START drew $(draws_in_file)"
import -window root "$shots/wine_main_window.png" 2>/dev/null || true
first_four=$(tr -d '\r' <"$ini" | sed -n '/^\[Result\]/,$p')

kill -9 "$tavlo_pid"
wait "$tavlo_pid" 2>/dev/null || true
wait_for 100 windows_exactly Tavlo 0

start_tavlo
for _ in 1 2 3 4; do draw_one; done
[[ $(draws_in_file) -eq 8 ]] || fail "after the restart the file holds $(draws_in_file) draws, not 8"

key alt+x
wait_for 300 windows_at_least Tavlo 2
key Return              # yes, end
wait_for 300 bash -c "! kill -0 $tavlo_pid"

results=$(tr -d '\r' <"$ini" | sed -n '/^\[Result\]/,$p')
[[ $(head -n 5 <<<"$results") == "$first_four" ]] || fail "the first four draws changed after the restart"
ordinals=$(grep -E '^[0-9]+=' <<<"$results" | cut -d= -f1 | tr '\n' ' ')
[[ $ordinals == "1 2 3 4 5 6 7 8 " ]] || fail "ordinals out of order: $ordinals"
numbers=$(grep -E '^[0-9]+=' <<<"$results" | cut -d= -f2 | sort -n)
[[ $(uniq <<<"$numbers" | wc -l) -eq 8 ]] || fail "a number was drawn twice: $(tr '\n' ' ' <<<"$numbers")"
while read -r n; do
  ((n >= 1 && n <= 20)) || fail "$n lies outside 1..20"
done <<<"$numbers"
echo "Tavlo.exe under Wine: 8 draws across a SIGKILL, distinct, in 1..20"
