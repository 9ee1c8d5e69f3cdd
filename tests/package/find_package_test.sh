#!/usr/bin/env bash
# Installs the built library into a scratch prefix, builds a small client
# project against it with find_package(vellum), and runs the client.
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
cmake -S "$source/tests/package_consumer" -B "$scratch/consumer" \
  -DCMAKE_PREFIX_PATH="$scratch/prefix" > /dev/null
cmake --build "$scratch/consumer" > /dev/null
expected=$'##RenderMan RIB-Structure 1.0\nversion 3.03\nWorldBegin\nWorldEnd'
actual=$("$scratch/consumer/consumer")
[ "$actual" = "$expected" ] || { echo "unexpected output: $actual"; exit 1; }
echo "package consumer built and ran"
