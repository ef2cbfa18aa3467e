// Timecode by rate: names, exact rates, labels, interchange text, strict
// reading and SMPTE words. The drop-frame rule is detail/drop_frame.h.
#include "labelsbase/timecode_rate.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "detail/drop_frame.h"
#include "detail/internal.h"

namespace {

using u64 = std::uint64_t;

// The decimal names of the 1000/1001 rates, by nominal rate.
struct DecimalName {
    int nominal;
    char const* name;
};
constexpr DecimalName kDecimalNames[] = {
    {24, "23.976"}, {30, "29.97"}, {48, "47.952"}, {60, "59.94"}, {120, "119.88"}, {240, "239.76"},
};

constexpr timecode_rate kNamed[] = {
    {24, true, false},  {24, false, false}, {25, false, false},  {30, true, false},  {30, true, true},
    {30, false, false}, {48, true, false},  {48, false, false},  {50, false, false}, {60, true, false},
    {60, true, true},   {60, false, false}, {72, false, false},  {96, false, false}, {100, false, false},
    {120, true, false}, {120, true, true},  {120, false, false}, {240, true, false}, {240, false, false},
};
static_assert(sizeof(kNamed) / sizeof(kNamed[0]) == 20, "the twenty listed rates");

constexpr int kMaxNominal = 1000;
// Hours a running count may reach when read: nine digits keep every frame
// count far inside 64 bits (10^9 x 3600 x 1000 < 2^63).
constexpr std::int64_t kMaxRunningHours = 999999999;

bool same(char const* a, std::size_t n, char const* b) {
    std::size_t const m = std::strlen(b);
    return n == m && std::memcmp(a, b, n) == 0;
}

// A decimal integer of 1 to 4 digits without a leading zero; -1 otherwise.
int small_int(char const* p, std::size_t n) {
    if (n == 0 || n > 4 || p[0] == '0') return -1;
    int v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!lb::is_digit(p[i])) return -1;
        v = v * 10 + (p[i] - '0');
    }
    return v;
}

char* put_text(char* p, char const* s) {
    std::size_t const n = std::strlen(s);
    std::memcpy(p, s, n);
    return p + n;
}

// Writes v in decimal, at least `min_digits` digits.
char* put_u64(char* p, u64 v, int min_digits) {
    char tmp[20];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n < min_digits) tmp[n++] = '0';
    while (n > 0) *p++ = tmp[--n];
    return p;
}

int frame_digits(timecode_rate r) { return r.nominal > 100 ? 3 : 2; }

inline bool rate_ok(timecode_rate r) {
    if (r.nominal < 1 || r.nominal > kMaxNominal) return false;
    return !r.drop || (r.fractional && r.nominal % 30 == 0);
}

// A count reduced into [0, day).
u64 into_day(std::int64_t frame, std::int64_t day) {
    std::int64_t v = frame % day;  // (-day, day)
    if (v < 0) v += day;
    return static_cast<u64>(v);
}

// A rate as the label arithmetic sees it: frame numbers a second and
// whether labels are dropped. Fixed<N, D> has them at compile time, so the
// common rates divide by constants; Dyn carries any valid rate.
template <unsigned N, bool D>
struct Fixed {
    static constexpr unsigned n() { return N; }
    static constexpr bool drop() { return D; }
};
struct Dyn {
    unsigned nominal;
    bool dropped;
    unsigned n() const { return nominal; }
    bool drop() const { return dropped; }
};

// Calls f with the Fixed kind of a valid rate when there is one; false
// when there is none (f not called).
template <class F>
bool on_fixed(timecode_rate r, F&& f) {
    switch (r.nominal * 2 + (r.drop ? 1 : 0)) {
    case 2 * 24: f(Fixed<24, false>{}); return true;
    case 2 * 25: f(Fixed<25, false>{}); return true;
    case 2 * 30: f(Fixed<30, false>{}); return true;
    case 2 * 30 + 1: f(Fixed<30, true>{}); return true;
    case 2 * 48: f(Fixed<48, false>{}); return true;
    case 2 * 50: f(Fixed<50, false>{}); return true;
    case 2 * 60: f(Fixed<60, false>{}); return true;
    case 2 * 60 + 1: f(Fixed<60, true>{}); return true;
    case 2 * 72: f(Fixed<72, false>{}); return true;
    case 2 * 96: f(Fixed<96, false>{}); return true;
    case 2 * 100: f(Fixed<100, false>{}); return true;
    case 2 * 120: f(Fixed<120, false>{}); return true;
    case 2 * 120 + 1: f(Fixed<120, true>{}); return true;
    case 2 * 240: f(Fixed<240, false>{}); return true;
    case 2 * 240 + 1: f(Fixed<240, true>{}); return true;
    default: return false;
    }
}

