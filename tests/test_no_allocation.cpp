// The hot paths make no allocation: every conversion an editor runs per
// frame (timecode and film texts both ways, SMPTE words, label points,
// keep strings, translation, the legacy functions) goes through the host
// allocator zero times. Each path runs once to warm what is built lazily
// (a template's invalid forms), then again under the allocation counter,
// over a sweep that includes negative and special samples.
#include <array>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include <labelsbase/labelsbase.h>


namespace {

volatile int g_int_sink;
volatile char g_char_sink;
volatile double g_double_sink;

void sink(char const* t) { g_char_sink = t ? t[0] : '\0'; }

// Allocations made by the second of two runs of f.
template <class F>
unsigned long long allocations_in(F&& f) {
    f();
    unsigned long long const before = host::allocation_stats().allocations;
    f();
    return host::allocation_stats().allocations - before;
}

// A sweep of samples across [lo, hi) plus the edges and the special samples.
std::vector<int> sweep(int lo, int hi) {
    std::vector<int> v;
    int const step = (hi - lo) / 997 > 0 ? (hi - lo) / 997 : 1;
    for (int s = lo; s < hi; s += step) v.push_back(s);
    for (int s : {lo, hi - 1, hi, -1, 0, 1, invalid_sample, past_end_sample, before_start_sample}) v.push_back(s);
    return v;
}

int* volatile g_ptr_sink;

// The counter sees this binary's allocations, so a zero below means none.
TEST(NoAllocation, CounterSeesOneAllocation) {
    EXPECT_EQ(allocations_in([] {
                  g_ptr_sink = new int(1);
                  delete g_ptr_sink;
              }),
              1u);
}

// ---------------------------------------------------------------------------
class TimecodeNoAllocation : public ::testing::TestWithParam<label_t> {};

TEST_P(TimecodeNoAllocation, TextSampleSmpteAndLabelPoint) {
    label_t const t = GetParam();
    label_cvt* c = get_static_label_cvt(t);
    std::vector<int> const samples = sweep(-200000, 10368000);
    std::vector<std::array<char, 24>> texts(samples.size());
    {
        LabelPoint lp(0, t);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            std::strncpy(texts[i].data(), c->get_abs_string(&lp, samples[i]), 23);
            texts[i][23] = '\0';
        }
    }

    EXPECT_EQ(allocations_in([&] {
                  LabelPoint lp(0, t);
                  for (int s : samples) sink(c->get_abs_string(&lp, s));
              }),
              0u)
        << "sample -> text";
    EXPECT_EQ(allocations_in([&] {
                  for (auto const& x : texts) g_int_sink = c->get_abs_sample(x.data());
              }),
              0u)
        << "text -> sample";
    EXPECT_EQ(allocations_in([&] {
                  for (int s : samples) {
                      LabelPoint lp(s, t);
                      sink(lp.get_string());
                  }
              }),
              0u)
        << "LabelPoint(s, t).get_string()";
    EXPECT_EQ(allocations_in([&] {
                  LabelPoint lp(0, t);
                  for (auto const& x : texts) g_int_sink = c->get_sample(&lp, x.data());
              }),
              0u)
        << "label point text -> sample";
    EXPECT_EQ(allocations_in([&] {
                  LabelPoint lp(0, t);
                  for (int s : samples) {
                      unsigned w = c->get_abs_smpte_string(&lp, s);
                      bool drop = false;
                      g_int_sink = c->get_samples_from_SMPTETc(w, drop);
                  }
              }),
              0u)
        << "SMPTE word encode and decode";
}

INSTANTIATE_TEST_SUITE_P(Rates, TimecodeNoAllocation,
                         ::testing::Values(ntsc_drop_label_t, pal_label_t, tc_24_label_t, tc_60_label_t,
                                           tc_120_label_t, ntsc_label_t, tc_48_label_t, tc_50_label_t,
                                           tc_240_label_t),
                         [](::testing::TestParamInfo<label_t> const& i) {
                             return std::string(label_type_info(i.param).class_name);
                         });

