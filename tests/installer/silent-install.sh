#!/bin/sh
# A silent install that succeeds: the tree equals `tar xzf` of the payload,
# the status is 0, nothing is said, and the destination keeps its own owner
# and mode.  No display is needed.
. "$(dirname "$0")/lib.sh"
unset DISPLAY

make_product "$work/product"
pack "$work/product" "$work/payload.tar.gz"
make_installer "$work/payload.tar.gz" "$work/installer"

case="new destination"
run "$work/installer" -s "$work/new"
expect 0 ''
expect_unpacked "$work/new" "$work/payload.tar.gz"
[ -e "$work/new/test" ] && fail "$case: the probe file was left behind"

case="existing destination, relative path with a trailing slash"
mkdir "$work/existing" && chmod 751 "$work/existing"
(cd "$work" && run ./installer -s existing/ && expect 0 '')
expect_unpacked "$work/existing" "$work/payload.tar.gz"

case="payload with a ./ member keeps the destination's mode"
mkdir "$work/shared" && chmod 755 "$work/shared" && chmod 700 "$work/product"
(cd "$work/product" && tar -czf "$work/dot.tar.gz" .)
tar -tvzf "$work/dot.tar.gz" | grep -q '^drwx------ .* \./$' || fail "$case: payload has no ./ of mode 0700"
make_installer "$work/dot.tar.gz" "$work/dot-installer"
run "$work/dot-installer" -s "$work/shared"
expect 0 ''
[ "$(stat -c %a "$work/shared")" = 755 ] ||
  fail "$case: destination mode became $(stat -c %a "$work/shared")"
chmod 755 "$work/product"

if [ "$(id -u)" = 0 ]; then
  case="run as root, files do not take the archive's owners"
  (cd "$work/product" && tar --owner=4242 --group=4242 --numeric-owner -cf - ./*) |
    gzip > "$work/foreign.tar.gz"
  make_installer "$work/foreign.tar.gz" "$work/foreign-installer"
  run "$work/foreign-installer" -s "$work/owned"
  expect 0 ''
  owners=$(find "$work/owned" -printf '%U:%G\n' | sort -u)
  [ "$owners" = 0:0 ] || fail "$case: owners are $owners"
fi

case="installer file beyond 2 GiB"
cp "$IMAGE" "$work/big-installer"
truncate -s 2300M "$work/big-installer"
cat "$work/payload.tar.gz" >> "$work/big-installer"
printf '\n%s\n' "$(wc -c < "$work/payload.tar.gz")" >> "$work/big-installer"
run "$work/big-installer" -s "$work/big"
expect 0 ''
expect_unpacked "$work/big" "$work/payload.tar.gz"
rm -f "$work/big-installer"

case="anything but exactly -s DIR starts the wizard, which needs a display"
for arguments in "" "-s" "-sx $work/x" "-s $work/x $work/y" "--s $work/x"; do
  # shellcheck disable=SC2086
  run "$work/installer" $arguments
  [ "$status" = 1 ] || fail "$case: '$arguments' gave status $status"
  grep -q -- "Can't open display" "$work/err" || fail "$case: '$arguments' did not look for a display"
  [ -e "$work/x" ] && fail "$case: '$arguments' installed"
done

finish
