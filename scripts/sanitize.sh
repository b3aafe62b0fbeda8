#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and
# runs the whole test suite there; any report fails the run. (Warnings are left to the normal
# build: instrumented code makes GCC warn falsely inside the standard library.)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLINKCALC_SANITIZE=ON \
  -DLINKCALC_WERROR=OFF -DLINKCALC_BUILD_CLI=ON -DLINKCALC_BUILD_GUI=ON -DLINKCALC_BUILD_TESTS=ON \
  -DLINKCALC_BUILD_BENCH=OFF \
  "$@" >/dev/null
cmake --build build-asan -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
cd build-asan
ctest --output-on-failure -j"$(nproc)"
