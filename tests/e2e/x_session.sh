# Helpers for the end-to-end scripts that drive the real program under an X
# server with real X input (xdotool). Sourced, not run.

# A script may name a log (fail_log) whose tail a failure shows too.
fail() {
  echo "FAIL: $*" >&2
  [[ -n ${fail_log:-} && -s $fail_log ]] && tail -n 20 "$fail_log" >&2
  exit 1
}

# Polls until a command succeeds; fails after `tries` tenths of a second.
wait_for() {
  local tries=$1 i; shift
  for ((i = 0; i < tries; i++)); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "timed out waiting for: $*"
}

# xdotool again when its connection was dropped (Xvfb drops some connections
# that arrive while another client connects and disconnects in a tight loop);
# a dropped connection has sent nothing yet.
x() { for _ in 1 2 3 4 5; do xdotool "$@" && return 0; sleep 0.2; done; return 1; }
key() { x key --clearmodifiers "$@"; }

window_named() {
  local window
  for _ in 1 2 3 4 5; do
    window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [[ -n $window ]] && { echo "$window"; return 0; }
    sleep 0.2
  done
}
# Waits up to `seconds` for a visible window titled `name` and prints its id.
# One waiting search rather than a poll: Xvfb drops some connections that
# arrive while another client connects and disconnects in a tight loop, and
# the program's own connection at start-up must not be one of them. The
# search walks every window, and one destroyed under it (a window of a
# program starting or ending) is an X error that ends xdotool: search again.
await_window() {
  local name=$1 seconds=$2 window deadline=$((SECONDS + $2))
  while ((SECONDS < deadline)); do
    window=$(timeout $((deadline - SECONDS)) xdotool search --sync --onlyvisible --name "^$name\$" 2>/dev/null |
      head -n 1) || true
    [[ -n $window ]] && { echo "$window"; return 0; }
    sleep 0.3
  done
  return 1
}
has_window() { [[ -n $(window_named "$1") ]]; }
count_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
windows_at_least() { [[ $(count_windows "$1") -ge $2 ]]; }
windows_exactly() { [[ $(count_windows "$1") -eq $2 ]]; }
# The window the window manager holds active, by its title.
active_is() { [[ $(xdotool getactivewindow getwindowname 2>/dev/null) == "$1" ]]; }

# A real window manager, as on a desktop: who gets the focus when a window
# closes is its choice, and the program must not rely on it. Started like
# the X server, for this script alone; it goes with the script's jobs.
start_window_manager() {
  openbox --sm-disable >/dev/null 2>&1 &
  wait_for 100 window_manager_running
}
window_manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# The draws in the settings file "$ini".
draws_in_file() { grep -cE '^[0-9]+=' "$ini" 2>/dev/null || true; }
has_draws() { [[ $(draws_in_file) -ge $1 ]]; }

# Draws one number: Enter starts the spin (the draw is in the file at once),
# Enter stops it once it has spun. A START that comes in the same burst as
# the STOP before it is dropped, so each press waits a little (draw_pause).
draw_one() {
  local before
  before=$(draws_in_file)
  key Return
  wait_for 300 has_draws $((before + 1))
  sleep "${draw_pause:-0.2}"
  key Return
  sleep "${draw_pause:-0.2}"
}
