#!/usr/bin/env bash
# fuzz.sh [seconds]: builds the fuzz targets with clang (libFuzzer, ASan,
# UBSan) and runs the GIF reader's for a bounded time (default 60 s), seeded
# with the GIF files of the shared test data. Skips when clang is missing.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
if ! command -v clang++ >/dev/null 2>&1; then
  echo "== fuzzing skipped: clang++ not found (install clang and libclang-rt-14-dev)"
  exit 0
fi
dir="$root/build-fuzz"
CXX=clang++ cmake -S "$root/tests/fuzz" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
seeds="$root/../shared/testdata/gif"
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
echo "== fuzzing the GIF reader for ${seconds} s"
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  "$dir/gif_reader_fuzz" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 "$corpus" $(find "$seeds" -type d) 2>&1 | tail -n 15
exit "${PIPESTATUS[0]}"
