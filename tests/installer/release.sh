#!/bin/sh
# mkinstaller as a release engineer runs it: packs from checkouts made under
# any umask, refusals that name every offender, sparse files, paths no system
# can create, a full or missing TMPDIR, mistakes on the command line, names
# in the caller's locale, and Ctrl-C in a calling script.
. "$(dirname "$0")/lib.sh"
export SOURCE_DATE_EPOCH=1700000000

# Writes a product into directory $1 as a checkout under umask $2 would.
checkout() {
  (umask "$2"
   mkdir -p "$1/share/docs"
   printf '#!/bin/sh\necho zorvane\n' > "$1/zorvane" && chmod +x "$1/zorvane"
   echo "notes" > "$1/share/docs/notes.txt")
}

case="--normalize-modes: checkouts under umask 002 and 077 pack as under 022"
for mask in 022 002 077; do
  checkout "$work/checkout-$mask" $mask
  run "$MKINSTALLER" pack --normalize-modes "$work/checkout-$mask" "$work/made-$mask"
  [ "$status" = 0 ] || fail "$case: umask $mask: $(cat "$work/err")"
done
cmp -s "$work/made-022" "$work/made-002" || fail "$case: umask 002 differs"
cmp -s "$work/made-022" "$work/made-077" || fail "$case: umask 077 differs"
"$MKINSTALLER" list "$work/made-077" | awk '{ print $1, $6 }' | sort > "$work/modes"
printf '%s\n' "-rw-r--r-- ./share/docs/notes.txt" "-rwxr-xr-x ./zorvane" "drwxr-xr-x ./share/" \
  "drwxr-xr-x ./share/docs/" | sort | cmp -s - "$work/modes" || fail "$case: modes: $(cat "$work/modes")"

case="without it, a player of another mode is refused naming the directory and the mode"
run "$MKINSTALLER" pack "$work/checkout-077" "$work/refused"
[ "$status" = 1 ] && grep -qF "./zorvane in $work/checkout-077 is of mode 0700, not 0755" "$work/err" ||
  fail "$case: status $status: $(cat "$work/err")"

make_product "$work/product"
ln -s /etc/hosts "$work/product/share/hosts"
ln -s /etc "$work/product/lib/etc"
ln -s ../../../elsewhere "$work/product/share/zorvane/climbs"
case="links that point outside: every one named at once, an absolute one said why"
run "$MKINSTALLER" pack "$work/product" "$work/refused"
[ "$status" = 1 ] && [ "$(grep -c 'points outside it' "$work/err")" = 3 ] || fail "$case: $(cat "$work/err")"
grep -q "share/hosts in .* (to /etc/hosts: an absolute link points outside the installed product" \
  "$work/err" || fail "$case: no reason for the absolute link"

case="--keep-system-links keeps the absolute ones, not those that climb out"
run "$MKINSTALLER" pack --keep-system-links "$work/product" "$work/refused"
[ "$status" = 1 ] && [ "$(grep -c 'points outside it' "$work/err")" = 1 ] ||
  fail "$case: status $status: $(cat "$work/err")"
rm "$work/product/share/zorvane/climbs"
run "$MKINSTALLER" pack --keep-system-links "$work/product" "$work/kept"
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/err")"
"$work/kept" -s "$work/kept-installed" > /dev/null 2>&1 &&
  [ "$(readlink "$work/kept-installed/lib/etc")" = /etc ] || fail "$case: the link is not installed"

case="a sparse file stays sparse through pack, --check and install"
truncate -s 64M "$work/product/sparse.img"
for at in $(seq 1 40); do # more holes than a GNU sparse header maps alone
  printf 'x' | dd of="$work/product/sparse.img" bs=1 seek=$((at * 1500000)) conv=notrunc 2>/dev/null
done
run "$MKINSTALLER" pack --keep-system-links "$work/product" "$work/sparse"
[ "$status" = 0 ] || fail "$case: pack: $(cat "$work/err")"
[ "$(wc -c < "$work/sparse")" -lt 5000000 ] || fail "$case: the installer holds the holes"
"$work/sparse" --check > /dev/null || fail "$case: --check refuses it"
"$work/sparse" -s "$work/sparse-installed" || fail "$case: the install failed"
cmp -s "$work/product/sparse.img" "$work/sparse-installed/sparse.img" || fail "$case: contents differ"
[ "$(du -k "$work/sparse-installed/sparse.img" | cut -f 1)" -lt 1024 ] ||
  fail "$case: installed fully allocated: $(du -k "$work/sparse-installed/sparse.img")"
