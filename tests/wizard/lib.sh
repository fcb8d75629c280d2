# Shared by the wizard's shell tests: a work directory that goes at the end,
# the count of failed checks, and the wait for an installer started in the
# background as $pid.

work=$(mktemp -d) && chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
failures=0

# Records a failed check.
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits for the installer, or the player that replaced it, to end.
finish() {
  tries=0
  while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  kill "$pid" 2>/dev/null && fail "$case: still running"
  wait "$pid"
  status=$?
}

# Ends the script: the count of failed checks, or the line $1.
verdict() {
  [ $failures = 0 ] || { echo "$failures checks failed"; exit 1; }
  echo "$1"
}
