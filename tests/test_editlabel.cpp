// Edit labels: the pitch a medium gives a label, the audio transfer rules,
// medium-roll equivalence, the live count and the extended keep string.
#include <climits>
#include <vector>

#include "test_support.h"

namespace {

// Read while the library's static values are being built.
int const static_howmany = EditLabel::howmany;
int const static_invalid_medium = invalid_edit_label().medium_roll.medium;

// An edit label whose start converter claims type t, so the pitch rules run
// whatever the registry holds.
struct Claimed {
    PlainFrames cvt;
    EditLabel label;
    Claimed(label_t t, int m, int g, UserLabelType u = timecode_UserLabel)
        : cvt(t, 1, u), label(Label(cvt), roll(m, g)) {}
};

struct EditLabels : HostReset {
    static void set(Kest::FrameRate host::ProjectSettings::*field, int rate) {
        host::ProjectSettings s = host::default_project_settings();
        s.*field = fr(rate);
        host::set_project_settings(s);
    }
};

TEST_F(EditLabels, MediumGivesTheTimecodePitch) {
    struct {
        label_t type;
        std::vector<int> media;
        double pitch;
    } const cases[] = {
        // medium 2: film
        {pal_label_t, {2}, 1.0 / 24},        {tc_120_label_t, {2, 54}, 1.0 / 120},
        {ntsc_label_t, {2}, 1.0 / 24},       {tc_60_label_t, {4, 26, 39}, 1.0 / 60},
        {tc_48_label_t, {42}, 1.001 / 48},   {tc_240_label_t, {57, 70}, 1.001 / 240},
        {tc_12_label_t, {46}, 1.001 / 12},   {tc_24_label_t, {16, 29, 31}, 1.001 / 24},
        {tc_15_label_t, {49}, 1.001 / 15},   {tc_24_label_t, {2, 15, 28, 0}, 1.0 / 24},
        {ntsc_drop_label_t, {21}, 1.0 / 30}, {tc_50_duration_label_t, {25, 4}, 1.0 / 50},
        {pal_label_t, {19, 4, 0}, 1.0 / 25}, {ntsc_label_t, {4, 21, 26, 39, 69}, 1.0 / 30},
        {tc_48_label_t, {41, 44}, 1.0 / 48}, {tc_60_duration_label_t, {27, 21}, 1.001 / 60},
        {tc_12_label_t, {59, 45}, 1.0 / 12}, {ntsc_label_t, {22, 27, 40, 70, 0, 1, 28, -5}, 1.001 / 30},
    };
    for (auto const& c : cases)
        for (int m : c.media) {
            SCOPED_TRACE(std::string(label_type_info(c.type).enumerator) + " medium " + std::to_string(m));
            Claimed e(c.type, m, 2);
            EXPECT_TRUE(e.label.pitch == c.pitch && !e.label.pitch_modified);  // constructors reset the flag
            e.label.pitch = 7.0;
            e.label.fixup_pitch();
            EXPECT_TRUE(e.label.pitch == c.pitch && e.label.pitch_modified);
            EXPECT_EQ(EditLabel(c.type, roll(m, 2)).pitch, c.pitch);  // the registry's converter too
        }
    for (label_t t :
         {prefix_label_t, keycode_35_label_t, foot_16_label_t, ink_35_label_t, tc_20_label_t, tc_100_label_t}) {
        Claimed e(t, 22, 2);
        EXPECT_EQ(e.label.pitch, Label::get_natural_pitch(t)) << t;
        e.label.pitch = 7.0;
        e.label.fixup_pitch();
        EXPECT_TRUE(e.label.pitch == 7.0 && !e.label.pitch_modified) << t;
    }
    EditLabel e(pal_label_t, roll(22, 2));
    e.set_type(ntsc_label_t);
    EXPECT_TRUE(e.pitch == 1.001 / 30 && e.pitch_modified);
}

TEST_F(EditLabels, AudioPitchFollowsThePictureTransfer) {
    transfer_type const ffr = transfer_frame_for_frame, pulldown = transfer_pulldown;
    struct {
        label_t type;
        int generation;
        transfer_type transfer;
        int video, camera;
        double pitch;
    } const cases[] = {
        {ntsc_label_t, 3, ffr, 21, 1, 1.0 / 30},  // not recorded with the picture
        {ntsc_label_t, 2, ffr, 21, 1, (1.0 / 30 * 30) / 24},
        {ntsc_label_t, 2, ffr, 24, 4, 1.0 / 30},  // camera 24, 30
        {ntsc_label_t, 2, pulldown, 21, 1, 1.0 / 30},
        {ntsc_label_t, 2, transfer_pull23, 22, 1, (1.0 / 30) * 1.001},
        {ntsc_label_t, 4, transfer_unspecified, 27, 1, (1.0 / 30) * 1.001},
        {pal_label_t, 2, ffr, 19, 3, 1.0 / 25},
        {pal_label_t, 2, ffr, 25, 1, (1.0 / 25 * 25) / 24},
        {tc_50_label_t, 2, transfer_pogle, 18, 1, (1.0 / 50) * 1.001},
        {tc_60_duration_label_t, 2, ffr, 26, 1, (1.0 / 60 * 30) / 24},
        {keycode_35_label_t, 3, transfer_pull23, 15, 1, 1.0 / 24},  // 24 for every other type
        {ntsc_label_t, 2, ffr, 28, 1, 1.0 / 30},  // first generation outside the source media: the medium rule's
        {ntsc_label_t, -1, transfer_pull23, 22, 1, 7.0},  // only audio labels (generation -1: a video roll here)
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(std::string(label_type_info(c.type).enumerator) + " video " + std::to_string(c.video));
        set(&host::ProjectSettings::in_camera_film_speed, c.camera);
        Claimed e(c.type, c.generation < 0 ? c.video : int(audio_Medium), c.generation < 0 ? 2 : c.generation);
        e.label.pitch = 7.0;
        e.label.fix_audio_label_pitch(c.transfer, med(c.video));
        EXPECT_TRUE(e.label.pitch == c.pitch && e.label.pitch_modified == (c.generation >= 0)) << e.label.pitch;
    }
}

TEST(Equivalence, PlayoutAndPreviousGenerations) {
    // p: equivalent playout rolls, g: equivalent previous generations, -: neither
    struct {
        int m1, g1, m2, g2;
        char want;
    } const cases[] = {
        {28, 2, 30, 4, 'p'}, {28, 3, 29, 3, '-'}, {29, 3, 31, 3, 'p'}, {34, 2, 35, 2, '-'}, {38, 2, 38, 2, 'p'},
        {15, 3, 15, 3, 'g'}, {28, 2, 15, 2, '-'}, {43, 3, 43, 3, '-'}, {0, 2, 28, 2, '-'},  {22, 3, 24, 4, 'g'},
        {22, 2, 24, 3, '-'}, {13, 3, 17, 3, 'g'}, {19, 3, 25, 5, 'g'}, {19, 3, 21, 3, '-'}, {26, 3, 21, 4, 'g'},
        {28, 3, 28, 3, 'p'}, {41, 3, 42, 3, '-'}, {18, 0, 16, 0, 'g'},
    };
    for (auto const& c : cases) {
        Claimed a(tc_24_label_t, c.m1, c.g1), b(tc_24_label_t, c.m2, c.g2);
        EXPECT_EQ(a.label.equivalentPlayoutLabelMediumRolls(b.label), c.want == 'p')
            << c.m1 << "," << c.g1 << " " << c.m2;
        EXPECT_EQ(a.label.equivalentPreviousGenerationMediumRolls(b.label), c.want == 'g') << c.m1 << " " << c.m2;
    }
}

TEST(Lifecycle, CountsCopiesAndMediumRolls) {
    EXPECT_TRUE(static_howmany >= 1 && static_invalid_medium == 0);  // the invalid edit label
    int const before = EditLabel::howmany;
    {
        EditLabel a(pal_label_t, roll(19, 2)), b(a), c("LABEL_REV:1 x");
        EXPECT_EQ(EditLabel::howmany, before + 3);
        a.init(roll(20, 2));
        EXPECT_EQ(EditLabel::howmany, before + 4);
    }
    EXPECT_EQ(EditLabel::howmany, before + 1);  // init counted once more than destroyed
    EditLabel::howmany = before;

    Claimed src(tc_24_label_t, 29, 2);
    src.label.marker = 7;
    src.label.set_MediumRoll(roll(16, 3));
    EditLabel copy(src.label);
    EXPECT_TRUE(copy.marker == 7 && !copy.pitch_modified && copy.medium_roll.medium == 16 && copy.revision == 1);
    EditLabel dst(pal_label_t, roll(19, 2));
    dst.marker = 3;
    dst = src.label;  // the marker stays
    EXPECT_TRUE(dst.marker == 3 && dst.medium_roll.generation == 3 && dst.pitch == src.label.pitch);

    Claimed k(keycode_35_label_t, 2, 1, keycode_UserLabel);
    k.label.set_MediumRoll(roll(2, 1));
    EXPECT_FALSE(k.label.pitch_modified);
    k.label.set_MediumRoll(roll(2, 3));  // a new roll, the same pitch
    EXPECT_TRUE(k.label.pitch_modified && k.label.pitch == 1.0 / 96);

    EXPECT_TRUE(Claimed(tc_24_label_t, 1, 1).label.is_valid() && !Claimed(tc_24_label_t, 22, 0).label.is_valid() &&
                !Claimed(tc_24_label_t, 22, 2, none_UserLabel).label.is_valid());
    EditLabel e(tc_24_label_t, roll(15, 2));  // no wildcard in equality
    EXPECT_TRUE(e == EditLabel(tc_24_label_t, roll(15, 2)) && e != EditLabel(tc_24_label_t, roll(15, 3)) &&
                e != EditLabel(tc_24_label_t, roll(1, 1)));
}

TEST_F(EditLabels, FilmProjectsAre24And48) {
    for (int r : {1, 2, 3, 6, 7, 31}) {
        set(&host::ProjectSettings::frame_rate, r);
        EXPECT_EQ(is_film_project(), r == 1 || r == 6) << r;
    }
}

TEST(EditKeepString, WrittenAndRead) {
    EditLabel pal(pal_label_t, roll(19, 3));
    ASSERT_EQ(pal.make_keep_string(nullptr), pal.keep_buffer);
    std::string const text = pal.keep_buffer;
    EXPECT_EQ(text, "LABEL_REV:1 pal_label  00:00:00.00 100000000 0.0400000000 1 MediumRollId 19,3");
    EditLabel r(text.c_str());
    EXPECT_TRUE(r == pal && r.medium_roll.medium == 19 && r.medium_roll.generation == 3 && !r.pitch_modified);
    host::AllocationStats const before = host::allocation_stats();
    for (int i = 0; i < 100; ++i) pal.make_keep_string(nullptr);
    EXPECT_EQ(host::allocation_stats().allocations, before.allocations);
}

TEST(EditKeepString, ReaderFindsTheIdentifier) {
    struct {
        char const* text;
        int medium, generation;
    } const cases[] = {
        {"LABEL_REV:1 x 0 100 0.5 1", 1, 1},  // none: any medium, any generation
        {"LABEL_REV:1 x 0 100 0.5 1 MediumRollId", 0, 0},
        {"garbage MediumRollId 20,4", 20, 4},
        {"LABEL_REV:1 x 0 100 0.5 1 MediumRollId 22,2 MediumRollId 4,3", 22, 2},  // the first
        {"LABEL_REV:1 x 0 100 0.5 1 xMediumRollId 4", 4, 3},                      // anywhere in the text
        {"LABEL_REV:3 x 0 100 0.5 1 MediumRollId 22,2", 22, 2},                   // whatever the revision
        {"LABEL_REV:1 ink_35_label XXXX0012+05 25000000 0.0416666667 1 MediumRollId 2", ink_Medium, 1},
        {"LABEL_REV:1 ink_35_label XXXX0012+05 25000000 0.0416666667 1 MediumRollId 2,3", film_Medium, 3},
        {nullptr, 1, 1},
    };
    for (auto const& c : cases) {
        EditLabel e(c.text);
        EXPECT_TRUE(e.medium_roll.medium == c.medium && e.medium_roll.generation == c.generation)
            << (c.text ? c.text : "null") << ": " << e.medium_roll.medium << "," << e.medium_roll.generation;
    }
    EditLabel e("LABEL_REV:1 ntsc_label 00:00:00.00 100 0.5 1 MediumRollId 22,2");
    EXPECT_TRUE(e.pitch == 0.5 && !e.pitch_modified);  // the stored pitch stays
    testing::internal::CaptureStderr();
    EditLabel two("LABEL_REV:2 x 0 100 0.5 1 MediumRollId 22,2");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "WARNING: Beta labels. Sometime, run MENDTAGS (call us if confused).\n");
    EXPECT_EQ(two.medium_roll.medium, 22);
}

TEST(EditKeepString, IdentifierAlwaysFitsWhole) {
    Claimed e(pal_label_t, INT_MIN, INT_MIN);
    e.label.length = e.label.bounded = INT_MIN;
    std::string const suffix = " MediumRollId -2147483648,-2147483648";
    for (double pitch : {0.04, 1e18, 1e300, -1e300}) {
        e.label.pitch = pitch;
        std::unique_ptr<char[]> exact(new char[EditLabel::keep_string_size]);  // ASan sees any overrun
        std::string const s = e.label.make_keep_string(exact.get());
        ASSERT_GE(s.size(), suffix.size());
        EXPECT_EQ(s.substr(s.size() - suffix.size()), suffix) << s;
        char label_only[Label::keep_string_size];  // the label part is the label's keep string, cut
        std::string const whole = static_cast<Label const&>(e.label).make_keep_string(label_only);
        EXPECT_EQ(whole.substr(0, s.size() - suffix.size()), s.substr(0, s.size() - suffix.size()));
    }
}

}  // namespace
