#!/usr/bin/env bash
# bash setup.sh run   installs what is missing, builds and starts the window
# bash setup.sh test  installs what is missing, builds and runs every test
set -euo pipefail
cd "$(dirname "$0")"
mode=${1:-run}
case "$mode" in run|test) ;; *) echo "usage: bash setup.sh run|test" >&2; exit 2 ;; esac

# The tests' own packages (an input method among them) are never installed just to run.
lists=(packages.txt)
[[ "$mode" == test ]] && lists+=(packages-test.txt)
missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done < <(cat "${lists[@]}")
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""; [[ $(id -u) -eq 0 ]] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Both modes build the same configuration in build/, so going from one to the other rebuilds
# nothing. Warnings stop the build only when ZELKORA_WERROR=ON is in the environment, as in CI.
cmake -S . -B build -G Ninja -DZELKORA_WERROR="${ZELKORA_WERROR:-OFF}"
cmake --build build

if [[ "$mode" == test ]]; then
  ctest --test-dir build --output-on-failure -j "$(nproc)"
  exit
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found. Start the window on a virtual display with:" >&2
  echo "  xvfb-run -a build/bin/zelkora" >&2
  echo "or from a desktop session run build/bin/zelkora." >&2
  exit 1
fi
exec build/bin/zelkora
