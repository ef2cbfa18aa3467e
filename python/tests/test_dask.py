"""The Dask example on a small column: worker processes give the one-process answer."""

import os
import sys

import pytest

pytest.importorskip("dask.dataframe")
pytest.importorskip("distributed")

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "examples"))
import dask_pulldown  # noqa: E402

# The workers do not have the examples directory on their path: the
# partition function travels by value.
pytest.importorskip("cloudpickle").register_pickle_by_value(dask_pulldown)


# Debian's distributed starts tornado's loop the old way.
@pytest.mark.filterwarnings("ignore:make_current is deprecated:DeprecationWarning")
def test_map_partitions_on_worker_processes():
    distributed, single = dask_pulldown.run(count=20_000, partitions=4, workers=2)
    assert len(distributed) == 20_000
    assert distributed.equals(single)
    assert distributed.iloc[0] == "KJ2312000000+00" and distributed.iloc[5] == "KJ2312000000+04"
