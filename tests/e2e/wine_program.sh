#!/usr/bin/env bash
# Tavlo.exe under Wine with Qt's windows platform plugin, on a real X server
# with a window manager (openbox) and real X input (xdotool), in the given
# locale (Wine takes its ANSI code page from it: 932 for ja_JP, 1252 for
# en_US) and in folders named outside that code page:
# - in "抽選会 デスクトップ": set the range 1..20 with the keyboard, draw 4
#   numbers with Enter (START, STOP), kill the program with SIGKILL, start it
#   again, draw 4 more, and check from Tavlo.ini, written through Wine's own
#   profile functions, that the 8 draws are distinct numbers of the range, in
#   order, the first four as they stood before the kill;
# - meanwhile three more instances run side by side in "추첨", "抽選🎲" and
#   "Zoë", each on a file that holds a range and one draw: each goes on from
#   there with one more draw, the one in "Zoë" by instant key taps right
#   after a message box closed by Enter;
# - with a second prefix given, Tavlo.exe started from the same folder under
#   a Wine server of its own, as on another machine, ends at once;
# - a package (a folder) is also checked for drawing with the native
#   Windows style, which Qt loads as a plugin.
# Takes a screenshot into the shots folder.
#
# Usage (under xvfb-run):
#   wine_program.sh <Tavlo.exe, or a folder holding it> <shots folder> <Wine prefix> <ja_JP|en_US> [runner]
#                   [another machine's Wine prefix]
# A folder (an unpacked package) is copied whole and started with plain Wine,
# so it runs only on what it carries; an .exe is copied alone and started
# through the runner (default wine), which finds the DLLs.
set -euo pipefail

source=$1
shots=$2
export WINEPREFIX=$3
locale=$4
runner=${5:-wine}
other_prefix=${6:-}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset QT_QPA_PLATFORM WINEQT_QPA_PLATFORM WINEQT_QPA_FONTDIR