rm -f "$work/product/sparse.img" "$work/sparse"

case="paths longer than any system creates are refused, each named"
(cd "$work/product" && for level in $(seq 1 20); do
   mkdir "$(printf '%0200d' "$level")" && cd "$(printf '%0200d' "$level")" || exit 1
 done && mkdir "$(printf '%0200d' 21)" "$(printf '%0200d' 22)")
run "$MKINSTALLER" pack --keep-system-links "$work/product" "$work/refused"
[ "$status" = 1 ] && [ "$(grep -c 'bytes long, more than the 4095 bytes' "$work/err")" = 2 ] ||
  fail "$case: status $status: $(cat "$work/err")"
rm -rf "$work/product/$(printf '%0200d' 1)"

case="a full TMPDIR gives the reason"
mkdir "$work/full"
if unshare -m true 2> /dev/null; then
  run unshare -m sh -c 'mount -t tmpfs -o size=64k tmpfs "$1" && shift && TMPDIR=$0 "$@"' "$work/full" \
    "$work/full" "$MKINSTALLER" pack --keep-system-links "$work/product" "$work/refused"
  [ "$status" = 1 ] && grep -q "cannot write the payload in $work/full: gzip: stdout: No space left" \
    "$work/err" || fail "$case: status $status: $(cat "$work/err")"
fi

case="a missing TMPDIR: --help works, a command gives the reason"
TMPDIR=$work/missing run "$MKINSTALLER" --help
[ "$status" = 0 ] || fail "$case: --help status $status"
TMPDIR=$work/missing run "$MKINSTALLER" verify "$work/kept"
[ "$status" = 1 ] && grep -qx "mkinstaller: cannot make a working directory in $work/missing: No such file or directory." \
  "$work/err" || fail "$case: $(cat "$work/err")"

# Mistakes on the command line: arguments|what the message says.
while IFS='|' read -r arguments message; do
  case="mkinstaller $arguments"
  # shellcheck disable=SC2086
  run "$MKINSTALLER" $arguments
  [ "$status" = 2 ] && [ "$(cat "$work/err")" = "mkinstaller: $message" ] || fail "$case: $status: $(cat "$work/err")"
done <<'TABLE'
pack --frobnicate product out|pack has no option --frobnicate (see mkinstaller pack --help).
pack --level|the option --level needs an argument (see mkinstaller pack --help).
frobnicate|there is no command frobnicate (see mkinstaller --help).
TABLE
version=$(sed -n 's/^project(.* VERSION \([0-9.]*\) .*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$("$MKINSTALLER" --version)" = "mkinstaller (Zorvane 8 installer kit) $version" ] ||
  fail "mkinstaller --version: $("$MKINSTALLER" --version)"

case="list shows UTF-8 names as the installer's --list does"
echo "a skin" > "$work/product/share/zorvane/skins/café.skin"
"$MKINSTALLER" pack --keep-system-links "$work/product" "$work/utf8" > /dev/null
LC_ALL=C.UTF-8 "$MKINSTALLER" list "$work/utf8" > "$work/tool-list"
LC_ALL=C.UTF-8 "$work/utf8" --list > "$work/installer-list"
grep -q 'skins/café\.skin$' "$work/tool-list" || fail "$case: $(grep skin "$work/tool-list")"
cmp -s "$work/tool-list" "$work/installer-list" || fail "$case: the listings differ"

case="Ctrl-C on pack in a calling bash script: cleaned up, and the script stops"
head -c 40000000 /dev/urandom > "$work/product/lib/big"
mkdir "$work/tmp" "$work/dest"
# a background job starts with SIGINT ignored: give it back its default, as a terminal has it
TMPDIR=$work/tmp env --default-signal=INT setsid bash -c '"$0" pack --keep-system-links "$1" "$2/installer"; echo carried on' \
  "$MKINSTALLER" "$work/product" "$work/dest" > "$work/caller" 2>&1 &
caller=$!
tries=0
until [ -n "$(find "$work/tmp" -name payload -size +100k)" ] || [ $tries -gt 300 ]; do
  sleep 0.1 && tries=$((tries + 1))
done
env kill -s INT -- -$caller # as Ctrl-C does: the whole process group
wait $caller
status=$?
[ "$status" = 130 ] || fail "$case: the script ended with $status, not by the signal"
grep -q "carried on" "$work/caller" && fail "$case: the script carried on"
[ -z "$(find "$work/tmp" "$work/dest" -mindepth 1)" ] || fail "$case: left behind: $(find "$work/tmp" "$work/dest" -mindepth 1)"

finish
