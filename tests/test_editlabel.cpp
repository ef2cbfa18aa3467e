// Edit labels: the pitch a medium gives a label, the audio transfer rules,
// medium-roll equivalence, the live count and the extended keep string.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <labelsbase/labelsbase.h>

#include "label_test_support.h"

namespace {

// Read while the library's static values are being built.
struct StaticProbe {
    int howmany = EditLabel::howmany;
    int invalid_medium = invalid_edit_label().medium_roll.medium;
};
StaticProbe const probe;

// An edit label whose start converter claims type t (so the pitch rules run
// whatever the registry holds), on medium roll {m, g}.
struct Claimed {
    PlainFrames cvt;
    EditLabel label;
    Claimed(label_t t, int m, int g, UserLabelType u = timecode_UserLabel)
        : cvt(t, 1, u), label(Label(cvt), roll(m, g)) {}
};

// Restores the project after a test changes it.
struct ProjectGuard {
    host::ProjectSettings saved = host::project_settings();
    ~ProjectGuard() { host::set_project_settings(saved); }
};

// ---------------------------------------------------------------------------
struct PitchCase {
    label_t type;
    std::vector<int> media;
    double pitch;
};

std::vector<PitchCase> const kPitchCases = {
    {ntsc_label_t, {film_Medium}, 1.0 / 24},
    {ntsc_label_t, {4, 21, 23, 26, 34, 36, 39, 54, 56, 67, 69}, 1.0 / 30},
    {ntsc_label_t, {22, 24, 27, 35, 37, 40, 55, 57, 68, 70, 0, 1, 3, 15, 19, 28, 71, -5}, 1.001 / 30},
    {ntsc_drop_label_t, {2}, 1.0 / 24},
    {ntsc_drop_label_t, {4, 21, 69}, 1.0 / 30},
    {ntsc_drop_label_t, {22, 70}, 1.001 / 30},
    {pal_label_t, {2}, 1.0 / 24},
    {pal_label_t, {19, 4, 0, 32}, 1.0 / 25},
    {tc_24_label_t, {16, 18, 29, 31}, 1.001 / 24},
    {tc_24_label_t, {2, 15, 28, 0}, 1.0 / 24},
    {tc_48_label_t, {42}, 1.001 / 48},
    {tc_48_label_t, {2}, 1.0 / 24},
    {tc_48_label_t, {44, 41, 43}, 1.0 / 48},
    {tc_50_label_t, {2}, 1.0 / 24},
    {tc_50_label_t, {25, 38, 4}, 1.0 / 50},
    {tc_50_duration_label_t, {2}, 1.0 / 24},
    {tc_50_duration_label_t, {25}, 1.0 / 50},
    {tc_60_label_t, {2}, 1.0 / 24},
    {tc_60_label_t, {4, 26, 39}, 1.0 / 60},
    {tc_60_label_t, {27, 40, 21, 0}, 1.001 / 60},
    {tc_60_duration_label_t, {2}, 1.0 / 24},
    {tc_60_duration_label_t, {26}, 1.0 / 60},
    {tc_60_duration_label_t, {27}, 1.001 / 60},
    {tc_12_label_t, {46}, 1.001 / 12},
    {tc_12_label_t, {2}, 1.0 / 24},
    {tc_12_label_t, {59, 45}, 1.0 / 12},
    {tc_15_label_t, {49}, 1.001 / 15},
    {tc_15_label_t, {2}, 1.0 / 24},
    {tc_15_label_t, {62, 48}, 1.0 / 15},
    {tc_120_label_t, {55, 68}, 1.001 / 120},
    {tc_120_label_t, {2, 54}, 1.0 / 120},
    {tc_240_label_t, {57, 70}, 1.001 / 240},
    {tc_240_label_t, {2, 56}, 1.0 / 240},
};

TEST(FixupPitch, EveryRuleOnAClaimedType) {
    for (PitchCase const& c : kPitchCases)
        for (int m : c.media) {
            SCOPED_TRACE(std::string(label_type_info(c.type).enumerator) + " medium " + std::to_string(m));
            Claimed e(c.type, m, 2);
            EXPECT_EQ(e.label.pitch, c.pitch);
            EXPECT_FALSE(e.label.pitch_modified);  // constructors reset it
            e.label.pitch = 7.0;
            e.label.fixup_pitch();
            EXPECT_EQ(e.label.pitch, c.pitch);
            EXPECT_TRUE(e.label.pitch_modified);
        }
}

TEST(FixupPitch, EveryRuleOnTheRegistryType) {
    int checked = 0;
    for (PitchCase const& c : kPitchCases) {
        if (!has_own_converter(c.type)) continue;
        for (int m : c.media) {
            EditLabel e(c.type, roll(m, 2));
            EXPECT_EQ(e.pitch, c.pitch) << label_type_info(c.type).enumerator << " medium " << m;
            ++checked;
        }
    }
    if (checked == 0) GTEST_SKIP() << "no timecode converters in this build";
}

TEST(FixupPitch, OtherTypesKeepTheirPitch) {
    for (label_t t : {prefix_label_t, dummy_label_t, keycode_35_label_t, keycode_353_label_t, foot_16_label_t,
                      ink_35_label_t, film_frames_label_t, tc_20_label_t, tc_80_label_t, tc_90_label_t,
                      tc_100_label_t}) {
        for (int m : {2, 4, 22, 29}) {
            Claimed e(t, m, 2);
            EXPECT_EQ(e.label.pitch, Label::get_natural_pitch(t)) << t;
            e.label.pitch = 7.0;
            e.label.fixup_pitch();
            EXPECT_EQ(e.label.pitch, 7.0);
            EXPECT_FALSE(e.label.pitch_modified);
        }
    }
}

TEST(FixupPitch, SetTypeTakesTheNewTypesRule) {
    REQUIRE_CONVERTER(ntsc_label_t);
    EditLabel e(pal_label_t, roll(22, 2));
    e.set_type(ntsc_label_t);
    EXPECT_EQ(e.pitch, 1.001 / 30);
    EXPECT_TRUE(e.pitch_modified);
}

// ---------------------------------------------------------------------------
struct AudioCase {
    label_t type;
    int generation;
    transfer_type transfer;
    int video;
    int camera;
    double pitch;
};

TEST(AudioPitch, FollowsThePictureTransfer) {
    ProjectGuard guard;
    transfer_type const ffr = transfer_frame_for_frame, pulldown = transfer_pulldown;
    AudioCase const cases[] = {
        {ntsc_label_t, 3, ffr, 21, 1, 1.0 / 30},                    // not recorded with the picture
        {ntsc_label_t, 2, ffr, 21, 1, (1.0 / 30 * 30) / 24},        // camera at 24: slowed
        {ntsc_label_t, 2, ffr, 24, 4, 1.0 / 30},                    // camera at 30
        {ntsc_label_t, 2, pulldown, 21, 1, 1.0 / 30},
        {ntsc_label_t, 2, ffr, 16, 1, 1.0 / 30},                    // 24 family
        {ntsc_label_t, 2, transfer_pull23, 22, 1, (1.0 / 30) * 1.001},
        {ntsc_label_t, 2, transfer_pull23, 21, 1, 1.0 / 30},
        {ntsc_label_t, 4, transfer_unspecified, 27, 1, (1.0 / 30) * 1.001},
        {pal_label_t, 2, ffr, 19, 3, 1.0 / 25},                     // camera at 25
        {pal_label_t, 2, ffr, 25, 1, (1.0 / 25 * 25) / 24},
        {pal_label_t, 2, pulldown, 20, 1, 1.0 / 25},
        {tc_50_label_t, 2, transfer_pogle, 18, 1, (1.0 / 50) * 1.001},
        {tc_60_duration_label_t, 2, ffr, 26, 1, (1.0 / 60 * 30) / 24},
        {tc_24_label_t, 5, ffr, 0, 1, 1.0 / 24},
        {keycode_35_label_t, 3, transfer_pull23, 15, 1, 1.0 / 24},  // 24 for every other type
        // First generation outside the source media: the pitch of the medium rule stays.
        {ntsc_label_t, 2, ffr, 28, 1, 1.0 / 30},
        {pal_label_t, 2, pulldown, 14, 1, 1.0 / 25},
        {tc_24_label_t, 2, ffr, 45, 1, 1.0 / 24},
    };
    for (AudioCase const& c : cases) {
        SCOPED_TRACE(std::string(label_type_info(c.type).enumerator) + " video " + std::to_string(c.video) +
                     " transfer " + std::to_string(c.transfer) + " generation " + std::to_string(c.generation));
        host::ProjectSettings s = guard.saved;
        s.in_camera_film_speed = static_cast<Kest::FrameRate>(c.camera);
        host::set_project_settings(s);
        Claimed e(c.type, audio_Medium, c.generation);
        e.label.pitch = 7.0;
        e.label.fix_audio_label_pitch(c.transfer, static_cast<MediumRollMedium>(c.video));
        EXPECT_EQ(e.label.pitch, c.pitch);
        EXPECT_TRUE(e.label.pitch_modified);
    }
}

TEST(AudioPitch, OnlyAudioLabels) {
    Claimed e(ntsc_label_t, source_30p_1001_Medium, 2);
    e.label.pitch = 7.0;
    e.label.fix_audio_label_pitch(transfer_pull23, source_30p_1001_Medium);
    EXPECT_EQ(e.label.pitch, 7.0);
    EXPECT_FALSE(e.label.pitch_modified);
}

// ---------------------------------------------------------------------------
TEST(Equivalence, PlayoutMediaOfOneOutputRate) {
    struct Case {
        int mine, other;
        bool want;
    };
    Case const cases[] = {
        {28, 30, true},  {30, 28, true},  {28, 29, false}, {29, 31, true},  {32, 33, true},  {34, 36, true},
        {35, 37, true},  {34, 35, false}, {38, 38, true},  {39, 40, false}, {40, 40, true},  {15, 15, false},
        {28, 15, false}, {13, 28, false}, {14, 28, false}, {28, 41, false}, {43, 43, false}, {0, 28, false},
    };
    for (Case const& c : cases) {
        Claimed a(tc_24_label_t, c.mine, 2), b(tc_24_label_t, c.other, 4);
        EXPECT_EQ(a.label.equivalentPlayoutLabelMediumRolls(b.label), c.want) << c.mine << " " << c.other;
    }
}

TEST(Equivalence, PreviousGenerationsOfOneSourceFamily) {
    struct Case {
        int m1, g1, m2, g2;
        bool want;
    };
    Case const cases[] = {
        {22, 3, 24, 4, true},  {22, 2, 24, 3, false}, {22, 3, 24, 2, false}, {13, 3, 17, 3, true},
        {13, 1, 13, 1, true},  {19, 3, 25, 5, true},  {19, 3, 21, 3, false}, {26, 3, 21, 4, true},
        {28, 3, 28, 3, false}, {15, 3, 28, 3, false}, {3, 3, 3, 3, false},   {41, 3, 42, 3, false},
        {18, 0, 16, 0, true},
    };
    for (Case const& c : cases) {
        Claimed a(tc_24_label_t, c.m1, c.g1), b(tc_24_label_t, c.m2, c.g2);
        EXPECT_EQ(a.label.equivalentPreviousGenerationMediumRolls(b.label), c.want)
            << c.m1 << "," << c.g1 << " " << c.m2 << "," << c.g2;
    }
}

// ---------------------------------------------------------------------------
TEST(Lifecycle, HowmanyCountsLiveEditLabels) {
    EXPECT_GE(probe.howmany, 1);  // the invalid edit label
    EXPECT_EQ(probe.invalid_medium, 0);
    int const before = EditLabel::howmany;
    {
        EditLabel a(pal_label_t, roll(19, 2));
        EditLabel b(a);
        EditLabel c("LABEL_REV:1 x");
        EditLabel d(Label(tc_24_label_t), roll(15, 2));
        EXPECT_EQ(EditLabel::howmany, before + 4);
        a.init(roll(20, 2));
        EXPECT_EQ(EditLabel::howmany, before + 5);
        EXPECT_EQ(a.medium_roll.medium, 20);
    }
    EXPECT_EQ(EditLabel::howmany, before + 1);  // init counted once more than destroyed
    EditLabel::howmany = before;
}

TEST(Lifecycle, CopyAssignmentAndMarker) {
    Claimed src(tc_24_label_t, 29, 2);
    src.label.marker = 7;
    src.label.set_MediumRoll(roll(16, 3));
    ASSERT_TRUE(src.label.pitch_modified);
    EditLabel copy(src.label);
    EXPECT_EQ(copy.marker, 7);
    EXPECT_FALSE(copy.pitch_modified);
    EXPECT_EQ(copy.medium_roll.medium, 16);
    EXPECT_EQ(copy.pitch, src.label.pitch);
    EXPECT_EQ(copy.revision, 1);

    EditLabel dst(pal_label_t, roll(19, 2));
    dst.marker = 3;
    dst = src.label;
    EXPECT_EQ(dst.marker, 3);
    EXPECT_FALSE(dst.pitch_modified);
    EXPECT_EQ(dst.medium_roll.medium, 16);
    EXPECT_EQ(dst.medium_roll.generation, 3);
    EXPECT_EQ(dst.pitch, src.label.pitch);

    EditLabel const& inv = invalid_edit_label();
    EXPECT_EQ(inv.medium_roll.medium, 0);
    EXPECT_EQ(inv.medium_roll.generation, 0);
    EXPECT_EQ(inv.start.cvt(), get_static_label_cvt(prefix_label_t));
    EXPECT_EQ(inv.marker, 1);
    EXPECT_FALSE(inv.is_valid());
}

TEST(MediumRoll, SetOnlyWhenItChanges) {
    Claimed e(keycode_35_label_t, 2, 1, keycode_UserLabel);
    e.label.set_MediumRoll(roll(2, 1));
    EXPECT_FALSE(e.label.pitch_modified);
    e.label.set_MediumRoll(roll(2, 3));  // new roll, same pitch
    EXPECT_TRUE(e.label.pitch_modified);
    EXPECT_EQ(e.label.pitch, 1.0 / 96);
    EXPECT_EQ(e.label.get_MediumRoll().generation, 3);

    Claimed n(ntsc_label_t, 22, 2);
    n.label.set_MediumRoll(roll(21, 2));
    EXPECT_EQ(n.label.pitch, 1.0 / 30);
    EditLabel const& c = n.label;
    EXPECT_EQ(&c.get_MediumRoll(), &n.label.medium_roll);
}

TEST(MediumRoll, ValidityNeedsACategoryAndBothFields) {
    EXPECT_TRUE(Claimed(tc_24_label_t, 22, 2).label.is_valid());
    EXPECT_TRUE(Claimed(tc_24_label_t, 1, 1).label.is_valid());
    EXPECT_FALSE(Claimed(tc_24_label_t, 0, 2).label.is_valid());
    EXPECT_FALSE(Claimed(tc_24_label_t, 22, 0).label.is_valid());
    EXPECT_FALSE(Claimed(tc_24_label_t, 22, 2, none_UserLabel).label.is_valid());
    EXPECT_FALSE(EditLabel(prefix_label_t, roll(22, 2)).is_valid());  // the fallback has no category
}

TEST(MediumRoll, EqualityComparesBothFieldsExactly) {
    EditLabel a(tc_24_label_t, roll(15, 2));
    EXPECT_TRUE(a == EditLabel(tc_24_label_t, roll(15, 2)));
    EXPECT_TRUE(a != EditLabel(tc_24_label_t, roll(17, 2)));
    EXPECT_TRUE(a != EditLabel(tc_24_label_t, roll(15, 3)));
    EXPECT_TRUE(a != EditLabel(tc_24_label_t, roll(1, 1)));  // no wildcard here
    EditLabel b(tc_24_label_t, roll(15, 2));
    b.length = 5;
    EXPECT_TRUE(a != b);
}

TEST(Project, FilmProjectsAre24And48) {
    ProjectGuard guard;
    for (int r : {1, 2, 3, 4, 5, 6, 7, 31, 34}) {
        host::ProjectSettings s = guard.saved;
        s.frame_rate = static_cast<Kest::FrameRate>(r);
        host::set_project_settings(s);
        EXPECT_EQ(is_film_project(), r == 1 || r == 6) << r;
    }
}

// ---------------------------------------------------------------------------
// Keep strings.

TEST(EditKeepString, LabelFieldsThenTheIdentifier) {
    Claimed e(pal_label_t, 19, 3);
    e.label.start.sample = 90013;
    char buf[EditLabel::keep_string_size];
    EXPECT_STREQ(e.label.make_keep_string(buf),
                 "LABEL_REV:1 plain_frames 90013 100000000 0.0400000000 0 MediumRollId 19,3");
    char* own = e.label.make_keep_string(nullptr);
    EXPECT_EQ(own, e.label.keep_buffer);
    EXPECT_STREQ(own, buf);

    EditLabel r(buf);
    EXPECT_EQ(r.medium_roll.medium, 19);
    EXPECT_EQ(r.medium_roll.generation, 3);
    EXPECT_EQ(r.length, 100000000);
    EXPECT_EQ(r.pitch, 0.04);
    EXPECT_FALSE(r.pitch_modified);
    EXPECT_EQ(r.marker, 1);
}

TEST(EditKeepString, ReaderFindsTheIdentifier) {
    struct Case {
        char const* text;
        int medium, generation;
    };
    Case const cases[] = {
        {"LABEL_REV:1 x 0 100 0.5 1", 1, 1},                       // none: any medium, any generation
        {"LABEL_REV:1 x 0 100 0.5 1 MediumRollId 28,2", 28, 2},
        {"LABEL_REV:1 x 0 100 0.5 1 MediumRollId 3", 3, 2},
        {"LABEL_REV:1 x 0 100 0.5 1 MediumRollId", 0, 0},           // nothing after it
        {"LABEL_REV:1 x 0 100 0.5 1 MediumRollId 71,1", 0, 0},
        {"LABEL_REV:1 x 0 100 0.5 1 MediumRollId 22,2 MediumRollId 4,3", 22, 2},  // the first
        {"LABEL_REV:1 x 0 100 0.5 1 xMediumRollId 4", 4, 3},      // anywhere in the text
        {"garbage MediumRollId 20,4", 20, 4},
        {"", 1, 1},
        {nullptr, 1, 1},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "null");
        EditLabel e(c.text);
        EXPECT_EQ(e.medium_roll.medium, c.medium);
        EXPECT_EQ(e.medium_roll.generation, c.generation);
    }
    // The stored pitch stays: no medium rule is applied.
    EditLabel e("LABEL_REV:1 ntsc_label 00:00:00.00 100 0.5 1 MediumRollId 22,2");
    EXPECT_EQ(e.pitch, 0.5);
    EXPECT_FALSE(e.pitch_modified);
}

