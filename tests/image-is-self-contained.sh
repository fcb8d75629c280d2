#!/bin/sh
# The installer's image must run where only the C library is installed: it
# may need no shared library beyond libc, libm and the dynamic loader.  Every
# installer carries it, so it stays within 4.1 MB, without symbols or
# debugging information; these live in IMAGE.debug beside it, which the
# image names for the debugger.
#   usage: image-is-self-contained.sh IMAGE
set -eu
image=$1
status=0
# Records a failed check.
fail() {
  echo "$*" >&2
  status=1
}

needed=$(readelf -d "$image" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || fail "no NEEDED entries read from $image"
for library in $needed; do
  case "$library" in
    libc.so.*|libm.so.*|ld-linux*) ;;
    *) fail "the image needs $library" ;;
  esac
done

size=$(wc -c < "$image")
[ "$size" -le 4100000 ] || fail "the image has $size bytes, more than 4.1 MB"
sections=$(readelf -S -W "$image" | sed -n 's/^ *\[ *[0-9]*\] \([^ ]*\).*/\1/p')
for unwanted in .symtab .strtab .debug_info .debug_line .debug_str; do
  printf '%s\n' "$sections" | grep -qx -- "$unwanted" && fail "the image keeps $unwanted"
done
[ "$(readelf --string-dump=.gnu_debuglink "$image" 2>/dev/null | sed -n 's/^ *\[ *0\] *//p')" = \
  "$(basename "$image").debug" ] || fail "the image does not name $(basename "$image").debug"
readelf -S -W "$image.debug" 2>/dev/null | grep -q ' \.debug_info ' ||
  fail "$image.debug holds no debugging information"
nm "$image.debug" 2>/dev/null | grep -q ' T main$' || fail "$image.debug holds no symbols"

[ $status -eq 0 ] && echo "needs only: $(echo $needed); $size bytes"
exit $status
