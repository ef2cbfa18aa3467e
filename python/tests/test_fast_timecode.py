"""Timecode arrays take a quicker route than lists; both must give the same
texts, samples, masks and messages. The quick route is switched off with
_core._fast_timecode(False) to get the general one on the same input."""

import contextlib

import numpy as np
import pytest

import labelsbase as lb

TIMECODE_TYPES = [d["short"] for d in lb.types() if d["category"] == "timecode" and d["has_converter"]]


@contextlib.contextmanager
def route(fast):
    was = lb._core._fast_timecode(fast)
    try:
        yield
    finally:
        lb._core._fast_timecode(was)


def both(fn, *args, **kw):
    """(result or LabelError message and index) by the quick and the general route."""
    out = []
    for fast in (True, False):
        with route(fast):
            try:
                r = fn(*args, **kw)
                out.append(("ok", np.ma.getdata(r).tolist(), np.ma.getmaskarray(r).tolist(), r.dtype.str))
            except lb.LabelError as e:
                out.append(("error", str(e), e.index))
    return out


def samples_for(_type):
    # Both sides of zero, of every minute and ten-minute boundary early in
    # the day, a spread over the day and past its end, and int32 limits.
    edges = np.concatenate([np.arange(-40, 40), np.arange(1700, 1900), np.arange(17900, 18100),
                            np.arange(107800, 108200)])
    spread = np.arange(-3_000_000, 6_000_000, 1237)
    limits = np.array([2**31 - 1, -2**31, 5_184_000, 2_589_408, 2_589_407, 2_160_000, 2_073_600])
    return np.concatenate([edges, spread, limits]).astype(np.int64)


def test_every_timecode_type_is_swept():
    assert {"pal", "ntsc", "ntsc_drop", "tc_24", "tc_60"} <= set(TIMECODE_TYPES)


@pytest.mark.parametrize("type_", TIMECODE_TYPES)
def test_format_same_by_both_routes(type_):
    s = samples_for(type_)
    fast, general = both(lb.format, type_, s, errors="coerce")
    assert fast == general
    # The first failure, if any, raises the same message at the same item.
    assert both(lb.format, type_, s)[0] == both(lb.format, type_, s)[1]
    # Arrays of other integer forms and a masked array.
    m = np.ma.masked_array(s[:500], mask=(np.arange(500) % 7 == 0))
    a, b = both(lb.format, type_, m, errors="coerce")
    assert a == b


def mangled(texts):
    """Texts near the good ones: every way a character can be off."""
    out = []
    for t in texts[:200]:
        out += [
            " " + t, t + " ", t[:-1], t + "0", t.replace(":", ";"), t.replace(":", "."),
            t[:8] + ":" + t[9:], t[:8] + ";" + t[9:], t[:8] + "." + t[9:], t[:8] + "," + t[9:],
            "-" + t, "2" + t[1:], "9" + t[1:], t[:3] + "6" + t[4:], t[:6] + "7" + t[7:], t[:9] + "9" + t[10:],
            t[:3] + "é" + t[4:], t[:1] + "x" + t[2:], t.replace("0", "O"),
        ]
    out += ["", "00:01:00;00", "00:01:00;01", "00:10:00;00", "24:00:00:00", "25:00:00;00", "23:59:59;29",
            "23:59:59:29", "23:59:59.24", "99:99:99:99", "00:00:00:00\u0660", "１0:00:00:00"]
    return out


@pytest.mark.parametrize("type_", TIMECODE_TYPES)
def test_parse_same_by_both_routes(type_):
    with route(False):
        good = lb.format(type_, np.ma.masked_invalid(samples_for(type_).astype(float)), errors="coerce").compressed()
    texts = list(good) + mangled(list(good))
    for arr in (np.array(texts), np.array(texts, dtype=object)):
        fast, general = both(lb.parse, type_, arr, errors="coerce")
        assert fast == general
    ascii_texts = np.array([t.encode() for t in texts if t.isascii()], dtype="S")
    fast, general = both(lb.parse, type_, ascii_texts, errors="coerce")
    assert fast == general
    # Raising: the first bad text, by message and index, and wide arrays.
    bad_late = np.array(list(good[:100]) + ["00:7x:00"] + list(good[100:200]), dtype="U30")
    fast, general = both(lb.parse, type_, bad_late)
    assert fast == general and fast[0] == "error" and fast[2] == 100


