#!/usr/bin/env bash
# The whole program under a real X server and window manager with real X
# input (xdotool): set the range 1..30 with the keyboard, draw 10 numbers with
# Enter and one more after the running program file was moved, kill the
# program with SIGKILL, start it again, draw the other 19,
# check the all-drawn refusal, open the result list, and check from Tavlo.ini
# that the 30 numbers are 1..30, each once, in the order drawn. Then widen the
# range five times, answering the question by Enter, and draw the one new
# number with Enter each time. Nothing but the program itself hands the focus
# back after a window closes. Also: a copy of the program beside it is the
# same instance, leftovers of killed writes go at start-up, the program file
# moved into another instance's folder while it runs still writes its own
# file, and a program whose folder cannot be named refuses to start. Screenshots go to the build
# folder.
#
# Usage (under xvfb-run): whole_program.sh <tavlo executable> <screenshot folder>
set -euo pipefail

program=$1
shots=$2
work=$(mktemp -d)
trap 'kill -9 $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$program" "$work/tavlo"
ini="$work/Tavlo.ini"
unset QT_QPA_PLATFORM

source "$(dirname "$0")/x_session.sh"

last_draw() { grep -E '^[0-9]+=' "$ini" | tail -n 1 | tr -d '\r'; }
range_is() { tr -d '\r' <"$ini" | grep -qx "Range=$1"; }
shot() { import -window root "$shots/$1" 2>/dev/null || xwd -root -silent >"$shots/${1%.png}.xwd"; }

start_tavlo() {
  "$work/tavlo" &
  tavlo_pid=$!
  window=$(await_window Tavlo 30) || fail "no main window"
  x windowactivate --sync "$window"
  sleep 0.3  # let the window take the focus in before the first key
}

start_window_manager
start_tavlo
# A second start ends at once and silently while the first goes on; so does
# a copy of the program in the same folder, which shares its settings file.
timeout 20 "$work/tavlo" || fail "a second start did not end at once"
cp "$work/tavlo" "$work/tavlo copy"
timeout 20 "$work/tavlo copy" || fail "a copy beside the program did not end at once"
kill -0 "$tavlo_pid" || fail "the first instance ended"

# The range through the condition dialog, with the keyboard alone.
key alt+j
wait_for 200 has_window "条件入力"
x type --delay 50 "1"
key Tab
x type --delay 50 "30"
shot condition_dialog.png
key Tab space          # OK
wait_for 200 windows_at_least "条件入力" 2
key alt+y              # "the range narrowed" (first range): yes
wait_for 200 grep -q '^Range=1,30' "$ini"
wait_for 200 windows_exactly "条件入力" 0
wait_for 100 active_is Tavlo

for _ in $(seq 10); do draw_one; done
shot main_window.png
first_ten=$(sed -n '/^\[Result\]/,$p' "$ini")

# The running program file moved into a folder where another instance runs:
# its next draw still goes to the file of the folder it started in.
mkdir "$work/other"
printf '[Result]\r\n1=5\r\n' >"$work/other/Tavlo.ini"
cp "$work/tavlo" "$work/other/tavlo"
"$work/other/tavlo" &
other_pid=$!
wait_for 300 windows_at_least Tavlo 2
mv "$work/tavlo" "$work/other/tavlo moved"
x windowactivate --sync "$window"
wait_for 100 bash -c "[[ \$(xdotool getactivewindow) == $window ]]"
draw_one
[[ $(draws_in_file) -eq 11 ]] || fail "the moved program's draw is not in its own file"
[[ $(tr -d '\r' <"$work/other/Tavlo.ini") == $'[Result]\n1=5' ]] || fail "the moved program wrote into another folder's file"
kill "$other_pid"
wait_for 200 windows_exactly Tavlo 1
mv "$work/other/tavlo moved" "$work/tavlo"

kill -9 "$tavlo_pid"
wait "$tavlo_pid" 2>/dev/null || true