template <class R>
std::int64_t day_of(R const& k) {
    if (k.drop()) return std::int64_t{24} * lb::drop_rule(k.n()).hour;
    return std::int64_t{k.n()} * 86400;
}

// The label fields of v frames from midnight.
template <class R, class U>
timecode_fields label_of(R const& k, U v) {
    unsigned const n = k.n();
    if (k.drop()) v = lb::drop_frames_to_labels(lb::drop_rule(n), v);
    // Three quotients of v side by side rather than one after another.
    U const secs = v / n, mins = v / (U{60} * n), hours = v / (U{3600} * n);
    timecode_fields f;
    f.frames = static_cast<int>(v - secs * n);        // [0, n - 1]
    f.seconds = static_cast<int>(secs - mins * 60);   // [0, 59]
    f.minutes = static_cast<int>(mins - hours * 60);  // [0, 59]
    f.hours = static_cast<std::int64_t>(hours);
    return f;
}

// The label of frame, wrapped into the day: the time of day.
template <class R>
timecode_fields day_label(R const& k, std::int64_t frame) {
    std::int64_t const day = day_of(k);
    if (frame < 0 || frame >= day) frame = static_cast<std::int64_t>(into_day(frame, day));
    return label_of(k, static_cast<std::uint32_t>(frame));  // a day is below 2^32 frames
}

// ":mm:ss", the frame separator, the frames and a NUL into p (room for
// 11): the length without the NUL.
template <class R>
std::size_t put_after_hours(R const& k, timecode_fields const& f, char* p) {
    p[0] = ':';
    lb::put_pair(p + 1, static_cast<unsigned>(f.minutes));
    p[3] = ':';
    lb::put_pair(p + 4, static_cast<unsigned>(f.seconds));
    p[6] = k.drop() ? ';' : ':';
    if (k.n() > 100) {
        lb::put_triple(p + 7, static_cast<unsigned>(f.frames));
        p[10] = '\0';
        return 10;
    }
    lb::put_pair(p + 7, static_cast<unsigned>(f.frames));
    p[9] = '\0';
    return 9;
}

// The interchange text of a time of day into p (room for 13): its length.
template <class R>
std::size_t put_label(R const& k, timecode_fields const& f, char* p) {
    lb::put_pair(p, static_cast<unsigned>(f.hours));
    return 2 + put_after_hours(k, f, p + 2);
}

// Strict reading of exactly "hh:mm:ss" + separator + frames with every
// field in range and the label not skipped; false for anything else (the
// general reader then finds the fault). The eight bytes "hh:mm:ss" are
// checked and their fields taken as one 64-bit word (byte k is t[k]).
template <class R>
[[gnu::always_inline]] inline bool read_label(R const& k, char const* t, std::size_t len, std::int64_t& out,
                                              char separator = 0) {
    unsigned const n = k.n();
    std::size_t const fd = n > 100 ? 3 : 2;
    if (len != 9 + fd) return false;
    constexpr std::uint64_t kDigitBytes = 0xFFFF00FFFF00FFFFull;  // bytes 0, 1, 3, 4, 6, 7
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull & kDigitBytes;
    constexpr std::uint64_t kZeros = 0x3030303030303030ull & kDigitBytes;
    constexpr std::uint64_t kSix = 0x0606060606060606ull & kDigitBytes;
    constexpr std::uint64_t kColons = 0x00003A00003A0000ull;  // bytes 2 and 5
    std::uint64_t w;
    std::memcpy(&w, t, 8);
    w = lb::little_endian(w);
    std::uint64_t const x = w & kDigitBytes;
    // A byte is a digit when its high nibble is 3 and adding 6 keeps it so.
    if ((w & ~kDigitBytes) != kColons || (x & kHigh) != kZeros || ((x + kSix) & kHigh) != kZeros) return false;
    std::uint64_t const d = x - kZeros;         // bytes 0..9
    std::uint64_t const v = d * 10 + (d >> 8);  // bytes 0, 3, 6: tens x 10 + units
    unsigned const h = static_cast<unsigned>(v & 0xFF), m = static_cast<unsigned>((v >> 24) & 0xFF),
                   s = static_cast<unsigned>((v >> 48) & 0xFF);
    auto digit = [t](int i) {
        return static_cast<unsigned>(static_cast<unsigned char>(t[i])) - static_cast<unsigned>('0');
    };
    char const sep = t[8];
    bool const sep_ok = separator ? sep == separator : k.drop() ? (sep == ';' || sep == '.' || sep == ',') : sep == ':';
    unsigned f = digit(9) * 10 + digit(10);
    if (!sep_ok || digit(9) > 9 || digit(10) > 9) return false;
    if (fd == 3) {
        if (digit(11) > 9) return false;
        f = f * 10 + digit(11);
    }
    if (h > 23 || m > 59 || s > 59 || f >= n) return false;
    unsigned const minutes = h * 60 + m, label = s * n + f;
    if (k.drop()) {
        // The digits give minutes / 10 and minutes % 10 without a division.
        unsigned const m_tens = static_cast<unsigned>((d >> 24) & 0xFF),
                       m_units = static_cast<unsigned>((d >> 32) & 0xFF);
        lb::DropRule const rule = lb::drop_rule(n);
        if (lb::drop_label_skipped_at(rule, static_cast<int>(m_units), static_cast<int>(s), static_cast<int>(f)))
            return false;
        out = lb::drop_label_frame(rule, minutes, h * 6 + m_tens, label);
    } else {
        out = std::int64_t{minutes} * 60 * n + label;
    }
    return true;
}

