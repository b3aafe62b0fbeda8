#!/usr/bin/env bash
# The real program under Xvfb with its secondary windows: Alt+S opens the antenna picker, whose
# focused "Int 23dBi" button Enter presses; Alt+H and Alt+E open the help windows, once each
# however often they are asked for (asking again brings the open one forward); Alt+X in the
# input help closes only it; Alt+X in the main window ends the program with every window. The
# sheet, written on exit by the preloaded sheet inspector, shows the picked gain.
# Usage: secondary_windows_end_to_end_test.sh PROGRAM INSPECTOR        Exit status 77: skipped.
set -euo pipefail
usage="usage: secondary_windows_end_to_end_test.sh PROGRAM INSPECTOR"
program=${1:?$usage}
inspector=${2:?$usage}

if [[ "${3:-}" != --inside ]]; then
  for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" "$inspector" --inside
fi
source "$(dirname "$0")/xdo_waits.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sheet=$work/sheet.json
# A sanitizer build checks that its runtime comes first; the preloaded inspector comes before.
LINKCALC_SHEET_DUMP=$sheet LD_PRELOAD=$inspector \
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 \
  "$program" 2>"$work/stderr" &
pid=$!

fail() { echo "FAIL: $*"; kill "$pid" 2>/dev/null || true; exit 1; }
shown_window() {
  local id
  id=$(wait_shown "$1") && [[ -n $id ]] || fail "\"$1\" did not appear"
  echo "$id"
}
comes_forward() { wait_until 10 has_focus "$1" || fail "$2 did not come forward"; }

main=$(shown_window 'QUARN Link Budget Calculator')
focus "$main" || fail "the main window does not take the focus"

xdotool key alt+s
picker=$(shown_window 'Recommended Antennas')
comes_forward "$picker" "the new picker"
focus "$main" || fail "the main window does not take the focus back"
xdotool key alt+s
comes_forward "$picker" "the open picker"
[[ $(shown 'Recommended Antennas') == 1 ]] || fail "a second picker opened"
xdotool key Return
wait_until 10 is_gone 'Recommended Antennas' || fail "the picker did not close"

focus "$main" || fail "the main window does not take the focus back"
xdotool key alt+h
input_help=$(shown_window 'Input Help')
comes_forward "$input_help" "the new input help"
focus "$main" || fail "the main window does not take the focus back"
xdotool key alt+e
result_help=$(shown_window 'Help')
comes_forward "$result_help" "the new result help"
focus "$main" || fail "the main window does not take the focus back"
xdotool key alt+h
comes_forward "$input_help" "the open input help"
focus "$main" || fail "the main window does not take the focus back"
xdotool key alt+e
comes_forward "$result_help" "the open result help"
[[ $(shown 'Input Help') == 1 ]] || fail "a second input help opened"
[[ $(shown 'Help') == 1 ]] || fail "a second result help opened"

focus "$input_help" || fail "the input help does not take the focus"
xdotool key alt+x
wait_until 10 is_gone 'Input Help' || fail "the input help did not close"
is_running "$pid" || fail "Alt+X in the input help ended the program"
[[ $(shown 'Help') == 1 ]] || fail "the result help closed with the input help"

focus "$main" || fail "the main window does not take the focus back"
xdotool key alt+x
wait_until 10 has_ended "$pid" || fail "the program did not end on Alt+X with a help window open"
wait "$pid" || { echo "FAIL: the program ended with status $?"; cat "$work/stderr"; exit 1; }

[[ -s $sheet ]] || fail "no sheet written"
grep -q '"TxtAntG": "23"' "$sheet" || fail "TxtAntG is not 23"
grep -q '"TxtAntG2": "23"' "$sheet" || fail "TxtAntG2 is not 23"
grep -q '"TxtFSL": ""' "$sheet" || fail "picking a gain started a run"
echo "PASS: picker and help windows in the real program"