# What a write killed in the middle leaves beside the file goes at the next
# start; other files stay.
leftover="$work/.Tavlo.ini.tmp-1-2-3"
echo x >"$leftover"
start_tavlo
[[ ! -e $leftover ]] || fail "a leftover temporary file stayed"
[[ -e "$work/tavlo copy" ]] || fail "a file of the folder went"
for _ in $(seq 19); do draw_one; done
[[ $(draws_in_file) -eq 30 ]] || fail "expected 30 draws, the file holds $(draws_in_file)"

# Everything drawn: START is refused with a warning box.
key Return
wait_for 200 windows_at_least Tavlo 2
shot all_drawn.png
key Return
wait_for 200 windows_exactly Tavlo 1
wait_for 100 active_is Tavlo

key alt+r
wait_for 200 has_window "結果表示"
sleep 0.3
shot result_list.png
key Escape
wait_for 200 windows_exactly "結果表示" 0
wait_for 100 active_is Tavlo

# The file: ordinals 1..30 in order, the numbers 1..30 each once, the first
# ten as they stood before the kill.
sed -n '/^\[Result\]/,$p' "$ini" | head -n 11 | diff <(echo "$first_ten") - ||
  fail "the first ten draws changed after the restart"
ordinals=$(sed -n '/^\[Result\]/,$p' "$ini" | grep -E '^[0-9]+=' | cut -d= -f1 | tr -d '\r' | tr '\n' ' ')
[[ $ordinals == "$(seq -s ' ' 30) " ]] || fail "ordinals out of order: $ordinals"
numbers=$(grep -E '^[0-9]+=' "$ini" | cut -d= -f2 | tr -d '\r' | sort -n | tr '\n' ' ')
[[ $numbers == "$(seq -s ' ' 30) " ]] || fail "numbers are not 1..30 each once: $numbers"

# After every window the program opens, the main window is active again with
# the focus on START, so Enter draws. Each range is one wider than the
# numbers drawn, so the draw must be the new To. The first pass also passes
# OK's (From)<=(To) warning: From gets the focus back with its text selected,
# and the "1" typed replaces "010" (else the range stored is never 1,31).
for to in 31 32 33 34 35; do
  key alt+j
  wait_for 200 has_window "条件入力"
  if [[ $to == 31 ]]; then
    x type --delay 50 "010"
    key Tab
    x type --delay 50 "9"
    key Tab space      # OK: the warning
    wait_for 200 windows_at_least "条件入力" 2
    key Return
    wait_for 200 windows_exactly "条件入力" 1
    wait_for 100 active_is "条件入力"
    x type --delay 50 "1"
  fi
  key Tab
  x type --delay 50 "$to"
  key Tab space        # OK
  wait_for 200 range_is "1,$to"
  wait_for 200 windows_at_least "条件入力" 2
  key Return           # "the range changed": No, the default, keeps the results
  wait_for 200 windows_exactly "条件入力" 0
  wait_for 100 active_is Tavlo
  draw_one
  [[ $(last_draw) == "$to=$to" ]] || fail "after widening to $to the draw was $(last_draw)"
done

# 終了 with the keyboard: Alt+X, then Yes (the default) with Enter.
key alt+x
wait_for 200 windows_at_least Tavlo 2
key Return
wait_for 200 bash -c "! kill -0 $tavlo_pid"
# A program whose folder the system cannot name (a path longer than it
# reports) refuses to start with a box that says why.
(
  cd "$work"
  for _ in $(seq 20); do
    d=$(printf 'd%.0s' $(seq 240))
    mkdir "$d" && cd "$d"
  done
  cp "$program" tavlo
  ./tavlo &
  deep_pid=$!
  box=$(await_window Tavlo 30) || fail "no box"
  x windowfocus --sync "$box"
  sleep 0.3
  key Return
  wait_for 200 bash -c "! kill -0 $deep_pid"
  status=0
  wait "$deep_pid" || status=$?
  [[ $status -eq 1 ]] || fail "a program without its folder ended with status $status"
)
[[ ! -e /Tavlo.ini ]] || fail "a settings file at the root"

echo "whole program: 30 draws across a SIGKILL, 1..30 each once; 5 draws by Enter after a question"
echo "1 passed, 0 failed"
