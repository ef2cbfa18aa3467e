#!/usr/bin/env bash
# Conversions on 1, 2 and 4 threads, and the scaling of each case: items per
# second of wall time over all threads, divided by the 1-thread rate.
#
#   bench/threads.sh          build (preset "bench"), run, tabulate
#
# Environment: BENCH_MIN_TIME (seconds per case, default 0.3). On a machine
# with fewer cores than threads, or one others are using, the 4-thread rows
# show how the work shares the cores rather than how it scales.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target labels_bench_threads
out=build/bench
json="$out/threads.json"
"$out/bench/labels_bench_threads" --benchmark_min_time="${BENCH_MIN_TIME:-0.3}" --benchmark_color=false \
  --benchmark_out="$json" --benchmark_out_format=json >/dev/null
echo "cores: $(nproc)"
python3 - "$json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
base = {}
print(f"{'case':<22} {'threads':>7} {'Mitems/s':>10} {'ns/item/thread':>15} {'scaling':>8}")
for r in runs:
    name, threads = r["run_name"].split("/")[0], r["threads"]
    rate = r["items_per_second"] / 1e6
    if threads == 1:
        base[name] = rate
    print(f"{name:<22} {threads:>7} {rate:>10.1f} {1e3 * threads / rate:>15.1f} {rate / base[name]:>8.2f}")
PY
