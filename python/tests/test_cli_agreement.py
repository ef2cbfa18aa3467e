"""The module and the command give the same answers and the same messages.

One table of `labels` command lines; each is also made into the module's
call that does the same (options become keywords: "--phase 3" phase=3,
"--drop-frame no" drop_frame=False, "--running" running=True). A row either
succeeds in both (the texts agree; a JSON document is the same object) or
fails in both (LabelError's message is the command's error line). Each
option and each kind of failure is taken once; the answers themselves are
the library's and are checked there.
"""

import json
import shlex

import pytest

import labelsbase as lb

CASES = [
    # format, by label type and by rate name
    "format pal 90000",
    "format tc_24 -- -1",
    "format keycode_35 788 --prefix KJ231234",
    "format 59.94df 107892",
    "format pal -- -100000000",
    "format keycode_35 99999999",
    "format keycode_35 5 --prefix KJ23",
    "format nonesuch 5",
    "format 25 5 --prefix KJ231234",
    # parse
    "parse pal 01:00:00:00",
    "parse F35 'KJ 23 1234 0012+05'",
    "parse 29.97df '00:01:00;02'",
    "parse pal zz",
    "parse keycode_35 KJ23123400x2+05",
    "parse pal " + "1" * 300,
    "parse foot 12+05",
    "parse 29.97df '00:01:00;00'",
    # convert
    "convert KJ2312340012+05 --from keycode_35 --to ntsc_drop --transfer pull23",
    "convert KJ2312340012+05 --from keycode_35 --to ntsc_drop@source_30i_1001 --transfer pull23 --phase 3",
    "convert 01:00:00+00 --from tc_24@film --to pal@source_25p --transfer pogle",
    "convert 12+05 --from foot_35 --to keycode_35 --prefix KJ231234",
    "convert KJ2312345681+07 --from keycode_35 --to ntsc_drop --transfer pull23 --sync 'KJ 23 1234 5678+00=01:00:00;00'",
    "convert 01:00:00:00 --from pal --to tc_24 --project-rate 25 --drop-frame no",
    "convert zz --from pal --to ntsc",
    "convert 01:00:00:00 --from pal --to ntsc --transfer sideways",
    "convert 01:00:00:00 --from pal --to ntsc --transfer pull23 --phase 7",
    "convert 01:00:00:00 --from pal@nowhere --to ntsc",
    "convert 01:00:00:00 --from pal --to ntsc --project-rate 26.5",
    # convert with rate names and the timecode options
    "convert '00:00:00;02' --from 29.97df --to 59.94df",
    "convert 01:00:00:00 --from 24 --to ntsc_drop --transfer pull23",
    "convert 25:00:00:00 --from 25 --to 24 --running",
    "convert -00:00:01:00 --from 25 --to 50 --signed",
    "convert 01:00:00.00 --from pal --to ntsc --style interchange",
    "convert 00:00:00:02 --from 50 --to 59.94df --style display",
    "convert 01:00:00:0 --from pal --to 25 --strict",
    # xlate
    "xlate 1.0 film source_30i_1001 --transfer pull23",
    "xlate 2.5 source_25p film --transfer pogle --phase 4",
    "xlate 1.0 film source_30i_1001 --project-rate 25",
    "xlate 9000000.0 film source_30i_1001",
    # calc
    "calc 01:00:00:00 + 100f --type pal",
    "calc KJ2312340012+05 + 64p --type keycode_35",
    "calc 01:00:00:00 + 2.5s --type pal --medium source_25i",
    "calc 01:00:00:00 x 1f --type pal",
    "calc 23:59:59:24 + 1f --type 25 --running",
    "calc 00:00:00:00 - 1f --type 25 --signed",
    "calc 01:00:00.00 + 1f --type pal --style interchange",
    "calc 1:00:00.00 + 1f --type pal --strict",
    # keep, the reference lists and the version: the command's JSON document
    "--json keep -- 'LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1'",
    "--json keep -- 'LABEL_REV:1 keycode_35_label KJ2312340012+05 64 0.0104166667 1 MediumRollId 1,2'",
    "--json keep --make --length 250f --medium source_25i,1st -- pal 01:00:00:00",
    "--json keep --make --end '01:00:10;00' -- ntsc_drop '01:00:00;00'",
    "--json keep -- 'LABEL_REV:9 pal_label  01:00:00.00 250 0.04 1'",
    "--json keep -- 'not a keep string'",
    "--json types",
    "--json types --all",
    "--json rates",
    "--json media",
    "--version",
]

FLAGS = {"running", "signed", "strict", "make", "all"}
NUMBERS = {"phase", "project_rate"}  # given as Python numbers


def module_call(argv):
    """The module's call for the command line argv."""
    argv = argv[1:] if argv[0] == "--json" else argv
    words, kw, it = [], {}, iter(argv[1:])
    for a in it:
        if a.startswith("--") and a != "--":
            key = a[2:].replace("-", "_")
            v = True if key in FLAGS else next(it)
            kw[key] = {"no": False, "yes": True}.get(v, int(v) if key in NUMBERS and v.isdigit() else v)
        elif a != "--":
            words.append(a)
    command = argv[0]
    if command == "format":
        return lambda: lb.format(words[0], int(words[1]), **kw)
    if command == "parse":
        return lambda: lb.parse(words[0], words[1], **kw)
    if command == "convert":
        return lambda: lb.convert(words[0], kw.pop("from"), kw.pop("to"), **kw)
    if command == "xlate":
        return lambda: lb.xlate(float(words[0]), words[1], words[2], **kw)
    if command == "calc":
        return lambda: lb.calc(" ".join(words), kw.pop("type"), **kw)
    if command == "--version":
        return lambda: "labels (labelsbase) " + lb.__version__
    return lambda: getattr(lb, command)(*words, **kw)  # keep, types, rates, media


@pytest.mark.parametrize("line", CASES, ids=[c[:60] for c in CASES])
def test_module_agrees_with_the_command(labels, line):
    argv = shlex.split(line)
    status, out, errors = labels(*argv)
    try:
        got = module_call(argv)()
    except lb.LabelError as e:
        assert status != 0, "the command succeeded with %r" % out
        assert str(e) == errors[0]
        return
    assert status == 0, "the command failed: %r" % errors
    if argv[0] == "--json":
        doc = json.loads("\n".join(out))
        assert got == (doc if argv[1] == "keep" else doc[argv[1]])
    else:
        assert (got == float(out[0])) if argv[0] == "xlate" else (str(got) == out[0])


def test_calc_takes_the_expression_as_words():
    assert lb.calc(["00:00:00:00", "-", "1f"], "pal") == lb.calc("00:00:00:00 - 1f", "pal") == "23:59:59.24"
