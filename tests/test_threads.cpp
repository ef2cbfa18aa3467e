// Several threads at once give exactly the answers of one thread: every
// label-type family through the shared registry converters, each thread's
// own converters and one caller-owned converter met first by several threads
// together; label points, labels and edit labels with keep strings both ways
// (each thread's texts in its own buffer: one shared would be a race);
// translation, the legacy functions, the lookups, the pure functions and film
// cut lists; the host's settings under a setter. Each workload folds its
// results into a digest; four threads run it together first (each workload
// its own test, so under ctest the library's first use in its process), then
// one alone, and every digest must be the lone one. Run under
// ThreadSanitizer (the tsan preset) this also proves the runs free of races.
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <labelsbase/labelsbase.h>
#include <labelsbase/positions.h>

namespace {

constexpr int kThreads = 4;

// FNV-1a over everything a workload sees: numbers by their bytes, texts
// up to their end (a null text as 0xDEAD).
struct Digest {
    std::uint64_t h = 1469598103934665603ull;
    void bytes(void const* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char const*>(p)[i]) * 1099511628211ull;
    }
    void add(char const* t) { t ? bytes(t, std::strlen(t) + 1) : add(0xDEAD); }
    void add(char* t) { add(static_cast<char const*>(t)); }
    void add(std::string const& t) { add(t.c_str()); }
    template <class T>
    void add(T v) {
        bytes(&v, sizeof v);
    }
    template <class T, class... More>
    void add(T v, More... more) {
        add(v);
        add(more...);
    }
};

// Runs f(i) on n threads released together; returns each thread's digest.
std::vector<std::uint64_t> on_threads(int n, std::function<std::uint64_t(int)> const& f) {
    std::vector<std::uint64_t> out(static_cast<std::size_t>(n));
    std::atomic<int> waiting{n};
    std::vector<std::thread> ts;
    for (int i = 0; i < n; ++i)
        ts.emplace_back([&, i] {
            waiting.fetch_sub(1);
            while (waiting.load() > 0) std::this_thread::yield();
            out[static_cast<std::size_t>(i)] = f(i);
        });
    for (std::thread& t : ts) t.join();
    return out;
}

// Runs workload f on kThreads threads together, then alone (or the given
// lone workload): every thread's digest must be the lone one.
using Run = std::function<void(Digest&)>;
void expect_single_thread_answers(Run const& f, std::string const& what, Run const& alone = nullptr) {
    auto const digest = [](Run const& r) {
        Digest d;
        r(d);
        return d.h;
    };
    std::vector<std::uint64_t> const got = on_threads(kThreads, [&](int) { return digest(f); });
    std::uint64_t const want = digest(alone ? alone : f);
    for (std::uint64_t g : got) EXPECT_EQ(g, want) << what;
}

std::vector<label_t> registry_types() {
    std::vector<label_t> v;
    for (int i = 0; i < label_type_count; ++i)
        if (label_type_info(static_cast<label_t>(i)).has_converter) v.push_back(static_cast<label_t>(i));
    return v;
}

// Samples over a day of 240 fps and a KeyKode period, the three special
// samples and negatives included.
std::vector<int> samples() {
    std::vector<int> v = {0, 1, -1, 788, 62, invalid_sample, past_end_sample, before_start_sample, -70000, 2147483647};
    for (int s = -50000; s < 20736000; s += 20736000 / 251) v.push_back(s);
    return v;
}

// Every text operation of converter c over the samples, with a label point
// of the caller's own that carries a full prefix for prefixed types.
void convert_all(label_cvt* c, Digest& d) {
    LabelPoint lp(0, c);
    if (c->has_prefix()) c->set_prefix(&lp, "KJ231234");
    for (int s : samples()) {
        char const* text = c->get_abs_string(&lp, s);
        d.add(text);
        d.add(c->get_abs_sample(text));
        char const* keep = c->get_keep_string(&lp, s);
        d.add(keep);
        d.add(c->get_keep_sample(keep));
        d.add(c->get_abs_perfs_string(&lp, s));
        unsigned word = c->get_abs_smpte_string(&lp, s);
        bool drop = false;
        d.add(word);
        d.add(c->get_samples_from_SMPTETc(word, drop), c->normalise_sample_unit(s));
        if (label_type_info(c->type()).category == timecode_UserLabel) {
            lp.sample = s;
            short h, m, sec, f;
            lp.get_hmsf(h, m, sec, f);
            d.add(h, m, sec, f);
        }
    }
    // Texts typed by hand: the general readers.
    for (char const* t : {"KJ2312349999+15", "KJ231234 0012+05", "1:02:03.04", "01:00:00;02", "0012+05", " 0001+00.3",
                          "XXXX0012+05", "12+20", "-00:00:01:00", "00:01:00:00", "junk", ""}) {
        d.add(c->get_abs_sample(t), c->get_keep_sample(t), c->get_abs_sample_from_packed_string(t));
    }
}

