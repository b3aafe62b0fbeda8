#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 30) on a copy of
# its committed seed corpus: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(number_rules calc_run csv_reader terrain point_text point_parser)

CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLINKCALC_FUZZ=ON \
  -DLINKCALC_BUILD_CLI=ON -DLINKCALC_BUILD_GUI=OFF -DLINKCALC_BUILD_TESTS=OFF -DLINKCALC_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]/%/_fuzz}"

for target in "${targets[@]}"; do
  work=$(mktemp -d)
  log=$(mktemp)
  echo "== $target: ${seconds}s"
  status=0
  build-fuzz/bin/${target}_fuzz -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|runtime error|number rules:|calculation run:|csv reader:|terrain:|point text:|point parser:' "$log" || true
  if [ "$status" -ne 0 ]; then
    echo "$target found a fault (exit $status); the input that shows it:"
    for crash in "$work"/crash-* "$work"/leak-* "$work"/timeout-*; do
      [ -f "$crash" ] && { cp "$crash" "build-fuzz/"; od -c "$crash" | head -20; }
    done
    exit 1
  fi
  rm -rf "$work" "$log"
done