Dyn dyn(timecode_rate r) { return Dyn{static_cast<unsigned>(r.nominal), r.drop}; }

}  // namespace

bool timecode_rate_ok(timecode_rate r) { return rate_ok(r); }

timecode_rate timecode_rate_from_name(char const* name, std::size_t n) {
    if (!name) return timecode_rate{};
    timecode_rate r;
    if (n > 2 && (same(name + n - 2, 2, "df") || same(name + n - 2, 2, "DF"))) {
        r.drop = true;
        n -= 2;
    }
    bool found = false;
    for (DecimalName const& d : kDecimalNames) {
        if (same(name, n, d.name)) {
            r.nominal = d.nominal;
            r.fractional = true;
            found = true;
        }
    }
    // "23.98" is how many tools print 23.976.
    if (!found && same(name, n, "23.98")) {
        r.nominal = 24;
        r.fractional = true;
        found = true;
    }
    if (!found) {
        char const* const slash = static_cast<char const*>(std::memchr(name, '/', n));
        std::size_t const whole = slash ? static_cast<std::size_t>(slash - name) : n;
        if (slash && !same(slash, n - whole, "/1.001")) return timecode_rate{};
        r.nominal = small_int(name, whole);
        r.fractional = slash != nullptr;
    }
    return timecode_rate_ok(r) ? r : timecode_rate{};
}

timecode_rate timecode_rate_from_name(char const* name) {
    return name ? timecode_rate_from_name(name, std::strlen(name)) : timecode_rate{};
}

std::size_t timecode_rate_name(timecode_rate r, char* out, std::size_t size) {
    if (!out || size < timecode_rate_name_size || !timecode_rate_ok(r)) return 0;
    char* p = out;
    char const* decimal = nullptr;
    if (r.fractional)
        for (DecimalName const& d : kDecimalNames)
            if (d.nominal == r.nominal) decimal = d.name;
    if (decimal) {
        p = put_text(p, decimal);
    } else {
        p = put_u64(p, static_cast<u64>(r.nominal), 1);
        if (r.fractional) p = put_text(p, "/1.001");
    }
    if (r.drop) p = put_text(p, "df");
    *p = '\0';
    return static_cast<std::size_t>(p - out);
}

timecode_rate const* timecode_named_rates(std::size_t* count) {
    if (count) *count = sizeof(kNamed) / sizeof(kNamed[0]);
    return kNamed;
}

timecode_ratio timecode_rate_exact(timecode_rate r) {
    if (!timecode_rate_ok(r)) return timecode_ratio{0, 1};
    if (!r.fractional) return timecode_ratio{r.nominal, 1};
    std::int64_t a = std::int64_t{r.nominal} * 1000, b = 1001;
    std::int64_t x = a, y = b;
    while (y != 0) {
        std::int64_t const t = x % y;
        x = y;
        y = t;
    }
    return timecode_ratio{a / x, b / x};
}

