#!/bin/sh
# The installer's image must run on any x86-64 Linux, with or without a C
# library: it names no program interpreter and needs no shared library.
# Every installer carries it, so it stays within 4,600,000 bytes, without
# symbols or debugging information; these live in IMAGE.debug beside it,
# which the image names for the debugger.
#   usage: image-is-self-contained.sh IMAGE
set -eu
image=$1
status=0
# Records a failed check.
fail() {
  echo "$*" >&2
  status=1
}

readelf -h "$image" | grep -q 'Advanced Micro Devices X86-64' || fail "$image is no x86-64 program"
interpreter=$(readelf -l -W "$image" | sed -n 's/.*Requesting program interpreter: \(.*\)]/\1/p')
[ -z "$interpreter" ] || fail "the image asks for the program interpreter $interpreter"
needed=$(readelf -d "$image" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -z "$needed" ] || fail "the image needs" $needed

size=$(wc -c < "$image")
[ "$size" -le 4600000 ] || fail "the image has $size bytes, more than 4,600,000"
sections=$(readelf -S -W "$image" | sed -n 's/^ *\[ *[0-9]*\] \([^ ]*\).*/\1/p')
for unwanted in .symtab .strtab .debug_info .debug_line .debug_str; do
  printf '%s\n' "$sections" | grep -qx -- "$unwanted" && fail "the image keeps $unwanted"
done
[ "$(readelf --string-dump=.gnu_debuglink "$image" 2>/dev/null | sed -n 's/^ *\[ *0\] *//p')" = \
  "$(basename "$image").debug" ] || fail "the image does not name $(basename "$image").debug"
readelf -S -W "$image.debug" 2>/dev/null | grep -q ' \.debug_info ' ||
  fail "$image.debug holds no debugging information"
nm "$image.debug" 2>/dev/null | grep -q ' T main$' || fail "$image.debug holds no symbols"

[ $status -eq 0 ] && echo "self-contained, $size bytes"
exit $status
