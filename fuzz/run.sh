#!/usr/bin/env bash
# Builds the fuzz preset and runs every target for the given number of
# seconds each (default 30), starting from the committed seed corpus.
# Usage: fuzz/run.sh [seconds] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
secs="${1:-30}"
shift || true
scripts/deps.sh clang libclang-rt-14-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
export ASAN_OPTIONS="abort_on_error=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
for t in "${targets[@]}"; do
  work="build/fuzz/corpus/$t"
  mkdir -p "$work" build/fuzz/artifacts
  seeds=()
  [ -d "fuzz/corpus/$t" ] && seeds=("fuzz/corpus/$t")
  log="build/fuzz/$t.log"
  # -close_fd_mask=3: the library's assertion lines (standard output) and host
  # warnings (standard error), thousands a second, are closed off; libFuzzer
  # and the sanitizers still report on a copy of standard error.
  if build/fuzz/fuzz/"$t" -max_total_time="$secs" -print_final_stats=1 -max_len=1024 \
       -close_fd_mask=3 -artifact_prefix="build/fuzz/artifacts/$t-" \
       "$work" "${seeds[@]}" >"$log" 2>&1; then
    execs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1)
    printf '%-24s ok   %12s executions in %ss  %s\n' "$t" "${execs:-?}" "$secs" "$cov"
  else
    printf '%-24s FAILED (see %s)\n' "$t" "$log"
    tail -40 "$log"
    status=1
  fi
done
exit $status
