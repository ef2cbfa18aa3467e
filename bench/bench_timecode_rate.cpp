// Timecode by rate: frame count -> interchange text, strict reading of the
// text, and the SMPTE word, beside FFmpeg's av_timecode_make_string,
// av_timecode_init_from_string and av_timecode_get_smpte_from_framenum on
// the same counts. Both sides write the same text form, so the texts are
// compared byte for byte, and the words bit for bit.
#include <cstdio>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include <labelsbase/timecode_rate.h>

#include "bench.h"

#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
extern "C" {
#include <libavutil/timecode.h>
}
#endif

namespace bench {

namespace {

struct RateCase {
    char const* name;  // the rate's name, also the case's
};
constexpr RateCase kRateCases[] = {{"59.94df"}, {"23.976"}, {"29.97df"}};
constexpr int kRateCaseCount = sizeof(kRateCases) / sizeof(kRateCases[0]);

using Text = std::array<char, timecode_text_size>;

struct Work {
    timecode_rate rate;
    Samples frames;
    std::vector<Text> texts;
};

Work const& work(int k) {
    static std::array<Work, kRateCaseCount> all;
    Work& w = all[k];
    if (w.texts.empty()) {
        w.rate = timecode_rate_from_name(kRateCases[k].name);
        int const day = static_cast<int>(timecode_frames_per_day(w.rate));
        w.frames = draw(0x7261746573000000ULL + static_cast<std::uint64_t>(k), day);
        w.texts.resize(kWorkload);
        for (int i = 0; i < kWorkload; ++i) timecode_write(w.rate, w.frames[i], w.texts[i].data(), timecode_text_size);
    }
    return w;
}

void write_ours(benchmark::State& st, int k) {
    Work const& w = work(k);
    char buf[timecode_text_size];
    unsigned i = 0;
    for (auto _ : st) {
        std::size_t n = timecode_write(w.rate, w.frames[i], buf, sizeof buf);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(buf);
        i = (i + 1) & (kWorkload - 1);
    }
}

void read_ours(benchmark::State& st, int k) {
    Work const& w = work(k);
    unsigned i = 0;
    for (auto _ : st) {
        timecode_reading r = timecode_read(w.rate, w.texts[i].data());
        benchmark::DoNotOptimize(r);
        i = (i + 1) & (kWorkload - 1);
    }
}

// The column functions in chunks of 256, amortised: each iteration is one
// item, every 256th writes (reads) the next chunk.
constexpr unsigned kColumnChunk = 256;
constexpr std::size_t kColumnStride = 16;

void write_column_ours(benchmark::State& st, int k) {
    Work const& w = work(k);
    std::vector<std::int64_t> const frames(w.frames.begin(), w.frames.end());
    std::vector<char> out(kColumnChunk * kColumnStride);
    unsigned char lengths[kColumnChunk];
    unsigned i = 0;
    for (auto _ : st) {
        if (i % kColumnChunk == 0) {
            std::size_t n = timecode_write_column(w.rate, &frames[i], kColumnChunk, out.data(), kColumnStride, lengths);
            benchmark::DoNotOptimize(n);
            benchmark::ClobberMemory();
        }
        i = (i + 1) & (kWorkload - 1);
    }
}

void read_column_ours(benchmark::State& st, int k) {
    Work const& w = work(k);
    std::vector<char> texts(kWorkload * kColumnStride);
    std::vector<unsigned char> lengths(kWorkload);
    for (int j = 0; j < kWorkload; ++j) {
        std::size_t const n = std::strlen(w.texts[j].data());
        std::memcpy(&texts[j * kColumnStride], w.texts[j].data(), n + 1);
        lengths[j] = static_cast<unsigned char>(n);
    }
    std::int64_t frames[kColumnChunk];
    unsigned char ok[kColumnChunk];
    unsigned i = 0;
    for (auto _ : st) {
        if (i % kColumnChunk == 0) {
            std::size_t n = timecode_read_column(w.rate, &texts[i * kColumnStride], kColumnStride, &lengths[i],
                                                 kColumnChunk, frames, ok);
            benchmark::DoNotOptimize(n);
            benchmark::ClobberMemory();
        }
        i = (i + 1) & (kWorkload - 1);
    }
}

void smpte_ours(benchmark::State& st, int k) {
    Work const& w = work(k);
    unsigned i = 0;
    for (auto _ : st) {
        std::uint32_t word = 0;
        bool ok = timecode_to_smpte(w.rate, w.frames[i], &word);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(word);
        i = (i + 1) & (kWorkload - 1);
    }
}

#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
AVRational peer_rate(timecode_rate r) {
    timecode_ratio const q = timecode_rate_exact(r);
    return av_make_q(static_cast<int>(q.num), static_cast<int>(q.den));
}

AVTimecode peer_of(timecode_rate r) {
    AVTimecode tc;
    int const flags = AV_TIMECODE_FLAG_24HOURSMAX | (r.drop ? AV_TIMECODE_FLAG_DROPFRAME : 0);
    if (av_timecode_init(&tc, peer_rate(r), flags, 0, nullptr) < 0) std::abort();
    return tc;
}

void write_peer(benchmark::State& st, int k) {
    Work const& w = work(k);
    AVTimecode const tc = peer_of(w.rate);
    char buf[AV_TIMECODE_STR_SIZE];
    unsigned i = 0;
    for (auto _ : st) {
        char const* t = av_timecode_make_string(&tc, buf, w.frames[i]);
        benchmark::DoNotOptimize(t);
        i = (i + 1) & (kWorkload - 1);
    }
}

int peer_read(AVRational q, char const* text) {
    AVTimecode tc;
    if (av_timecode_init_from_string(&tc, q, text, nullptr) < 0) return -1;
    return tc.start;
}

void read_peer(benchmark::State& st, int k) {
    Work const& w = work(k);
    AVRational const q = peer_rate(w.rate);
    unsigned i = 0;
    for (auto _ : st) {
        int s = peer_read(q, w.texts[i].data());
        benchmark::DoNotOptimize(s);
        i = (i + 1) & (kWorkload - 1);
    }
}

void smpte_peer(benchmark::State& st, int k) {
    Work const& w = work(k);
    AVTimecode const tc = peer_of(w.rate);
    unsigned i = 0;
    for (auto _ : st) {
        std::uint32_t word = av_timecode_get_smpte_from_framenum(&tc, w.frames[i]);
        benchmark::DoNotOptimize(word);
        i = (i + 1) & (kWorkload - 1);
    }
}
#endif

}  // namespace

void register_timecode_rate(std::vector<Row>& rows) {
    for (int k = 0; k < kRateCaseCount; ++k) {
        std::string const n = kRateCases[k].name;
        benchmark::RegisterBenchmark(("rate_write/" + n + "/ours").c_str(), write_ours, k);
        benchmark::RegisterBenchmark(("rate_read/" + n + "/ours").c_str(), read_ours, k);
        benchmark::RegisterBenchmark(("rate_smpte/" + n + "/ours").c_str(), smpte_ours, k);
        benchmark::RegisterBenchmark(("rate_write_column/" + n + "/ours").c_str(), write_column_ours, k);
        benchmark::RegisterBenchmark(("rate_read_column/" + n + "/ours").c_str(), read_column_ours, k);
#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
        benchmark::RegisterBenchmark(("rate_write/" + n + "/ffmpeg").c_str(), write_peer, k);
        benchmark::RegisterBenchmark(("rate_read/" + n + "/ffmpeg").c_str(), read_peer, k);
        benchmark::RegisterBenchmark(("rate_smpte/" + n + "/ffmpeg").c_str(), smpte_peer, k);
#endif
        rows.push_back({"rate count->text " + n + " timecode_write", "rate_write/" + n + "/ours",
                        peer_of("rate_write/" + n + "/ffmpeg"), 20.0, ">=20x"});
        rows.push_back({"rate text->count " + n + " timecode_read (strict)", "rate_read/" + n + "/ours",
                        peer_of("rate_read/" + n + "/ffmpeg"), 10.0, ">=10x"});
        rows.push_back({"rate count->text " + n + " column, per item", "rate_write_column/" + n + "/ours",
                        peer_of("rate_write/" + n + "/ffmpeg"), 20.0, ">=20x"});
        rows.push_back({"rate text->count " + n + " column, per item", "rate_read_column/" + n + "/ours",
                        peer_of("rate_read/" + n + "/ffmpeg"), 10.0, ">=10x"});
        rows.push_back({"rate SMPTE word " + n + " timecode_to_smpte", "rate_smpte/" + n + "/ours",
                        peer_of("rate_smpte/" + n + "/ffmpeg"), 2.0, ">=2x"});
    }
}

int check_timecode_rate() {
    int bad_total = 0;
    for (int k = 0; k < kRateCaseCount; ++k) {
        Work const& w = work(k);
        char const* const n = kRateCases[k].name;
        int self_bad = 0;
        for (int i = 0; i < kWorkload; ++i) {
            timecode_reading const r = timecode_read(w.rate, w.texts[i].data());
            if ((!r.ok() || r.frame != w.frames[i]) && self_bad++ == 0)
                std::printf("check %-10s ours: %d -> '%s' does not read back\n", n, w.frames[i], w.texts[i].data());
        }
        std::printf("check %-10s ours: %d/%d counts -> text -> count exact (strict reading)\n", n, kWorkload - self_bad,
                    kWorkload);
        bad_total += self_bad;
#ifdef LABELSBASE_BENCH_HAVE_AVUTIL
        AVTimecode const tc = peer_of(w.rate);
        AVRational const q = peer_rate(w.rate);
        int text_bad = 0, read_bad = 0, word_bad = 0;
        for (int i = 0; i < kWorkload; ++i) {
            char buf[AV_TIMECODE_STR_SIZE];
            av_timecode_make_string(&tc, buf, w.frames[i]);
            if (std::strcmp(buf, w.texts[i].data()) != 0 && text_bad++ == 0)
                std::printf("check %-10s text of %d: ours '%s' ffmpeg '%s'\n", n, w.frames[i], w.texts[i].data(), buf);
            if (peer_read(q, w.texts[i].data()) != w.frames[i] && read_bad++ == 0)
                std::printf("check %-10s ffmpeg reads '%s' as %d, not %d\n", n, w.texts[i].data(),
                            peer_read(q, w.texts[i].data()), w.frames[i]);
            std::uint32_t mine = 0;
            timecode_to_smpte(w.rate, w.frames[i], &mine);
            if (mine != av_timecode_get_smpte_from_framenum(&tc, w.frames[i]) && word_bad++ == 0)
                std::printf("check %-10s SMPTE word of %d differs\n", n, w.frames[i]);
        }
        std::printf("check %-10s vs ffmpeg: %d/%d texts equal, %d/%d counts equal from text, %d/%d SMPTE words equal\n",
                    n, kWorkload - text_bad, kWorkload, kWorkload - read_bad, kWorkload, kWorkload - word_bad,
                    kWorkload);
        std::string const s = n;
        if (text_bad) peer_disagreements()["rate_write/" + s + "/ffmpeg"] = std::to_string(text_bad) + "/4096";
        if (read_bad) peer_disagreements()["rate_read/" + s + "/ffmpeg"] = std::to_string(read_bad) + "/4096";
        if (word_bad) peer_disagreements()["rate_smpte/" + s + "/ffmpeg"] = std::to_string(word_bad) + "/4096";
        bad_total += text_bad + read_bad + word_bad;
#endif
    }
    return bad_total;
}

}  // namespace bench
