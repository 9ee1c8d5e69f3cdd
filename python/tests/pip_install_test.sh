#!/usr/bin/env bash
# The README's way to install the Python package, on a copy of the source
# tree: its pip line makes a virtual environment and installs vellum into
# it; then the README's example runs there, outside the source tree, and
# qview --strict finds its RIB valid.
#   pip_install_test.sh SOURCE_DIR QVIEW
set -euo pipefail
source_dir=$1
qview=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

readme="$source_dir/README.md"
line=$(sed -n 's/^    \(scripts\/setup && .* -m venv .*pip install --no-build-isolation \.\)$/\1/p' "$readme")
[ -n "$line" ] || fail "no pip install line in README.md"
mkdir "$scratch/src"
tar -C "$source_dir" --exclude='./build*' --exclude=./.git --exclude=./venv -cf - . | tar -C "$scratch/src" -xf -
(cd "$scratch/src" && bash -c "$line") > "$scratch/install.log" 2>&1 || fail "$line: $(tail -20 "$scratch/install.log")"

awk '/^## Using it from Python/ { section = 1 }
     section && /^```python$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' "$readme" > "$scratch/example.py"
grep -q 'vellum.Ri("square.rib"' "$scratch/example.py" || fail "no Python example in README.md"
mkdir "$scratch/run"
(cd "$scratch/run" && env -u PYTHONPATH "$scratch/src/venv/bin/python" ../example.py) ||
  fail "the README's example failed"
"$qview" --strict "$scratch/run/square.rib" > /dev/null || fail "qview --strict rejects the example's RIB"
where=$(cd "$scratch/run" && env -u PYTHONPATH "$scratch/src/venv/bin/python" -c 'import vellum; print(vellum.__file__)')
case $where in
  "$scratch/src/venv/"*) ;;
  *) fail "vellum imported from $where, not from the virtual environment" ;;
esac