TEST(EditKeepString, RevisionTwoWarns) {
    testing::internal::CaptureStderr();
    EditLabel two("LABEL_REV:2 x 0 100 0.5 1 MediumRollId 22,2");
    std::string const warned = testing::internal::GetCapturedStderr();
    EXPECT_EQ(warned, "WARNING: Beta labels. Sometime, run MENDTAGS (call us if confused).\n");
    EXPECT_EQ(two.revision, 2);
    EXPECT_EQ(two.medium_roll.medium, 22);
    testing::internal::CaptureStderr();
    EditLabel one("LABEL_REV:1 x 0 100 0.5 1 MediumRollId 22,2");
    EditLabel three("LABEL_REV:3 x 0 100 0.5 1 MediumRollId 22,2");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(three.medium_roll.medium, 22);  // the identifier is read whatever the revision
}

TEST(EditKeepString, IdentifierAlwaysFitsWhole) {
    Claimed e(pal_label_t, INT_MIN, INT_MIN);
    e.label.length = INT_MIN;
    e.label.bounded = INT_MIN;
    std::string const suffix = " MediumRollId -2147483648,-2147483648";
    for (double pitch : {0.04, 1e18, 1e300, -1e300}) {
        e.label.pitch = pitch;
        std::unique_ptr<char[]> exact(new char[EditLabel::keep_string_size]);  // ASan sees any overrun
        std::string const s = e.label.make_keep_string(exact.get());
        ASSERT_LT(s.size(), EditLabel::keep_string_size);
        ASSERT_GE(s.size(), suffix.size());
        EXPECT_EQ(s.substr(s.size() - suffix.size()), suffix) << s;
        // The label part is the label's keep string, cut where needed.
        char label_only[Label::keep_string_size];
        std::string const whole = static_cast<Label const&>(e.label).make_keep_string(label_only);
        EXPECT_EQ(whole.substr(0, s.size() - suffix.size()), s.substr(0, s.size() - suffix.size()));
    }
}

