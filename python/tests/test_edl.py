"""Edit lists from Python agree with `labels edl` on the shipped lists."""

import json
import os

import pytest

import labelsbase as lb

EXAMPLES = os.path.join(os.path.dirname(__file__), "..", "..", "examples")


def ex(name):
    return os.path.normpath(os.path.join(EXAMPLES, name))


def rate_args(rate):
    return [] if rate is None else ["--rate", rate]


# (list, its rate); None is the command's default.
LISTS = [("film_cut.edl", None), ("edl/avid_ndf_crlf.edl", None), ("edl/cmx_splits.edl", None),
         ("edl/cut_23976.edl", "23.976"), ("edl/handtyped_bom_tabs.edl", None), ("edl/pal_cut.edl", "25"),
         ("edl/resolve_24.edl", "24")]


@pytest.mark.parametrize("name,rate", LISTS)
def test_check_is_the_commands_document(labels_bytes, name, rate):
    _, out, _ = labels_bytes("--json", "edl", "check", ex(name), *rate_args(rate))
    want = json.loads(out)
    got = lb.edl_check(ex(name), rate=rate)
    assert got == want and list(got) == list(want)  # the command's key order too
    # The list given as its bytes or its text reads the same as from its file.
    with open(ex(name), "rb") as f:
        data = f.read()
    assert lb.edl_check(data, rate=rate) == want
    assert lb.edl_check(data.decode("utf-8"), rate=rate) == want


@pytest.mark.parametrize("name,log,rate", [
    ("film_cut.edl", "film_cut_telecine.csv", None),
    ("edl/cut_23976.edl", "edl/cut_23976_telecine.csv", "23.976"),
    ("edl/pal_cut.edl", "edl/pal_telecine.csv", "25"),
])
def test_cutlist_is_the_commands_document(labels_bytes, name, log, rate):
    _, out, _ = labels_bytes("--json", "edl", "cutlist", ex(name), "--telecine", ex(log), *rate_args(rate))
    want = json.loads(out)
    assert want["events"] and lb.edl_cutlist(ex(name), ex(log), rate=rate) == want
    with open(ex(log)) as f:
        assert lb.edl_cutlist(ex(name), f.read(), rate=rate) == want


@pytest.mark.parametrize("name,rate,to,transfer", [
    ("film_cut.edl", None, "29.97", None),
    ("film_cut.edl", None, "25", None),
    ("film_cut.edl", None, "23.976", "pulldown"),
    ("edl/avid_ndf_crlf.edl", None, "29.97df", None),
    ("edl/pal_cut.edl", "25", "24", "frame"),
    ("edl/resolve_24.edl", "24", "23.976", "frame"),
])
def test_convert_gives_the_commands_list(labels_bytes, name, rate, to, transfer):
    status, out, err = labels_bytes("edl", "convert", ex(name), "--to", to, *rate_args(rate),
                                    *(["--transfer", transfer] if transfer else []))
    if status == 0:
        assert lb.edl_convert(ex(name), to, rate=rate, transfer=transfer).encode("utf-8") == out
    else:
        with pytest.raises(lb.LabelError) as e:
            lb.edl_convert(ex(name), to, rate=rate, transfer=transfer)
        assert "labels: error: " + str(e.value) in err


@pytest.mark.parametrize("call,args", [
    (lambda: lb.edl_check(ex("film_cut.edl"), rate="31.5"), ["edl", "check", ex("film_cut.edl"), "--rate", "31.5"]),
    (lambda: lb.edl_check("/no/such/list.edl"), ["edl", "check", "/no/such/list.edl"]),
    (lambda: lb.edl_convert(ex("film_cut.edl"), "nope"), ["edl", "convert", ex("film_cut.edl"), "--to", "nope"]),
    (lambda: lb.edl_convert(ex("film_cut.edl"), "29.97", transfer="sideways"),
     ["edl", "convert", ex("film_cut.edl"), "--to", "29.97", "--transfer", "sideways"]),
    (lambda: lb.edl_convert(ex("film_cut.edl"), "29.97df", record_start="99:00:00;00"),
     ["edl", "convert", ex("film_cut.edl"), "--to", "29.97df", "--record-start", "99:00:00;00"]),
    (lambda: lb.edl_cutlist(ex("film_cut.edl"), "/no/such/log.csv"),
     ["edl", "cutlist", ex("film_cut.edl"), "--telecine", "/no/such/log.csv"]),
])
def test_failures_raise_the_commands_message(labels_bytes, call, args):
    status, _, err = labels_bytes(*args)
    with pytest.raises(lb.LabelError) as e:
        call()
    assert status != 0 and "labels: error: " + str(e.value) in err


def test_bad_lists_report_problems_not_exceptions():
    doc = lb.edl_check("TITLE: X\nFCM: DROP FRAME\n001  AX V C 01:00:00;00 01:00:01;00 01:00:00;00\n"
                       "002  AX V C 01:00:99;00 01:00:01;00 01:00:00;00 01:00:01;00\n")
    assert doc["title"] == "X"
    assert [(p["line"], p["severity"]) for p in doc["problems"]][:2] == [(3, "error"), (4, "error")]


@pytest.mark.parametrize("bad", [12, None, ["a"]])
def test_wrong_argument_types(bad):
    with pytest.raises(TypeError):
        lb.edl_check(bad)
