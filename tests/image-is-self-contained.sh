#!/bin/sh
# The installer's image must run where only the C library is installed: it
# may need no shared library beyond libc, libm and the dynamic loader.
#   usage: image-is-self-contained.sh IMAGE
set -eu
image=$1
needed=$(readelf -d "$image" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[ -n "$needed" ] || { echo "no NEEDED entries read from $image" >&2; exit 1; }
status=0
for library in $needed; do
  case "$library" in
    libc.so.*|libm.so.*|ld-linux*) ;;
    *) echo "the image needs $library" >&2; status=1 ;;
  esac
done
[ $status -eq 0 ] && echo "needs only: $(echo $needed)"
exit $status
