#!/bin/sh
# The vendor tool: create writes the self-extracting layout byte for byte and
# refuses unsound payloads without leaving anything behind; verify and list
# read installers back.
. "$(dirname "$0")/lib.sh"

make_product "$work/product"
pack "$work/product" "$work/payload.tar.gz"
length=$(wc -c < "$work/payload.tar.gz")
mkdir "$work/made"

case="create writes image, checksum block, payload and trailer, mode 0755"
run "$MKINSTALLER" create "$IMAGE" "$work/payload.tar.gz" "$work/made/installer"
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/err")"
{ printf 'ZORVANE-CHECKSUMS 1\nimage-sha256 %s\npayload-sha256 %s\n' \
    "$(sha256sum < "$IMAGE" | cut -c 1-64)" "$(sha256sum < "$work/payload.tar.gz" | cut -c 1-64)"
  head -c 56 /dev/zero | tr '\0' '\n'; echo END-ZORVANE-CHECKSUMS; } > "$work/block"
[ "$(wc -c < "$work/block")" = 256 ] || fail "$case: the expected block is not of 256 bytes"
{ cat "$IMAGE" "$work/block" "$work/payload.tar.gz"; printf '\n%s\n' "$length"; } > "$work/expected-installer"
cmp -s "$work/expected-installer" "$work/made/installer" || fail "$case: layout differs"
[ "$(stat -c %a "$work/made/installer")" = 755 ] || fail "$case: mode $(stat -c %a "$work/made/installer")"

case="create takes a .tar.zst, told by its first bytes, and verify names it"
gzip -dc "$work/payload.tar.gz" | zstd -q -c > "$work/payload.tar.zst"
run "$MKINSTALLER" create "$IMAGE" "$work/payload.tar.zst" "$work/made/zstd"
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/err")"
run "$MKINSTALLER" verify "$work/made/zstd"
grep -q "sound installer; zstd payload of $(wc -c < "$work/payload.tar.zst") bytes" "$work/out" ||
  fail "$case: $(cat "$work/out")"
rm -f "$work/made/zstd"

case="verify accepts it"
run "$MKINSTALLER" verify "$work/made/installer"
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/err")"
[ "$(wc -l < "$work/out")" = 1 ] || fail "$case: verdict is not one line"
grep -q "payload of $length bytes" "$work/out" || fail "$case: verdict: $(cat "$work/out")"

case="list shows the members like tar tvf"
run "$MKINSTALLER" list "$work/made/installer"
[ "$status" = 0 ] || fail "$case: status $status"
tar -tvzf "$work/payload.tar.gz" | cmp -s - "$work/out" || fail "$case: listing differs"

# Payloads that create must refuse: name|how to make it.
(cd "$work/product" && tar -cf "$work/plain.tar" ./*)
echo "just text" | gzip > "$work/text.gz"
head -c $((length - 100)) "$work/payload.tar.gz" > "$work/truncated.tar.gz"
(cd "$work/product" && tar -czf "$work/no-player.tar.gz" ./README ./lib)
chmod 644 "$work/product/zorvane"
(cd "$work/product" && tar -czf "$work/not-executable.tar.gz" ./*)
chmod 755 "$work/product/zorvane"
mkdir -p "$work/nested/bin" && cp "$work/product/zorvane" "$work/nested/bin/"
(cd "$work/nested" && tar -czf "$work/nested.tar.gz" ./bin)
gzip -dc "$work/payload.tar.gz" | zstd -q -c --long=28 > "$work/large-window.tar.zst"
head -c 5000 "$work/payload.tar.zst" > "$work/truncated.tar.zst"
(cd "$work/product" && tar --transform='s,^\./README,../README,' -czf "$work/escaping.tar.gz" ./*)
for bad in plain.tar text.gz truncated.tar.gz no-player.tar.gz not-executable.tar.gz \
           nested.tar.gz escaping.tar.gz large-window.tar.zst truncated.tar.zst; do
  case="create refuses $bad"
  echo "old" > "$work/made/existing"
  run "$MKINSTALLER" create "$IMAGE" "$work/$bad" "$work/made/existing"
  [ "$status" = 0 ] && fail "$case: accepted"
  [ -s "$work/err" ] || fail "$case: no reason given"
  [ "$(cat "$work/made/existing")" = old ] || fail "$case: OUTPUT was overwritten"
  run "$MKINSTALLER" create "$IMAGE" "$work/$bad" "$work/made/new"
  [ -e "$work/made/new" ] && fail "$case: OUTPUT was written"
  [ "$(ls -A "$work/made")" = "existing
installer" ] || fail "$case: left behind: $(ls -A "$work/made")"
done

case="create refuses a missing image"
run "$MKINSTALLER" create "$work/no-such-image" "$work/payload.tar.gz" "$work/made/new"
[ "$status" = 0 ] && fail "$case: accepted"
[ -e "$work/made/new" ] && fail "$case: OUTPUT was written"

# Installers that verify must refuse: name|file.
cp "$work/made/installer" "$work/crc"
crc_at=$(($(wc -c < "$IMAGE") + 256 + length - 8))
printf '\377' | dd of="$work/crc" bs=1 seek=$crc_at conv=notrunc 2>/dev/null
cmp -s "$work/crc" "$work/made/installer" && fail "checksum was not changed"
head -c -1 "$work/made/installer" > "$work/no-newline"
head -c -5000 "$work/made/installer" > "$work/cut"
cp "$IMAGE" "$work/bare-image"
{ cat "$IMAGE" "$work/payload.tar.gz"; printf '\n%s\n' $((length + 7)); } > "$work/wrong-length"
{ cat "$IMAGE" "$work/payload.tar.gz"; printf '\n%s\n' $((length - 7)); } > "$work/short-length"
for bad in crc no-newline cut bare-image wrong-length short-length; do
  case="verify refuses $bad"
  run "$MKINSTALLER" verify "$work/$bad"
  [ "$status" = 0 ] && fail "$case: accepted: $(cat "$work/out")"
  [ -s "$work/err" ] || fail "$case: no reason given"
done

case="verify accepts an installer beyond 2 GiB"
cp "$IMAGE" "$work/big" && truncate -s 2300M "$work/big"
cat "$work/payload.tar.gz" >> "$work/big" && printf '\n%s\n' "$length" >> "$work/big"
run "$MKINSTALLER" verify "$work/big"
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/err")"
rm -f "$work/big"

for command in "" pack create verify list info; do
  case="help of '$command'"
  # shellcheck disable=SC2086
  run "$MKINSTALLER" $command --help
  [ "$status" = 0 ] || fail "$case: status $status"
  grep -q "^usage: mkinstaller $command" "$work/out" || fail "$case: $(cat "$work/out")"
done

case="wrong arguments"
run "$MKINSTALLER" create "$IMAGE"
[ "$status" = 0 ] && fail "$case: accepted"
run "$MKINSTALLER" frobnicate
[ "$status" = 0 ] && fail "$case: accepted"

finish
