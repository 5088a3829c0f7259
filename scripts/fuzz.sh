#!/usr/bin/env bash
# Builds the libFuzzer harnesses (preset "fuzz": clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for MINUTES (default 10), one after the other.
# Usage: scripts/fuzz.sh [MINUTES] [HARNESS...]
# FUZZ_SECONDS, when set, gives the time per harness in seconds instead (CI uses it).
#
# Each harness starts from its seeds (fuzz/corpus/NAME) and its regression inputs
# (fuzz/regressions/NAME); what it learns on the way is kept in build/fuzz/corpus/NAME for the next
# run. Every input runs within a second and within the memory limits below, or counts as a
# finding. A finding stops the run: it is copied into fuzz/regressions/NAME (commit it with the
# fix, so that the normal test suite replays it) and printed, and the script exits with 1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

minutes=10
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  minutes=$1
  shift
fi
seconds=${FUZZ_SECONDS:-$((minutes * 60))}

harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for source in fuzz/*_fuzzer.cc; do
    name=$(basename "$source" _fuzzer.cc)
    harnesses+=("$name")
  done
fi

# Only the harnesses and the engine they link: the programs are not needed here.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${harnesses[@]/%/_fuzzer}"

# Limits for every input: a second of time, and memory far above what a read of the longest
# input needs (-max_len, per harness in fuzz/NAME_fuzzer.options) but far below what a runaway
# allocation claims.
common=(-timeout=1 -rss_limit_mb=1024 -malloc_limit_mb=256 -print_final_stats=1)

# Harnesses that run scripts save files in a temporary folder; in memory, a save's flush to disk
# does not set the pace of the run.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

status=0
for name in "${harnesses[@]}"; do
  program=build/fuzz/fuzz/${name}_fuzzer
  learned=build/fuzz/corpus/$name
  findings=build/fuzz/findings/$name
  mkdir -p "$learned" "$findings" "fuzz/regressions/$name"
  options=()
  if [ -f "fuzz/${name}_fuzzer.options" ]; then
    mapfile -t options < <(grep -v '^#' "fuzz/${name}_fuzzer.options" | grep -v '^$')
  fi
  echo "== $name: ${seconds}s"
  if ! "$program" "${common[@]}" "${options[@]}" -max_total_time="$seconds" \
      -artifact_prefix="$findings/" "$learned" "fuzz/corpus/$name" "fuzz/regressions/$name" \
      > "$findings/log.txt" 2>&1; then
    status=1
    grep -E '^(#[0-9]+ *DONE|stat::)|check failed|ERROR|SUMMARY' "$findings/log.txt" || true
    for finding in "$findings"/crash-* "$findings"/timeout-* "$findings"/oom-* "$findings"/leak-* \
        "$findings"/slow-unit-*; do
      [ -f "$finding" ] || continue
      cp "$finding" "fuzz/regressions/$name/"
      echo "Finding of $name, kept as fuzz/regressions/$name/$(basename "$finding")."
      echo "Reproduce: $program fuzz/regressions/$name/$(basename "$finding")"
      echo "Its bytes (base64):"
      base64 "$finding"
    done
  else
    grep -E '^Done|stat::number_of_executed_units|stat::average_exec_per_sec' \
      "$findings/log.txt" || true
  fi
done
exit $status
