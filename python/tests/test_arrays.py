"""format, parse, convert and xlate over scalars, lists and arrays."""

import numpy as np
import pytest

import labelsbase as lb

# Types swept over a day (or a count range), both signs where the type
# writes them: written and read back through arrays. KeyKode and feet texts
# name whole frames, so their sweeps step in frames (4 perforations). (The
# timecode types' quicker array route is checked against the general one.)
SWEEPS = [
    ("tc_24", np.arange(-2073599, 2073600, 11)),
    ("keycode_35", np.arange(0, 64 * 10000, 12)),
    ("foot_35", np.arange(-6400, 640000, 12)),
    ("film_frames", np.arange(0, 1000000, 7)),
]


@pytest.mark.parametrize("type_,samples", SWEEPS, ids=[t for t, _ in SWEEPS])
def test_arrays_round_trip_and_agree_with_scalars(type_, samples):
    texts = lb.format(type_, samples)
    assert texts.dtype.kind == "U" and texts.shape == samples.shape
    back = lb.parse(type_, texts)
    assert back.dtype == np.int32
    np.testing.assert_array_equal(back, samples)
    # Spot checks: the array path and the scalar path agree.
    for i in range(0, len(samples), max(1, len(samples) // 50)):
        assert texts[i] == lb.format(type_, int(samples[i]))
        assert lb.parse(type_, str(texts[i])) == back[i]


S, T = np.array([0, 1, 25, 90000, 2159999, 1234567]), ["01:00:00:00", "00:00:00:01", "23:59:59:24"]
FORMS = {  # samples to format and texts to parse, in every form taken
    "int64": S, "int16": S.astype(np.int16), "uint32": S.astype(np.uint32), "float": S.astype(float),
    "object": S.astype(object), "2-d": S.reshape(2, 3), "view": S[::-1][::-1],
    "fortran": np.asfortranarray(S.reshape(2, 3)), "str": np.array(T), "bytes": np.array([t.encode() for t in T]),
    "object-str": np.array(T, dtype=object), "blanks": np.array([" %s\t" % t for t in T]), "list": T, "tuple": tuple(T),
}


@pytest.mark.parametrize("form", FORMS)
def test_inputs_of_any_form(form):
    data = FORMS[form]
    texts = isinstance(np.ravel(data)[0], (str, bytes))
    got = (lb.parse if texts else lb.format)("pal", data)
    assert np.shape(got) == np.shape(data)
    assert list(np.ravel(got)) == ([90000, 1, 2159999] if texts else [lb.format("pal", int(v)) for v in np.ravel(data)])


@pytest.mark.parametrize("fn,good,bad", [
    (lambda x, **k: lb.parse("pal", x, **k), "01:00:00:00", "zz"),
    (lambda x, **k: lb.format("pal", x, **k), 90000, -100000000),
    (lambda x, **k: lb.format("pal", x, **k), 90000, 2 ** 40),
    (lambda x, **k: lb.convert(x, "keycode_35", "ntsc_drop", transfer="pull23", **k), "KJ2312340012+05", "KJ23123400"),
    (lambda x, **k: lb.xlate(x, "film", "source_30i_1001", **k), 1.0, 9e6),
], ids=["parse", "format-invalid", "format-wide", "convert", "xlate"])
def test_errors_raise_or_coerce(fn, good, bad):
    with pytest.raises(lb.LabelError) as e:
        fn(bad)
    assert isinstance(e.value, ValueError) and e.value.index == 0
    with pytest.raises(lb.LabelError) as e:
        fn([good, good, bad, bad])
    assert e.value.index == 2
    assert fn(bad, errors="coerce") is None
    assert fn([good, bad], errors="coerce")[1] is None
    arr = fn(np.array([good, bad, good]), errors="coerce")
    assert isinstance(arr, np.ma.MaskedArray) and arr.mask.tolist() == [False, True, False]
    assert arr[0] == fn(good) and arr[2] == fn(good)
    with pytest.raises(lb.LabelError, match="raise.*coerce"):
        fn(good, errors="ignore")


def test_missing_and_masked_items():
    texts = np.array(["01:00:00:00", None, float("nan")], dtype=object)
    got = lb.parse("pal", texts, errors="coerce")
    assert got.mask.tolist() == [False, True, True] and got[0] == 90000
    with pytest.raises(lb.LabelError, match="item 1 is missing"):
        lb.parse("pal", texts)
    samples = np.ma.masked_array([90000, 1, 2], mask=[False, True, False])
    out = lb.format("pal", samples, errors="coerce")
    assert out.mask.tolist() == [False, True, False] and out[2] == "00:00:00.02"
    assert lb.format("pal", [1.0, 2.5], errors="coerce") == ["00:00:00.01", None]
    for call in (lambda: lb.parse("pal", [1, 2]), lambda: lb.format("pal", ["90000"])):
        pytest.raises(TypeError, call)


@pytest.mark.parametrize("fn,data", [
    (lambda x: lb.convert(x, "keycode_35", "ntsc_drop", transfer="pull23", phase=2),
     lb.format("keycode_35", np.arange(0, 6400, 1).reshape(80, 80), prefix="KJ231234")),
    (lambda x: lb.xlate(x, "film", "source_30i_1001", transfer="pull23"), np.linspace(0, 100, 1001)),
], ids=["convert", "xlate"])
def test_arrays_keep_their_shape_and_match_scalars(fn, data):
    got = fn(data)
    assert got.shape == data.shape and got.dtype.kind == data.dtype.kind
    for i in range(0, data.size, 97):
        assert got.ravel()[i] == fn(data.ravel()[i].item())


def test_pandas_series_in_series_out():
    pd = pytest.importorskip("pandas")
    s = pd.Series(["KJ2312340012+05", "bad", "KJ2312340013+00"], index=[10, 20, 30], name="kk")
    tc = lb.convert(s, "keycode_35", "ntsc_drop", transfer="pull23", errors="coerce")
    assert list(tc.index) == [10, 20, 30] and tc.name == "kk"
    assert tc[10] == "00:00:08;06" and tc[20] is None
    frames = lb.parse("keycode_35", s, errors="coerce")
    assert frames[10] == 788 and np.isnan(frames[20])
