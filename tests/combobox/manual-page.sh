#!/bin/sh
# The manual page DtComboBox(3): it renders without a warning, as plain
# man(7) and through tbl on an 80-column terminal as man shows it; every
# resource in the table of ComboBox.h has its row in the page's resource
# table, and every warning that the widget issues is in the page word for word.
#   usage: manual-page.sh <the combo box's source directory>
set -u
dir=$1
page=$dir/DtComboBox.3
status=0
fail() { echo "$*"; status=1; }

for render in "groff -man -ww -z" "groff -t -man -Tutf8 -rLL=78n -ww -z"; do
  warnings=$($render "$page" 2>&1) || fail "$render failed"
  [ -z "$warnings" ] || fail "$render: $warnings"
done

resources=$(sed -n 's/^ \*   \(DtN[A-Za-z]*\) .*/\1/p' "$dir/ComboBox.h")
[ "$(echo "$resources" | wc -l)" -ge 34 ] || fail "ComboBox.h lists too few resources"
for name in $resources; do
  grep -q "^$name@" "$page" || fail "$name has no row in the resource table"
done

text=$(groff -t -man -Tutf8 -rLL=250n -P-cbou "$page" 2>/dev/null)
grep -ho '"Dt[A-Za-z]*Widget: [^"]*"' "$dir"/*.cpp | tr -d '"' | while read -r message; do
  echo "$text" | grep -qF "$message" || { echo "missing warning: $message"; exit 1; }
done || status=1

[ $status -eq 0 ] && echo "ok: the manual page renders cleanly and lists $(echo "$resources" | wc -l) resources"
exit $status