work=$(mktemp -d)
cleanup() {
  kill -9 $(jobs -p) 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/x_session.sh"
fail_log="$work/wine.log"
draw_pause=0.3  # Wine takes a key in a little later

# The locale, built into the shots folder once: a fresh machine has none but
# C, and Wine would fall back on English. Only Tavlo.exe is started in it.
locales="$shots/locales"
if [[ ! -d $locales/$locale.UTF-8 ]]; then
  mkdir -p "$locales"
  localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" || fail "cannot build the locale $locale"
fi
locale_env=(env LOCPATH="$locales" LANG="$locale.UTF-8" LC_ALL="$locale.UTF-8")

# Each instance runs from a folder of its own, holding a copy of the program.
place() {
  mkdir -p "$work/$1"
  if [[ -d $source ]]; then
    cp -r "$source"/. "$work/$1"/
  else
    cp "$source" "$work/$1/Tavlo.exe"
  fi
}
main="抽選会 デスクトップ"
sides=("추첨" "抽選🎲" "Zoë")
place "$main"
ini="$work/$main/Tavlo.ini"

has_range() { tr -d '\r' <"$ini" | grep -q '^Range=1,20$'; }
main_windows() { { xdotool search --onlyvisible --name '^Tavlo$' 2>/dev/null || true; } | sort; }
activate() { x windowactivate --sync "$1" 2>/dev/null || x windowfocus --sync "$1"; }

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

# Waits for a window titled Tavlo that is not among those listed in $1 (a
# main window or one of its boxes) and sets `started` to it.
await_new_window() {
  wait_for 300 bash -c "[[ \$(xdotool search --onlyvisible --name '^Tavlo\$' | wc -l) -gt $(wc -w <<<"$1") ]]"
  started=$(comm -13 <(echo "$1") <(main_windows) | head -n 1)
}

# Starts Tavlo.exe in folder $1 and sets `started` to its new main window.
start_in() {
  local before
  before=$(main_windows)
  (cd "$work/$1" && exec "${locale_env[@]}" "$runner" Tavlo.exe </dev/null >>"$work/wine.log" 2>&1) &
  tavlo_pid=$!
  await_new_window "$before"
  activate "$started"
  sleep 0.5  # let the window take the focus in before the first key
}

# Presses key $1, which opens a box, and answers it with key $2. With several
# instances side by side, Wine hands the new box the focus late: it is given
# the focus first.
answer() {
  local before
  before=$(main_windows)
  key "$1"
  await_new_window "$before"
  activate "$started"
  key "$2"
}

# A package is checked for the native style: Wine names each DLL it loads.
if [[ -d $source ]]; then
  locale_env+=(WINEDEBUG=+loaddll)
  start_in "$main"
  unset 'locale_env[-1]'
  wait_for 100 grep -q 'qwindowsvistastyle\.dll' "$work/wine.log"
else
  start_in "$main"
fi
main_window=$started
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
activate "$main_window"

for _ in 1 2 3 4; do draw_one; done
[[ $(draws_in_file) -eq 4 ]] || fail "4 presses of START drew $(draws_in_file)"
import -window root "$shots/wine_main_window.png" 2>/dev/null || true
first_four=$(tr -d '\r' <"$ini" | sed -n '/^\[Result\]/,$p')

kill -9 "$tavlo_pid"
wait "$tavlo_pid" 2>/dev/null || true
wait_for 100 windows_exactly Tavlo 0

start_in "$main"
main_window=$started
main_pid=$tavlo_pid

# Another machine opening the same folder, which a second Wine server with a
# prefix of its own stands for: the drawing is this instance's, and the start
# there ends at once, without a window.
if [[ -n $other_prefix ]]; then
  if [[ ! -f $other_prefix/system.reg ]]; then
    WINEPREFIX=$other_prefix wineboot -i </dev/null >/dev/null 2>&1
    WINEPREFIX=$other_prefix wineserver -w
  fi
  before=$(main_windows)
  (cd "$work/$main" && WINEPREFIX=$other_prefix timeout 60 "${locale_env[@]}" "$runner" Tavlo.exe \
    </dev/null >>"$work/wine.log" 2>&1) || fail "the start on another machine did not end by itself"
  [[ $(main_windows) == "$before" ]] || fail "the start on another machine opened a window"
  WINEPREFIX=$other_prefix wineserver -k >/dev/null 2>&1 || true
fi

# Side by side: one instance a folder, every folder a settings file of its own.
side_windows=()
side_pids=()
for side in "${sides[@]}"; do
  place "$side"
  printf '[Condition]\r\nRange=1,20\r\n[Result]\r\n1=7\r\n' >"$work/$side/Tavlo.ini"
  start_in "$side"
  side_windows+=("$started")
  side_pids+=("$tavlo_pid")
done
[[ $(count_windows Tavlo) -eq 4 ]] || fail "4 folders run $(count_windows Tavlo) instances"

activate "$main_window"
for _ in 1 2 3 4; do draw_one; done
[[ $(draws_in_file) -eq 8 ]] || fail "after the restart the file holds $(draws_in_file) draws, not 8"

for i in 0 1 2; do
  ini="$work/${sides[i]}/Tavlo.ini"
  open=$(count_windows Tavlo)
  activate "${side_windows[i]}"
  if [[ ${sides[i]} == "Zoë" ]]; then
    # A question closed by Enter (clear the results? No), then instant taps:
    # START, STOP, START, STOP. A tap taken for a held key's repeat would
    # leave the spin going, and the third tap would stop it instead.
    answer alt+c Return
    wait_for 300 windows_exactly Tavlo "$open"
    activate "${side_windows[i]}"
    sleep 0.3
    for tap in 1 2 3 4; do
      x key --delay 0 Return
      ((tap % 2)) && wait_for 300 has_draws $((1 + (tap + 1) / 2))
      sleep "$draw_pause"
    done
    [[ $(draws_in_file) -eq 3 ]] || fail "after 4 instant taps the file in Zoë holds $(draws_in_file) draws, not 3"
  else
    draw_one
    [[ $(draws_in_file) -eq 2 ]] || fail "the file in ${sides[i]} holds $(draws_in_file) draws, not 2"
  fi
  answer alt+x Return # yes, end
  wait_for 300 bash -c "! kill -0 ${side_pids[i]}"
  results=$(tr -d '\r' <"$ini" | sed -n '/^\[Result\]/,$p')
  [[ $(sed -n 2p <<<"$results") == "1=7" ]] || fail "the draw stored in ${sides[i]} changed: $results"
  [[ $(grep -c '=7$' <<<"$results") -eq 1 ]] || fail "7 was drawn again in ${sides[i]}: $results"
done

ini="$work/$main/Tavlo.ini"
activate "$main_window"
answer alt+x Return     # yes, end
wait_for 300 bash -c "! kill -0 $main_pid"

results=$(tr -d '\r' <"$ini" | sed -n '/^\[Result\]/,$p')
[[ $(head -n 5 <<<"$results") == "$first_four" ]] || fail "the first four draws changed after the restart"
ordinals=$(grep -E '^[0-9]+=' <<<"$results" | cut -d= -f1 | tr '\n' ' ')
[[ $ordinals == "1 2 3 4 5 6 7 8 " ]] || fail "ordinals out of order: $ordinals"
numbers=$(grep -E '^[0-9]+=' <<<"$results" | cut -d= -f2 | sort -n)
[[ $(uniq <<<"$numbers" | wc -l) -eq 8 ]] || fail "a number was drawn twice: $(tr '\n' ' ' <<<"$numbers")"
while read -r n; do
  ((n >= 1 && n <= 20)) || fail "$n lies outside 1..20"
done <<<"$numbers"
echo "Tavlo.exe under Wine ($locale): 8 draws across a SIGKILL in \"$main\", distinct, in 1..20;" \
  "three more instances side by side in ${sides[*]}, each going on from its file"
