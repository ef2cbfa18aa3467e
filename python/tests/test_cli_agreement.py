"""The module and the command give the same answers and the same messages.

One table of cases: each row is a Python call and the `labels` command line
that does the same; a row either succeeds in both (the texts agree) or fails
in both (LabelError's message is the command's error line).
"""

import pytest

import labelsbase as lb

CASES = [
    # format
    (lambda: lb.format("pal", 90000), ["format", "pal", "90000"]),
    (lambda: lb.format("ntsc_drop", 1800), ["format", "ntsc_drop", "1800"]),
    (lambda: lb.format("ND", 107892), ["format", "ND", "107892"]),
    (lambda: lb.format("tc_24", -1), ["format", "tc_24", "--", "-1"]),
    (lambda: lb.format("tc_60", 215999), ["format", "tc_60", "215999"]),
    (lambda: lb.format("keycode_35", 788, prefix="KJ231234"), ["format", "keycode_35", "788", "--prefix", "KJ231234"]),
    (lambda: lb.format("foot_35", -5), ["format", "foot_35", "--", "-5"]),
    (lambda: lb.format("ink_16", 400), ["format", "ink_16", "400"]),
    (lambda: lb.format("pal", -100000000), ["format", "pal", "--", "-100000000"]),
    (lambda: lb.format("keycode_35", 99999999), ["format", "keycode_35", "99999999"]),
    (lambda: lb.format("keycode_35", 5, prefix="KJ23"), ["format", "keycode_35", "5", "--prefix", "KJ23"]),
    (lambda: lb.format("nonesuch", 5), ["format", "nonesuch", "5"]),
    # format by rate name: interchange text
    (lambda: lb.format("59.94df", 107892), ["format", "59.94df", "107892"]),
    (lambda: lb.format("29.97df", 1800), ["format", "29.97df", "1800"]),
    (lambda: lb.format("29.97df", 17982), ["format", "29.97df", "17982"]),
    (lambda: lb.format("25", 90000), ["format", "25", "90000"]),
    (lambda: lb.format("23.976", 86399), ["format", "23.976", "86399"]),
    (lambda: lb.format("119.88df", 431568), ["format", "119.88df", "431568"]),
    (lambda: lb.format("240", 239), ["format", "240", "239"]),
    (lambda: lb.format("72", 4320), ["format", "72", "4320"]),
    (lambda: lb.format("47.952", 47), ["format", "47.952", "47"]),
    (lambda: lb.format("60/1.001", 3600), ["format", "60/1.001", "3600"]),
    (lambda: lb.format("30", 30 * 86400), ["format", "30", str(30 * 86400)]),
    (lambda: lb.format("25", -1), ["format", "25", "--", "-1"]),
    (lambda: lb.format("25", 5, prefix="KJ231234"), ["format", "25", "5", "--prefix", "KJ231234"]),
    (lambda: lb.format("25df", 5), ["format", "25df", "5"]),
    # parse by rate name: strict interchange text
    (lambda: lb.parse("29.97df", "00:01:00;02"), ["parse", "29.97df", "00:01:00;02"]),
    (lambda: lb.parse("59.94df", "00:30:00;00"), ["parse", "59.94df", "00:30:00;00"]),
    (lambda: lb.parse("25", "23:59:59:24"), ["parse", "25", "23:59:59:24"]),
    (lambda: lb.parse("24", "01:00:00:00"), ["parse", "24", "01:00:00:00"]),
    (lambda: lb.parse("100", "00:00:01:99"), ["parse", "100", "00:00:01:99"]),
    (lambda: lb.parse("29.97df", "00:01:00;00"), ["parse", "29.97df", "00:01:00;00"]),
    (lambda: lb.parse("29.97df", "00:01:00:02"), ["parse", "29.97df", "00:01:00:02"]),
    (lambda: lb.parse("25", "00:00:00:25"), ["parse", "25", "00:00:00:25"]),
    (lambda: lb.parse("25", "01:00:00.00"), ["parse", "25", "01:00:00.00"]),
    (lambda: lb.parse("24", "24:00:00:00"), ["parse", "24", "24:00:00:00"]),
    (lambda: lb.parse("30", "1:00:00:00"), ["parse", "30", "1:00:00:00"]),
    (lambda: lb.parse("59.94df", "00:10:00;00"), ["parse", "59.94df", "00:10:00;00"]),
    (lambda: lb.parse("59.94df", "00:11:00;02"), ["parse", "59.94df", "00:11:00;02"]),
    # parse
    (lambda: lb.parse("pal", "01:00:00:00"), ["parse", "pal", "01:00:00:00"]),
    (lambda: lb.parse("ntsc_drop", "00:01:00;02"), ["parse", "ntsc_drop", "00:01:00;02"]),
    (lambda: lb.parse("F35", "KJ 23 1234 0012+05"), ["parse", "F35", "KJ 23 1234 0012+05"]),
    (lambda: lb.parse("foot_35", "12+05"), ["parse", "foot_35", "12+05"]),
    (lambda: lb.parse("foot_35", "-1+00"), ["parse", "foot_35", "--", "-1+00"]),
    (lambda: lb.parse("pal", "zz"), ["parse", "pal", "zz"]),
    (lambda: lb.parse("keycode_35", "KJ23123400x2+05"), ["parse", "keycode_35", "KJ23123400x2+05"]),
    (lambda: lb.parse("pal", "1" * 300), ["parse", "pal", "1" * 300]),
    (lambda: lb.parse("foot", "12+05"), ["parse", "foot", "12+05"]),
    # convert
    (lambda: lb.convert("KJ2312340012+05", "keycode_35", "ntsc_drop", transfer="pull23"),
     ["convert", "KJ2312340012+05", "--from", "keycode_35", "--to", "ntsc_drop", "--transfer", "pull23"]),
    (lambda: lb.convert("KJ2312340012+05", "keycode_35", "ntsc_drop@source_30i_1001", transfer="pull23", phase=3),
     ["convert", "KJ2312340012+05", "--from", "keycode_35", "--to", "ntsc_drop@source_30i_1001",
      "--transfer", "pull23", "--phase", "3"]),
    (lambda: lb.convert("01:00:00+00", "tc_24@film", "pal@source_25p", transfer="pogle"),
     ["convert", "01:00:00+00", "--from", "tc_24@film", "--to", "pal@source_25p", "--transfer", "pogle"]),
    (lambda: lb.convert("12+05", "foot_35", "keycode_35", prefix="KJ231234"),
     ["convert", "12+05", "--from", "foot_35", "--to", "keycode_35", "--prefix", "KJ231234"]),
    (lambda: lb.convert("KJ2312345681+07", "keycode_35", "ntsc_drop", transfer="pull23",
                        sync="KJ 23 1234 5678+00=01:00:00;00"),
     ["convert", "KJ2312345681+07", "--from", "keycode_35", "--to", "ntsc_drop", "--transfer", "pull23",
      "--sync", "KJ 23 1234 5678+00=01:00:00;00"]),
    (lambda: lb.convert("01:00:00:00", "pal", "tc_24", project_rate=25, drop_frame=False),
     ["convert", "01:00:00:00", "--from", "pal", "--to", "tc_24", "--project-rate", "25", "--drop-frame", "no"]),
    (lambda: lb.convert("zz", "pal", "ntsc"), ["convert", "zz", "--from", "pal", "--to", "ntsc"]),
    (lambda: lb.convert("01:00:00:00", "pal", "ntsc", transfer="sideways"),
     ["convert", "01:00:00:00", "--from", "pal", "--to", "ntsc", "--transfer", "sideways"]),
    (lambda: lb.convert("01:00:00:00", "pal", "ntsc", transfer="pull23", phase=7),
     ["convert", "01:00:00:00", "--from", "pal", "--to", "ntsc", "--transfer", "pull23", "--phase", "7"]),
    (lambda: lb.convert("01:00:00:00", "pal", "ntsc", transfer="pogle", phase=30),
     ["convert", "01:00:00:00", "--from", "pal", "--to", "ntsc", "--transfer", "pogle", "--phase", "30"]),
    (lambda: lb.convert("01:00:00:00", "pal@nowhere", "ntsc"), ["convert", "01:00:00:00", "--from", "pal@nowhere", "--to", "ntsc"]),
    (lambda: lb.convert("01:00:00:00", "pal", "ntsc", project_rate="26.5"),
     ["convert", "01:00:00:00", "--from", "pal", "--to", "ntsc", "--project-rate", "26.5"]),
    # convert with rate names: by real time between two rates, through the
    # library's translation with a label type at one end
    (lambda: lb.convert("00:00:00;02", "29.97df", "59.94df"),
     ["convert", "00:00:00;02", "--from", "29.97df", "--to", "59.94df"]),
    (lambda: lb.convert("01:00:00:00", "25", "24"), ["convert", "01:00:00:00", "--from", "25", "--to", "24"]),
    (lambda: lb.convert("00:10:00;00", "29.97df", "29.97"), ["convert", "00:10:00;00", "--from", "29.97df", "--to", "29.97"]),
    (lambda: lb.convert("00:00:01:00", "23.976", "119.88df"),
     ["convert", "00:00:01:00", "--from", "23.976", "--to", "119.88df"]),
    (lambda: lb.convert("01:00:00:00", "24", "ntsc_drop", transfer="pull23"),
     ["convert", "01:00:00:00", "--from", "24", "--to", "ntsc_drop", "--transfer", "pull23"]),
    (lambda: lb.convert("01:00:00:00", "pal", "25"), ["convert", "01:00:00:00", "--from", "pal", "--to", "25"]),
    (lambda: lb.convert("00:01:00;00", "29.97df", "25"), ["convert", "00:01:00;00", "--from", "29.97df", "--to", "25"]),
    (lambda: lb.convert("01:00:00:00", "25", "nonesuch"), ["convert", "01:00:00:00", "--from", "25", "--to", "nonesuch"]),
    # convert with the timecode options
    (lambda: lb.convert("25:00:00:00", "25", "24", running=True),
     ["convert", "25:00:00:00", "--from", "25", "--to", "24", "--running"]),
    (lambda: lb.convert("25:00:00:00", "25", "24"), ["convert", "25:00:00:00", "--from", "25", "--to", "24"]),
    (lambda: lb.convert("-00:00:01:00", "25", "50", signed=True),
     ["convert", "-00:00:01:00", "--from", "25", "--to", "50", "--signed"]),
    (lambda: lb.convert("-00:00:01:00", "25", "50"), ["convert", "-00:00:01:00", "--from", "25", "--to", "50"]),
    (lambda: lb.convert("01:00:00.00", "pal", "ntsc", style="interchange"),
     ["convert", "01:00:00.00", "--from", "pal", "--to", "ntsc", "--style", "interchange"]),
    (lambda: lb.convert("00:00:00:02", "50", "59.94df", style="display"),
     ["convert", "00:00:00:02", "--from", "50", "--to", "59.94df", "--style", "display"]),
    (lambda: lb.convert("01:00:00.00", "pal", "25", strict=True),
     ["convert", "01:00:00.00", "--from", "pal", "--to", "25", "--strict"]),
    (lambda: lb.convert("01:00:00:0", "pal", "25", strict=True),
     ["convert", "01:00:00:0", "--from", "pal", "--to", "25", "--strict"]),
    (lambda: lb.convert("01:00:00:00", "pal", "ntsc", style="sideways"),
     ["convert", "01:00:00:00", "--from", "pal", "--to", "ntsc", "--style", "sideways"]),
    # xlate
    (lambda: lb.xlate(1.0, "film", "source_30i_1001", transfer="pull23"),
     ["xlate", "1.0", "film", "source_30i_1001", "--transfer", "pull23"]),
    (lambda: lb.xlate(2.5, "source_25p", "film", transfer="pogle", phase=4),
     ["xlate", "2.5", "source_25p", "film", "--transfer", "pogle", "--phase", "4"]),
    (lambda: lb.xlate(1.0, "film", "source_30i_1001", project_rate=25),
     ["xlate", "1.0", "film", "source_30i_1001", "--project-rate", "25"]),
    (lambda: lb.xlate(9e6, "film", "source_30i_1001"), ["xlate", "9000000.0", "film", "source_30i_1001"]),
    # calc
    (lambda: lb.calc("01:00:00:00 + 100f", "pal"), ["calc", "01:00:00:00", "+", "100f", "--type", "pal"]),
    (lambda: lb.calc(["00:00:00:00", "-", "1f"], "pal"), ["calc", "00:00:00:00", "-", "1f", "--type", "pal"]),
    (lambda: lb.calc("00:59:59;29 + 1f", "ntsc_drop"), ["calc", "00:59:59;29", "+", "1f", "--type", "ntsc_drop"]),
    (lambda: lb.calc("KJ2312340012+05 + 64p", "keycode_35"), ["calc", "KJ2312340012+05", "+", "64p", "--type", "keycode_35"]),
    (lambda: lb.calc("01:00:00:00 + 2.5s", "pal", medium="source_25i"),
     ["calc", "01:00:00:00", "+", "2.5s", "--type", "pal", "--medium", "source_25i"]),
    (lambda: lb.calc("01:00:00:00 x 1f", "pal"), ["calc", "01:00:00:00", "x", "1f", "--type", "pal"]),
    (lambda: lb.calc("01:00:00:00 + 5p", "pal"), ["calc", "01:00:00:00", "+", "5p", "--type", "pal"]),
    (lambda: lb.calc("00:00:59;29 + 1f", "29.97df"), ["calc", "00:00:59;29", "+", "1f", "--type", "29.97df"]),
    (lambda: lb.calc("00:00:00:00 + 1s", "59.94"), ["calc", "00:00:00:00", "+", "1s", "--type", "59.94"]),
    (lambda: lb.calc("00:01:00;00 + 1f", "29.97df"), ["calc", "00:01:00;00", "+", "1f", "--type", "29.97df"]),
    (lambda: lb.calc("23:59:59:24 + 1f", "25", running=True), ["calc", "23:59:59:24", "+", "1f", "--type", "25", "--running"]),
    (lambda: lb.calc("00:00:00:00 - 1f", "25", signed=True), ["calc", "00:00:00:00", "-", "1f", "--type", "25", "--signed"]),
    (lambda: lb.calc("01:00:00.00 + 1f", "pal", style="interchange"),
     ["calc", "01:00:00.00", "+", "1f", "--type", "pal", "--style", "interchange"]),
    (lambda: lb.calc("1:00:00.00 + 1f", "pal", strict=True), ["calc", "1:00:00.00", "+", "1f", "--type", "pal", "--strict"]),
]


