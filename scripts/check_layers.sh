#!/usr/bin/env bash
# check_layers.sh [source root]: every folder may include only itself and the
# folders below it. Reads the `#include "folder/..."` lines of every source and
# fails, naming file and line, when a folder reaches one above it.
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
layers_file="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/layers.txt"
exec awk -v root="$root" -f - "$layers_file" <<'AWK'
# layers.txt: one level per line, lowest first; folders on one line share a level.
# A line "plugins: a b c" names what the plug-ins (plugins/<name>/) may include;
# a line "plugins/x: a b" what the plug-in x may include besides.
FNR == NR {
  sub(/#.*/, "")
  if (NF == 0) next
  if ($1 == "plugins:") { for (i = 2; i <= NF; i++) plugin_ok[$i] = 1; next }
  if ($1 ~ /^plugins\/.*:$/) {
    name = substr($1, 1, length($1) - 1)
    for (i = 2; i <= NF; i++) extra[name, $i] = 1
    next
  }
  for (i = 1; i <= NF; i++) level[$i] = depth
  depth++
  next
}
END {
  cmd = "cd '" root "' && find " folders() " -type f \\( -name '*.h' -o -name '*.cpp' -o -name '*.c' \\) 2>/dev/null | sort"
  bad = 0
  while ((cmd | getline file) > 0) {
    owner = owner_of(file)
    line_no = 0
    path = root "/" file
    while ((getline text < path) > 0) {
      line_no++
      if (text !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
      inc = text
      sub(/^[ \t]*#[ \t]*include[ \t]*"/, "", inc)
      sub(/".*/, "", inc)
      target = owner_of(inc)
      if (target == "" || target == owner) continue
      if (!allowed(owner, target)) {
        printf "%s:%d: %s includes %s (%s is above %s)\n", file, line_no, owner, inc, target, owner
        bad = 1
      }
    }
    close(path)
  }
  close(cmd)
  if (bad) { print "check_layers: a folder includes one above it" > "/dev/stderr"; exit 1 }
  print "check_layers: every include goes downwards"
}
function folders(   f, s) {
  s = "plugins"
  for (f in level) s = s " " f
  return s
}
# The layer a path belongs to: a listed folder, "plugins/kit", or a plug-in.
function owner_of(p,   first, rest) {
  first = p; sub(/\/.*/, "", first)
  if (first == "plugins") {
    rest = p; sub(/^plugins\//, "", rest); sub(/\/.*/, "", rest)
    return (rest == "kit") ? "plugins/kit" : "plugins/" rest
  }
  return (first in level) ? first : ""
}
function allowed(from, to) {
  if (from ~ /^plugins\//) return (to in plugin_ok) || ((from, to) in extra)
  if (to ~ /^plugins\//) return 0
  return level[to] <= level[from]
}
AWK
