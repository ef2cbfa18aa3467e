"""Edit lists from Python agree with `labels edl` on the shipped lists."""

import json
import os

import pytest

import labelsbase as lb

EXAMPLES = os.path.join(os.path.dirname(__file__), "..", "..", "examples")


def ex(name):
    return os.path.normpath(os.path.join(EXAMPLES, name))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def rate_args(rate):
    return [] if rate is None else ["--rate", rate]


# (list, its rate); None is the command's default.
LISTS = [("film_cut.edl", None), ("edl/avid_ndf_crlf.edl", None), ("edl/cmx_splits.edl", None),
         ("edl/cut_23976.edl", "23.976"), ("edl/handtyped_bom_tabs.edl", None), ("edl/pal_cut.edl", "25"),
         ("edl/resolve_24.edl", "24")]
CUTLISTS = [("film_cut.edl", "film_cut_telecine.csv", None), ("edl/cut_23976.edl", "edl/cut_23976_telecine.csv", "23.976"),
            ("edl/pal_cut.edl", "edl/pal_telecine.csv", "25")]
CONVERSIONS = [("film_cut.edl", None, "29.97", None), ("film_cut.edl", None, "25", None),
               ("film_cut.edl", None, "23.976", "pulldown"), ("edl/avid_ndf_crlf.edl", None, "29.97df", None),
               ("edl/pal_cut.edl", "25", "24", "frame"), ("edl/resolve_24.edl", "24", "23.976", "frame")]
FILM = ex("film_cut.edl")

# The module's call and the command line that gives the same JSON document
# (--json) or list, or fails with the same message.
CASES = [
    *[(lambda n=n, r=r: lb.edl_check(ex(n), rate=r), ["--json", "edl", "check", ex(n), *rate_args(r)]) for n, r in LISTS],
    *[(lambda n=n, g=g, r=r: lb.edl_cutlist(ex(n), ex(g), rate=r),
       ["--json", "edl", "cutlist", ex(n), "--telecine", ex(g), *rate_args(r)]) for n, g, r in CUTLISTS],
    *[(lambda n=n, r=r, to=to, t=t: lb.edl_convert(ex(n), to, rate=r, transfer=t),
       ["edl", "convert", ex(n), "--to", to, *rate_args(r), *(["--transfer", t] if t else [])])
      for n, r, to, t in CONVERSIONS],
    (lambda: lb.edl_check(FILM, rate="31.5"), ["edl", "check", FILM, "--rate", "31.5"]),
    (lambda: lb.edl_check("/no/such/list.edl"), ["edl", "check", "/no/such/list.edl"]),
    (lambda: lb.edl_convert(FILM, "nope"), ["edl", "convert", FILM, "--to", "nope"]),
    (lambda: lb.edl_convert(FILM, "29.97", transfer="sideways"),
     ["edl", "convert", FILM, "--to", "29.97", "--transfer", "sideways"]),
    (lambda: lb.edl_convert(FILM, "29.97df", record_start="99:00:00;00"),
     ["edl", "convert", FILM, "--to", "29.97df", "--record-start", "99:00:00;00"]),
    (lambda: lb.edl_cutlist(FILM, "/no/such/log.csv"), ["edl", "cutlist", FILM, "--telecine", "/no/such/log.csv"]),
    # The lists given as their text or their bytes, a log as its text.
    *[(lambda n=n, r=r, i=i: lb.edl_check(read(ex(n)) if i % 2 else read(ex(n)).decode("utf-8"), rate=r),
       ["--json", "edl", "check", ex(n), *rate_args(r)]) for i, (n, r) in enumerate(LISTS)],
    *[(lambda n=n, g=g, r=r: lb.edl_cutlist(ex(n), read(ex(g)).decode("utf-8"), rate=r),
       ["--json", "edl", "cutlist", ex(n), "--telecine", ex(g), *rate_args(r)]) for n, g, r in CUTLISTS],
]


@pytest.mark.parametrize("call,argv", CASES, ids=[" ".join(os.path.basename(a) for a in argv) for _, argv in CASES])
def test_module_gives_the_commands_document(labels_bytes, call, argv):
    status, out, err = labels_bytes(*argv)
    try:
        got = call()
    except lb.LabelError as e:
        assert status != 0 and "labels: error: " + str(e) in err
        return
    if argv[0] == "--json":
        assert got == json.loads(out) and list(got) == list(json.loads(out))  # the command's key order too
        assert got.get("events", True)
    else:
        assert status == 0 and got.encode("utf-8") == out


def test_bad_lists_report_problems_not_exceptions():
    doc = lb.edl_check("TITLE: X\nFCM: DROP FRAME\n001  AX V C 01:00:00;00 01:00:01;00 01:00:00;00\n"
                       "002  AX V C 01:00:99;00 01:00:01;00 01:00:00;00 01:00:01;00\n")
    assert doc["title"] == "X"
    assert [(p["line"], p["severity"]) for p in doc["problems"]][:2] == [(3, "error"), (4, "error")]


@pytest.mark.parametrize("bad", [12, None, ["a"]])
def test_wrong_argument_types(bad):
    with pytest.raises(TypeError):
        lb.edl_check(bad)
