#!/usr/bin/env bash
# Times one linkcalc-cli run from start to exit: a plain run (no module loaded), a run from
# sites (the geodesy module) and one that also writes a map (the kml module). Another build of
# the tool can be given to compare a plain run with: ./bench/startup.sh [OTHER-LINKCALC-CLI]
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/bin/linkcalc-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "hyperfine is missing (Debian: hyperfine)" >&2; exit 1; }

map=$(mktemp --suffix=.kml)
trap 'rm -f "$map"' EXIT
link="--gain1 23 --gain2 23 --band 5800 --speed 54"
commands=("$cli $link --distance 10 --unit Km")
[ $# -ge 1 ] && commands+=("$1 $link --distance 10 --unit Km")
commands+=("$cli $link --site1 40.4406,-79.9959 --site2 40.5,-79.9"
  "$cli $link --site1 40.4406,-79.9959 --site2 40.5,-79.9 --kml $map")
hyperfine -N --warmup 50 --runs 1000 --output=null "${commands[@]}"
