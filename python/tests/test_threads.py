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


def expect_single_thread_answers(jobs):
    """Runs the jobs one by one, then three times all together: each answer
    must be its lone one. The lone answers."""
    want = [np.ma.getdata(job()) for job in jobs]
    for _ in range(3):
        for got, w in zip(run_together(jobs), want):
            np.testing.assert_array_equal(np.ma.getdata(got), w)
    return want


def test_same_work_on_four_threads():
    samples = (np.arange(N, dtype=np.int64) * 7919) % 2589408
    texts = lb.format("ntsc_drop", samples)
    kk = lb.format("keycode_35", np.arange(N, dtype=np.int64) * 4, prefix="KJ231234")
    expect_single_thread_answers([
        lambda: lb.format("ntsc_drop", samples),
        lambda: lb.parse("ntsc_drop", texts),
        lambda: lb.convert(kk, "keycode_35", "ntsc_drop", transfer="pull23"),
        lambda: lb.format("ntsc_drop", samples),
    ])


def test_different_project_settings_at_once():
    pos = np.linspace(0, 3600, 20_001)
    kk = lb.format("keycode_35", np.arange(20_000, dtype=np.int64) * 4, prefix="KJ231234")
    jobs = []
    for o in [{}, {"project_rate": 25}, {"project_rate": "23.976", "output_rate": "29.97"},
              {"project_rate": 30, "drop_frame": False}]:
        jobs.append(lambda o=o: lb.xlate(pos, "film", "cel", errors="coerce", **o))
        jobs.append(lambda o=o: lb.convert(kk, "keycode_35", "tc_24@source_24p", errors="coerce", **o))
    want = expect_single_thread_answers(jobs)
    # The answers differ between projects, or the test proves nothing.
    assert len({w.tobytes() for w in want[::2]}) > 1
