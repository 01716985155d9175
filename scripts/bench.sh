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
# --gif-large-compare [photo]: instead makes a large animated GIF (100 frames
# of 1024 x 1024 scrolled over the photo, one global table by gifsicle) and
# times the GIF codec's decoding and encoding of it against giflib, then its
# opening through Loopcast.FLT against giflib's whole read (time and memory).
# --recompose-compare: instead times recomposing 1, 10 and 99 layers of
# 2048 x 2048 beside copying the same layer buffers with memcpy.
# --idle-compare [document]: instead measures the editor's CPU use while it
# sits idle with a document open (Xvfb).
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
if [[ "${1:-}" == --gif-large-compare ]]; then
  photo="${2:-$root/../shared/testdata/photos/harvesters.png}"
  gif="$root/build-bench/scrolled-$(basename "${photo%.*}").gif"
  [[ -s "$gif" ]] || /usr/bin/python3 "$root/bench/make_scrolled_gif.py" "$photo" "$gif"
  KAVOLT_LARGE_GIF="$gif" "$root/build-bench/bin/kavolt_bench" --benchmark_filter="Gif.*/$(basename "$gif")" \
    --benchmark_repetitions=3
  exec "$root/build-bench/bin/loopcast_open_compare" "$gif"
fi
if [[ "${1:-}" == --recompose-compare ]]; then
  exec "$root/build-bench/bin/kavolt_bench" --benchmark_filter='BM_(RecomposeWholeImage|CopyLayersWholeImage)' \
    --benchmark_repetitions=3
fi
if [[ "${1:-}" == --idle-compare ]]; then
  exec bash "$root/scripts/bench_idle_cpu.sh" "$root/build-bench/bin/kavolt" \
    "${2:-$root/../shared/testdata/gif/wuffs/hibiscus.regular.gif}"
fi
exec "$root/build-bench/bin/kavolt_bench" "$@"
