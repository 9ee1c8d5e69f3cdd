#!/usr/bin/env bash
# Installs vellum into a scratch prefix and builds a C project against it
# with find_package(vellum 0.1): one program with vellum::vellum (shared),
# one with vellum::vellum_static.  A request for version 1.0 is refused.
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2
cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
cmake -S "$source_dir/tests/package/find_package" -B "$scratch/client" \
  -DCMAKE_PREFIX_PATH="$scratch/prefix" > "$scratch/configure.log" ||
  fail "configure: $(cat "$scratch/configure.log")"
cmake --build "$scratch/client" > "$scratch/build.log" || fail "build: $(cat "$scratch/build.log")"

# The shared client finds the library through the rpath CMake gives it.
check_client "$scratch/client/client_shared"
needs_library "$scratch/client/client_shared" yes
check_client "$scratch/client/client_static"
needs_library "$scratch/client/client_static" no
check_client "$scratch/client/client_cpp"

# SameMajorVersion: 0.1.0 does not satisfy a request for 1.0.
if cmake -S "$source_dir/tests/package/find_package" -B "$scratch/too_new" \
  -DCMAKE_PREFIX_PATH="$scratch/prefix" -DVELLUM_WANTED=1.0 > "$scratch/too_new.log" 2>&1; then
  fail "find_package(vellum 1.0) accepted version 0.1.0"
fi
grep -q 'vellumConfig.cmake, version: 0.1.0' "$scratch/too_new.log" ||
  fail "find_package(vellum 1.0) failed for another reason: $(cat "$scratch/too_new.log")"
echo "find_package: shared, static and C++ clients built and ran"
