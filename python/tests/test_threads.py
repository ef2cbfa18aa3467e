"""Threads converting at once get the answers one thread gets.

Array work runs with the GIL released, so these calls really overlap; the
project settings are one value for the process, so calls with different
project options take turns setting them and must still each get their own.
"""

import threading
from concurrent.futures import ThreadPoolExecutor

import numpy as np

import labelsbase as lb

N = 200_000


def run_together(jobs):
    """Runs each job on its own thread, all started together; their results."""
    start = threading.Barrier(len(jobs))

    def work(job):
        start.wait()
        return job()

    with ThreadPoolExecutor(len(jobs)) as pool:
        return list(pool.map(work, jobs))


def test_same_work_on_four_threads():
    samples = (np.arange(N, dtype=np.int64) * 7919) % 2589408
    texts = lb.format("ntsc_drop", samples)
    kk = lb.format("keycode_35", np.arange(N, dtype=np.int64) * 4, prefix="KJ231234")
    expect_tc = lb.convert(kk, "keycode_35", "ntsc_drop", transfer="pull23")
    jobs = [
        lambda: lb.format("ntsc_drop", samples),
        lambda: lb.parse("ntsc_drop", texts),
        lambda: lb.convert(kk, "keycode_35", "ntsc_drop", transfer="pull23"),
        lambda: lb.format("ntsc_drop", samples),
    ]
    for _ in range(3):
        a, b, c, d = run_together(jobs)
        np.testing.assert_array_equal(a, texts)
        np.testing.assert_array_equal(b, samples)
        np.testing.assert_array_equal(c, expect_tc)
        np.testing.assert_array_equal(d, texts)


def test_different_project_settings_at_once():
    pos = np.linspace(0, 3600, 20_001)
    options = [
        {},
        {"project_rate": 25},
        {"project_rate": "23.976", "output_rate": "29.97"},
        {"project_rate": 30, "drop_frame": False},
    ]
    kk = lb.format("keycode_35", np.arange(20_000, dtype=np.int64) * 4, prefix="KJ231234")
    expect_x = [lb.xlate(pos, "film", "cel", errors="coerce", **o) for o in options]
    expect_c = [lb.convert(kk, "keycode_35", "tc_24@source_24p", errors="coerce", **o) for o in options]
    # The answers differ between projects, or the test proves nothing.
    assert len({x.tobytes() for x in expect_x}) > 1
    jobs = []
    for o in options:
        jobs.append(lambda o=o: lb.xlate(pos, "film", "cel", errors="coerce", **o))
        jobs.append(lambda o=o: lb.convert(kk, "keycode_35", "tc_24@source_24p", errors="coerce", **o))
    for _ in range(3):
        got = run_together(jobs)
        for i in range(len(options)):
            np.testing.assert_array_equal(np.ma.getdata(got[2 * i]), np.ma.getdata(expect_x[i]))
            np.testing.assert_array_equal(np.ma.getdata(got[2 * i + 1]), np.ma.getdata(expect_c[i]))
