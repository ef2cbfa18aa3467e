"""labelsbase: film and video labels from Python.

SMPTE timecode, KeyKode, ink numbers, feet+frames and film frames, and the
translation of positions between media (film, video through 2:3 or 24-to-25
pulldown, the edit timeline, audio), with the names, defaults, answers and
messages of the ``labels`` command.

    >>> import labelsbase as lb
    >>> lb.format("pal", 90000)
    '01:00:00.00'
    >>> lb.convert("KJ2312340012+05", "keycode_35", "ntsc_drop", transfer="pull23")
    '00:00:08;06'
    >>> lb.Timecode("29.97df", "00:10:00;00").frames
    17982
    >>> lb.format("59.94df", 107892)
    '00:30:00;00'

Where a timecode type is taken (format, parse, calc, convert's from_ and
to), a rate name ("23.976", "25", "29.97df", "59.94df", "119.88df", any N
or N/1.001) stands for timecode of that rate in interchange text, read
strictly, as in the command.

format, parse, convert and xlate take a scalar, a list or a NumPy array
and give the same back; arrays are converted in C++ with the GIL released,
so threads run side by side. A pandas Series gives a Series on the same
index. Failures raise LabelError (a ValueError) with the command's message;
errors="coerce" gives None or masked entries instead.
"""

from functools import total_ordering as _total_ordering

from . import _core
from ._core import LabelError, __version__, calc, keep, media, rates, types

__all__ = [
    "LabelError",
    "__version__",
    "format",
    "parse",
    "convert",
    "xlate",
    "calc",
    "keep",
    "types",
    "rates",
    "media",
    "Timecode",
    "KeyKode",
    "Feet",
    "edl_check",
    "edl_convert",
    "edl_cutlist",
]


def _series_aware(core):
    """The core function, giving a pandas Series back for a Series."""

    def call(*args, **kwargs):
        data_at = 0 if core is _core.convert or core is _core.xlate else 1
        data = args[data_at] if len(args) > data_at else None
        if type(data).__module__.startswith("pandas") and hasattr(data, "index") and hasattr(data, "to_numpy"):
            import pandas

            args = list(args)
            args[data_at] = data.to_numpy()
            out = core(*args, **kwargs)
            import numpy

            if isinstance(out, numpy.ma.MaskedArray):
                # pandas' missing values: None among texts, NaN among numbers.
                mask = numpy.ma.getmaskarray(out)
                out = numpy.asarray(out.data, dtype=object if out.dtype.kind == "U" else float)
                out[mask] = None if out.dtype == object else numpy.nan
            return pandas.Series(out, index=data.index, name=data.name)
        return core(*args, **kwargs)

    call.__name__ = core.__name__
    call.__qualname__ = core.__name__
    call.__doc__ = core.__doc__
    call.__wrapped__ = core
    return call


format = _series_aware(_core.format)
parse = _series_aware(_core.parse)
convert = _series_aware(_core.convert)
xlate = _series_aware(_core.xlate)


