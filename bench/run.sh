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
# BENCH_BATCH_LINES (default 1000000), BENCH_LABELS (the labels program to time;
# default the one built here).
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
# `labels batch`: a generated file of a million KeyKode texts converted to
# drop-frame timecode through 2:3 pulldown, timed as a child process (CPU
# time and peak memory from /usr/bin/time -v); its cost per line against the
# in-process median of the same conversion (target: at most 10x). Every
# output line must equal the in-process result for its input.
labels="${BENCH_LABELS:-$out/cli/labels}"
lines="${BENCH_BATCH_LINES:-1000000}"
name="labels batch keycode_35->ntsc_drop pull23 /line"
ref_case="convert/keycode_35_to_ntsc_drop_pull23"
row() { printf '%-50s %10s %10s %9s %13s  %-4s %s\n' "$@"; }
batch_row() {
  local help=""
  [ -x "$labels" ] && help=$("$labels" batch --help 2>&1 || true)
  if [[ "$help" != *--from* ]]; then
    row "$name" - - - "<=10x" "n/a" "labels batch not in this build"
    return
  fi
  local input="$out/batch_input.txt"
  if ! "$out/bench/labels_bench" --lb_batch_input="$input" --lb_batch_lines="$lines"; then
    row "$name" - - - "<=10x" "n/a" "translation not in this build: no input"
    return
  fi
  # Five runs; the median of the child's CPU time (user + system, as the
  # in-process medians are CPU time), the largest peak resident set.
  local runs=() rss=0 wall=0 k rc t
  for k in 1 2 3 4 5; do
    local tlog="$out/batch_time.txt"
    rc=0
    /usr/bin/time -v "${pin[@]}" "$labels" batch "$input" --from keycode_35 --to ntsc_drop --transfer pull23 \
      >"$out/batch_output.txt" 2>"$tlog" || rc=$?
    local done_lines
    done_lines=$(wc -l <"$out/batch_output.txt")
    if [ "$rc" -ne 0 ] || [ "$done_lines" -ne "$lines" ]; then
      row "$name" - - - "<=10x" "n/a" "labels batch failed (status $rc, $done_lines lines): $(grep -v '^\s' "$tlog" | head -1)"
      return
    fi
    if ! cmp -s "$out/batch_output.txt" "$input.expected"; then
      row "$name" - - - "<=10x" "n/a" "labels batch output differs from the in-process conversion: $(cmp "$out/batch_output.txt" "$input.expected" | head -1)"
      return
    fi
    t=$(awk -F': ' '/User time|System time/ { s += $2 } END { printf "%.3f", s }' "$tlog")
    runs+=("$t")
    rss=$(awk -F': ' -v r="$rss" '/Maximum resident set size/ { print ($2 > r) ? $2 : r }' "$tlog")
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0;
             for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$tlog")
  done
  local cpu ref per_line lps ratio met
  cpu=$(printf '%s\n' "${runs[@]}" | sort -n | sed -n 3p)
  ref=$(awk -F'\t' -v c="$ref_case" '$1 == c { print $2 }' "$medians" 2>/dev/null || true)
  per_line=$(awk -v w="$cpu" -v n="$lines" 'BEGIN { printf "%.2f", w * 1e9 / n }')
  lps=$(awk -v w="$cpu" -v n="$lines" 'BEGIN { printf "%.0f", n / w }')
  if [ -n "$ref" ]; then
    ratio=$(awk -v r="$ref" -v p="$per_line" 'BEGIN { printf "%.3f", r / p }')
    met=$(awk -v x="$ratio" 'BEGIN { print (x >= 0.1) ? "yes" : "NO" }')
  else
    ref=-; ratio=-; met=n/a
  fi
  row "$name" "$per_line" "$ref" "$ratio" "<=10x" "$met" \
      "(peer col: in-process ns) $lps lines/s of CPU (last wall ${wall}s), peak RSS ${rss} KiB, $lines lines, e.g. $(head -1 "$input") -> $(head -1 "$out/batch_output.txt")"
}
echo
echo "command-line throughput (CPU time of the child, median of 5; peer/ours = in-process / per line):"
batch_row

exit "$status"
