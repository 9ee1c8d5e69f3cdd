# Sourced by the package tests: a scratch directory that is removed on
# exit, failure messages, and checks of the RIB a client writes.
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The RIB that tests/package/client.c writes.
client_rib=$'##RenderMan RIB-Structure 1.0\nversion 3.03\nWorldBegin\nPolygon "P" [0 0 0 1 0 0 1 1 0 0 1 0]\nWorldEnd\n\n'

# check_output EXPECTED COMMAND...: runs the command, which must exit with
# 0 and write exactly EXPECTED on standard output and nothing on standard
# error.
check_output() {
  local expected=$1
  shift
  local status=0
  "$@" > "$scratch/stdout" 2> "$scratch/stderr" || status=$?
  [ "$status" -eq 0 ] || fail "$* exited with status $status: $(cat "$scratch/stderr")"
  [ ! -s "$scratch/stderr" ] || fail "$* wrote to standard error: $(cat "$scratch/stderr")"
  printf '%s' "$expected" > "$scratch/expected"
  cmp -s "$scratch/expected" "$scratch/stdout" ||
    fail "$* wrote unexpected output:"$'\n'"$(cat "$scratch/stdout")"
}

# check_client COMMAND...: the client runs and writes its RIB.
check_client() {
  check_output "$client_rib" "$@"
}

# needs_library PROGRAM yes|no: whether PROGRAM loads libvellum.so.
needs_library() {
  local needed=no
  readelf -d "$1" | grep -q 'NEEDED.*libvellum\.so' && needed=yes
  [ "$needed" = "$2" ] || fail "$1: libvellum.so needed: $needed, expected $2"
}
