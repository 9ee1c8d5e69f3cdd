#!/usr/bin/env bash
# Runs an example program in a scratch directory, with qview's directory
# first on PATH, and checks what it wrote with qview --strict.
#   example_test.sh QVIEW EXAMPLE [--stderr TEXT] [RIB...]
# TEXT is the example's whole standard error (printf %b escapes; nothing
# by default).  Each RIB is a file the example writes, "-" for its standard
# output, or binary:FILE for a file that must also be binary RIB.  Each must
# pass qview --strict: exit status 0, no error, no warning.
set -euo pipefail
qview=$1
example=$2
shift 2
expected_stderr=
if [ "${1:-}" = --stderr ]; then
  expected_stderr=$2
  shift 2
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cd "$scratch"
status=0
PATH="$(dirname "$qview"):$PATH" "$example" > stdout.rib 2> stderr || status=$?
[ "$status" -eq 0 ] || fail "$(basename "$example") exited with status $status: $(cat stderr)"
printf '%b' "$expected_stderr" > expected_stderr
cmp -s expected_stderr stderr ||
  fail "$(basename "$example") wrote to standard error:"$'\n'"$(cat stderr)"$'\n'"expected:"$'\n'"$(cat expected_stderr)"

for rib in "$@"; do
  file=${rib#binary:}
  binary=no
  [ "$file" = "$rib" ] || binary=yes
  [ "$file" = - ] && file=stdout.rib
  [ -s "$file" ] || fail "$(basename "$example") wrote no $file"
  if [ "$binary" = yes ]; then
    # A binary float array begins with a byte from 0xC8 to 0xCB.
    LC_ALL=C grep -q $'[\xc8-\xcb]' "$file" || fail "$file is not binary RIB"
  fi
  status=0
  "$qview" --strict "$file" > /dev/null 2> qview.err || status=$?
  [ "$status" -eq 0 ] || fail "qview --strict $file exited with status $status: $(cat qview.err)"
  grep -Eqx 'qview: [0-9]+ requests?, [0-9]+ worlds?, [1-9][0-9]* primitives?, 0 errors' qview.err ||
    fail "qview --strict $file: $(cat qview.err)"
  [ "$(wc -l < qview.err)" -eq 1 ] || fail "qview --strict $file: $(cat qview.err)"
done
echo "$(basename "$example"): ran, and qview found its RIB valid"
