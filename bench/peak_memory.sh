#!/usr/bin/env bash
# Peak resident memory of lorvi-check on one organisation of each given size over 14 periods
# (2010-1 to 2013-4, packs of 200 records, with inventories): load, pick a tab, print the table
# and dump; then two full-size organisations of 4501 persons over 11 periods.
#   bench/peak_memory.sh [BUILD] [PERSONS...]     (default: 4501 10000)
set -euo pipefail
build=${1:-build}
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(4501 10000)
gen="$build/bench/lorvi-gen"
check="$build/tools/lorvi-check/lorvi-check"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

peak() {  # prints the peak in MB of lorvi-check with the given arguments
  /usr/bin/time -f "%M" -o "$dir/peak" "$check" --decimal-separator=, "$@" >/dev/null
  echo $(( $(cat "$dir/peak") / 1024 ))
}

for persons in "${sizes[@]}"; do
  rm -rf "$dir/org" && mkdir "$dir/org"
  "$gen" --out "$dir/org" --orgs 1 --persons "$persons" --inventories --leavers 20 \
    --discrepancies 20 --per-file 200 \
    --periods 2010-1,2010-2,2011-1,2011-2,2011-3,2011-4,2012-1,2012-2,2012-3,2012-4,2013-1,2013-2,2013-3,2013-4 \
    >/dev/null
  files=("$dir"/org/*.XML)
  mb=$(du -sm "$dir/org" | cut -f1)
  echo "lorvi-check peak resident memory, $persons persons x 14 periods (${#files[@]} files, $mb MB):" \
    "$(peak --load "${files[@]}" --tab 2 --print --dump) MB"
done

rm -rf "$dir/org" && mkdir "$dir/org"
"$gen" --out "$dir/org" --orgs 2 --persons 4501 --inventories --leavers 20 --discrepancies 20 \
  --per-file 200 \
  --periods 2010-1,2010-2,2011-1,2011-2,2011-3,2011-4,2012-1,2012-2,2012-3,2012-4,2013-1 >/dev/null
files=("$dir"/org/*.XML)
second=$("$check" --load "${files[@]}" | awk -F'\t' \
  '/^\[tree\]/{n=-1;intree=1;next} /^\[/{intree=0} intree{n++; if ($0 !~ /^ / && n>0 && !done) {print n; done=1}}')
echo "lorvi-check peak resident memory, two organisations of 4501 persons x 11 periods:" \
  "$(peak --load "${files[@]}" --select "$second" --tab 2 --print --select 0 --print --dump) MB"
