// The flat legacy interface: pulldown conversions, fixed-width texts and
// label arithmetic.
#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "test_support.h"

namespace {

label_type LT(int v) { return static_cast<label_type>(v); }
transfer_type TT(int v) { return static_cast<transfer_type>(v); }
edit_type ET(int v) { return static_cast<edit_type>(v); }

// A call that returned rc left eight digits and a NUL, or nothing at all.
bool eight_digits_or_nothing(int rc, Guarded<> const& g) {
    if (!rc || !g.canary_ok()) return !rc && g.untouched();
    for (int i = 0; i < 8; ++i)
        if (g.bytes[i] < '0' || g.bytes[i] > '9') return false;
    return g.bytes[8] == '\0';
}
bool in(int v, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), v) != set.end(); }
int positive_mod(long long a, int n) { return static_cast<int>(((a % n) + n) % n); }

TEST(LegacyPulldown, WorkedExamples) {
    int const film_to_video[] = {1, 3, 4, 5, 6, 8, 9, 10}, video_to_film[] = {1, 2, 2, 3, 4};
    for (int n = 1; n <= 8; ++n) {
        int v = 0, f = 0, p = -7;
        EXPECT_TRUE(film_frames_to_video_frames(n, &v, 0, -1, transfer_pull23) == 1 && v == film_to_video[n - 1]) << n;
        if (n <= 5) {
            EXPECT_TRUE(video_frames_to_film_frames(n, &f, 0, &p, transfer_pull23) == 1 && f == video_to_film[n - 1])
                << n;
        }
    }
    int v = 99, a = 0, b = 0;  // frame 0 is lifted a cycle (to 4), placed, and brought back
    EXPECT_TRUE(film_frames_to_video_frames(0, &v, 0, -1, transfer_pull23) == 1 && v == 0);
    // A video phase equal to the film cycle takes one video frame off.
    film_frames_to_video_frames(9, &a, 1, -1, transfer_pogle);
    film_frames_to_video_frames(9, &b, 1, 24, transfer_pogle);
    EXPECT_EQ(b, a - 1);
    for (int frame : {INT_MIN, -1, 77, INT_MAX}) {  // frame for frame: the frame and phase stay
        int out = 5, p = 123;
        EXPECT_TRUE(film_frames_to_video_frames(frame, &out, 3, 4, transfer_unspecified) == 1 && out == frame);
        EXPECT_TRUE(video_frames_to_film_frames(frame, &out, 3, &p, transfer_frame_for_frame) == 1 && out == frame);
        EXPECT_EQ(p, 123);
    }
}

struct PulldownCase {
    transfer_type t;
    int film_cycle, video_cycle;
};
void PrintTo(PulldownCase const& c, std::ostream* os) { *os << "transfer " << c.t; }

struct LegacyCycle : testing::TestWithParam<PulldownCase> {};

// Every phase, over several cycles each side of 1: film -> video -> film is
// the identity, video frames rise by one or two, a film cycle is a video
// cycle, the cycle's end phases report 2; video -> film never goes back and
// skips no film frame.
TEST_P(LegacyCycle, PulldownEveryPhase) {
    PulldownCase const c = GetParam();
    for (int phase = 0; phase <= c.film_cycle; ++phase) {
        int prev = 0;
        for (int film = -5 * c.film_cycle; film <= 6 * c.film_cycle; ++film) {
            int video = 0, back = 0, vphase = -1, next = 0;
            ASSERT_EQ(film_frames_to_video_frames(film, &video, phase, -1, c.t), phase >= c.film_cycle - 1 ? 2 : 1);
            ASSERT_EQ(video_frames_to_film_frames(video, &back, phase, &vphase, c.t), 1);
            ASSERT_EQ(back, film) << "phase " << phase << " video " << video;
            ASSERT_TRUE(vphase >= 0 && vphase < c.video_cycle);
            if (film > -5 * c.film_cycle) {
                ASSERT_TRUE(video - prev == 1 || video - prev == 2) << film;
            }
            prev = video;
            film_frames_to_video_frames(film + c.film_cycle, &next, phase, -1, c.t);
            ASSERT_EQ(next - video, c.video_cycle) << "phase " << phase << " film " << film;
        }
        if (phase == c.film_cycle) continue;
        for (int video = -4 * c.video_cycle; video <= 5 * c.video_cycle; ++video) {
            int film = 0, p = -1, later = 0;
            ASSERT_EQ(video_frames_to_film_frames(video, &film, phase, &p, c.t), 1);
            if (video > -4 * c.video_cycle) {
                ASSERT_TRUE(film - prev == 0 || film - prev == 1) << video;
            }
            prev = film;
            video_frames_to_film_frames(video + c.video_cycle, &later, phase, &p, c.t);
            ASSERT_EQ(later - film, c.film_cycle);
        }
    }
}

