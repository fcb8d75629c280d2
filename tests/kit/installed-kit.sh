#!/bin/sh
# The kit installed into a temporary prefix, then moved elsewhere, and the
# kit's Debian package unpacked: each holds every file a vendor and a Motif
# programmer need, in directories open to all whatever the umask, and its
# mkinstaller packs and verifies a product with its own image, the same bytes
# as the build tree's, touching nothing of the build or source tree.  The
# package passes lintian.
#   usage: installed-kit.sh BUILD_DIR SOURCE_DIR MULTIARCH
set -u
build=$(realpath "$1") source=$(realpath "$2") multiarch=$3
umask 077
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset SOURCE_DATE_EPOCH

# Prints the lines of files or trees $@ (grep's options first) that name the
# build or source tree: the tree's path as a whole component, followed by a
# slash or, as strace quotes it, by the closing quote.  A scratch path that
# merely begins with the same letters is no match.
names_a_tree() {
  grep -F -e "$source/" -e "$build/" -e "\"$source\"" -e "\"$build\"" "$@"
}

mkdir -p "$work/product/share/zorvane"
printf '#!/bin/sh\necho zorvane\n' > "$work/product/zorvane" && chmod 755 "$work/product/zorvane"
echo "a skin" > "$work/product/share/zorvane/default.skin"
"$build/mkinstaller" pack "$work/product" "$work/reference.bin" > /dev/null ||
  { echo "FAIL: the build tree's mkinstaller cannot pack"; exit 1; }

# The kit's files below a prefix, a line each.
kit_files='bin/mkinstaller
lib/zorvane-installer/zorvane-installer
lib/zorvane-installer/zorvane-payload-location
share/man/man1/mkinstaller.1.gz
share/man/man1/zorvane-installer.1.gz
share/man/man3/DtComboBox.3.gz
share/doc/zorvane-installer-kit/copyright
share/doc/zorvane-installer-kit/changelog.gz
include/dtcombobox/ComboBox.h
include/dtcombobox/ComboBoxP.h
lib/'"$multiarch"'/libdtcombobox.a
lib/'"$multiarch"'/pkgconfig/dtcombobox.pc'

# Checks the kit below prefix $1: its files, then its mkinstaller at work.
check_kit() {
  prefix=$1
  printf '%s\n' "$kit_files" | while read -r file; do
    [ -f "$prefix/$file" ] || echo "FAIL: $case: no $file"
  done | grep . && failures=$((failures + 1))
  find "$prefix" -type d ! -perm 0755 | grep . && fail "$case: directories not of mode 0755"
  for program in bin/mkinstaller lib/zorvane-installer/zorvane-installer; do
    [ "$(stat -c %a "$prefix/$program")" = 755 ] || fail "$case: $program is not of mode 0755"
  done
  names_a_tree -rlI "$prefix" && fail "$case: files name the build or source tree"
  rm -f "$work/kit.bin"
  (cd "$work" && strace -f -e trace=%file,execve -o "$work/trace" \
    "$prefix/bin/mkinstaller" pack "$work/product" "$work/kit.bin") > "$work/out" 2>&1 ||
    fail "$case: pack failed: $(cat "$work/out")"
  names_a_tree "$work/trace" | head -n 3 | grep . &&
    fail "$case: pack reached into the build or source tree"
  "$prefix/bin/mkinstaller" verify "$work/kit.bin" > /dev/null || fail "$case: verify refuses it"
  cmp -s "$work/reference.bin" "$work/kit.bin" || fail "$case: not the build tree's installer"
  rm -rf "$work/installed"
  "$work/kit.bin" -s "$work/installed" && diff -r "$work/product" "$work/installed" > /dev/null ||
    fail "$case: it does not install the product"
}

case="installed, then moved"
cmake --install "$build" --prefix "$work/prefix" > /dev/null || fail "$case: cmake --install failed"
mv "$work/prefix" "$work/moved"
check_kit "$work/moved"

case="the Debian package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" > "$work/cpack" 2>&1 ||
  fail "$case: cpack failed: $(cat "$work/cpack")"
deb=$(find "$work/deb" -maxdepth 1 -name '*.deb')
[ "$(printf '%s\n' "$deb" | grep -c .)" = 1 ] || { echo "FAIL: $case: packages: $deb"; exit 1; }
dpkg-deb -I "$deb" > "$work/info"
for field in 'Package: zorvane-installer-kit' 'Version: 8\.0' 'Architecture: amd64' \
             'Depends: libmotif-dev\(, libc6 (>= [0-9.]*)\)\?' 'Maintainer: .* <[^ ]*@[^ ]*>' \
             'Recommends: zstd' 'Static-Built-Using: glibc (= .*), gcc-[0-9]* (= .*motif (= .*zlib (= .*'; do
  grep -qx " $field" "$work/info" || fail "$case: no \"$field\" in: $(cat "$work/info")"
done
case="lintian on the Debian package"
lintian --fail-on error,warning "$deb" > "$work/lintian" 2>&1 ||
  fail "$case: $(grep -v '^running with root' "$work/lintian")"
grep '^[EW]: ' "$work/lintian" && fail "$case: errors or warnings"
awk '/^[^#]/ && NF && previous !~ /^#/ { print "an override without its reason: " $0 } { previous = $0 }' \
  "$source/packaging/lintian-overrides" | grep . && fail "$case: overrides without a reason"
case="the Debian package"
dpkg-deb -c "$deb" > "$work/contents"
printf '%s\n' "$kit_files" | while read -r file; do
  grep -q " \./usr/$file$" "$work/contents" || echo "FAIL: $case: the package lacks /usr/$file"
done | grep . && failures=$((failures + 1))
awk '$2 != "root/root"' "$work/contents" | grep . && fail "$case: files not owned by root"
dpkg-deb -x "$deb" "$work/unpacked"
check_kit "$work/unpacked/usr"

[ $failures = 0 ] || { echo "$failures checks failed"; exit 1; }
echo "the installed kit and its package work on their own"
