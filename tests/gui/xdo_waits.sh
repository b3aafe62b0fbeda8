# Waits on conditions for the end-to-end scripts, each bounded in time; sourced, not run.

# wait_until SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails after SECONDS.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

# The visible windows with exactly this title.
shown() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
# The id of the visible window with this title, once it is mapped.
wait_shown() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
is_gone() { [[ $(shown "$1") == 0 ]]; }
has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
# Gives a window the keyboard focus and waits until it holds it, so keys reach it.
focus() {
  xdotool windowfocus --sync "$1"
  wait_until 10 has_focus "$1"
}
is_running() { kill -0 "$1" 2>/dev/null; }
has_ended() { ! is_running "$1"; }