// The workloads. Each is one thread's whole work; its digest must not
// depend on what other threads do meanwhile.
struct Workload {
    char const* name;
    void (*run)(Digest&);
};

Workload const kWorkloads[] = {
    {"SharedRegistryConverters",
     [](Digest& d) {
         for (label_t t : registry_types()) convert_all(get_static_label_cvt(t), d);
     }},
    {"EachThreadsOwnConverters",
     [](Digest& d) {
         for (label_t t : registry_types()) convert_all(std::unique_ptr<label_cvt>(make_any_label_cvt(t)).get(), d);
     }},
    {"LabelPoints",
     [](Digest& d) {
         for (label_t t : registry_types())
             for (int i = -3000; i < 3000; i += 7) {
                 LabelPoint p(i * 997, t), q(p);
                 q = LabelPoint(i, t);
                 d.add(p.get_string());
                 d.add(p.get_keep_string());
                 d.add((p + q).sample, (p - q).sample, p == q);
                 if (i % 997 == 0)
                     d.add(EditLabel(t, MediumRollIdent{film_Medium, first_Generation}).make_keep_string(nullptr));
             }
     }},
    {"LabelsAndEditLabelsKeepStringsBothWays",
     [](Digest& d) {
         for (label_t t : registry_types())
             for (int s = 0; s < 400000; s += 4003) {
                 Label l(t);
                 l.start.sample = s;
                 l.length = 4000;
                 char const* keep = l.make_keep_string(nullptr);  // this thread's buffer
                 d.add(keep);
                 Label back(keep);
                 d.add(back.start.sample, back.length);
                 EditLabel e(l, MediumRollIdent{film_Medium, first_Generation});
                 char const* ekeep = e.make_keep_string(nullptr);
                 d.add(ekeep);
                 EditLabel eback(ekeep);
                 d.add(eback.make_keep_string(nullptr));
                 d.add(MediumRollId_to_UserString(
                     MediumRollIdent{static_cast<MediumRollMedium>(s % 38), second_Generation}));
             }
     }},
    {"TranslationWithTheCallersParameters",
     [](Digest& d) {
         for (auto const& [from, to, t] : {std::tuple{film_Medium, source_30i_1001_Medium, transfer_pull23},
                                           {film_Medium, source_25p_Medium, transfer_pogle},
                                           {source_30i_1001_Medium, film_Medium, transfer_pull23},
                                           {cel_Medium, time_Medium, transfer_frame_for_frame},
                                           {time_Medium, cel_Medium, transfer_frame_for_frame}}) {
             MPosn_Xlate_Params p;
             p.transfer = t;
             p.sequence_phase = 1;
             for (int n = -500; n < 20000; n += 7) d.add(mPosn_Xlate(n / 24.0, from, to, p, n % 2 == 0));
         }
     }},
    {"LegacyFunctions",
     [](Digest& d) {
         char text[32], out[32];
         for (int film = -100; film < 60000; film += 37) {
             int kk = 0, ph = 0, video = 0, back = 0;
             d.add(film_frames_to_timecode(film, text, 0, -1, legacy_tc30_1, 1, transfer_pull23));
             d.add(text);
             d.add(timecode_to_video_frames(&video, text, legacy_tc30_1, 1));
             d.add(video);
             d.add(label_plus_frames(out, &kk, &ph, text, 0, 0, film % 500, legacy_tc30_1, 1, 16, 0, transfer_pull23,
                                     legacy_film_edit));
             d.add(out);
             d.add(film_frames_to_filmtc(film, text));
             d.add(filmtc_to_film_frames(&back, text));
             d.add(back);
         }
     }},
    {"Lookups",
     [](Digest& d) {
         for (int r = 0; r < 200; ++r)
             for (int i = -1; i <= label_type_count; ++i) {
                 label_t const t = static_cast<label_t>(i);
                 char const* edl = label_type_to_edlstr(t);
                 d.add(edl);
                 d.add(edlstr_to_label_type(edl), get_label_type(label_type_info(t).class_name),
                       label_t_to_duration_label_t(t), get_vid_fps(t), TvStd_to_label_type(label_type_to_TvStd(t)));
             }
     }},
    {"PureFunctionsFilmGaugesAndTimecodeAtARate",
     [](Digest& d) {
         for (label_t t : registry_types()) {
             positions::FilmGauge g;
             if (!positions::film_gauge(t, g)) continue;
             for (int s = -5000; s < 700000; s += 13) {
                 d.add(positions::keykode_to_perfs(g, positions::perfs_to_keykode(g, s)),
                       positions::feet_to_perfs(g, positions::perfs_to_feet(g, s)),
                       positions::ink_to_perfs(g, positions::perfs_to_ink(g, s)));
             }
         }
         for (int s = -100000; s < 5184000; s += 101) {
             timecode_rate const r{30, s % 2 == 0, s % 2 == 0};
             timecode_fields f;
             std::int64_t back = 0;
             d.add(timecode_frames_to_fields(r, s, 0, &f) && timecode_fields_to_frames(r, f, &back));
             char text[timecode_text_size];
             d.add(timecode_write(r, s, text, sizeof text), back);
             d.add(text);
             timecode_reading const read = timecode_read(r, text);
             d.add(read.frame, read.ok());
         }
     }},
    {"FilmCutLists",  // private converters, labels and a translation block per call
     [](Digest& d) {
         edl::Rate const r{30, true, true};
         std::string const list =
             "TITLE: REEL ONE\nFCM: DROP FRAME\n"
             "001  A001     V     C        01:00:10;00 01:00:10;17 00:00:00;00 00:00:00;17\n"
             "002  A001     V     C        01:00:20;03 01:00:21;00 00:00:00;17 00:00:01;14\n"
             "003  B002     V     C        02:00:05;00 02:00:06;00 00:00:01;14 00:00:02;14\n";
         std::string const log =
             "reel,timecode,keykode,phase\nA001,01:00:00;00,KJ2312340100+00,0\nB002,02:00:00;00,KJ2312350200+00,3\n";
         edl::CutList const c = edl::cut_list(edl::read(list, r), r, edl::read_telecine_log(log, r));
         EXPECT_EQ(c.events.size(), 3u);
         EXPECT_TRUE(c.notes.empty());
         for (edl::CutEvent const& e : c.events) d.add(e.keykode_in, e.keykode_out, e.frames);
         d.add(c.total_footage);
     }},
};

