#!/bin/sh
# mkinstaller: makes and checks self-extracting installers.  An installer is
# the installer's executable image, then the payload (a tar archive of the
# product compressed by gzip or zstd, with the player ./zorvane at its top),
# then the trailer:
# a newline, the payload's length in bytes in decimal, and a newline.
# `pack` makes the payload from a product directory and, without --image,
# takes the image installed with this tool: @IMAGE_FROM_TOOL@, relative to
# the directory that holds it.
set -u
LC_ALL=C
export LC_ALL

program=${0##*/}

# The commands: name|arguments|what it does.  Every usage text comes from here.
commands='pack|[OPTIONS] PRODUCT_DIR OUTPUT|Packs the directory PRODUCT_DIR, which holds the player ./zorvane, into a payload and writes OUTPUT (mode 0755) as create does. The members are ./zorvane, ./share/... (never ./), sorted by name, owned by 0:0, with the permissions they have in the directory; modification times are clamped to SOURCE_DATE_EPOCH when it is set. The same directory gives the same bytes every time. Refuses, writing nothing, a directory without an executable ./zorvane, a symbolic link that points outside the directory, a file it cannot read, and an OUTPUT inside the directory. Prints one line: OUTPUT, its size, and the compressed and unpacked sizes of the payload.
create|IMAGE PAYLOAD OUTPUT|Writes OUTPUT (mode 0755): IMAGE, then PAYLOAD, then the trailer. PAYLOAD (a .tar.gz or .tar.zst, told apart by its first bytes) must be a sound gzip or zstd stream holding a tar archive with ./zorvane of mode 0755 at its top, and no zstd frame may need a window beyond 128 MiB; otherwise nothing is written.
verify|INSTALLER|Checks the trailer of INSTALLER and that its payload is a sound gzip or zstd stream holding a readable tar archive with ./zorvane of mode 0755 at its top.  Prints a one-line verdict that names the compressor; the status is 0 only for a sound installer.
list|INSTALLER|Lists the members of the payload of INSTALLER, like tar tvf.
info|INSTALLER|Prints the sizes of INSTALLER, of its image, of its payload compressed and unpacked and their ratio, the compressor, the number of members, the size of the player, and the verdict of verify; the status is that of verify.'

# The zstd level that pack takes by default: the fastest that makes the
# payload a fifth smaller than gzip -9 does on a typical product (0.78 on
# 248 MB of programs and libraries, where level 17 gives 0.81).
zstd_level=18

# The options: command|option|what it does.
options='pack|--image IMAGE|The installer image to put in front of the payload (default: the image installed with mkinstaller).
pack|--level N|The compression level: for gzip 1 to 9 (default: 9), for zstd 1 to 19 (default: '"$zstd_level"').
pack|--zstd|Compresses the payload with zstd instead of gzip, as one frame that records its content size and checksum: a smaller installer that installs faster, decoded by the installer itself.'

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

work=$(mktemp -d) || exit 1
output_tmp=
trap 'rm -rf "$work"; [ -n "$output_tmp" ] && rm -f "$output_tmp"' EXIT
trap 'exit 1' HUP INT TERM

# Sets payload_length and payload_offset from the trailer of installer $1.
locate_payload() {
  installer=$1
  [ -f "$installer" ] && [ -r "$installer" ] || fail "cannot read the installer $installer."
  size=$(wc -c < "$installer")
  tail -c 8192 "$installer" > "$work/tail"
  [ "$(tail -c 1 "$work/tail" | od -An -tx1 | tr -d ' ')" = 0a ] ||
    fail "$installer is damaged or incomplete: it does not end with the trailer's newline."
  [ "$(tr -dc '\n' < "$work/tail" | wc -c)" -ge 2 ] ||
    fail "$installer is damaged or incomplete: no trailer in its last 8192 bytes."
  text=$(head -c -1 "$work/tail" | sed -n '$p')
  printf '%s\n' "$text" | grep -qx '[[:space:]]*[0-9][0-9]*' ||
    fail "$installer is damaged or incomplete: its trailer holds no payload length."
  digits=$(printf '%s' "$text" | tr -d '[:space:]' | sed 's/^0*//')
  [ -n "$digits" ] && [ ${#digits} -le 18 ] ||
    fail "$installer is damaged or incomplete: its trailer gives an impossible payload length."
  payload_length=$digits
  payload_offset=$((size - ${#text} - 2 - payload_length))
  [ "$payload_offset" -ge 0 ] ||
    fail "$installer is damaged or incomplete: it is shorter than its trailer says."
}

# Writes the payload of installer $1 (found by locate_payload) to standard output.
installer_payload() {
  tail -c +$((payload_offset + 1)) "$1" | head -c "$payload_length"
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
  mode=$(awk '$6 == "./zorvane" && NF == 6 { mode = $1 } END { print mode }' "$work/members")
  [ -n "$mode" ] || fail "the payload has no ./zorvane at its top."
  [ "$mode" = -rwxr-xr-x ] || fail "./zorvane in the payload is $mode, not a file of mode 0755."
  "$1" "$2" | decompress | tar -tf - 2>/dev/null | grep -q '^/\|\(^\|/\)\.\.\(/\|$\)' &&
    fail "the payload has members outside the directory it is unpacked into."
  members=$(wc -l < "$work/members")
}

# mkinstaller create IMAGE PAYLOAD OUTPUT
create() {
  [ $# -eq 3 ] || { usage create >&2; exit 2; }
  image=$1 payload=$2 output=$3
  [ -f "$image" ] && [ -r "$image" ] || fail "cannot read the image $image."
  [ -f "$payload" ] && [ -r "$payload" ] || fail "cannot read the payload $payload."
  check_payload payload_file "$payload"
  length=$(wc -c < "$payload")
  output_tmp=$(mktemp "$(dirname "$output")/.mkinstaller.XXXXXX") ||
    fail "cannot write into the directory of $output."
  { cat "$image" "$payload" && printf '\n%s\n' "$length"; } > "$output_tmp" &&
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

# Fails if product directory $1, whose canonical path is $2, holds a symbolic
# link that points outside it, or something that cannot be read.
check_tree() {
  outside=$(find "$2" -type l -exec sh -c '
    root=$1
    shift
    for link do
      case $(readlink -- "$link") in /*) echo "$link"; exit ;; esac
      target=$(realpath -m -- "$link" 2>/dev/null) || continue
      case $target/ in "$root"/*) ;; *) echo "$link"; exit ;; esac
    done' sh "$2" {} + | head -n 1)
  [ -z "$outside" ] ||
    fail "the symbolic link ${outside#"$2"/} in $1 points outside it (to $(readlink -- "$outside"))."
  unreadable=$(find "$2" ! -type l \( ! -readable -o -type d ! -executable \) -print -quit 2>/dev/null)
  [ -z "$unreadable" ] || fail "cannot read ${unreadable#"$2"/} in $1."
}

# Writes to standard output the tar archive of directory $1, made the same
# way every time; tar's status goes to $work/tar-status.
archive_tree() {
  root=$1
  set --
  [ -z "${SOURCE_DATE_EPOCH+set}" ] || set -- --mtime="@$SOURCE_DATE_EPOCH" --clamp-mtime
  find "$root" -mindepth 1 -maxdepth 1 -printf './%P\0' | sort -z |
    tar -C "$root" --format=gnu --sort=name --owner=0 --group=0 --numeric-owner "$@" \
      --null -T - -cf - 2> "$work/tar"
  echo $? > "$work/tar-status"
}

# Writes to standard output the gzip'd tar archive of directory $1, made
# the same way every time, at gzip level $2.
pack_payload() {
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

# mkinstaller pack [--image IMAGE] [--level N] [--zstd] PRODUCT_DIR OUTPUT
pack() {
  image=$(dirname "$(readlink -f "$0")")/@IMAGE_FROM_TOOL@ level= compressor=gzip
  while [ $# -gt 0 ]; do
    case $1 in
      --image) [ $# -ge 2 ] || { usage pack >&2; exit 2; }; image=$2; shift 2 ;;
      --level) [ $# -ge 2 ] || { usage pack >&2; exit 2; }; level=$2; shift 2 ;;
      --zstd) compressor=zstd; shift ;;
      --) shift; break ;;
      -*) usage pack >&2; exit 2 ;;
      *) break ;;
    esac
  done
  [ $# -eq 2 ] || { usage pack >&2; exit 2; }
  check_level
  [ "$compressor" = gzip ] || command -v zstd > /dev/null || fail "--zstd needs zstd, which is not installed."
  case ${SOURCE_DATE_EPOCH-0} in '' | *[!0-9]*)
    fail "SOURCE_DATE_EPOCH must be a number of seconds, not $SOURCE_DATE_EPOCH." ;;
  esac
  [ -d "$1" ] || fail "the product directory $1 is not a directory."
  product=$(realpath -- "$1") output=$2
  case $(realpath -m -- "$output")/ in "$product"/*)
    fail "the output $output lies inside the product directory $1." ;;
  esac
  [ -f "$image" ] && [ -r "$image" ] || fail "cannot read the image $image."
  check_player "$product"
  check_tree "$1" "$product"
  if [ "$compressor" = zstd ]; then
    pack_zstd_payload "$product" "$level" > "$work/payload"
  else
    pack_payload "$product" "$level" > "$work/payload"
  fi
  [ "$(cat "$work/tar-status")" = 0 ] || fail "cannot pack $1: $(grep -m 1 . "$work/tar")"
  create "$image" "$work/payload" "$output"
  echo "$output: $(wc -c < "$output") bytes; payload of $(wc -c < "$work/payload") bytes" \
    "compressed, $(unpacked_size payload_file "$work/payload") bytes unpacked."
}

# mkinstaller verify INSTALLER
verify() {
  [ $# -eq 1 ] || { usage verify >&2; exit 2; }
  locate_payload "$1"
  check_payload installer_payload "$1"
  echo "$1: sound installer; $compressor payload of $payload_length bytes at offset $payload_offset," \
    "$members members."
}

# mkinstaller list INSTALLER
list() {
  [ $# -eq 1 ] || { usage list >&2; exit 2; }
  locate_payload "$1"
  find_compressor installer_payload "$1"
  { installer_payload "$1" | decompress; echo $? > "$work/stream-status"; } | tar -tvf - ||
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
  find_compressor installer_payload "$1"
  unpacked=$(unpacked_size installer_payload "$1")
  echo "image: $payload_offset bytes"
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
    "$command" "$@" ;;
  -h | --help) usage ;;
  *) usage >&2; exit 2 ;;
esac
