#!/usr/bin/env bash
# Installs what is missing, checks that every folder includes only the folders
# below it (scripts/check_layers.sh), then builds and runs every test twice: a normal build
# (which also compiles the benchmarks, so they keep building; they are not run)
# and one with AddressSanitizer + UndefinedBehaviorSanitizer.
# KAVOLT_SANITIZED=0 skips the sanitized pass. Then the fuzz targets run for a
# bounded total time (KAVOLT_FUZZ_SECONDS, default 60; 0 skips them).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/check_layers.sh"
export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== normal build"
bash "$root/scripts/build.sh" "$root/build" -DKAVOLT_TESTS=ON -DKAVOLT_BENCH=ON
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

if [[ "${KAVOLT_SANITIZED:-1}" != 0 ]]; then
  echo "== sanitized build (ASan + UBSan)"
  bash "$root/scripts/build.sh" "$root/build-asan" -DKAVOLT_TESTS=ON -DKAVOLT_SANITIZE=ON \
       -DCMAKE_BUILD_TYPE=Debug
  export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:detect_odr_violation=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"
fi

if [[ "${KAVOLT_FUZZ_SECONDS:-60}" != 0 ]]; then
  bash "$root/scripts/fuzz.sh" "${KAVOLT_FUZZ_SECONDS:-60}"
fi
