#include <gtest/gtest.h>

#include <string>

#include <labelsbase/labelsbase.h>

namespace {

label_t L(int v) { return static_cast<label_t>(v); }
Kest::FrameRate R(int v) { return static_cast<Kest::FrameRate>(v); }

TEST(EdlNames, EveryNameReadsBackCaseInsensitively) {
    for (int t = 0; t < label_type_count; ++t) {
        LabelTypeInfo const& i = label_type_info(L(t));
        for (char const* name : {i.edl_primary, i.edl_alternative}) {
            if (!name) continue;
            std::string lower(name);
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            EXPECT_EQ(edlstr_to_label_type(name), t) << name;
            EXPECT_EQ(edlstr_to_label_type(lower.c_str()), t) << lower;
            EXPECT_EQ(edlstr_to_label_type((std::string(name) + " trailing words").c_str()), t) << name;
        }
    }
}

TEST(EdlNames, WorkedCases) {
    EXPECT_EQ(edlstr_to_label_type("nd"), ntsc_drop_label_t);
    EXPECT_EQ(edlstr_to_label_type("30f-drop"), ntsc_drop_label_t);
    EXPECT_EQ(edlstr_to_label_type("30F-NONDROPXYZ"), ntsc_label_t);  // cut after 11 characters
    EXPECT_EQ(edlstr_to_label_type(" P"), prefix_label_t);
    EXPECT_EQ(edlstr_to_label_type("\tP"), prefix_label_t);
    EXPECT_EQ(edlstr_to_label_type(""), prefix_label_t);
    EXPECT_EQ(edlstr_to_label_type(nullptr), prefix_label_t);
    EXPECT_EQ(edlstr_to_label_type("D50"), tc_50_duration_label_t);
    EXPECT_EQ(edlstr_to_label_type("12f"), prefix_label_t);
    EXPECT_EQ(edlstr_to_label_type("25f"), pal_label_t);
    EXPECT_EQ(edlstr_to_label_type("p"), pal_label_t);
    EXPECT_EQ(edlstr_to_label_type(std::string(5000, 'P').c_str()), prefix_label_t);
    EXPECT_EQ(edlstr_to_label_type("F35_4\n"), keycode_35_label_4_t);
}

TEST(EdlNames, WrittenNames) {
    EXPECT_STREQ(label_type_to_edlstr(L(17)), "I35");
    EXPECT_EQ(edlstr_to_label_type("I35"), ink_35_label_t);
    for (int t : {30, 42, 43, 4, 52, 0, -1, 1000}) EXPECT_STREQ(label_type_to_edlstr(L(t)), "BAD") << t;
    EXPECT_STREQ(label_type_to_edlstr(pal_label_t), "25f");
    EXPECT_STREQ(label_type_to_edlstr(tc_240_label_t), "240f");
    // Every written name other than "BAD" reads back to a type in the same category.
    for (int t = 5; t < label_type_count; ++t) {
        char const* w = label_type_to_edlstr(L(t));
        label_t const back = edlstr_to_label_type(w);
        if (std::string(w) == "BAD" || back == 0 || label_type_info(L(t)).category == none_UserLabel) continue;
        EXPECT_EQ(label_type_info(back).category, label_type_info(L(t)).category) << t;
    }
}

TEST(FilmLookups, ByCategory) {
    EXPECT_EQ(edlstr_to_label_type("I35", ink_UserLabel), ink_35_label_t);
    EXPECT_EQ(edlstr_to_label_type("I35", feet_UserLabel), foot_35_label_t);
    EXPECT_EQ(edlstr_to_label_type("I35", keycode_UserLabel), keycode_35_label_t);
    EXPECT_EQ(edlstr_to_label_type("I35", timecode_UserLabel), prefix_label_t);
    EXPECT_EQ(edlstr_to_label_type("F353", ink_UserLabel), ink_35_label_t);
    EXPECT_EQ(edlstr_to_label_type("F353", feet_UserLabel), foot_353_label_t);
    EXPECT_EQ(edlstr_to_film_label_type("F16_5"), keycode_16_label_5_t);
    EXPECT_EQ(edlstr_to_film_label_type("I16"), prefix_label_t);
    EXPECT_EQ(edlstr_to_film_label_type("P"), prefix_label_t);
}

TEST(FilmLookups, GaugesAgreeWithTheCatalogue) {
    // Every type the film lookups return has the category asked for and the
    // perforations per frame of the type it came from.
    for (int t = -3; t < 60; ++t) {
        label_t const k = label_t_to_key_label_t(L(t));
        label_t const i = label_t_to_ink_label_t(L(t));
        label_t const f = label_t_to_foot_label_t(L(t));
        if (t < 10 || t > 41) { EXPECT_EQ(k, 0) << t; }
        if (t < 10 || t > 29) {
            EXPECT_EQ(i, 0) << t;
            EXPECT_EQ(f, 0) << t;
        }
        if (k) { EXPECT_EQ(label_type_info(k).category, keycode_UserLabel) << t; }
        if (i) { EXPECT_EQ(label_type_info(i).category, ink_UserLabel) << t; }
        if (f) { EXPECT_EQ(label_type_info(f).category, feet_UserLabel) << t; }
        if (k && i && t != 12 && (t < 27 || t > 29)) {
            EXPECT_EQ(label_type_info(k).samples_per_unit, label_type_info(i).samples_per_unit) << t;
        }
        if (k && f) { EXPECT_EQ(label_type_info(k).samples_per_unit, label_type_info(f).samples_per_unit) << t; }
        label_t const kept = edlstr_to_film_label_type(label_type_info(L(t < 0 ? 0 : t % 52)).edl_primary);
        if (kept) { EXPECT_EQ(label_type_info(kept).category, keycode_UserLabel); }
    }
    EXPECT_EQ(label_t_to_key_label_t(L(13)), keycode_35_label_t);
    EXPECT_EQ(label_t_to_foot_label_t(L(13)), prefix_label_t);
    EXPECT_EQ(label_t_to_foot_label_t(L(17)), foot_35_label_t);
    EXPECT_EQ(label_t_to_ink_label_t(L(16)), prefix_label_t);
    EXPECT_EQ(label_t_to_ink_label_t(L(12)), ink_35_label_t);
    EXPECT_EQ(label_t_to_key_label_t(L(20)), prefix_label_t);
    EXPECT_EQ(label_t_to_key_label_t(L(41)), keycode_6515_120_label_t);
}

TEST(TimecodeStandards, ProjectStandardToType) {
    EXPECT_EQ(TvStd_to_label_type({R(4), true}), ntsc_drop_label_t);
    EXPECT_EQ(TvStd_to_label_type({R(4), false}), ntsc_label_t);
    EXPECT_EQ(TvStd_to_label_type({R(3), true}), pal_label_t);
    EXPECT_EQ(TvStd_to_label_type({R(0), false}), ntsc_label_t);
    EXPECT_EQ(TvStd_to_label_type({R(-7), true}), ntsc_drop_label_t);
    EXPECT_EQ(TvStd_to_label_type({R(99), false}), ntsc_label_t);
    struct Row {
        int rate;
        label_t t;
    };
    Row const rows[] = {{1, tc_24_label_t}, {2, tc_24_label_t},   {6, tc_24_label_t},  {7, tc_24_label_t},
                        {8, tc_50_label_t}, {9, tc_60_label_t},   {10, tc_60_label_t}, {35, tc_12_label_t},
                        {37, tc_12_label_t}, {39, tc_15_label_t}, {40, tc_20_label_t}, {41, tc_80_label_t},
                        {42, tc_90_label_t}, {43, tc_100_label_t}, {45, tc_120_label_t}, {47, tc_240_label_t}};
    for (Row const& r : rows)
        for (bool drop : {false, true}) EXPECT_EQ(TvStd_to_label_type({R(r.rate), drop}), r.t) << r.rate;
    for (int r = 11; r <= 34; ++r) EXPECT_EQ(TvStd_to_label_type({R(r), true}), ntsc_drop_label_t) << r;
}

TEST(TimecodeStandards, TypeToStandardRoundTrips) {
    for (int t = -2; t < 60; ++t) {
        TCInf const s = label_type_to_TvStd(L(t));
        if (s.rate == 0) {
            EXPECT_FALSE(s.drop_frame);
            continue;
        }
        EXPECT_EQ(label_type_info(L(t)).category, timecode_UserLabel) << t;
        EXPECT_EQ(s.drop_frame, t == ntsc_drop_label_t) << t;
        if (t != tc_48_label_t) { EXPECT_EQ(TvStd_to_label_type(s), t) << t; }  // 48 fps projects use 24 fps timecode
    }
    EXPECT_EQ(label_type_to_TvStd(tc_24_label_t).rate, 2);
    EXPECT_EQ(label_type_to_TvStd(ntsc_label_t).rate, 5);
    EXPECT_EQ(label_type_to_TvStd(tc_50_duration_label_t).rate, 0);
}

TEST(FrameRateDefaults, TypeAndNominalRate) {
    for (int r = -3; r <= 50; ++r) {
        label_t const t = getDefaultLabelTypeforFrameRate(R(r));
        double const fps = getDefaultTimecodeFrameRate(R(r));
        if (r < 3 || r > 47 || (r >= 11 && r <= 34)) { EXPECT_EQ(t, tc_24_label_t) << r; }
        if (r < 2 || r > 47 || (r >= 11 && r <= 34)) { EXPECT_EQ(fps, 24.0) << r; }
        // The nominal timecode rate rounds to the modulus of the default type,
        // except 12.5 fps (12 fps timecode) and the 48 fps rates (24).
        if (r >= 3 && r <= 47 && r != 37) {
            EXPECT_EQ(static_cast<int>(fps + 0.5), label_type_info(t).modulus) << r;
        }
    }
    EXPECT_EQ(getDefaultLabelTypeforFrameRate(R(4)), ntsc_label_t);
    EXPECT_EQ(getDefaultLabelTypeforFrameRate(R(5)), ntsc_label_t);
    EXPECT_EQ(getDefaultTimecodeFrameRate(R(5)), 30 / 1.001);
    EXPECT_EQ(getDefaultTimecodeFrameRate(R(5)), 29.970029970029973);
    EXPECT_EQ(getDefaultTimecodeFrameRate(R(2)), 24 / 1.001);
    EXPECT_EQ(getDefaultTimecodeFrameRate(R(7)), 24.0);
    EXPECT_EQ(getDefaultTimecodeFrameRate(R(37)), 12.5);
    EXPECT_EQ(getDefaultTimecodeFrameRate(R(47)), 240 / 1.001);
}

TEST(ProjectLookups, FollowTheProject) {
    host::ProjectSettings p = host::default_project_settings();
    p.frame_rate = R(5);
    p.use_drop_frame_timecode = true;
    host::set_project_settings(p);
    EXPECT_EQ(getDefaultLabelTypeForProject(), ntsc_drop_label_t);
    p.use_drop_frame_timecode = false;
    p.output_image_rate = R(5);
    host::set_project_settings(p);
    EXPECT_EQ(getDefaultLabelTypeForProject(), ntsc_label_t);
    EXPECT_EQ(label_t_to_duration_label_t(ntsc_label_t), ntsc_drop_label_t);
    EXPECT_EQ(label_t_to_duration_label_t(ntsc_drop_label_t), ntsc_drop_label_t);
    p.output_image_rate = R(4);
    host::set_project_settings(p);
    EXPECT_EQ(label_t_to_duration_label_t(ntsc_label_t), ntsc_label_t);
    EXPECT_EQ(label_t_to_duration_label_t(ntsc_drop_label_t), ntsc_label_t);
    EXPECT_EQ(label_t_to_duration_label_t(tc_50_label_t), tc_50_duration_label_t);
    EXPECT_EQ(label_t_to_duration_label_t(tc_60_label_t), tc_60_duration_label_t);
    EXPECT_EQ(label_t_to_duration_label_t(tc_24_label_t), tc_24_label_t);
    host::set_project_settings(host::default_project_settings());
}

TEST(ProjectLookups, VideoFps) {
    EXPECT_EQ(get_vid_fps(pal_label_t), 25.0);
    EXPECT_EQ(get_vid_fps(ntsc_label_t), 30 / 1.001);
    EXPECT_EQ(get_vid_fps(ntsc_drop_label_t), 30 / 1.001);
    for (int t : {0, 8, 20, 31, 51, -1, 99}) EXPECT_EQ(get_vid_fps(L(t)), 1.0) << t;
}

}  // namespace
