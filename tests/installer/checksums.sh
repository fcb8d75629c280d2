#!/bin/sh
# The checksum block: pack records the SHA-256 of the image and of the
# payload and the product's version; verify, info and --check name the part
# a changed byte lands in; installers made without the block stay sound; and
# only an image built by this project is taken as the image.
. "$(dirname "$0")/lib.sh"

make_product "$work/product"
"$MKINSTALLER" pack --product-version 8.0.3 "$work/product" "$work/stamped" > /dev/null ||
  fail "pack --product-version"
image_size=$(wc -c < "$IMAGE")

case="the version stamped at pack time"
[ "$("$work/stamped" --version)" = "Zorvane 8, installer version 8.0, product version 8.0.3" ] ||
  fail "$case: --version: $("$work/stamped" --version)"
"$MKINSTALLER" info "$work/stamped" | grep -qx 'product version: 8.0.3' || fail "$case: info does not show it"
"$MKINSTALLER" pack "$work/product" "$work/unstamped" > /dev/null
[ "$("$work/unstamped" --version)" = "Zorvane 8, installer version 8.0" ] ||
  fail "$case: without it, --version: $("$work/unstamped" --version)"

# A byte changed in each part: where (an offset)|the part the verdicts name.
# In the image, a byte of the licence text, which the check runs without.
text_at=$(grep -boa 'GNU LESSER GENERAL PUBLIC' "$IMAGE" | head -n 1 | cut -d: -f1)
while IFS='|' read -r offset part; do
  case="a byte changed in the $part"
  cp "$work/stamped" "$work/damaged"
  flip_byte "$work/damaged" "$offset"
  run "$MKINSTALLER" verify "$work/damaged"
  [ "$status" = 1 ] || fail "$case: verify status $status"
  grep -q "its $part \(does not match\|cannot be read\)" "$work/err" || fail "$case: verify: $(cat "$work/err")"
  "$MKINSTALLER" info "$work/damaged" | tail -n 1 | grep -q "^verdict: .*its $part " ||
    fail "$case: info does not name it"
  run "$work/damaged" --check
  [ "$status" = 1 ] || fail "$case: --check status $status"
  grep -q "^The installer file $work/damaged is damaged: its $part " "$work/err" ||
    fail "$case: --check: $(cat "$work/err")"
done <<TABLE
$text_at|image
$((image_size - 1))|image
$((image_size + 3))|checksum block
$((image_size + 256 + 2000))|payload
TABLE

case="an installer made without the block is still sound"
pack "$work/product" "$work/payload.tar.gz"
assemble "$work/payload.tar.gz" "\n$(wc -c < "$work/payload.tar.gz")\n" "$work/old-style"
"$MKINSTALLER" verify "$work/old-style" > /dev/null || fail "$case: verify refuses it"
"$work/old-style" --check > /dev/null || fail "$case: --check refuses it"
"$MKINSTALLER" info "$work/old-style" | grep -q '^checksum block' && fail "$case: info shows a block"
"$MKINSTALLER" info "$work/old-style" | grep -qx "image: $image_size bytes" || fail "$case: image size"

# Files --image refuses: name|the file|the reason.
printf '#!/bin/sh\n' > "$work/script"
while IFS='|' read -r name file reason; do
  case="--image refuses $name"
  run "$MKINSTALLER" pack --image "$file" "$work/product" "$work/refused"
  [ "$status" = 1 ] || fail "$case: status $status"
  grep -q "$reason" "$work/err" || fail "$case: $(cat "$work/err")"
  [ -e "$work/refused" ] && fail "$case: OUTPUT was written"
done <<TABLE
a text file|/etc/passwd|is not an installer image
a script|$work/script|is not an installer image
a program not built by this project|$(command -v sh)|is not an installer image
the vendor tool|$MKINSTALLER|is not an installer image
a whole installer|$work/stamped|is a whole installer, not an image
TABLE

finish
