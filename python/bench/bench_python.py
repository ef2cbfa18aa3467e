#!/usr/bin/env python3
"""Speed of the labelsbase module: 29.97 drop-frame timecode format and parse.

Rows, per item (1 M items by default):
  numpy       labelsbase.format / labelsbase.parse over a NumPy array: the
              label type ntsc_drop, and the rate name 29.97df; parse of str
              (4 bytes a character) and of bytes ("S") arrays
  C++         the same work in a C++ loop in process (labelsbase_py_baseline):
              "item" the converter and command reader one item at a time,
              "column" the timecode column functions the module's quick
              route calls
  Python      a plain Python loop doing the same drop-frame arithmetic
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
    texts_b = texts.astype("S")
    rate_texts = lb.format("29.97df", samples)
    assert rate_texts.tolist() == texts.tolist()

    numpy_rows = {
        "format ntsc_drop": lambda: lb.format("ntsc_drop", samples),
        "format 29.97df": lambda: lb.format("29.97df", samples),
        "parse ntsc_drop": lambda: lb.parse("ntsc_drop", texts),
        "parse 29.97df": lambda: lb.parse("29.97df", rate_texts),
        "parse S ntsc_drop": lambda: lb.parse("ntsc_drop", texts_b),
        "parse S 29.97df": lambda: lb.parse("29.97df", texts_b),
    }
    numpy_ns = {row: best_of(args.runs, fn) / n * 1e9 for row, fn in numpy_rows.items()}

    m = min(args.loop_count, n)
    sub = samples[:m].tolist()
    sub_texts = texts[:m].tolist()
    assert [py_format_df(s) for s in sub] == sub_texts, "the Python baseline writes other texts"
    assert [py_parse_df(t) for t in sub_texts] == sub, "the Python baseline reads other frames"
    fmt_py = best_of(args.runs, lambda: [py_format_df(s) for s in sub]) / m * 1e9
    prs_py = best_of(args.runs, lambda: [py_parse_df(t) for t in sub_texts]) / m * 1e9

    cxx = {}
    if args.baseline and os.path.exists(args.baseline):
        for _ in range(args.runs):
            out = subprocess.run([args.baseline, "ntsc_drop", str(n)], check=True, capture_output=True, text=True).stdout
            for line in out.splitlines():
                k, *v = line.split()
                if k != "checksum":
                    cxx[k] = min(cxx.get(k, float("inf")), float(v[0]))

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
    print("%-18s %9s %9s %9s %10s %10s %9s" % ("row", "numpy ns", "C++ item", "C++ col", "Python ns", "numpy/col", "Py/numpy"))
    for row, ns in numpy_ns.items():
        fmt = row.startswith("format")
        item, col = cxx.get("format" if fmt else "parse"), cxx.get("column_format" if fmt else "column_parse")
        py = fmt_py if fmt else prs_py
        show = lambda v: "-" if v is None else "%.1f" % v
        print("%-18s %9.1f %9s %9s %10.1f %10s %9.1f" % (
            row, ns, show(item), show(col), py, "-" if col is None else "%.2f" % (ns / col), py / ns))
    print("GIL      formatting %d samples took %.3f s; meanwhile a Python thread ran %d loop turns, its longest"
          " pause %.1f ms" % (len(big), gil[0], gil[2], gil[1] * 1e3))
    for name, (one, par, s) in scaling.items():
        print("threads  %-8s two arrays on one thread %.3f s, on two threads %.3f s: %.2fx" % (name, one, par, s))


if __name__ == "__main__":
    main()
