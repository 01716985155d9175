#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt (or in the list
# file given as the first argument) that are missing.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done < "${1:-$here/packages.txt}"

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)

# apt-get, waiting up to ten minutes while another package manager run (an
# unattended upgrade, a second set-up) holds a lock: dpkg's locks through
# apt's own timeout, the package lists' lock, which apt-get update does not
# wait for, by trying again.
lock_wait=600
apt_get() {
  local deadline=$((SECONDS + lock_wait)) err rc told=0
  err="$(mktemp)"
  while :; do
    rc=0
    "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout="$lock_wait" "$@" 2>"$err" || rc=$?
    if ((rc != 0)) && ((SECONDS < deadline)) && grep -qE "Could not get lock|Unable to (lock|acquire)" "$err"; then
      ((told)) || echo "Waiting for another package manager run to finish..." >&2
      told=1
      sleep 3
      continue
    fi
    cat "$err" >&2
    rm -f "$err"
    return "$rc"
  done
}

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt_get update -qq
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi
