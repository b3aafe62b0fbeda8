#!/usr/bin/env bash
# Times linkcalc-cli --csv end to end on generated rows, and shows its peak memory:
# ./bench/batch_throughput.sh [ROWS]
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-100000}
cli=build/bin/linkcalc-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }

input=$(mktemp --suffix=.csv)
trap 'rm -f "$input"' EXIT
awk -v rows="$rows" 'BEGIN {
  split("4900 5300 5400 5800", bands, " ")
  split("6 12 18 24 36 48 54", speeds, " ")
  split("19 23 27 28 31 34", gains, " ")
  print "gain1,gain2,loss1,loss2,distance,unit,band,speed,packet"
  for (i = 0; i < rows; i++) {
    printf "%s,%s,%.1f,%.1f,%.2f,%s,%s,%s,%d\n", gains[i % 6 + 1], gains[(i * 7) % 6 + 1],
      (i % 5) * 0.5, (i % 3) * 0.5, 0.5 + (i % 400) * 0.25, (i % 2 ? "Km" : "Miles"),
      bands[i % 4 + 1], speeds[i % 7 + 1], 64 + (i % 1455)
  }
}' > "$input"

if command -v hyperfine >/dev/null; then
  hyperfine --warmup 1 --runs 5 --export-json /tmp/batch_throughput.json \
    "$cli --csv $input > /dev/null"
  mean=$(python3 -c 'import json;print(json.load(open("/tmp/batch_throughput.json"))["results"][0]["mean"])')
else
  start=$(date +%s.%N); "$cli" --csv "$input" > /dev/null; end=$(date +%s.%N)
  mean=$(echo "$end - $start" | bc)
fi
python3 -c "print(f'$rows rows in {float($mean):.3f} s: {int($rows / float($mean))} rows per second')"
if [ -x /usr/bin/time ]; then
  /usr/bin/time -f "peak resident memory: %M KB (%U s user, %S s system)" "$cli" --csv "$input" > /dev/null
fi
