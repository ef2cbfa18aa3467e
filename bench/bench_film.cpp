// Film labels: KeyKode, ink numbers, feet and frames and film frames,
// sample -> text -> sample through the converter interface for the 35 mm,
// 16 mm and 3-perf types. Their yardstick is our own timecode round trip:
// a film conversion should cost no more than twice a timecode one.
#include <cstdio>
#include <cstring>

#include <benchmark/benchmark.h>

#include "bench.h"

namespace bench {

Samples const& film_samples(int k) {
    static std::array<Samples, kFilmTypeCount> const all = [] {
        std::array<Samples, kFilmTypeCount> a{};
        for (int i = 0; i < kFilmTypeCount; ++i)
            a[i] = draw(seed_for(kFilmTypes[i].type), kFilmTypes[i].range, kFilmTypes[i].step);
        return a;
    }();
    return all[k];
}

namespace {

// A label point of the type carrying a real prefix for the prefixed types
// (a roll's manufacturer, emulsion and roll digits), as an editor's would.
void set_roll_prefix(LabelPoint& lp) {
    label_cvt* c = lp.cvt();
    if (!c->has_prefix()) return;
    c->set_prefix(&lp, c->get_prefix_length() == 4 ? "AB12 0000+00" : "KZ4712340000+00");
}

void film_round_trip(benchmark::State& st, int k) {
    FilmType const& f = kFilmTypes[k];
    label_cvt* c = get_static_label_cvt(f.type);
    LabelPoint lp(0, f.type);
    set_roll_prefix(lp);
    Samples const& w = film_samples(k);
    unsigned i = 0;
    for (auto _ : st) {
        char const* t = c->get_abs_string(&lp, w[i]);
        int s = c->get_abs_sample(t);
        benchmark::DoNotOptimize(s);
        i = (i + 1) & (kWorkload - 1);
    }
}

}  // namespace

void register_film(std::vector<Row>& rows) {
    for (int k = 0; k < kFilmTypeCount; ++k) {
        std::string const n = kFilmTypes[k].name;
        benchmark::RegisterBenchmark(("film_round_trip/" + n).c_str(), film_round_trip, k);
        rows.push_back({"film sample->text->sample " + n, "film_round_trip/" + n,
                        [](std::map<std::string, double> const& m, std::string& note) {
                            double const r = tc_reference(m, true, note);
                            if (r > 0) note = "(mean tc round trip)";
                            return r;
                        },
                        0.5, "<=2x tc"});
    }
}

int check_film() {
    int bad_total = 0;
    for (int k = 0; k < kFilmTypeCount; ++k) {
        FilmType const& f = kFilmTypes[k];
        label_cvt* c = get_static_label_cvt(f.type);
        LabelPoint lp(0, f.type);
        set_roll_prefix(lp);
        Samples const& w = film_samples(k);
        int bad = 0;
        for (int i = 0; i < kWorkload; ++i) {
            char const* t = c->get_abs_string(&lp, w[i]);
            int const s = c->get_abs_sample(t);
            if (s != w[i] && bad++ == 0) std::printf("check %-11s sample %d -> '%s' -> %d\n", f.name, w[i], t, s);
        }
        std::printf("check %-11s ours: %d/%d samples -> text -> sample exact (e.g. %d -> '%s')\n", f.name,
                    kWorkload - bad, kWorkload, w[0], c->get_abs_string(&lp, w[0]));
        bad_total += bad;
    }
    return bad_total;
}

}  // namespace bench
