#!/bin/sh
# Measures the wizard: a windowed install of a payload of at least 80 MB
# against a silent install of the same file (target: within 5%), the time
# from the installer's start to its window's first map, and the installer's
# peak resident memory during a windowed install.  Needs a display with a
# window manager; run it as  tests/with-x --wm bench/windowed-install.sh
#   usage: bench/windowed-install.sh [BUILD_DIR [RUNS]]
set -eu
build=${1:-build}
runs=${2:-5}
image=$build/zorvane-installer
[ -x "$image" ] && [ -x "$build/mkinstaller" ] || { echo "build first: make" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "no display: run under tests/with-x --wm" >&2; exit 1; }

work=$(mktemp -d /tmp/windowed-install-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

printf '#!/bin/sh\ndate +%%s.%%N > "$ZORVANE_BENCH_END"\n' > "$work/player"
"$(dirname "$0")/pack-system-payload.sh" "$work/player" "$work/payload.tar.gz"
"$build/mkinstaller" create "$image" "$work/payload.tar.gz" "$work/installer" >/dev/null
echo "Payload: $(($(wc -c < "$work/payload.tar.gz") / 1000000)) MB compressed."
export ZORVANE_BENCH_END="$work/end"

now() { date +%s.%N; }

# Seconds a silent install takes.
silent_run() {
  start=$(now)
  "$work/installer" -s "$work/to"
  echo "$start $(now)" | awk '{ printf "%.3f\n", $2 - $1 }'
}

# Starts the wizard, waits for its window and prints the seconds to the map.
open_wizard() {
  start=$(now)
  /usr/bin/time -f %M -o "$work/rss" "$work/installer" > /dev/null 2>&1 &
  until xwininfo -root -tree | grep -q '"Zorvane 8 Installer": .*489x350'; do sleep 0.005; done
  echo "$start $(now)" | awk '{ printf "%.3f\n", $2 - $1 }'
  sleep 0.3
}

# Seconds from Finish to the installed player's start, destination typed in.
windowed_run() {
  open_wizard > "$work/map"
  xdotool key Return shift+Tab ctrl+slash
  xdotool type --delay 5 "$work/to"
  xdotool key Tab
  rm -f "$work/end"
  start=$(now)
  xdotool key f
  wait
  echo "$start $(cat "$work/end")" | awk '{ printf "%.3f\n", $2 - $1 }'
}

. "$(dirname "$0")/timing.sh"

: > "$work/times"
for run in $(seq "$runs"); do
  silent=$(silent_run); rm -rf "$work/to"; sync
  windowed=$(windowed_run); rm -rf "$work/to"; sync
  echo "$silent $windowed $(cat "$work/map") $(cat "$work/rss")" >> "$work/times"
  echo "run $run: silent ${silent}s, windowed ${windowed}s, window mapped after" \
       "$(cat "$work/map")s, peak RSS $(cat "$work/rss") kB"
done
echo "median: silent $(cut -d' ' -f1 "$work/times" | median)s," \
     "windowed $(cut -d' ' -f2 "$work/times" | median)s"
echo "median ratio windowed / silent: $(awk '{ print $2 / $1 }' "$work/times" | median)" \
     "(target <= 1.05)"
echo "median time from start to the window's first map:" \
     "$(cut -d' ' -f3 "$work/times" | median)s"
echo "largest peak RSS of a windowed install: $(cut -d' ' -f4 "$work/times" | sort -n | tail -1) kB"
