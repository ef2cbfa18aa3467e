// Timecode by rate: names both ways, exact rates, worked examples, every
// frame of a day at every drop-frame rate against labels counted one by
// one, strict refusals by field, the 24-hour wrap against the running and
// signed counts, and conversions by real time.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <labelsbase/timecode_rate.h>

namespace {

timecode_rate rate(char const* name) {
    timecode_rate const r = timecode_rate_from_name(name);
    EXPECT_TRUE(timecode_rate_ok(r)) << name;
    return r;
}

std::string text(timecode_rate r, std::int64_t frame, unsigned options = 0) {
    char buf[timecode_text_size];
    return timecode_write(r, frame, buf, sizeof buf, options) ? std::string(buf) : std::string("<refused>");
}

std::string reason(timecode_rate r, char const* t, unsigned options = 0) {
    timecode_reading const x = timecode_read(r, t, options);
    if (x.ok()) return "ok " + std::to_string(x.frame);
    char buf[timecode_reason_size];
    timecode_reason(r, x.problem, buf, sizeof buf);
    return buf;
}

TEST(TimecodeRateNames, EveryListedNameBothWays) {
    char const* const listed[] = {"23.976", "24",     "25",       "29.97",   "29.97df", "30", "47.952",
                                  "48",     "50",     "59.94",    "59.94df", "60",      "72", "96",
                                  "100",    "119.88", "119.88df", "120",     "239.76",  "240"};
    std::size_t n = 0;
    timecode_rate const* all = timecode_named_rates(&n);
    ASSERT_EQ(n, sizeof listed / sizeof listed[0]);
    for (std::size_t i = 0; i < n; ++i) {
        char buf[timecode_rate_name_size];
        ASSERT_GT(timecode_rate_name(all[i], buf, sizeof buf), 0u);
        EXPECT_STREQ(buf, listed[i]);
        EXPECT_EQ(timecode_rate_from_name(listed[i]), all[i]) << listed[i];
    }
    // Every valid rate writes a name that reads back as itself.
    for (int nominal = 1; nominal <= 1000; ++nominal)
        for (int k = 0; k < 4; ++k) {
            timecode_rate const r{nominal, (k & 1) != 0, (k & 2) != 0};
            char buf[timecode_rate_name_size];
            if (!timecode_rate_ok(r)) {
                EXPECT_EQ(timecode_rate_name(r, buf, sizeof buf), 0u);
                continue;
            }
            ASSERT_GT(timecode_rate_name(r, buf, sizeof buf), 0u);
            EXPECT_EQ(timecode_rate_from_name(buf), r) << buf;
        }
}

TEST(TimecodeRateNames, SpellingsAndRefusals) {
    struct {
        char const* name;
        int nominal;
        bool fractional, drop;
    } const cases[] = {
        {"30/1.001", 30, true, false}, {"30/1.001df", 30, true, true}, {"24/1.001", 24, true, false},
        {"15/1.001", 15, true, false}, {"23.98", 24, true, false},     {"59.94DF", 60, true, true},
        {"239.76df", 240, true, true}, {"1", 1, false, false},         {"1000", 1000, false, false},
        {"12", 12, false, false},
    };
    for (auto const& c : cases)
        EXPECT_EQ(timecode_rate_from_name(c.name), (timecode_rate{c.nominal, c.fractional, c.drop})) << c.name;
    for (char const* bad : {"", "0", "1001", "30df", "29.97df ", "25df", "024", "30/1.01", "/1.001", "df", "29.970",
                            "-25", "24/1.001df", static_cast<char const*>(nullptr)})
        EXPECT_EQ(timecode_rate_from_name(bad), timecode_rate{}) << '"' << (bad ? bad : "null") << '"';
    char small[timecode_rate_name_size - 1];
    EXPECT_EQ(timecode_rate_name(rate("25"), small, sizeof small), 0u);
}

TEST(TimecodeRateFacts, ExactRatesAndDays) {
    struct {
        char const* name;
        std::int64_t num, den, day;
    } const cases[] = {
        {"23.976", 24000, 1001, 2073600},        {"29.97df", 30000, 1001, 24 * 107892},
        {"59.94df", 60000, 1001, 24 * 215784},   {"25", 25, 1, 2160000},
        {"119.88df", 120000, 1001, 24 * 431568}, {"7/1.001", 1000, 143, 7 * 86400},
    };
    for (auto const& c : cases) {
        timecode_ratio const q = timecode_rate_exact(rate(c.name));
        EXPECT_EQ(q.num, c.num) << c.name;
        EXPECT_EQ(q.den, c.den) << c.name;
        EXPECT_EQ(timecode_frames_per_day(rate(c.name)), c.day) << c.name;
    }
}

TEST(TimecodeRateText, WorkedExamples) {
    struct {
        char const* rate;
        std::int64_t frame;
        char const* text;
    } const cases[] = {
        // Drop-frame days are walked frame by frame below.
        {"23.976", 86399, "00:59:59:23"}, {"25", 90013, "01:00:00:13"},   {"100", 99, "00:00:00:99"},
        {"120", 119, "00:00:00:119"},     {"25", 2160000, "00:00:00:00"}, {"25", -1, "23:59:59:24"},
        {"29.97df", -1, "23:59:59;29"},   {"1000", 999, "00:00:00:999"},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(text(rate(c.rate), c.frame), c.text) << c.rate << " " << c.frame;
        timecode_reading const x = timecode_read(rate(c.rate), c.text);
        ASSERT_TRUE(x.ok()) << c.rate << " " << c.text;
        EXPECT_EQ(x.frame, c.frame < 0 ? c.frame + timecode_frames_per_day(rate(c.rate))
                                       : c.frame % timecode_frames_per_day(rate(c.rate)));
    }
}

TEST(TimecodeRateText, RunningAndSignedCounts) {
    timecode_rate const r25 = rate("25"), df = rate("29.97df");
    struct {
        timecode_rate r;
        std::int64_t frame;
        unsigned options;
        char const* text;
    } const cases[] = {
        // 25:00:00:00 running, -00:00:01:00 signed and refused running: the command's format tests.
        {r25, 2250000, 0, "01:00:00:00"},
        {r25, -25, timecode_signed | timecode_running, "-00:00:01:00"},
        {r25, -2160001, timecode_signed, "-00:00:00:01"},  // the magnitude wraps
        {r25, 25LL * 3600 * 1000, timecode_running, "1000:00:00:00"},
        {df, 24 * 107892 + 1800, timecode_running, "24:01:00;02"},
        {df, -1800, timecode_signed, "-00:01:00;02"},
        {rate("1"), INT64_MIN, timecode_signed | timecode_running, "-2562047788015215:30:08:00"},
    };
    for (auto const& c : cases) {
        EXPECT_EQ(text(c.r, c.frame, c.options), c.text) << c.frame;
        timecode_reading const x = timecode_read(c.r, c.text, c.options | timecode_running);
        if (c.r.nominal == 1) continue;  // hours beyond what reading accepts
        ASSERT_TRUE(x.ok()) << c.text;
        timecode_fields f;
        ASSERT_TRUE(timecode_frames_to_fields(c.r, x.frame, c.options, &f));
        EXPECT_EQ(text(c.r, x.frame, c.options), c.text);
    }
    // No buffer too small is written past.
    char buf[12];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(timecode_write(r25, 0, buf, 11), 0u);
    EXPECT_EQ(buf[0], 'x');
    EXPECT_EQ(timecode_write(r25, 0, buf, 12), 11u);
    EXPECT_EQ(timecode_write(timecode_rate{}, 0, buf, sizeof buf), 0u);
}

// Labels counted one by one, skipping what the rule skips, against the
// text of every frame of a day and its strict reading.
TEST(TimecodeRateText, EveryFrameOfADayAtEveryDropRate) {
    for (char const* name : {"29.97df", "59.94df", "119.88df", "239.76df"}) {
        timecode_rate const r = rate(name);
        int const n = r.nominal, skip = 2 * n / 30;
        std::int64_t const day = timecode_frames_per_day(r);
        int h = 0, m = 0, s = 0, f = 0;
        char expect[16], got[timecode_text_size];
        std::int64_t frame = 0;
        for (; frame < day; ++frame) {
            timecode_fields k;
            if (!timecode_frames_to_fields(r, frame, 0, &k) || k.hours != h || k.minutes != m || k.seconds != s ||
                k.frames != f) {
                ADD_FAILURE() << name << " frame " << frame << ": " << k.hours << ":" << k.minutes << ":" << k.seconds
                              << ";" << k.frames << " expected " << h << ":" << m << ":" << s << ";" << f;
                break;
            }
            std::size_t const len = timecode_write(r, frame, got, sizeof got);
            timecode_reading const x = timecode_read_n(r, got, len);
            if (len == 0 || !x.ok() || x.frame != frame) {
                ADD_FAILURE() << name << " frame " << frame << ": " << got << " read back as " << x.frame;
                break;
            }
            if (frame % 1009 == 0) {  // the text, written the long way
                std::snprintf(expect, sizeof expect, n > 100 ? "%02d:%02d:%02d;%03d" : "%02d:%02d:%02d;%02d", h, m, s,
                              f);
                EXPECT_STREQ(got, expect);
            }
            // Next label.
            if (++f == n) {
                f = 0;
                if (++s == 60) {
                    s = 0;
                    if (++m == 60) {
                        m = 0;
                        ++h;
                    }
                    if (m % 10 != 0) f = skip;
                }
            }
        }
        EXPECT_EQ(frame, day);
        EXPECT_EQ(h, 24) << name;  // the count reaches midnight exactly
    }
}

// Refusals by field: hours, minutes, seconds, frames, separators, drop-frame
// labels that do not exist, the whole text.
TEST(TimecodeRateRead, RefusalsNameTheField) {
    timecode_rate const df = rate("29.97df"), df60 = rate("59.94df"), r25 = rate("25"), r120 = rate("120");
    struct {
        timecode_rate r;
        char const* text;
        unsigned options;
        timecode_field field;
        char const* reason;
    } const cases[] = {
        {df, "25:00:00;00", 0, timecode_field::hours, "hours 25 out of range 0-23"},
        {df, "24:00:00;00", 0, timecode_field::hours, "hours 24 out of range 0-23"},
        {r25, "1:00:00:00", 0, timecode_field::hours, "hours: expected 2 digits at column 1"},
        {r25, "100:00:00:00", 0, timecode_field::hours, "hours: expected 2 digits at column 1"},
        {r25, "1000000000:00:00:00", timecode_running, timecode_field::hours,
         "hours 1000000000 out of range 0-999999999"},
        {r25, "0100:00:00:00", timecode_running, timecode_field::hours, "hours: expected 2 digits at column 1"},
        {df, "01:61:00;00", 0, timecode_field::minutes, "minutes 61 out of range 0-59"},
        {r25, "01:6:00:00", 0, timecode_field::minutes, "minutes: expected 2 digits at column 4"},
        {r25, "01", 0, timecode_field::minutes, "minutes: expected 2 digits at column 3"},
        {r25, "00:00:60:00", 0, timecode_field::seconds, "seconds 60 out of range 0-59"},
        {r25, "00:00:", 0, timecode_field::seconds, "seconds: expected 2 digits at column 7"},
        {r25, "00:00:00:25", 0, timecode_field::frames, "frames 25 out of range 0-24"},
        {df60, "00:00:00;60", 0, timecode_field::frames, "frames 60 out of range 0-59"},
        {r120, "00:00:00:99", 0, timecode_field::frames, "frames: expected 3 digits at column 10"},
        {r120, "00:00:00:120", 0, timecode_field::frames, "frames 120 out of range 0-119"},
        {r25, "00:00:00:001", 0, timecode_field::frames, "frames: expected 2 digits at column 10"},
        {r25, "00:00:00", 0, timecode_field::frames, "frames: expected 2 digits at column 9"},
        {df, "00:00:00:00", 0, timecode_field::separator,
         "frame separator ':' at 29.97df: drop-frame labels take ';' (or '.' or ',')"},
        {r25, "00:00:00;00", 0, timecode_field::separator, "frame separator ';' at 25: non-drop labels take ':'"},
        {r25, "00:00:00.00", 0, timecode_field::separator, "frame separator '.' at 25: non-drop labels take ':'"},
        {r25, "00-00:00:00", 0, timecode_field::separator, "separator '-' at column 3: expected ':'"},
        {df, "00:00:00+00", 0, timecode_field::separator, "separator '+' at column 9: expected ';'"},
        {df, "00;00;00;00", 0, timecode_field::separator, "separator ';' at column 3: expected ':'"},
        {df, "00:01:00;00", 0, timecode_field::label,
         "00:01:00;00 is not a drop-frame label: frames 00 and 01 are skipped at minute 1"},
        {df, "00:59:00.01", 0, timecode_field::label,
         "00:59:00.01 is not a drop-frame label: frames 00 and 01 are skipped at minute 59"},
        {df60, "10:01:00;03", 0, timecode_field::label,
         "10:01:00;03 is not a drop-frame label: frames 00 to 03 are skipped at minute 1"},
        {r25, "", 0, timecode_field::text, "empty timecode"},
        {df, "01:00:00;00,extra", 0, timecode_field::text, "unexpected ',' after the frames at column 12"},
        {r25, " 00:00:00:00", 0, timecode_field::hours, "hours: expected 2 digits at column 1"},
        {r25, "00:00:00:00\n", 0, timecode_field::text, "unexpected character 0x0a after the frames at column 12"},
        {df, "-00:00:01;00", 0, timecode_field::sign, "negative timecode not allowed here"},
        {timecode_rate{}, "00:00:00:00", 0, timecode_field::rate, "not a timecode rate"},
    };
    for (auto const& c : cases) {
        timecode_reading const x = timecode_read(c.r, c.text, c.options);
        EXPECT_FALSE(x.ok()) << c.text;
        EXPECT_EQ(x.problem.field, c.field) << c.text;
        EXPECT_EQ(reason(c.r, c.text, c.options), c.reason);
    }
    // Accepted separators and signed or running texts: the command's parse tests.
    // Reading is bounded by the length given, not by a NUL.
    EXPECT_TRUE(timecode_read_n(r25, "00:00:01:00garbage", 11).ok());
    // A reason is cut to the buffer, NUL included.
    char tiny[6];
    EXPECT_EQ(timecode_reason(df, timecode_read(df, "01:61:00;00").problem, tiny, sizeof tiny), 5u);
    EXPECT_STREQ(tiny, "minut");
}

TEST(TimecodeRateConvert, NearestFrameStartByRealTime) {
    struct {
        char const* from;
        char const* to;
        std::int64_t frame, expect;
    } const cases[] = {
        {"29.97df", "59.94df", 2, 4}, {"59.94df", "29.97df", 5, 3},  // exactly half-way: the later frame
        {"59.94df", "29.97df", 3, 2}, {"25", "24", 25, 24},         {"24", "25", 1, 1},
        {"24", "25", 12, 13},         {"24", "25", -12, -12},       {"23.976", "24", 24000, 24024},
        {"29.97", "30", 1000, 1001},  {"25", "23.976", 1, 1},       {"30", "29.97df", 107892, 107784},
    };
    for (auto const& c : cases) {
        std::int64_t out = 0;
        ASSERT_TRUE(timecode_convert_real_time(rate(c.from), rate(c.to), c.frame, &out)) << c.from;
        EXPECT_EQ(out, c.expect) << c.from << " -> " << c.to << " " << c.frame;
    }
    std::int64_t out = 0;
    EXPECT_FALSE(timecode_convert_real_time(rate("1"), rate("1000"), INT64_MAX, &out));
    EXPECT_FALSE(timecode_convert_real_time(timecode_rate{}, rate("25"), 0, &out));
}

}  // namespace
