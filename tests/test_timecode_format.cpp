// Timecode texts byte for byte against texts assembled with snprintf: every
// rate, all 32 display flag combinations, with and without a sign column, at
// the field boundaries, a day at a stride, negatives and the int extremes.
#include <climits>
#include <cstring>
#include <vector>

#include "test_support.h"
#include "timecode_reference.h"

namespace {

std::vector<int> samples_for(tcref::Rate const& r) {
    int const m = r.modulus, d = r.day();
    std::vector<int> v = {0, 1, 3, m - 1, m, 10 * m - 1, 10 * m, 60 * m - 1, 60 * m, 600 * m, 3600 * m - 1,
                          3600 * m, 36000 * m - 1, 36000 * m, d - 1, d, d + 1, 2 * d, -1, -m, -m - 1, -3600 * m,
                          -d + 1, -d, -d - 1, -2 * d - 5, INT_MIN, INT_MIN + 1, INT_MAX, invalid_sample,
                          invalid_sample + 1, past_end_sample, before_start_sample};
    for (int e : {1799, 1800, 3597, 3598, 17981, 17982, 17983, 19781, 19782, 107891, 107892, 2589407}) v.push_back(e);
    for (int s = 0; s < d; s += d / 1500 + 7) v.push_back(s);
    for (int s = -d; s < 0; s += d / 100 + 3) v.push_back(s);
    return v;
}

struct FormatSweep : testing::TestWithParam<tcref::Rate> {};

TEST_P(FormatSweep, AllFlagsMatchSnprintf) {
    tcref::Rate const& r = GetParam();
    std::vector<int> const samples = samples_for(r);
    std::size_t const widest = r.frame_digits == 3 ? 13 : 12;
    for (int flags = 0; flags < 32; ++flags)
        for (bool sign : {true, false}) {
            auto c = r.make(flags);
            LabelPoint lp(0, c.get());
            if (!sign) lp.removePadding();
            ASSERT_EQ(lp.label_template.template_text, sign ? r.templ : r.templ + 1);
            int mismatches = 0;
            std::string expected_log;
            std::string const log = printed([&] {
                for (int s : samples) {
                    std::memset(lp.text, 'Z', sizeof lp.text);
                    std::string const want = tcref::text(r, flags, sign, s);
                    char const* got = c->get_abs_string(&lp, s);
                    bool const overrun = std::strlen(got) > widest || lp.text[sizeof lp.text - 1] != 'Z';
                    if ((want != got || overrun) && ++mismatches < 5)
                        ADD_FAILURE() << r.name << " flags " << flags << " sign " << sign << " sample " << s
                                      << ": got '" << got << "' want '" << want << "'";
                    bool const special = s == invalid_sample || s == past_end_sample || s == before_start_sample;
                    if (!sign && s < 0 && !special) expected_log += assertion("abs_sample >= 0", "labelcvt", r.negative_line);
                }
            });
            EXPECT_EQ(mismatches, 0) << r.name << " flags " << flags;
            EXPECT_EQ(log, expected_log) << r.name << " flags " << flags;
        }
}

INSTANTIATE_TEST_SUITE_P(Timecode, FormatSweep, testing::ValuesIn(tcref::rates()),
                         [](auto const& info) { return std::string(info.param.name); });

}  // namespace
