"""The Timecode, KeyKode and Feet values."""

import pytest

import labelsbase as lb
from labelsbase import Feet, KeyKode, Timecode


@pytest.mark.parametrize("rate,text,frames", [
    ("25", "01:00:00:00", 90000),
    (25, "23:59:59:24", 2159999),
    ("29.97df", "00:01:00;02", 1800),
    ("59.94df", "00:01:00;04", 3600),
    (23.976, "10:00:00:00", 864000),
])
def test_text_and_frames_both_ways(rate, text, frames):
    t = Timecode(rate, text)
    assert t.frames == frames and str(t) == text
    assert Timecode(rate, frames) == t and hash(Timecode(rate, frames)) == hash(t)
    assert eval(repr(t), {"Timecode": Timecode}) == t


@pytest.mark.parametrize("rate,text,field", [
    ("29.97df", "00:01:00;00", "skipped"),
    ("29.97df", "00:01:00:02", "separator"),
    ("30df", "00:00:00;00", "rate"),
    ("", "00:00:00:00", "rate"),
])
def test_strict_reading_names_the_fault(rate, text, field):
    with pytest.raises(lb.LabelError, match=field):
        Timecode(rate, text)


def test_arithmetic_wraps_only_in_the_text():
    t = Timecode("29.97df", "00:00:59;29")
    assert str(t + 1) == "00:01:00;02" and str(1 + t) == "00:01:00;02"
    assert (t + 1) - t == Timecode("29.97df", 1)
    assert str(t - Timecode("29.97df", 1)) == "00:00:59;28"
    assert str(Timecode("25", 0) - 1) == "23:59:59:24" and (Timecode("25", 0) - 1).frames == -1
    day = Timecode("25", "23:59:59:24") + 1
    assert day.frames == 2160000 and str(day) == "00:00:00:00" and repr(day) == "Timecode('25', 2160000)"
    assert Timecode("25", 5) < Timecode("25", 6) <= Timecode("25", 6) and Timecode("25", 7) > Timecode("25", 6)
    assert Timecode("25", 5) != Timecode("24", 5)
    assert len({Timecode("25", 5), Timecode("25", 5), Timecode("24", 5)}) == 2
    with pytest.raises(lb.LabelError, match="different rates"):
        Timecode("25", 5) + Timecode("24", 5)
    with pytest.raises(lb.LabelError, match="different rates"):
        Timecode("25", 5) < Timecode("24", 5)
    with pytest.raises(TypeError):
        Timecode("25", 5) + 1.5
    assert Timecode("29.97df", 0).fields == (0, 0, 0, 0) and Timecode("29.97df", 1800).fields == (0, 1, 0, 2)
    assert Timecode("29.97", 30000).seconds == 1001 and Timecode("50", 1).fps == 50


def test_keykode_values():
    k = KeyKode("keycode_35", "KJ 23 1234 0012+05")
    assert (k.sample, k.prefix, k.frame, k.perforation, str(k)) == (788, "KJ231234", 197, 0, "KJ2312340012+05")
    assert k == KeyKode("F35", 788, prefix="KJ231234") and hash(k) == hash(KeyKode("F35", 788, prefix="KJ231234"))
    assert str(k + 64) == "KJ2312340013+05" and (k + 64) - k == 64 and str(k - 4) == "KJ2312340012+04"
    assert k < k + 4 and repr(k) == "KeyKode('keycode_35', 'KJ2312340012+05')"
    other_roll = KeyKode("keycode_35", "KJ2312350012+05")
    assert other_roll != k
    with pytest.raises(lb.LabelError, match="different rolls"):
        other_roll - k
    assert k.to("foot_35") == Feet("foot_35", "12+05")
    assert k.to("ntsc_drop", transfer="pull23") == "00:00:08;06"
    with pytest.raises(lb.LabelError, match="cannot read"):
        KeyKode("keycode_35", "KJ23")
    with pytest.raises(lb.LabelError, match="not KeyKode"):
        KeyKode("pal", 5)


def test_feet_values():
    f = Feet("foot_35", "12+05")
    assert (f.sample, str(f), f.frame) == (788, "0012+05", 197)
    assert str(f + Feet("foot_35", "0+03")) == "0012+08" and str(f - Feet("foot_35", "12+05")) == "0000+00"
    assert str(Feet("foot_35", 0) - 4) == lb.format("foot_35", -4)
    assert f.to("keycode_35", prefix="KJ231234") == KeyKode("keycode_35", "KJ2312340012+05")
    with pytest.raises(lb.LabelError):
        f + Feet("foot_16", 0)
