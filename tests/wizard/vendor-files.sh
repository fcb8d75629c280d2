#!/bin/sh
# The vendor's license text and logo: files that keep the rules pass, each
# broken rule is refused with a message that names it, and a configuration
# with a broken file stops with that message.
#   usage: vendor-files.sh SOURCE-DIR LICENSE-TO-SOURCE XPM-TO-SOURCE
set -u
source_dir=$1 license_tool=$2 xpm_tool=$3
. "$(dirname "$0")/lib.sh"

# Runs a tool on a file and expects a refusal whose message contains $3.
expect_refused() {
  if "$1" "$2" > "$work/out" 2>&1; then
    fail "$case: accepted"
  else
    grep -qF -- "$3" "$work/out" || fail "$case: message was: $(cat "$work/out")"
  fi
}

license="$source_dir/wizard/license.txt"
logo="$source_dir/wizard/logo/logo.xpm"

case="the shipped license and logo"
"$license_tool" "$license" "$work/license.cpp" || fail "$case: license refused"
"$xpm_tool" "$logo" "$work/logo.cpp" || fail "$case: logo refused"
grep -q '"100 236 255 2",' "$work/logo.cpp" || fail "$case: no values line in the logo source"

case="a line 41 columns wide through a tab"
{ echo; printf 'abc\t%033d\n' 0; sed -n '3,$p' "$license"; } > "$work/tab.txt"
expect_refused "$license_tool" "$work/tab.txt" "line 2 is 41 columns wide"

case="a first line that is not empty"
{ echo "x"; sed -n '2,$p' "$license"; } > "$work/first.txt"
expect_refused "$license_tool" "$work/first.txt" "the first line must be empty"

case="one character too many"
{ cat "$license"; } | sed '3s/$/x/' > "$work/long.txt"
expect_refused "$license_tool" "$work/long.txt" "exactly 24409 characters long; it has 24410"

case="a line too few"
sed '$d' "$license" > "$work/short.txt"
expect_refused "$license_tool" "$work/short.txt" "exactly 709 lines; it has 708"

case="no newline at the end"
head -c -1 "$license" > "$work/open.txt"
expect_refused "$license_tool" "$work/open.txt" "the last line must end in a newline"

case="a byte outside ASCII"
sed '5s/^/\xc3\xa9/' "$license" > "$work/latin.txt"
expect_refused "$license_tool" "$work/latin.txt" "line 5 holds the byte 0xc3"

case="a logo of another size"
convert "$logo" -crop 100x200+0+0 +repage "$work/small.xpm" 2>/dev/null
expect_refused "$xpm_tool" "$work/small.xpm" "must be 100 by 236 pixels; it is 100 by 200"

case="a logo with a hotspot"
sed 's/^"100 236 255 2"/"100 236 255 2 4 4"/' "$logo" > "$work/hotspot.xpm"
expect_refused "$xpm_tool" "$work/hotspot.xpm" "no hotspot"

case="a file that is no XPM"
echo "not an image" > "$work/text.xpm"
expect_refused "$xpm_tool" "$work/text.xpm" "not a readable XPM 3 image"

case="configuration with a broken license"
if cmake -S "$source_dir" -B "$work/build" -DZORVANE_LICENSE_FILE="$work/first.txt" \
     > "$work/configure" 2>&1; then
  fail "$case: configured"
else
  # cmake wraps its messages: compare with the line breaks taken out
  tr -s '\n ' '  ' < "$work/configure" | grep -q "the first line must be empty" ||
    fail "$case: output was: $(tail -5 "$work/configure")"
fi

verdict "all vendor file checks passed"
