#!/usr/bin/env bash
# Sets up the machine, builds the application and starts it on the sample part program
# that ships with it (or on the files given as arguments). Needs an X display.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
build_dir=${KERFPAD_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG"
cmake --build "$build_dir" --target kerfpad
app_dir="$build_dir/src/app"
if [ $# -eq 0 ]; then
  set -- "$app_dir/samples/demo.sbp"
fi
exec "$app_dir/kerfpad" "$@"
