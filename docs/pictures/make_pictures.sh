#!/usr/bin/env bash
# Draws the three path pictures of the README with a built linkcalc-cli: a bare path, a hilly
# path from an elevation model (a made-up SRTM tile of hills) and a path that a wooded ridge
# blocks (blocked-path.csv). Usage: make_pictures.sh [LINKCALC-CLI]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-$here/../../build/bin/linkcalc-cli}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

link=(--gain1 30 --gain2 30 --loss1 1 --loss2 1 --band 5800 --speed 24)
"$cli" "${link[@]}" --distance 16 --unit Km --profile "$here/bare-path.png" >/dev/null
python3 "$here/make_hills_tile.py" "$work" 40 -80
"$cli" "${link[@]}" --site1 40.10,-79.98 --site2 40.28,-79.74 --mast1 62 --mast2 62 \
  --dem "$work" --profile "$here/dem-path.png" >/dev/null
"$cli" "${link[@]}" --terrain "$here/blocked-path.csv" --profile "$here/blocked-path.png" \
  >/dev/null
echo "wrote $here/bare-path.png, dem-path.png and blocked-path.png"
