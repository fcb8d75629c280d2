#!/bin/sh
# Every failure of a silent install: its message byte for byte on standard
# error, status 1, and nothing unpacked where it should not be.
. "$(dirname "$0")/lib.sh"
unset DISPLAY

make_product "$work/product"
pack "$work/product" "$work/payload.tar.gz"
make_installer "$work/payload.tar.gz" "$work/installer"
length=$(wc -c < "$work/payload.tar.gz")

case="empty destination"
run "$work/installer" -s ""
expect 1 'You must specify a destination directory.\n'

case="destination whose parent does not exist, path beyond 1024 bytes"
deep=$work/missing/$(printf '%01100d' 0)/product
run "$work/installer" -s "$deep"
expect 1 "Can not make directory $deep\n"

case="destination that is a regular file"
echo "not a directory" > "$work/plain-file" && mkdir "$work/elsewhere"
(cd "$work/elsewhere" && run "$work/installer" -s "$work/plain-file" &&
  expect 1 "The destination $work/plain-file is not a directory that can be entered; nothing was installed.\n")
[ -e "$work/elsewhere/zorvane" ] && fail "$case: unpacked into the working directory"
[ "$(cat "$work/plain-file")" = "not a directory" ] || fail "$case: the file was changed"

# Installers whose trailers are damaged, each with a long path of its own;
# mkinstaller, which reads trailers with the installer's own reader, refuses
# each too.
long=$work/$(printf '%0250d' 1)/$(printf '%0250d' 2)/$(printf '%0250d' 3)/$(printf '%0250d' 4)/$(printf '%0250d' 5)
mkdir -p "$long"
truncated=$((length / 2))
for trailer in "no trailer|" "no length|\\nabc\\n" "zero length|\\n0\\n" \
               "negative length|\\n-5\\n" "length beyond the file|\\n999999999\\n" \
               "text after the length|\\n${length}x\\n" "blanks before the length|\\n  $length\\n" \
               "plus sign|\\n+$length\\n" "no closing newline|\\n$length" \
               "a byte after the closing newline|\\n$length\\nx"; do
  case="damaged installer: ${trailer%%|*}"
  assemble "$work/payload.tar.gz" "${trailer#*|}" "$long/damaged"
  run "$long/damaged" -s "$work/damaged-destination"
  expect 1 "The installer file $long/damaged is damaged or incomplete (an interrupted download, perhaps); it holds no product that can be installed.\n"
  [ -n "$(ls -A "$work/damaged-destination" 2>/dev/null)" ] && fail "$case: something was unpacked"
  "$MKINSTALLER" verify "$long/damaged" > /dev/null 2>&1 && fail "$case: mkinstaller verify accepts it"
done

case="interrupted download: the end of the installer is missing"
head -c "$(($(wc -c < "$work/installer") - truncated))" "$work/installer" > "$work/partial"
chmod 755 "$work/partial"
run "$work/partial" -s "$work/partial-destination"
expect 1 "The installer file $work/partial is damaged or incomplete (an interrupted download, perhaps); it holds no product that can be installed.\n"
[ -n "$(ls -A "$work/partial-destination" 2>/dev/null)" ] && fail "$case: something was unpacked"

finish
