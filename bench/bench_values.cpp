// Label keep strings, position translation and the legacy flat functions.
// None has a public peer; translation with pulldown is held against one
// timecode sample -> text of ours.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <benchmark/benchmark.h>

#include "bench.h"

namespace bench {

namespace {

std::function<double(std::map<std::string, double> const&, std::string&)> none(char const* why) {
    std::string const w = why;
    return [w](std::map<std::string, double> const&, std::string& note) {
        note = w;
        return -1.0;
    };
}

// ---------------------------------------------------------------------------
// Label keep strings: a pal_label span per workload sample, written into a
// caller's buffer and read back.
using KeepText = std::array<char, 132>;

std::vector<Label> const& keep_labels() {
    static std::vector<Label> const all = [] {
        std::vector<Label> v;
        v.reserve(kWorkload);
        SplitMix64 g{seed_for(pal_label_t) ^ 0x6b656570ULL};
        for (int i = 0; i < kWorkload; ++i) {
            Label l(pal_label_t);
            l.start.sample = tc_samples(1)[i];
            l.length = static_cast<int>(g.next() % 90000);
            v.push_back(l);
        }
        return v;
    }();
    return all;
}

std::vector<KeepText> const& keep_texts() {
    static std::vector<KeepText> const all = [] {
        std::vector<KeepText> v(kWorkload);
        for (int i = 0; i < kWorkload; ++i) keep_labels()[i].make_keep_string(v[i].data());
        return v;
    }();
    return all;
}

void keep_write(benchmark::State& st) {
    std::vector<Label> const& w = keep_labels();
    KeepText buf;
    unsigned i = 0;
    for (auto _ : st) {
        char const* t = w[i].make_keep_string(buf.data());
        benchmark::DoNotOptimize(t);
        i = (i + 1) & (kWorkload - 1);
    }
}

void keep_read(benchmark::State& st) {
    std::vector<KeepText> const& w = keep_texts();
    unsigned i = 0;
    for (auto _ : st) {
        Label l(w[i].data());
        benchmark::DoNotOptimize(l.start.sample);
        benchmark::DoNotOptimize(l.length);
        i = (i + 1) & (kWorkload - 1);
    }
}

// ---------------------------------------------------------------------------
// Translation: film frames of one day to 2:3 and 24-to-25 video, and the
// edit timeline to the clock and back, in the default project (24 fps film
// edited, 29.97 output made with pulldown).
struct XlateCase {
    char const* name;
    MediumRollMedium from, to;
    transfer_type transfer;
    double unit;  // seconds (or cels) per workload step
};
constexpr XlateCase kXlate[] = {
    {"film_to_30i_1001_pull23", film_Medium, source_30i_1001_Medium, transfer_pull23, 1.0 / 24},
    {"film_to_25p_pogle", film_Medium, source_25p_Medium, transfer_pogle, 1.0 / 24},
    {"cel_to_clock", cel_Medium, time_Medium, transfer_frame_for_frame, 1.0},
    {"clock_to_cel", time_Medium, cel_Medium, transfer_frame_for_frame, 1.0 / 24},
};

std::vector<double> xlate_positions(XlateCase const& c) {
    std::vector<double> v(kWorkload);
    Samples const s = draw(seed_for(film_frames_label_t) ^ 0x786c6174ULL, 2073600);
    for (int i = 0; i < kWorkload; ++i) v[i] = s[i] * c.unit;
    return v;
}

void xlate(benchmark::State& st, int k) {
    XlateCase const& c = kXlate[k];
    std::vector<double> const w = xlate_positions(c);
    MPosn_Xlate_Params p;
    p.transfer = c.transfer;
    p.sequence_phase = 0;
    unsigned i = 0;
    for (auto _ : st) {
        double r = mPosn_Xlate(w[i], c.from, c.to, p, false);
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kWorkload - 1);
    }
}

// The conversion `labels batch --from keycode_35 --to ntsc_drop --transfer
// pull23` makes per line, made in process: read the KeyKode text, take its
// position on film, translate it through 2:3 pulldown to 29.97 interlaced
// video, and write the drop-frame timecode there.
struct Conversion {
    Label from{keycode_35_label_t};
    Label to{ntsc_drop_label_t};
    label_cvt* fc = get_static_label_cvt(keycode_35_label_t);
    label_cvt* tc = get_static_label_cvt(ntsc_drop_label_t);
    LabelPoint point{0, ntsc_drop_label_t};
    MPosn_Xlate_Params p;
    Conversion() {
        p.transfer = transfer_pull23;
        p.sequence_phase = 0;
    }
    char const* run(char const* text) {
        int const s = fc->get_abs_sample(text);
        double const position = from.sample_to_posn(s);
        double const target = mPosn_Xlate(position, film_Medium, source_30i_1001_Medium, p, false);
        int const ts = tc->normalise_sample_unit(to.abs_posn_to_sample(target));
        return tc->get_abs_string(&point, ts);
    }
};

std::vector<std::array<char, 24>> const& keykode_texts() {
    static std::vector<std::array<char, 24>> const all = [] {
        std::vector<std::array<char, 24>> v(kWorkload);
        label_cvt* c = get_static_label_cvt(keycode_35_label_t);
        LabelPoint lp(0, keycode_35_label_t);
        c->set_prefix(&lp, "KZ4712340000+00");
        for (int i = 0; i < kWorkload; ++i) {
            std::snprintf(v[i].data(), v[i].size(), "%s", c->get_abs_string(&lp, film_samples(0)[i]));
        }
        return v;
    }();
    return all;
}

void convert_in_process(benchmark::State& st) {
    Conversion c;
    auto const& w = keykode_texts();
    unsigned i = 0;
    for (auto _ : st) {
        char const* t = c.run(w[i].data());
        benchmark::DoNotOptimize(t);
        i = (i + 1) & (kWorkload - 1);
    }
}

// ---------------------------------------------------------------------------
// Legacy: film frames to 29.97 drop-frame timecode through 2:3 pulldown,
// and adding frames to such a text in a film edit.
using LegacyText = std::array<char, 16>;

Samples const& legacy_films() {
    static Samples const s = [] {
        Samples a = draw(seed_for(film_frames_label_t) ^ 0x6c656779ULL, 2073600);
        for (int& v : a) v += 1;  // legacy frame numbers start at 1
        return a;
    }();
    return s;
}

void legacy_to_timecode(benchmark::State& st) {
    Samples const& w = legacy_films();
    LegacyText buf{};
    unsigned i = 0;
    for (auto _ : st) {
        int r = film_frames_to_timecode(w[i], buf.data(), 0, -1, static_cast<label_type>(1), 1, transfer_pull23);
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(buf);
        i = (i + 1) & (kWorkload - 1);
    }
}

std::vector<LegacyText>& legacy_texts() {
    static std::vector<LegacyText> v = [] {
        std::vector<LegacyText> t(kWorkload);
        for (int i = 0; i < kWorkload; ++i)
            film_frames_to_timecode(legacy_films()[i], t[i].data(), 0, -1, static_cast<label_type>(1), 1,
                                    transfer_pull23);
        return t;
    }();
    return v;
}

void legacy_plus_frames(benchmark::State& st) {
    std::vector<LegacyText>& w = legacy_texts();
    Samples const deltas = draw(0x64656c7461ULL, 20001);
    LegacyText out{};
    unsigned i = 0;
    for (auto _ : st) {
        int kk = 0, ph = 0;
        int r = label_plus_frames(out.data(), &kk, &ph, w[i].data(), 0, 0, deltas[i] - 10000,
                                  static_cast<label_type>(1), 1, 16, 0, transfer_pull23, static_cast<edit_type>(0));
        benchmark::DoNotOptimize(r);
        benchmark::DoNotOptimize(out);
        i = (i + 1) & (kWorkload - 1);
    }
}

}  // namespace

