// Timecode texts and SMPTE words against the reference: every rate, all 32
// display flag combinations, with and without a sign column, through the
// leaf class and through a class derived from it (the general way); at the
// field boundaries, a day at a stride, negatives and the int extremes. Texts and packed texts of the
// registry's flags read back.
#include <climits>
#include <cstring>
#include <vector>

#include "test_support.h"
#include "timecode_reference.h"

namespace {

bool special(int s) { return s == invalid_sample || s == past_end_sample || s == before_start_sample; }

std::vector<int> samples_for(tcref::Rate const& r) {
    int const m = r.modulus, d = r.day();
    std::vector<int> v = {0, 1, 3, m - 1, m, 10 * m - 1, 10 * m, 60 * m - 1, 60 * m, 600 * m, 3600 * m - 1,
                          3600 * m, 36000 * m - 1, 36000 * m, d - 1, d, d + 1, 2 * d, -1, -m, -m - 1, -3600 * m,
                          -d + 1, -d, -d - 1, -2 * d - 5, INT_MIN, INT_MIN + 1, INT_MAX, invalid_sample,
                          invalid_sample + 1, past_end_sample, before_start_sample};
    for (int s = 0; s < d; s += d / 1500 + 7) v.push_back(s);
    for (int s = -d; s < 0; s += d / 100 + 3) v.push_back(s);
    return v;
}

struct FormatSweep : testing::TestWithParam<tcref::Rate> {};

TEST_P(FormatSweep, AllFlagsMatchTheReference) {
    tcref::Rate const& r = GetParam();
    std::vector<int> const samples = samples_for(r);
    std::size_t const widest = r.frame_digits == 3 ? 13 : 12;
    for (int flags = 0; flags < 32; ++flags)
        for (bool sign : {true, false}) {
            std::unique_ptr<timecode_label> const cvts[2] = {r.make(flags), r.make_derived(flags)};
            LabelPoint lps[2] = {LabelPoint(0, cvts[0].get()), LabelPoint(0, cvts[1].get())};
            for (LabelPoint& lp : lps) {
                if (!sign) lp.removePadding();
                ASSERT_EQ(lp.label_template.template_text, sign ? r.templ : r.templ + 1);
            }
            int failures = 0;
            std::string expected_log;
            std::string const log = printed([&] {
                for (int s : samples) {
                    std::string const want = tcref::text(r, flags, sign, s);
                    unsigned const want_word = tcref::smpte(r, (flags & 16) != 0, s);
                    for (int k = 0; k < 2; ++k) {
                        timecode_label* c = cvts[k].get();
                        LabelPoint& lp = lps[k];
                        auto fail = [&](std::string const& what) {
                            if (++failures < 5) ADD_FAILURE() << r.name << " flags " << flags << " sign " << sign
                                                              << (k ? " derived " : " leaf ") << s << ": " << what;
                        };
                        std::memset(lp.text, 'Z', sizeof lp.text);
                        char const* got = c->get_abs_string(&lp, s);
                        if (want != got || std::strlen(got) > widest || lp.text[sizeof lp.text - 1] != 'Z')
                            fail(std::string("text '") + got + "' want '" + want + "'");
                        if (!sign && s < 0 && !special(s))
                            expected_log += assertion("abs_sample >= 0", "labelcvt", r.negative_line);
                        unsigned word = c->get_abs_smpte_string(&lp, s);
                        if (word != want_word) fail("SMPTE word " + std::to_string(word));
                        if (flags != 15 || !sign || special(s) || s <= -r.day() || s >= r.day()) continue;
                        // The registry's flags: the text reads back (drop-frame reads '-' as 0), and so
                        // does the packed text of the fields; the word decodes to the plain count.
                        int const back = c->get_abs_sample(got);
                        if (back != ((r.type == ntsc_drop_label_t && s < 0) ? 0 : s)) fail("read back " + std::to_string(back));
                        if (s < 0) continue;
                        tcref::Hmsf const t = tcref::decompose(r, false, s);
                        char packed[32];
                        std::snprintf(packed, sizeof packed, r.frame_digits == 3 ? "%02d%02d%02d%03d" : "%02d%02d%02d%02d",
                                      t.h, t.m, t.s, t.f);
                        if (c->get_abs_sample_from_packed_string(packed) != s) fail(std::string("packed ") + packed);
                        bool drop = false;
                        int const plain = ((t.h * 60 + t.m) * 60 + t.s) * r.modulus + t.f;
                        if (r.modulus <= 30 && (c->get_samples_from_SMPTETc(word, drop) != plain ||
                                                drop != (r.type == ntsc_drop_label_t)))
                            fail("SMPTE decode");
                    }
                }
            });
            EXPECT_EQ(failures, 0) << r.name << " flags " << flags;
            EXPECT_EQ(log, expected_log) << r.name << " flags " << flags;
        }
}

INSTANTIATE_TEST_SUITE_P(Timecode, FormatSweep, testing::ValuesIn(tcref::rates()),
                         [](auto const& info) { return std::string(info.param.name); });

}  // namespace
