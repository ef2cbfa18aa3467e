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
