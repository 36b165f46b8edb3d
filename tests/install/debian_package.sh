#!/usr/bin/env bash
# The Debian package as a machine gets it: builds it, lets lintian judge it
# (no error, no warning), unpacks it into a temporary root and runs the
# unpacked program under a real X server as two ordinary accounts at the same
# time and as root. Each keeps its drawing in its own settings folder
# ($XDG_CONFIG_HOME/tavlo, or ~/.config/tavlo without it), which the program
# makes; nothing is written into the unpacked tree. Runs as root, to start
# the program as other accounts: two throw-away system accounts are made for
# it (unless a run killed before its end left them) and removed afterwards.
#
# Usage (under xvfb-run): debian_package.sh <source folder> <package build folder>
set -euo pipefail

source=$1
build=$2
if [[ $(id -u) -ne 0 ]]; then
  echo "SKIP: runs the program as other accounts, which needs root"
  exit 77
fi
work=$(mktemp -d)
chmod 0755 "$work"
accounts=(tavlo-test-a tavlo-test-b)
made=()
cleanup() {
  kill -9 $(jobs -p) 2>/dev/null || true
  wait 2>/dev/null || true
  for account in "${made[@]}"; do userdel "$account" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
unset QT_QPA_PLATFORM XDG_CONFIG_HOME
source "$source/tests/e2e/x_session.sh"

"$source/scripts/package-deb.sh" "$build" "$work/dist"
deb=$(echo "$work"/dist/tavlo_*.deb)
lintian --fail-on error,warning "$deb" || fail "lintian"

root=$work/root
dpkg-deb -x "$deb" "$root"
tree() { find "$root" -printf '%p %m %s %T@\n' | sort; }
before=$(tree)

for account in "${accounts[@]}"; do
  if ! id "$account" >/dev/null 2>&1; then
    useradd --system --user-group --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$account"
    made+=("$account")
  fi
done
# The X server's cookie, for the accounts too.
cp "$XAUTHORITY" "$work/xauth"
chmod 0644 "$work/xauth"

# Starts the unpacked program as `account` (root: as root) with a home of
# its own, and the environment a desktop gives; further variables follow.
start_as() {
  local account=$1 home=$work/home-$1
  shift
  mkdir -p "$home/runtime"
  chmod 0700 "$home/runtime"
  chown -R "$account:" "$home"
  local run=(env -i DISPLAY="$DISPLAY" XAUTHORITY="$work/xauth" HOME="$home" XDG_RUNTIME_DIR="$home/runtime"
    PATH=/usr/bin:/bin LANG=C.UTF-8 "$@" "$root/usr/bin/tavlo")
  if [[ $account == root ]]; then
    "${run[@]}" &
  else
    setpriv --reuid="$account" --regid="$account" --init-groups "${run[@]}" &
  fi
  pid=$!
}
window_of() { xdotool search --all --onlyvisible --pid "$1" --name '^Tavlo$' 2>/dev/null | head -n 1; }
has_window_of() { [[ -n $(window_of "$1") ]]; }

# Sets the range 1..$2 through the condition dialog of the window of process
# $1 and draws one number; $ini names the file it must reach.
range_and_draw() {
  wait_for 300 has_window_of "$1"
  x windowactivate --sync "$(window_of "$1")"
  sleep 0.3
  key alt+j
  wait_for 200 active_is "条件入力"   # the From box then has the focus
  x type --delay 50 "1"
  key Tab
  x type --delay 50 "$2"
  key Tab space          # OK
  wait_for 200 windows_at_least "条件入力" 2
  key alt+y              # "the range narrowed" (the first range): yes
  wait_for 200 grep -q "^Range=1,$2" "$ini"
  wait_for 200 windows_exactly "条件入力" 0
  draw_one
}
# The file holds the range and one draw, the account owns it and its folder
# is the account's alone.
check_file() {
  [[ $(draws_in_file) -eq 1 ]] || fail "$ini holds $(draws_in_file) draws"
  [[ $(stat -c %U "$ini") == "$1" ]] || fail "$ini belongs to $(stat -c %U "$ini")"
  [[ $(stat -c %a "$(dirname "$ini")") == 700 ]] || fail "$(dirname "$ini") is open to others"
}

start_window_manager
a=${accounts[0]} b=${accounts[1]}

# The first account, by its home alone.
start_as "$a"
a_pid=$pid
ini=$work/home-$a/.config/tavlo/Tavlo.ini
range_and_draw "$a_pid" 30
check_file "$a"
# A second start by the same account ends at once: one instance per file.
timeout 20 setpriv --reuid="$a" --regid="$a" --init-groups \
  env -i DISPLAY="$DISPLAY" XAUTHORITY="$work/xauth" HOME="$work/home-$a" "$root/usr/bin/tavlo" ||
  fail "a second start by $a did not end at once"

# The second account, by its XDG_CONFIG_HOME, while the first runs.
mkdir -p "$work/config-$b"
chown "$b:" "$work/config-$b"
start_as "$b" XDG_CONFIG_HOME="$work/config-$b"
b_pid=$pid
ini=$work/config-$b/tavlo/Tavlo.ini
range_and_draw "$b_pid" 20
check_file "$b"
kill -0 "$a_pid" || fail "the first account's instance ended"
[[ ! -e $work/home-$b/.config ]] || fail "$b wrote into its home despite XDG_CONFIG_HOME"

# Root, like any account, in its own settings folder.
start_as root
ini=$work/home-root/.config/tavlo/Tavlo.ini
range_and_draw "$pid" 10
check_file root

grep -q '^Range=1,30' "$work/home-$a/.config/tavlo/Tavlo.ini" || fail "the first account's file changed"
[[ $(tree) == "$before" ]] || fail "the program wrote into its folder: $(diff <(echo "$before") <(tree))"
echo "Debian package OK: $(du -k "$deb" | cut -f1) KB"
