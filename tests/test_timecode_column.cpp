// Timecode columns: writing and reading many items in one call gives, item
// for item, what timecode_write and timecode_read_n give, at every named
// rate and a few others, with every option, every stride and texts a
// character away from good ones; a separator of the column's own stands for
// the rate's; and a digit position holding anything but a digit is refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <labelsbase/timecode_rate.h>

namespace {

std::vector<timecode_rate> rates() {
    std::size_t n = 0;
    timecode_rate const* named = timecode_named_rates(&n);
    std::vector<timecode_rate> all(named, named + n);
    for (char const* other : {"12", "15/1.001", "1000", "90"}) all.push_back(timecode_rate_from_name(other));
    return all;
}

// Counts around the day's edges and spread over several days both ways.
std::vector<std::int64_t> counts(timecode_rate r) {
    std::int64_t const day = timecode_frames_per_day(r);
    std::vector<std::int64_t> v;
    for (std::int64_t base : {std::int64_t{0}, day, -day, std::int64_t{107892}, std::int64_t{17982}})
        for (std::int64_t d = -3; d <= 3; ++d) v.push_back(base + d);
    for (std::int64_t f = -3 * day; f < 5 * day; f += day / 97 + 13) v.push_back(f);
    v.push_back(INT64_MAX);
    v.push_back(INT64_MIN);
    return v;
}

TEST(TimecodeColumn, WritesAndReadsAsItemByItem) {
    for (timecode_rate const r : rates()) {
        char name[timecode_rate_name_size];
        timecode_rate_name(r, name, sizeof name);
        std::vector<std::int64_t> const frames = counts(r);
        std::size_t const n = frames.size();
        for (unsigned const options : {0u, unsigned{timecode_running}, unsigned{timecode_signed},
                                       unsigned{timecode_running | timecode_signed}}) {
            for (std::size_t const stride : {std::size_t{12}, std::size_t{13}, std::size_t{timecode_text_size}}) {
                SCOPED_TRACE(std::string(name) + " options " + std::to_string(options) + " stride " +
                             std::to_string(stride));
                std::vector<char> texts(n * stride, 'x');
                std::vector<unsigned char> lengths(n, 99);
                std::size_t const written =
                    timecode_write_column(r, frames.data(), n, texts.data(), stride, lengths.data(), options);
                std::size_t want_written = 0;
                for (std::size_t i = 0; i < n; ++i) {
                    char one[timecode_text_size];
                    std::size_t const len = timecode_write(r, frames[i], one, stride, options);
                    want_written += len != 0;
                    ASSERT_EQ(lengths[i], len) << "frame " << frames[i];
                    if (len) {
                        ASSERT_STREQ(texts.data() + i * stride, one) << "frame " << frames[i];
                    }
                }
                EXPECT_EQ(written, want_written);

                // Read back what was written, plus each text a character off.
                std::vector<char> in;
                std::vector<unsigned char> in_lengths;
                for (std::size_t i = 0; i < n; ++i) {
                    if (!lengths[i]) continue;
                    std::string const good(texts.data() + i * stride, lengths[i]);
                    // The text, shorter, longer, its first character a separator, and
                    // one character flipped out of the digits and separators.
                    std::string flipped = good;
                    flipped[i % good.size()] = static_cast<char>(flipped[i % good.size()] ^ 0x10);
                    for (std::string t : {good, good.substr(1), good + "0", ";" + good.substr(1), flipped}) {
                        if (t.size() >= timecode_text_size) continue;
                        t.resize(timecode_text_size, '\0');
                        in.insert(in.end(), t.begin(), t.end());
                        in_lengths.push_back(static_cast<unsigned char>(std::strlen(t.c_str())));
                    }
                }
                std::size_t const m = in_lengths.size();
                std::vector<std::int64_t> back(m, -7);
                std::vector<unsigned char> ok(m, 7);
                unsigned char const* const given[] = {in_lengths.data(), nullptr};
                for (unsigned char const* lens : given) {
                    std::size_t const read = timecode_read_column(r, in.data(), timecode_text_size, lens, m,
                                                                  back.data(), ok.data(), options);
                    std::size_t want_read = 0;
                    for (std::size_t i = 0; i < m; ++i) {
                        char const* t = in.data() + i * timecode_text_size;
                        timecode_reading const x = timecode_read_n(r, t, in_lengths[i], options);
                        want_read += x.ok();
                        ASSERT_EQ(ok[i], x.ok() ? 1 : 0) << "'" << t << "'";
                        ASSERT_EQ(back[i], x.ok() ? x.frame : 0) << "'" << t << "'";
                    }
                    EXPECT_EQ(read, want_read);
                }
            }
        }
    }
}

// With a separator of its own, a column writes that character where the
// rate's frame separator goes and reads only texts that have it there.
TEST(TimecodeColumn, ASeparatorOfItsOwnStandsForTheRates) {
    struct Case {
        char const* rate;
        char separator;
        unsigned options;
        std::int64_t frame;
        char const* text;
    };
    Case const cases[] = {
        {"25", '.', 0, 90000, "01:00:00.00"},
        {"24", '+', 0, 86399, "00:59:59+23"},
        {"29.97df", ';', 0, 107892, "01:00:00;00"},
        {"29.97df", '.', 0, 1800, "00:01:00.02"},
        {"25", '.', timecode_running | timecode_signed, -25, "-00:00:01.00"},
        {"25", '.', timecode_running, 2250000, "25:00:00.00"},
        {"120", '.', 0, 119, "00:00:00.119"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(std::string(c.rate) + " " + c.text);
        timecode_rate const r = timecode_rate_from_name(c.rate);
        char out[timecode_text_size];
        unsigned char len = 0, ok = 0;
        ASSERT_EQ(timecode_write_column(r, &c.frame, 1, out, sizeof out, &len, c.options, c.separator), 1u);
        EXPECT_STREQ(out, c.text);
        std::int64_t back = 0;
        EXPECT_EQ(timecode_read_column(r, c.text, sizeof out, nullptr, 1, &back, &ok, c.options, c.separator), 1u);
        EXPECT_EQ(back, c.frame);
        // The rate's own separator, or any other, is refused.
        std::string other = c.text;
        other[other.size() - (r.nominal > 100 ? 4 : 3)] = c.separator == ':' ? '.' : ':';
        EXPECT_EQ(timecode_read_column(r, other.c_str(), sizeof out, nullptr, 1, &back, &ok, c.options, c.separator),
                  0u);
        EXPECT_EQ(ok, 0);
    }
}

TEST(TimecodeColumn, RefusesWhatItCannotDo) {
    timecode_rate const r = timecode_rate_from_name("25");
    std::int64_t frame = 0, back = 5;
    char text[timecode_text_size] = "00:00:00:00";
    unsigned char len = 0, ok = 5;
    EXPECT_EQ(timecode_write_column(r, nullptr, 1, text, sizeof text, &len), 0u);
    EXPECT_EQ(timecode_write_column(r, &frame, 1, nullptr, sizeof text, &len), 0u);
    EXPECT_EQ(timecode_write_column(r, &frame, 1, text, sizeof text, nullptr), 0u);
    EXPECT_EQ(timecode_read_column(r, nullptr, sizeof text, nullptr, 1, &back, &ok), 0u);
    EXPECT_EQ(timecode_read_column(timecode_rate{}, text, sizeof text, nullptr, 1, &back, &ok), 0u);
    EXPECT_EQ(ok, 0) << "an invalid rate reads nothing";
    EXPECT_EQ(back, 0);
    EXPECT_EQ(timecode_write_column(timecode_rate{}, &frame, 1, text, sizeof text, &len), 0u);
    EXPECT_EQ(len, 0);
}

// Every digit position holding each character that is no digit (the
// separators and the bytes either side of '0'..'9' among them): refused,
// by the quick reader as by the general one.
TEST(TimecodeColumn, ANonDigitInADigitPositionIsRefused) {
    for (char const* name : {"25", "29.97df", "59.94df", "119.88"}) {
        timecode_rate const r = timecode_rate_from_name(name);
        char good[timecode_text_size];
        std::size_t const n = timecode_write(r, 1234567, good, sizeof good);
        for (std::size_t at = 0; at < n; ++at) {
            if (at == 2 || at == 5 || at == 8) continue;
            for (int c = 1; c < 256; ++c) {
                if (c >= '0' && c <= '9') continue;
                char t[timecode_text_size];
                std::memcpy(t, good, sizeof t);
                t[at] = static_cast<char>(c);
                EXPECT_FALSE(timecode_read_n(r, t, n).ok()) << name << " '" << t << "'";
                std::int64_t f = 0;
                unsigned char ok = 1, len = static_cast<unsigned char>(n);
                timecode_read_column(r, t, sizeof t, &len, 1, &f, &ok);
                EXPECT_EQ(ok, 0) << name << " '" << t << "'";
            }
        }
    }
}

}  // namespace
