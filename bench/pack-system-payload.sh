#!/bin/sh
# Packs the payload that the install benchmarks share: the player PLAYER as
# ./zorvane, then real system directories until the gzip'd archive holds at
# least 80 MB.  Given a second output and a level, it also packs the same
# archive as zstd at that level, as `mkinstaller pack --zstd` does, and
# tells how long that took.
#   usage: bench/pack-system-payload.sh PLAYER OUTPUT.tar.gz [OUTPUT.tar.zst LEVEL]
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
[ $# -ge 4 ] || exit 0
/usr/bin/time -f '%e s, processor time %U s' -o "$top/time" zstd -q -T0 "-$4" --check \
  --stream-size="$(wc -c < "$top/system.tar")" < "$top/system.tar" > "$3"
echo "zstd level $4 packed the $(($(wc -c < "$top/system.tar") / 1000000)) MB archive in $(cat "$top/time")."