void register_values(std::vector<Row>& rows) {
    benchmark::RegisterBenchmark("label_keep/write", keep_write);
    benchmark::RegisterBenchmark("label_keep/read", keep_read);
    rows.push_back({"Label keep string write (pal)", "label_keep/write", none("no peer"), 0.0, "-"});
    rows.push_back({"Label keep string read (pal)", "label_keep/read", none("no peer"), 0.0, "-"});
    for (int k = 0; k < static_cast<int>(sizeof(kXlate) / sizeof(kXlate[0])); ++k) {
        std::string const n = kXlate[k].name;
        benchmark::RegisterBenchmark(("xlate/" + n).c_str(), xlate, k);
        bool const pulldown = kXlate[k].transfer != transfer_frame_for_frame;
        rows.push_back({"mPosn_Xlate " + n, "xlate/" + n,
                        pulldown ? std::function<double(std::map<std::string, double> const&, std::string&)>(
                                       [](std::map<std::string, double> const& m, std::string& note) {
                                           double const r = tc_reference(m, false, note);
                                           if (r > 0) note = "(mean tc sample->text)";
                                           return r;
                                       })
                                 : none("no peer"),
                        pulldown ? 1.0 : 0.0, pulldown ? "<=1x tc->text" : "-"});
    }
    benchmark::RegisterBenchmark("convert/keycode_35_to_ntsc_drop_pull23", convert_in_process);
    rows.push_back({"convert keycode_35 -> ntsc_drop pull23 (in process)", "convert/keycode_35_to_ntsc_drop_pull23",
                    none("what `labels batch` does per line"), 0.0, "-"});
    benchmark::RegisterBenchmark("legacy/film_frames_to_timecode", legacy_to_timecode);
    benchmark::RegisterBenchmark("legacy/label_plus_frames", legacy_plus_frames);
    rows.push_back({"legacy film_frames_to_timecode", "legacy/film_frames_to_timecode", none("no peer"), 0.0, "-"});
    rows.push_back({"legacy label_plus_frames", "legacy/label_plus_frames", none("no peer"), 0.0, "-"});
}

