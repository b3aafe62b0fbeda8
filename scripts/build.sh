#!/usr/bin/env bash
# Configures and builds into build/ (extra arguments go to cmake's configure step).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DLINKCALC_BUILD_CLI=ON -DLINKCALC_BUILD_GUI=ON \
  -DLINKCALC_BUILD_TESTS=ON -DLINKCALC_BUILD_BENCH=ON "$@" >/dev/null
cmake --build build -j"$(nproc)"