std::int64_t timecode_frames_per_day(timecode_rate r) {
    if (!timecode_rate_ok(r)) return 0;
    if (r.drop) return std::int64_t{24} * lb::drop_rule(static_cast<unsigned>(r.nominal)).hour;
    return std::int64_t{r.nominal} * 86400;
}

bool timecode_frames_to_fields(timecode_rate r, std::int64_t frame, unsigned options, timecode_fields* out) {
    if (!out || !rate_ok(r)) return false;
    if (!(options & (timecode_running | timecode_signed))) {
        if (!on_fixed(r, [&](auto k) { *out = day_label(k, frame); })) *out = day_label(dyn(r), frame);
        return true;
    }
    std::int64_t const day = day_of(dyn(r));
    bool const negative = frame < 0 && (options & timecode_signed);
    if (frame < 0 && !negative) {
        if (options & timecode_running) return false;
        *out = day_label(dyn(r), frame);
        return true;
    }
    // The magnitude of a signed count; INT64_MIN included.
    u64 v = negative ? 0 - static_cast<u64>(frame) : static_cast<u64>(frame);
    if (!(options & timecode_running)) v %= static_cast<u64>(day);
    timecode_fields f = label_of(dyn(r), v);
    f.negative = negative && v != 0;
    *out = f;
    return true;
}

bool timecode_fields_to_frames(timecode_rate r, timecode_fields const& f, std::int64_t* out) {
    if (!out || !timecode_rate_ok(r)) return false;
    // Hours whose frame count fits 64 bits.
    std::int64_t const most_hours = INT64_MAX / (std::int64_t{3600} * r.nominal) - 1;
    if (f.hours < 0 || f.hours > most_hours || f.minutes < 0 || f.minutes > 59 || f.seconds < 0 || f.seconds > 59 ||
        f.frames < 0 || f.frames >= r.nominal)
        return false;
    unsigned const n = static_cast<unsigned>(r.nominal);
    u64 const minutes = static_cast<u64>(f.hours) * 60 + static_cast<u64>(f.minutes);
    unsigned const label = static_cast<unsigned>(f.seconds) * n + static_cast<unsigned>(f.frames);
    u64 v;
    if (r.drop) {
        lb::DropRule const rule = lb::drop_rule(n);
        if (lb::drop_label_skipped(rule, f.minutes, f.seconds, f.frames)) return false;
        v = lb::drop_label_frame(rule, minutes, label);
    } else {
        v = minutes * 60 * n + label;
    }
    *out = f.negative ? -static_cast<std::int64_t>(v) : static_cast<std::int64_t>(v);
    return true;
}

std::size_t timecode_write(timecode_rate r, std::int64_t frame, char* out, std::size_t size, unsigned options) {
    if (!out || !rate_ok(r)) return 0;
    if (options == 0 && size >= 13) {
        // A time of day, written in place.
        std::size_t n = 0;
        if (!on_fixed(r, [&](auto k) { n = put_label(k, day_label(k, frame), out); }))
            n = put_label(dyn(r), day_label(dyn(r), frame), out);
        return n;
    }
    timecode_fields f;
    if (!timecode_frames_to_fields(r, frame, options, &f)) return 0;
    char buf[timecode_text_size];
    char* p = buf;
    if (f.negative) *p++ = '-';
    p = put_u64(p, static_cast<u64>(f.hours), 2);  // hours past 99 in a running count
    p += put_after_hours(dyn(r), f, p);
    std::size_t const n = static_cast<std::size_t>(p - buf);
    if (n + 1 > size) return 0;
    std::memcpy(out, buf, n + 1);
    return n;
}

// ---------------------------------------------------------------------------
// Strict reading

namespace {

struct Reader {
    char const* t;
    std::size_t n;
    std::size_t i;
    timecode_reading res;

