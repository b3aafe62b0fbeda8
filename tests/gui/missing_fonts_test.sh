#!/usr/bin/env bash
# A desktop that lacks a font package: with fontconfig shown only the faces of some of the
# packages, the face test fails and the program warns at start-up, both naming the package
# left out; with all of them, the face test passes.
# Usage: missing_fonts_test.sh FONT_FACES_TEST PROGRAM        Exit status 77: skipped.
set -euo pipefail
face_test=${1:?usage: missing_fonts_test.sh FONT_FACES_TEST PROGRAM}
program=${2:?usage: missing_fonts_test.sh FONT_FACES_TEST PROGRAM}
packages=(fonts-dejavu-core fonts-dejavu-extra fonts-liberation)

for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    echo "SKIP: $package is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
pid=
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Points fontconfig at the font files of the given packages only.
fonts_of() {
  local dir=$work/$1
  shift
  mkdir -p "$dir/fonts"
  dpkg-query -L "$@" | grep -E '\.(ttf|otf)$' | xargs -r ln -sf -t "$dir/fonts"
  cat >"$dir/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>$dir/fonts</dir><cachedir>$dir/cache</cachedir></fontconfig>
CONF
  echo "$dir/fonts.conf"
}

# The program's start-up warnings, once the first has come (within 10 s; it checks the faces
# before it builds its window).
startup_warnings() {
  QT_QPA_PLATFORM=offscreen FONTCONFIG_FILE=$1 "$program" 2>"$work/stderr" &
  pid=$!
  for _ in $(seq 100); do
    grep -q 'missing font' "$work/stderr" && break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  grep '^linkcalc: missing font' "$work/stderr" || true
}

# Each case leaves out one package (or none) and expects the one line naming it.
for left_out in fonts-dejavu-extra fonts-liberation none; do
  kept=()
  for package in "${packages[@]}"; do [[ $package == "$left_out" ]] || kept+=("$package"); done
  config=$(fonts_of "$left_out" "${kept[@]}")
  status=0
  QT_QPA_PLATFORM=offscreen FONTCONFIG_FILE=$config "$face_test" >"$work/test.out" 2>&1 ||
    status=$?
  # With all of them, the face test (which also requires no start-up warning) must pass, or
  # the other cases would prove nothing.
  if [[ $left_out == none ]]; then
    [[ $status -eq 0 ]] || { fail "the face test fails with all font packages"; cat "$work/test.out"; }
    continue
  fi
  warnings=$(startup_warnings "$config")
  [[ $status -ne 0 ]] || fail "the face test passes without $left_out"
  grep -q "install $left_out" "$work/test.out" ||
    fail "the face test does not name $left_out: $(grep -m3 FAIL "$work/test.out")"
  [[ $(grep -c . <<<"$warnings") -eq 1 && $warnings == *"; install $left_out" ]] ||
    fail "without $left_out the program warns: '$warnings'"
done

[[ $failures -eq 0 ]] || exit 1
echo "PASS: a missing font package fails the face test and the start-up, naming the package"