struct Family : testing::TestWithParam<Workload> {};
void PrintTo(Workload const& w, std::ostream* os) { *os << w.name; }

TEST_P(Family, GivesSingleThreadAnswers) { expect_single_thread_answers(GetParam().run, GetParam().name); }

INSTANTIATE_TEST_SUITE_P(Threads, Family, testing::ValuesIn(kWorkloads),
                         [](testing::TestParamInfo<Workload> const& w) { return std::string(w.param.name); });

// A caller's own converter met by several threads at once: the route its
// first conversion chooses is chosen alike by all of them, and is the one a
// converter of its own chooses alone.
TEST(Threads, FirstUseOfACallersConverterFromSeveralThreads) {
    for (label_t t : registry_types()) {
        std::unique_ptr<label_cvt> const shared(make_any_label_cvt(t));
        expect_single_thread_answers([&](Digest& d) { convert_all(shared.get(), d); }, label_type_info(t).class_name,
                                     [&](Digest& d) {
                                         std::unique_ptr<label_cvt> const own(make_any_label_cvt(t));
                                         convert_all(own.get(), d);
                                     });
    }
}

// Readers of the project settings and configuration see a whole snapshot
// while a setter runs, never a mixture of two.
TEST(Threads, SettingsReadAsWholeSnapshotsWhileASetterRuns) {
    host::ProjectSettings a = host::default_project_settings(), b = a;
    b.frame_rate = Kest::FrameRate_25;
    b.use_drop_frame_timecode = false;
    b.output_image_rate = Kest::FrameRate_25;
    b.in_camera_film_speed = Kest::FrameRate_25;
    std::atomic<bool> done{false};
    std::thread setter([&] {
        for (int i = 0; i < 3000; ++i) {
            host::set_project_settings(i % 2 ? a : b);
            host::set_config_int("threads_test_key", i % 2 ? 7 : 9);
        }
        done = true;
    });
    auto const is = [](host::ProjectSettings const& s, host::ProjectSettings const& x) {
        return s.frame_rate == x.frame_rate && s.use_drop_frame_timecode == x.use_drop_frame_timecode &&
               s.output_image_rate == x.output_image_rate && s.in_camera_film_speed == x.in_camera_film_speed;
    };
    auto const read = [&](int) {
        std::uint64_t mixed = 0;
        for (int k; !done.load();) {
            host::ProjectSettings const& s = host::project_settings();
            k = config_int("threads_test_key", 7);
            mixed += !(is(s, a) || is(s, b)) || (k != 7 && k != 9);
        }
        return mixed;
    };
    for (std::uint64_t got : on_threads(2, read)) EXPECT_EQ(got, 0u);
    setter.join();
    host::set_project_settings(host::default_project_settings());
    host::unset_config_int("threads_test_key");
}

