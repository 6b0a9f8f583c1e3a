#!/usr/bin/env bash
# Builds, tests and starts the analyser on a fresh Debian machine.
#   ./lorvi.sh run     install what is missing, build the two programs, start the analyser (with
#                      no display: show as text what it would show for the samples)
#   ./lorvi.sh test    install what is missing, build, run every test
#   ./lorvi.sh tsan    build and run the tests of the work on several threads under
#                      ThreadSanitizer (build-tsan/)
#   ./lorvi.sh package install what is missing, build the Debian package (build-package/), check
#                      it unpacked (never installed) and with lintian
#   ./lorvi.sh bench   install what is missing, build, run the benchmarks
#   ./lorvi.sh format-check  fail when a source file is out of the project's format
#   ./lorvi.sh tidy    build, then fail when clang-tidy finds a naming or bug-prone fault in the
#                      product's sources (.clang-tidy)
#   ./lorvi.sh fuzz [SECONDS]  install clang if missing, build the fuzz targets with it
#                      (build-fuzz/), run each for SECONDS (default 30) on a copy of its corpus
# Options after the command: --sanitize (AddressSanitizer + UndefinedBehaviorSanitizer build).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

packages=(
  cmake make g++ pkg-config ccache
  qt6-base-dev qt6-svg-dev libxlsxwriter-dev qt6-translations-l10n xdg-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core fonts-liberation2 clang-format unzip
  locales python3-openpyxl desktop-file-utils appstream poppler-utils
  openbox xdotool x11-utils dbus at-spi2-core python3-pyatspi
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

# The spreadsheet export is tested under the locale our users have, which writes a decimal comma.
make_russian_locale() {
  locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' && return 0
  echo "Making the locale ru_RU.UTF-8"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
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

# Every build is a preset of CMakePresets.json, which holds its folder and options: werror
# (build/) for run, test, bench and tidy, so that the second of them reuses the first's objects;
# asan for --sanitize; tsan, fuzz and package for their commands.
preset=werror
[ $sanitize -eq 1 ] && preset=asan
build_dir_of() {
  case "$1" in
    werror) echo build ;;
    *) echo "build-$1" ;;
  esac
}
build_dir=$(build_dir_of "$preset")
jobs=$(nproc 2>/dev/null || echo 2)

# ccache keeps the objects of every build, so that builds of other clones, folders and presets
# share them: paths are taken relative to the source tree.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD"
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

configure() {
  install_missing
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset "$preset" "${launcher[@]+"${launcher[@]}"}"
  fi
}

# Our own builds stop at a warning (the presets but dev and package say so); a user's or
# packager's build does not.
build() {
  configure
  cmake --build --preset "$preset" -j "$jobs" "$@"
}

# What the window would show for the bundled samples, as text: the tree and the insurance grid of
# the first organisation, which the load selects.
show_samples() {
  "$build_dir/tools/lorvi-check/lorvi-check" --load samples/*.XML | python3 -c '
import sys

def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"t": " ", "r": " ", "n": " "}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)

def section(lines, name):
    at = next(i for i, line in enumerate(lines) if line.startswith(name))
    body = []
    for line in lines[at + 1:]:
        if line.startswith("["):
            break
        body.append(line)
    return body

lines = sys.stdin.read().split("\n")
print("Загруженные файлы / Loaded files:")
for line in section(lines, "[tree]"):
    fields = line.split("\t")
    mark = "   <" if fields[-1] == "*" else ""
    print("  " + unescape(fields[0]) + mark)
rows = [[unescape(cell) for cell in row.split("\t")] for row in section(lines, "[sgZLStrah]")]
print()
print("Страховая часть / Insurance part:")
widths = [max(len(row[c]) for row in rows) for c in range(len(rows[0]))] if rows else []
for row in rows:
    print("  " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)).rstrip())
'
}

case "$command" in
  run)
    build --target lorvi-analyser lorvi-check
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "Нет экрана (не заданы DISPLAY и WAYLAND_DISPLAY), окно не откроется."
      echo "Вот что оно показало бы для примеров из samples/."
      echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the window cannot open."
      echo "This is what it would show for the files in samples/."
      echo
      show_samples
      exit 0
    fi
    exec "$build_dir/src/app/lorvi-analyser" "${args[@]+"${args[@]}"}"
    ;;
  test)
    # The reconciliation workbook's sums are recalculated by LibreOffice in the tests.
    packages+=(libreoffice-calc-nogui)
    make_russian_locale
    build
    ctest --preset "$preset" -j "$jobs" "${args[@]+"${args[@]}"}"
    ;;
  tsan)
    # The work that runs on several threads (reading on every core, merging, the grids filled
    # side by side) under ThreadSanitizer.
    preset=tsan
    build_dir=$(build_dir_of tsan)
    build
    ctest --preset tsan -j "$jobs" "${args[@]+"${args[@]}"}"
    ;;
  format-check)
    configure
    cmake --build "$build_dir" --target format-check
    ;;
  tidy)
    packages+=(clang-tidy)
    build
    # GCC's own warning options are unknown to clang; the product's sources only, not the tests
    # or what the build generates.
    run-clang-tidy -quiet -p "$build_dir" -j "$jobs" -extra-arg=-Wno-unknown-warning-option \
      "$PWD/(src|tools)/"
    ;;
  bench)
    build
    "$build_dir/bench/bench_readers" "${args[@]+"${args[@]}"}"
    "$build_dir/bench/bench_road" "${args[@]+"${args[@]}"}"
    "$build_dir/bench/bench_workbook" "${args[@]+"${args[@]}"}"
    "$build_dir/bench/bench_report" "${args[@]+"${args[@]}"}"
    "$build_dir/bench/bench_archive"
    bash bench/peak_memory.sh "$build_dir"
    ;;
  package)
    packages+=(dpkg-dev file lintian)
    preset=package
    build_dir=$(build_dir_of package)
    if [ ! -f "$build_dir/CMakeCache.txt" ]; then
      # Debian's hardening flags, as a build on Debian's own machines would use them.
      eval "$(dpkg-buildflags --export=sh)"
      export CXXFLAGS="$CPPFLAGS $CXXFLAGS"
    fi
    build
    rm -f "$build_dir"/*.deb
    (cd "$build_dir" && cpack -G DEB)
    deb=$(ls "$build_dir"/*.deb)
    bash tests/package/check_package.sh "$deb" "$build_dir"
    lintian --fail-on error "$deb"
    echo "Package: $deb"
    ;;
  fuzz)
    packages+=(clang libclang-rt-14-dev)
    seconds=${args[0]:-30}
    preset=fuzz
    build_dir=$(build_dir_of fuzz)
    fuzz_dir=$build_dir
    build
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
    echo "usage: $0 run|test|tsan|package|bench|fuzz|format-check|tidy [--sanitize]" >&2
    exit 2
    ;;
esac
