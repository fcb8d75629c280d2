#!/bin/sh
# The space check on a file system of 4 MB of its own: a product that cannot
# fit is refused before anything is unpacked, and a destination made for it
# goes, and the wizard shows the refusal; products that fit install, among
# them one whose tar stream alone is larger than the free space.  A zstd
# payload is measured by its frames' content sizes, and where a frame does
# not give its size, the check is skipped and the full disk fails the unpack.  Needs root
# to mount a tmpfs (skipped, 77, otherwise) and a display with a window
# manager (tests/with-x --wm).
. "$(dirname "$0")/lib.sh"

small=$work/small
mkdir "$small"
if [ "$(id -u)" != 0 ] || ! mount -t tmpfs -o size=4m tmpfs "$small"; then
  echo "needs root to mount a small tmpfs"
  exit 77
fi
trap 'umount "$small"; rm -rf "$work"' EXIT

# Makes installer $1 of a product with the player and $2 files of $3 random
# bytes, its tar archive compressed by command $4 (gzip by default).
installer_of() {
  rm -rf "$work/product" && mkdir "$work/product"
  printf '#!/bin/sh\n' > "$work/product/zorvane" && chmod 755 "$work/product/zorvane"
  for i in $(seq "$2"); do head -c "$3" /dev/urandom > "$work/product/file$i"; done
  (cd "$work/product" && tar -cf - ./*) | ${4:-gzip} > "$work/$1.payload"
  make_installer "$work/$1.payload" "$work/$1"
}

# Compresses standard input into two zstd frames that give their content sizes.
zstd_frames() {
  cat > "$work/archive"
  head -c 1000000 "$work/archive" > "$work/first" && tail -c +1000001 "$work/archive" > "$work/rest"
  zstd -q -c "$work/first" "$work/rest"
}

installer_of big 1 7000000
tar_length=$(gzip -l "$work/big.payload" | awk 'NR == 2 { print $2 }')
# the rule: the tar stream less an eighth and tar's last record of 10240 bytes
needed=$(((tar_length - tar_length / 8 - 10240 + 1048575) / 1048576))

case="a product too big for a new destination"
run "$work/big" -s "$small/new"
expect 1 "There is not enough free space in $small/new: the product needs $needed MB and only 4 MB are free; nothing was installed.\\n"
[ -z "$(ls -A "$small")" ] || fail "$case: left behind: $(ls -A "$small")"

case="a product too big for an existing destination"
mkdir "$small/existing" && echo "mine" > "$small/existing/file"
run "$work/big" -s "$small/existing"
expect 1 "There is not enough free space in $small/existing: the product needs $needed MB and only 3 MB are free; nothing was installed.\\n"
[ "$(ls -A "$small/existing")" = file ] || fail "$case: the destination holds $(ls -A "$small/existing")"
rm -rf "$small/existing"

case="a product too big, in zstd frames that give their sizes"
installer_of big-zstd 1 7000000 zstd_frames
run "$work/big-zstd" -s "$small/new"
expect 1 "There is not enough free space in $small/new: the product needs $needed MB and only 4 MB are free; nothing was installed.\\n"
[ -z "$(ls -A "$small")" ] || fail "$case: left behind: $(ls -A "$small")"

case="a product too big, in a zstd frame that does not give its size: the unpack fails"
installer_of unsized 1 7000000 "zstd -q -c"
run "$work/unsized" -s "$small/new"
expect_ending 1 "$MSG_UNPACK"
[ -z "$(ls -A "$small")" ] || fail "$case: left behind: $(ls -A "$small")"

case="the wizard: a product too big, and the destination page stays for another choice"
install_by_keys "$work" small/windowed "$work/big"
await_dialog
[ -z "$(ls -A "$small")" ] || fail "$case: left behind: $(ls -A "$small")"
press_ok
kill -0 "$pid" && [ -n "$(visible_window 'Zorvane 8 Installer')" ] || fail "$case: the wizard ended"
xdotool key c
wait_installer
[ "$status" = 0 ] || fail "$case: Cancel gave status $status"

# Products that fit: case|files|bytes each|compressing command.
while IFS='|' read -r case files bytes command; do
  installer_of fits "$files" "$bytes" "$command"
  run "$work/fits" -s "$small/fits"
  expect 0 ''
  expect_unpacked "$small/fits" "$work/fits.payload"
  rm -rf "$small/fits"
done <<'FITS'
half the room|1|2000000|gzip
a tar stream beyond the room|102|40960|gzip
half the room, zstd frames|1|2000000|zstd_frames
FITS

finish
