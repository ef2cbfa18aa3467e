// Timecode: sample -> text and text -> sample through the converter
// interface and through label points, and the packed SMPTE word, beside
// FFmpeg's av_timecode_make_string, av_timecode_init_from_string and
// av_timecode_get_smpte_from_framenum on the same samples.
//
// How the two text forms are compared. Ours: a sign column (' ' for the
// non-negative samples of the workload), HH:MM:SS, the type's frame
// separator ('.' at 25 fps and above, '+' at 24 fps, ';' at drop-frame),
// then the frames (three digits at 120 fps). FFmpeg: no sign column for a
// non-negative count, ':' before the frames, ';' at drop-frame, three frame
// digits above 100 fps. Normalised: our sign column is dropped (after
// checking it is a space) and our separator (after checking it is the
// type's) becomes FFmpeg's; the rest must be equal byte for byte. Each side
// parses its own form; both must give back the workload's frame count.
//
// The label point cases use one live point per field, re-used as an editor
// re-uses its points: the sample is set, then the text asked for (or the
// text read back relative to the point). The "new point" rows construct a
// point per call instead; they are for information and have no target.
//
// The SMPTE words are the same fields in the opposite byte order: FFmpeg
// puts the hours in the low byte and the drop flag at bit 30, we put the
// frames in the low byte and the drop flag at bit 6. FFmpeg's word with its
// bytes swapped must equal ours. The comparison is made at 24, 25 and
// 29.97 drop-frame only: above 30 fps FFmpeg halves the frame number into
// the word and we do not.
#include <cstdio>
#include <cstring>

#include <benchmark/benchmark.h>

#include "bench.h"

#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
extern "C" {
#include <libavutil/log.h>
#include <libavutil/timecode.h>
#include <libavutil/version.h>
}
#endif

