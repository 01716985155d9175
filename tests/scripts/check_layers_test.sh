#!/usr/bin/env bash
# The layer check passes on a copy of the source tree and fails, naming the
# file and line, once an upward include is planted in the copy.
set -euo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
copy="$(mktemp -d)"
trap 'rm -rf "$copy"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

mkdir -p "$copy/scripts"
cp "$src/scripts/check_layers.sh" "$src/scripts/layers.txt" "$copy/scripts/"
while read -r folder; do
  [[ -d "$src/$folder" ]] && cp -r "$src/$folder" "$copy/"
done < <(sed 's/#.*//; s/^plugins://' "$src/scripts/layers.txt" | tr ' ' '\n' | grep -v '^$' | cut -d/ -f1 | sort -u)
cp -r "$src/plugins" "$copy/"

bash "$copy/scripts/check_layers.sh" "$copy" >/dev/null || fail "the tree as it is should pass"

# Each planted line, the file it goes into, and the layer it reaches.
cases=(
  'document/pelmark_doc.cpp|#include "frame/main_frame.h"'
  'imaging/dib_layout.h|#include "plugin_api/plugin_api.h"'
  'view/pelmark_view.cpp|#  include "palettes/tool_palette.h"'
  'plugins/loopcast/gif_reader.cpp|#include "document/pelmark_doc.h"'
  'plugins/kit/kit.h|#include "plugins/loopcast/gif_frames.h"'
  'plugins/hazewell/blur_rgb.cpp|#include "plugins/loopcast/gif_io.h"'
)
for entry in "${cases[@]}"; do
  file="${entry%%|*}"; line="${entry#*|}"
  [[ -f "$copy/$file" ]] || fail "$file is gone: choose another file for this case"
  cp "$copy/$file" "$copy/$file.orig"
  lines=$(wc -l < "$copy/$file")
  printf '%s\n' "$line" >> "$copy/$file"
  if out="$(bash "$copy/scripts/check_layers.sh" "$copy" 2>&1)"; then
    fail "$file: '$line' was not caught"
  fi
  grep -q "^$file:$((lines + 1)): " <<<"$out" || fail "$file: the report does not name file and line: $out"
  mv "$copy/$file.orig" "$copy/$file"
done

# Includes downwards, within a folder and into the kit stay allowed.
printf '#include "imaging/dib_layout.h"\n#include "document/pelmark_doc.h"\n' >> "$copy/view/pelmark_view.cpp"
printf '#include "plugins/kit/kit.h"\n#include "plugin_api/plugin_api.h"\n' >> "$copy/plugins/loopcast/gif_reader.cpp"
bash "$copy/scripts/check_layers.sh" "$copy" >/dev/null || fail "downward includes were refused"
echo "check_layers_test: ok"
