// Timecode by rate with any bytes: a rate name, a rate, options, a frame
// count and a text of exactly its length. Reading never passes the text's
// length; an accepted text writes back to itself (the frame separator as
// the rate writes it); a refusal has a reason that fits its buffer; every
// frame count writes a text that reads back to the same count; SMPTE words
// read back to the frame of the day; conversions between rates stay
// monotone over one frame.
#include <cstring>

#include <labelsbase/timecode_rate.h>

#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);
    timecode_rate r;
    r.nominal = in.take<std::uint16_t>() % 1100;
    std::uint8_t const bits = in.take<std::uint8_t>();
    r.fractional = bits & 1;
    r.drop = bits & 2;
    unsigned const options = (bits >> 2) & 3;
    std::int64_t const frame = in.take<std::int64_t>();
    std::uint32_t const word = in.take<std::uint32_t>();
    auto name = in.text(20);
    auto text = in.rest();
    std::size_t const len = std::strlen(text.get());

    timecode_rate const named = timecode_rate_from_name(name.get());
    if (timecode_rate_ok(named)) {
        char back[timecode_rate_name_size];
        FUZZ_CHECK(timecode_rate_name(named, back, sizeof back) > 0);
        FUZZ_CHECK(timecode_rate_from_name(back) == named);
    } else {
        FUZZ_CHECK(named == timecode_rate{});
    }

    timecode_reading const x = timecode_read_n(r, text.get(), len, options);
    char buf[timecode_text_size];
    if (x.ok()) {
        FUZZ_CHECK(timecode_rate_ok(r));
        std::size_t const n = timecode_write(r, x.frame, buf, sizeof buf, options | timecode_running);
        FUZZ_CHECK(n == len || (x.frame == 0 && text[0] == '-'));  // "-00:00:00:00" writes unsigned
        if (n == len)
            for (std::size_t i = 0; i < len; ++i)
                FUZZ_CHECK(buf[i] == text[i] || (r.drop && (text[i] == '.' || text[i] == ',') && buf[i] == ';'));
    } else {
        char why[timecode_reason_size];
        std::size_t const n = timecode_reason(r, x.problem, why, sizeof why);
        FUZZ_CHECK(n > 0 && n < sizeof why && why[n] == '\0');
        char tiny[3];
        FUZZ_CHECK(timecode_reason(r, x.problem, tiny, sizeof tiny) == 2);
    }

    std::size_t const n = timecode_write(r, frame, buf, sizeof buf, options);
    if (n > 0) {
        FUZZ_CHECK(buf[n] == '\0' && n < sizeof buf);
        timecode_reading const y = timecode_read_n(r, buf, n, options | timecode_running);
        std::int64_t const day = timecode_frames_per_day(r);
        if (options & timecode_running) {
            FUZZ_CHECK(!y.ok() || y.frame == frame);  // hours past what reading takes are refused
        } else if (!(options & timecode_signed) || frame >= 0) {
            FUZZ_CHECK(y.ok() && y.frame == ((frame % day) + day) % day);
        }
    }

    std::uint32_t w = 0;
    if (timecode_to_smpte(r, frame, &w)) {
        std::int64_t back = -1;
        std::int64_t const day = timecode_frames_per_day(r);
        FUZZ_CHECK(timecode_from_smpte(r, w, &back) && back == ((frame % day) + day) % day);
    }
    std::int64_t f = 0;
    if (timecode_from_smpte(r, word, &f)) FUZZ_CHECK(f >= 0 && f < timecode_frames_per_day(r));

    timecode_rate const to = timecode_rate_ok(named) ? named : timecode_rate{25, false, false};
    std::int64_t a = 0, b = 0;
    if (frame < INT64_MAX && timecode_convert_real_time(r, to, frame, &a) &&
        timecode_convert_real_time(r, to, frame + 1, &b))
        FUZZ_CHECK(a <= b);
    return 0;
}
