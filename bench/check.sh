#!/bin/sh
# Measures the installer's --check against gunzip -t of the same payload, on
# a payload of at least 80 MB packed from real system files (the one that
# the install benchmarks use).  Runs the two in turns, prints each time and
# the median ratio (--check / gunzip -t, target at most 1.1); then the same
# for --check of an installer of the same archive packed as zstd at
# mkinstaller's default level (target at most 0.5).
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
"$(dirname "$0")/pack-system-payload.sh" "$work/player" "$work/payload.tar.gz" \
  "$work/payload.tar.zst" "$(default_zstd_level "$build/mkinstaller")"
"$build/mkinstaller" create "$image" "$work/payload.tar.gz" "$work/installer"
"$build/mkinstaller" create "$image" "$work/payload.tar.zst" "$work/zstd-installer"
echo "Payload: $(($(wc -c < "$work/payload.tar.gz") / 1000000)) MB compressed."
"$work/installer" --check

check_run() {
  seconds "$work/installer" --check
}

zstd_check_run() {
  seconds "$work/zstd-installer" --check
}

gunzip_run() {
  seconds gunzip -t "$work/payload.tar.gz"
}

compare "$runs" check_run gunzip_run "--check" "gunzip -t" 1.1
compare "$runs" zstd_check_run gunzip_run "zstd --check" "gunzip -t" 0.5