@pytest.mark.parametrize("type_", ["ntsc_drop", "pal", "tc_24"])
def test_lists_and_arrays_agree(type_):
    s = samples_for(type_)[:3000]
    texts = lb.format(type_, s, errors="coerce")
    as_list = lb.format(type_, s.tolist(), errors="coerce")
    assert [None if m else t for t, m in zip(np.ma.getdata(texts).tolist(), np.ma.getmaskarray(texts).tolist())] == as_list
    good = [t for t in as_list if t is not None]
    assert lb.parse(type_, np.array(good)).tolist() == lb.parse(type_, good)


def test_drop_frame_worked_examples():
    texts = lb.format("ntsc_drop", np.array([0, 1799, 1800, 17981, 17982, 2589407]))
    assert texts.tolist() == ["00:00:00;00", "00:00:59;29", "00:01:00;02", "00:09:59;29", "00:10:00;00",
                              "23:59:59;29"]
    assert lb.parse("ntsc_drop", texts).tolist() == [0, 1799, 1800, 17981, 17982, 2589407]


@pytest.mark.parametrize("width", range(1, 17))
def test_random_texts_of_every_width_same_by_both_routes(width):
    # The quick route reads str and bytes items of up to 16 characters in
    # whole words; texts of random characters (NULs, non-ASCII and digits
    # of other scripts among them) must read as the general route reads them.
    rng = np.random.default_rng(width)
    alphabet = list("0123456789:;.,- x") + ["é", "\u0660", "\x00"]
    texts = ["".join(rng.choice(alphabet, size=rng.integers(0, width + 1))) for _ in range(1500)]
    texts += [lb.format("29.97df", int(f)) for f in rng.integers(0, 2589408, size=100)]
    for arr in (np.array(texts, dtype="<U%d" % width), np.array([t.encode() for t in texts], dtype="S%d" % (2 * width))):
        for type_ in ("29.97df", "ntsc_drop", "25", "pal"):
            quick, general = both(lb.parse, type_, arr, errors="coerce")
            assert quick == general, (type_, arr.dtype)


def test_recycled_result_memory_never_holds_a_live_result():
    # A collected result's memory serves the next result; one still alive,
    # or seen through a view or a masked array, must keep its texts.
    frames = [np.arange(k, k + 300_000, dtype=np.int64) for k in (0, 1000, 2000, 3000)]
    want = [[lb.format("29.97df", int(f)) for f in fr[:: 9973]] for fr in frames]
    a = lb.format("29.97df", frames[0])
    view = a[:: 9973]
    masked = lb.format("29.97df", np.ma.masked_array(frames[1], mask=frames[1] % 2 == 0), errors="coerce")
    del a
    for _ in range(5):
        b = lb.format("29.97df", frames[2])
        del b
    c = lb.format("29.97df", frames[3])
    assert view.tolist() == want[0]
    assert [t for t, m in zip(np.ma.getdata(masked)[:: 9973].tolist(), np.ma.getmaskarray(masked)[:: 9973]) if not m] == \
        [t for t, f in zip(want[1], frames[1][:: 9973]) if f % 2]
    assert c[:: 9973].tolist() == want[3]


@pytest.mark.parametrize("type_", ["ntsc_drop", "pal", "29.97df", "119.88df"])
def test_large_columns_with_failures_inside_chunks_same_by_both_routes(type_):
    # A result past the size written with streaming stores, items the
    # general route must write (negative, past the day, missing) scattered
    # through the chunks, and a last chunk cut short.
    n = 300_001
    frames = (np.arange(n, dtype=np.int64) * 7919) % 6_000_000 - 1_000
    mask = np.arange(n) % 4099 == 0
    column = np.ma.masked_array(frames, mask=mask)
    quick, general = both(lb.format, type_, column, errors="coerce")
    assert quick == general
    assert any(quick[2]) and not all(quick[2])
