#!/usr/bin/env bash
# Builds a C project that adds vellum with add_subdirectory, with vellum's
# defaults for a subproject: the library alone, no tools, tests, benchmarks
# or examples, and no need of zlib, ISA-L or libpng (zlib's and libpng's
# find_package calls are disabled, so asking for them would fail the
# configuration; ISA-L is turned off, to build without gzip at all).
source "$(dirname "$0")/common.sh"
source_dir=$1
cmake -S "$source_dir/tests/package/subdirectory" -B "$scratch/client" \
  -DVELLUM_SOURCE_DIR="$source_dir" \
  -DCMAKE_DISABLE_FIND_PACKAGE_ZLIB=ON -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON -DVELLUM_ISAL=OFF \
  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
  > "$scratch/configure.log" 2>&1 || fail "configure: $(cat "$scratch/configure.log")"

# Nothing of vellum's own besides the libraries is even defined.  (The
# help target lists "... name" with make, "name: phony" with ninja.)
cmake --build "$scratch/client" --target help > "$scratch/targets"
defined() {
  grep -Eq "^(\.\.\. )?$1(:.*)?\$" "$scratch/targets"
}
for target in vellum_tests vellum_bench c_client qview ribcat vellum_rib vellum_preview testscene \
  mesh_export rib_reader_fuzz ri_api_fuzz; do
  ! defined "$target" || fail "target $target is defined"
done
defined vellum_shared || fail "no target vellum_shared"
(cd "$scratch/client" && ctest -N) > "$scratch/tests"
grep -q '^Total Tests: 0$' "$scratch/tests" || fail "tests are defined: $(cat "$scratch/tests")"

cmake --build "$scratch/client" -j2 > "$scratch/build.log" 2>&1 || fail "build: $(cat "$scratch/build.log")"
check_client "$scratch/client/client_shared"
needs_library "$scratch/client/client_shared" yes
check_client "$scratch/client/client_static"
needs_library "$scratch/client/client_static" no
check_client "$scratch/client/client_cpp"

# Without zlib, gzip is an error and the RIB is written plain.
for client in client_shared client_static; do
  status=0
  "$scratch/client/$client" - gzip > "$scratch/stdout" 2> "$scratch/stderr" || status=$?
  [ "$status" -eq 0 ] || fail "$client - gzip exited with status $status"
  printf '%s' "$client_rib" | cmp -s - "$scratch/stdout" || fail "$client - gzip wrote other RIB"
  printf 'ERROR: Optional RI feature not implemented\n    --> "compression" not available: vellum was built without zlib\n' |
    cmp -s - "$scratch/stderr" || fail "$client - gzip reported: $(cat "$scratch/stderr")"
done
echo "add_subdirectory: shared and static clients built and ran, without zlib"
