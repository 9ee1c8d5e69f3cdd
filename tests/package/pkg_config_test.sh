#!/usr/bin/env bash
# Installs vellum into a scratch prefix and builds a C program with the
# flags pkg-config gives: against the shared library, then, with the shared
# library taken away, against the static one (pkg-config --static).
source "$(dirname "$0")/common.sh"
build=$1
source_dir=$2
cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
pc=$(find "$scratch/prefix" -name vellum.pc)
[ -n "$pc" ] || fail "vellum.pc is not installed"
export PKG_CONFIG_PATH=$(dirname "$pc")
client="$source_dir/tests/package/client.c"

check_output $'0.1.0\n' pkg-config --modversion vellum

# The plain line.  A prefix the loader does not search needs
# LD_LIBRARY_PATH (or an rpath) at run time.
cc -std=c99 -pedantic -Werror "$client" $(pkg-config --cflags --libs vellum) -o "$scratch/client_shared" ||
  fail "cc with pkg-config --cflags --libs vellum failed"
needs_library "$scratch/client_shared" yes
check_client env LD_LIBRARY_PATH="$(pkg-config --variable=libdir vellum)" "$scratch/client_shared"

# ri.hpp from the same flags.
c++ -std=c++17 "$source_dir/tests/package/client.cpp" $(pkg-config --cflags --libs vellum) -o "$scratch/client_cpp" ||
  fail "c++ with pkg-config --cflags --libs vellum failed"
check_client env LD_LIBRARY_PATH="$(pkg-config --variable=libdir vellum)" "$scratch/client_cpp"

# --static adds Libs.private: the C++ runtime and libm.
rm "$(pkg-config --variable=libdir vellum)"/libvellum.so*
cc -std=c99 -pedantic -Werror "$client" $(pkg-config --cflags --libs --static vellum) -o "$scratch/client_static" ||
  fail "cc with pkg-config --static --cflags --libs vellum failed"
needs_library "$scratch/client_static" no
check_client "$scratch/client_static"
echo "pkg-config: shared and static clients built and ran"
