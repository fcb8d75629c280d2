#!/bin/sh
# The manual pages render without a single groff warning, and they document
# every command and option that the programs' own usage texts name.
#   usage: manual-pages.sh PAGES_DIR MKINSTALLER IMAGE
set -u
pages=$1 mkinstaller=$2 image=$3
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for page in mkinstaller.1 zorvane-installer.1; do
  groff -man -ww -z "$pages/$page" > "$work/warnings" 2>&1 || fail "$page: groff failed"
  [ -s "$work/warnings" ] && fail "$page: $(cat "$work/warnings")"
  # without hyphenation or adjustment, so that every word stays whole
  groff -man -rHY=0 -Tutf8 -P-cbou "$pages/$page" > "$work/$page.txt" 2>/dev/null
  [ "$(wc -l < "$work/$page.txt")" -gt 50 ] || fail "$page: renders to almost nothing"
done

# Checks that page $1 names each of the words on standard input.
expect_documented() {
  while read -r word; do
    grep -qF -- "$word" "$work/$1.txt" || fail "$1 does not document $word"
  done
}

"$mkinstaller" --help | awk '$1 == "mkinstaller" { print "mkinstaller " $2 }' > "$work/commands"
[ "$(wc -l < "$work/commands")" -ge 5 ] || fail "mkinstaller --help lists $(cat "$work/commands")"
expect_documented mkinstaller.1 < "$work/commands"
for command in $(cut -d' ' -f2 "$work/commands"); do
  "$mkinstaller" "$command" --help | grep -o -- '--[a-z][a-z-]*'
done | sort -u > "$work/options"
expect_documented mkinstaller.1 < "$work/options"

# The installer's own options, from its --help once it has one.
if DISPLAY= "$image" --help > "$work/installer-help" 2>/dev/null; then
  grep -o -- '\(^\|[ [|]\)--\?[a-z][a-z-]*' "$work/installer-help" |
    sed 's/^[ [|]*//' | sort -u > "$work/installer-options"
  expect_documented zorvane-installer.1 < "$work/installer-options"
fi

[ $failures = 0 ] || { echo "$failures checks failed"; exit 1; }
echo "both manual pages render cleanly and document every command and option"
