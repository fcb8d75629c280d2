#!/bin/sh
# The vendor's one command: pack makes the same installer from the same
# directory every time, one that installs the directory as it is; it refuses
# what it cannot pack faithfully without writing anything; info reports on
# sound and cut-off installers.
. "$(dirname "$0")/lib.sh"
unset SOURCE_DATE_EPOCH

make_product "$work/product"
# packed as they are owned, the files would carry this owner
[ "$(id -u)" = 0 ] && chown -R -h 1234:5678 "$work/product"
touch -h -d @500000000 "$work/product/README"
mkdir "$work/made"

# Checks that the last run succeeded and wrote installer $1.
expect_made() {
  [ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/err")"
  [ -s "$1" ] || fail "$case: $1 not written"
}

case="pack prints one line: output, size, compressed and unpacked payload"
run "$MKINSTALLER" pack "$work/product" "$work/made/first"
expect_made "$work/made/first"
size=$(wc -c < "$work/made/first")
"$MKINSTALLER" verify "$work/made/first" > /dev/null || fail "$case: verify refuses it"
grep -qx "$work/made/first: $size bytes; payload of [0-9]* bytes compressed, [0-9]* bytes unpacked\." \
  "$work/out" || fail "$case: $(cat "$work/out")"
cmp -s -n "$(wc -c < "$IMAGE")" "$IMAGE" "$work/made/first" || fail "$case: not the built image in front"
[ "$(stat -c %a "$work/made/first")" = 755 ] || fail "$case: mode $(stat -c %a "$work/made/first")"

case="the payload: sorted ./ names without ./ itself, owner 0:0, modes kept, gzip without name or time"
"$MKINSTALLER" list "$work/made/first" > "$work/members"
awk '{ print $6 }' "$work/members" > "$work/names"
LC_ALL=C sort -c "$work/names" 2>/dev/null || fail "$case: names not sorted: $(cat "$work/names")"
grep -v '^\./.' "$work/names" && fail "$case: names not of the form ./NAME"
awk '$2 != "0/0"' "$work/members" | grep . && fail "$case: owners not 0/0"
grep -q '^-rw------- .* \./share/zorvane/key$' "$work/members" || fail "$case: private mode lost"
payload_at=$(($(wc -c < "$IMAGE") + 256 + 1))
[ "$(tail -c +$payload_at "$work/made/first" | head -c 8 | od -An -tx1 | tr -d ' ')" = \
  1f8b080000000000 ] || fail "$case: the gzip header stores a name or a time"

case="the same directory twice gives the same bytes"
run "$MKINSTALLER" pack "$work/product" "$work/made/second"
expect_made "$work/made/second"
cmp -s "$work/made/first" "$work/made/second" || fail "$case: the installers differ"

case="with SOURCE_DATE_EPOCH, a copy with newer times gives the same bytes and times are clamped"
cp -a "$work/product" "$work/copy"
find "$work/copy" ! -name README -exec touch -h {} +
SOURCE_DATE_EPOCH=1000000000 run "$MKINSTALLER" pack "$work/product" "$work/made/clamped"
expect_made "$work/made/clamped"
SOURCE_DATE_EPOCH=1000000000 run "$MKINSTALLER" pack "$work/copy" "$work/made/copy"
expect_made "$work/made/copy"
cmp -s "$work/made/clamped" "$work/made/copy" || fail "$case: the installers differ"
"$MKINSTALLER" list "$work/made/clamped" | awk '$4 != ($6 == "./README" ? "1985-11-05" : "2001-09-09")' |
  grep . && fail "$case: times not clamped to 2001-09-09 or not kept when older"

case="the packed installer installs the directory as it is"
"$work/made/first" -s "$work/installed" || fail "$case: the install failed"
tree_listing "$work/product" > "$work/product.list"
tree_listing "$work/installed" | cmp -s "$work/product.list" - ||
  fail "$case: the trees differ: $(tree_listing "$work/installed" | diff "$work/product.list" -)"
diff -r --no-dereference "$work/product" "$work/installed" > /dev/null || fail "$case: contents differ"

case="--image and --level"
cp "$IMAGE" "$work/other-image" && printf 'other' >> "$work/other-image"
run "$MKINSTALLER" pack --level 1 --image "$work/other-image" "$work/product" "$work/made/fast"
expect_made "$work/made/fast"
cmp -s -n "$(wc -c < "$work/other-image")" "$work/other-image" "$work/made/fast" ||
  fail "$case: not the given image in front"
fast=$("$MKINSTALLER" info "$work/made/fast" | sed -n 's/^payload: \([0-9]*\) .*/\1/p')
best=$("$MKINSTALLER" info "$work/made/first" | sed -n 's/^payload: \([0-9]*\) .*/\1/p')
[ "$fast" -gt "$best" ] || fail "$case: level 1 gives $fast bytes, level 9 $best"

case="--zstd: the same bytes every time, one frame with content size and checksum, installs the directory"
for made in zstd zstd-again; do
  run "$MKINSTALLER" pack --zstd "$work/product" "$work/made/$made"
  expect_made "$work/made/$made"
done
cmp -s "$work/made/zstd" "$work/made/zstd-again" || fail "$case: the installers differ"
length=$(tail -n 1 "$work/made/zstd")
tail -c +$payload_at "$work/made/zstd" | head -c "$length" > "$work/zstd-payload"
zstd -lv "$work/zstd-payload" > "$work/frames" 2>&1
grep -q '^# Zstandard Frames: 1$' "$work/frames" && grep -q '^Check: XXH64' "$work/frames" &&
  grep -q '^Decompressed Size: .* (317440 B)$' "$work/frames" || fail "$case: $(cat "$work/frames")"
rm -rf "$work/installed" && "$work/made/zstd" -s "$work/installed" || fail "$case: the install failed"
diff -r --no-dereference "$work/product" "$work/installed" > /dev/null || fail "$case: contents differ"
"$MKINSTALLER" info "$work/made/zstd" | grep -qx 'compressor: zstd' || fail "$case: info names no zstd"

case="--zstd --level: a lower level packs larger; gzip's levels and zstd's beyond 19 are refused"
run "$MKINSTALLER" pack --zstd --level 1 "$work/product" "$work/made/zstd-fast"
expect_made "$work/made/zstd-fast"
[ "$(tail -n 1 "$work/made/zstd-fast")" -gt "$length" ] || fail "$case: level 1 is not larger"
for level in 0 20 x; do
  run "$MKINSTALLER" pack --zstd --level $level "$work/product" "$work/made/refused"
  [ "$status" = 1 ] && grep -q "zstd level must be" "$work/err" || fail "$case: level $level: $(cat "$work/err")"
done

# Directories pack must refuse: name|how to spoil a copy of the product in $bad|the reason given.
while IFS='|' read -r name spoil reason; do
  case="pack refuses $name"
  rm -rf "$work/bad" && cp -a "$work/product" "$work/bad"
  (cd "$work/bad" && eval "$spoil")
  run "$MKINSTALLER" pack "$work/bad" "$work/made/refused"
  [ "$status" = 0 ] && fail "$case: accepted"
  grep -q -- "$reason" "$work/err" || fail "$case: reason not given: $(cat "$work/err")"
  [ -e "$work/made/refused" ] && fail "$case: OUTPUT was written"
  ls -A "$work/made" | grep -q '^\.' && fail "$case: left behind: $(ls -A "$work/made")"
done <<'TABLE'
a directory without ./zorvane|rm zorvane|bad has no executable ./zorvane
a ./zorvane that is not executable|chmod 644 zorvane|bad has no executable ./zorvane
a ./zorvane that is a directory|rm zorvane && mkdir zorvane|bad has no executable ./zorvane
a ./zorvane that is a symbolic link|mv zorvane player && ln -s player zorvane|bad has no executable ./zorvane
a ./zorvane of another mode than 0755|chmod 700 zorvane|zorvane in .*bad is of mode 0700, not 0755
an absolute symbolic link|ln -s /etc/passwd share/passwd|link share/passwd in
a relative symbolic link that climbs out|ln -s ../../../outside share/zorvane/outside|link share/zorvane/outside in
a link through a link that climbs out|ln -s .. share/up && ln -s up/.. share/out|link share/out in
TABLE

case="pack refuses a damaged level, a missing directory and an output inside the directory"
for arguments in "--level 0 $work/product $work/made/refused" "--level x $work/product $work/made/refused" \
                 "$work/missing $work/made/refused" "$work/product $work/product/installer" \
                 "$work/product $work/product/share/../installer" "$work/product $work/product"; do
  # shellcheck disable=SC2086
  run "$MKINSTALLER" pack $arguments
  [ "$status" = 0 ] && fail "$case: accepted $arguments"
  [ -s "$work/err" ] || fail "$case: no reason given for $arguments"
done
[ -e "$work/made/refused" ] || [ -e "$work/product/installer" ] && fail "$case: OUTPUT was written"

case="pack refuses a file it cannot read"
if [ "$(id -u)" = 0 ]; then
  as_reader() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
else
  as_reader() { "$@"; }
fi
rm -rf "$work/bad" && cp -a "$work/product" "$work/bad" && chmod -R go+rX "$work/bad"
chmod 000 "$work/bad/README" && chmod 777 "$work/made"
run as_reader "$MKINSTALLER" pack "$work/bad" "$work/made/refused"
[ "$status" = 0 ] && fail "$case: accepted"
grep -q "cannot read README in $work/bad" "$work/err" || fail "$case: the file is not named: $(cat "$work/err")"
[ -e "$work/made/refused" ] && fail "$case: OUTPUT was written"

case="create refuses an OUTPUT that is a directory"
mkdir "$work/made/directory"
pack "$work/product" "$work/payload.tar.gz"
run "$MKINSTALLER" create "$IMAGE" "$work/payload.tar.gz" "$work/made/directory"
[ "$status" = 0 ] && fail "$case: accepted"
[ -z "$(ls -A "$work/made/directory")" ] || fail "$case: wrote into it: $(ls -A "$work/made/directory")"

case="pack refuses special files, naming every one, unless --allow-special"
rm -rf "$work/bad" && cp -a "$work/product" "$work/bad"
mkfifo "$work/bad/share/fifo"
perl -MIO::Socket::UNIX -e 'IO::Socket::UNIX->new(Local => "$ARGV[0]", Listen => 1)' "$work/bad/socket"
touch "$work/bad/setuid" "$work/bad/lib/setgid" && chmod 4755 "$work/bad/setuid" && chmod 2755 "$work/bad/lib/setgid"
offenders="  lib/setgid: a set-group-ID file
  setuid: a set-user-ID file
  share/fifo: a FIFO
  socket: a socket"
if [ "$(id -u)" = 0 ]; then
  mknod "$work/bad/share/null" c 1 3
  offenders="$offenders
  share/null: a device node"
fi
run "$MKINSTALLER" pack "$work/bad" "$work/made/refused"
[ "$status" = 1 ] || fail "$case: status $status"
[ "$(tail -n +2 "$work/err" | sort)" = "$(printf '%s\n' "$offenders" | sort)" ] ||
  fail "$case: offenders: $(cat "$work/err")"
[ -e "$work/made/refused" ] && fail "$case: OUTPUT was written"
rm "$work/bad/socket"
chmod 777 "$work/bad/share" && chmod 666 "$work/bad/README"
run "$MKINSTALLER" pack --allow-special "$work/bad" "$work/made/special"
expect_made "$work/made/special"
[ "$(grep -c 'writable by every user' "$work/err")" = 2 ] && grep -q "warning: README in $work/bad" "$work/err" ||
  fail "$case: no warning of what every user may write: $(cat "$work/err")"
"$work/made/special" --check > /dev/null || fail "$case: the installer is not sound"

case="a player that is a hard link to another file of the product"
rm -rf "$work/linked" && cp -a "$work/product" "$work/linked"
mv "$work/linked/zorvane" "$work/linked/lib/player" && ln "$work/linked/lib/player" "$work/linked/zorvane"
run "$MKINSTALLER" pack "$work/linked" "$work/made/linked"
expect_made "$work/made/linked"
"$work/made/linked" -s "$work/linked-installed" && [ -x "$work/linked-installed/zorvane" ] ||
  fail "$case: the installer does not install the player"

# OUTPUTs that exist and are no regular file: name|how to make $work/made/odd.
while IFS='|' read -r name make; do
  case="pack and create refuse an OUTPUT that is $name"
  rm -rf "$work/made/odd" && eval "$make" || continue
  before=$(stat -c '%F %i' "$work/made/odd")
  for command in "pack $work/product" "create $IMAGE $work/payload.tar.gz"; do
    # shellcheck disable=SC2086
    run "$MKINSTALLER" $command "$work/made/odd"
    [ "$status" = 1 ] && grep -q "exists and is not a regular file" "$work/err" ||
      fail "$case: $command: status $status: $(cat "$work/err")"
    [ "$(stat -c '%F %i' "$work/made/odd")" = "$before" ] || fail "$case: $command replaced it"
  done
done <<'OUTPUTS'
a FIFO|mkfifo "$work/made/odd"
a symbolic link to a regular file|echo old > "$work/made/target" && ln -s target "$work/made/odd"
a device, as root|[ "$(id -u)" = 0 ] && mknod "$work/made/odd" c 1 3
OUTPUTS
rm -f "$work/made/odd" "$work/made/target"

case="info on a sound installer"
run "$MKINSTALLER" info "$work/made/first"
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/err")"
length=$(tail -n 1 "$work/made/first")
unpacked=$(tail -c +$payload_at "$work/made/first" | head -c "$length" | gzip -dc | wc -c)
printf '%s\n' "installer: $work/made/first, $size bytes" "image: $(wc -c < "$IMAGE") bytes" \
  "checksum block: 256 bytes, SHA-256 of the image $(sha256sum < "$IMAGE" | cut -c 1-64) and of the payload $(
    tail -c +$payload_at "$work/made/first" | head -c "$length" | sha256sum | cut -c 1-64)" \
  "compressor: gzip" "payload: $length bytes compressed, $unpacked bytes unpacked, ratio $(awk \
    "BEGIN { printf \"%.2f\", $unpacked / $length }")" \
  "members: $(wc -l < "$work/members")" "player: ./zorvane, $(wc -c < "$work/product/zorvane") bytes" \
  "verdict: sound installer; gzip payload of $length bytes at offset $((payload_at - 1)), $(wc -l < \
    "$work/members") members; image and payload match their SHA-256 checksums."  | cmp -s - "$work/out" || fail "$case: $(cat "$work/out")"

case="info on a cut-off installer"
head -c -5000 "$work/made/first" > "$work/cut"
run "$MKINSTALLER" info "$work/cut"
[ "$status" = 1 ] || fail "$case: status $status"
[ "$(head -n 1 "$work/out")" = "installer: $work/cut, $((size - 5000)) bytes" ] ||
  fail "$case: first line: $(head -n 1 "$work/out")"
tail -n 1 "$work/out" | grep -q '^verdict: .*damaged or incomplete' || fail "$case: $(cat "$work/out")"

finish
