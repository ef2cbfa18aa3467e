// Timecode by rate with any bytes: a rate name, a rate, options, a frame
// count and a text of exactly its length. Reading never passes the text's
// length; an accepted text writes back to itself (the frame separator as
// the rate writes it); a refusal has a reason that fits its buffer; every
// frame count writes a text that reads back to the same count; SMPTE words
// read back to the frame of the day; conversions between rates stay
// monotone over one frame.
#include <cstring>
#include <initializer_list>

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

    // A column of the one text reads as timecode_read_n reads it (the
    // length given, and found up to a NUL), and of the one count writes as
    // timecode_write writes it, with or without a separator of its own.
    if (len < timecode_text_size) {
        char item[timecode_text_size] = {0};
        std::memcpy(item, text.get(), len);
        unsigned char const given = static_cast<unsigned char>(len);
        for (unsigned char const* lengths : {&given, static_cast<unsigned char const*>(nullptr)}) {
            std::int64_t got = -1;
            unsigned char ok = 9;
            timecode_read_column(r, item, sizeof item, lengths, 1, &got, &ok, options);
            FUZZ_CHECK(ok == (x.ok() ? 1 : 0) && got == (x.ok() ? x.frame : 0));
        }
    }
    for (char const separator : {'\0', '.'}) {
        char column[timecode_text_size], plain[timecode_text_size], own[timecode_text_size];
        unsigned char length = 99;
        timecode_write_column(r, &frame, 1, column, sizeof column, &length, options, separator);
        std::size_t const m = timecode_write(r, frame, plain, sizeof plain, options);
        FUZZ_CHECK(length == m);
        if (!m) continue;
        std::memcpy(own, plain, m + 1);
        if (separator) own[m - (r.nominal > 100 ? 3 : 2) - 1] = separator;
        FUZZ_CHECK(std::memcmp(column, own, m + 1) == 0);
        // Read back with the same separator: as the rate's own text reads.
        std::int64_t back = -1;
        unsigned char ok = 9;
        timecode_read_column(r, column, sizeof column, &length, 1, &back, &ok, options, separator);
        timecode_reading const y = timecode_read_n(r, plain, m, options);
        FUZZ_CHECK(ok == (y.ok() ? 1 : 0) && back == (y.ok() ? y.frame : 0));
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
