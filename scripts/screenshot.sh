#!/usr/bin/env bash
# Writes a screenshot of the main window to a PNG: the real program under Xvfb, as it opens.
# With --filled, a sample link is typed in and calculated first (Alt+C).
# Needs xvfb-run, xdotool and ImageMagick (scripts/install-deps.sh installs them) and a build
# (scripts/build.sh). Usage: scripts/screenshot.sh OUTPUT.png [--filled]
set -euo pipefail
out=${1:?usage: scripts/screenshot.sh OUTPUT.png [--filled]}
filled=${2:-}
cd "$(dirname "$0")/.."
program=${LINKCALC_PROGRAM:-build/bin/linkcalc}
[[ -x $program ]] || { echo "no program at $program: run scripts/build.sh first" >&2; exit 1; }
[[ $out = /* ]] || out=$PWD/$out

if [[ "${3:-}" != --inside ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out" "${filled:---plain}" --inside
fi

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^QUARN Link Budget Calculator$' | head -1)
xdotool windowfocus --sync "$window"
sleep 0.5
if [[ $filled == --filled ]]; then
  # Tab goes from field to field in tab index order, starting in the first cable loss.
  xdotool key --delay 40 ctrl+a && xdotool type --delay 40 1
  xdotool key --delay 40 Tab && xdotool type --delay 40 5
  xdotool key --delay 40 Tab Down Down Down Down Tab Down Down Down Down Down Down Down
  xdotool key --delay 40 Tab ctrl+a && xdotool type --delay 40 2
  xdotool key --delay 40 Tab Tab Tab Tab Tab && xdotool type --delay 40 23
  xdotool key --delay 40 Tab && xdotool type --delay 40 23
  xdotool key --delay 40 Tab && xdotool type --delay 40 Miles
  xdotool key alt+c
  sleep 0.5
fi
import -window "$window" "$out"
echo "wrote $out"
