#!/usr/bin/env bash
# Peak memory of lorvi-check on two full-size organisations (11 periods of 4501 persons each,
# with their inventories): load, show each organisation, pick a tab and print the table.
set -euo pipefail
build=${1:-build}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$build/bench/lorvi-gen" --out "$dir" --orgs 2 --persons 4501 --inventories --leavers 20 \
  --discrepancies 20 \
  --periods 2010-1,2010-2,2011-1,2011-2,2011-3,2011-4,2012-1,2012-2,2012-3,2012-4,2013-1 >/dev/null
files=("$dir"/*.XML)
second=$("$build/tools/lorvi-check/lorvi-check" --load "${files[@]}" | awk -F'\t' \
  '/^\[tree\]/{n=-1;intree=1;next} /^\[/{intree=0} intree{n++; if ($0 !~ /^ / && n>0 && !done) {print n; done=1}}')
/usr/bin/time -f "%M" -o "$dir/peak" "$build/tools/lorvi-check/lorvi-check" --decimal-separator=, \
  --load "${files[@]}" --select "$second" --tab 2 --print --select 0 --print --dump >/dev/null
echo "lorvi-check peak resident memory on two full-size organisations: $(( $(cat "$dir/peak") / 1024 )) MB"
