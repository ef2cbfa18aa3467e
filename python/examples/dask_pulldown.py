#!/usr/bin/env python3
"""Timecodes of an NTSC transfer back to the KeyKode of the film, on Dask.

A day's worth of 29.97 drop-frame timecode (1 M frames by default) is taken
back through 2:3 pulldown to the 35 mm KeyKode of the camera roll it was
transferred from, the head of the roll (KJ2312 000000+00) at 00:00:00;00.
The column is a Dask DataFrame split into partitions; each partition is
converted by labelsbase.convert on a worker process of a local cluster, and
the answer is checked against the same conversion in this one process.

On more than one machine, start a scheduler and workers (dask-scheduler,
dask-worker ADDRESS on each machine, with labelsbase installed) and pass
--scheduler ADDRESS: the code is the same.

  PYTHONPATH=build/release/python /usr/bin/python3 python/examples/dask_pulldown.py [--count N]
"""

import argparse
import time

import numpy as np
import pandas as pd

import labelsbase as lb

OPTIONS = dict(transfer="pull23", sync="00:00:00;00=KJ2312000000+00", errors="coerce")


def to_keykode(timecodes: pd.Series) -> pd.Series:
    """One partition: NTSC drop-frame timecode to KeyKode (None where there is none)."""
    return lb.convert(timecodes, "ntsc_drop", "keycode_35_6", **OPTIONS)


def timecodes(count: int) -> pd.DataFrame:
    frames = np.arange(count, dtype=np.int64) % 2589408  # frames of a day at 29.97 drop-frame
    return pd.DataFrame({"timecode": lb.format("ntsc_drop", frames)})


def run(count=1_000_000, partitions=8, workers=2, scheduler=None):
    """The Dask answer and the one-process answer, as two Series."""
    import dask.dataframe as dd
    from distributed import Client, LocalCluster

    df = timecodes(count)
    if scheduler:
        client = Client(scheduler)
        cluster = None
    else:
        cluster = LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                               dashboard_address=None)
        client = Client(cluster)
    try:
        ddf = dd.from_pandas(df, npartitions=partitions)
        ddf["keykode"] = ddf["timecode"].map_partitions(to_keykode, meta=("keykode", "object"))
        distributed = ddf.compute()["keykode"]
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    single = to_keykode(df["timecode"])
    return distributed, single


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--count", type=int, default=1_000_000)
    ap.add_argument("--partitions", type=int, default=8)
    ap.add_argument("--workers", type=int, default=2)
    ap.add_argument("--scheduler", help="address of a running Dask scheduler (default: a local cluster)")
    a = ap.parse_args()
    t0 = time.perf_counter()
    distributed, single = run(a.count, a.partitions, a.workers, a.scheduler)
    t1 = time.perf_counter()
    assert distributed.equals(single), "the cluster and this process disagree"
    print(pd.DataFrame({"timecode": timecodes(a.count)["timecode"], "keykode": distributed}).iloc[[0, 1, 2, 3, 4, 5, -1]])
    print("%d timecodes to KeyKode on %s in %.2f s; equal to the one-process answer"
          % (a.count, a.scheduler or "%d local worker processes" % a.workers, t1 - t0))


if __name__ == "__main__":
    main()
