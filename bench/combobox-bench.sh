#!/bin/sh
# Builds and runs the combo box benchmark on a private X server: unique adds
# in both variants, the median of RUNS runs against the targets (10,000 in
# 0.2 s, 100,000 in 3 s, text field), and the heap after creating and
# destroying 1,000 combo boxes.  Run it alone on the machine; the status is 1
# when a target is missed.
#   usage: bench/combobox-bench.sh [BUILD_DIR [RUNS]]   (default: build 5)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$here/../build"}
runs=${2:-5}
cmake -S "$here/.." -B "$build" >/dev/null
cmake --build "$build" --target combobox-bench -j 2 >/dev/null
exec "$here/../tests/with-x" "$build/combobox-bench" "$runs"
