"""Timecode rate names in the column functions: whole-day round trips
through arrays, and the failures of a column marked where they are."""

import numpy as np
import pytest

import labelsbase as lb

RATES = ["23.976", "24", "25", "29.97", "29.97df", "30", "47.952", "50", "59.94df", "60", "72", "100",
         "119.88df", "240"]


@pytest.mark.parametrize("rate", RATES)
def test_a_day_of_frames_round_trips_and_agrees_with_timecode(rate):
    day = lb.parse(rate, lb.format(rate, -1)) + 1  # frame -1 wraps to the day's last
    assert lb.format(rate, day) == lb.format(rate, 0)
    frames = np.unique(np.concatenate([np.arange(0, 5000), np.linspace(0, day - 1, 4001).astype(np.int64)]))
    texts = lb.format(rate, frames)
    assert texts.shape == frames.shape
    assert np.array_equal(lb.parse(rate, texts), frames)
    for f in frames[:: max(1, len(frames) // 50)]:
        assert texts[np.searchsorted(frames, f)] == str(lb.Timecode(rate, int(f)))


@pytest.mark.parametrize("rate,texts,bad", [
    ("29.97df", ["00:00:59;29", "00:01:00;00", "00:01:00;02", "00:10:00;00"], [False, True, False, False]),
    ("25", ["00:00:00:24", "00:00:00:25", "24:00:00:00", "1:00:00:00"], [False, True, True, True]),
    ("59.94df", ["00:01:00;04", "00:01:00;03", "00:10:00;00", "00:00:00:00"], [False, True, False, True]),
])
def test_unreadable_texts_are_masked_in_place(rate, texts, bad):
    got = lb.parse(rate, np.array(texts), errors="coerce")
    assert list(np.ma.getmaskarray(got)) == bad
    with pytest.raises(lb.LabelError, match="as %s timecode" % rate.replace(".", r"\.")):
        lb.parse(rate, texts)


@pytest.mark.parametrize("src,dst,text,want", [
    ("29.97df", "59.94df", "00:00:00;02", "00:00:00;04"),
    ("59.94df", "29.97df", "00:00:00;04", "00:00:00;02"),
    ("25", "50", "01:00:00:24", "01:00:00:48"),
    ("24", "24", "12:34:56:07", "12:34:56:07"),
])
def test_convert_between_rate_names_in_columns(src, dst, text, want):
    got = lb.convert(np.array([text] * 100), src, dst)
    assert list(got) == [want] * 100
    assert lb.convert([text, None], src, dst, errors="coerce") == [want, None]


# format and parse take the command's timecode options; the quick route
# (the rate's writer and reader straight on the column) and the general one
# (the command's per-item writer and reader) must agree on texts, masks and
# messages, and both with `labels`.
OPTION_CASES = [
    ("29.97df", {}), ("25", {"running": True}), ("29.97df", {"signed": True}),
    ("59.94df", {"running": True, "signed": True}), ("ntsc_drop", {"style": "interchange"}),
    ("pal", {"running": True}), ("25", {"style": "display"}), ("29.97df", {"style": "display"}),
    ("119.88df", {"signed": True}),
]


def both_routes(fn, *args, **kw):
    out = []
    for fast in (True, False):
        was = lb._core._fast_timecode(fast)
        try:
            r = fn(*args, **kw)
            out.append(("ok", np.ma.getdata(r).tolist(), np.ma.getmaskarray(r).tolist()))
        except lb.LabelError as e:
            out.append(("error", str(e), e.index))
        finally:
            lb._core._fast_timecode(was)
    return out


@pytest.mark.parametrize("type_,opts", OPTION_CASES)
def test_options_give_the_same_by_both_routes(type_, opts):
    frames = np.concatenate([np.arange(-30, 30), np.arange(0, 12_000_000, 9973), [2**31 - 1, -2**31, 2**40]])
    quick, general = both_routes(lb.format, type_, frames, errors="coerce", **opts)
    assert quick == general
    texts = [t for t, bad in zip(quick[1], quick[2]) if not bad]
    read_opts = {k: v for k, v in opts.items() if k != "style"}
    if "style" not in opts:
        read_opts["strict"] = True
        texts += [" " + texts[3], texts[4] + " ", texts[5][:-1], "00:01:00;00", "-00:00:00:01", "", "x"]
        quick, general = both_routes(lb.parse, type_, np.array(texts), errors="coerce", **read_opts)
        assert quick == general
        assert both_routes(lb.parse, type_, np.array(texts), **read_opts)[0] == \
            both_routes(lb.parse, type_, np.array(texts), **read_opts)[1]


@pytest.mark.parametrize("type_,opts", OPTION_CASES)
def test_options_agree_with_the_command(labels, type_, opts):
    flags = ["--%s" % k if v is True else "--%s=%s" % (k, v) for k, v in opts.items()]
    frames = [0, 1799, 1800, 2589408 + 17982, -2]
    for f in frames:
        status, out, err = labels("format", type_, str(f), *flags)
        try:
            got = lb.format(type_, [f], **opts)[0]
            assert status == 0 and out == [got]
        except lb.LabelError as e:
            assert status != 0 and err == [str(e)]


@pytest.mark.parametrize("type_,opts,want", [
    ("25", {"running": True}, ["25:00:00:00", "-00:00:00:01"]),
    ("29.97df", {"signed": True}, ["01:00:00;00", "-00:00:00;01"]),
    ("59.94df", {"running": True, "signed": True}, ["25:00:00;00", "-00:00:00;01"]),
])
def test_running_and_signed_worked_examples(type_, opts, want):
    fps = {"25": 25, "29.97df": 30, "59.94df": 60}[type_]
    hours = 25 if opts.get("running") else 1
    first = hours * 3600 * fps - (0 if type_ == "25" else 18 * fps // 30 * 6 * hours)
    if not opts.get("signed"):
        want = want[:1]
    frames = [first, -1][: len(want)]
    assert lb.format(type_, np.array(frames), **opts).tolist() == want
    assert lb.parse(type_, want, **opts) == frames


# Timecode.to takes every transfer `labels convert` takes between two rate
# names, with its answers and its refusals.
@pytest.mark.parametrize("src,text,dst,opts,want", [
    ("23.976", "00:16:40:00", "29.97df", {"transfer": "pull23"}, "00:16:41;00"),  # 24000 film frames -> 30000
    ("24", "01:00:00:00", "29.97df", {"transfer": "pull23"}, "01:00:03;18"),      # 86400 -> 108000
    ("29.97", "00:00:00:05", "23.976", {"transfer": "pull23"}, "00:00:00:04"),
    ("24", "01:00:00:00", "59.94df", {"transfer": "pull23", "phase": "B"}, "01:00:03;36"),
    ("24", "01:00:00:00", "25", {"transfer": "pogle"}, "01:00:00:00"),
    ("24", "01:00:00:00", "50", {"transfer": "pogle"}, "01:00:00:00"),
    ("24", "01:00:00:00", "25", {"transfer": "frame"}, "00:57:36:00"),
    ("24", "01:00:00:00", "25", {"transfer": "default"}, "00:57:36:00"),
    ("29.97df", "00:00:00;02", "59.94df", {"transfer": "real_time"}, "00:00:00;04"),
])
def test_to_through_every_transfer_agrees_with_convert(labels, src, text, dst, opts, want):
    got = lb.Timecode(src, text).to(dst, **opts)
    assert str(got) == want and got.rate == dst
    flags = ["--%s=%s" % kv for kv in opts.items()]
    assert labels("convert", text, "--from", src, "--to", dst, *flags)[1] == [want]


@pytest.mark.parametrize("src,frame,dst,opts,message", [
    ("25", 0, "29.97df", {"transfer": "pull23"}, "25 fps video takes pogle"),
    ("72", 0, "60", {"transfer": "pull23"}, "no label type counts 72 timecode"),
    ("24", -5, "29.97df", {"transfer": "pull23"}, "outside the day"),
    ("24", 24 * 86400, "29.97df", {"transfer": "pull23"}, "outside the day"),
    ("24", 0, "25", {"transfer": "bogus"}, "unknown transfer 'bogus'"),
])
def test_to_refuses_what_convert_refuses(src, frame, dst, opts, message):
    with pytest.raises(lb.LabelError, match=message):
        lb.Timecode(src, frame).to(dst, **opts)
