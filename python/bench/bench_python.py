#!/usr/bin/env python3
"""Speed of the labelsbase module: 29.97 drop-frame timecode format and parse.

Rows, per item:
  numpy       labelsbase.format / labelsbase.parse over a NumPy array (str;
              "parse S": a bytes array of the same texts)
  cxx         the same work in a C++ loop in process (labelsbase_py_baseline)
  python      a plain Python loop doing the same drop-frame arithmetic
and two Python threads converting arrays at once against one thread doing
both, for the GIL-released scaling.

Usage (after the build):
  PYTHONPATH=build/release/python /usr/bin/python3 python/bench/bench_python.py \
      --baseline build/release/python/labelsbase_py_baseline [--count 1000000]
"""

import argparse
import os
import subprocess
import threading
import time

import numpy as np

import labelsbase as lb


# The plain-Python baseline: SMPTE 29.97 drop-frame, written as a Python
# programmer would, producing the texts `labels format ntsc_drop` prints.
def py_format_df(frame):
    frame %= 2589408  # frames in a day
    tens, rest = divmod(frame, 17982)  # ten-minute blocks, frames into the block
    if rest < 2:
        frame += 18 * tens
    else:
        frame += 18 * tens + 2 * ((rest - 2) // 1798)
    ff = frame % 30
    ss = frame // 30 % 60
    mm = frame // 1800 % 60
    hh = frame // 108000
    return "%02d:%02d:%02d;%02d" % (hh, mm, ss, ff)


def py_parse_df(text):
    hh, mm, rest = text.split(":")
    ss, ff = rest.split(";")
    hh, mm, ss, ff = int(hh), int(mm), int(ss), int(ff)
    total_minutes = 60 * hh + mm
    return 108000 * hh + 1800 * mm + 30 * ss + ff - 2 * (total_minutes - total_minutes // 10)


def best_of(runs, fn):
    best = float("inf")
    for _ in range(runs):
        t0 = time.perf_counter()
        fn()
        best = min(best, time.perf_counter() - t0)
    return best


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--count", type=int, default=1_000_000)
    ap.add_argument("--loop-count", type=int, default=200_000, help="items for the plain Python loop")
    ap.add_argument("--baseline", help="path of labelsbase_py_baseline (the C++ row)")
    ap.add_argument("--runs", type=int, default=3)
    args = ap.parse_args()

    n = args.count
    samples = (np.arange(n, dtype=np.int64) * 7919) % 2589408
    texts = lb.format("ntsc_drop", samples)
    assert lb.parse("ntsc_drop", texts).tolist() == samples.tolist()

    fmt_np = best_of(args.runs, lambda: lb.format("ntsc_drop", samples)) / n * 1e9
    prs_np = best_of(args.runs, lambda: lb.parse("ntsc_drop", texts)) / n * 1e9
    # The same texts as a bytes array: a quarter of the memory of str's four
    # bytes a character.
    texts_b = texts.astype("S")
    prs_np_b = best_of(args.runs, lambda: lb.parse("ntsc_drop", texts_b)) / n * 1e9

    m = min(args.loop_count, n)
    sub = samples[:m].tolist()
    sub_texts = texts[:m].tolist()
    assert [py_format_df(s) for s in sub] == sub_texts, "the Python baseline writes other texts"
    assert [py_parse_df(t) for t in sub_texts] == sub, "the Python baseline reads other frames"
    fmt_py = best_of(1, lambda: [py_format_df(s) for s in sub]) / m * 1e9
    prs_py = best_of(1, lambda: [py_parse_df(t) for t in sub_texts]) / m * 1e9

    fmt_cxx = prs_cxx = None
    if args.baseline and os.path.exists(args.baseline):
        rows = {}
        for _ in range(args.runs):
            out = subprocess.run([args.baseline, "ntsc_drop", str(n)], check=True, capture_output=True, text=True).stdout
            for line in out.splitlines():
                k, *v = line.split()
                if k in ("format", "parse"):
                    rows[k] = min(rows.get(k, float("inf")), float(v[0]))
        fmt_cxx, prs_cxx = rows["format"], rows["parse"]

    # Threads: two arrays one after the other on one thread, then one
    # array on each of two threads.
    kk = lb.format("keycode_35", (np.arange(n // 2, dtype=np.int64) * 4) % 1_000_000, prefix="KJ231234")
    work = {
        "format": lambda: lb.format("ntsc_drop", samples),
        "convert": lambda: lb.convert(kk, "keycode_35", "ntsc_drop", transfer="pull23"),
    }
    scaling = {}
    for name, fn in work.items():
        one = best_of(args.runs, lambda: (fn(), fn()))

        def two():
            ts = [threading.Thread(target=fn) for _ in range(2)]
            for t in ts:
                t.start()
            for t in ts:
                t.join()

        par = best_of(args.runs, two)
        scaling[name] = (one, par, one / par)

    # The GIL during a conversion: a Python thread keeps running while the
    # other converts, so its longest pause is short next to the conversion.
    stamps = []
    stop = threading.Event()

    def ticker():
        while not stop.is_set():
            stamps.append(time.perf_counter())

    big = np.tile(samples, 3)
    side = threading.Thread(target=ticker)
    side.start()
    time.sleep(0.05)
    c0 = time.perf_counter()
    lb.format("ntsc_drop", big)
    c1 = time.perf_counter()
    stop.set()
    side.join()
    during = [t for t in stamps if c0 <= t <= c1]
    gaps = [b - a for a, b in zip(during, during[1:])] or [c1 - c0]
    gil = (c1 - c0, max(gaps), len(during))

    print("labelsbase %s, %d items, %d CPUs (load average %.2f)" % (lb.__version__, n, os.cpu_count(), os.getloadavg()[0]))
    print("%-8s %12s %12s %14s %10s %10s" % ("row", "numpy ns", "C++ ns", "Python ns", "numpy/C++", "Py/numpy"))
    for row, a, c, p in (("format", fmt_np, fmt_cxx, fmt_py), ("parse", prs_np, prs_cxx, prs_py),
                         ("parse S", prs_np_b, prs_cxx, prs_py)):
        print("%-8s %12.1f %12s %14.1f %10s %10.1f" % (
            row, a, "-" if c is None else "%.1f" % c, p, "-" if c is None else "%.2f" % (a / c), p / a))
    print("GIL      formatting %d samples took %.3f s; meanwhile a Python thread ran %d loop turns, its longest"
          " pause %.1f ms" % (len(big), gil[0], gil[2], gil[1] * 1e3))
    for name, (one, par, s) in scaling.items():
        print("threads  %-8s two arrays on one thread %.3f s, on two threads %.3f s: %.2fx" % (name, one, par, s))


if __name__ == "__main__":
    main()
