#!/bin/sh
# Packs the payload that the install benchmarks share: the player PLAYER as
# ./zorvane, then real system directories until the gzip'd archive holds at
# least 80 MB.
#   usage: bench/pack-system-payload.sh PLAYER OUTPUT.tar.gz
set -eu
player=$1 output=$2
top=$(mktemp -d /tmp/system-payload.XXXXXX)
trap 'rm -rf "$top"' EXIT
echo "Packing a payload of at least 80 MB from system directories ..."
cp "$player" "$top/zorvane"
chmod 755 "$top/zorvane"
tar -C "$top" -cf "$top/system.tar" ./zorvane
for directory in ./usr/lib/gcc ./usr/share/perl ./usr/bin ./usr/lib/x86_64-linux-gnu; do
  [ -d "/$directory" ] || continue
  tar -C / -rf "$top/system.tar" "$directory" 2>/dev/null || true
  gzip -6 < "$top/system.tar" > "$output"
  [ "$(wc -c < "$output")" -ge 80000000 ] && break
done
