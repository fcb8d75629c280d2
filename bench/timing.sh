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
