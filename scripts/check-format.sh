#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says; lists those that
# are not. Installs clang-format when it is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}" 2>/dev/null; then
  echo "check-format.sh: these files are not formatted (run clang-format -i on them):" >&2
  for file in "${files[@]}"; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || echo "  $file" >&2
  done
  exit 1
fi
echo "check-format.sh: ${#files[@]} files formatted"
