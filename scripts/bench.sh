#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them; extra arguments go to the
# benchmark program (e.g. --benchmark_filter=Blit).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$root/build-bench" -DKAVOLT_BENCH=ON -DKAVOLT_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
exec "$root/build-bench/bin/kavolt_bench" "$@"