@_total_ordering
class Timecode:
    """A SMPTE timecode at a rate: a frame count and the rate it counts in.

    Timecode(rate, text_or_frames): rate is a name ("23.976", "24", "25",
    "29.97", "29.97df", "59.94df", "119.88df", any whole number 1..1000,
    "N/1.001") or a number (25, 23.976); the value is a text read strictly
    ("01:00:00;00"; a field out of range or a label drop-frame skips raises
    LabelError naming the field) or a frame count (0 at 00:00:00:00).

    str() gives the interchange text ("hh:mm:ss:ff", ";" before drop-frame
    frames), wrapped into the day; a negative count reads back from
    midnight. + and - take whole frames or a timecode of the same rate and
    give a Timecode; timecodes of one rate compare and hash by frames.
    .to(rate) gives the frame nearest in real time; .to(rate,
    transfer="pull23" or "pogle") takes it through a film transfer.
    """

    __slots__ = ("_rate", "_frames")

    def __init__(self, rate, value=0):
        self._rate = _core._tc_rate(rate)
        if isinstance(value, str):
            self._frames = _core._tc_read(self._rate, value.strip())
        elif isinstance(value, Timecode):
            self._frames = value.to(self._rate).frames
        elif isinstance(value, bool) or not hasattr(value, "__index__"):
            raise TypeError("a timecode is a text or a whole number of frames, not %s" % type(value).__name__)
        else:
            self._frames = int(value)

    @property
    def frames(self):
        """The frame count, 0 at 00:00:00:00."""
        return self._frames

    @property
    def rate(self):
        """The rate's name ("29.97df")."""
        return self._rate

    @property
    def fps(self):
        """The real rate as a Fraction (30000/1001 at 29.97)."""
        from fractions import Fraction

        num, den = _core._tc_exact(self._rate)
        return Fraction(num, den)

    @property
    def seconds(self):
        """Real time from 00:00:00:00, as a Fraction of seconds."""
        return self._frames / self.fps

    @property
    def fields(self):
        """(hours, minutes, seconds, frames) of the label, wrapped into the day."""
        return _core._tc_fields(self._rate, self._frames)

    def to(self, rate, transfer=None, phase=None):
        """The timecode at another rate, as ``labels convert`` gives it.

        Without a transfer (or "real_time"): the frame whose start is nearest
        in real time. "frame" keeps the frame count (a speed change);
        "default" is "pulldown" or "frame" as configured. A film transfer,
        "pull23" (2:3 pulldown), "pogle" (24-to-25) or "pulldown" (the one
        the video rate calls for), runs between a 24-frame rate (23.976,
        24), whose frames are then the film frames, and a video rate, with
        the pulldown phase of frame 0 (0..4 or A, B, BC, CD, D for 2:3).
        Transfers that do not apply are refused with the command's message.
        """
        return Timecode(rate, _core._tc_to(self._rate, self._frames, rate, transfer, phase))

    def __str__(self):
        return _core._tc_write(self._rate, self._frames)

    def __repr__(self):
        return "Timecode(%r, %r)" % (self._rate, str(self) if self._in_day() else self._frames)

    def _in_day(self):
        return 0 <= self._frames and _core._tc_read(self._rate, str(self)) == self._frames

    def __int__(self):
        return self._frames

    def __hash__(self):
        return hash((self._rate, self._frames))

    def _other_frames(self, other):
        if isinstance(other, Timecode):
            if other._rate != self._rate:
                raise LabelError("timecodes of different rates (%s and %s): convert one with .to()" % (self._rate, other._rate))
            return other._frames
        if isinstance(other, bool) or not hasattr(other, "__index__"):
            return None
        return int(other)

    def __add__(self, other):
        n = self._other_frames(other)
        return NotImplemented if n is None else Timecode(self._rate, self._frames + n)

    __radd__ = __add__

    def __sub__(self, other):
        n = self._other_frames(other)
        return NotImplemented if n is None else Timecode(self._rate, self._frames - n)

    def __rsub__(self, other):
        n = self._other_frames(other)
        return NotImplemented if n is None else Timecode(self._rate, n - self._frames)

    def __eq__(self, other):
        if not isinstance(other, Timecode):
            return NotImplemented
        return self._rate == other._rate and self._frames == other._frames

    def __lt__(self, other):
        if not isinstance(other, Timecode):
            return NotImplemented
        return self._frames < self._other_frames(other)


