# Shared by the wizard's shell tests: a work directory that goes at the end,
# the count of failed checks and the verdict; the wait for an installer started
# in the background as $pid comes from tests/wait-installer.sh.

work=$(mktemp -d) && chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
failures=0

# Records a failed check.
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Ends the script: the count of failed checks, or the line $1.
verdict() {
  [ $failures = 0 ] || { echo "$failures checks failed"; exit 1; }
  echo "$1"
}

. "$(dirname "$0")/../wait-installer.sh"
