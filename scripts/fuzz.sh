#!/usr/bin/env bash
# fuzz.sh [seconds]: builds the fuzz targets with clang (libFuzzer, ASan,
# UBSan) and runs each for its share of a bounded total time (default 60 s):
# the GIF reader two eighths, seeded with the GIF files of the shared test
# data, the VRX reader an eighth, seeded with small files of its writer, then
# the readers of "COLOR.DIC", "menu.txt", "pm32.ini", *.map image maps and
# *.can frame tables an eighth each, seeded with the files the program ships
# (and hand-made settings, *.map and *.can files). Fails when any target
# fails; what made it fail is kept in build-fuzz/artifacts/. Skips when clang
# is missing.
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
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$dir/artifacts"

share() { local s=$(( seconds * $1 / 8 )); echo $(( s > 0 ? s : 1 )); }

failed=()
# fuzz <target> <what> <seconds> <seed file or folder>...
fuzz() {
  local target="$1" what="$2" time="$3"
  shift 3
  local corpus="$work/$target"
  mkdir -p "$corpus"
  local seeds=()
  for s in "$@"; do
    if [[ -d "$s" ]]; then seeds+=($(find "$s" -type d)); else cp "$s" "$corpus/"; fi
  done
  echo "== fuzzing the $what reader for ${time} s"
  local rc=0
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "$dir/$target" -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/$target-" "$corpus" "${seeds[@]}" >"$work/$target.log" 2>&1 || rc=$?
  tail -n 15 "$work/$target.log"
  if (( rc != 0 )); then
    echo "== $target failed (exit $rc); its input is in $dir/artifacts/"
    failed+=("$target")
  fi
}

fuzz gif_reader_fuzz GIF "$(share 2)" "$root/../shared/testdata/gif"
fuzz vrx_reader_fuzz VRX "$(share 1)" "$root/tests/fuzz/seeds/vrx"
fuzz color_dic_fuzz COLOR.DIC "$(share 1)" "$root/frame/COLOR.DIC"
fuzz menu_presets_fuzz menu.txt "$(share 1)" "$root/dialogs/menu.txt"
fuzz profile_fuzz pm32.ini "$(share 1)" "$root/tests/fuzz/seeds/pm32.ini"
fuzz map_file_fuzz "*.map" "$(share 1)" "$root/tests/fuzz/seeds/map"
fuzz can_file_fuzz "*.can" "$(share 1)" "$root/tests/fuzz/seeds/can"

if (( ${#failed[@]} )); then
  echo "== fuzzing failed: ${failed[*]}"
  exit 1
fi
echo "== fuzzing clean"
