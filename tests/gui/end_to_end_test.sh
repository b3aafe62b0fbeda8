#!/usr/bin/env bash
# The real program under Xvfb: types a link into the window with xdotool (Tab goes from field
# to field in tab index order), presses Alt+C to calculate and Alt+X to end, and compares the
# 29 texts the window showed with the command-line tool's run of the same inputs.
# The sheet inspector, preloaded into the program, writes its sheet when it ends.
# Usage: end_to_end_test.sh PROGRAM CLI INSPECTOR        Exit status 77: skipped.
set -euo pipefail
usage="usage: end_to_end_test.sh PROGRAM CLI INSPECTOR"
program=${1:?$usage}
cli=${2:?$usage}
inspector=${3:?$usage}

if [[ "${4:-}" != --inside ]]; then
  for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
      exit 77
    fi
  done
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$program" "$cli" "$inspector" --inside
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

window=$(wait_shown 'QUARN Link Budget Calculator')
[[ -n $window ]] || { echo "FAIL: no main window"; cat "$work/stderr"; exit 1; }
focus "$window" || { echo "FAIL: the main window does not take the focus"; exit 1; }

key() { xdotool key --delay 40 "$@"; }
type_text() { xdotool type --delay 40 "$1"; }
key ctrl+a; type_text 1              # TxtCblLss1, focused at start
key Tab; type_text 5                 # TxtDM
key Tab Down Down Down Down          # CmbEFreq: 5800
key Tab Down Down Down Down Down Down Down  # CmbSlcSpeed: 54 Mbps
key Tab ctrl+a; type_text 2          # TxtCblLoss2
key Tab Tab Tab Tab Tab; type_text 23  # past the four buttons to TxtAntG
key Tab; type_text 23                # TxtAntG2
key Tab; type_text Miles             # Cmbmilekm
# The program takes its keys in order: the run has ended before Alt+X is read.
key alt+c alt+x

if ! wait_until 10 has_ended "$pid"; then
  echo "FAIL: the program did not end on Alt+X"
  kill "$pid"
  exit 1
fi
wait "$pid" || { echo "FAIL: the program ended with status $?"; cat "$work/stderr"; exit 1; }
[[ -s $sheet ]] || { echo "FAIL: no sheet written"; exit 1; }

# One "name": "text" line per field, from both JSON texts.
fields() { grep -E '^ *"(Txt|Lbl|Cmb)[A-Za-z0-9]*": ' | sed -E 's/^ *//; s/,$//' | sort; }
"$cli" --json --gain1 23 --gain2 23 --loss1 1 --loss2 2 --distance 5 --unit Miles \
  --band 5800 --speed 54 | fields >"$work/expected"
fields <"$sheet" >"$work/shown"
if ! diff -u "$work/expected" "$work/shown"; then
  echo "FAIL: the window shows other texts than the command-line tool"
  exit 1
fi
grep -q '"TxtFM": "[0-9]' "$work/shown" || { echo "FAIL: no fade margin"; exit 1; }
echo "PASS: $(wc -l <"$work/shown") fields as the command-line tool gives them"
