// The hot paths make no allocation: every conversion an editor runs per
// frame (timecode and film texts both ways, SMPTE words, label points,
// keep strings, translation, the legacy functions) goes through the host
// allocator zero times. Each path runs once to warm what is built lazily
// (a template's invalid forms), then again under the allocation counter,
// over a sweep that includes negative and special samples.
#include <vector>

#include <gtest/gtest.h>

#include <labelsbase/labelsbase.h>

namespace {

volatile double g_sink;  // keeps the optimiser from dropping the work
int* volatile g_ptr_sink;
void sink(char const* t) { g_sink = t ? t[0] : '\0'; }

// Allocations made by the second of two runs of f.
template <class F>
unsigned long long allocations_in(F&& f) {
    f();
    unsigned long long const before = host::allocation_stats().allocations;
    f();
    return host::allocation_stats().allocations - before;
}

// The counter sees this binary's allocations, so a zero below means none.
TEST(NoAllocation, CounterSeesOneAllocation) {
    EXPECT_EQ(allocations_in([] { delete (g_ptr_sink = new int(1)); }), 1u);
}

// One sample's work on a path, with a label point of the type at hand.
using Step = void (*)(label_cvt* c, label_t t, LabelPoint& lp, int sample);

enum Families { kTimecode = 1, kFilm = 2 };
struct HotPath {
    char const* what;
    int families;
    Step step;
};  // families: the label types it runs for

HotPath const kHotPaths[] = {
    {"sample -> text -> sample", kTimecode,
     [](label_cvt* c, label_t, LabelPoint& lp, int s) { g_sink = c->get_abs_sample(c->get_abs_string(&lp, s)); }},
    {"LabelPoint(s, t).get_string() and label point text -> sample", kTimecode,
     [](label_cvt* c, label_t t, LabelPoint& lp, int s) {
         g_sink = c->get_sample(&lp, LabelPoint(s, t).get_string());
     }},
    {"SMPTE word encode and decode", kTimecode,
     [](label_cvt* c, label_t, LabelPoint& lp, int s) {
         unsigned word = c->get_abs_smpte_string(&lp, s);
         bool drop = false;
         g_sink = c->get_samples_from_SMPTETc(word, drop);
     }},
    {"film text -> sample, keep and perforation texts", kFilm,
     [](label_cvt* c, label_t, LabelPoint& lp, int s) {
         g_sink = c->get_abs_sample(c->get_abs_string(&lp, s));
         sink(c->get_keep_string(&lp, s));
         sink(c->get_abs_perfs_string(&lp, s));
     }},
    {"label keep string write and read", kTimecode | kFilm,
     [](label_cvt*, label_t t, LabelPoint&, int s) {
         Label l(t);
         l.start.sample = s;
         l.length = 4000;
         char text[132];
         g_sink = Label(l.make_keep_string(text)).start.sample;
     }},
};

TEST(NoAllocation, EveryHotPathOfEveryLabelType) {
    std::vector<label_t> const timecode = {ntsc_drop_label_t, pal_label_t,    tc_24_label_t,
                                           tc_60_label_t,     tc_120_label_t, ntsc_label_t,
                                           tc_48_label_t,     tc_50_label_t,  tc_240_label_t},
                               film = {keycode_35_label_t,   keycode_16_label_t, keycode_353_label_t,
                                       keycode_35_label_6_t, ink_35_label_t,     ink_16_label_t,
                                       foot_35_label_t,      foot_16_label_t,    foot_353_label_t,
                                       film_frames_label_t};
    for (HotPath const& p : kHotPaths)
        for (bool is_film : {false, true}) {
            if (!(p.families & (is_film ? kFilm : kTimecode))) continue;
            int const lo = is_film ? -70000 : -200000, hi = is_film ? 6400000 : 10368000;
            std::vector<int> samples = {lo, hi - 1, hi, -1, 0, 1, invalid_sample, past_end_sample, before_start_sample};
            for (int s = lo; s < hi; s += (hi - lo) / 997) samples.push_back(s);
            for (label_t t : is_film ? film : timecode) {
                label_cvt* c = get_static_label_cvt(t);
                EXPECT_EQ(allocations_in([&] {
                              LabelPoint lp(0, t);
                              if (c->has_prefix()) c->set_prefix(&lp, "KZ4712340000+00");
                              for (int s : samples) p.step(c, t, lp, s);
                          }),
                          0u)
                    << p.what << ", " << label_type_info(t).class_name;
            }
        }
}

TEST(NoAllocation, PulldownAndClockTranslation) {
    struct {
        MediumRollMedium from, to;
        transfer_type t;
    } const cases[] = {
        {film_Medium, source_30i_1001_Medium, transfer_pull23}, {film_Medium, source_25p_Medium, transfer_pogle},
        {source_30i_1001_Medium, film_Medium, transfer_pull23}, {cel_Medium, time_Medium, transfer_frame_for_frame},
        {time_Medium, cel_Medium, transfer_frame_for_frame},
    };
    for (auto const& k : cases) {
        MPosn_Xlate_Params p;
        p.transfer = k.t;
        p.sequence_phase = 0;
        auto const sweep = [&] {
            for (int n = -500; n < 5000; n += 7) g_sink = mPosn_Xlate(n / 24.0, k.from, k.to, p, false);
        };
        EXPECT_EQ(allocations_in(sweep), 0u) << k.from << " -> " << k.to;
    }
}

TEST(NoAllocation, LegacyFilmToTimecodeAndPlusFrames) {
    EXPECT_EQ(allocations_in([] {
                  char text[16], out[16];
                  for (int film = -100; film < 200000; film += 37) {
                      int kk = 0, ph = 0;
                      g_sink = film_frames_to_timecode(film, text, 0, -1, legacy_tc30_1, 1, transfer_pull23);
                      g_sink = label_plus_frames(out, &kk, &ph, text, 0, 0, film % 500, legacy_tc30_1, 1, 16, 0,
                                                 transfer_pull23, legacy_film_edit);
                  }
              }),
              0u);
}

TEST(NoAllocation, TimecodeByRate) {
    for (char const* name : {"29.97df", "59.94df", "23.976", "25", "72", "239.76df"}) {
        timecode_rate const r = timecode_rate_from_name(name);
        EXPECT_EQ(allocations_in([r] {
                      char text[timecode_text_size], why[timecode_reason_size];
                      for (std::int64_t f = -5000; f < 6000000; f += 4999) {
                          std::size_t const n = timecode_write(r, f, text, sizeof text);
                          g_sink = static_cast<double>(timecode_read_n(r, text, n).frame);
                          g_sink = static_cast<double>(
                              timecode_write(r, f, text, sizeof text, timecode_running | timecode_signed));
                          std::uint32_t w = 0;
                          std::int64_t back = 0;
                          if (timecode_to_smpte(r, f, &w)) g_sink = timecode_from_smpte(r, w, &back);
                      }
                      g_sink = static_cast<double>(
                          timecode_reason(r, timecode_read(r, "01:61:00;00").problem, why, sizeof why));
                  }),
                  0u)
            << name;
    }
}

}  // namespace