// Each function takes its own label types (the label functions also only
// edit kinds 0 and 1): anything else gives 0 and writes nothing
// (label_to_frames still marks its phase -1).
TEST(LegacyRefusals, TypesAndEditKindsEachFunctionAccepts) {
    auto const reads_tc = {1, 2, 3, 5, 7, 21, 22, 25, 36, 37, 38, 39, 40, 41, 42, 43};
    auto const writes_tc = {1, 2, 3, 4, 5, 6, 7, 21, 22, 25, 34, 36, 37, 38, 39, 40, 41, 42, 43};
    auto const keykode = {8, 9, 11, 12, 26, 27};
    auto const families = {1, 2, 3, 5, 7, 21, 22, 25, 36, 37, 39, 40, 42, 4, 6, 34, 38, 41, 43, 8, 11, 26, 27};
    std::vector<int> types{INT_MIN, 100, INT_MAX};
    for (int i = -1; i <= 44; ++i) types.push_back(i);
    for (int lt : types) {
        SCOPED_TRACE(lt);
        char text[] = "01020304", kt[] = "00012005";
        int out = -55, kk = -55;
        EXPECT_EQ(timecode_to_video_frames(&out, text, LT(lt), 0), in(lt, reads_tc) ? 1 : 0);
        EXPECT_TRUE(in(lt, reads_tc) || out == -55);
        Guarded<> g, k;
        EXPECT_EQ(video_frames_to_timecode(100, g.out(), LT(lt), 0), in(lt, writes_tc) ? 1 : 0);
        EXPECT_TRUE(in(lt, writes_tc) || g.untouched());
        out = -55;
        EXPECT_EQ(keycode_to_film_frames(&out, kt, 1, &kk, LT(lt), 20), in(lt, keykode) ? 1 : 0);
        EXPECT_TRUE(in(lt, keykode) || (out == -55 && kk == -55));
        EXPECT_EQ(film_frames_to_keycode(100, k.out(), 1, &kk, LT(lt), 20, 0xFC), in(lt, keykode) ? 1 : 0);
        EXPECT_TRUE(in(lt, keykode) || k.untouched());
        for (int e : {0, 1, 2, -1}) {
            bool const ok = in(lt, families) && (e == 0 || e == 1);
            char label[] = "00000100";
            int lk = -3, p = -3, f = -3;
            EXPECT_EQ(label_to_frames(label, 1, &lk, 0, &p, &f, LT(lt), 0, transfer_unspecified, ET(e), 20) != 0, ok)
                << e;
            EXPECT_TRUE(ok || (p == -1 && f == -3 && lk == -3)) << e;
            Guarded<> g1, g2, g3;
            p = -3;
            EXPECT_EQ(
                frames_to_label(g1.out(), 1, &lk, 0, -1, 100, LT(lt), 0, transfer_unspecified, ET(e), 20, 0xFC) != 0,
                ok);
            EXPECT_EQ(label_plus_frames(g2.out(), &lk, &p, label, 1, 0, 5, LT(lt), 0, 20, 0xFC, transfer_unspecified,
                                        ET(e)) != 0,
                      ok);
            EXPECT_EQ(label_plus_time(g3.out(), &lk, &p, label, 1, 0, 1.0, LT(lt), 0, 20, legacy_material_25,
                                      transfer_unspecified, ET(e), 0xFC) != 0,
                      ok);
            EXPECT_TRUE(ok || (g1.untouched() && g2.untouched() && g3.untouched() && p == -3 && lk == -3)) << e;
        }
    }
}

