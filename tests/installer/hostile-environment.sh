#!/bin/sh
# What the installer's parent hands it cannot turn an install into another:
# ignored or blocked signals, a start through PATH with another file of the
# same name at hand, relative search-path elements with a gunzip lying in the
# destination, and options for tar and gzip in the environment.  Each install
# succeeds and unpacks the installer's own product into the destination only.
. "$(dirname "$0")/lib.sh"
unset DISPLAY

make_product "$work/product"
pack "$work/product" "$work/payload.tar.gz"
make_installer "$work/payload.tar.gz" "$work/installer"
mkdir -p "$work/bin" "$work/decoy/product" "$work/elsewhere"
name=zorvane8-installer
cp "$work/installer" "$work/bin/$name"
echo "decoy" > "$work/decoy/product/zorvane" && chmod 755 "$work/decoy/product/zorvane"
pack "$work/decoy/product" "$work/decoy.tar.gz"
make_installer "$work/decoy.tar.gz" "$work/decoy/$name"
# a gunzip and a tar that would leave a mark where the search path is relative
for program in gunzip tar; do
  printf '#!/bin/sh\ntouch "%s/ran-%s"\nexit 1\n' "$work" "$program" > "$work/decoy/$program"
  chmod 755 "$work/decoy/$program"
done
system_path=$PATH

# case|directory to run in (below $work)|environment and command; DEST is the destination
while IFS='|' read -r case directory command; do
  rm -rf "$work/destination" "$work/ran-"* && mkdir "$work/destination"
  cp "$work/decoy/gunzip" "$work/decoy/tar" "$work/destination/"
  (cd "$work/$directory" && DEST=$work/destination &&
    eval "run $command" && echo "$status" > "$work/status")
  status=$(cat "$work/status")
  expect 0 ''
  rm -f "$work/destination/gunzip" "$work/destination/tar"
  expect_unpacked "$work/destination" "$work/payload.tar.gz"
  [ -n "$(ls -A "$work/elsewhere")" ] && fail "$case: unpacked elsewhere"
  ls "$work"/ran-* 2>/dev/null && fail "$case: ran a program from the working directory"
done <<EOF_CASES
SIGCHLD ignored|.|env --ignore-signal=CHLD "$work/installer" -s "\$DEST"
SIGCHLD and SIGPIPE blocked|.|env --block-signal=CHLD --block-signal=PIPE "$work/installer" -s "\$DEST"
started through PATH, another file of its name at hand|decoy|env PATH="$work/bin:$system_path" $name -s "\$DEST"
started through PATH, from the destination|destination|env PATH="$work/bin:$system_path" $name -s .
empty element in PATH|destination|env PATH=":$system_path" "$work/installer" -s .
dot in PATH|destination|env PATH=".:$system_path" "$work/installer" -s "\$DEST"
relative element in PATH|.|env PATH="destination:$system_path" "$work/installer" -s "\$DEST"
PATH unset|.|env -u PATH "$work/installer" -s "\$DEST"
TAR_OPTIONS changes directory|.|env TAR_OPTIONS="-C $work/elsewhere" "$work/installer" -s "\$DEST"
TAR_OPTIONS sends members to a command|.|env TAR_OPTIONS=--to-command=cat "$work/installer" -s "\$DEST"
GZIP asks for a listing|.|env GZIP=-l GZIP_OPT=-l "$work/installer" -s "\$DEST"
standard input closed|.|"$work/installer" -s "\$DEST" <&-
EOF_CASES

case="--list with SIGCHLD ignored and TAR_OPTIONS set"
run env --ignore-signal=CHLD TAR_OPTIONS=--to-command=cat "$work/installer" --list
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/err")"
tar -tvzf "$work/payload.tar.gz" | cmp -s - "$work/out" || fail "$case: differs from tar tvf"

finish
