#!/bin/sh
# Measures a silent install against the bare pipeline it stands for,
#   gunzip < payload | tar xof -
# on a payload of at least 80 MB packed from real system files.  Runs the two
# in turns, prints each time, the median ratio (installer / bare, target at
# most 1.03) and the installer's own peak memory (target at most 4 MB).  Then
# the same for an installer of the same archive packed as zstd at
# mkinstaller's default level: its payload's size against gzip -9's (target
# at most 0.8), its silent install against the same bare pipeline (target at
# most 0.6) and its peak memory (target: the frame's window and 4 MB more).
#   usage: bench/silent-install.sh [BUILD_DIR [RUNS]]
set -eu
build=${1:-build}
runs=${2:-9}
image=$build/zorvane-installer
mkinstaller=$build/mkinstaller
[ -x "$image" ] && [ -x "$mkinstaller" ] || { echo "build first: make" >&2; exit 1; }

work=$(mktemp -d /tmp/silent-install-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

printf '#!/bin/sh\necho zorvane\n' > "$work/player"
. "$(dirname "$0")/timing.sh"
zstd_level=$(default_zstd_level "$mkinstaller")
"$(dirname "$0")/pack-system-payload.sh" "$work/player" "$work/payload.tar.gz" \
  "$work/payload.tar.zst" "$zstd_level"
"$mkinstaller" create "$image" "$work/payload.tar.gz" "$work/installer"
"$mkinstaller" create "$image" "$work/payload.tar.zst" "$work/zstd-installer"
size=$(wc -c < "$work/payload.tar.gz")
echo "Payload: $((size / 1000000)) MB compressed, $(gzip -l "$work/payload.tar.gz" |
  awk 'NR == 2 { print int($2 / 1000000) }') MB unpacked."
[ "$size" -ge 80000000 ] || { echo "payload below 80 MB" >&2; exit 1; }

installer_run() {
  seconds "$work/installer" -s "$work/to"
  rm -rf "$work/to"
  sync
}

zstd_installer_run() {
  seconds "$work/zstd-installer" -s "$work/to"
  rm -rf "$work/to"
  sync
}

bare_run() {
  seconds sh -c 'mkdir "$1" && cd "$1" && gunzip < "$2" | tar xof -' \
    sh "$work/to" "$work/payload.tar.gz"
  rm -rf "$work/to"
  sync
}

# The memory of installer $1 during a silent install, sampled from /proc
# while it runs: peak resident set (shared library pages included), and the
# largest proportional and private shares seen; $2 is the target in KB.
memory() {
  target=$2
  "$1" -s "$work/to" &
  pid=$!
  peak=0 pss=0 private=0
  while grep -q '^State:[[:space:]]*[^Z]' "/proc/$pid/status" 2>/dev/null; do
    # shellcheck disable=SC2046
    set -- $(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null) \
           $(awk '/^Pss:/ { p = $2 } /^Private_(Clean|Dirty):/ { q += $2 }
                  END { print p + 0, q + 0 }' "/proc/$pid/smaps_rollup" 2>/dev/null)
    if [ $# = 3 ]; then
      peak=$1
      [ "$2" -gt "$pss" ] && pss=$2
      [ "$3" -gt "$private" ] && private=$3
    fi
    sleep 0.01
  done
  wait "$pid"
  rm -rf "$work/to"
  echo "installer peak RSS (VmHWM): ${peak} KB (target <= $target KB);" \
       "largest PSS ${pss} KB, largest private ${private} KB"
}

compare "$runs" installer_run bare_run installer "bare pipeline" 1.03
memory "$work/installer" 4096
largest=$( { /usr/bin/time -f %M "$work/installer" -s "$work/to" > /dev/null; } 2>&1 | tail -n 1)
rm -rf "$work/to"
echo "largest peak RSS of installer, gunzip and tar (/usr/bin/time %M): ${largest} KB"

echo
gzip -dc "$work/payload.tar.gz" | gzip -9n > "$work/payload-9.tar.gz"
echo "zstd payload at level $zstd_level: $(wc -c < "$work/payload.tar.zst") bytes; gzip -9:" \
  "$(wc -c < "$work/payload-9.tar.gz") bytes; ratio zstd / gzip -9: $(awk -v z="$(wc -c < \
  "$work/payload.tar.zst")" -v g="$(wc -c < "$work/payload-9.tar.gz")" 'BEGIN { print z / g }')" \
  "(target <= 0.8)"
compare "$runs" zstd_installer_run bare_run "zstd installer" "bare pipeline" 0.6
window=$(zstd -lv "$work/payload.tar.zst" 2>/dev/null | sed -n 's/^Window Size: .*(\([0-9]*\) B)$/\1/p')
memory "$work/zstd-installer" $((window / 1024 + 4096))
