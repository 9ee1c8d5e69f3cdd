#!/usr/bin/env bash
# The manual pages render without a warning, and each tool's --help and its
# manual page name the same options.  An option is "-o FILE" in both: in
# --help an indented line "  -o FILE    text", in the page an entry
# ".It Fl o Ar FILE" under .Sh OPTIONS.  Adding an option to a tool means
# adding it to both.
set -euo pipefail
source_dir=$1
bin_dir=$2
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

for page in "$source_dir"/doc/*.[1-9]; do
  warnings=$(LC_ALL=C.UTF-8 groff -ww -mdoc -Tutf8 -z "$page" 2>&1) ||
    fail "$(basename "$page"): groff failed"
  [ -z "$warnings" ] || fail "$(basename "$page"): groff warns:"$'\n'"$warnings"
done

help_options() {
  "$bin_dir/$1" --help | sed -n 's/^  \(-[-a-zA-Z]*\)\( [A-Z][A-Z]*\)\{0,1\}  .*/\1\2/p' | LC_ALL=C sort
}
page_options() {
  awk '/^\.Sh / { inside = ($2 == "OPTIONS") }
       inside && $1 == ".It" && $2 == "Fl" {
         option = "-" $3
         gsub(/\\-/, "-", option)
         if ($4 == "Ar") option = option " " $5
         print option
       }' "$source_dir/doc/$1.1" | LC_ALL=C sort
}
for tool in ribcat ribdiff qview; do
  help=$(help_options "$tool")
  page=$(page_options "$tool")
  [ -n "$help" ] || fail "$tool --help lists no options"
  [ "$help" = "$page" ] ||
    fail "$tool: --help and $tool.1 name other options (< --help, > $tool.1):"$'\n'"$(diff <(echo "$help") <(echo "$page"))"
done
[ "$failed" -eq 0 ] && echo "manual pages render cleanly and match --help"
exit "$failed"
