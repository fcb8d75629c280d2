#!/bin/sh
# mkinstaller: makes and checks self-extracting installers.  An installer is
# the installer's executable image, then the payload (a tar archive of the
# product compressed by gzip or zstd, with the player ./zorvane at its top),
# then the trailer:
# a newline, the payload's length in bytes in decimal, and a newline.
# Installers made by this version also carry a checksum block between the
# image and the payload, which the trailer's arithmetic does not see.
# `pack` makes the payload from a product directory and, without --image,
# takes the image installed with this tool: @IMAGE_FROM_TOOL@, relative to
# the directory that holds it.  The trailer is read by the program
# @LOCATOR_FROM_TOOL@, the installer's own reader.
set -u
caller_locale=${LC_ALL-} # tar lists names in the caller's locale, as the installer does
LC_ALL=C
export LC_ALL

program=${0##*/}

# The commands: name|arguments|what it does.  Every usage text comes from here.
commands='pack|[OPTIONS] PRODUCT_DIR OUTPUT|Packs the directory PRODUCT_DIR, which holds the player ./zorvane, into a payload and writes OUTPUT (mode 0755) as create does. The members are ./zorvane, ./share/... (never ./), sorted by name, owned by 0:0, with the permissions they have in the directory (see --normalize-modes); modification times are clamped to SOURCE_DATE_EPOCH when it is set. The same directory gives the same bytes every time. Refuses, writing nothing, a directory without an executable ./zorvane, symbolic links that point outside the directory (an absolute link does: it points outside the installed product wherever that is; see --keep-system-links), files it cannot read, paths too long to install, device nodes, FIFOs, sockets and set-user-ID or set-group-ID files (see --allow-special), an OUTPUT inside the directory, and an OUTPUT that exists and is not a regular file, naming every offender. Warns of files and directories that every user may write. Prints one line: OUTPUT, its size, and the compressed and unpacked sizes of the payload.
create|IMAGE PAYLOAD OUTPUT|Writes OUTPUT (mode 0755): IMAGE, then the checksum block (the SHA-256 of IMAGE and of PAYLOAD, 256 bytes), then PAYLOAD, then the trailer. IMAGE must be an installer image built by this kit. PAYLOAD (a .tar.gz or .tar.zst, told apart by its first bytes) must be a sound gzip or zstd stream holding a tar archive with ./zorvane of mode 0755 at its top, and no zstd frame may need a window beyond 128 MiB; otherwise nothing is written. An OUTPUT that exists and is not a regular file (a device, a FIFO, a link) is refused and left as it is.
verify|INSTALLER|Checks the trailer of INSTALLER, the SHA-256 checksums of its image and payload when it has a checksum block (naming the damaged part), and that its payload is a sound gzip or zstd stream holding a readable tar archive with ./zorvane of mode 0755 at its top.  Prints a one-line verdict that names the compressor; the status is 0 only for a sound installer.
list|INSTALLER|Lists the members of the payload of INSTALLER, like tar tvf.
info|INSTALLER|Prints the sizes of INSTALLER, of its image, its checksum block and the product version recorded there, of its payload compressed and unpacked and their ratio, the compressor, the number of members, the size of the player, and the verdict of verify; the status is that of verify.'

# The zstd level that pack takes by default: the fastest that makes the
# payload a fifth smaller than gzip -9 does on a typical product (0.78 on
# 248 MB of programs and libraries, where level 17 gives 0.81).
zstd_level=18

# The options: command|option|what it does.
options='pack|--image IMAGE|The installer image to put in front of the payload (default: the image installed with mkinstaller).
pack|--level N|The compression level: for gzip 1 to 9 (default: 9), for zstd 1 to 19 (default: '"$zstd_level"').
pack|--zstd|Compresses the payload with zstd instead of gzip, as one frame that records its content size and checksum: a smaller installer that installs faster, decoded by the installer itself.
pack|--product-version VERSION|Records VERSION, the version of the product (up to 32 letters, digits and . + ~ : _ -), in the checksum block, where INSTALLER --version and info show it.
pack|--normalize-modes|Packs directories and executable files with mode 0755 and other files with mode 0644, whatever their modes in the directory, so that checkouts made under any umask pack to the same bytes.
pack|--keep-system-links|Keeps symbolic links with an absolute target (such as a link into /etc), which point to the system the product is installed on, instead of refusing them.
pack|--allow-special|Packs device nodes, FIFOs, sockets and set-user-ID or set-group-ID files, which pack otherwise refuses: an installer run as root would make them on every machine it installs on.'

# Prints the usage of one command, or of all of them.
usage() {
  [ $# -eq 0 ] && echo "usage: $program COMMAND ARGUMENTS (COMMAND --help for more)"
  printf '%s\n' "$commands" | while IFS='|' read -r name arguments description; do
    if [ $# -eq 0 ]; then
      printf '  %s %s %s\n' "$program" "$name" "$arguments"
    elif [ "$1" = "$name" ]; then
      printf 'usage: %s %s %s\n' "$program" "$name" "$arguments"
      printf '%s\n' "$description" | fold -s -w 76 | sed 's/^/  /'
      printf '%s\n' "$options" | while IFS='|' read -r command option meaning; do
        [ "$command" = "$name" ] || continue
        printf '  %s\n' "$option"
        printf '%s\n' "$meaning" | fold -s -w 72 | sed 's/^/      /'
      done
    fi
  done
}

# Reports a failure and ends with status 1.
fail() {
  echo "$program: $*" >&2
  exit 1
}

# Removes the working directory and an OUTPUT not completed.
clean_up() {
  rm -rf "$work"
  [ -z "$output_tmp" ] || rm -f "$output_tmp"
}

# Ends by signal $1 after cleaning up, so that a calling script sees it.
die_by() {
  clean_up
  trap - "$1" EXIT
  kill -s "$1" $$
}

# Makes the working directory, which goes when the program ends.
start_work() {
  output_tmp=
  work=$(mktemp -d 2>&1) || {
    reason=${work##*: } work=
    fail "cannot make a working directory in ${TMPDIR:-/tmp}: $reason."
  }
  trap clean_up EXIT
  for signal in HUP INT TERM; do
    trap "die_by $signal" $signal
  done
}

# Ignores the signals that would end the program: the work is done.
finish_work() {
  trap '' HUP INT TERM
}

# Reports a command-line mistake, named by $2, of command $1 and ends with status 2.
misuse() {
  echo "$program: $2 (see $program ${1:+$1 }--help)." >&2
  exit 2
}

# Fails with status 2 unless option $2 of command $1 has an argument ($3 is the count left).
need_argument() {
  [ "$3" -ge 2 ] || misuse "$1" "the option $2 needs an argument"
}

# Sets payload_length and payload_offset from the trailer of installer $1,
# read by the installer's own reader, the program @LOCATOR_FROM_TOOL@ (relative
# to the directory of this tool).
locate_payload() {
  installer=$1
  [ -f "$installer" ] && [ -r "$installer" ] || fail "cannot read the installer $installer."
  location=$("$(dirname "$(readlink -f "$0")")/@LOCATOR_FROM_TOOL@" "$installer") ||
    fail "$installer is damaged or incomplete: it does not end with its trailer, a newline, the payload's length in decimal digits and a newline, or its length does not fit."
  payload_offset=${location% *} payload_length=${location#* }
}

# Writes the payload of installer $1 (found by locate_payload) to standard output.
installer_payload() {
  tail -c +$((payload_offset + 1)) "$1" | head -c "$payload_length"
}

# The marker that the build puts in every installer image, in two pieces so
# that this script does not carry it whole.
image_marker=ZORVANE8-INSTALLER-'IMAGE/1'

# Fails unless file $1 is an installer image built by this project (not an
# installer made from one).
check_image() {
  [ -f "$1" ] && [ -r "$1" ] || fail "cannot read the image $1."
  [ "$(head -c 4 "$1" | od -An -tx1 | tr -d ' ')" = 7f454c46 ] && grep -qaF -e "$image_marker" "$1" ||
    fail "$1 is not an installer image: give the zorvane-installer program built with this kit."
  (locate_payload "$1" && check_payload installer_payload "$1") > /dev/null 2>&1 &&
    fail "$1 is a whole installer, not an image: give the zorvane-installer program built with this kit."
  return 0
}

# The checksum block between the image and the payload: its size, its first
# and its last line.
block_size=256
block_opening='ZORVANE-CHECKSUMS 1'
block_closing='END-ZORVANE-CHECKSUMS'

# Prints the SHA-256 of standard input in hexadecimal.
sha256() {
  sha256sum | cut -c 1-64
}

# Writes the checksum block of image $1 and payload $2, recording the
# product version $3 unless it is empty.
checksum_block() {
  { echo "$block_opening"
    echo "image-sha256 $(sha256 < "$1")"
    echo "payload-sha256 $(sha256 < "$2")"
    [ -z "$3" ] || echo "product-version $3"
  } > "$work/block"
  cat "$work/block"
  head -c $((block_size - $(wc -c < "$work/block") - ${#block_closing} - 1)) /dev/zero | tr '\0' '\n'
  echo "$block_closing"
}

# Reads the checksum block in front of the payload of installer $1 (found
# by locate_payload): sets block to none, sound or damaged, image_length,
# block_image, block_payload and product_version.
read_block() {
  block=none image_length=$payload_offset product_version=
  [ "$payload_offset" -ge "$block_size" ] || return 0
  tail -c +$((payload_offset - block_size + 1)) "$1" | head -c "$block_size" > "$work/block"
  opens=0 closes=0
  echo "$block_opening" | cmp -s -n $((${#block_opening} + 1)) - "$work/block" && opens=1
  tail -c $((${#block_closing} + 1)) "$work/block" > "$work/block-end"
  echo "$block_closing" | cmp -s - "$work/block-end" && closes=1
  [ $opens$closes = 00 ] && return 0
  image_length=$((payload_offset - block_size)) block=damaged
  [ $opens$closes = 11 ] || return 0
  sed '1d;$d' "$work/block" | grep -v '^$' > "$work/block-lines"
  block_image=$(sed -n 's/^image-sha256 \([0-9a-f]\{64\}\)$/\1/p' "$work/block-lines")
  block_payload=$(sed -n 's/^payload-sha256 \([0-9a-f]\{64\}\)$/\1/p' "$work/block-lines")
  product_version=$(sed -n 's/^product-version //p' "$work/block-lines")
  lines=2
  [ -z "$product_version" ] || lines=3
  [ "$(wc -l < "$work/block-lines")" -eq $lines ] &&
    [ ${#block_image} = 64 ] && [ ${#block_payload} = 64 ] && block=sound
  return 0
}

# Fails when the checksum block of installer $1 (read by read_block) is
# damaged or does not match the image or the payload, naming the part.
check_block() {
  case $block in
    none) return 0 ;;
    damaged) fail "$1 is damaged: its checksum block cannot be read." ;;
  esac
  [ "$(head -c "$image_length" "$1" | sha256)" = "$block_image" ] ||
    fail "$1 is damaged: its image does not match the SHA-256 checksum recorded when it was made."
  [ "$(installer_payload "$1" | sha256)" = "$block_payload" ] ||
    fail "$1 is damaged: its payload does not match the SHA-256 checksum recorded when it was made."
}

# Writes the file $1 to standard output.
payload_file() {
  cat "$1"
}

# Sets compressor to that of the payload that "$1 $2" writes, told by its
# first bytes as the installer tells it: zstd, or else gzip.
find_compressor() {
  case $("$1" "$2" | head -c 4 | od -An -tx1 | tr -d ' \n') in
    28b52ffd)
      compressor=zstd
      command -v zstd > /dev/null || fail "the payload is a zstd stream and zstd is not installed." ;;
    *) compressor=gzip ;;
  esac
}

# Decompresses standard input with $compressor; a zstd frame that needs a
# larger window than the installer keeps (128 MiB) fails.
decompress() {
  if [ "$compressor" = zstd ]; then
    zstd -dcq --memory=128MB
  else
    gzip -dc
  fi
}

# Checks the payload that "$1 $2" writes: a sound gzip or zstd stream
# holding a readable tar archive with ./zorvane of mode 0755 and no member
# outside it.  Leaves the archive's listing, like tar tvf, in $work/members.
check_payload() {
  find_compressor "$1" "$2"
  "$1" "$2" | decompress 2> "$work/stream" > /dev/null ||
    fail "the payload is not a sound $compressor stream: $(grep -m 1 . "$work/stream")"
  "$1" "$2" | decompress | tar -tvf - > "$work/members" 2> "$work/tar" ||
    fail "the payload holds no readable tar archive: $(grep -m 1 . "$work/tar")"
  # the player as a file, or as a hard link to one packed before it
  mode=$(awk '$6 == "./zorvane" && (NF == 6 || ($1 ~ /^h/ && $7 == "link")) {
      mode = $1; sub(/^h/, "-", mode) } END { print mode }' "$work/members")
  [ -n "$mode" ] || fail "the payload has no ./zorvane at its top."
  [ "$mode" = -rwxr-xr-x ] || fail "./zorvane in the payload is $mode, not a file of mode 0755."
  "$1" "$2" | decompress | tar -tf - 2>/dev/null | grep -q '^/\|\(^\|/\)\.\.\(/\|$\)' &&
    fail "the payload has members outside the directory it is unpacked into."
  members=$(wc -l < "$work/members")
}

# Fails if $1 exists and is not a regular file, which the rename of the
# new installer over it would replace (as root, /dev/null, say).
check_output() {
  { [ -e "$1" ] || [ -L "$1" ]; } && { [ -L "$1" ] || [ ! -f "$1" ]; } &&
    fail "the output $1 exists and is not a regular file; it is left as it is."
  return 0
}

# mkinstaller create IMAGE PAYLOAD OUTPUT
create() {
  [ $# -eq 3 ] || { usage create >&2; exit 2; }
  image=$1 payload=$2 output=$3
  check_image "$image"
  [ -f "$payload" ] && [ -r "$payload" ] || fail "cannot read the payload $payload."
  check_output "$output"
  check_payload payload_file "$payload"
  checksum_block "$image" "$payload" "${stamped_version-}" > "$work/checksums"
  length=$(wc -c < "$payload")
  output_tmp=$(mktemp "$(dirname "$output")/.mkinstaller.XXXXXX") ||
    fail "cannot write into the directory of $output."
  { cat "$image" "$work/checksums" "$payload" && printf '\n%s\n' "$length"; } > "$output_tmp" &&
    chmod 0755 "$output_tmp" && mv -fT "$output_tmp" "$output" ||
    fail "cannot write $output."
  output_tmp=
}

# Prints the length of the tar archive in the payload that "$1 $2" writes.
unpacked_size() {
  find_compressor "$1" "$2"
  "$1" "$2" | decompress | wc -c
}

# Fails unless directory $1 has a player that pack can put at its top.
check_player() {
  [ -f "$1/zorvane" ] && [ ! -L "$1/zorvane" ] && [ $((0$(stat -c %a "$1/zorvane") & 0111)) -ne 0 ] ||
    fail "$1 has no executable ./zorvane at its top."
}

# Prints, a line each, the symbolic links in directory $1 (a canonical path)
# that point outside it, as "PATH|TARGET|absolute" or "PATH|TARGET|climbs";
# with $2 = keep, absolute links are taken as deliberate links to the system.
outside_links() {
  find "$1" -type l -exec sh -c '
    root=$1 keep=$2
    shift 2
    for link do
      target=$(readlink -- "$link")
      case $target in
        /*) [ "$keep" = keep ] || printf "%s|%s|absolute\n" "${link#"$root"/}" "$target"
            continue ;;
      esac
      resolved=$(realpath -m -- "$link" 2>/dev/null) || continue
      case $resolved/ in "$root"/*) ;; *) printf "%s|%s|climbs\n" "${link#"$root"/}" "$target" ;; esac
    done' sh "$1" "$2" {} + | sort
}

# Fails, naming every one, when product directory $1 (canonical path $2)
# holds symbolic links that point outside it.
check_links() {
  outside_links "$2" "$keep_system_links" > "$work/outside"
  [ -s "$work/outside" ] || return 0
  while IFS='|' read -r link target kind; do
    why="it climbs out of the directory"
    [ "$kind" = climbs ] ||
      why="an absolute link points outside the installed product wherever it is installed; --keep-system-links keeps it"
    echo "$program: the symbolic link $link in $1 points outside it (to $target: $why)."
  done < "$work/outside" >&2
  exit 1
}

# The longest path, in bytes, that a system can create.
longest_path=4095

# Fails, naming every one, when product directory $1 (canonical path $2)
# holds paths that no install can create, as ./PATH is already too long.
check_path_lengths() {
  find "$2" -mindepth 1 -printf './%P\n' | awk -v most=$longest_path 'length > most' > "$work/long"
  [ -s "$work/long" ] || return 0
  while IFS= read -r path; do
    echo "$program: the path $(printf '%.60s' "$path")... in $1 is ${#path} bytes long, more than the $longest_path bytes a system can create."
  done < "$work/long" >&2
  exit 1
}

# Fails, unless the modes are to be normalized, when the player in product
# directory $1 (canonical path $2) is not of mode 0755.
check_player_mode() {
  mode=$(stat -c %a "$2/zorvane")
  [ -n "$normalize_modes" ] || [ "$mode" = 755 ] ||
    fail "./zorvane in $1 is of mode 0$mode, not 0755 (checked out under another umask?): set its mode, or pack with --normalize-modes."
}

# Fails if product directory $1, whose canonical path is $2, holds a symbolic
# link that points outside it, or something that cannot be read.
check_tree() {
  check_links "$1" "$2"
  find "$2" ! -type l \( ! -readable -o -type d ! -executable \) -printf '%P\n' 2>/dev/null |
    sort > "$work/unreadable"
  [ -s "$work/unreadable" ] || return 0
  while IFS= read -r path; do
    echo "$program: cannot read $path in $1."
  done < "$work/unreadable" >&2
  exit 1
}

# Fails, naming every one, if product directory $1, whose canonical path is
# $2, holds device nodes, FIFOs, sockets or set-user-ID or set-group-ID
# files, unless $3 is "allow"; warns of what every user may write.
check_special() {
  find "$2" -mindepth 1 \( -type b -o -type c \) -printf '  %P: a device node\n' \
    -o -type p -printf '  %P: a FIFO\n' -o -type s -printf '  %P: a socket\n' \
    -o -type f -perm -4000 -printf '  %P: a set-user-ID file\n' \
    -o -type f -perm -2000 -printf '  %P: a set-group-ID file\n' | sort > "$work/special"
  if [ -s "$work/special" ] && [ "$3" != allow ]; then
    echo "$program: $1 holds files that an installer should not make (--allow-special packs them):" >&2
    cat "$work/special" >&2
    exit 1
  fi
  find "$2" ! -type l -perm -0002 -printf "$program: warning: %P in $1 is writable by every user.\n" >&2
}

# Writes to standard output the tar archive of directory $1, made the same
# way every time; tar's status goes to $work/tar-status.
archive_tree() {
  root=$1
  set --
  [ -z "${SOURCE_DATE_EPOCH+set}" ] || set -- --mtime="@$SOURCE_DATE_EPOCH" --clamp-mtime
  [ -z "$normalize_modes" ] || set -- "$@" --mode=u=rwX,go=rX
  find "$root" -mindepth 1 -maxdepth 1 -printf './%P\0' | sort -z |
    tar -C "$root" --format=gnu --sparse --sort=name --owner=0 --group=0 --numeric-owner "$@" \
      --null -T - -cf - 2> "$work/tar"
  { echo $? > "$work/tar-status"; } 2> /dev/null # a full TMPDIR is the compressor's to tell
}

# Writes to standard output the gzip'd tar archive of directory $1, made
# the same way every time, at gzip level $2.
pack_gzip_payload() {
  archive_tree "$1" | gzip -n "-$2"
}

# Writes to standard output the tar archive of directory $1 as one zstd
# frame at level $2 that records the archive's length and checksum, made the
# same way every time (whatever the number of threads).  The archive is made
# twice: first to learn its length.
pack_zstd_payload() {
  length=$(archive_tree "$1" | wc -c)
  archive_tree "$1" | zstd -q -c -T0 "-$2" --check --stream-size="$length"
}

# Fails unless $level is a level of $compressor, which it defaults.
check_level() {
  case $compressor:$level in
    gzip:) level=9 ;;
    zstd:) level=$zstd_level ;;
    gzip:[1-9] | zstd:[1-9] | zstd:1[0-9]) ;;
    gzip:*) fail "the gzip level must be a digit from 1 to 9, not $level." ;;
    zstd:*) fail "the zstd level must be a number from 1 to 19, not $level." ;;
  esac
}

# Fails unless $1 is empty or a version that the checksum block can record.
check_product_version() {
  printf '%s\n' "$1" | grep -qx '\([0-9A-Za-z][0-9A-Za-z.+~:_-]\{0,31\}\)\?' ||
    fail "the product version must be up to 32 letters, digits and . + ~ : _ -, starting with a letter or digit, not $1."
}

# mkinstaller pack [OPTIONS] PRODUCT_DIR OUTPUT
pack() {
  image=$(dirname "$(readlink -f "$0")")/@IMAGE_FROM_TOOL@ level= compressor=gzip
  normalize_modes= keep_system_links= special=refuse
  while [ $# -gt 0 ]; do
    case $1 in
      --image) need_argument pack "$1" $#; image=$2; shift 2 ;;
      --level) need_argument pack "$1" $#; level=$2; shift 2 ;;
      --zstd) compressor=zstd; shift ;;
      --product-version) need_argument pack "$1" $#; stamped_version=$2; shift 2 ;;
      --normalize-modes) normalize_modes=yes; shift ;;
      --keep-system-links) keep_system_links=keep; shift ;;
      --allow-special) special=allow; shift ;;
      --) shift; break ;;
      -*) misuse pack "pack has no option $1" ;;
      *) break ;;
    esac
  done
  [ $# -eq 2 ] || { usage pack >&2; exit 2; }
  check_level
  [ "$compressor" = gzip ] || command -v zstd > /dev/null || fail "--zstd needs zstd, which is not installed."
  check_product_version "${stamped_version-}"
  case ${SOURCE_DATE_EPOCH-0} in '' | *[!0-9]*)
    fail "SOURCE_DATE_EPOCH must be a number of seconds, not $SOURCE_DATE_EPOCH." ;;
  esac
  [ -d "$1" ] || fail "the product directory $1 is not a directory."
  product=$(realpath -- "$1") output=$2
  case $(realpath -m -- "$output")/ in "$product"/*)
    fail "the output $output lies inside the product directory $1." ;;
  esac
  check_image "$image"
  check_output "$output"
  check_player "$product"
  check_player_mode "$1" "$product"
  check_tree "$1" "$product"
  check_path_lengths "$1" "$product"
  check_special "$1" "$product" "$special"
  reason=$(pack_${compressor}_payload "$product" "$level" 2>&1 > "$work/payload") ||
    fail "cannot write the payload in ${TMPDIR:-/tmp}: $(printf '%s\n' "$reason" | grep -m 1 .)"
  [ "$(cat "$work/tar-status")" = 0 ] || fail "cannot pack $1: $(grep -m 1 . "$work/tar")"
  summary="payload of $(wc -c < "$work/payload") bytes compressed,"
  summary="$summary $(unpacked_size payload_file "$work/payload") bytes unpacked."
  create "$image" "$work/payload" "$output"
  finish_work
  echo "$output: $(wc -c < "$output") bytes; $summary"
}

# mkinstaller verify INSTALLER
verify() {
  [ $# -eq 1 ] || { usage verify >&2; exit 2; }
  locate_payload "$1"
  read_block "$1"
  check_block "$1"
  check_payload installer_payload "$1"
  sums=
  [ "$block" = none ] || sums="; image and payload match their SHA-256 checksums"
  echo "$1: sound installer; $compressor payload of $payload_length bytes at offset $payload_offset," \
    "$members members$sums."
}

# mkinstaller list INSTALLER
list() {
  [ $# -eq 1 ] || { usage list >&2; exit 2; }
  locate_payload "$1"
  find_compressor installer_payload "$1"
  { installer_payload "$1" | decompress; echo $? > "$work/stream-status"; } |
    LC_ALL=$caller_locale tar -tvf - ||
    fail "the payload of $1 holds no readable tar archive."
  [ "$(cat "$work/stream-status")" = 0 ] || fail "the payload of $1 is not a sound $compressor stream."
}

# mkinstaller info INSTALLER
info() {
  [ $# -eq 1 ] || { usage info >&2; exit 2; }
  [ -f "$1" ] && [ -r "$1" ] || fail "cannot read the installer $1."
  echo "installer: $1, $(wc -c < "$1") bytes"
  if ! verdict=$(verify "$1" 2>&1); then
    echo "verdict: ${verdict#"$program: "}"
    exit 1
  fi
  locate_payload "$1"
  read_block "$1"
  find_compressor installer_payload "$1"
  unpacked=$(unpacked_size installer_payload "$1")
  echo "image: $image_length bytes"
  [ "$block" = none ] || echo "checksum block: $block_size bytes, SHA-256 of the image $block_image and of the payload $block_payload"
  [ -z "$product_version" ] || echo "product version: $product_version"
  echo "compressor: $compressor"
  echo "payload: $payload_length bytes compressed, $unpacked bytes unpacked, ratio" \
    "$(awk -v u="$unpacked" -v c="$payload_length" 'BEGIN { printf "%.2f", u / c }')"
  echo "members: $(wc -l < "$work/members")"
  echo "player: ./zorvane, $(awk '$6 == "./zorvane" { print $3 }' "$work/members") bytes"
  echo "verdict: ${verdict#"$1: "}"
}

command=${1-}
[ $# -gt 0 ] && shift
case $command in
  pack | create | verify | list | info)
    case ${1-} in
      -h | --help) usage "$command"; exit 0 ;;
    esac
    start_work
    "$command" "$@" ;;
  -h | --help) usage ;;
  --version) echo "$program (Zorvane 8 installer kit) @PROJECT_VERSION@" ;;
  '') usage >&2; exit 2 ;;
  *) misuse "" "there is no command $command" ;;
esac
