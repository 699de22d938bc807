#!/usr/bin/env bash
# Set-up on a fresh Debian machine: installs what is missing, builds, then runs the game, the
# tests, the tests under the sanitizers, or every fuzz target for a while.
# Usage: tools/setup.sh run | test | sanitize | fuzz [seconds per target, 30 by default]
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
packages=(build-essential cmake ninja-build ccache qtbase5-dev qtbase5-dev-tools
          qtmultimedia5-dev libqt5multimedia5-plugins qt5-image-formats-plugins libxcb1-dev)
# The bench, built with the tests, starts the game on a virtual screen as well.
case "$mode" in run | test) packages+=(xvfb) ;; esac
# libFuzzer and the sanitizers' runtime come with clang.
[ "$mode" = fuzz ] && packages+=(clang libclang-rt-14-dev)

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
build() { # build folder, extra cmake options; BUILD_TARGET names one target instead of all
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}

case "$mode" in
  run)
    # The game alone (its pictures, sounds and maps come with it): not the tests or the bench.
    BUILD_TARGET=tarvangx build build
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
  fuzz)
    # One fuzz target per reader, seeded afresh with the files the game writes (and the map files
    # and pictures the build drew into build/run when it is there); a crash fails.
    seconds=${2:-30}
    export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
    BUILD_TARGET=fuzzers build build-fuzz -DTARVAN_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
    corpus=build-fuzz/corpus
    rm -rf "$corpus"
    build-fuzz/tests/fuzz_seeds "$corpus" build/run
    # The campaign target loads the maps a campaign names from here.
    export TARVAN_FUZZ_MAPS="$PWD/$corpus/campaign-maps"
    failed=0
    for target in maptext campaign settings scores savedgame netmessage mappicture; do
      seeds=$(find "$corpus/$target" -type f | wc -l)
      log=build-fuzz/fuzz_$target.log
      if build-fuzz/tests/fuzz_$target "$corpus/$target" -max_total_time="$seconds" -timeout=20 \
           -rss_limit_mb=4096 -detect_leaks=0 -print_final_stats=1 >"$log" 2>&1; then
        result=passed
      else
        result=FAILED
        failed=$((failed + 1))
        tail -n 60 "$log"
      fi
      runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
      echo "fuzz_$target: $result, ${runs:-0} executions in ${seconds} s, corpus $seeds seeds -> $(find "$corpus/$target" -type f | wc -l) files"
    done
    if [ "$failed" -ne 0 ]; then
      echo "fuzz targets: $failed of 7 found a fault (their logs are in build-fuzz)"
      exit 1
    fi
    echo "fuzz targets: all 7 ran without a fault"
    ;;
  *)
    echo "usage: tools/setup.sh run | test | sanitize | fuzz [seconds]" >&2
    exit 2
    ;;
esac
