#!/bin/sh
# Builds and runs the combo box benchmark on a private X server.
#   usage: bench/combobox-bench.sh [build dir]   (default: build)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$here/../build"}
cmake -S "$here/.." -B "$build" >/dev/null
cmake --build "$build" --target combobox-bench -j 2 >/dev/null
exec "$here/../tests/with-x" "$build/combobox-bench"
