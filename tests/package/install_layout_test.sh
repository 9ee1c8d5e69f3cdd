#!/usr/bin/env bash
# Installs vellum into a scratch prefix and compares what is there with the
# intended layout: nothing missing, nothing more (no internal header, no
# reader library).  Arguments: the build directory, then the install
# directories bin, include, lib, man and doc relative to the prefix.
source "$(dirname "$0")/common.sh"
build=$1 bin=$2 include=$3 lib=$4 man=$5 doc=$6
cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
(cd "$scratch/prefix" && find . \( -type f -o -type l \) -printf '%P -> %l\n' |
  sed -e 's/ -> $//' -e 's/vellumTargets-[a-z]*\.cmake/vellumTargets-CONFIG.cmake/' |
  LC_ALL=C sort) > "$scratch/installed"
LC_ALL=C sort > "$scratch/expected" <<LAYOUT
$bin/qview
$bin/ribcat
$bin/ribdiff
$include/vellum/ri.h
$include/vellum/ri.hpp
$lib/cmake/vellum/vellumConfig.cmake
$lib/cmake/vellum/vellumConfigVersion.cmake
$lib/cmake/vellum/vellumTargets.cmake
$lib/cmake/vellum/vellumTargets-CONFIG.cmake
$lib/libvellum.a
$lib/libvellum.so -> libvellum.so.0
$lib/libvellum.so.0 -> libvellum.so.0.1.0
$lib/libvellum.so.0.1.0
$lib/pkgconfig/vellum.pc
$man/man1/qview.1
$man/man1/ribcat.1
$man/man1/ribdiff.1
$man/man3/vellum.3
$doc/LICENSE
$doc/README.md
LAYOUT
diff "$scratch/expected" "$scratch/installed" > "$scratch/diff" ||
  fail "installed files differ from the layout (< expected, > installed):"$'\n'"$(cat "$scratch/diff")"
readelf -d "$scratch/prefix/$lib/libvellum.so.0.1.0" | grep -q 'SONAME.*\[libvellum\.so\.0\]' ||
  fail "libvellum.so.0.1.0 has not the soname libvellum.so.0"
check_output $'ribcat (vellum 0.1.0)\n' "$scratch/prefix/$bin/ribcat" --version
check_output $'qview (vellum 0.1.0)\n' "$scratch/prefix/$bin/qview" --version
echo "install: the layout is complete"
