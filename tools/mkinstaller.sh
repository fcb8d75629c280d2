#!/bin/sh
# mkinstaller: makes and checks self-extracting installers.  An installer is
# the installer's executable image, then the payload (a gzip'd tar archive of
# the product, with the player ./zorvane at its top), then the trailer:
# a newline, the payload's length in bytes in decimal, and a newline.
set -u
LC_ALL=C
export LC_ALL

program=${0##*/}

# The commands: name|arguments|what it does.  Every usage text comes from here.
commands='create|IMAGE PAYLOAD.tar.gz OUTPUT|Writes OUTPUT (mode 0755): IMAGE, then PAYLOAD, then the trailer. PAYLOAD must be a sound gzip stream holding a tar archive with ./zorvane of mode 0755 at its top; otherwise nothing is written.
verify|INSTALLER|Checks the trailer of INSTALLER and that its payload is a sound gzip stream holding a readable tar archive with ./zorvane of mode 0755 at its top.  Prints a one-line verdict; the status is 0 only for a sound installer.
list|INSTALLER|Lists the members of the payload of INSTALLER, like tar tvf.'

# Prints the usage of one command, or of all of them.
usage() {
  [ $# -eq 0 ] && echo "usage: $program COMMAND ARGUMENTS (COMMAND --help for more)"
  printf '%s\n' "$commands" | while IFS='|' read -r name arguments description; do
    if [ $# -eq 0 ]; then
      printf '  %s %s %s\n' "$program" "$name" "$arguments"
    elif [ "$1" = "$name" ]; then
      printf 'usage: %s %s %s\n' "$program" "$name" "$arguments"
      printf '%s\n' "$description" | fold -s -w 76 | sed 's/^/  /'
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

# Checks the payload that "$1 $2" writes: a sound gzip stream holding a
# readable tar archive with ./zorvane of mode 0755 and no member outside it.
check_payload() {
  "$1" "$2" | gzip -t 2> "$work/gzip" ||
    fail "the payload is not a sound gzip stream: $(grep -m 1 . "$work/gzip")"
  "$1" "$2" | gzip -dc | tar -tvf - > "$work/members" 2> "$work/tar" ||
    fail "the payload holds no readable tar archive: $(grep -m 1 . "$work/tar")"
  mode=$(awk '$6 == "./zorvane" && NF == 6 { mode = $1 } END { print mode }' "$work/members")
  [ -n "$mode" ] || fail "the payload has no ./zorvane at its top."
  [ "$mode" = -rwxr-xr-x ] || fail "./zorvane in the payload is $mode, not a file of mode 0755."
  "$1" "$2" | gzip -dc | tar -tf - 2>/dev/null | grep -q '^/\|\(^\|/\)\.\.\(/\|$\)' &&
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
    chmod 0755 "$output_tmp" && mv -f "$output_tmp" "$output" ||
    fail "cannot write $output."
  output_tmp=
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

command=${1-}
[ $# -gt 0 ] && shift
case $command in
  create | verify | list)
    case ${1-} in
      -h | --help) usage "$command"; exit 0 ;;
    esac
    "$command" "$@" ;;
  -h | --help) usage ;;
  *) usage >&2; exit 2 ;;
esac
