#!/usr/bin/env bash
# Runs lorvi-check of two builds on the same inputs and actions and reports every difference in
# what they print, their exit status and the files they write. For changes that must not change
# behaviour: build the previous commit elsewhere and compare.
#
#   tests/tools/compare_outputs.sh OLD_BUILD_DIR NEW_BUILD_DIR
#
# The inputs (samples, the bad-file corpus, generated corpora) are made with NEW_BUILD_DIR's tools.
# Files written are compared as text where they hold the time of writing: a PDF by its text and
# document information, an XLSX by its parts but docProps/core.xml; others byte for byte.
set -euo pipefail
[ $# -eq 2 ] || { sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
old=$(realpath "$1")/tools/lorvi-check/lorvi-check
new=$(realpath "$2")/tools/lorvi-check/lorvi-check
gen=$(realpath "$2")/bench/lorvi-gen
corpus=$(realpath "$2")/tests/bad_files/make_bad_corpus
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
for tool in "$old" "$new" "$gen" "$corpus"; do [ -x "$tool" ] || { echo "missing: $tool" >&2; exit 2; }; done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
export QT_QPA_PLATFORM=offscreen
cp -R "$source_dir/samples" samples
"$corpus" bad >/dev/null 2>&1
"$gen" --out gen --orgs 2 --persons 700 --periods 2010-1,2010-2,2011-1,2011-2,2011-3,2011-4,2012-1 \
  --inventories --discrepancies 15 --leavers 10 --unreadable --per-file 200 >/dev/null
"$gen" --out gen5 --orgs 5 --persons 60 --periods 2011-1,2011-2 --inventories --discrepancies 3 \
  --leavers 2 >/dev/null

# What a side wrote, in a form that compares: files holding the time of writing as text.
collect() {
  local from=$1 to=$2
  mkdir -p "$to"
  find "$from" -type f | sort | while read -r f; do
    local name=${f#"$from"/}
    mkdir -p "$to/$(dirname "$name")"
    case "$f" in
      *.pdf)
        pdftotext -layout "$f" "$to/$name.txt"
        pdfinfo "$f" | grep -vi date >"$to/$name.info"
        ;;
      *.xlsx)
        mkdir -p "$to/$name.d"
        (cd "$to/$name.d" && unzip -qo "$f" && rm -f docProps/core.xml)
        ;;
      *) cp "$f" "$to/$name" ;;
    esac
  done
}

cases=0
differing=0
run() {
  cases=$((cases + 1))
  for side in old new; do
    local tool=$old
    [ "$side" = new ] && tool=$new
    rm -rf "work" "$side" && mkdir work
    mkdir "$side"
    (cd work && "$tool" "$@" >../"$side/out" 2>../"$side/err" || echo "exit $?" >>../"$side/out")
    collect "$scratch/work" "$side/files"
  done
  if ! diff -r old new >/dev/null; then
    differing=$((differing + 1))
    echo "DIFFERS: lorvi-check $*"
    diff -r old new | head -n 10 || true
  fi
}

S=$scratch/samples
G=$scratch/gen
run --load "$S"
for tab in 0 1 2 3 4; do run --load "$S" --tab "$tab" --print; done
run --load "$S" --view adv --print --view zl --search "И" --dump --search "ПЕТ" --print
run --decimal-separator=, --load "$S" --cell sgZLStrah 2 2 --dump --cell sgZLNakop 3 1 --dump \
  --cell sgADVStrah 2 1 --select 3 --dump --select 0 --clear
for node in $(seq 0 14); do run --load "$S" --select "$node" --print; done
run --load "$scratch/bad"
for f in "$scratch"/bad/*; do run --load "$f" --print; done
run --load "$G" --tab 1 --print --tab 2 --print --tab 3 --print --tab 4 --print --view adv --print
for node in 0 1 5 9 40 60 80; do run --load "$G" --select "$node" --print; done
run --load "$S" --export r.pdf --export r.xlsx --export r.rtf --export r.jpg --workbook w.xlsx
run --load "$G" --tab 1 --export r.pdf --export r.xlsx --export r.rtf --workbook w.xlsx \
  --view adv --export a.xlsx --workbook aw.xlsx
run --archive "$scratch/gen5" "$G" "$scratch/bad" --overview o.xlsx --workbooks wb
run --archive "$S" --overview o.xlsx
run --load /nonexistent --tab 9
run --export x.pdf
run --workbook X.XML
echo "$cases runs, $differing differing"
[ "$differing" -eq 0 ]