    bool fail(timecode_fault fault, timecode_field field) {
        res.problem.fault = fault;
        res.problem.field = field;
        res.problem.column = static_cast<int>(i);
        return false;
    }
    // Exactly `want` digits, or at least `want` and at most `most`.
    bool digits(timecode_field field, int want, int most, std::int64_t& v) {
        std::size_t const start = i;
        v = 0;
        while (i < n && lb::is_digit(t[i]) && static_cast<int>(i - start) < most + 1) {
            v = v * 10 + (t[i] - '0');
            ++i;
        }
        int const got = static_cast<int>(i - start);
        if (got < want || got > most) {
            i = start;
            res.problem.value = want;
            return fail(timecode_fault::digits, field);
        }
        return true;
    }
    bool range(timecode_field field, std::int64_t v, std::int64_t high, std::size_t at) {
        if (v <= high) return true;
        i = at;
        res.problem.value = v;
        res.problem.low = 0;
        res.problem.high = high;
        return fail(timecode_fault::range, field);
    }
    // ':' between hours, minutes and seconds.
    bool colon(timecode_field next) {
        if (i >= n) {
            res.problem.value = 2;
            return fail(timecode_fault::digits, next);
        }
        if (t[i] != ':') {
            res.problem.found = t[i];
            return fail(timecode_fault::bad_separator, timecode_field::separator);
        }
        ++i;
        return true;
    }
};

bool is_drop_separator(char c) { return c == ';' || c == '.' || c == ','; }

}  // namespace

timecode_reading timecode_read_n(timecode_rate r, char const* text, std::size_t length, unsigned options) {
    if (text && rate_ok(r) && !(options & timecode_running)) {
        timecode_reading res;
        bool ok = false;
        if (!on_fixed(r, [&](auto k) { ok = read_label(k, text, length, res.frame); }))
            ok = read_label(dyn(r), text, length, res.frame);
        if (ok) return res;
    }
    Reader rd{text, text ? length : 0, 0, timecode_reading{}};
    timecode_problem& pb = rd.res.problem;
    if (!timecode_rate_ok(r)) {
        rd.fail(timecode_fault::invalid_rate, timecode_field::rate);
        return rd.res;
    }
    if (rd.n == 0) {
        rd.fail(timecode_fault::empty, timecode_field::text);
        return rd.res;
    }
    timecode_fields& f = pb.fields;
    if (rd.t[0] == '-') {
        if (!(options & timecode_signed)) {
            rd.fail(timecode_fault::negative, timecode_field::sign);
            return rd.res;
        }
        f.negative = true;
        rd.i = 1;
    }
    bool const running = (options & timecode_running) != 0;
    std::int64_t v;
    std::size_t at = rd.i;
    if (!rd.digits(timecode_field::hours, 2, running ? 12 : 2, v)) return rd.res;
    if (rd.i - at > 2 && rd.t[at] == '0') {
        // Past two digits a running count is written without leading zeros.
        rd.i = at;
        pb.value = 2;
        rd.fail(timecode_fault::digits, timecode_field::hours);
        return rd.res;
    }
    if (!rd.range(timecode_field::hours, v, running ? kMaxRunningHours : 23, at)) return rd.res;
    f.hours = v;
    if (!rd.colon(timecode_field::minutes)) return rd.res;
    at = rd.i;
    if (!rd.digits(timecode_field::minutes, 2, 2, v) || !rd.range(timecode_field::minutes, v, 59, at)) return rd.res;
    f.minutes = static_cast<int>(v);
    if (!rd.colon(timecode_field::seconds)) return rd.res;
    at = rd.i;
    if (!rd.digits(timecode_field::seconds, 2, 2, v) || !rd.range(timecode_field::seconds, v, 59, at)) return rd.res;
    f.seconds = static_cast<int>(v);
    int const fd = frame_digits(r);
    if (rd.i >= rd.n) {
        pb.value = fd;
        rd.fail(timecode_fault::digits, timecode_field::frames);
        return rd.res;
    }
    char const sep = rd.t[rd.i];
    pb.found = sep;
    if (r.drop ? sep == ':' : is_drop_separator(sep)) {
        rd.fail(r.drop ? timecode_fault::drop_separator : timecode_fault::non_drop_separator,
                timecode_field::separator);
        return rd.res;
    }
    if (sep != ':' && !is_drop_separator(sep)) {
        pb.value = 1;  // the frame separator
        rd.fail(timecode_fault::bad_separator, timecode_field::separator);
        return rd.res;
    }
    ++rd.i;
    at = rd.i;
    if (!rd.digits(timecode_field::frames, fd, fd, v) || !rd.range(timecode_field::frames, v, r.nominal - 1, at))
        return rd.res;
    f.frames = static_cast<int>(v);
    if (rd.i < rd.n) {
        pb.found = rd.t[rd.i];
        rd.fail(timecode_fault::trailing, timecode_field::text);
        return rd.res;
    }
    if (r.drop &&
        lb::drop_label_skipped(lb::drop_rule(static_cast<unsigned>(r.nominal)), f.minutes, f.seconds, f.frames)) {
        rd.i = 0;
        rd.fail(timecode_fault::skipped_label, timecode_field::label);
        return rd.res;
    }
    timecode_fields_to_frames(r, f, &rd.res.frame);  // every field checked above
    pb = timecode_problem{};
    return rd.res;
}

