// Every converter's text readers over any text: display, keep and packed
// texts, packed spans, the relative reader and prefixes. The first byte
// picks the label type (mod 52); the second, for timecode types, display
// flags other than the registry's (and the 50p/60p configuration). Texts
// come in exactly-sized heap buffers so a read past the terminator is caught.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include <labelsbase/labelsbase.h>

#include "fuzz_converters.h"
#include "fuzz_util.h"

namespace {

// Returned texts live in the label point's 23-byte text, in a template or
// in constant data; none may be longer than the point's text area.
void check_text(char const* t) {
    FUZZ_CHECK(t != nullptr);
    FUZZ_CHECK(std::strlen(t) < sizeof(LabelPoint::text));
}

// 32-bit two's complement arithmetic, as the library does it on texts.
int wadd(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b)); }
int wmul(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) * static_cast<unsigned>(b)); }

// The timecode composition of hours, minutes, seconds and frames: plain, or
// with the frame numbers dropped at the start of nine minutes in ten.
int compose(bool drop, int modulus, int h, int m, int sec, int f) {
    if (!drop) return wadd(wmul(wadd(wmul(wadd(wmul(h, 60), m), 60), sec), modulus), f);
    int const tens = m / 10, units = m % 10;
    int m0 = wadd(wmul(h, 107892), wmul(tens, 17982));
    if (units > 0) m0 = wadd(m0, wadd(1800, wmul(units - 1, 1798)));
    if (sec >= 1) return units != 0 ? wadd(wadd(m0, wadd(wmul(30, sec - 1), 28)), f) : wadd(m0, wadd(wmul(30, sec), f));
    return (units != 0 && sec == 0) ? wadd(m0, f - 2) : wadd(m0, f);
}

// What the C library's formatted input makes of a timecode text: the
// library reads with direct code and must give the same samples.
int reference_timecode(label_cvt* cvt, int flags, char const* t) {
    bool const drop = cvt->type() == ntsc_drop_label_t;
    int const modulus = cvt->get_modulus();
    int h = 0, m = 0, sec = 0, f = 0;
    char c;
    if (drop) {
        if (t[0] == '-') return 0;
        if (std::sscanf(t, "%d:%d:%d%c%d", &h, &m, &sec, &c, &f) != 5) return invalid_sample;
        return compose(true, modulus, h, m, sec, f);
    }
    bool const neg = t[0] == '-';
    int n;
    if (flags & timecode_label::show_hours)
        n = std::sscanf(t, neg ? "-%d:%d:%d%c%d" : "%d:%d:%d%c%d", &h, &m, &sec, &c, &f) == 5;
    else if (flags & timecode_label::show_minutes)
        n = std::sscanf(t, neg ? "-%d:%d%c%d" : "%d:%d%c%d", &m, &sec, &c, &f) == 4;
    else if (flags & timecode_label::show_seconds)
        n = std::sscanf(t, neg ? "-%d%c%d" : "%d%c%d", &sec, &c, &f) == 3;
    else
        n = 0;
    if (!n) return invalid_sample;
    int const v = compose(false, modulus, h, m, sec, f);
    return neg ? static_cast<int>(0u - static_cast<unsigned>(v)) : v;
}