def _text(value):
    return repr(value) if isinstance(value, float) else str(value)


@pytest.mark.parametrize("call,argv", CASES, ids=[" ".join(a)[:60] for _, a in CASES])
def test_module_agrees_with_the_command(labels, call, argv):
    status, out, errors = labels(*argv)
    try:
        got = call()
    except lb.LabelError as e:
        assert status != 0, "the command succeeded with %r" % out
        assert str(e) == errors[0]
        return
    assert status == 0, "the command failed: %r" % errors
    if argv[0] == "xlate":
        assert got == float(out[0])
    else:
        assert _text(got) == out[0]


@pytest.mark.parametrize("argv,kwargs", [
    (["LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1"], {}),
    (["LABEL_REV:1 keycode_35_label KJ2312340012+05 64 0.0104166667 1 MediumRollId 1,2"], {}),
    (["pal", "01:00:00:00"], {"make": True, "length": "250f", "medium": "source_25i,1st"}),
    (["ntsc_drop", "01:00:00;00"], {"make": True, "end": "01:00:10;00"}),
    (["LABEL_REV:9 pal_label  01:00:00.00 250 0.04 1"], {}),
    (["not a keep string"], {}),
])
def test_keep_is_the_command_document(labels, argv, kwargs):
    import json
    flags = []
    for k, v in kwargs.items():
        flags += ["--" + k] if v is True else ["--" + k, v]
    status, out, errors = labels("--json", "keep", *flags, "--", *argv)
    try:
        got = lb.keep(*argv, **kwargs)
    except lb.LabelError as e:
        assert status != 0 and str(e) == errors[0]
        return
    assert status == 0 and got == json.loads("\n".join(out))


@pytest.mark.parametrize("name,flags", [("types", []), ("types", ["--all"]), ("rates", []), ("media", [])])
def test_reference_lists_are_the_command_rows(labels, name, flags):
    import json
    status, out, _ = labels("--json", name, *flags)
    rows = getattr(lb, name)(**({"all": True} if flags else {}))
    assert status == 0 and rows == json.loads("\n".join(out))[name]


def test_version_is_the_command_version(labels):
    status, out, _ = labels("--version")
    assert status == 0 and out == ["labels (labelsbase) " + lb.__version__]
