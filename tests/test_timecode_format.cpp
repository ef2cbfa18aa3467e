// Timecode texts byte for byte against texts assembled with snprintf, over
// every timecode type, all 32 display flag combinations, a day at a stride,
// the field boundaries, negatives and the int extremes, with and without a
// sign column.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "timecode_reference.h"

namespace {

std::vector<int> samples_for(tcref::Rate const& r) {
    int const m = r.modulus, d = r.day;
    std::vector<int> v = {0, 1, 2, 3, m - 1, m, m + 1, 10 * m - 1, 10 * m, 60 * m - 1, 60 * m, 60 * m + 1,
                          600 * m, 3600 * m - 1, 3600 * m, 3600 * m + 1, 36000 * m - 1, 36000 * m, d - 2, d - 1, d,
                          d + 1, 2 * d - 1, 2 * d, 5 * d + 7, -1, -2, -m, -m - 1, -3600 * m, -d + 1, -d, -d - 1,
                          -2 * d - 5, INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, invalid_sample, invalid_sample + 1,
                          invalid_sample - 1, past_end_sample, before_start_sample, past_end_sample - 1,
                          before_start_sample + 1};
    // Drop-frame minute, ten-minute and hour edges.
    for (int e : {1798, 1799, 1800, 1801, 3597, 3598, 3599, 17981, 17982, 17983, 19781, 19782, 107891, 107892,
                  107893, 2589406, 2589407})
        v.push_back(e);
    // A day at a stride that visits every frame number and second.
    for (int s = 0; s < d; s += 1009 + m) v.push_back(s);
    for (int s = -d; s < 0; s += 7919 * (d / 1036800)) v.push_back(s);
    return v;
}

struct FormatSweep : ::testing::TestWithParam<tcref::Rate> {};

TEST_P(FormatSweep, AllFlagsMatchSnprintfWithSignColumn) {
    tcref::Rate const& r = GetParam();
    std::vector<int> const samples = samples_for(r);
    for (int flags = 0; flags < 32; ++flags) {
        auto c = tcref::make(r.type, flags);
        ASSERT_TRUE(c);
        LabelPoint lp(0, c.get());
        int mismatches = 0;
        for (int s : samples) {
            std::string const want = tcref::text(r, r.modulus, r.day, flags, true, s);
            char const* got = c->get_abs_string(&lp, s);
            if (want != got && ++mismatches < 5)
                ADD_FAILURE() << r.name << " flags " << flags << " sample " << s << ": got '" << got << "' want '"
                              << want << "'";
        }
        EXPECT_EQ(mismatches, 0) << r.name << " flags " << flags;
    }
}

TEST_P(FormatSweep, AllFlagsMatchSnprintfWithoutSignColumn) {
    tcref::Rate const& r = GetParam();
    std::vector<int> const samples = samples_for(r);
    for (int flags = 0; flags < 32; ++flags) {
        auto c = tcref::make(r.type, flags);
        LabelPoint lp(0, c.get());
        lp.removePadding();
        ASSERT_STREQ(lp.label_template.template_text.c_str(), r.templ + 1);
        int mismatches = 0;
        std::string expected_log, log;
        ::testing::internal::CaptureStdout();
        for (int s : samples) {
            std::string const want = tcref::text(r, r.modulus, r.day, flags, false, s);
            std::string const got = c->get_abs_string(&lp, s);
            if (want != got && ++mismatches < 5)
                ADD_FAILURE() << r.name << " flags " << flags << " sample " << s << ": got '" << got << "' want '"
                              << want << "'";
            bool const special = s == invalid_sample || s == past_end_sample || s == before_start_sample;
            if (s < 0 && !special) expected_log += std::string("assertion failed abs_sample >= 0 at ") + r.negative_where + "\n";
        }
        log = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(mismatches, 0) << r.name << " flags " << flags;
        EXPECT_EQ(log, expected_log) << r.name << " flags " << flags;
    }
}

// Whatever the sample and flags, the text fits the point's 23 bytes with
// room to spare and leaves the rest of the buffer alone.
TEST_P(FormatSweep, TextNeverOutgrowsThePoint) {
    tcref::Rate const& r = GetParam();
    for (int flags : {0, 15, 31}) {
        auto c = tcref::make(r.type, flags);
        for (bool sign : {true, false}) {
            LabelPoint lp(0, c.get());
            if (!sign) lp.removePadding();
            ::testing::internal::CaptureStdout();
            for (int s : {INT_MIN, INT_MIN + 1, -r.day - 1, -1, INT_MAX}) {
                std::memset(lp.text, 'Z', sizeof lp.text);
                char const* t = c->get_abs_string(&lp, s);
                EXPECT_EQ(t, lp.text);
                std::size_t const n = std::strlen(t);
                EXPECT_LE(n, static_cast<std::size_t>(r.frame_digits == 3 ? 13 : 12)) << r.name << " " << s;
                for (std::size_t i = n + 1; i < sizeof lp.text; ++i) EXPECT_EQ(lp.text[i], 'Z');
            }
            ::testing::internal::GetCapturedStdout();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Timecode, FormatSweep, ::testing::ValuesIn(tcref::rates()),
                         [](auto const& info) { return std::string(info.param.name); });

}  // namespace
