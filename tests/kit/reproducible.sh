#!/bin/sh
# Two copies of the sources at paths of different lengths, each built in
# its own build tree, give byte-identical installer images and widget
# libraries: no path of the checkout reaches what the kit ships.
#   usage: reproducible.sh SOURCE_DIR
set -u
source=$(realpath "$1")
work=$(mktemp -d /tmp/reproducible-test.XXXXXX)
trap 'rm -rf "$work"' EXIT
launcher=
command -v ccache > /dev/null && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
export CCACHE_BASEDIR="$work"

# Copies the sources (those git tracks, when it is a checkout) into $1 and
# builds what the kit ships there.
build_copy() {
  mkdir -p "$1"
  if git -C "$source" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    (cd "$source" && git ls-files -z --cached --others --exclude-standard | grep -zv '^build/' |
       tar --null -T - -cf -) | tar -C "$1" -xf -
  else
    (cd "$source" && tar --exclude=./build -cf - .) | tar -C "$1" -xf -
  fi
  # shellcheck disable=SC2086
  cmake -S "$1" -B "$1/build" $launcher > "$work/configure.log" 2>&1 &&
    cmake --build "$1/build" --target zorvane-installer dtcombobox > "$work/build.log" 2>&1 || {
      echo "FAIL: cannot build the copy in $1:"; tail -n 20 "$work/configure.log" "$work/build.log"; exit 1; }
}

build_copy "$work/a"
build_copy "$work/a-checkout-at-a-much-longer-path/src"
status=0
for file in zorvane-installer combobox/libdtcombobox.a; do
  cmp "$work/a/build/$file" "$work/a-checkout-at-a-much-longer-path/src/build/$file" ||
    { echo "FAIL: build/$file differs between the two checkouts"; status=1; }
done
[ $status = 0 ] && echo "two checkouts at different paths build the same image and library"
exit $status
