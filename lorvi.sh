#!/usr/bin/env bash
# Builds, tests and starts the analyser on a fresh Debian machine.
#   ./lorvi.sh run     install what is missing, build, start the analyser
#   ./lorvi.sh test    install what is missing, build, run every test
#   ./lorvi.sh bench   install what is missing, build, run the benchmarks
# Options after the command: --sanitize (AddressSanitizer + UndefinedBehaviorSanitizer build).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

packages=(
  cmake make g++ pkg-config
  qt6-base-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core fonts-liberation2 clang-format
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

command=${1:-}
shift || true
sanitize=0
args=()
for a in "$@"; do
  case "$a" in
    --sanitize) sanitize=1 ;;
    *) args+=("$a") ;;
  esac
done

build_dir=build
cmake_args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ $sanitize -eq 1 ]; then
  build_dir=build-asan
  cmake_args=(-DCMAKE_BUILD_TYPE=Debug -DLORVI_SANITIZE=ON)
fi
jobs=$(nproc 2>/dev/null || echo 2)

build() {
  install_missing
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" "${cmake_args[@]}"
  fi
  cmake --build "$build_dir" -j "$jobs"
}

case "$command" in
  run)
    build
    if [ -x "$build_dir/src/app/lorvi-analyser" ]; then
      exec "$build_dir/src/app/lorvi-analyser" "${args[@]+"${args[@]}"}"
    fi
    # Until the window exists: what the reading engine takes from the sample files.
    exec "$build_dir/tools/lorvi-read/lorvi-read" samples/*.XML samples/*.xml 2>/dev/null
    ;;
  test)
    build
    cd "$build_dir"
    ctest --output-on-failure -j "$jobs" "${args[@]+"${args[@]}"}"
    ;;
  bench)
    build
    "$build_dir/bench/bench_readers" "${args[@]+"${args[@]}"}"
    "$build_dir/bench/bench_road" "${args[@]+"${args[@]}"}"
    bash bench/peak_memory.sh "$build_dir"
    ;;
  *)
    echo "usage: $0 run|test|bench [--sanitize]" >&2
    exit 2
    ;;
esac
