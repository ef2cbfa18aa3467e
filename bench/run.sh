#!/usr/bin/env bash
# Benchmarks, side by side with FFmpeg's timecode functions, in one run.
#
#   bench/run.sh              configure (preset "bench": Release, -O2), build,
#                             check agreement, run every case pinned to one
#                             core, 5 repetitions, print the table of medians
#                             and the `labels batch` throughput row
#
# Environment: BENCH_MIN_TIME (seconds per repetition, default 0.2),
# BENCH_FILTER (a --benchmark_filter regex), BENCH_CPU (core, default 1),
# BENCH_BATCH_LINES (default 1000000).
set -euo pipefail
cd "$(dirname "$0")/.."

# libavutil-dev is the peer and optional: without it the peer columns say so.
scripts/deps.sh libavutil-dev libbenchmark-dev ||
  echo "warning: could not install libavutil-dev/libbenchmark-dev; continuing with what is present" >&2

cmake --preset bench >/dev/null
cmake --build --preset bench -j2

cpu="${BENCH_CPU:-1}"
pin=()
if command -v taskset >/dev/null 2>&1 && taskset -c "$cpu" true 2>/dev/null; then
  pin=(taskset -c "$cpu")
  echo "pinned to core $cpu"
else
  echo "not pinned (taskset or core $cpu unavailable)"
fi

out=build/bench
medians="$out/medians.tsv"
args=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true
      --benchmark_min_time="${BENCH_MIN_TIME:-0.2}" --benchmark_color=false)
[ -n "${BENCH_FILTER:-}" ] && args+=(--benchmark_filter="$BENCH_FILTER")

status=0
LB_BENCH_MEDIANS="$medians" "${pin[@]}" "$out/bench/labels_bench" "${args[@]}" || status=$?

# ---------------------------------------------------------------------------
# `labels batch`: one conversion per line of a generated file of a million
# lines, timed as a child process; its cost per line against the in-process
# median of the same conversion (target: at most 10x).
labels="$out/cli/labels"
lines="${BENCH_BATCH_LINES:-1000000}"
row() { printf '%-50s %10s %10s %9s %13s  %-4s %s\n' "$@"; }
batch_row() {
  local help=""
  [ -x "$labels" ] && help=$("$labels" batch --help 2>&1 || true)
  if [[ "$help" != *batch* ]]; then
    row "labels batch pal sample->text (per line)" - - - ">=0.1x" "n/a" "labels batch not in this build"
    return
  fi
  local input="$out/batch_input.txt"
  if [ ! -s "$input" ] || [ "$(wc -l <"$input")" -ne "$lines" ]; then
    # The same kind of workload: splitmix64 samples over one 25 fps day.
    awk -v n="$lines" 'BEGIN {
      srand(20240601);
      for (i = 0; i < n; i++) printf "%d\n", int(rand() * 2160000);
    }' >"$input"
  fi
  local tlog="$out/batch_time.txt"
  /usr/bin/time -v "${pin[@]}" "$labels" batch --type pal_label_t --to text <"$input" >/dev/null 2>"$tlog" || {
    row "labels batch pal sample->text (per line)" - - - ">=0.1x" "n/a" "labels batch failed: $(tail -1 "$tlog")"
    return
  }
  local wall rss ref
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0;
           for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$tlog")
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$tlog")
  ref=$(awk -F'\t' '$1 == "tc_to_text/pal/cvt" { print $2 }' "$medians" 2>/dev/null || true)
  local per_line lps ratio met
  per_line=$(awk -v w="$wall" -v n="$lines" 'BEGIN { printf "%.2f", w * 1e9 / n }')
  lps=$(awk -v w="$wall" -v n="$lines" 'BEGIN { printf "%.0f", n / w }')
  if [ -n "$ref" ]; then
    ratio=$(awk -v r="$ref" -v p="$per_line" 'BEGIN { printf "%.3f", r / p }')
    met=$(awk -v x="$ratio" 'BEGIN { print (x >= 0.1) ? "yes" : "NO" }')
  else
    ref=-; ratio=-; met=n/a
  fi
  row "labels batch pal sample->text (per line)" "$per_line" "$ref" "$ratio" ">=0.1x" "$met" \
      "(peer col: in-process ns) $lps lines/s, peak RSS ${rss} KiB, $lines lines"
}
echo
echo "command-line throughput (wall time of the child; ratio = in-process / per line):"
batch_row

exit "$status"
