#!/usr/bin/env bash
# Set-up on a fresh Debian machine: installs what is missing, builds, then runs the game or the
# tests. Usage: tools/setup.sh run | test | sanitize
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
packages=(build-essential cmake ninja-build ccache qtbase5-dev qtbase5-dev-tools
          qtmultimedia5-dev libqt5multimedia5-plugins qt5-image-formats-plugins)
[ "$mode" = run ] && packages+=(xvfb)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
build() { # build folder, extra cmake options
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "$mode" in
  run)
    build build
    cd build/run
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      exec xvfb-run -a -s "-screen 0 1920x1080x24" ./tarvangx
    fi
    exec ./tarvangx
    ;;
  test)
    build build
    ctest --test-dir build --output-on-failure -j "$jobs"
    ;;
  sanitize)
    # Qt's own start-up allocations are never freed, so leak reports would only be noise.
    export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
    build build-sanitize -DTARVAN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
    ;;
  *)
    echo "usage: tools/setup.sh run | test | sanitize" >&2
    exit 2
    ;;
esac