class _FilmValue:
    """A position in a film label type: a sample (perforations) and a type."""

    __slots__ = ("_type", "_sample", "_prefix")
    _category = None
    _kind = "film"

    def __init__(self, type, value=0, prefix=None):
        row = _type_row(type)
        if row["category"] != self._category:
            raise LabelError("%s is a %s type, not %s (`labels types`)" % (row["class"], row["category"], self._kind))
        self._type = row["class"]
        self._prefix = None
        if isinstance(value, str):
            info = _core._parse_details(self._type, value)
            self._sample = info["sample"]
            self._prefix = info.get("prefix")
        elif isinstance(value, bool) or not hasattr(value, "__index__"):
            raise TypeError("a %s is a text or a whole number of samples, not %s" % (self._kind, type(value).__name__))
        else:
            self._sample = int(value)
        if prefix is not None:
            self._prefix = prefix
        str(self)  # a sample with no text is refused here, with the command's message

    @property
    def sample(self):
        """The sample: perforations from count 0."""
        return self._sample

    @property
    def type(self):
        """The label type's class name ("keycode_35_label")."""
        return self._type

    @property
    def frame(self):
        """Whole frames in the sample."""
        return self._sample // _type_row(self._type)["samples_per_unit"]

    @property
    def perforation(self):
        """Perforations past the frame."""
        return self._sample % _type_row(self._type)["samples_per_unit"]

    def __str__(self):
        return _core.format(self._type, self._sample, prefix=self._prefix)

    def __repr__(self):
        return "%s(%r, %r)" % (type(self).__name__, _short(self._type), str(self))

    def __int__(self):
        return self._sample

    def __hash__(self):
        return hash((self._type, self._prefix, self._sample))

    def _same(self, other):
        if type(other) is not type(self) or other._type != self._type:
            raise LabelError("%s and %s are not of one label type" % (self, other))
        if other._prefix != self._prefix:
            raise LabelError("%s and %s are on different rolls (prefixes %s and %s)" % (self, other, self._prefix, other._prefix))
        return other._sample

    def _make(self, sample):
        return type(self)(self._type, sample, prefix=self._prefix)

    def __add__(self, other):
        if isinstance(other, bool) or not hasattr(other, "__index__"):
            return NotImplemented
        return self._make(self._sample + int(other))

    __radd__ = __add__

    def __eq__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        return (self._type, self._prefix, self._sample) == (other._type, other._prefix, other._sample)

    def __lt__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        return self._sample < self._same(other)

    def __le__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        return self._sample <= self._same(other)

    def __gt__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        return self._sample > self._same(other)

    def __ge__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        return self._sample >= self._same(other)

    def to(self, to, **options):
        """The same instant in another label type and medium, as convert() gives it.

        A KeyKode or feet target gives a KeyKode or Feet; any other type its text.
        Options are convert()'s (transfer, phase, sync, prefix, project options).
        """
        text = convert(str(self), self._type, to, **options)
        endpoint = to.split("@", 1)[0]
        category = _type_row(endpoint)["category"]
        if category == "keycode":
            return KeyKode(endpoint, text)
        if category == "feet":
            return Feet(endpoint, text)
        return text


class KeyKode(_FilmValue):
    """A KeyKode number: KeyKode(type, text_or_perforations, prefix=None).

    KeyKode("keycode_35", "KJ2312340012+05") or KeyKode("keycode_35", 788,
    prefix="KJ231234"). .sample counts perforations; .prefix is the roll's
    manufacturer code and roll number. + and - take whole perforations;
    KeyKode - KeyKode of one roll gives the perforations between them.
    """

    __slots__ = ()
    _category = "keycode"
    _kind = "KeyKode"

    @property
    def prefix(self):
        """The manufacturer code and roll number ("KJ231234")."""
        return self._prefix

    def __sub__(self, other):
        if isinstance(other, KeyKode):
            return self._sample - self._same(other)
        if isinstance(other, bool) or not hasattr(other, "__index__"):
            return NotImplemented
        return self._make(self._sample - int(other))


class Feet(_FilmValue):
    """Feet and frames: Feet(type, text_or_perforations).

    Feet("foot_35", "12+05") is 12 feet 5 frames of 35 mm 4-perf film
    (sample 788 perforations). + and - take whole perforations or Feet of
    the same type and give Feet.
    """

    __slots__ = ()
    _category = "feet"
    _kind = "feet and frames"

    def __sub__(self, other):
        if isinstance(other, Feet):
            return self._make(self._sample - self._same(other))
        if isinstance(other, bool) or not hasattr(other, "__index__"):
            return NotImplemented
        return self._make(self._sample - int(other))

    def __add__(self, other):
        if isinstance(other, Feet):
            return self._make(self._sample + self._same(other))
        return _FilmValue.__add__(self, other)

    __radd__ = __add__


_types_by_name = None


def _type_row(name):
    """The `labels types` row of a type name (any name the command takes)."""
    global _types_by_name
    if _types_by_name is None:
        _types_by_name = {r["label_t"]: r for r in types()}
    return _types_by_name[_core._type_number(name)]


def _short(class_name):
    return _type_row(class_name)["short"]


# ---------------------------------------------------------------------------
# Edit lists: the `labels edl` commands run in process, their --json
# documents as dicts.


