#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them; extra arguments go to the
# benchmark program (e.g. --benchmark_filter=Blit).
# --reduce-compare [photo directory]: instead compares the colour reducer with
# pngquant and ImageMagick (default: the shared test photographs).
# --gif-compare [photo directory]: instead times the animation maker's GIF
# output against ImageMagick cutting the same sheet into frames.
# --blur-compare [photo]: instead times the blur filter against ImageMagick's
# blur on a 2048 x 2048 picture made from the photo.
# --tone-compare [photo]: instead times the colour tone and the negative
# against ImageMagick's -modulate and -negate on such a picture.
# --gradient-mosaic-compare [photo]: instead times the gradation filter's
# engines and the mosaic filter against ImageMagick's gradients and -scale on
# a 2048 x 2048 picture made from the photo.
# --fill-compare: instead times the fill tool on 4096 x 4096 layers against
# ImageMagick's flood fill.
# --wand-compare: instead times the magic wand's press and release on such
# layers against ImageMagick's flood fill.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/setup.sh" "$root/scripts/bench-packages.txt"
bash "$root/scripts/build.sh" "$root/build-bench" -DKAVOLT_BENCH=ON -DKAVOLT_TESTS=OFF -DCMAKE_BUILD_TYPE=Release
if [[ "${1:-}" == --reduce-compare ]]; then
  exec "$root/build-bench/bin/reduce_compare" "${2:-$root/../shared/testdata/photos}"
fi
if [[ "${1:-}" == --gif-compare ]]; then
  exec "$root/build-bench/bin/cinereel_gif_compare" "${2:-$root/../shared/testdata/photos}"
fi
if [[ "${1:-}" == --blur-compare ]]; then
  exec "$root/build-bench/bin/blur_compare" "${2:-$root/../shared/testdata/photos/harvesters.png}"
fi
if [[ "${1:-}" == --tone-compare ]]; then
  exec "$root/build-bench/bin/tone_compare" "${2:-$root/../shared/testdata/photos/harvesters.png}"
fi
if [[ "${1:-}" == --gradient-mosaic-compare ]]; then
  exec "$root/build-bench/bin/gradient_mosaic_compare" "${2:-$root/../shared/testdata/photos/harvesters.png}"
fi
if [[ "${1:-}" == --fill-compare ]]; then
  exec "$root/build-bench/bin/fill_compare"
fi
if [[ "${1:-}" == --wand-compare ]]; then
  exec "$root/build-bench/bin/wand_compare"
fi
exec "$root/build-bench/bin/kavolt_bench" "$@"
