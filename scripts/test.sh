#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite under a virtual
# X server and a private D-Bus session. Extra arguments go to ctest (e.g. -L unit).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
build_dir=${KERFPAD_BUILD_DIR:-build}
# Optimised without debug information: the suite builds a good deal faster.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
cmake --build "$build_dir"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  dbus-run-session -- ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)" "$@"
