#!/usr/bin/env bash
# Runs one fuzz target built by fuzz/build.sh for SECONDS (default 600) at a
# low priority, starting from its committed corpus (fuzz/corpus/NAME) and its
# dictionary (fuzz/NAME.dict) when they exist, then merges the inputs that
# reach new code into the committed corpus. Findings land in
# fuzz/build/findings/. Usage: fuzz/run.sh NAME [SECONDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
name=${1:?usage: fuzz/run.sh NAME [SECONDS]}
seconds=${2:-600}
target=$here/build/${name}_fuzz
[ -x "$target" ] || { echo "no $target: run fuzz/build.sh" >&2; exit 2; }

committed=$here/corpus/$name
work=$here/build/work/$name
mkdir -p "$committed" "$work" "$here/build/findings"
cp -n "$committed"/* "$work"/ 2>/dev/null || true
[ -d "$here/build/corpus/$name" ] && cp -n "$here/build/corpus/$name"/* "$work"/
dict=()
[ -f "$here/$name.dict" ] && dict=(-dict="$here/$name.dict")

nice -n 10 "$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$here/build/findings/$name-" "$work"
# The committed corpus is rebuilt as the smallest set of inputs that keeps
# every feature reached, from what it held and what this run found.
rm -rf "$committed.new"
mkdir -p "$committed.new"
nice -n 10 "$target" -merge=1 "$committed.new" "$committed" "$work" > "$here/build/merge-$name.log" 2>&1
grep -E "MERGE-OUTER: [0-9]+ new files" "$here/build/merge-$name.log"
if [ -n "$(ls -A "$committed.new")" ]; then
  rm -rf "$committed"
  mv "$committed.new" "$committed"
fi
echo "corpus $name: $(ls "$committed" | wc -l) files, $(du -sh "$committed" | cut -f1)"
