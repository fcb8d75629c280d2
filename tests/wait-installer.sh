# Shared by the tests that start the real installer's wizard in the background.

# Waits up to 20 seconds for the installer started as $pid, or the player
# that replaced it, to end, and keeps its exit status in $status; one that
# does not end is killed and reported with the script's fail, under $case.
wait_installer() {
  tries=0
  while kill -0 "$pid" 2>/dev/null && [ $tries -lt 200 ]; do sleep 0.1; tries=$((tries + 1)); done
  kill "$pid" 2>/dev/null && fail "$case: still running"
  wait "$pid"
  status=$?
}
