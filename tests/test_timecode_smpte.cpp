// SMPTE words by rate against libavutil: every frame of a day at 24, 25,
// 29.97 drop-frame, 30, 50, 59.94 drop-frame and 60 written as
// av_timecode_get_smpte_from_framenum writes it and read back as
// av_timecode_make_smpte_tc_string2 reads it; words that are no label.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include <labelsbase/timecode_rate.h>

#ifdef LABELSBASE_TEST_HAVE_AVUTIL
extern "C" {
#include <libavutil/timecode.h>
}
#endif

namespace {

timecode_rate rate(char const* name) { return timecode_rate_from_name(name); }

TEST(TimecodeSmpte, EveryFrameOfADayAgreesWithLibavutil) {
#ifndef LABELSBASE_TEST_HAVE_AVUTIL
    GTEST_SKIP() << "libavutil not found at configure time";
#else
    for (char const* name : {"24", "25", "29.97df", "30", "50", "59.94df", "60"}) {
        timecode_rate const r = rate(name);
        timecode_ratio const q = timecode_rate_exact(r);
        AVTimecode tc;
        ASSERT_EQ(av_timecode_init(&tc, AVRational{static_cast<int>(q.num), static_cast<int>(q.den)},
                                   r.drop ? AV_TIMECODE_FLAG_DROPFRAME : 0, 0, nullptr),
                  0)
            << name;
        std::int64_t const day = timecode_frames_per_day(r);
        int bad = 0;
        for (std::int64_t frame = 0; frame < day && bad < 5; ++frame) {
            std::uint32_t ours = 0;
            std::uint32_t const theirs = av_timecode_get_smpte_from_framenum(&tc, static_cast<int>(frame));
            if (!timecode_to_smpte(r, frame, &ours) || ours != theirs) {
                ADD_FAILURE() << name << " frame " << frame << std::hex << ": word " << ours << ", libavutil "
                              << theirs;
                ++bad;
                continue;
            }
            // Reading back: our frame, and libavutil's text of the word is ours.
            std::int64_t back = -1;
            if (!timecode_from_smpte(r, theirs, &back) || back != frame) {
                ADD_FAILURE() << name << " word " << std::hex << theirs << " read back as " << std::dec << back;
                ++bad;
            }
            if (frame % 997 == 0) {
                char theirs_text[AV_TIMECODE_STR_SIZE], ours_text[timecode_text_size];
                av_timecode_make_smpte_tc_string2(theirs_text, tc.rate, theirs, 0, 0);
                timecode_write(r, frame, ours_text, sizeof ours_text);
                EXPECT_STREQ(ours_text, theirs_text) << name << " frame " << frame;
            }
        }
    }
#endif
}

TEST(TimecodeSmpte, WordsThatAreNoLabel) {
    struct {
        char const* rate;
        std::uint32_t word;
    } const refused[] = {
        {"25", 0x0000000au},       // hour units 10
        {"25", 0x00000024u},       // hour 24
        {"25", 0x25000000u},       // frame 25
        {"25", 0x00600000u},       // second 60
        {"25", 0x40000000u},       // drop flag at a non-drop rate
        {"29.97df", 0x00000000u},  // no drop flag at a drop-frame rate
        {"29.97df", 0x40000100u},  // 00:01:00;00 is skipped
        {"59.94df", 0x41000100u},  // 00:01:00;02 is skipped at 59.94
        {"100", 0x00000000u},      // frame numbers past 79 do not fit the word
    };
    for (auto const& c : refused) {
        std::int64_t frame = -7;
        EXPECT_FALSE(timecode_from_smpte(rate(c.rate), c.word, &frame)) << c.rate << " " << std::hex << c.word;
        EXPECT_EQ(frame, -7);
    }
    // The field bit: bit 7 at 50, bit 23 at 60 and 59.94; frames wrap into the day.
    struct {
        char const* rate;
        std::int64_t frame;
        std::uint32_t word;
    } const words[] = {
        {"50", 49, 0x24000080u}, {"60", 59, 0x29800000u},         {"59.94df", 3600, 0x42000100u},
        {"25", -1, 0x24595923u}, {"29.97df", 17982, 0x40001000u},
    };
    for (auto const& c : words) {
        std::uint32_t w = 0;
        ASSERT_TRUE(timecode_to_smpte(rate(c.rate), c.frame, &w));
        EXPECT_EQ(w, c.word) << c.rate << " " << c.frame << std::hex << " " << w;
    }
}

}  // namespace
