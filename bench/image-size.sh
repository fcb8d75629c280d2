#!/bin/sh
# Shows how many bytes of the installer's image each library brings, summed
# from the linker's map file over the sections that the shipped file holds
# (code, read-only data, data, unwind tables; no debugging information, no
# zero-filled data).  Given several build trees, say one from before a change
# and one from after it, it sets them side by side.  A build tree without a
# map file is linked again, as CMake links it, into a temporary directory.
#   usage: bench/image-size.sh BUILD_DIR [BUILD_DIR...]
set -eu
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [BUILD_DIR...]" >&2; exit 2; }
work=$(mktemp -d /tmp/image-size.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Prints the map file of the image of build tree $1, linking it if need be.
map_of() {
  if [ -f "$1/zorvane-installer.map" ]; then
    echo "$1/zorvane-installer.map"
    return
  fi
  link=$(sed 's| -o [^ ]*| -o '"$work"'/relinked|' "$1/installer/CMakeFiles/zorvane-installer.dir/link.txt")
  (cd "$1/installer" && eval "$link -Wl,-Map=$work/relinked.map") >&2
  echo "$work/relinked.map"
}

# Prints "library bytes" for every library in map file $1.
sizes_per_library() {
  awk '
    function hex(s,   i, n) {
      n = 0; s = tolower(substr(s, 3))
      for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(s, i, 1)) - 1
      return n
    }
    function add(size, file,   library) {
      if (section ~ /^\.(bss|tbss|debug|comment|stab|note\.stapsdt|gnu\.build)/) return
      library = file; sub(/\(.*/, "", library); sub(/.*\//, "", library)
      if (section ~ /^\.(rela|dyn|gnu\.hash|gnu\.version|eh_frame_hdr|plt|got|interp|hash)/)
        library = "(linker-made-tables)"
      bytes[library] += hex(size)
    }
    /^Linker script and memory map/ { mapped = 1; next }
    !mapped { next }
    /^\.[^ ]/ { section = $1; pending = 0; next }
    /^ \.[^ ]+$/ { pending = 1; next }
    /^ \.[^ ]+ +0x[0-9a-f]+ +0x[0-9a-f]+ / { add($3, $4); next }
    /^ +0x[0-9a-f]+ +0x[0-9a-f]+ / && pending { add($2, $3); pending = 0; next }
    END { for (library in bytes) print library, bytes[library] }
  ' "$1"
}

columns=0
for build in "$@"; do
  columns=$((columns + 1))
  sizes_per_library "$(map_of "$build")" | sed "s/^/$columns /" >> "$work/sizes"
done

# One row a library, the largest first, then the sums and the files.
printf '%-36s' library; printf ' %16s' "$@"; echo
awk -v columns=$columns '
  { bytes[$2, $1] = $3; seen[$2] = 1; if ($3 > largest[$2]) largest[$2] = $3 }
  END {
    for (library in seen) {
      printf "%d %-36s", largest[library], library
      for (c = 1; c <= columns; c++) printf " %16d", bytes[library, c]
      print ""
    }
  }
' "$work/sizes" | sort -k1,1nr -k2,2 | cut -d' ' -f2-
printf '%-36s' "sum of the above"
for c in $(seq $columns); do
  printf ' %16d' "$(awk -v c="$c" '$1 == c { sum += $3 } END { print sum }' "$work/sizes")"
done
echo
printf '%-36s' "image file"
for build in "$@"; do printf ' %16d' "$(wc -c < "$build/zorvane-installer")"; done
echo
