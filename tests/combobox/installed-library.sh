#!/bin/sh
# Installs the combo box into a temporary prefix, checks that its manual page
# is there and that the library defines no name beyond its API, builds a C
# program against the installed header, library and pkg-config file, and
# runs it (under the wrapper command given, if any).
#   usage: installed-library.sh <build dir> <C source> [wrapper...]
set -eu
build=$1
source=$2
shift 2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" --component Unspecified >/dev/null
pc=$(find "$prefix" -name dtcombobox.pc)
[ -n "$pc" ] || { echo "dtcombobox.pc was not installed" >&2; exit 1; }
PKG_CONFIG_PATH=$(dirname "$pc")
export PKG_CONFIG_PATH
for header in ComboBox.h ComboBoxP.h; do
  [ -f "$(pkg-config --variable=includedir dtcombobox)/$header" ] ||
    { echo "$header was not installed" >&2; exit 1; }
done
[ -f "$prefix/share/man/man3/DtComboBox.3.gz" ] ||
  { echo "DtComboBox.3 was not installed under share/man/man3" >&2; exit 1; }

# The library defines the API's names and no other: a program's own names
# never clash with the widget's.
libdir=$(pkg-config --variable=libdir dtcombobox)
defined=$(nm -g --defined-only "$libdir/libdtcombobox.a" | awk 'NF == 3 { print $3 }' | sort)
api="ZVKDtComboBoxAddItem ZVKDtComboBoxDeletePos ZVKDtComboBoxSelectItem ZVKDtComboBoxSetItem
ZVKDtCreateComboBox ZVKDtInitComboBox dtComboBoxClassRec dtComboBoxWidgetClass"
[ "$defined" = "$(printf '%s\n' $api | sort)" ] ||
  { echo "libdtcombobox.a defines names beyond its API:" $defined >&2; exit 1; }

# shellcheck disable=SC2046
cc -std=c99 -Wall -Wextra -Werror -o "$prefix/program" "$source" \
   $(pkg-config --cflags dtcombobox) $(pkg-config --libs dtcombobox)
"$@" "$prefix/program"
