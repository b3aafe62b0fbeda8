#!/usr/bin/env bash
# Times linkcalc-cli's start-up without and with the ground options, and a 50 km path from an
# elevation model with its picture: ./bench/path_profile.sh (needs hyperfine and python3)
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/bin/linkcalc-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 docs/pictures/make_hills_tile.py "$work" 40 -80
awk 'BEGIN { print "distance,elevation"; for (x = 0; x <= 50000; x += 100) printf "%d,%.1f\n", x, 100 + 50 * sin(x / 3000) }' \
  > "$work/terrain.csv"
link="$cli --gain1 30 --gain2 30 --loss1 1 --loss2 1 --band 5800 --speed 24"
sites="--site1 40.1,-79.9 --site2 40.44,-79.51"  # 50.3 km, 1677 samples
hyperfine -N --warmup 5 --runs 40 \
  "$link --distance 50 --unit Km" \
  "$link --distance 50 --unit Km --terrain $work/terrain.csv" \
  "$link --distance 50 --unit Km --profile $work/bare.png" \
  "$link $sites" \
  "$link $sites --dem $work" \
  "$link $sites --dem $work --profile $work/path.png" \
  "$link $sites --dem $work --profile $work/path.svg"
