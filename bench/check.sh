#!/bin/sh
# Measures the installer's --check against gunzip -t of the same payload, on
# a payload of at least 80 MB packed from real system files (the one that
# the install benchmarks use).  Runs the two in turns, prints each time and
# the median ratio (--check / gunzip -t, target at most 1.1).
#   usage: bench/check.sh [BUILD_DIR [RUNS]]
set -eu
build=${1:-build}
runs=${2:-9}
image=$build/zorvane-installer
[ -x "$image" ] && [ -x "$build/mkinstaller" ] || { echo "build first: make" >&2; exit 1; }

work=$(mktemp -d /tmp/check-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
. "$(dirname "$0")/timing.sh"

printf '#!/bin/sh\necho zorvane\n' > "$work/player"
"$(dirname "$0")/pack-system-payload.sh" "$work/player" "$work/payload.tar.gz"
"$build/mkinstaller" create "$image" "$work/payload.tar.gz" "$work/installer"
echo "Payload: $(($(wc -c < "$work/payload.tar.gz") / 1000000)) MB compressed."
"$work/installer" --check

: > "$work/times"
for run in $(seq "$runs"); do
  # the two take turns at going first
  if [ $((run % 2)) = 1 ]; then
    gunzip=$(seconds gunzip -t "$work/payload.tar.gz")
    check=$(seconds "$work/installer" --check)
  else
    check=$(seconds "$work/installer" --check)
    gunzip=$(seconds gunzip -t "$work/payload.tar.gz")
  fi
  echo "$check $gunzip" >> "$work/times"
  echo "$run $check $gunzip" |
    awk '{ printf "run %d: --check %ss (cpu %ss), gunzip -t %ss (cpu %ss)\n", $1, $2, $3, $4, $5 }'
done
echo "median wall time: --check $(cut -d' ' -f1 "$work/times" | median)s," \
     "gunzip -t $(cut -d' ' -f3 "$work/times" | median)s"
echo "median ratio --check / gunzip -t, wall time: $(awk '{ print $1 / $3 }' "$work/times" | median)" \
     "(target <= 1.1); processor time: $(awk '{ print $2 / $4 }' "$work/times" | median)"