// The pure functions agree with the converters built on them over whole
// ranges, so what a thread computes without a converter is what a converter
// prints: the count (modulo its printed digits; 3-perf runs one interval
// past), the frame and the 3-perf perforation, and reading the text back is
// the pure inverse of those fields.
TEST(Positions, AgreeWithTheConverters) {
    using From = positions::FilmCounts (*)(positions::FilmGauge const&, int);
    using To = int (*)(positions::FilmGauge const&, positions::FilmCounts const&);
    for (label_t t : registry_types()) {
        char const* name = label_type_info(t).class_name;
        UserLabelType const u = label_type_info(t).category;
        positions::FilmGauge g;
        ASSERT_EQ(positions::film_gauge(t, g), u == keycode_UserLabel || u == ink_UserLabel || u == feet_UserLabel)
            << name;
        if (u != keycode_UserLabel && u != ink_UserLabel && u != feet_UserLabel) continue;
        From const from = u == keycode_UserLabel ? positions::perfs_to_keykode
                          : u == ink_UserLabel   ? positions::perfs_to_ink
                                                 : positions::perfs_to_feet;
        To const to = u == keycode_UserLabel ? positions::keykode_to_perfs
                      : u == ink_UserLabel   ? positions::ink_to_perfs
                                             : positions::feet_to_perfs;
        label_cvt* const c = get_static_label_cvt(t);
        LabelPoint lp(0, c);
        if (c->has_prefix()) c->set_prefix(&lp, "KJ231234");
        int wrap = c->has_prefix() ? 1 : 1000000;
        for (int i = 0; c->has_prefix() && i < c->get_count_length(); ++i) wrap *= 10;
        for (int s = 0; s < 640000 && c->normalise_sample_unit(s) == s; s += 5) {
            char const* text = c->get_abs_string(&lp, s);
            positions::FilmCounts const k = from(g, s);
            char const* const sep = std::strpbrk(text, "+&");
            ASSERT_NE(sep, nullptr) << text;
            int count = 0;
            char const* p = sep;
            for (int m = 1; m < wrap && p > text && p[-1] >= '0' && p[-1] <= '9'; m *= 10) count += (*--p - '0') * m;
            ASSERT_EQ(count, k.count % wrap) << name << " " << text;
            ASSERT_EQ(std::atoi(sep + 1), k.frame) << name << " " << text;
            ASSERT_TRUE(!g.three_perf || text[std::strlen(text) - 1] - '1' == k.perf) << text;
            ASSERT_EQ(to(g, {count, k.frame, k.perf}), c->get_abs_sample(text)) << name << " " << s << " " << text;
        }
    }
    // Frames outside the interval are invalid.
    for (auto const& [g, frame] :
         {std::pair{positions::gauge_35, 16}, std::pair{positions::gauge_35, -1}, std::pair{positions::gauge_16, 20},
          std::pair{positions::gauge_353, 22}, std::pair{positions::gauge_6515_120, 8}})
        EXPECT_EQ(positions::keykode_to_perfs(g, {12, frame, 0}), invalid_sample) << frame;
}

}  // namespace
