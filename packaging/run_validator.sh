#!/bin/sh
# Runs a validator on a file: run_validator.sh PACKAGE TOOL [ARGUMENTS...]. When TOOL is not
# installed, says so and exits with 77, which CTest counts as a skip; PACKAGE is the Debian
# package that has it.
set -eu
package=$1 tool=$2
shift 2
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "$tool not found: skipped (it is in the Debian package $package)"
  exit 77
fi
exec "$tool" "$@"
