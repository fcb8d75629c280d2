#!/bin/sh
# Measures a silent install against the bare pipeline it stands for,
#   gunzip < payload | tar xof -
# on a payload of at least 80 MB packed from real system files.  Runs the two
# in turns, prints each time, the median ratio (installer / bare, target at
# most 1.03) and the installer's own peak memory (target at most 4 MB).
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
"$(dirname "$0")/pack-system-payload.sh" "$work/player" "$work/payload.tar.gz"
"$mkinstaller" create "$image" "$work/payload.tar.gz" "$work/installer"
size=$(wc -c < "$work/payload.tar.gz")
echo "Payload: $((size / 1000000)) MB compressed, $(gzip -l "$work/payload.tar.gz" |
  awk 'NR == 2 { print int($2 / 1000000) }') MB unpacked."
[ "$size" -ge 80000000 ] || { echo "payload below 80 MB" >&2; exit 1; }

. "$(dirname "$0")/timing.sh"

installer_run() {
  seconds "$work/installer" -s "$work/to"
  rm -rf "$work/to"
  sync
}

bare_run() {
  seconds sh -c 'mkdir "$1" && cd "$1" && gunzip < "$2" | tar xof -' \
    sh "$work/to" "$work/payload.tar.gz"
  rm -rf "$work/to"
  sync
}

compare "$runs" installer_run bare_run installer "bare pipeline" 1.03

# The installer's own memory, sampled from /proc while it runs: peak
# resident set (shared library pages included), and the largest proportional
# and private shares seen.
"$work/installer" -s "$work/to" &
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
echo "installer peak RSS (VmHWM): ${peak} KB (target <= 4096 KB);" \
     "largest PSS ${pss} KB, largest private ${private} KB"
largest=$( { /usr/bin/time -f %M "$work/installer" -s "$work/to" > /dev/null; } 2>&1 | tail -n 1)
echo "largest peak RSS of installer, gunzip and tar (/usr/bin/time %M): ${largest} KB"