timecode_reading timecode_read(timecode_rate r, char const* text, unsigned options) {
    return timecode_read_n(r, text, text ? std::strlen(text) : 0, options);
}

// ---------------------------------------------------------------------------
// Columns

std::size_t timecode_write_column(timecode_rate r, std::int64_t const* frames, std::size_t count, char* out,
                                  std::size_t stride, unsigned char* lengths, unsigned options, char separator) {
    if (!frames || !out || !lengths) return 0;
    if (rate_ok(r) && options == 0 && stride >= 13) {
        // Times of day, the rate looked at once.
        auto column = [&](auto const& k) {
            for (std::size_t i = 0; i < count; ++i) {
                char* const t = out + i * stride;
                lengths[i] = static_cast<unsigned char>(put_label(k, day_label(k, frames[i]), t));
                if (separator) t[8] = separator;
            }
        };
        if (!on_fixed(r, column)) column(dyn(r));
        return count;
    }
    std::size_t written = 0;
    std::size_t const fd = static_cast<std::size_t>(frame_digits(r));
    for (std::size_t i = 0; i < count; ++i) {
        char* const t = out + i * stride;
        std::size_t const n = timecode_write(r, frames[i], t, stride, options);
        if (n && separator) t[n - fd - 1] = separator;
        lengths[i] = static_cast<unsigned char>(n);
        written += n != 0;
    }
    return written;
}

namespace {

// A column of texts of a fixed rate: the quick reader for plain labels of
// the day, the general one for anything else.
// Reads a text whose frame separator is `separator` (0: the rate's own)
// with the general reader.
timecode_reading read_with_separator(timecode_rate r, char const* t, std::size_t n, unsigned options, char separator) {
    std::size_t const at = n - static_cast<std::size_t>(frame_digits(r)) - 1;  // the frame separator's place
    if (!separator) return timecode_read_n(r, t, n, options);
    char copy[timecode_text_size];
    if (n >= sizeof copy || n < static_cast<std::size_t>(frame_digits(r)) + 1 || t[at] != separator) {
        timecode_reading refused;
        refused.problem.fault = timecode_fault::bad_separator;
        refused.problem.field = timecode_field::separator;
        return refused;
    }
    std::memcpy(copy, t, n);
    copy[at] = r.drop ? ';' : ':';
    return timecode_read_n(r, copy, n, options);
}

// A column of texts of a fixed rate: the quick reader for plain labels of
// the day, the general one for anything else.
template <class R>
std::size_t read_column(R const& k, timecode_rate r, char const* texts, std::size_t stride,
                        unsigned char const* lengths, std::size_t count, std::int64_t* frames, unsigned char* ok,
                        unsigned options, char separator) {
    bool const quick = !(options & timecode_running);
    std::size_t read = 0;
    for (std::size_t i = 0; i < count; ++i) {
        char const* t = texts + i * stride;
        std::size_t n = 0;
        if (lengths) {
            n = lengths[i];
        } else {
            while (n < stride && t[n]) ++n;
        }
        std::int64_t f = 0;
        bool good = quick && read_label(k, t, n, f, separator);
        if (!good) {
            // Anything but a plain label: the general reader decides.
            timecode_reading const x = read_with_separator(r, t, n, options, separator);
            good = x.ok();
            f = good ? x.frame : 0;
        }
        frames[i] = f;
        ok[i] = good ? 1 : 0;
        read += good;
    }
    return read;
}

}  // namespace

std::size_t timecode_read_column(timecode_rate r, char const* texts, std::size_t stride, unsigned char const* lengths,
                                 std::size_t count, std::int64_t* frames, unsigned char* ok, unsigned options,
                                 char separator) {
    if (!texts || !frames || !ok) return 0;
    if (!rate_ok(r)) {
        std::fill(frames, frames + count, 0);
        std::fill(ok, ok + count, 0);
        return 0;
    }
    std::size_t read = 0;
    auto column = [&](auto const& k) {
        read = read_column(k, r, texts, stride, lengths, count, frames, ok, options, separator);
    };
    if (!on_fixed(r, column)) column(dyn(r));
    return read;
}

