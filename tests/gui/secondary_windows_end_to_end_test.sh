#!/usr/bin/env bash
# The real program under Xvfb with its secondary windows: Alt+S opens the antenna picker, whose
# focused "Int 23dBi" button Enter presses; Alt+H and Alt+E open the help windows, once each
# however often they are asked for; Alt+X in the input help closes only it; Alt+X in the main
# window ends the program with every window. The sheet written on exit shows the picked gain.
# Usage: secondary_windows_end_to_end_test.sh PROGRAM        Exit status 77: skipped.
set -euo pipefail
program=${1:?usage: secondary_windows_end_to_end_test.sh PROGRAM}

if [[ "${2:-}" != --inside ]]; then
  for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" --inside
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LINKCALC_SHEET_DUMP=$work/sheet.json
"$program" 2>"$work/stderr" &
pid=$!

fail() { echo "FAIL: $*"; kill "$pid" 2>/dev/null || true; exit 1; }
# The visible windows with exactly this title.
shown() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
wait_shown() { timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -1; }
wait_gone() {
  for _ in $(seq 100); do
    [[ $(shown "$1") == 0 ]] && return 0
    sleep 0.1
  done
  fail "\"$1\" did not close"
}
focus() { xdotool windowfocus --sync "$1"; }

main=$(wait_shown 'QUARN Link Budget Calculator')
focus "$main"
sleep 0.5

xdotool key alt+s
picker=$(wait_shown 'Recommended Antennas')
focus "$main"
xdotool key alt+s
sleep 0.5
[[ $(shown 'Recommended Antennas') == 1 ]] || fail "a second picker opened"
focus "$picker"
xdotool key Return
wait_gone 'Recommended Antennas'

focus "$main"
xdotool key alt+h
input_help=$(wait_shown 'Input Help')
focus "$main"
xdotool key alt+e
wait_shown 'Help' >/dev/null
focus "$main"
xdotool key alt+h alt+e
sleep 0.5
[[ $(shown 'Input Help') == 1 ]] || fail "a second input help opened"
[[ $(shown 'Help') == 1 ]] || fail "a second result help opened"

focus "$input_help"
xdotool key alt+x
wait_gone 'Input Help'
kill -0 "$pid" 2>/dev/null || fail "Alt+X in the input help ended the program"
[[ $(shown 'Help') == 1 ]] || fail "the result help closed with the input help"

focus "$main"
xdotool key alt+x
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end on Alt+X with a help window open"
wait "$pid" || { echo "FAIL: the program ended with status $?"; cat "$work/stderr"; exit 1; }

grep -q '"TxtAntG": "23"' "$LINKCALC_SHEET_DUMP" || fail "TxtAntG is not 23"
grep -q '"TxtAntG2": "23"' "$LINKCALC_SHEET_DUMP" || fail "TxtAntG2 is not 23"
grep -q '"TxtFSL": ""' "$LINKCALC_SHEET_DUMP" || fail "picking a gain started a run"
echo "PASS: picker and help windows in the real program"
