#!/usr/bin/env bash
# Runs every fuzz target of a built fuzz tree for a fixed time each, one after another:
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
# Each target starts from its seeds (fuzz/corpus/<target>) and what earlier runs found
# (BUILD_DIR/corpus/<target>); a crashing input is kept in BUILD_DIR/findings/<target>/ and
# belongs, once mended, in fuzz/regressions/<target>/. Exits non-zero when a target crashed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
seconds=$2
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$root"/fuzz/targets/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi

status=0
printf '%-18s %12s %8s %8s  %s\n' target executions cov ft result
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  findings=$build/findings/$t
  log=$build/logs/$t.log
  mkdir -p "$corpus" "$findings" "$build/logs"
  # One process at a time: the machine is shared. Inputs stay small, so a run stays fast.
  "$build/bin/fuzz_$t" "$corpus" "$root/fuzz/corpus/$t" -max_total_time="$seconds" \
    -max_len=65536 -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" >"$log" 2>&1
  rc=$?
  runs=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
  last=$(grep -E '#[0-9]+.*cov: [0-9]+ ft: [0-9]+' "$log" | tail -n 1)
  cov=$(grep -oE 'cov: [0-9]+' <<<"$last" | grep -oE '[0-9]+')
  ft=$(grep -oE 'ft: [0-9]+' <<<"$last" | grep -oE '[0-9]+')
  if [ $rc -eq 0 ]; then
    result=clean
  else
    status=1
    result="CRASH (rc $rc): $(ls -t "$findings" | head -n 1); see $log"
  fi
  printf '%-18s %12s %8s %8s  %s\n' "$t" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done
exit $status
