#!/usr/bin/env bash
# Checks a built .deb without installing it: unpacked into a scratch folder, its programs must
# find their template and libraries, its lorvi-check must show for the samples what the build
# tree's shows, and its desktop files must validate.
#   tests/package/check_package.sh PACKAGE.deb BUILD_DIR
set -euo pipefail
deb=$1
build=$2
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
root=$scratch/usr
fail() {
  echo "check_package: $*" >&2
  exit 1
}

for file in bin/lorvi-analyser bin/lorvi-check share/lorvi/Template/Print.fr3 \
  share/applications/ru.lorvi.analyser.desktop share/icons/hicolor/scalable/apps/ru.lorvi.analyser.svg \
  share/metainfo/ru.lorvi.analyser.metainfo.xml share/doc/lorvi-analyser/copyright; do
  [ -f "$root/$file" ] || fail "the package lacks /usr/$file"
done
desktop-file-validate "$root/share/applications/ru.lorvi.analyser.desktop"
appstreamcli validate --no-net "$root/share/metainfo/ru.lorvi.analyser.metainfo.xml" >/dev/null

# The same actions give the same output from the package as from the tree it was built in.
actions=(--decimal-separator=, --load samples/*.XML --tab 1 --dump --select 7 --view adv --print)
diff <("$build/tools/lorvi-check/lorvi-check" "${actions[@]}") \
  <("$root/bin/lorvi-check" "${actions[@]}") >"$scratch/diff" ||
  fail "lorvi-check of the package differs from the build tree's: $(head -20 "$scratch/diff")"

# Printing through the package's template and report engine, on the offscreen platform.
mkdir "$scratch/out"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/bin/lorvi-check" --load samples/*.XML \
  --export "$scratch/out/report.pdf" --export "$scratch/out/report.xlsx")
case "$out" in
  *$'[messages]\n[end]') ;;
  *) fail "the export gave messages: ${out##*\[messages\]}" ;;
esac
head -c 4 "$scratch/out/report.pdf" | grep -q '%PDF' || fail "no PDF written"
[ -s "$scratch/out/report.xlsx" ] || fail "no spreadsheet written"

# The window starts (libraries and plugins resolve) and keeps running until it is stopped.
status=0
QT_QPA_PLATFORM=offscreen timeout 5 "$root/bin/lorvi-analyser" >"$scratch/window.log" 2>&1 ||
  status=$?
[ "$status" -eq 124 ] || fail "the window ended with status $status: $(cat "$scratch/window.log")"
echo "check_package: $(basename "$deb") unpacked, compared and started"