// ---------------------------------------------------------------------------
// Reasons

namespace {

// Writes into a fixed buffer, silently cutting at its end.
struct Out {
    char buf[timecode_reason_size];
    std::size_t n = 0;
    void add(char const* s) {
        while (*s && n + 1 < sizeof buf) buf[n++] = *s++;
    }
    void num(std::int64_t v, int min_digits = 1) {
        char tmp[24];
        char* p = tmp;
        u64 m = static_cast<u64>(v);
        if (v < 0) {
            *p++ = '-';
            m = 0 - m;
        }
        *put_u64(p, m, min_digits) = '\0';
        add(tmp);
    }
    void chr(char c) {
        unsigned char const u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f) {
            char const s[4] = {'\'', c, '\'', '\0'};
            add(s);
        } else {
            char const hex[] = "0123456789abcdef";
            char const s[12] = {'c', 'h', 'a', 'r', 'a', 'c', 't', 'e', 'r', ' ', '\0'};
            add(s);
            char const h[5] = {'0', 'x', hex[u >> 4], hex[u & 15], '\0'};
            add(h);
        }
    }
};

char const* field_name(timecode_field f) {
    switch (f) {
    case timecode_field::hours: return "hours";
    case timecode_field::minutes: return "minutes";
    case timecode_field::seconds: return "seconds";
    case timecode_field::frames: return "frames";
    default: return "field";
    }
}

}  // namespace

std::size_t timecode_reason(timecode_rate r, timecode_problem const& p, char* out, std::size_t size) {
    if (!out || size == 0 || p.fault == timecode_fault::none) return 0;
    Out o;
    char rate[timecode_rate_name_size];
    if (!timecode_rate_name(r, rate, sizeof rate)) std::memcpy(rate, "?", 2);
    switch (p.fault) {
    case timecode_fault::none: break;
    case timecode_fault::invalid_rate: o.add("not a timecode rate"); break;
    case timecode_fault::empty: o.add("empty timecode"); break;
    case timecode_fault::trailing:
        o.add("unexpected ");
        o.chr(p.found);
        o.add(" after the frames at column ");
        o.num(p.column + 1);
        break;
    case timecode_fault::negative: o.add("negative timecode not allowed here"); break;
    case timecode_fault::digits:
        o.add(field_name(p.field));
        o.add(": expected ");
        o.num(p.value);
        o.add(" digits");
        o.add(" at column ");
        o.num(p.column + 1);
        break;
    case timecode_fault::range:
        o.add(field_name(p.field));
        o.add(" ");
        o.num(p.value);
        o.add(" out of range ");
        o.num(p.low);
        o.add("-");
        o.num(p.high);
        break;
    case timecode_fault::drop_separator:
        o.add("frame separator ':' at ");
        o.add(rate);
        o.add(": drop-frame labels take ';' (or '.' or ',')");
        break;
    case timecode_fault::non_drop_separator:
        o.add("frame separator ");
        o.chr(p.found);
        o.add(" at ");
        o.add(rate);
        o.add(": non-drop labels take ':'");
        break;
    case timecode_fault::bad_separator:
        o.add("separator ");
        o.chr(p.found);
        o.add(" at column ");
        o.num(p.column + 1);
        o.add(p.value == 1 && r.drop ? ": expected ';'" : ": expected ':'");
        break;
    case timecode_fault::skipped_label: {
        timecode_fields const& f = p.fields;
        if (f.negative) o.add("-");
        o.num(f.hours, 2);
        o.add(":");
        o.num(f.minutes, 2);
        o.add(":");
        o.num(f.seconds, 2);
        char const sep[2] = {is_drop_separator(p.found) ? p.found : ';', '\0'};
        o.add(sep);
        o.num(f.frames, frame_digits(r));
        int const k = r.nominal / 15;  // labels skipped a minute: 2 x nominal / 30
        o.add(" is not a drop-frame label: frames ");
        o.num(0, frame_digits(r));
        o.add(k == 2 ? " and " : " to ");
        o.num(k - 1, frame_digits(r));
        o.add(" are skipped at minute ");
        o.num(f.minutes);
        break;
    }
    }
    std::size_t const n = o.n < size ? o.n : size - 1;
    std::memcpy(out, o.buf, n);
    out[n] = '\0';
    return n;
}

