// Every converter's text readers over any text: display, keep and packed
// texts, packed spans, the relative reader and prefixes. The first byte
// picks the label type (mod 52); the second, for timecode types, display
// flags other than the registry's (and the 50p/60p configuration). Texts
// come in exactly-sized heap buffers so a read past the terminator is caught.
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
    if (flag_byte >= 128)
        if (timecode_label* tc = fuzz_timecode_converter(type, flag_byte % 32, flag_byte >> 5 & 3))
            cvt = tc;
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
        FUZZ_CHECK(rel == static_cast<int>(static_cast<unsigned>(abs) -
                                           static_cast<unsigned>(lp.sample)));
    (void)cvt->get_sample(&lp, start);
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