TEST(LegacyRefusals, TransfersOutsideZeroToThree) {
    for (int t : {-1, 4, 7, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(t);
        int a = -55, b = -55;
        char tc[] = "00000100", kt[] = " 0012 05";
        EXPECT_EQ(film_frames_to_video_frames(10, &a, 0, -1, TT(t)), 0);
        EXPECT_EQ(video_frames_to_film_frames(10, &a, 0, &b, TT(t)), 0);
        EXPECT_EQ(film_frames_plus_frames(10, 0, 3, &a, &b, TT(t)), 0);
        EXPECT_EQ(frames_plus_frames(10, 0, 3, &a, &b, TT(t), legacy_film_edit), 0);
        EXPECT_EQ(timecode_to_film_frames(&a, tc, 0, &b, legacy_tc25_2, 0, TT(t)), 0);
        EXPECT_EQ(filmtc_to_video_frames(&a, tc, 0, TT(t)), 0);
        EXPECT_EQ(keycode_to_video_frames(&a, kt, 2, &b, 0, legacy_keykode_3perf_26, TT(t), 20), 0);
        EXPECT_STREQ(kt, " 0012 05");  // refused before the blanks were filled
        EXPECT_TRUE(a == -55 && b == -55);
        Guarded<> g1, g2, g3;
        EXPECT_EQ(film_frames_to_timecode(10, g1.out(), 0, -1, legacy_tc25_2, 0, TT(t)), 0);
        EXPECT_EQ(video_frames_to_keycode(10, g2.out(), 1, &b, 0, legacy_keykode_8, TT(t), 20, 0), 0);
        EXPECT_EQ(video_frames_to_filmtc(10, g3.out(), 0, TT(t)), 0);
        EXPECT_TRUE(g1.untouched() && g2.untouched() && g3.untouched());
        // The video addition has no refusal: anything but 2:3 and 24-to-25 is a plain sum.
        EXPECT_EQ(video_frames_plus_frames(10, 0, 3, &a, &b, TT(t)), 1);
        EXPECT_TRUE(a == 13 && b == -55);
    }
    char text[] = "00000000";  // null pointers
    int v = 0;
    EXPECT_EQ(video_frames_to_film_frames(1, &v, 0, nullptr, transfer_pull23), 0);
    EXPECT_EQ(timecode_to_video_frames(&v, nullptr, legacy_tc25_2, 0), 0);
    EXPECT_EQ(keycode_to_film_frames(&v, text, 1, nullptr, legacy_keykode_3perf_26, 20), 0);
    EXPECT_EQ(film_frames_to_keycode(1, nullptr, 1, &v, legacy_keykode_8, 20, 0), 0);
    EXPECT_EQ(label_to_frames(text, 0, &v, 0, nullptr, &v, legacy_tc25_2, 0, transfer_pull23, legacy_video_edit, 0), 0);
    EXPECT_EQ(
        label_plus_frames(nullptr, &v, &v, text, 0, 0, 1, legacy_tc25_2, 0, 0, 0, transfer_pull23, legacy_video_edit),
        0);
}

// Sanitizers watch for overflow and out-of-range conversions here; every
// text is at most 8 digits and a NUL, or nothing is written.
TEST(LegacyRefusals, ExtremesStayDefinedAndInsideNineBytes) {
    for (int t = 0; t <= 3; ++t)
        for (int frame : {INT_MIN, INT_MIN + 1, -100000000, -1, 0, 1, INT_MAX})
            for (int phase : {INT_MIN, -1, 0, 4, 24, 25, INT_MAX})
                for (int vphase : {-1, 4, 24, INT_MIN}) {
                    int v = 0, p = 0;
                    EXPECT_NE(film_frames_to_video_frames(frame, &v, phase, vphase, TT(t)), 0);
                    EXPECT_EQ(video_frames_to_film_frames(frame, &v, phase, &p, TT(t)), 1);
                }
    std::vector<int> frames = {INT_MIN, INT_MIN + 1, -100000000, INT_MAX, INT_MAX - 1};
    for (int i = -12; i <= 12; ++i) frames.push_back(i * 2592000 / 3), frames.push_back(i * 5184000 / 7 + 1);
    for (int lt = -1; lt <= 44; ++lt)
        for (int drop : {0, 1})
            for (int t = 0; t <= 3; ++t)
                for (int frame : frames) {
                    Guarded<> a, b, c;
                    ASSERT_TRUE(eight_digits_or_nothing(video_frames_to_timecode(frame, a.out(), LT(lt), drop), a));
                    ASSERT_TRUE(eight_digits_or_nothing(
                        film_frames_to_timecode(frame, b.out(), 0, -1, LT(lt), drop, TT(t)), b));
                    ASSERT_TRUE(eight_digits_or_nothing(film_frames_to_filmtc(frame, c.out()), c));
                }
    int const films[] = {INT_MIN, -1000000, -21, -1, 0, 1, 22, 65, 213334, 20000001, INT_MAX};
    int const units[] = {INT_MIN, -21, -1, 0, 1, 3, 20, 100, 101, INT_MAX};
    for (int flags = 0; flags < 256; flags += flags < 16 ? 1 : 7)
        for (int lt : {8, 9, 11, 12, 26, 27})
            for (int upc : units)
                for (int film : films)
                    for (int kk : {1, 3}) {
                        Guarded<> g;
                        int out = -9;
                        int const rc = film_frames_to_keycode(film, g.out(), kk, &out, LT(lt), upc,
                                                              static_cast<unsigned char>(flags));
                        ASSERT_TRUE((rc == 0 || rc == 1) && eight_digits_or_nothing(rc, g) && (rc || out == -9))
                            << flags << ' ' << lt << ' ' << upc << ' ' << film;
                        ASSERT_TRUE(upc != 0 || lt == 26 || rc == 0);
                    }
}

TEST(LegacyTimecode, WorkedReadsAndWrites) {
    struct {
        char text[16];
        int lt, drop, video;
    } reads[] = {// drop-frame only at 30 fps (whose texts the day round trip reads)
                 {"00010002", 37, 1, 3603},
                 {"01-50000", 1, 1, 107893},  // a negative minutes field drops nothing
                 {"0001-105", 1, 1, 1806}};   // nor does a negative seconds field count
    for (auto& c : reads) {
        int v = 0;
        EXPECT_TRUE(timecode_to_video_frames(&v, c.text, LT(c.lt), c.drop) == 1 && v == c.video) << c.text << ' ' << v;
    }
    struct {
        int frame, lt, drop;
        char const* text;
    } const writes[] = {
        // lt 0: film timecode; nullptr: refused
        {2592001, 1, 0, "00000000"},                                                           // one 24-hour wrap
        {0, 2, 0, "23595924"},       {-2159999, 2, 0, "00000000"}, {-2160000, 2, 0, nullptr},  // the previous day only
        {4320001, 2, 0, "24000000"}, {11160000, 2, 0, "99595924"}, {11160001, 2, 0, nullptr},  // wrapped once only
        {INT_MIN, 37, 0, nullptr},   {0, 0, 0, "23595923"},        {2073601, 0, 0, "00000000"},
        {-2073600, 0, 0, nullptr},   {INT_MAX, 0, 0, nullptr},     {INT_MIN, 0, 0, nullptr},
    };
    for (auto const& c : writes) {
        Guarded<> g;
        int const rc = c.lt ? video_frames_to_timecode(c.frame, g.out(), LT(c.lt), c.drop)
                            : film_frames_to_filmtc(c.frame, g.out());
        EXPECT_EQ(rc, c.text ? 1 : 0) << c.frame << " type " << c.lt;
        EXPECT_TRUE(c.text ? g.text() == c.text && g.canary_ok() : g.untouched()) << c.frame << " " << g.text();
    }
    for (int film = -2073598; film <= 2 * 2073600; film += 61) {
        char text[9];
        int back = 0;
        ASSERT_EQ(film_frames_to_filmtc(film, text), 1);
        filmtc_to_film_frames(&back, text);
        ASSERT_EQ(back, film < 1 ? film + 2073600 : film > 2073600 ? film - 2073600 : film) << film;
    }
}

struct TcDay {
    int lt, drop, rate;
};
void PrintTo(TcDay const& d, std::ostream* os) { *os << "type " << d.lt << (d.drop ? " drop-frame" : ""); }
struct LegacyTimecodeDay : testing::TestWithParam<TcDay> {};

// Printed as snprintf("%.2d%.2d%.2d%.2d") prints the fields and read back to
// the same frame: every frame of the first half hour and the last minutes,
// a stride between. Drop-frame texts rise and never name a dropped label.
TEST_P(LegacyTimecodeDay, RoundTripOverADay) {
    TcDay const d = GetParam();
    int const day = d.drop ? 2589408 : d.rate * 86400;
    char prev[9] = "";
    for (int video = 1; video <= day; video += (video < 60000 || video > day - 6000) ? 1 : 97) {
        char text[9];
        ASSERT_EQ(video_frames_to_timecode(video, text, LT(d.lt), d.drop), 1);
        if (!d.drop) {
            int const x = video - 1;
            char ref[48];
            std::snprintf(ref, sizeof ref, "%.2d%.2d%.2d%.2d", x / (d.rate * 3600), (x / (d.rate * 60)) % 60,
                          (x / d.rate) % 60, x % d.rate);
            ASSERT_STREQ(text, ref);
        } else {
            ASSERT_LT(std::strcmp(prev, text), 0) << text;
            bool const dropped = text[3] != '0' && text[4] == '0' && text[5] == '0' && text[6] == '0' && text[7] < '2';
            ASSERT_FALSE(dropped) << text;
            std::memcpy(prev, text, 9);
        }
        int back = 0;
        if (d.rate == 24)  // 24 fps timecode types print only; their texts read as film timecode
            ASSERT_EQ(filmtc_to_film_frames(&back, text), 1);
        else
            ASSERT_EQ(timecode_to_video_frames(&back, text, LT(d.lt), d.drop), 1);
        ASSERT_EQ(back, video) << text;
    }
    char last[9], wrapped[9];
    video_frames_to_timecode(day, last, LT(d.lt), d.drop);
    video_frames_to_timecode(0, wrapped, LT(d.lt), d.drop);
    EXPECT_STREQ(last, wrapped);
}

INSTANTIATE_TEST_SUITE_P(Rates, LegacyTimecodeDay,
                         testing::Values(TcDay{2, 0, 25}, TcDay{1, 0, 30}, TcDay{22, 1, 30}, TcDay{4, 0, 24},
                                         TcDay{38, 0, 48}, TcDay{36, 0, 50}, TcDay{40, 0, 60}),
                         [](auto const& i) {
                             return "type" + std::to_string(i.param.lt) + (i.param.drop ? "drop" : "");
                         });

// Reading texts: the values sscanf gives with the quoted formats, over
// texts of digits, blanks, signs, other white space and letters.
TEST(LegacyReading, FieldsAsSscanf) {
    std::vector<std::string> texts = {"",        " ",           "-",        "+1",       "-1-2-3-4",    "+-12",
                                      "1 2 3 4", "\t1\n2 3\v4", "99999999", "0x123456", "12345678901", "  12 05",
                                      "12-34",   "1234567",     "+ 1",      "--",       "abc"};
    char const alphabet[] = "0123456789      --++\tx";
    for (unsigned i = 0, seed = 12345u; i < 15000; ++i) {
        std::string t;
        for (int len = static_cast<int>(((seed = seed * 1103515245u + 12345u) >> 16) % 12); len > 0; --len)
            t += alphabet[((seed = seed * 1103515245u + 12345u) >> 16) % (sizeof alphabet - 1)];
        texts.push_back(t);
    }
    for (std::string const& s : texts) {
        int h = 0, m = 0, sec = 0, f = 0;
        std::sscanf(s.c_str(), "%2d%2d%2d%2d", &h, &m, &sec, &f);
        std::unique_ptr<char[]> a(new char[s.size() + 1]);  // exact size: a read past the NUL shows under ASan
        std::memcpy(a.get(), s.c_str(), s.size() + 1);
        int v = 0;
        ASSERT_EQ(timecode_to_video_frames(&v, a.get(), legacy_tc60_37, 0), 1);
        ASSERT_EQ(v, ((h * 60 + m) * 60 + sec) * 60 + f + 1) << '"' << s << '"';
        ASSERT_EQ(filmtc_to_film_frames(&v, a.get()), 1);
        ASSERT_EQ(v, ((h * 60 + m) * 60 + sec) * 24 + f + 1) << '"' << s << '"';
        ASSERT_EQ(std::string(a.get()), s);  // timecode texts are not written

        // KeyKode: blanks of the first 8 characters become '0', then the format by length.
        std::string filled = s;
        for (std::size_t i = 0; i < filled.size() && i < 8; ++i)
            if (filled[i] == ' ') filled[i] = '0';
        int count = 0, frame = 0;
        std::sscanf(filled.c_str(),
                    filled.size() == 7   ? "%5d%2d"
                    : filled.size() == 8 ? "%6d%2d"
                                         : "%4d%2d",
                    &count, &frame);
        int film = 0;  // 1000 units per count keeps count and frame apart
        ASSERT_EQ(keycode_to_film_frames(&film, a.get(), 0, nullptr, legacy_keykode_8, 1000), 1);
        ASSERT_EQ(film, count * 1000 + frame + 1) << '"' << s << '"';
        ASSERT_EQ(std::string(a.get()), filled);
    }
    int film = 0;
    char perfs[] = "00010003";  // four units a frame, 64 to a count, "%6d%2d"
    ASSERT_EQ(keycode_to_film_frames(&film, perfs, 0, nullptr, legacy_keykode_perfs_9, 64), 1);
    EXPECT_EQ(film, (64 * 100 + 3) / 4 + 1);
    char longer[] = "0001 005 07";  // only the first 8 characters have their blanks filled
    keycode_to_film_frames(&film, longer, 0, nullptr, legacy_keykode_8, 20);
    EXPECT_STREQ(longer, "00010005 07");
}

// For each starting phase: counts last 21, 21 and 22 frames in the order
// the phase gives, the printed count's phase follows 1 -> 2 -> 3 -> 1, and
// a text read back with its phase gives the frame and the group's phase.
TEST(LegacyKeyKode, ThreePerfSequenceRoundTripAndWrap) {
    for (int group_phase : {1, 2, 3}) {
        int count = 0, frames_in_count = 0, phase = group_phase;
        for (int film = 1; film <= 64 * 100; ++film) {
            char text[9];
            int out = 0, back = 0, group = 0;
            ASSERT_EQ(film_frames_to_keycode(film, text, group_phase, &out, legacy_keykode_3perf_26, 0, 0xFC), 1);
            if (frames_in_count == (phase == 3 ? 22 : 21)) ++count, frames_in_count = 0, phase = phase % 3 + 1;
            char ref[48];
            std::snprintf(ref, sizeof ref, "%.6d%.2d", count, frames_in_count++);
            ASSERT_STREQ(text, ref) << film;
            ASSERT_EQ(out, phase) << film;
            ASSERT_EQ(keycode_to_film_frames(&back, text, out, &group, legacy_keykode_3perf_26, 0), 1);
            ASSERT_TRUE(back == film && group == group_phase) << film;
        }
    }
    // With four count digits the period is 213333 frames: the frame before the first is its last.
    struct {
        int film;
        char const* text;
    } const wraps[] = {{0, "00999920"}, {213334, "00000000"}};
    for (auto const& r : wraps) {
        Guarded<> g;
        int out = -1;
        ASSERT_EQ(film_frames_to_keycode(r.film, g.out(), 1, &out, legacy_keykode_3perf_26, 0, 0x3C), 1) << r.film;
        EXPECT_TRUE(g.text() == r.text && out == 1) << r.film << ' ' << g.text();
    }
    char text[] = "00000100";
    int film = 0;
    for (int bad : {0, 4, INT_MIN}) {  // group phases are 1, 2 and 3
        Guarded<> g;
        int out = -5;
        EXPECT_EQ(keycode_to_film_frames(&film, text, bad, &out, legacy_keykode_3perf_26, 0), 0);
        EXPECT_EQ(film_frames_to_keycode(10, g.out(), bad, &out, legacy_keykode_3perf_26, 0, 0xFC), 0);
        EXPECT_TRUE(out == -5 && g.untouched());
    }
}

// Film -> text -> film over many counts; the text is snprintf("%.6d%.2d").
TEST(LegacyKeyKode, UnitsPerCountRoundTripAsSnprintf) {
    struct {
        int lt, units_per_count;
    } const cases[] = {{8, 20}, {11, 40}, {27, 16}, {9, 64}, {12, 80}, {8, 1}, {27, 100}};
    for (auto const& c : cases) {
        int const per_frame = (c.lt == 9 || c.lt == 12) ? 4 : 1;
        for (int film = 1; film <= 200000; film += 13) {
            char text[9], ref[48];
            ASSERT_EQ(film_frames_to_keycode(film, text, 1, nullptr, LT(c.lt), c.units_per_count, 0xFC), 1);
            int const y = (film - 1) * per_frame;
            std::snprintf(ref, sizeof ref, "%.6d%.2d", y / c.units_per_count, y % c.units_per_count);
            ASSERT_STREQ(text, ref) << c.lt;
            int back = 0;
            ASSERT_EQ(keycode_to_film_frames(&back, text, 1, nullptr, LT(c.lt), c.units_per_count), 1);
            ASSERT_EQ(back, film) << c.lt;
        }
    }
}

TEST(LegacyKeyKode, DigitFlagsSetThePeriod) {
    struct {
        unsigned char flags;
        int counts;
    } const rows[] = {{0x00, 1},   {0x03, 1},     {0x04, 10},      {0x08, 1},
                      {0x0C, 100}, {0x3C, 10000}, {0xFC, 1000000}, {0xEC, 100}};
    for (auto const& r : rows) {
        auto text = [&](int film) {  // type 8, 20 frames per count
            char t[9] = "";
            EXPECT_EQ(film_frames_to_keycode(film, t, 0, nullptr, legacy_keykode_8, 20, r.flags), 1) << film;
            return std::string(t);
        };
        EXPECT_TRUE(text(1) == text(r.counts * 20 + 1) && text(r.counts * 20) == text(0)) << int(r.flags);
    }
}

// The phase moves with the delta modulo the cycle, whatever the sign (so two
// additions give what one of the sum gives); a phase equal to the film cycle
// counts as its last; extreme deltas stay in the cycle.
TEST_P(LegacyCycle, PlusFramesPhaseFollowsDelta) {
    PulldownCase const c = GetParam();
    for (int phase = 0; phase <= c.film_cycle; ++phase)
        for (int delta = -4 * c.video_cycle; delta <= 4 * c.video_cycle; ++delta) {
            int f = 0, fp = -1;
            ASSERT_EQ(film_frames_plus_frames(100, phase, delta, &f, &fp, c.t), 1);
            ASSERT_EQ(f, 100 + delta);
            ASSERT_EQ(fp, positive_mod((phase == c.film_cycle ? c.film_cycle - 1 : phase) + delta, c.film_cycle));
            if (phase >= c.video_cycle) continue;
            int v = 0, vp = -1;
            ASSERT_EQ(video_frames_plus_frames(100, phase, delta, &v, &vp, c.t), 1);
            ASSERT_TRUE(v == 100 + delta && vp == positive_mod(phase + delta, c.video_cycle));
        }
    for (int delta : {INT_MIN, INT_MIN + 1, -1, INT_MAX}) {
        int f = 0, fp = -1, v = 0, vp = -1;
        ASSERT_EQ(film_frames_plus_frames(1, 0, delta, &f, &fp, c.t), 1);
        ASSERT_EQ(video_frames_plus_frames(1, 0, delta, &v, &vp, c.t), 1);
        EXPECT_EQ(fp, positive_mod(delta, c.film_cycle)) << delta;
        EXPECT_EQ(vp, positive_mod(delta, c.video_cycle)) << delta;
        EXPECT_EQ(static_cast<unsigned>(f), 1u + static_cast<unsigned>(delta));
    }
}

INSTANTIATE_TEST_SUITE_P(Transfers, LegacyCycle,
                         testing::Values(PulldownCase{transfer_pull23, 4, 5}, PulldownCase{transfer_pogle, 24, 25}));

// The edit kind picks the cycle the phase moves in: 4 film frames, 5 video frames.
TEST(LegacyPlusFrames, WorkedAndEditKinds) {
    int out = -1, p = 77;
    for (int e : {2, -1, INT_MAX}) EXPECT_EQ(frames_plus_frames(10, 3, 2, &out, &p, transfer_pull23, ET(e)), 0);
    EXPECT_TRUE(out == -1 && frames_plus_frames(10, 3, 2, &out, &p, transfer_frame_for_frame, legacy_film_edit) == 1);
    EXPECT_TRUE(out == 12 && p == 77);
    EXPECT_TRUE(frames_plus_frames(10, 3, 2, &out, &p, transfer_pull23, legacy_film_edit) == 1 && p == 1);
    EXPECT_TRUE(frames_plus_frames(10, 3, 2, &out, &p, transfer_pull23, legacy_video_edit) == 1 && p == 0);
}

TEST(LegacyLabels, FrameRatesAndFrames) {
    double const ntsc = 30 / 1.001;
    struct {
        int m, e;
        double rate;
    } const rates[] = {{0, 0, 24.0}, {5, 0, 24.0},  {0, 1, ntsc}, {1, 1, 30.0}, {2, 1, 25.0},
                       {5, 1, 25.0}, {-1, 1, 25.0}, {0, 2, ntsc}, {1, -3, 30.0}};
    for (auto const& r : rates)
        EXPECT_EQ(get_frame_rate(static_cast<material_type>(r.m), ET(r.e)), r.rate) << r.m << ' ' << r.e;
    struct {
        char text[16];
        int lt, e, t, frames, phase_out;
    } rows[] = {
        {"01000000", 2, 1, 1, 90001, -1}, {"00000004", 1, 0, 1, 4, 1},       // video timecode as video, as film frames
        {"00000100", 4, 0, 1, 25, -1},    {"00000100", 4, 1, 1, 31, -1},     // film timecode as film, as video frames
        {"00000100", 38, 0, 0, 25, -1},                                      // 38 reads at 24 here
        {"00012005", 8, 0, 1, 2406, -1},  {"00012005", 27, 1, 0, 2406, -1},  // KeyKode, 20 per count
    };
    for (auto& r : rows) {
        int kk = 0, p = 55, f = 0;
        EXPECT_NE(label_to_frames(r.text, 1, &kk, 0, &p, &f, LT(r.lt), 0, TT(r.t), ET(r.e), 20), 0) << r.text;
        EXPECT_EQ(f, r.frames) << r.text << ' ' << r.lt;
        EXPECT_EQ(p, r.phase_out) << r.text << ' ' << r.lt;
    }
}

// Video timecode: video frames, the day's end and start; film frames through
// 2:3 and 24-to-25; a cycle end. Film timecode and KeyKode (20 a count): film
// frames, video frames through 2:3; 3-perf; transfer 5 refused.
TEST(LegacyLabels, PlusFramesAcrossFamilies) {
    struct {
        char text[16];
        int lt, e, t, phase, kk_phase, delta;
        char const* result;
        int rc;
    } cases[] = {
        {"00000000", 1, 1, 0, 0, 1, 30, "00000100", 1},  {"23595924", 2, 1, 0, 0, 1, 1, "00000000", 1},
        {"00000000", 2, 1, 0, 0, 1, -1, "23595924", 1},  {"00000000", 1, 0, 1, 0, 1, 4, "00000005", 1},
        {"00000000", 36, 0, 2, 0, 1, 24, "00000025", 1}, {"00000000", 1, 0, 1, 3, 1, 0, "00000000", 2},
        {"00000100", 4, 0, 0, 0, 1, 24, "00000200", 1},  {"00000000", 4, 1, 1, 0, 1, 5, "00000004", 1},
        {"00012005", 8, 0, 0, 0, 1, 15, "00012100", 1},  {"00012005", 11, 1, 1, 0, 1, 5, "00012009", 1},
        {"00000100", 26, 0, 0, 0, 2, 21, "00000200", 1}, {"00000000", 1, 0, 5, 0, 1, 1, nullptr, 0},
    };
    for (auto& c : cases) {
        Guarded<> g;
        int kk = -3, p = -3;
        int const rc = label_plus_frames(g.out(), &kk, &p, c.text, c.kk_phase, c.phase, c.delta, LT(c.lt), 0, 20, 0xFC,
                                         TT(c.t), ET(c.e));
        EXPECT_EQ(rc, c.rc) << c.text << " type " << c.lt;
        EXPECT_TRUE(c.result ? g.text() == c.result && g.canary_ok() : g.untouched() && p == -3)
            << c.text << " type " << c.lt << " got " << g.text();
        EXPECT_TRUE(c.lt != 26 || (kk == 3 && p == 0));  // 3-perf: the group phase read is handed to the print
    }
    for (int delta = 0; delta < 400; ++delta) {  // a film edit through 2:3: printing and reading agree
        char start[] = "00000000";
        Guarded<> out;
        int k2 = 0, p2 = -1, f = 0, ph = 0;
        ASSERT_NE(label_plus_frames(out.out(), &k2, &p2, start, 1, 0, delta, legacy_tc30_1, 0, 0, 0, transfer_pull23,
                                    legacy_film_edit),
                  0);
        ASSERT_EQ(p2, delta % 4);
        ASSERT_EQ(timecode_to_film_frames(&f, out.out(), p2, &ph, legacy_tc30_1, 0, transfer_pull23), 1);
        ASSERT_EQ(f, delta + 1) << out.text();
    }
}

TEST(LegacyLabels, PlusTime) {
    struct {
        char text[16];
        int lt, m, e;
        double seconds;
        char const* result;
    } rows[] = {
        {"00000000", 2, 2, 1, 1.0, "00000100"},  {"00000000", 2, 2, 0, 1.0, "00000024"},  // film edit: 24 fps
        {"00000000", 1, 0, 1, 1.0, "00000029"},  {"00000000", 1, 0, 1, 1001.0, "00164000"},
        {"00000000", 1, 1, 1, -1.0, "23595900"}, {"00000100", 4, 0, 0, 2.5, "00000312"},
    };
    for (auto& r : rows) {
        Guarded<> g;
        int kk = 0, p = 0;
        int const rc = label_plus_time(g.out(), &kk, &p, r.text, 1, 0, r.seconds, LT(r.lt), 0, 20,
                                       static_cast<material_type>(r.m), transfer_unspecified, ET(r.e), 0xFC);
        EXPECT_EQ(rc, 1) << r.text << ' ' << r.seconds;
        EXPECT_EQ(g.text(), r.result) << r.text << ' ' << r.seconds;
    }
    for (double bad : {std::nan(""), 1e300, -1e300, 1e10}) {
        char text[] = "00000000";
        Guarded<> g;
        int kk = -3, p = -3;
        EXPECT_EQ(label_plus_time(g.out(), &kk, &p, text, 1, 0, bad, legacy_tc25_2, 0, 20, legacy_material_25,
                                  transfer_unspecified, legacy_video_edit, 0),
                  0);
        EXPECT_TRUE(g.untouched() && p == -3);
    }
}

}  // namespace
