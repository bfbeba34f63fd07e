#!/usr/bin/env bash
# Runs every libFuzzer program of a fuzz build for the same number of seconds each.
#
#   scripts/run-fuzzers.sh BUILD_DIR SECONDS
#
# Each program works in BUILD_DIR/fuzz-runs/NAME/: corpus/ starts as a copy of the seeds in
# fuzz/corpus/NAME and keeps what earlier runs added (the seeds in the repository never
# change), findings/ receives the inputs that crash, hang or leak, and log holds the output.
# Fails when any program finds something.
set -uo pipefail

if [[ $# -ne 2 || ! "$2" =~ ^[0-9]+$ ]]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build=$1
duration=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

shopt -s nullglob
programs=("$build"/fuzz/tavrino-fuzz-*)
if [[ ${#programs[@]} -eq 0 ]]; then
  echo "no fuzz programs in $build/fuzz: configure with -DTAVRINO_FUZZ=ON and build them" >&2
  exit 2
fi

failed=()
for program in "${programs[@]}"; do
  name=${program##*/tavrino-fuzz-}
  run="$build/fuzz-runs/$name"
  mkdir -p "$run/corpus" "$run/findings"
  cp -p "$source_dir/fuzz/corpus/$name"/* "$run/corpus/"
  echo "== $name: $duration s"
  # -timeout: an input that takes this long counts as a hang.
  "$program" -max_total_time="$duration" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$run/findings/" "$run/corpus" >"$run/log" 2>&1
  status=$?
  grep -m1 'inline 8-bit counters' "$run/log"
  grep -E '^Done [0-9]+ runs' "$run/log" | tail -1
  if [[ $status -ne 0 ]]; then
    failed+=("$name")
    grep -E '^==[0-9]+==|SUMMARY|ERROR: libFuzzer|Test unit written' "$run/log" | head -20
  fi
done

if [[ ${#failed[@]} -ne 0 ]]; then
  echo "Findings in: ${failed[*]} (see $build/fuzz-runs/NAME/log and findings/)" >&2
  exit 1
fi
echo "No findings."
