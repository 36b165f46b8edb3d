#!/usr/bin/env bash
# The real program under a real X server: its main window carries the
# program's icon, and once painted it is saved as <folder>/main-window.png,
# the picture the README shows (a range set, a drawing under way).
#
# Usage (under xvfb-run): main_window_shot.sh <tavlo executable> <folder>
set -euo pipefail

program=$1
out=$2/main-window.png
work=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$program" "$work/tavlo"
printf '[Condition]\r\nRange=1,120\r\n[Result]\r\n1=57\r\n2=103\r\n3=8\r\n' >"$work/Tavlo.ini"
unset QT_QPA_PLATFORM

source "$(dirname "$0")/x_session.sh"

"$work/tavlo" &
window=$(await_window Tavlo 30) || fail "no main window"

# Qt hands X the sizes up to 48 px.
icon=$(xprop -id "$window" _NET_WM_ICON)
for size in 16 32 48; do
  [[ $icon == *"Icon ($size x $size)"* ]] || fail "no ${size}px window icon"
done

# Painted once the hundreds box shows its navy.
for ((i = 0; i < 100; i++)); do
  import -window "$window" "$out" 2>/dev/null &&
    [[ $(convert "$out" -format '%[pixel:p{30,60}]' info:) == "srgb(10,36,106)" ]] && break
  sleep 0.1
done
((i < 100)) || fail "the main window was not painted"
echo "main window: icon set, picture in $out"