int reference_packed(label_cvt* cvt, char const* t) {
    int h, m, sec, f;
    char const* fmt = cvt->get_modulus() > 100 ? "%2d%2d%2d%3d" : "%2d%2d%2d%2d";
    if (std::sscanf(t, fmt, &h, &m, &sec, &f) != 4) return invalid_sample;
    return compose(cvt->type() == ntsc_drop_label_t, cvt->get_modulus(), h, m, sec, f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);
    auto const type = static_cast<label_t>(in.take<uint8_t>() % label_type_count);
    auto const flag_byte = in.take<uint8_t>();
    auto const start = in.take<int>();
    auto const seconds = in.take<double>();
    auto a = in.text(128);
    auto b = in.text(128);
    auto p = in.rest();

    label_cvt* cvt = get_static_label_cvt(type);
    int flags = 15;
    if (flag_byte >= 128)
        if (timecode_label* tc = fuzz_timecode_converter(type, flag_byte % 32, flag_byte >> 5 & 3)) {
            cvt = tc;
            flags = flag_byte % 32;
        }
    LabelPoint lp(start, cvt);
    lp.sample = start;  // any sample, not only a normalised one

    int const abs = cvt->get_abs_sample(a.get());
    (void)cvt->get_keep_sample(a.get());
    (void)cvt->get_abs_sample_from_packed_string(a.get());
    (void)cvt->get_abs_sample_from_packed_string(b.get());
    (void)cvt->get_sample_span_from_packed_strings(a.get(), b.get());
    int const rel = cvt->get_sample(&lp, a.get());
    // The relative reader is the absolute one less the point's sample, wrapping.
    if (cvt->type() != dummy_label_t)
        FUZZ_CHECK(rel == static_cast<int>(static_cast<unsigned>(abs) - static_cast<unsigned>(lp.sample)));
    (void)cvt->get_sample(&lp, start);

    // Timecode readers give what the C library's formatted input gives.
    if (cvt->UserType() == timecode_UserLabel && cvt->type() == type) {
        FUZZ_CHECK(abs == reference_timecode(cvt, flags, a.get()));
        int const pa = cvt->get_abs_sample_from_packed_string(a.get());
        FUZZ_CHECK(pa == reference_packed(cvt, a.get()));
        int const pb = cvt->get_abs_sample_from_packed_string(b.get());
        FUZZ_CHECK(pb == reference_packed(cvt, b.get()));
        // A span over midnight comes out positive: brought into one day.
        int const span = cvt->get_sample_span_from_packed_strings(a.get(), b.get());
        FUZZ_CHECK(span ==
                   cvt->normalise_sample_unit(static_cast<int>(static_cast<unsigned>(pb) - static_cast<unsigned>(pa))));
    }
    (void)cvt->normalise_sample_unit(abs);
    (void)cvt->normalise_sample_unit(start);
    if (start & 1) (void)cvt->get_abs_sample(seconds);  // prints an assertion line

    // Whatever was read prints within the point's text.
    check_text(cvt->get_abs_string(&lp, abs));
    check_text(cvt->get_keep_string(&lp, abs));
    check_text(cvt->get_abs_perfs_string(&lp, abs));

    // Prefixes of any text: the point's prefix stays within its 21 bytes and
    // what the point returns within its text.
    cvt->set_prefix(&lp, p.get());
    FUZZ_CHECK(std::memchr(lp.prefix, '\0', sizeof lp.prefix) != nullptr);
    char const* got = lp.get_prefix();
    check_text(got);
    FUZZ_CHECK(got == lp.text);
    int const plen = cvt->get_prefix_length();
    FUZZ_CHECK(std::strlen(got) <= static_cast<size_t>(plen < 0 ? 0 : plen));
    check_text(cvt->get_prefix(&lp));
    // A second prefix, shorter, falls back on the one the converter remembers.
    cvt->set_prefix(&lp, b.get());
    check_text(lp.get_prefix());
    check_text(cvt->get_abs_string(&lp, abs));
    check_text(lp.get_string());
    check_text(lp.get_keep_string());

    // The same reads through a label point's own operations.
    LabelPoint copy(lp);
    FUZZ_CHECK(copy == lp);

    // Point arithmetic and count-digit changes with the prefix just read
    // (its digits scale the sample when the count grows).
    uint64_t bits;
    std::memcpy(&bits, &seconds, sizeof bits);
    auto const other_type = static_cast<label_t>(static_cast<int>(bits % 60) - 4);
    LabelPoint const other(static_cast<int>(bits >> 32), other_type);
    for (LabelPoint const& r : {lp + copy, lp - copy, lp + other, copy - other}) {
        LabelPoint q(r);
        check_text(q.get_string());
    }
    copy.modify_count_length(static_cast<int>(bits >> 8 & 7));
    check_text(copy.get_string());
    check_text(copy.get_prefix());
    copy.modify_type(other_type);
    check_text(copy.get_string());
    copy.removePadding();
    check_text(copy.get_string());
    copy.constrain_positive();
    check_text(copy.get_keep_string());
    return 0;
}
