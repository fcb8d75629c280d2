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

# Starts installer $1 with options $2... and waits for its window to take
# the focus.
start() {
  installer=$1
  shift
  HOME="$work/home" "$installer" "$@" > "$work/out" 2>&1 &
  pid=$!
  await_window_with_focus 'Zorvane 8 Installer'
}

# Whether a new picture of window $shown, unlike picture $before, is the
# same as the last one taken into $picture.png; keeps the new one there.
picture_settled() {
  import -window "$shown" "$picture.next.png" || return 1
  [ -n "$before" ] && cmp -s "$before" "$picture.next.png" && return 1
  cmp -s "$picture.png" "$picture.next.png" && return 0
  mv "$picture.next.png" "$picture.png"
  sleep 0.3
  return 1
}

# Takes a picture of window $2 into $1.png once it has changed from picture
# $3, when one is named, and two in a row agree: the window has been drawn.
steady_shot() {
  picture=$1 shown=$2 before=${3:-}
  rm -f "$picture.png"
  await picture_settled ||
    fail "$case: window $shown (\"$(xdotool getwindowname "$shown")\") still changed after $wait_limit s"
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
  steady_shot "$work/$2-license" "$window"
  xdotool key Return
  steady_shot "$work/$2-destination" "$window" "$work/$2-license.png"
  xdotool key shift+Tab ctrl+slash
  xdotool type "$work/missing/dir"
  xdotool key Tab f
  await_dialog
  steady_shot "$work/$2-error" "$dialog"
  press_ok
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
  cancel
  grep -q "$warning" "$work/out" || fail "$case: no warning \"$warning\": $(head -c 300 "$work/out")"
done <<TABLE
an Xft font|Cannot load font|*renderTable: xft;*xft.fontType: FONT_IS_XFT;*xft.fontName: Sans
a PNG pixmap|Cannot convert string "$work/red.png" to type Pixmap|*page1form.backgroundPixmap: $work/red.png
a JPEG pixmap|Cannot convert string "$work/blue.jpg" to type Pixmap|*page1form.backgroundPixmap: $work/blue.jpg
TABLE

verdict "all lean image checks passed"
