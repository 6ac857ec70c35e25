#!/usr/bin/env bash
# Runs a test binary on an X display of its own (1,600 x 1,000), under a window manager
# or without one: on-own-display.sh openbox|none BINARY [ARGS...]. Exits 77 (skipped)
# where the X server or the window manager is not installed.
set -uo pipefail
manager=$1
shift
if ! command -v Xvfb >/dev/null || { [ "$manager" != none ] && ! command -v "$manager" >/dev/null; }; then
  echo "on-own-display: Xvfb or $manager is not installed"
  exit 77
fi
scratch=$(mktemp -d)
cleanup() {
  [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
  [ -n "${x_pid:-}" ] && kill "$x_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

# Waits up to ten seconds for a file that is not empty.
wait_for() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# The server names its display once it listens.
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
x_pid=$!
if ! wait_for "$scratch/display"; then
  echo "on-own-display: the X server did not start"; cat "$scratch/xvfb.log"
  exit 1
fi
export DISPLAY=":$(head -n1 "$scratch/display")"
export QT_QPA_PLATFORM=xcb

if [ "$manager" != none ]; then
  # openbox runs its start-up command once it manages the screen.
  "$manager" --sm-disable --startup "sh -c 'echo managing > $scratch/managing'" >"$scratch/wm.log" 2>&1 &
  wm_pid=$!
  if ! wait_for "$scratch/managing"; then
    echo "on-own-display: $manager did not start"; cat "$scratch/wm.log"
    exit 1
  fi
fi
export KERFPAD_TEST_WINDOW_MANAGER=$manager
"$@"
