// Conversions on 1, 2 and 4 threads: the pure functions (timecode_rate.h,
// positions.h),
// each thread's own converters, and the shared registry converters with a
// label point per thread. Every case reports items per second of wall time
// summed over its threads, so the scaling is the 2- and 4-thread rate over
// the 1-thread rate. bench/threads.sh runs it.
#include <cstdint>

#include <benchmark/benchmark.h>

#include <labelsbase/labelsbase.h>
#include <labelsbase/positions.h>

namespace {

constexpr int kSpan = 4096;
constexpr timecode_rate kDrop{30, true, true};

// A spread of samples over a day of 25 fps timecode, different per thread.
inline int sample(std::uint32_t i, int thread) {
    return static_cast<int>((i * 2654435761u + thread * 7919u) % 2160000u);
}

void core_timecode(benchmark::State& st) {
    std::uint32_t i = 0;
    for (auto _ : st) {
        timecode_fields f;
        std::int64_t back = 0;
        timecode_frames_to_fields(kDrop, sample(i++ & (kSpan - 1), st.thread_index()), 0, &f);
        timecode_fields_to_frames(kDrop, f, &back);
        benchmark::DoNotOptimize(back);
    }
    st.SetItemsProcessed(st.iterations());
}

void core_keykode(benchmark::State& st) {
    std::uint32_t i = 0;
    for (auto _ : st) {
        positions::FilmCounts const k =
            positions::perfs_to_keykode(positions::gauge_35, sample(i++ & (kSpan - 1), st.thread_index()) / 4);
        benchmark::DoNotOptimize(positions::keykode_to_perfs(positions::gauge_35, k));
    }
    st.SetItemsProcessed(st.iterations());
}

// Text and back through converter c with the thread's own label point.
void text_round_trip(benchmark::State& st, label_cvt* c, int scale) {
    LabelPoint lp(0, c);
    if (c->has_prefix()) c->set_prefix(&lp, "KJ231234");
    std::uint32_t i = 0;
    for (auto _ : st) {
        int const s = sample(i++ & (kSpan - 1), st.thread_index()) / scale;
        benchmark::DoNotOptimize(c->get_abs_sample(c->get_abs_string(&lp, s)));
    }
    st.SetItemsProcessed(st.iterations());
}

void own_ntsc_drop(benchmark::State& st) {
    label_cvt* c = make_any_label_cvt(ntsc_drop_label_t);
    text_round_trip(st, c, 1);
    delete c;
}
void own_keycode_35(benchmark::State& st) {
    label_cvt* c = make_any_label_cvt(keycode_35_label_t);
    text_round_trip(st, c, 14);
    delete c;
}
void shared_ntsc_drop(benchmark::State& st) { text_round_trip(st, get_static_label_cvt(ntsc_drop_label_t), 1); }
void shared_keycode_35(benchmark::State& st) { text_round_trip(st, get_static_label_cvt(keycode_35_label_t), 14); }

// A label point built and printed per item (the template shared by every
// thread's points).
void shared_label_point(benchmark::State& st) {
    std::uint32_t i = 0;
    for (auto _ : st) {
        LabelPoint p(sample(i++ & (kSpan - 1), st.thread_index()), pal_label_t);
        benchmark::DoNotOptimize(p.get_string());
    }
    st.SetItemsProcessed(st.iterations());
}

#define LB_THREADS(f) BENCHMARK(f)->Threads(1)->Threads(2)->Threads(4)->UseRealTime()
LB_THREADS(core_timecode);
LB_THREADS(core_keykode);
LB_THREADS(own_ntsc_drop);
LB_THREADS(own_keycode_35);
LB_THREADS(shared_ntsc_drop);
LB_THREADS(shared_keycode_35);
LB_THREADS(shared_label_point);

}  // namespace

BENCHMARK_MAIN();
