#!/usr/bin/env bash
# bench_idle_cpu.sh <editor> <document> [seconds]: the editor's CPU use with
# the document open and nothing to do, as a share of one core over `seconds`
# (default 10), measured after 6 s for the start and the splash. Runs on an
# X server of its own (Xvfb) with its own home and settings.
set -euo pipefail
editor="$1"; document="$2"; seconds="${3:-10}"
work="$(mktemp -d)"
mkdir -p "$work/home" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
editorPid=
cleanup() {
  [[ -n "$editorPid" ]] && kill "$editorPid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
  DISPLAY=":$(cat "$work/display")" "$editor" "$document" >/dev/null 2>&1 &
editorPid=$!
sleep 6
# Nanoseconds on a CPU, all threads.
cpu() { local sum=0 t; for t in /proc/"$editorPid"/task/*/schedstat; do sum=$((sum + $(cut -d' ' -f1 "$t"))); done; echo "$sum"; }
c0=$(cpu); w0=$(date +%s%N)
sleep "$seconds"
c1=$(cpu); w1=$(date +%s%N)
awk -v c=$((c1 - c0)) -v w=$((w1 - w0)) -v e="$editor" \
  'BEGIN { printf "| %s idle with a document | %.3f %% of a core over %.1f s (CPU %.3f s) |\n", e, 100 * c / w, w / 1e9, c / 1e9 }'
