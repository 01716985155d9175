#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor; arguments go to the editor.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$root/build" -DKAVOLT_TESTS=OFF
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "Kavolt needs a graphical display (DISPLAY or WAYLAND_DISPLAY is not set)." >&2
  exit 1
fi
exec "$root/build/bin/kavolt" "$@"
