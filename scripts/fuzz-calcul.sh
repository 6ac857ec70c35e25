#!/usr/bin/env bash
# Builds the evaluator's fuzz target with clang's libFuzzer and runs it for a bounded
# time (seconds, default 30). Skips when clang or libFuzzer is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
if ! command -v clang++ >/dev/null; then
  echo "fuzz-calcul: clang++ not installed, skipped"
  exit 0
fi
out=build-fuzz
mkdir -p "$out/corpus-calcul"
if ! clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
     src/engine/calcul/*.cpp src/platform/core/text/StringUtils.cpp src/platform/core/text/Utf8.cpp tests/fuzz/CalculFuzz.cpp -o "$out/calcul_fuzz" 2>"$out/build.log"; then
  if grep -q "fuzzer" "$out/build.log"; then
    echo "fuzz-calcul: libFuzzer not available, skipped"
    exit 0
  fi
  cat "$out/build.log"
  exit 1
fi
printf '%s' 'iff(X > 2, copy(S,1,2), maxval(1,2,3))' > "$out/corpus-calcul/seed1"
printf '%s' 'a:="x"|S;a like "%b_"' > "$out/corpus-calcul/seed2"
printf '%s' 'stamptostr(strtostamp("2004/03/07 09:05"))+numbase(-5,2)' > "$out/corpus-calcul/seed3"
"$out/calcul_fuzz" -max_total_time="$seconds" -max_len=256 -rss_limit_mb=1024 "$out/corpus-calcul"
