#!/usr/bin/env bash
# Builds the whole-program fuzz target with clang's libFuzzer (and the sanitizers) and
# runs it for a bounded time (seconds, default 30), seeded with the shared corpus of
# part programs (KERFPAD_CORPUS, default ../shared/corpus) and the programs below.
# Skips when clang or libFuzzer is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
out="${KERFPAD_FUZZ_BUILD:-build-fuzz-programs}"
mkdir -p "$out"
probe='extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }'
if ! command -v clang++ >/dev/null || ! echo "$probe" | clang++ -x c++ -fsanitize=fuzzer - -o "$out/probe" 2>/dev/null; then
  echo "fuzz-programs: clang++ with libFuzzer not installed, skipped"
  exit 0
fi
if ! cmake -S . -B "$out" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
     -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DKERFPAD_SANITIZE=ON -DKERFPAD_FUZZ=ON \
     -DKERFPAD_UNIT_ONLY=ON -DKERFPAD_BENCH=OFF >"$out/configure.log" 2>&1 ||
   ! cmake --build "$out" --target program_fuzz >"$out/build.log" 2>&1; then
  cat "$out/configure.log" "$out/build.log" 2>/dev/null | tail -50
  exit 1
fi

seeds="$out/corpus-programs"
mkdir -p "$seeds"
corpus="${KERFPAD_CORPUS:-../shared/corpus}"
if [ -d "$corpus" ]; then
  cp "$corpus"/*.sbp "$seeds"/ 2>/dev/null || true
fi
then_chain=$(printf 'IF 1=1 THEN %.0s' $(seq 60))
printf '%sPRINT "x"\r\n%sIF 1=2 THEN PRINT "y"\r\n' "$then_chain" "$then_chain" > "$seeds/seed-if-chain"
printf '%sFP main.sbp\r\n' "$(printf 'IF 1=1 THEN %.0s' $(seq 40))" > "$seeds/seed-if-subfile"
printf '&i = 0\r\nagain:\r\nJ2, 0, 1\r\nCC, 1, , 1, 0, 28000000\r\n&i = &i + 1\r\nIF &i < 1000 THEN GOTO again\r\n' \
  > "$seeds/seed-shape-loop"
printf '&i = 0\r\nagain:\r\n[CLAMP] left-front, 10, 5, 0, 2, 2, 1\r\n&i = &i + 1\r\nIF &i < 5000 THEN GOTO again\r\n' \
  > "$seeds/seed-clamp-loop"
printf 'M2,1,1\rMX, -1.50\rFP sub.sbp, 2, 2\rMY, -007\rM2,2,2\r' > "$seeds/seed-carriage-returns"
printf '\xEF\xBB\xBFMX, 2\r\nFP sub.sbp\r\n\xEF\xBB\xBFMY, 3\r\n' > "$seeds/seed-byte-order-marks"
printf 'loop:\r\nM2 %%(1), SIN(2)*2, 1, 0, %%(4)\r\nCG,-1,0.5-0.5,1,1,18.0017,O,0,100,3,34.0555,100,2\r\nIF 1 = 1 THEN GOTO loop\r\n' \
  > "$seeds/seed-pocket-loop"

"$out/tests/program_fuzz" -max_total_time="$seconds" -max_len=32768 -timeout=20 -rss_limit_mb=2048 "$seeds"
