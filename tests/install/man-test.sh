#!/usr/bin/env bash
# The manual pages are clean roff: groff has nothing to warn about, man shows them, and
# they name every option qxconvert takes.
#   man-test.sh SOURCE_DIR
set -euo pipefail
pages=$1/resources/man
fail() { echo "FAIL: $*" >&2; exit 1; }
for page in quorlantix.1 qxconvert.1; do
  warnings=$(groff -man -ww -z "$pages/$page" 2>&1)
  [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l -Tutf8 -Z "$pages/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man warns about $page: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$pages/$page" 2>/dev/null | sed 's/.\x08//g')
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES "SEE ALSO"; do
    grep -q "^$section" <<< "$text" || fail "$page has no $section section"
  done
done
text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$pages/qxconvert.1" 2>/dev/null | sed 's/.\x08//g')
for option in --screen --quality --crop --max-size --max-minutes; do
  grep -q -- "$option" <<< "$text" || fail "qxconvert(1) does not describe $option"
done
echo "manual pages clean"
