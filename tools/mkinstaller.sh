#!/bin/sh
# mkinstaller: makes and checks self-extracting installers.  An installer is
# the installer's executable image, then the payload (a gzip'd tar archive of
# the product, with the player ./zorvane at its top), then the trailer:
# a newline, the payload's length in bytes in decimal, and a newline.
# `pack` makes the payload from a product directory and, without --image,
# takes the image installed with this tool: @IMAGE_FROM_TOOL@, relative to
# the directory that holds it.  The trailer is read by the program
# @LOCATOR_FROM_TOOL@, the installer's own reader.
set -u
LC_ALL=C
export LC_ALL

program=${0##*/}

# The commands: name|arguments|what it does.  Every usage text comes from here.
commands='pack|[OPTIONS] PRODUCT_DIR OUTPUT|Packs the directory PRODUCT_DIR, which holds the player ./zorvane, into a payload and writes OUTPUT (mode 0755) as create does. The members are ./zorvane, ./share/... (never ./), sorted by name, owned by 0:0, with the permissions they have in the directory; modification times are clamped to SOURCE_DATE_EPOCH when it is set. The same directory gives the same bytes every time. Refuses, writing nothing, a directory without an executable ./zorvane, a symbolic link that points outside the directory, a file it cannot read, device nodes, FIFOs, sockets and set-user-ID or set-group-ID files (naming every one; see --allow-special), an OUTPUT inside the directory, and an OUTPUT that exists and is not a regular file. Warns of files and directories that every user may write. Prints one line: OUTPUT, its size, and the compressed and unpacked sizes of the payload.
create|IMAGE PAYLOAD.tar.gz OUTPUT|Writes OUTPUT (mode 0755): IMAGE, then PAYLOAD, then the trailer. PAYLOAD must be a sound gzip stream holding a tar archive with ./zorvane of mode 0755 at its top; otherwise nothing is written. An OUTPUT that exists and is not a regular file (a device, a FIFO, a link) is refused and left as it is.
verify|INSTALLER|Checks the trailer of INSTALLER and that its payload is a sound gzip stream holding a readable tar archive with ./zorvane of mode 0755 at its top.  Prints a one-line verdict; the status is 0 only for a sound installer.
list|INSTALLER|Lists the members of the payload of INSTALLER, like tar tvf.
info|INSTALLER|Prints the sizes of INSTALLER, of its image, of its payload compressed and unpacked and their ratio, the number of members, the size of the player, and the verdict of verify; the status is that of verify.'

# The options: command|option|what it does.
options='pack|--image IMAGE|The installer image to put in front of the payload (default: the image installed with mkinstaller).
pack|--level N|The gzip compression level, 1 to 9 (default: 9).
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

work=$(mktemp -d) || exit 1
output_tmp=
trap 'rm -rf "$work"; [ -n "$output_tmp" ] && rm -f "$output_tmp"' EXIT
trap 'exit 1' HUP INT TERM

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

# Writes the file $1 to standard output.
payload_file() {
  cat "$1"
}

# Checks the payload that "$1 $2" writes: a sound gzip stream holding a
# readable tar archive with ./zorvane of mode 0755 and no member outside it.
# Leaves the archive's listing, like tar tvf, in $work/members.
check_payload() {
  "$1" "$2" | gzip -t 2> "$work/gzip" ||
    fail "the payload is not a sound gzip stream: $(grep -m 1 . "$work/gzip")"
  "$1" "$2" | gzip -dc | tar -tvf - > "$work/members" 2> "$work/tar" ||
    fail "the payload holds no readable tar archive: $(grep -m 1 . "$work/tar")"
  # the player as a file, or as a hard link to one packed before it
  mode=$(awk '$6 == "./zorvane" && (NF == 6 || ($1 ~ /^h/ && $7 == "link")) {
      mode = $1; sub(/^h/, "-", mode) } END { print mode }' "$work/members")
  [ -n "$mode" ] || fail "the payload has no ./zorvane at its top."
  [ "$mode" = -rwxr-xr-x ] || fail "./zorvane in the payload is $mode, not a file of mode 0755."
  "$1" "$2" | gzip -dc | tar -tf - 2>/dev/null | grep -q '^/\|\(^\|/\)\.\.\(/\|$\)' &&
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
  [ -f "$image" ] && [ -r "$image" ] || fail "cannot read the image $image."
  [ -f "$payload" ] && [ -r "$payload" ] || fail "cannot read the payload $payload."
  check_output "$output"
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
  "$1" "$2" | gzip -dc | wc -c
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

# Writes to standard output the gzip'd tar archive of directory $1, made
# the same way every time, at gzip level $2.
pack_payload() {
  root=$1 level=$2
  set --
  [ -z "${SOURCE_DATE_EPOCH+set}" ] || set -- --mtime="@$SOURCE_DATE_EPOCH" --clamp-mtime
  { find "$root" -mindepth 1 -maxdepth 1 -printf './%P\0' | sort -z |
      tar -C "$root" --format=gnu --sort=name --owner=0 --group=0 --numeric-owner "$@" \
        --null -T - -cf - 2> "$work/tar"
    echo $? > "$work/tar-status"
  } | gzip -n "-$level"
}

# mkinstaller pack [--image IMAGE] [--level N] [--allow-special] PRODUCT_DIR OUTPUT
pack() {
  image=$(dirname "$(readlink -f "$0")")/@IMAGE_FROM_TOOL@ level=9 special=refuse
  while [ $# -gt 0 ]; do
    case $1 in
      --image) [ $# -ge 2 ] || { usage pack >&2; exit 2; }; image=$2; shift 2 ;;
      --level) [ $# -ge 2 ] || { usage pack >&2; exit 2; }; level=$2; shift 2 ;;
      --allow-special) special=allow; shift ;;
      --) shift; break ;;
      -*) usage pack >&2; exit 2 ;;
      *) break ;;
    esac
  done
  [ $# -eq 2 ] || { usage pack >&2; exit 2; }
  case $level in [1-9]) ;; *) fail "the gzip level must be a digit from 1 to 9, not $level." ;; esac
  case ${SOURCE_DATE_EPOCH-0} in '' | *[!0-9]*)
    fail "SOURCE_DATE_EPOCH must be a number of seconds, not $SOURCE_DATE_EPOCH." ;;
  esac
  [ -d "$1" ] || fail "the product directory $1 is not a directory."
  product=$(realpath -- "$1") output=$2
  case $(realpath -m -- "$output")/ in "$product"/*)
    fail "the output $output lies inside the product directory $1." ;;
  esac
  [ -f "$image" ] && [ -r "$image" ] || fail "cannot read the image $image."
  check_output "$output"
  check_player "$product"
  check_tree "$1" "$product"
  check_special "$1" "$product" "$special"
  pack_payload "$product" "$level" > "$work/payload.tar.gz"
  [ "$(cat "$work/tar-status")" = 0 ] || fail "cannot pack $1: $(grep -m 1 . "$work/tar")"
  create "$image" "$work/payload.tar.gz" "$output"
  echo "$output: $(wc -c < "$output") bytes; payload of $(wc -c < "$work/payload.tar.gz") bytes" \
    "compressed, $(unpacked_size payload_file "$work/payload.tar.gz") bytes unpacked."
}

# mkinstaller verify INSTALLER
verify() {
  [ $# -eq 1 ] || { usage verify >&2; exit 2; }
  locate_payload "$1"
  check_payload installer_payload "$1"
  echo "$1: sound installer; payload of $payload_length bytes at offset $payload_offset, $members members."
}

# mkinstaller list INSTALLER
list() {
  [ $# -eq 1 ] || { usage list >&2; exit 2; }
  locate_payload "$1"
  { installer_payload "$1" | gzip -dc; echo $? > "$work/gzip-status"; } | tar -tvf - ||
    fail "the payload of $1 holds no readable tar archive."
  [ "$(cat "$work/gzip-status")" = 0 ] || fail "the payload of $1 is not a sound gzip stream."
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
  unpacked=$(unpacked_size installer_payload "$1")
  echo "image: $payload_offset bytes"
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
