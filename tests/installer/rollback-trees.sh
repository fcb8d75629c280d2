#!/bin/sh
# A failed unpack into a destination that the install made leaves nothing of
# it, whatever the tree: directories that the archive closed (modes 0300 and
# 0000, as a user without privileges), a tree deeper than there are
# descriptors, and a very low descriptor limit.
. "$(dirname "$0")/lib.sh"
unset DISPLAY

# Writes installer $2 of product directory $1 (GNU tar format, any depth)
# whose gzip checksum is wrong: tar unpacks all of it, then gunzip fails.
broken_installer() {
  (cd "$1" && tar --format=gnu -cf - .) | gzip > "$work/payload.tar.gz"
  length=$(wc -c < "$work/payload.tar.gz")
  flip_byte "$work/payload.tar.gz" $((length - 8))
  assemble "$work/payload.tar.gz" "\\n$length\\n" "$2"
}

# A product whose directories the unpack closes.
make_product "$work/closed"
mkdir -p "$work/closed/write-only/inner" "$work/closed/sealed/inner"
touch "$work/closed/write-only/file" "$work/closed/write-only/inner/file" \
      "$work/closed/sealed/file" "$work/closed/sealed/inner/file"
chmod 0300 "$work/closed/write-only" && chmod 0000 "$work/closed/sealed"
broken_installer "$work/closed" "$work/closed.bin"
chmod 755 "$work/closed"/* 2>/dev/null

# A product 600 directories deep, beyond a descriptor limit of 1024 at two a
# level, and one 40 deep for a limit of 24 descriptors.
for depth in 600 40; do
  mkdir "$work/deep$depth" && cp "$work/closed/zorvane" "$work/deep$depth/"
  path=$work/deep$depth
  for i in $(seq "$depth"); do path=$path/d; done
  mkdir -p "$path" && echo "bottom" > "$path/file"
  broken_installer "$work/deep$depth" "$work/deep$depth.bin"
done
mkdir -m 777 "$work/open"

# case|installer|shell command before the install
while IFS='|' read -r case installer limit; do
  rm -rf "$work/open/new"
  run as_user sh -c "$limit; exec \"\$0\" -s \"\$1\"" "$work/$installer" "$work/open/new"
  expect_ending 1 "$(msg_damaged "$work/$installer")"
  expect_gone "$work/open/new"
done <<'TREES'
directories of modes 0300 and 0000|closed.bin|:
600 levels deep|deep600.bin|ulimit -n 1024
40 levels deep, 24 descriptors|deep40.bin|ulimit -n 24
TREES

finish
