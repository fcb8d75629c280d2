#!/bin/sh
# A few seconds of the fuzz target for --check's checker, built with clang
# and the sanitizers by `make fuzz`, from seeds of real archives; skipped (77)
# where clang is missing.
#   usage: fuzz-check.sh SOURCE_DIR OUT_DIR
set -u
source=$1 out=$2
command -v clang++ > /dev/null || { echo "no clang++"; exit 77; }
make -s -C "$source" fuzz FUZZ_DIR="$out" || exit 1
rm -rf "$out/seeds" && mkdir -p "$out/seeds" "$out/product/share"
printf '#!/bin/sh\n' > "$out/product/zorvane" && chmod 755 "$out/product/zorvane"
echo "a skin" > "$out/product/share/skin"
(cd "$out/product" && tar --format=gnu -cf - .) > "$out/gnu.tar"
(cd "$out/product" && tar --format=pax -cf - .) > "$out/pax.tar"
for format in gnu pax; do
  { printf '\001'; cat "$out/$format.tar"; } > "$out/seeds/$format-tar"
  { printf '\000'; gzip -c "$out/$format.tar"; } > "$out/seeds/$format-gzip"
  { printf '\000'; zstd -qc "$out/$format.tar"; } > "$out/seeds/$format-zstd"
done
"$out/check_fuzz" -max_total_time=5 -close_fd_mask=3 "$out/seeds" > "$out/log" 2>&1
status=$?
tail -n 3 "$out/log"
exit $status
