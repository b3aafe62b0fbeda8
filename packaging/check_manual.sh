#!/bin/sh
# Checks the manual page of linkcalc-cli against the tool's own --help:
# - the page renders without a warning from groff;
# - every option --help lists (its lines "  --opt ARG") is an option heading of the page with
#   the same argument name, and the page has no option heading that --help does not list;
# - every --option the page names anywhere is one that --help names.
# Usage: check_manual.sh PAGE.1 LINKCALC-CLI
set -eu
page=$1 cli=$2
if ! command -v groff >/dev/null 2>&1; then
  echo "groff not found: skipped (it is in the Debian package groff-base)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" --help >"$work/help"
# Wide lines, so that no heading or option name is broken; plain ASCII, no overstriking.
groff -man -Tascii -P-cbou -rLL=250n -ww -b "$page" >"$work/page" 2>"$work/warnings"
status=0
if [ -s "$work/warnings" ]; then
  echo "groff warns about $page:"
  cat "$work/warnings"
  status=1
fi

# "--opt" or "--opt ARG" from the option lines: two blanks of indent in --help, the tag indent
# (seven) in the page. An argument name is all capitals.
options() {
  awk -v indent="$1" '
    substr($0, 1, indent + 2) == sprintf("%" indent "s--", "") {
      print ($2 ~ /^[A-Z]+$/) ? $1 " " $2 : $1
    }' "$2" | sort -u
}
options 2 "$work/help" >"$work/help-options"
options 7 "$work/page" >"$work/page-options"
if [ ! -s "$work/help-options" ]; then
  echo "found no option lines in $cli --help"
  status=1
fi
if ! cmp -s "$work/help-options" "$work/page-options"; then
  echo "the options of $cli --help (<) and of the manual page (>) differ:"
  diff "$work/help-options" "$work/page-options" | grep '^[<>]' || true
  status=1
fi

names() { grep -oE -- '--[a-z0-9][a-z0-9-]*' "$1" | sort -u; }
names "$work/help" >"$work/help-names"
names "$work/page" >"$work/page-names"
unknown=$(comm -13 "$work/help-names" "$work/page-names")
if [ -n "$unknown" ]; then
  echo "the manual page names options that $cli --help does not:" $unknown
  status=1
fi

[ "$status" -ne 0 ] || echo "the manual page lists the $(wc -l <"$work/help-options") options of --help"
exit "$status"
