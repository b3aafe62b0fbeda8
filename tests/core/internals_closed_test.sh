#!/bin/sh
# A front end that includes a header of the core's internals does not compile, even with the
# internal folder on its include path; the same file compiles as a test of the internals.
# Usage: internals_closed_test.sh CXX SOURCE_DIR
set -u
cxx=$1
src=$2
probe=$(mktemp --suffix=.cpp)
trap 'rm -f "$probe"' EXIT
echo '#include "stages.h"' >"$probe"
flags="-std=c++20 -fsyntax-only -I$src/linkcalc/include -I$src/linkcalc/src"
if out=$("$cxx" $flags "$probe" 2>&1); then
  echo "FAIL: an internal header compiled in a front end"
  exit 1
fi
case $out in
*"an internal header of the calculation core"*) ;;
*) echo "FAIL: not refused as an internal header: $out"; exit 1 ;;
esac
"$cxx" $flags -DLINKCALC_INTERNAL "$probe" || { echo "FAIL: refused to the internals' tests"; exit 1; }
echo "PASS: internal headers refuse front ends"
