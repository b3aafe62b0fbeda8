#!/usr/bin/env bash
# The program where no desktop session is: without a display in the environment, or with one
# that cannot be opened, it says so in one line that points to linkcalc-cli and ends with 69
# (EX_UNAVAILABLE), never aborting; a platform picked by hand still opens the window.
# Usage: no_display_test.sh PROGRAM
set -euo pipefail
program=${1:?usage: no_display_test.sh PROGRAM}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# A display number no X server holds here.
display=4711
while [[ -e /tmp/.X$display-lock || -e /tmp/.X11-unix/X$display ]]; do display=$((display + 1)); done

# NAME EXPECTED-LINE ENV...: runs the program in exactly that environment.
refuses() {
  local name=$1 expected=$2
  shift 2
  local status=0
  env -i PATH="$PATH" HOME="$HOME" "$@" "$program" >"$work/stdout" 2>"$work/stderr" || status=$?
  [[ $status -eq 69 ]] || fail "$name: exit status $status, not 69"
  [[ ! -s $work/stdout ]] || fail "$name: writes to standard output: $(cat "$work/stdout")"
  [[ $(wc -l <"$work/stderr") -eq 1 ]] || fail "$name: not one line: $(cat "$work/stderr")"
  grep -qxF "$expected" "$work/stderr" || fail "$name: says '$(cat "$work/stderr")'"
}

hint="linkcalc-cli computes the same link without one"
refuses "no display" \
  "linkcalc: needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set); $hint"
refuses "empty display names" \
  "linkcalc: needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set); $hint" \
  DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=
refuses "display not there" \
  "linkcalc: cannot open a window: could not connect to display :$display; $hint" \
  DISPLAY=:$display

# -platform picks one by hand: the window opens, so the program is still running.
env -i PATH="$PATH" HOME="$HOME" XDG_RUNTIME_DIR="$work" "$program" -platform offscreen \
  >/dev/null 2>"$work/stderr" &
pid=$!
sleep 1
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid"
  wait "$pid" 2>/dev/null || true
else
  wait "$pid" || true
  fail "-platform offscreen: the program ended: $(cat "$work/stderr")"
fi

[[ $failures -eq 0 ]] || exit 1
echo "PASS: without a desktop session one line points to linkcalc-cli, status 69"
