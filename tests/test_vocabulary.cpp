// The vocabulary rows: names read back, the rate sets the translation and
// audio rules depend on, the media a rate belongs to, and neutral answers
// for numbers outside the tables.
#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "labelsbase/MediumRoll.h"
#include "labelsbase/vocabulary.h"

namespace {

using K = Kest::FrameRate;

TEST(VocabularyNames, EveryNameReadsBackInAnyCase) {
    for (lb::MediumRow const& m : lb::kMedia) {
        if (!m.name) {
            EXPECT_FALSE(lb::is_medium_used(m.medium)) << m.medium;
            continue;
        }
        std::string upper = std::string(m.name) + "_MEDIUM";
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(lb::medium_from_name(m.name), m.medium) << m.name;
        EXPECT_EQ(lb::medium_from_name(upper.c_str()), m.medium) << upper;
    }
    for (lb::RateRow const& r : lb::kRates) {
        if (!r.name) continue;
        EXPECT_EQ(lb::rate_from_name(r.name), r.rate) << r.name;
        for (char const* a : r.aliases) EXPECT_TRUE(!a || lb::rate_from_name(a) == r.rate) << a;
    }
}

TEST(VocabularyNames, NearMissesAndBadInput) {
    for (char const* s : std::initializer_list<char const*>{"", "_medium", "film_", "filmx", "source_24p_100",
                                                            "source_24p_1001_", "5", nullptr})
        EXPECT_EQ(lb::medium_from_name(s), -1) << (s ? s : "null");
    for (char const* s :
         std::initializer_list<char const*>{"", "23.97", "24.00", "kest:1", "film_at", "2", "29.970", nullptr})
        EXPECT_EQ(lb::rate_from_name(s), -1) << (s ? s : "null");
    EXPECT_STREQ(lb::user_label_type_name(film_frames_UserLabel), "film_frames");
    EXPECT_STREQ(lb::user_label_type_name(static_cast<UserLabelType>(8)), "none");
    EXPECT_STREQ(lb::user_label_type_name(static_cast<UserLabelType>(-1)), "none");
}

// The project-rate sets the translation rules branch on. A row edited by
// mistake moves a rate into or out of one of them.
TEST(VocabularyRates, NamedSetsHoldTheirRates) {
    struct Set {
        char const* what;
        bool (*pred)(int);
        std::initializer_list<int> members;
    } const sets[] = {
        {"film", lb::is_film_rate, {1, 2, 6, 7, 31, 34}},
        {"pal", lb::is_pal_rate, {3, 8}},
        {"ntsc", lb::is_ntsc_rate, {4, 5, 9, 10}},
        {"film counted", lb::is_film_counted_rate, {31, 32, 33, 34}},
        {"film at video", lb::is_film_at_video_rate, {32, 33}},
        {"film video", lb::is_film_video_rate, {1, 2, 6, 7}},
        {"whole film video", lb::is_whole_film_video_rate, {1, 6}},
        {"pal family", lb::is_pal_family_rate, {3, 8, 32}},
        {"ntsc family", lb::is_ntsc_family_rate, {4, 5, 9, 10, 33}},
        {"double", lb::is_double_rate, {8, 9, 10}},
    };
    for (Set const& s : sets)
        for (int r = -2; r <= Kest::FrameRate_last + 2; ++r) {
            bool const member = std::find(s.members.begin(), s.members.end(), r) != s.members.end();
            EXPECT_EQ(s.pred(r), member) << s.what << " " << r;
        }
}

TEST(VocabularyRates, ExactRationalsAndNames) {
    struct {
        K rate;
        int num, den;
        double nominal;
        char const* name;
    } const cases[] = {
        {Kest::FrameRate_23_976, 24000, 1001, 24, "23.976"},
        {Kest::FrameRate_12_5, 25, 2, 12.5, "12.5"},
        {Kest::FrameRate_239_76, 240000, 1001, 240, "239.76"},
        {Kest::FrameRate_film_at_25, 25, 1, 25, "film_at_25"},
        {Kest::FrameRate_24, 24, 1, 24, "24"},
    };
    for (auto const& c : cases) {
        lb::Rational const q = lb::rate_rational(c.rate);
        EXPECT_EQ(q.num, c.num) << c.name;
        EXPECT_EQ(q.den, c.den) << c.name;
        EXPECT_EQ(lb::rate_nominal_fps(c.rate), c.nominal) << c.name;
        EXPECT_STREQ(lb::rate_row(c.rate).name, c.name);
    }
    // Every rate, the unnamed ones included, is its rational.
    for (int r = 0; r <= Kest::FrameRate_last; ++r) {
        lb::Rational const q = lb::rate_rational(static_cast<K>(r));
        EXPECT_NEAR(lb::rate_fps(static_cast<K>(r)), double(q.num) / q.den, 1e-12) << r;
        EXPECT_EQ(lb::rate_is_1001(static_cast<K>(r)), q.den == 1001) << r;
    }
    EXPECT_EQ(lb::rate_row(-1).rate, Kest::FrameRate_none);
    EXPECT_EQ(lb::rate_row(48).rate, Kest::FrameRate_none);
}

// The media a rate belongs to are media of that rate, side and scan, and
// the medium-mapping entry points give the same ones.
TEST(VocabularyMedia, RatesAndMediaAgree) {
    for (int r = 0; r <= Kest::FrameRate_last; ++r) {
        K const rate = static_cast<K>(r);
        for (bool interlaced : {false, true}) {
            MediumRollMedium const src = lb::rate_source_medium(r, interlaced);
            MediumRollMedium const out = lb::rate_output_medium(r, interlaced);
            EXPECT_EQ(src == unknown_Medium, !lb::rate_has_media(r)) << r;
            EXPECT_EQ(out == unknown_Medium, !lb::rate_has_media(r)) << r;
            if (src == unknown_Medium) continue;
            EXPECT_EQ(lb::medium_rate(src), rate);
            EXPECT_TRUE(lb::is_source_medium(src) && lb::is_output_medium(out)) << r;
            Kest::Image::ScanMode const scan =
                interlaced ? Kest::Image::ScanMode_interlaced_upper : Kest::Image::ScanMode_progressive;
            EXPECT_EQ(getMediumRollfromInputDetails(scan, rate), src) << r;
            EXPECT_EQ(getMediumRollfromOutputDetails(scan, rate), out) << r;
            // Without an interlaced medium the progressive one stands for both scans.
            if (lb::medium_row(src)->scan == lb::MediumScan::progressive) {
                EXPECT_EQ(src, lb::rate_source_medium(r, false)) << r;
            }
        }
    }
    for (int m : {-1, 71, 1000}) {
        EXPECT_EQ(lb::medium_row(m), nullptr);
        EXPECT_EQ(lb::medium_class(m), lb::MediumClass::none);
        EXPECT_EQ(lb::medium_rate(m), Kest::FrameRate_none);
    }
}

}  // namespace