// ---------------------------------------------------------------------------
// SMPTE words

namespace {

// Above 30 fps the word holds half the frame number and a field bit; at
// exactly 50 fps the field bit is bit 7, elsewhere bit 23.
bool halved(timecode_rate r) { return r.nominal > 30; }
std::uint32_t field_bit(timecode_rate r) { return r.nominal == 50 && !r.fractional ? 1u << 7 : 1u << 23; }

}  // namespace

bool timecode_to_smpte(timecode_rate r, std::int64_t frame, std::uint32_t* word) {
    if (!word || r.nominal > 80 || !rate_ok(r)) return false;
    timecode_fields f;
    if (!on_fixed(r, [&](auto k) { f = day_label(k, frame); })) f = day_label(dyn(r), frame);
    unsigned ff = static_cast<unsigned>(f.frames);
    std::uint32_t w = 0;
    if (halved(r)) {
        w |= (ff & 1u) * field_bit(r);  // no branch: odd and even frames alternate
        ff /= 2;                        // [0, 39]
    }
    // bits 0-3 hour units, 4-5 hour tens, 8-11 minute units, 12-14 minute
    // tens, 16-19 second units, 20-22 second tens, 24-27 frame units, 28-29
    // frame tens, 30 drop flag; lb::bcd(v) is (v / 10) << 4 | v % 10.
    w |= lb::bcd(static_cast<unsigned>(f.hours));
    w |= lb::bcd(static_cast<unsigned>(f.minutes)) << 8;
    w |= lb::bcd(static_cast<unsigned>(f.seconds)) << 16;
    w |= lb::bcd(ff) << 24;
    w |= static_cast<std::uint32_t>(r.drop) << 30;
    *word = w;
    return true;
}

bool timecode_from_smpte(timecode_rate r, std::uint32_t w, std::int64_t* frame) {
    if (!frame || r.nominal > 80 || !timecode_rate_ok(r)) return false;
    if (((w >> 30) & 1u) != static_cast<std::uint32_t>(r.drop)) return false;
    // Units nibble and tens bits of each field; a units digit above 9 is no BCD.
    unsigned const hu = w & 0xf, ht = (w >> 4) & 0x3, mu = (w >> 8) & 0xf, mt = (w >> 12) & 0x7;
    unsigned const su = (w >> 16) & 0xf, st = (w >> 20) & 0x7, fu = (w >> 24) & 0xf, ft = (w >> 28) & 0x3;
    if (hu > 9 || mu > 9 || su > 9 || fu > 9) return false;
    timecode_fields f;
    f.hours = ht * 10 + hu;
    f.minutes = static_cast<int>(mt * 10 + mu);
    f.seconds = static_cast<int>(st * 10 + su);
    unsigned ff = ft * 10 + fu;
    if (halved(r)) ff = ff * 2 + ((w & field_bit(r)) ? 1u : 0u);
    f.frames = static_cast<int>(ff);
    if (f.hours > 23) return false;
    return timecode_fields_to_frames(r, f, frame);
}

// ---------------------------------------------------------------------------
// Between rates

bool timecode_convert_real_time(timecode_rate from, timecode_rate to, std::int64_t frame, std::int64_t* out) {
    if (!out || !timecode_rate_ok(from) || !timecode_rate_ok(to)) return false;
    timecode_ratio const a = timecode_rate_exact(from), b = timecode_rate_exact(to);
    // to-frames per from-frame: p / q = (b.num x a.den) / (b.den x a.num),
    // each side below 2^31.
    std::int64_t p = b.num * a.den, q = b.den * a.num;
    std::int64_t x = p, y = q;
    while (y != 0) {
        std::int64_t const t = x % y;
        x = y;
        y = t;
    }
    p /= x;
    q /= x;
    // frame = whole x q + part, part in [0, q); the result is whole x p plus
    // floor((2 x part x p + q) / 2q), each product below 2^63.
    std::int64_t whole = frame / q, part = frame % q;
    if (part < 0) {
        part += q;
        --whole;
    }
    std::int64_t scaled;
    if (__builtin_mul_overflow(whole, p, &scaled)) return false;
    std::int64_t const rest = (2 * part * p + q) / (2 * q);
    if (__builtin_add_overflow(scaled, rest, &scaled)) return false;
    *out = scaled;
    return true;
}
