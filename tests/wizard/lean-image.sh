#!/bin/sh
# The shipped image leaves Xft, fontconfig, FreeType, libpng and libjpeg out.
# Its pages and error dialog must look, pixel for pixel, as those of the same
# installer linked against the full shared toolkit; asked for an Xft font or
# for PNG and JPEG pixmaps, it must warn and go on working.
#   usage: lean-image.sh IMAGE FULL-TOOLKIT-IMAGE MKINSTALLER
set -u
image=$1 full=$2 mkinstaller=$3
. "$(dirname "$0")/lib.sh"

mkdir -p "$work/product" "$work/home"
printf '#!/bin/sh\nexit 0\n' > "$work/product/zorvane" && chmod 755 "$work/product/zorvane"
(cd "$work/product" && tar -czf "$work/payload.tar.gz" ./zorvane)
"$mkinstaller" create "$image" "$work/payload.tar.gz" "$work/lean.bin" &&
  "$mkinstaller" create "$full" "$work/payload.tar.gz" "$work/full.bin" ||
  { echo "FAIL: mkinstaller"; exit 1; }
convert -size 8x8 xc:red "$work/red.png" && convert -size 8x8 xc:blue "$work/blue.jpg" ||
  { echo "FAIL: convert"; exit 1; }

# Starts installer $1 with options $2... and waits for its window.
start() {
  installer=$1
  shift
  HOME="$work/home" "$installer" "$@" > "$work/out" 2>&1 &
  pid=$!
  xdotool search --sync --onlyvisible --limit 1 --name '^Zorvane 8 Installer$' > /dev/null
}

# Takes a picture of the window titled $2 into $1.png once two in a row agree.
steady_shot() {
  window=$(xdotool search --sync --onlyvisible --limit 1 --name "^$2\$")
  import -window "$window" "$1.png"
  tries=0
  while [ $tries -lt 20 ]; do
    sleep 0.3
    import -window "$window" "$1.next.png"
    cmp -s "$1.png" "$1.next.png" && return 0
    mv "$1.next.png" "$1.png"
    tries=$((tries + 1))
  done
}

# Cancels the installer and checks that it ended with status 0.
cancel() {
  xdotool key c
  wait_installer
  [ "$status" = 0 ] || fail "$case: status $status: $(head -c 300 "$work/out")"
}

# Takes pictures of page 1, page 2 and the error dialog of installer $1 into
# $work/$2-*.png.
take_pictures() {
  start "$1"
  steady_shot "$work/$2-license" "Zorvane 8 Installer"
  xdotool key Return
  steady_shot "$work/$2-destination" "Zorvane 8 Installer"
  xdotool key shift+Tab ctrl+slash
  xdotool type "$work/missing/dir"
  xdotool key Tab f
  steady_shot "$work/$2-error" Error
  xdotool key Return
  sleep 0.3
  cancel
}

for locale in C C.UTF-8; do
  case="pictures of the full toolkit in the locale $locale"
  LC_ALL=$locale take_pictures "$work/full.bin" full
  case="pictures of the shipped image in the locale $locale"
  LC_ALL=$locale take_pictures "$work/lean.bin" lean
  for picture in license destination error; do
    difference=$(compare -metric AE "$work/full-$picture.png" "$work/lean-$picture.png" null: 2>&1)
    [ "$difference" = 0 ] || fail "$locale: the $picture pictures differ in $difference pixels"
  done
done

# Resources that call for what the image lacks: name|expected warning|resources, split by ";".
while IFS='|' read -r name warning resources; do
  case="$name"
  set --
  while [ -n "$resources" ]; do
    set -- "$@" -xrm "${resources%%;*}"
    [ "${resources#*;}" = "$resources" ] && resources= || resources=${resources#*;}
  done
  start "$work/lean.bin" "$@"
  sleep 0.5
  cancel
  grep -q "$warning" "$work/out" || fail "$case: no warning \"$warning\": $(head -c 300 "$work/out")"
done <<TABLE
an Xft font|Cannot load font|*renderTable: xft;*xft.fontType: FONT_IS_XFT;*xft.fontName: Sans
a PNG pixmap|Cannot convert string "$work/red.png" to type Pixmap|*page1form.backgroundPixmap: $work/red.png
a JPEG pixmap|Cannot convert string "$work/blue.jpg" to type Pixmap|*page1form.backgroundPixmap: $work/blue.jpg
TABLE

verdict "all lean image checks passed"