// ---------------------------------------------------------------------------
class FilmNoAllocation : public ::testing::TestWithParam<label_t> {};

TEST_P(FilmNoAllocation, SampleTextSample) {
    label_t const t = GetParam();
    label_cvt* c = get_static_label_cvt(t);
    std::vector<int> const samples = sweep(-70000, 6400000);
    EXPECT_EQ(allocations_in([&] {
                  LabelPoint lp(0, t);
                  if (c->has_prefix()) c->set_prefix(&lp, "KZ4712340000+00");
                  for (int s : samples) {
                      char const* x = c->get_abs_string(&lp, s);
                      g_int_sink = c->get_abs_sample(x);
                      sink(c->get_keep_string(&lp, s));
                      sink(c->get_abs_perfs_string(&lp, s));
                  }
              }),
              0u);
}

INSTANTIATE_TEST_SUITE_P(Gauges, FilmNoAllocation,
                         ::testing::Values(keycode_35_label_t, keycode_16_label_t, keycode_353_label_t,
                                           keycode_35_label_6_t, ink_35_label_t, ink_16_label_t, foot_35_label_t,
                                           foot_16_label_t, foot_353_label_t, film_frames_label_t),
                         [](::testing::TestParamInfo<label_t> const& i) {
                             return std::string(label_type_info(i.param).class_name);
                         });

// ---------------------------------------------------------------------------
TEST(LabelNoAllocation, KeepStringWriteAndRead) {
    std::vector<Label> labels;
    for (label_t t : {pal_label_t, ntsc_drop_label_t, keycode_35_label_t, foot_353_label_t, film_frames_label_t}) {
        Label l(t);
        l.start.sample = 12345;
        l.length = 4000;
        labels.push_back(l);
    }
    std::vector<std::array<char, 132>> texts(labels.size());
    EXPECT_EQ(allocations_in([&] {
                  for (std::size_t i = 0; i < labels.size(); ++i) sink(labels[i].make_keep_string(texts[i].data()));
              }),
              0u)
        << "write";
    EXPECT_EQ(allocations_in([&] {
                  for (auto const& x : texts) {
                      Label l(x.data());
                      g_int_sink = l.start.sample;
                  }
              }),
              0u)
        << "read";
}

TEST(XlateNoAllocation, PulldownAndClock) {
    struct Case {
        MediumRollMedium from, to;
        transfer_type t;
    };
    Case const cases[] = {
        {film_Medium, source_30i_1001_Medium, transfer_pull23}, {film_Medium, source_25p_Medium, transfer_pogle},
        {source_30i_1001_Medium, film_Medium, transfer_pull23}, {cel_Medium, time_Medium, transfer_frame_for_frame},
        {time_Medium, cel_Medium, transfer_frame_for_frame},
    };
    for (Case const& k : cases) {
        MPosn_Xlate_Params p;
        p.transfer = k.t;
        p.sequence_phase = 0;
        EXPECT_EQ(allocations_in([&] {
                      for (int n = -500; n < 5000; n += 7) g_double_sink = mPosn_Xlate(n / 24.0, k.from, k.to, p, false);
                  }),
                  0u)
            << k.from << " -> " << k.to;
    }
}

TEST(LegacyNoAllocation, FilmToTimecodeAndPlusFrames) {
    EXPECT_EQ(allocations_in([&] {
                  char text[16], out[16];
                  for (int film = -100; film < 200000; film += 37) {
                      g_int_sink = film_frames_to_timecode(film, text, 0, -1, static_cast<label_type>(1), 1,
                                                           transfer_pull23);
                      int kk = 0, ph = 0;
                      g_int_sink = label_plus_frames(out, &kk, &ph, text, 0, 0, film % 500, static_cast<label_type>(1),
                                                     1, 16, 0, transfer_pull23, static_cast<edit_type>(0));
                  }
              }),
              0u);
}

}  // namespace