namespace bench {

Samples draw(std::uint64_t seed, int range, int step) {
    SplitMix64 g{seed};
    Samples out{};
    for (int& v : out) v = static_cast<int>(g.next() % static_cast<std::uint64_t>(range)) * step;
    return out;
}

std::uint64_t seed_for(label_t t) { return 0x6c6162656c730000ULL + static_cast<std::uint64_t>(t); }

Samples const& tc_samples(int rate) {
    static std::array<Samples, kTcRateCount> const all = [] {
        std::array<Samples, kTcRateCount> a{};
        for (int r = 0; r < kTcRateCount; ++r) a[r] = draw(seed_for(kTcRates[r].type), kTcRates[r].day);
        return a;
    }();
    return all[rate];
}

std::map<std::string, std::string>& peer_disagreements() {
    static std::map<std::string, std::string> m;
    return m;
}

// The peer's median for a case, or the reason there is none.
std::function<double(std::map<std::string, double> const&, std::string&)> peer_of(std::string name) {
    return [name](std::map<std::string, double> const& m, std::string& note) {
#ifndef LABELSBASE_BENCH_HAVE_AVUTIL
        (void)m;
        note = "no libavutil-dev";
        return -1.0;
#else
        auto const d = peer_disagreements().find(name);
        if (d != peer_disagreements().end()) note = "DISAGREE " + d->second + "; ";
        auto const it = m.find(name);
        if (it == m.end()) {
            note += "not run";
            return -1.0;
        }
        return it->second;
#endif
    };
}

namespace {

using Text = std::array<char, 24>;
using Texts = std::vector<Text>;

void copy_text(Text& to, char const* from) {
    std::size_t n = std::strlen(from);
    if (n >= to.size()) n = to.size() - 1;
    std::memcpy(to.data(), from, n);
    to[n] = '\0';
}

// Our display texts of the workload, made once.
Texts const& our_texts(int rate) {
    static std::array<Texts, kTcRateCount> all;
    Texts& t = all[rate];
    if (t.empty()) {
        TcRate const& r = kTcRates[rate];
        label_cvt* c = get_static_label_cvt(r.type);
        LabelPoint lp(0, r.type);
        t.resize(kWorkload);
        for (int i = 0; i < kWorkload; ++i) copy_text(t[i], c->get_abs_string(&lp, tc_samples(rate)[i]));
    }
    return t;
}

#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
AVTimecode peer_timecode(TcRate const& r) {
    AVTimecode tc;
    int const flags = AV_TIMECODE_FLAG_24HOURSMAX | (r.drop ? AV_TIMECODE_FLAG_DROPFRAME : 0);
    if (av_timecode_init(&tc, av_make_q(r.num, r.den), flags, 0, nullptr) < 0) std::abort();
    return tc;
}

Texts const& peer_texts(int rate) {
    static std::array<Texts, kTcRateCount> all;
    Texts& t = all[rate];
    if (t.empty()) {
        AVTimecode const tc = peer_timecode(kTcRates[rate]);
        t.resize(kWorkload);
        char buf[AV_TIMECODE_STR_SIZE];
        for (int i = 0; i < kWorkload; ++i) copy_text(t[i], av_timecode_make_string(&tc, buf, tc_samples(rate)[i]));
    }
    return t;
}

// FFmpeg's only text parser; the frame count comes back as the start.
int peer_parse(AVRational rate, char const* text) {
    AVTimecode tc;
    if (av_timecode_init_from_string(&tc, rate, text, nullptr) < 0) return invalid_sample;
    return tc.start;
}
#endif

// Our text in FFmpeg's form, or "" when the sign column or separator is
// not what the type prints.
[[maybe_unused]] std::string normalise(char const* ours, TcRate const& r, char separator) {
    std::size_t const n = std::strlen(ours);
    if (n < 12 || ours[0] != ' ' || ours[9] != separator) return std::string();
    std::string s(ours + 1, n - 1);
    s[8] = r.drop ? ';' : ':';
    return s;
}

// ---------------------------------------------------------------------------
// Benchmarks. Every loop walks the workload in order and hands each result
// to DoNotOptimize.

void tc_to_text_cvt(benchmark::State& st, int rate) {
    TcRate const& r = kTcRates[rate];
    label_cvt* c = get_static_label_cvt(r.type);
    LabelPoint lp(0, r.type);
    Samples const& w = tc_samples(rate);
    unsigned i = 0;
    for (auto _ : st) {
        char const* t = c->get_abs_string(&lp, w[i]);
        benchmark::DoNotOptimize(t);
        i = (i + 1) & (kWorkload - 1);
    }
}

void tc_to_text_lp(benchmark::State& st, int rate) {
    LabelPoint lp(0, kTcRates[rate].type);
    Samples const& w = tc_samples(rate);
    unsigned i = 0;
    for (auto _ : st) {
        lp.sample = w[i];
        char const* t = lp.get_string();
        benchmark::DoNotOptimize(t);
        i = (i + 1) & (kWorkload - 1);
    }
}

void tc_to_text_new_lp(benchmark::State& st, int rate) {
    TcRate const& r = kTcRates[rate];
    Samples const& w = tc_samples(rate);
    unsigned i = 0;
    for (auto _ : st) {
        LabelPoint lp(w[i], r.type);
        char const* t = lp.get_string();
        benchmark::DoNotOptimize(t);
        i = (i + 1) & (kWorkload - 1);
    }
}

void text_to_tc_cvt(benchmark::State& st, int rate) {
    TcRate const& r = kTcRates[rate];
    label_cvt* c = get_static_label_cvt(r.type);
    Texts const& w = our_texts(rate);
    unsigned i = 0;
    for (auto _ : st) {
        int s = c->get_abs_sample(w[i].data());
        benchmark::DoNotOptimize(s);
        i = (i + 1) & (kWorkload - 1);
    }
}

void text_to_tc_lp(benchmark::State& st, int rate) {
    LabelPoint lp(0, kTcRates[rate].type);
    Texts const& w = our_texts(rate);
    unsigned i = 0;
    for (auto _ : st) {
        int s = lp.cvt()->get_sample(&lp, w[i].data());
        benchmark::DoNotOptimize(s);
        i = (i + 1) & (kWorkload - 1);
    }
}

void text_to_tc_new_lp(benchmark::State& st, int rate) {
    TcRate const& r = kTcRates[rate];
    Texts const& w = our_texts(rate);
    unsigned i = 0;
    for (auto _ : st) {
        LabelPoint lp(0, r.type);
        int s = lp.cvt()->get_sample(&lp, w[i].data());
        benchmark::DoNotOptimize(s);
        i = (i + 1) & (kWorkload - 1);
    }
}

void smpte_encode_cvt(benchmark::State& st, int rate) {
    TcRate const& r = kTcRates[rate];
    label_cvt* c = get_static_label_cvt(r.type);
    LabelPoint lp(0, r.type);
    Samples const& w = tc_samples(rate);
    unsigned i = 0;
    for (auto _ : st) {
        unsigned word = c->get_abs_smpte_string(&lp, w[i]);
        benchmark::DoNotOptimize(word);
        i = (i + 1) & (kWorkload - 1);
    }
}

void smpte_decode_cvt(benchmark::State& st, int rate) {
    TcRate const& r = kTcRates[rate];
    label_cvt* c = get_static_label_cvt(r.type);
    LabelPoint lp(0, r.type);
    std::vector<unsigned> words(kWorkload);
    for (int k = 0; k < kWorkload; ++k) words[k] = c->get_abs_smpte_string(&lp, tc_samples(rate)[k]);
    unsigned i = 0;
    for (auto _ : st) {
        unsigned word = words[i];
        bool drop = false;
        int s = c->get_samples_from_SMPTETc(word, drop);
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(drop);
        i = (i + 1) & (kWorkload - 1);
    }
}

#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
void tc_to_text_peer(benchmark::State& st, int rate) {
    AVTimecode const tc = peer_timecode(kTcRates[rate]);
    Samples const& w = tc_samples(rate);
    char buf[AV_TIMECODE_STR_SIZE];
    unsigned i = 0;
    for (auto _ : st) {
        char const* t = av_timecode_make_string(&tc, buf, w[i]);
        benchmark::DoNotOptimize(t);
        i = (i + 1) & (kWorkload - 1);
    }
}

void text_to_tc_peer(benchmark::State& st, int rate) {
    AVRational const q = av_make_q(kTcRates[rate].num, kTcRates[rate].den);
    Texts const& w = peer_texts(rate);
    unsigned i = 0;
    for (auto _ : st) {
        int s = peer_parse(q, w[i].data());
        benchmark::DoNotOptimize(s);
        i = (i + 1) & (kWorkload - 1);
    }
}

void smpte_encode_peer(benchmark::State& st, int rate) {
    AVTimecode const tc = peer_timecode(kTcRates[rate]);
    Samples const& w = tc_samples(rate);
    unsigned i = 0;
    for (auto _ : st) {
        std::uint32_t word = av_timecode_get_smpte_from_framenum(&tc, w[i]);
        benchmark::DoNotOptimize(word);
        i = (i + 1) & (kWorkload - 1);
    }
}
#endif

// An information row: the peer's figure with a note saying why there is no target.
std::function<double(std::map<std::string, double> const&, std::string&)> information(
    std::function<double(std::map<std::string, double> const&, std::string&)> peer) {
    return [peer](std::map<std::string, double> const& m, std::string& note) {
        double const v = peer(m, note);
        note += note.empty() ? "information: a point built per call" : "; information: a point built per call";
        return v;
    };
}

std::function<double(std::map<std::string, double> const&, std::string&)> no_peer(char const* why) {
    std::string const w = why;
    return [w](std::map<std::string, double> const&, std::string& note) {
        note = w;
        return -1.0;
    };
}

}  // namespace

void register_timecode(std::vector<Row>& rows) {
    for (int r = 0; r < kTcRateCount; ++r) {
        std::string const n = kTcRates[r].name;
        benchmark::RegisterBenchmark(("tc_to_text/" + n + "/cvt").c_str(), tc_to_text_cvt, r);
        benchmark::RegisterBenchmark(("tc_to_text/" + n + "/lp").c_str(), tc_to_text_lp, r);
        benchmark::RegisterBenchmark(("text_to_tc/" + n + "/cvt").c_str(), text_to_tc_cvt, r);
        benchmark::RegisterBenchmark(("text_to_tc/" + n + "/lp").c_str(), text_to_tc_lp, r);
        benchmark::RegisterBenchmark(("tc_to_text/" + n + "/new_lp").c_str(), tc_to_text_new_lp, r);
        benchmark::RegisterBenchmark(("text_to_tc/" + n + "/new_lp").c_str(), text_to_tc_new_lp, r);
#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
        benchmark::RegisterBenchmark(("tc_to_text/" + n + "/ffmpeg").c_str(), tc_to_text_peer, r);
        benchmark::RegisterBenchmark(("text_to_tc/" + n + "/ffmpeg").c_str(), text_to_tc_peer, r);
#endif
        rows.push_back({"tc sample->text " + n + " get_abs_string", "tc_to_text/" + n + "/cvt",
                        peer_of("tc_to_text/" + n + "/ffmpeg"), 20.0, ">=20x"});
        rows.push_back({"tc sample->text " + n + " LabelPoint", "tc_to_text/" + n + "/lp",
                        peer_of("tc_to_text/" + n + "/ffmpeg"), 20.0, ">=20x"});
        rows.push_back({"tc text->sample " + n + " get_abs_sample", "text_to_tc/" + n + "/cvt",
                        peer_of("text_to_tc/" + n + "/ffmpeg"), 10.0, ">=10x"});
        rows.push_back({"tc text->sample " + n + " LabelPoint", "text_to_tc/" + n + "/lp",
                        peer_of("text_to_tc/" + n + "/ffmpeg"), 10.0, ">=10x"});
        rows.push_back({"tc sample->text " + n + " new LabelPoint", "tc_to_text/" + n + "/new_lp",
                        information(peer_of("tc_to_text/" + n + "/ffmpeg")), 0.0, "-"});
        rows.push_back({"tc text->sample " + n + " new LabelPoint", "text_to_tc/" + n + "/new_lp",
                        information(peer_of("text_to_tc/" + n + "/ffmpeg")), 0.0, "-"});
    }
    for (int r = 0; r < kTcRateCount; ++r) {
        if (!kTcRates[r].smpte) continue;
        std::string const n = kTcRates[r].name;
        benchmark::RegisterBenchmark(("smpte_encode/" + n + "/cvt").c_str(), smpte_encode_cvt, r);
        benchmark::RegisterBenchmark(("smpte_decode/" + n + "/cvt").c_str(), smpte_decode_cvt, r);
#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
        benchmark::RegisterBenchmark(("smpte_encode/" + n + "/ffmpeg").c_str(), smpte_encode_peer, r);
#endif
        rows.push_back(
            {"SMPTE encode " + n, "smpte_encode/" + n + "/cvt", peer_of("smpte_encode/" + n + "/ffmpeg"), 2.0, ">=2x"});
        rows.push_back({"SMPTE decode " + n, "smpte_decode/" + n + "/cvt", no_peer("FFmpeg has no word->count decoder"),
                        0.0, "-"});
    }
}

// ---------------------------------------------------------------------------
// Agreement before timing.
int check_timecode() {
    int bad_total = 0;
    for (int r = 0; r < kTcRateCount; ++r) {
        TcRate const& rt = kTcRates[r];
        label_cvt* c = get_static_label_cvt(rt.type);
        Samples const& w = tc_samples(r);
        Texts const& ours = our_texts(r);
        int self_bad = 0;
        for (int i = 0; i < kWorkload; ++i) {
            LabelPoint lp(w[i], rt.type);
            LabelPoint zero(0, rt.type);
            bool const ok = c->get_abs_sample(ours[i].data()) == w[i] &&
                            std::strcmp(lp.get_string(), ours[i].data()) == 0 &&
                            zero.cvt()->get_sample(&zero, ours[i].data()) == w[i];
            if (!ok && self_bad++ == 0)
                std::printf("check %-10s ours: sample %d -> '%s' does not read back\n", rt.name, w[i], ours[i].data());
        }
        std::printf("check %-10s ours: %d/%d samples -> text -> sample exact (converter and label point)\n", rt.name,
                    kWorkload - self_bad, kWorkload);
        bad_total += self_bad;
#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
        Texts const& peer = peer_texts(r);
        AVTimecode const tc = peer_timecode(rt);
        AVRational const q = av_make_q(rt.num, rt.den);
        char const sep = c->getFrameSeparator();
        int text_bad = 0, parse_bad = 0, word_bad = 0;
        LabelPoint lp(0, rt.type);
        for (int i = 0; i < kWorkload; ++i) {
            if (normalise(ours[i].data(), rt, sep) != peer[i].data() && text_bad++ == 0)
                std::printf("check %-10s text differs at %d: ours '%s' ffmpeg '%s'\n", rt.name, w[i], ours[i].data(),
                            peer[i].data());
            if (peer_parse(q, peer[i].data()) != w[i] && parse_bad++ == 0)
                std::printf("check %-10s ffmpeg reads '%s' as %d, not %d\n", rt.name, peer[i].data(),
                            peer_parse(q, peer[i].data()), w[i]);
            if (rt.smpte) {
                std::uint32_t const theirs = __builtin_bswap32(av_timecode_get_smpte_from_framenum(&tc, w[i]));
                unsigned const mine = c->get_abs_smpte_string(&lp, w[i]);
                if (mine != theirs && word_bad++ == 0)
                    std::printf("check %-10s SMPTE word of %d: ours 0x%08x ffmpeg (bytes swapped) 0x%08x\n", rt.name,
                                w[i], mine, static_cast<unsigned>(theirs));
            }
        }
        std::printf("check %-10s vs ffmpeg: %d/%d texts equal after normalising, %d/%d counts equal from text", rt.name,
                    kWorkload - text_bad, kWorkload, kWorkload - parse_bad, kWorkload);
        if (rt.smpte) std::printf(", %d/%d SMPTE words equal (bytes swapped)", kWorkload - word_bad, kWorkload);
        std::printf("\n");
        std::string const n = rt.name;
        if (text_bad) peer_disagreements()["tc_to_text/" + n + "/ffmpeg"] = std::to_string(text_bad) + "/4096";
        if (parse_bad) peer_disagreements()["text_to_tc/" + n + "/ffmpeg"] = std::to_string(parse_bad) + "/4096";
        if (word_bad) peer_disagreements()["smpte_encode/" + n + "/ffmpeg"] = std::to_string(word_bad) + "/4096";
        bad_total += text_bad + parse_bad + word_bad;
#endif
        if (rt.smpte) {
            // The word decodes back to the plain count; drop-frame words
            // carry the flag and are not drop-corrected by the decoder.
            LabelPoint lp(0, rt.type);
            int dec_bad = 0;
            for (int i = 0; i < kWorkload; ++i) {
                unsigned word = c->get_abs_smpte_string(&lp, w[i]);
                bool drop = false;
                int const s = c->get_samples_from_SMPTETc(word, drop);
                if (drop != rt.drop || (!rt.drop && s != w[i])) ++dec_bad;
            }
            std::printf("check %-10s SMPTE decode: %d/%d words decode back%s\n", rt.name, kWorkload - dec_bad,
                        kWorkload, rt.drop ? " (drop flag seen)" : "");
            bad_total += dec_bad;
        }
    }
    return bad_total;
}

char const* peer_init() {
#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
    av_log_set_level(AV_LOG_QUIET);
    return LIBAVUTIL_IDENT;
#else
    return nullptr;
#endif
}

double tc_reference(std::map<std::string, double> const& m, bool round_trip, std::string& note) {
    double sum = 0;
    for (TcRate const& r : kTcRates) {
        std::string const n = r.name;
        auto const a = m.find("tc_to_text/" + n + "/cvt");
        auto const b = m.find("text_to_tc/" + n + "/cvt");
        if (a == m.end() || (round_trip && b == m.end())) {
            note = "timecode cases not run";
            return -1.0;
        }
        sum += a->second + (round_trip ? b->second : 0.0);
    }
    return sum / kTcRateCount;
}

}  // namespace bench
