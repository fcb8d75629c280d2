#!/bin/sh
# A failing unpack fails the install: a corrupt or truncated payload, either
# program failing, missing, or quitting before it has read everything.  Each
# gives the message that names its cause and status 1, never a death by a signal, and
# leaves nothing of a destination that the install made; an existing
# destination keeps what was unpacked into it.
. "$(dirname "$0")/lib.sh"
unset DISPLAY

make_product "$work/product"
head -c 3000000 /dev/urandom > "$work/product/lib/large.bin"
pack "$work/product" "$work/payload.tar.gz"
make_installer "$work/payload.tar.gz" "$work/installer"
length=$(wc -c < "$work/payload.tar.gz")

# Makes a program $1 on the fake search path $work/fake that runs $2.
fake() {
  mkdir -p "$work/fake"
  printf '#!/bin/sh\n%s\n' "$2" > "$work/fake/$1"
  chmod 755 "$work/fake/$1"
}

# Damaged payloads: case|the command that writes it.  Each gives the
# damaged-installer message, never the one about the disk.
cp "$work/payload.tar.gz" "$work/bad-crc.tar.gz"
flip_byte "$work/bad-crc.tar.gz" $((length - 8))
(cd "$work/product" && tar -cf "$work/plain.tar" ./zorvane)
while IFS='|' read -r case command; do
  eval "$command" > "$work/case.tar.gz"
  assemble "$work/case.tar.gz" "\\n$(wc -c < "$work/case.tar.gz")\\n" "$work/damaged"
  run "$work/damaged" -s "$work/damaged-destination"
  expect_ending 1 "$(msg_damaged "$work/damaged")"
  expect_gone "$work/damaged-destination"
done <<'DAMAGED'
checksum error: tar unpacks it all, gunzip fails|cat "$work/bad-crc.tar.gz"
truncated gzip stream|head -c $((length / 2)) "$work/payload.tar.gz"
payload that is no gzip stream|cat "$work/plain.tar"
gzip stream that holds no tar archive|head -c 100000 /dev/urandom | gzip
trailing garbage after the gzip stream|cat "$work/payload.tar.gz"; echo garbage
DAMAGED

case="checksum error into an existing destination"
mkdir "$work/existing"
assemble "$work/bad-crc.tar.gz" "\\n$length\\n" "$work/bad-crc"
run "$work/bad-crc" -s "$work/existing"
expect_ending 1 "$(msg_damaged "$work/bad-crc")"
expect_unpacked "$work/existing" "$work/payload.tar.gz"

# Programs put first on the search path: case|program|what it does.
while IFS='|' read -r case program script; do
  fake "$program" "$script"
  PATH="$work/fake:$PATH" run "$work/installer" -s "$work/$program-destination"
  expect_ending 1 "$MSG_UNPACK"
  expect_gone "$work/$program-destination"
  rm -rf "$work/fake" "$work/$program-destination"
done <<'FAKES'
tar fails after reading everything|tar|cat > /dev/null; exit 2
tar quits without reading|tar|exit 0
gunzip quits without reading|gunzip|exit 0
FAKES

case="gunzip is not on the search path"
mkdir "$work/only-tar"
ln -s "$(command -v tar)" "$work/only-tar/tar"
PATH="$work/only-tar" run "$work/installer" -s "$work/no-gunzip"
expect 1 "The program gunzip, which the installer needs to unpack the product, is not in any directory of the search path (PATH).\n"
expect_gone "$work/no-gunzip"

case="the same installer succeeds with the real programs"
run "$work/installer" -s "$work/real"
expect 0 ''
expect_unpacked "$work/real" "$work/payload.tar.gz"

finish
