#!/usr/bin/env bash
# Builds the README's C example against the build tree with each of the
# README's own cc lines (shared library with an rpath, static library),
# from a directory that looks like the source tree (include/, build/), and
# runs it with no LD_LIBRARY_PATH.
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2
readme="$source_dir/README.md"

# The first ```c block after "## Using it from C", and the indented cc
# lines that build square.c.
awk '/^## Using it from C/ { section = 1 }
     section && /^```c$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' "$readme" > "$scratch/square.c"
grep -q 'RiBegin("square.rib")' "$scratch/square.c" || fail "no C example in README.md"
mapfile -t lines < <(sed -n 's/^    \(cc -std=c99 square\.c .*\)$/\1/p' "$readme")
[ "${#lines[@]}" -eq 2 ] || fail "README.md has ${#lines[@]} cc lines for square.c, expected 2"

ln -s "$source_dir/include" "$scratch/include"
ln -s "$build" "$scratch/build"
expected=$'##RenderMan RIB-Structure 1.0\nversion 3.03\nWorldBegin\nColor [1 0 0]\nSurface "matte"\nPolygon "P" [0 0 0 1 0 0 1 1 0 0 1 0]\nWorldEnd\n\n'
for line in "${lines[@]}"; do
  rm -f "$scratch/square" "$scratch/square.rib"
  (cd "$scratch" && env -u LD_LIBRARY_PATH bash -c "$line") > "$scratch/run.log" 2>&1 ||
    fail "$line: $(cat "$scratch/run.log")"
  check_output "$expected" cat "$scratch/square.rib"
  case $line in
    *-lvellum*) needs_library "$scratch/square" yes ;;
    *) needs_library "$scratch/square" no ;;
  esac
done
echo "build tree: the README's example built and ran with both lines"
