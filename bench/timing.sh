# Shared by the benchmark scripts, which set $work to a scratch directory.

# Prints the wall-clock and the processor seconds (children included) that
# a command takes; the command's own output is discarded.
seconds() {
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" > /dev/null
  awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time"
}

# Prints the median of the numbers on standard input.
median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Runs the commands $2 and $3 (shell functions that print what seconds
# prints) $1 times, taking turns at going first, and prints each run, the
# median times and the median ratio of the first to the second; $4 and $5
# name the two, $6 is the target ratio.
compare() {
  : > "$work/times"
  for run in $(seq "$1"); do
    if [ $((run % 2)) = 1 ]; then
      second=$($3)
      first=$($2)
    else
      first=$($2)
      second=$($3)
    fi
    echo "$first $second" >> "$work/times"
    echo "$run $first $second" | awk -v a="$4" -v b="$5" \
      '{ printf "run %d: %s %ss (cpu %ss), %s %ss (cpu %ss)\n", $1, a, $2, $3, b, $4, $5 }'
  done
  echo "median wall time: $4 $(cut -d' ' -f1 "$work/times" | median)s," \
       "$5 $(cut -d' ' -f3 "$work/times" | median)s"
  echo "median ratio $4 / $5, wall time: $(awk '{ print $1 / $3 }' "$work/times" | median)" \
       "(target <= $6); processor time: $(awk '{ print $2 / $4 }' "$work/times" | median)"
}

# Prints the zstd level that mkinstaller $1 packs at by default.
default_zstd_level() {
  "$1" pack --help | tr -s ' \n' ' ' | sed -n 's/.*for zstd 1 to [0-9]* (default: \([0-9]*\)).*/\1/p'
}