TEST(EditKeepString, DoesNotAllocate) {
    Claimed e(ntsc_label_t, 22, 2);
    host::AllocationStats const before = host::allocation_stats();
    for (int i = 0; i < 1000; ++i) {
        e.label.start.sample = i;
        e.label.make_keep_string(nullptr);
    }
    EXPECT_EQ(host::allocation_stats().allocations, before.allocations);
}

TEST(EditKeepString, RegistryLabelsComeBack) {
    REQUIRE_CONVERTER(pal_label_t);
    EditLabel e(pal_label_t, roll(19, 3));
    std::string const text = e.make_keep_string(nullptr);
    EXPECT_EQ(text, "LABEL_REV:1 pal_label  00:00:00.00 100000000 0.0400000000 1 MediumRollId 19,3");
    EditLabel r(text.c_str());
    EXPECT_EQ(r.start.cvt()->type(), pal_label_t);
    EXPECT_EQ(r.medium_roll.medium, 19);
    EXPECT_EQ(r.medium_roll.generation, 3);
    EXPECT_TRUE(r == e);
}

TEST(EditKeepString, InkLabelsReadAnInkRoll) {
    REQUIRE_CONVERTER(ink_35_label_t);
    EditLabel bare("LABEL_REV:1 ink_35_label XXXX0012+05 25000000 0.0416666667 1 MediumRollId 2");
    EXPECT_EQ(bare.medium_roll.medium, ink_Medium);
    EXPECT_EQ(bare.medium_roll.generation, 1);
    EditLabel given("LABEL_REV:1 ink_35_label XXXX0012+05 25000000 0.0416666667 1 MediumRollId 2,3");
    EXPECT_EQ(given.medium_roll.medium, film_Medium);
    EXPECT_EQ(given.medium_roll.generation, 3);
}

}  // namespace
