#!/usr/bin/env bash
# Builds, tests and starts the analyser on a fresh Debian machine.
#   ./lorvi.sh run     install what is missing, build, start the analyser
#   ./lorvi.sh test    install what is missing, build, run every test
#   ./lorvi.sh bench   install what is missing, build, run the benchmarks
#   ./lorvi.sh fuzz [SECONDS]  install clang if missing, build the fuzz targets with it
#                      (build-fuzz/), run each for SECONDS (default 30) on a copy of its corpus
# Options after the command: --sanitize (AddressSanitizer + UndefinedBehaviorSanitizer build).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

packages=(
  cmake make g++ pkg-config
  qt6-base-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core fonts-liberation2 clang-format unzip
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
    exec "$build_dir/src/app/lorvi-analyser" "${args[@]+"${args[@]}"}"
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
  fuzz)
    packages+=(clang libclang-rt-14-dev)
    install_missing
    seconds=${args[0]:-30}
    fuzz_dir=build-fuzz
    if [ ! -f "$fuzz_dir/CMakeCache.txt" ]; then
      cmake -S . -B "$fuzz_dir" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DLORVI_FUZZ=ON -DLORVI_SANITIZE=ON -DLORVI_BUILD_BENCH=OFF
    fi
    cmake --build "$fuzz_dir" -j "$jobs" --target fuzz
    # The fuzzers add to their corpus: they work on a copy, and what they find is kept in the
    # build folder.
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    status=0
    for target in line_list header_scan zl_reader adv_reader; do
      mkdir -p "$work/$target"
      cp -R "tests/fuzz/corpus/$target" "$work/$target/corpus"
      echo "fuzz_$target: ${seconds} s"
      if "$fuzz_dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -dict=tests/fuzz/lorvi.dict -artifact_prefix="$work/$target/" \
        "$work/$target/corpus" >"$work/$target/log" 2>&1; then
        grep -E '^Done [0-9]+ runs' "$work/$target/log" || true
      else
        tail -n 60 "$work/$target/log"
        mkdir -p "$fuzz_dir/findings/$target"
        find "$work/$target" -maxdepth 1 -type f ! -name log -exec cp {} "$fuzz_dir/findings/$target/" \;
        echo "fuzz_$target found a fault; its input is in $fuzz_dir/findings/$target/" >&2
        status=1
      fi
    done
    exit $status
    ;;
  *)
    echo "usage: $0 run|test|bench|fuzz [--sanitize]" >&2
    exit 2
    ;;
esac