def _edl_file(path_or_text, stack):
    """A path to read: the path given, or the text in a temporary file.

    A str with a line break in it, or bytes, is the list itself; any other
    str or os.PathLike is a path."""
    import os
    import tempfile

    if isinstance(path_or_text, bytes) or (isinstance(path_or_text, str) and ("\n" in path_or_text or "\r" in path_or_text)):
        data = path_or_text if isinstance(path_or_text, bytes) else path_or_text.encode("utf-8")
        f = tempfile.NamedTemporaryFile(prefix="labelsbase-", suffix=".edl", delete=False)
        stack.callback(os.unlink, f.name)
        with f:
            f.write(data)
        return f.name
    if isinstance(path_or_text, (str, os.PathLike)):
        path = os.fspath(path_or_text)
        if isinstance(path, bytes):
            path = os.fsdecode(path)
        if path == "-":
            raise LabelError("'-' (standard input) is no list here: give a path or the list's text")
        return path
    raise TypeError("an edit list is a path or its text (str or bytes), not " + type(path_or_text).__name__)


def _rate_options(rate):
    if rate is None:
        return []
    if isinstance(rate, bool) or not isinstance(rate, (str, int, float)):
        raise TypeError("rate is a rate name such as \"29.97\" or \"25\", not " + type(rate).__name__)
    return ["--rate", str(rate)]


def edl_check(path_or_text, rate=None):
    """edl_check(path_or_text, rate=None)

    Read a CMX 3600 edit list and check it, like `labels --json edl check FILE`.

    path_or_text: a path (str or os.PathLike), or the list itself (bytes, or
        a str with a line break in it).
    rate: the list's rate ("29.97", "25", "23.976" ...; default 29.97); its
        FCM lines set drop frame.

    Returns the command's document: title, fcm ("DROP FRAME",
    "NON-DROP FRAME" or None), rate, events (event, line, reel, track,
    transition, duration, source_in, source_out, record_in, record_out,
    comments, ...) and problems (line, severity "error" or "warning",
    message). Problems in the list are returned, not raised; LabelError is
    raised for a file that cannot be read or a rate that is no rate.

    >>> doc = edl_check("examples/film_cut.edl")
    >>> doc["title"], doc["events"][0]["record_in"]
    ('NIGHT FERRY REEL 1', '01:00:00;00')
    """
    import contextlib

    with contextlib.ExitStack() as stack:
        path = _edl_file(path_or_text, stack)
        return _core._edl(["check"] + _rate_options(rate), [path])


def edl_convert(path_or_text, to, rate=None, transfer=None, record_start=None):
    """edl_convert(path_or_text, to, rate=None, transfer=None, record_start=None)

    Convert a whole edit list to another count or rate, like
    `labels edl convert FILE --to TO`; returns the converted list's text.

    to: the new rate; 29.97df <-> 29.97 re-labels the same frames.
    rate: the list's rate (default 29.97; its FCM lines set drop frame).
    transfer: between rates, "real" (by real time, the default), "frame"
        (by frame count) or "pulldown" (2:3 or 24-to-25 through film).
    record_start: a timecode at the new rate where the first event's record
        then starts.

    LabelError with the command's message when the list cannot be converted.

    >>> print(edl_convert("examples/film_cut.edl", "29.97").splitlines()[1])
    FCM: NON-DROP FRAME
    """
    import contextlib

    opts = ["convert", "--to", str(to)] + _rate_options(rate)
    if transfer is not None:
        opts += ["--transfer", str(transfer)]
    if record_start is not None:
        opts += ["--record-start", str(record_start)]
    with contextlib.ExitStack() as stack:
        path = _edl_file(path_or_text, stack)
        return _core._edl(opts, [path])["edl"]


def edl_cutlist(edl, telecine, rate=None):
    """edl_cutlist(edl, telecine, rate=None)

    The film cut list of an edit list and a telecine log, like
    `labels --json edl cutlist EDL --telecine LOG`.

    edl, telecine: paths, or the texts themselves (as for edl_check).
    rate: the list's rate (default 29.97; its FCM lines set drop frame).

    Returns the command's document: title, rate, events (event, reel,
    camroll, labroll, keykode_in, keykode_out, frames, feet_frames, footage,
    transition, line), dupes, opticals, pulls, notes, total_frames,
    total_footage, problems (of the list) and log_problems.
    """
    import contextlib

    with contextlib.ExitStack() as stack:
        path = _edl_file(edl, stack)
        log = _edl_file(telecine, stack)
        return _core._edl(["cutlist", "--telecine", log] + _rate_options(rate), [path])
