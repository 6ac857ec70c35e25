#!/usr/bin/env bash
# Runs a test binary on an X display of its own (1,600 x 1,000, or as KERFPAD_TEST_SCREEN
# says: 800x600), under a window manager or without one:
# on-own-display.sh openbox|icewm|fluxbox|dwm|none BINARY [ARGS...]. Exits 77 (skipped)
# where the X server, the window manager or xprop (with dwm, xdotool) is not installed.
set -uo pipefail
manager=$1
shift
needed=(Xvfb xprop)
[ "$manager" != none ] && needed+=("$manager")
[ "$manager" = dwm ] && needed+=(xdotool)
for tool in "${needed[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "on-own-display: $tool is not installed"
    exit 77
  fi
done
scratch=$(mktemp -d)
alive() {
  local pid
  for pid in "$@"; do
    kill -0 "$pid" 2>/dev/null && return 0
  done
  return 1
}
stop_display() {
  local pids=()
  [ -n "${wm_pid:-}" ] && pids+=("$wm_pid")
  [ -n "${x_pid:-}" ] && pids+=("$x_pid")
  if [ ${#pids[@]} -gt 0 ]; then
    kill "${pids[@]}" 2>/dev/null
    # fluxbox may ignore the request to end while its display goes.
    for _ in $(seq 50); do
      alive "${pids[@]}" || break
      sleep 0.1
    done
    kill -KILL "${pids[@]}" 2>/dev/null
    wait "${pids[@]}" 2>/dev/null
  fi
  wm_pid=
  x_pid=
}
cleanup() {
  stop_display
  rm -rf "$scratch"
}
trap cleanup EXIT

# Waits up to thirty seconds for a command to succeed: other suites may load the machine.
wait_for() {
  for _ in $(seq 300); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

answers() {
  xprop -root >/dev/null 2>&1
}

# A window manager manages the screen once the root window names a window of its own
# that names itself (_NET_SUPPORTING_WM_CHECK), says what it supports (_NET_SUPPORTED)
# and, where that includes the area its panels leave (_NET_WORKAREA, which the windows
# are fitted to), has said that area. dwm keeps no such area.
managing() {
  local check own supported
  check=$(xprop -root -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*$') || return 1
  own=$(xprop -id "$check" -notype _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*$') || return 1
  [ "$own" = "$check" ] || return 1
  supported=$(xprop -root -notype _NET_SUPPORTED 2>/dev/null | grep ' = ') || return 1
  case "$supported" in
    *_NET_WORKAREA*) xprop -root -notype _NET_WORKAREA 2>/dev/null | grep -q ' = ' ;;
  esac
}

# Starts the X server and the window manager; says why where it could not. The server
# names its display once it listens.
start_display() {
  Xvfb -displayfd 3 -screen 0 "${KERFPAD_TEST_SCREEN:-1600x1000}x24" -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
  x_pid=$!
  if ! wait_for test -s "$scratch/display"; then
    echo "on-own-display: the X server did not start"; cat "$scratch/xvfb.log"
    return 1
  fi
  export DISPLAY=":$(head -n1 "$scratch/display")"
  if ! wait_for answers; then
    echo "on-own-display: the X server does not answer on $DISPLAY"; cat "$scratch/xvfb.log"
    return 1
  fi
  [ "$manager" = none ] && return 0
  # In a home of its own: fluxbox writes its settings there at its first start.
  HOME="$scratch" "$manager" >"$scratch/wm.log" 2>&1 &
  wm_pid=$!
  if ! wait_for managing; then
    echo "on-own-display: $manager did not start on $DISPLAY"; cat "$scratch/wm.log"
    return 1
  fi
  # dwm tiles windows, sizing and placing each itself, until its floating layout (Alt+F)
  # is chosen; it takes the key before any window of the suite maps.
  if [ "$manager" = dwm ]; then
    xdotool key alt+f
  fi
}

# A display another one took as it started (a shared machine's other suites) is started
# again.
for attempt in 1 2 3; do
  start_display && break
  [ "$attempt" = 3 ] && exit 1
  stop_display
done
export QT_QPA_PLATFORM=xcb
export KERFPAD_TEST_WINDOW_MANAGER=$manager
# The window manager's process, for a test that ends it while a window is up.
export KERFPAD_TEST_WINDOW_MANAGER_PID=${wm_pid:-}
"$@"