bool write_batch_input(char const* path, long lines) {
    // The texts, and beside them (path + ".expected") what the in-process
    // conversion gives for each, without the sign column the command drops.
    std::string const expected_path = std::string(path) + ".expected";
    FILE* f = std::fopen(path, "w");
    FILE* e = std::fopen(expected_path.c_str(), "w");
    if (!f || !e) {
        if (f) std::fclose(f);
        if (e) std::fclose(e);
        return false;
    }
    label_cvt* c = get_static_label_cvt(keycode_35_label_t);
    LabelPoint lp(0, keycode_35_label_t);
    c->set_prefix(&lp, "KZ4712340000+00");
    Conversion conv;
    SplitMix64 g{seed_for(keycode_35_label_t) ^ 0x6261746368ULL};
    FilmType const& k = kFilmTypes[0];
    for (long i = 0; i < lines; ++i) {
        int const s = static_cast<int>(g.next() % static_cast<std::uint64_t>(k.range)) * k.step;
        char const* text = c->get_abs_string(&lp, s);
        std::fprintf(f, "%s\n", text);
        char const* out = conv.run(text);
        std::fprintf(e, "%s\n", out[0] == ' ' ? out + 1 : out);
    }
    bool const ok = std::fclose(e) == 0;
    return std::fclose(f) == 0 && ok;
}

int check_values() {
    int bad = 0;
    {
        int kb = 0;
        for (int i = 0; i < kWorkload; ++i) {
            Label const l(keep_texts()[i].data());
            Label const& o = keep_labels()[i];
            if ((l.start.sample != o.start.sample || l.length != o.length) && kb++ == 0)
                std::printf("check keep string '%s' reads back as %d+%d\n", keep_texts()[i].data(), l.start.sample,
                            l.length);
        }
        std::printf("check label_keep  %d/%d keep strings read back to the same span (e.g. '%s')\n", kWorkload - kb,
                    kWorkload, keep_texts()[0].data());
        bad += kb;
    }
    for (XlateCase const& c : kXlate) {
        std::vector<double> const w = xlate_positions(c);
        MPosn_Xlate_Params p;
        p.transfer = c.transfer;
        p.sequence_phase = 0;
        int xb = 0;
        for (double x : w) {
            double const r = mPosn_Xlate(x, c.from, c.to, p, false);
            if (!(std::fabs(r) < 1e98)) ++xb;
        }
        std::printf("check xlate %-24s %d/%d positions translate (e.g. %.6f -> %.6f)\n", c.name, kWorkload - xb,
                    kWorkload, w[1], mPosn_Xlate(w[1], c.from, c.to, p, false));
        bad += xb;
    }
    {
        Conversion c;
        std::printf("check convert     keycode_35 '%s' -> ntsc_drop '%s' (2:3 pulldown, phase 0)\n",
                    keykode_texts()[0].data(), c.run(keykode_texts()[0].data()));
    }
    {
        // The legacy drop-frame text of each film frame is the converter's
        // drop-frame text of the same video frame, separators taken out.
        label_cvt* c = get_static_label_cvt(ntsc_drop_label_t);
        LabelPoint lp(0, ntsc_drop_label_t);
        int lb_bad = 0;
        for (int i = 0; i < kWorkload; ++i) {
            int video = 0;
            film_frames_to_video_frames(legacy_films()[i], &video, 0, -1, transfer_pull23);
            char const* t = c->get_abs_string(&lp, video - 1);  // legacy frames count from 1
            char const digits[9] = {t[1], t[2], t[4], t[5], t[7], t[8], t[10], t[11], '\0'};
            if (std::strcmp(digits, legacy_texts()[i].data()) != 0 && lb_bad++ == 0)
                std::printf("check legacy film %d: '%s', converter '%s'\n", legacy_films()[i], legacy_texts()[i].data(),
                            t);
        }
        std::printf("check legacy      %d/%d film frames give the converter's drop-frame text (e.g. %d -> '%s')\n",
                    kWorkload - lb_bad, kWorkload, legacy_films()[0], legacy_texts()[0].data());
        bad += lb_bad;
    }
    return bad;
}

}  // namespace bench
