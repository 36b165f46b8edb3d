#!/usr/bin/env bash
# Starts the real program under a real X server on each hand-edited, malformed
# settings file of a folder: the window must appear, and one START must either
# be refused (nothing written) or draw a number of the range not drawn before.
#
# Usage (under xvfb-run): hostile_files.sh <tavlo> <tavlo_draw_check> <folder of .ini files>
set -euo pipefail

program=$1
check=$2
folder=$3
unset QT_QPA_PLATFORM

source "$(dirname "$0")/x_session.sh"

passed=0
failed=0
for ini in "$folder"/*.ini; do
  name=$(basename "$ini")
  work=$(mktemp -d)
  cp "$program" "$work/tavlo"
  cp "$ini" "$work/Tavlo.ini"
  cp "$ini" "$work/before.ini"
  "$work/tavlo" 2>"$work/stderr" &
  pid=$!
  ok=true
  window=$(await_window Tavlo 30) || true
  if [[ -z $window ]]; then
    echo "FAIL $name: no window (the program ended or hung at start-up)"
    kill -0 $pid 2>/dev/null || { wait $pid; echo "  exit status $?"; } || true
    sed 's/^/  /' "$work/stderr"
    ok=false
  else
    x windowfocus --sync "$window"
    sleep 0.3  # let the window take the focus in before the key arrives
    x key Return
    # Either the file changes (a draw) or a warning box opens (a refusal).
    outcome=""
    for _ in $(seq 200); do
      if ! cmp -s "$work/Tavlo.ini" "$work/before.ini"; then outcome=draw; break; fi
      if [[ $(xdotool search --onlyvisible --name '^Tavlo$' 2>/dev/null | wc -l) -ge 2 ]]; then outcome=refused; break; fi
      sleep 0.1
    done
    x key Return  # STOP, or OK on the warning
    sleep 0.2
    kill -0 $pid 2>/dev/null || { echo "FAIL $name: the program ended"; ok=false; }
    if [[ -z $outcome ]]; then
      echo "FAIL $name: START neither drew nor warned"
      ok=false
    elif ! result=$("$check" "$work/before.ini" "$work/Tavlo.ini" 2>&1); then
      echo "FAIL $name: $result"
      ok=false
    else
      echo "ok   $name: ${result:-refused}"
    fi
  fi
  kill -9 $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true
  rm -rf "$work"
  if $ok; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
