#!/bin/sh
# The installer's own options, which need no display and unpack nothing:
# --check and --list on sound installers of every tar format, cut-off ones,
# corrupt payloads and payloads without a player, each compressed by gzip
# and by zstd and installed as well; --help, --version and --licenses; and
# the hint after the toolkit's line when no display can be opened.
. "$(dirname "$0")/lib.sh"
unset DISPLAY
version=$(sed -n 's/^project(.* VERSION \([0-9.]*\) .*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")

make_product "$work/product"
long=$work/product/share/$(printf '%060d' 1)/$(printf '%060d' 2)
mkdir -p "$long" && echo "deep" > "$long/file.txt" # beyond tar's 100-byte names
(cd "$work/product" && tar -cf "$work/plain.tar" ./*)
mkdir "$work/empty" "$work/linked"
echo "readme" > "$work/linked/README" && ln -s README "$work/linked/zorvane"

# Writes tar format $1 of the product (more tar options may follow) on standard output.
tar_of() {
  (cd "$work/product" && tar --format="$@" -cf - ./*)
}

# Compresses standard input with $compressor (zstd: with its checksum).
compress() {
  if [ "$compressor" = zstd ]; then zstd -q -c --check; else gzip -c; fi
}

# Writes the compressed plain tar with byte $1 changed on standard output.
flipped() {
  cp "$work/payload" "$work/flipped"
  flip_byte "$work/flipped" "$1"
  cat "$work/flipped"
}

# Writes standard input as one zstd frame of raw blocks, without content
# size or checksum, whose window is 2 to the power $1.
raw_frame() {
  perl -e 'binmode STDIN; binmode STDOUT; local $/; my $data = <STDIN>;
    print "\x28\xb5\x2f\xfd\x00", chr((shift() - 10) << 3);
    while (length $data) {
      my $block = substr($data, 0, 131072, "");
      print substr(pack("V", length($block) << 3 | !length $data), 0, 3), $block;
    }' "$1"
}

# Runs installer $1 with the rest as its arguments in an empty directory,
# which must stay empty.
run_option() {
  installer=$1
  shift
  (cd "$work/empty" && "$installer" "$@") > "$work/out" 2> "$work/err"
  status=$?
  [ -z "$(ls -A "$work/empty")" ] || fail "$case: $* left files in the working directory"
}

# Payloads: case@command writing the payload@verdict of --check with gzip@
# with zstd: sound, no player, the reason given for a corrupt payload, or -
# where the case does not apply.  -s installs what tar xf gives when sound;
# otherwise it fails, says why (no player, or a damaged installer) and
# leaves no destination.
no_player="The installer file $work/installer holds no player: its payload has no executable ./zorvane, so it cannot install the product.\\n"
for compressor in gzip zstd; do
compress < "$work/plain.tar" > "$work/payload"
length=$(wc -c < "$work/payload")
[ $compressor = zstd ] && checksum_at=$((length - 2)) || checksum_at=$((length - 8))
while IFS=@ read -r case command gzip_verdict zstd_verdict; do
  [ $compressor = zstd ] && verdict=$zstd_verdict || verdict=$gzip_verdict
  [ "$verdict" = - ] && continue
  case="$compressor: $case"
  eval "$command" > "$work/case.payload"
  assemble "$work/case.payload" "\\n$(wc -c < "$work/case.payload")\\n" "$work/installer"
  if [ $compressor = zstd ]; then zstd -dcq --memory=512MB; else gzip -dc; fi \
    < "$work/case.payload" > "$work/case.tar" 2>/dev/null
  run_option "$work/installer" --check
  case $verdict in
    sound)
      [ "$status" = 0 ] && [ ! -s "$work/err" ] || fail "$case: status $status: $(cat "$work/err")"
      printf 'The installer file %s is sound: its payload of %s bytes holds a tar archive of %s bytes with %s members, the player ./zorvane among them.\n' \
        "$work/installer" "$(wc -c < "$work/case.payload")" "$(wc -c < "$work/case.tar")" \
        "$(tar -tf "$work/case.tar" | wc -l)" | cmp -s - "$work/out" ||
        fail "$case: verdict: $(cat "$work/out")" ;;
    "no player")
      expect 1 "$no_player" ;;
    *)
      expect 1 "The installer file $work/installer has a corrupt payload ($verdict); it cannot install the product.\\n" ;;
  esac
  run_option "$work/installer" --list
  case $verdict in
    sound | "no player")
      [ "$status" = 0 ] || fail "$case: --list status $status: $(cat "$work/err")"
      tar -tvf "$work/case.tar" | cmp -s - "$work/out" || fail "$case: --list differs from tar tvf" ;;
    *)
      [ "$status" = 1 ] || fail "$case: --list status $status"
      [ "$(tail -n 1 "$work/err")" = "The payload of the installer file $work/installer could not be listed in full; it is damaged." ] ||
        fail "$case: --list said $(cat "$work/err")" ;;
  esac
  rm -rf "$work/to"
  run "$work/installer" -s "$work/to"
  case $verdict in
    sound)
      expect 0 ''
      expect_unpacked "$work/to" "$work/case.tar" ;;
    "no player")
      expect 1 "$no_player"
      expect_gone "$work/to" ;;
    *)
      expect_ending 1 "$(msg_damaged "$work/installer")"
      expect_gone "$work/to" ;;
  esac
  case $compressor:$verdict in # the decoder in the installer tells its fault as gunzip does
    zstd:sound | zstd:"no player" | zstd:*tar*) ;;
    zstd:*) grep -qxF "The installer file $work/installer has a corrupt payload ($verdict); it cannot install the product." \
              "$work/err" || fail "$case: the install does not name the fault" ;;
  esac
done <<'CASES'
GNU format, long names@cat "$work/payload"@sound@sound
pax format, long names@tar_of pax | compress@sound@sound
ustar format, long names in the prefix@tar_of ustar | compress@sound@sound
two members or frames@{ head -c 20000 "$work/plain.tar" | compress; tail -c +20001 "$work/plain.tar" | compress; }@sound@sound
zeros after the stream@cat "$work/payload"; head -c 99 /dev/zero@sound@Unknown frame descriptor
player not executable@tar_of gnu --mode=a-x | compress@no player@no player
player is a link@(cd "$work/linked" && tar -cf - ./*) | compress@no player@no player
no player@(cd "$work/product" && tar -cf - ./README ./lib) | compress@no player@no player
content checksum@flipped $checksum_at@incorrect data check@Restored data doesn't match checksum
recorded length@flipped $((length - 2))@incorrect length check@-
not compressed@cat "$work/plain.tar"@incorrect header check@-
stream cut short@head -c $((length / 2)) "$work/payload"@unexpected end of the gzip stream@unexpected end of the zstd stream
garbage after the stream@cat "$work/payload"; echo garbage@trailing garbage after the gzip stream@Unknown frame descriptor
tar header checksum@{ printf x; tail -c +2 "$work/plain.tar"; } | compress@unreadable tar header@unreadable tar header
tar archive cut in a member@head -c 100000 "$work/plain.tar" | compress@unexpected end of the tar archive@unexpected end of the tar archive
one frame of raw blocks without content size or checksum, window 128 MiB@raw_frame 27 < "$work/plain.tar"@-@sound
one frame whose window is 256 MiB@raw_frame 28 < "$work/plain.tar"@-@Frame requires too much memory for decoding
CASES
done

case="--list into a reader that goes away: no complaint, the broken pipe's status"
mkdir "$work/product/many" && (cd "$work/product/many" && seq 2000 | xargs touch)
pack "$work/product" "$work/many.tar.gz" # a listing beyond what a pipe holds
make_installer "$work/many.tar.gz" "$work/many"
{ "$work/many" --list 2> "$work/err"; echo $? > "$work/status"; } | head -n 1 > "$work/out"
[ "$(cat "$work/status")" = 141 ] && [ ! -s "$work/err" ] && [ "$(wc -l < "$work/out")" = 1 ] ||
  fail "$case: status $(cat "$work/status"): $(cat "$work/err")"

for compressor in gzip zstd; do
  case="$compressor: cut-off download"
  compress < "$work/plain.tar" > "$work/payload"
  make_installer "$work/payload" "$work/sound"
  head -c $(($(wc -c < "$work/sound") - $(wc -c < "$work/payload") / 2)) "$work/sound" > "$work/cut"
  chmod 755 "$work/cut"
  for option in --check --list "-s $work/to"; do
    # shellcheck disable=SC2086
    run_option "$work/cut" $option
    expect 1 "The installer file $work/cut is damaged or incomplete (an interrupted download, perhaps); it holds no product that can be installed.\\n"
    expect_gone "$work/to"
  done
done

# Options whose output or programs fail, on a sound installer: case|command
# (standard output is its own)|the last line of standard error; status 1.
mkdir "$work/only-tar" && ln -s "$(command -v tar)" "$work/only-tar/tar"
full="The installer could not write to its standard output (No space left on device)."
while IFS='|' read -r case command message; do
  eval "$command" 2> "$work/err"
  status=$?
  [ "$status" = 1 ] || fail "$case: status $status"
  [ "$(tail -n 1 "$work/err")" = "$(eval echo "\"$message\"")" ] || fail "$case: said $(cat "$work/err")"
done <<'OUTPUTS'
--list, gunzip missing|PATH="$work/only-tar" "$work/sound" --list > /dev/null|The program gunzip, which the installer needs to unpack the product, is not in any directory of the search path (PATH).
--list, its output closed|"$work/sound" --list >&-|The list of the product's files could not be written to the standard output.
--list into a full disk|"$work/sound" --list > /dev/full|The list of the product's files could not be written to the standard output.
--check into a full disk|"$work/sound" --check > /dev/full|$full
--help into a full disk|"$work/sound" --help > /dev/full|$full
--version into a full disk|"$work/sound" --version > /dev/full|$full
OUTPUTS

case="--version"
run_option "$work/sound" --version
[ "$status" = 0 ] && [ "$(cat "$work/out")" = "Zorvane 8, installer version $version" ] ||
  fail "$case: status $status: $(cat "$work/out")"

case="--licenses: every component the image carries, its licence and where its source is"
run_option "$work/sound" --licenses
[ "$status" = 0 ] && [ ! -s "$work/err" ] || fail "$case: status $status: $(cat "$work/err")"
sed -n 's/^  "\([^|]*\)|[^|]*|\([^|]*\)"$/\1|\2/p' "$(dirname "$0")/../../packaging/components.cmake" |
  while IFS='|' read -r name licence; do
    grep -A 1 -xF "  $name" "$work/out" | grep -qxF "    licence: $licence" || echo "$name"
  done | grep . && fail "$case: the components above are not named with their licence"
for text in "https://snapshot.debian.org/package/motif/" "The source of the installer itself" \
            "GNU LESSER GENERAL PUBLIC LICENSE" "Permission is hereby granted" "Jean-loup Gailly"; do
  grep -qF "$text" "$work/out" || fail "$case: no '$text'"
done

case="--help"
run_option "$work/sound" --help
[ "$status" = 0 ] || fail "$case: status $status"
for word in "Usage: $work/sound" " -s DIRECTORY " " --check " " --list " " --help " " --version " " --licenses " \
            "-display" "-xrm" "Exit status: 0"; do
  grep -q -- "$word" "$work/out" || fail "$case: no '$word' in the help"
done
grep -v -F "$work/sound" "$work/out" | awk 'length > 80 { exit 1 }' || fail "$case: lines beyond 80 columns"

case="no display: the toolkit's line, then the way out"
hint="The installer's window needs an X display and none could be opened; to install without one, run: $work/sound -s DIRECTORY\\n"
run "$work/sound"
expect 1 "Error: Can't open display: \\n$hint"
run env DISPLAY=:9999 "$work/sound"
expect 1 "Error: Can't open display: :9999\\n$hint"
run "$work/sound" -display :9998
expect 1 "Error: Can't open display: :9998\\n$hint"
run "$work/sound" --check extra
expect 1 "Error: Can't open display: \\n$hint"

finish
