// Edit lists: reading, byte-exact writing, checks with line numbers, whole
// list conversions, telecine logs and film cut lists worked by hand.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <labelsbase/edl.h>

namespace {

using edl::Rate;

Rate const k2997df{30, true, true};
Rate const k2997{30, true, false};
Rate const k25{25, false, false};
Rate const k24{24, false, false};
Rate const k23976{24, true, false};

std::string slurp(std::string const& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string tc(long f, Rate r) { return edl::write_timecode(f, r); }

// An event line in the standard layout.
std::string cut(int n, char const* reel, long si, long so, long ri, long ro, Rate r) {
    char b[128];
    std::snprintf(b, sizeof b, "%03d  %-8s V     C        %s %s %s %s", n, reel, tc(si, r).c_str(), tc(so, r).c_str(),
                  tc(ri, r).c_str(), tc(ro, r).c_str());
    return b;
}

// The problems of a list, one line each: "LINE E|W message".
std::string problems(std::string const& text, Rate r) {
    std::string all;
    for (edl::Problem const& p : edl::check(edl::read(text, r), r))
        all += std::to_string(p.line) + (p.severity == edl::Severity::error ? " E " : " W ") + p.message + "\n";
    return all;
}

// Each wanted problem, in order, on its own line of got: "LINE E|W words".
void expect_problems(std::string const& got, std::vector<std::string> const& want) {
    std::istringstream lines(got);
    std::string line;
    std::size_t n = 0;
    for (; std::getline(lines, line); ++n) {
        ASSERT_LT(n, want.size()) << got;
        std::string const& w = want[n];
        std::size_t const sp = w.find(' ', w.find(' ') + 1);  // after "LINE E"
        EXPECT_TRUE(line.compare(0, sp + 1, w, 0, sp + 1) == 0 && line.find(w.substr(sp + 1)) != std::string::npos)
            << "want " << w << " in\n"
            << got;
    }
    EXPECT_EQ(n, want.size()) << got;
}

// ---------------------------------------------------------------------------
// Reading and writing.

TEST(EdlWrite, EveryShippedListRoundTripsByteForByte) {
    for (std::string const name : {"film_cut.edl", "edl/avid_ndf_crlf.edl", "edl/cmx_splits.edl", "edl/cut_23976.edl",
                                   "edl/handtyped_bom_tabs.edl", "edl/pal_cut.edl", "edl/resolve_24.edl"}) {
        std::string const f = std::string(LABELSBASE_SOURCE_DIR) + "/examples/" + name;
        std::string const bytes = slurp(f);
        ASSERT_FALSE(bytes.empty()) << f;
        edl::List const list = edl::read(bytes, k2997);
        EXPECT_EQ(edl::write(list), bytes) << f;
        EXPECT_FALSE(list.events.empty()) << f;
    }
    for (std::string const b : {"", "\n"}) EXPECT_EQ(edl::write(edl::read(b, k2997)), b);
}

// One event in the styles of other systems, line endings, tabs and case:
// each reads with its fields, checks clean and writes back byte for byte.
TEST(EdlRead, EveryStyleOfEventReadsAndWritesBack) {
    std::string const tcs = " 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00";
    struct {
        std::string text;
        char const* reel;
        char const* track;
        char const* transition;
        int duration;
    } const rows[] = {
        {"TITLE: X\rFCM: NON-DROP FRAME\r001  R1 V C" + tcs + "\r", "R1", "V", "C", -1},
        {"TITLE: X\nFCM: NON-DROP FRAME\n001  R1 V C" + tcs, "R1", "V", "C", -1},  // no last ending
        {"\xEF\xBB\xBFTITLE: X\n\n\n001\tR1\tV\tC\t01:00:00:00\t01:00:01:00\t01:00:00:00\t01:00:01:00\n\n", "R1", "V",
         "C", -1},
        {"TITLE: X\r\n001  R1 V C" + tcs + "\n* mixed endings\r\n", "R1", "V", "C", -1},
        {"001  AX       V     C       " + tcs, "AX", "V", "C", -1},
        {"002  R2 aa/v d 030" + tcs, "R2", "AA/V", "D", 30},
        {"003\tR3\tA2\tW001\t015\t01:00:00:00\t01:00:01:00\t01:00:00:00\t01:00:01:00", "R3", "A2", "W001", 15},
        {"004  R4       V     K    B  " + tcs, "R4", "V", "KB", -1},
        {"005  R4       V     KO   010" + tcs, "R4", "V", "KO", 10},
        {"006  R5       B     C       " + tcs, "R5", "B", "C", -1},
        {"007  BLK      NONE  C       " + tcs, "BLK", "NONE", "C", -1},
        {"8 r6 a4 k 005" + tcs, "r6", "A4", "K", 5},
    };
    for (auto const& r : rows) {
        edl::List const list = edl::read(r.text, k2997);
        EXPECT_EQ(edl::write(list), r.text);
        ASSERT_EQ(list.events.size(), 1u) << r.text;
        edl::Event const& e = list.events[0];
        EXPECT_TRUE(e.complete) << r.text;
        EXPECT_EQ(list.title, r.text.find("TITLE: X") != std::string::npos ? "X" : "") << r.text;
        EXPECT_EQ(e.reel, r.reel);
        EXPECT_EQ(e.track, r.track);
        EXPECT_EQ(e.transition, r.transition);
        EXPECT_EQ(e.duration_frames, r.duration);
        EXPECT_EQ(e.source_out.frames - e.source_in.frames, 30);
        EXPECT_FALSE(edl::has_errors(edl::check(list, k2997))) << r.text;
    }
}

TEST(EdlRead, CommentsMotionSplitAndAudLinesStayWithTheirEvent) {
    std::string const text =
        "TITLE: T\n"
        "* head note\n"
        "001  R1       V     C        01:00:00:00 01:00:01:00 00:00:00:00 00:00:01:00\n"
        "* FROM CLIP NAME: ONE\n"
        "AUD  3    4\n"
        "SPLIT:    AUDIO DELAY=  00:00:00:10\n"
        "002  R2       AA/V  C        02:00:00:00 02:00:02:00 00:00:01:00 00:00:02:00\n"
        "M2   R2       060.0                02:00:00:00\n"
        "*ASC_SOP (1 1 1)(0 0 0)(1 1 1)\n"
        "something else\n";
    edl::List const list = edl::read(text, k2997);
    ASSERT_EQ(list.events.size(), 2u);
    ASSERT_EQ(list.head_comments.size(), 1u);
    EXPECT_EQ(list.lines[static_cast<std::size_t>(list.head_comments[0])].number, 2);
    EXPECT_EQ(list.events[0].comment_texts(list), std::vector<std::string>{"* FROM CLIP NAME: ONE"});
    ASSERT_EQ(list.events[0].extras.size(), 1u);  // AUD
    ASSERT_EQ(list.events[1].extras.size(), 1u);  // SPLIT: before it
    EXPECT_EQ(list.lines[static_cast<std::size_t>(list.events[1].extras[0])].number, 6);
    ASSERT_EQ(list.events[1].motion.size(), 1u);
    EXPECT_DOUBLE_EQ(list.events[1].motion[0].fps, 60.0);
    EXPECT_EQ(list.events[1].comment_texts(list), std::vector<std::string>{"*ASC_SOP (1 1 1)(0 0 0)(1 1 1)"});
    // A motion effect explains the source running twice the record.
    expect_problems(problems(text, k2997), {"10 W not understood"});
}

TEST(EdlWrite, OnlyAChangedEventTakesTheStandardLayout) {
    std::string const text =
        "TITLE: T\n"
        "1\tr1\tv\tc\t01:00:00:00 01:00:01:00 00:00:00:00 00:00:01:00\n"
        "2\tr2\tv\tc\t01:00:00:00 01:00:01:00 00:00:01:00 00:00:02:00\n";
    edl::List list = edl::read(text, k2997);
    list.events[1].reel = "NEWREEL9";
    EXPECT_EQ(edl::write(list),
              "TITLE: T\n"
              "1\tr1\tv\tc\t01:00:00:00 01:00:01:00 00:00:00:00 00:00:01:00\n"
              "002  NEWREEL9 V     C        01:00:00:00 01:00:01:00 00:00:01:00 00:00:02:00\n");
    list.events[1].transition = "D";
    list.events[1].duration = "5";
    list.events[1].duration_frames = 5;
    EXPECT_EQ(edl::format_event(list.events[1]),
              "002  NEWREEL9 V     D    005 01:00:00:00 01:00:01:00 00:00:01:00 00:00:02:00");
}

// ---------------------------------------------------------------------------
// Checks.

TEST(EdlCheck, MalformedListsNameTheirLines) {
    std::string const head = "TITLE: BAD\nFCM: DROP FRAME\n\n";  // events start at line 4
    std::string const tcs = " 01:00:00;00 01:00:01;00 00:00:00;00 00:00:01;00\n";
    struct Case {
        std::string body;
        std::vector<std::string> want;
    } const cases[] = {
        // truncated lines
        {"001  R1 V C 01:00:00;00 01:00:01;00\n", {"4 E 2 of its 4 timecodes"}},
        {"001  R1\n", {"4 E ends after the reel"}},
        {"001  R1 V C" + tcs + "002\n", {"5 E ends after its number"}},
        // bad timecodes: ranges, skipped drop-frame labels, junk
        {"001  R1 V C 01:61:00;00 01:62:00;00 00:00:00;00 00:00:01;00\n", {"4 E minutes 61", "4 E minutes 62"}},
        {"001  R1 V C 00:01:00;00 00:01:01;00 00:00:00;00 00:00:01;00\n", {"4 E not a drop-frame label"}},
        {"001  R1 V C 01:00:00;30 01:00:01;00 00:00:00;00 00:00:01;00\n", {"4 E frames 30"}},
        {"001  R1 V C 1:00:00;00 01:00:01;00 00:00:00;00 00:00:01;00\n", {"4 E source in"}},
        // out before in; durations that differ without motion
        {"001  R1 V C 01:00:01;00 01:00:00;00 00:00:00;00 00:00:01;00\n",
         {"4 E source out 01:00:00;00 is before source in"}},
        {"001  R1 V C 01:00:00;00 01:00:02;00 00:00:00;00 00:00:01;00\n", {"4 E source runs 60 frames and record 30"}},
        // event numbers out of order; a gap and an overlap (warnings)
        {"002  R1 V C" + tcs + "001  R1 V C 01:00:00;00 01:00:01;00 00:00:02;00 00:00:03;00\n" +
             "003  R1 V C 01:00:00;00 01:00:01;00 00:00:02;15 00:00:03;15\n",
         {"5 E out of order", "5 W gap of 30 frames on V", "6 W overlaps the event before on V by 15"}},
        // long reels, unknown tracks and transitions, lines not understood
        {"001  REEL_NAME_TOO_LONG V C" + tcs, {"4 W longer than the 8 columns"}},
        {"001  R1 V9 X" + tcs, {"4 E unknown track 'V9'", "4 E unknown transition 'X'"}},
        {"001  R1 V D" + tcs, {"4 E without its duration"}},
        {"hello there\n001  R1 V C" + tcs, {"4 W not understood"}},
        {"001  R1 V C" + tcs + "M2   R1 fast 01:00:00;00\n", {"5 E M2 speed 'fast'"}},
    };
    for (Case const& c : cases) expect_problems(problems(head + c.body, k2997df), c.want);
    // A drop-frame count where the rate has none.
    expect_problems(problems("FCM: DROP FRAME\n001  R1 V C 01:00:00:00 01:00:01:00 00:00:00:00 00:00:01:00\n", k25),
                    {"1 E has no drop frame"});
    expect_problems(problems("", k25), {"0 W no events"});
}

// ---------------------------------------------------------------------------
// Conversions.

// A list whose events step through the day at 29.97 DF, across minute and
// ten-minute boundaries where labels are skipped.
std::string sweep_list(Rate r, int events) {
    std::string s = "TITLE: SWEEP\n";
    s += r.drop ? "FCM: DROP FRAME\n" : "FCM: NON-DROP FRAME\n";
    long const day = edl::frames_per_day(r);
    long rec = 0;
    for (int i = 0; i < events; ++i) {
        long const src = (static_cast<long>(i) * 1799 + i % 7) % (day - 100);
        long const len = 1 + i % 90;
        s += cut(i + 1, "R1", src, src + len, rec, rec + len, r) + "\n";
        rec += len;
    }
    return s;
}

// Source in, source out, record in and record out of every event.
std::vector<long> frames_of(edl::List const& list) {
    std::vector<long> v;
    for (edl::Event const& e : list.events)
        for (edl::Timecode const* t : {&e.source_in, &e.source_out, &e.record_in, &e.record_out})
            v.push_back(t->frames);
    return v;
}

TEST(EdlConvert, DropFrameAndNonDropRelabelKeepEveryFrame) {
    std::string const df = sweep_list(k2997df, 1500);
    edl::List list = edl::read(df, k2997df);
    ASSERT_FALSE(edl::has_errors(edl::check(list, k2997df)));
    std::vector<long> const frames = frames_of(list);
    std::string why;
    ASSERT_TRUE(edl::relabel(list, k2997df, false, why)) << why;
    std::string const ndf = edl::write(list);
    EXPECT_NE(ndf.find("FCM: NON-DROP FRAME\n"), std::string::npos);  // the relabelled list says so
    edl::List back = edl::read(ndf, k2997);
    EXPECT_FALSE(back.drop || edl::has_errors(edl::check(back, k2997)));
    EXPECT_EQ(frames_of(back), frames);
    ASSERT_TRUE(edl::relabel(back, k2997, true, why)) << why;
    EXPECT_EQ(edl::write(back), df);
    EXPECT_FALSE(edl::relabel(back, k25, true, why));  // 25 fps has no drop frame to relabel to
}

TEST(EdlConvert, NewRatesKeepStructureAndComments) {
    std::string const text =
        "TITLE: R\nFCM: DROP FRAME\n"
        "001  R1       V     C        00:00:00;02 00:00:01;00 01:00:00;00 01:00:00;28\n"
        "* KEEP ME\n"
        "002  R1       V     C        00:00:01;00 00:00:01;00 01:00:00;28 01:00:00;28\n"
        "002  R2       V     D    030 00:10:00;00 00:10:02;00 01:00:00;28 01:00:02;28\n"
        "M2   R2       060.0                00:10:00;00\n";
    struct {
        Rate to;
        edl::RateRule rule;
        char const* first_line;  // event 1 afterwards
        char const* duration;    // of the dissolve
        char const* speed;
    } const cases[] = {
        {Rate{60, true, true}, edl::RateRule::real_time,
         "001  R1       V     C        00:00:00;04 00:00:01;00 01:00:00;00 01:00:00;56", "060", "060.0"},
        // 01:00:00;00 is frame 107892, 3599.9964 s: frame 89999.91 at 25, so 90000
        {k25, edl::RateRule::real_time, "001  R1       V     C        00:00:00:02 00:00:01:00 01:00:00:00 01:00:00:23",
         "025", "060.0"},
        // video frame 2 is BC: film B, frame 1; 107892 = 5 x 21578 + 2 is BC as well: 4 x 21578 + 1
        {k23976, edl::RateRule::pulldown,
         "001  R1       V     C        00:00:00:01 00:00:01:00 00:59:56:09 00:59:57:08", "024", "048.0"},
    };
    for (auto const& c : cases) {
        edl::List list = edl::read(text, k2997df);
        std::string why;
        ASSERT_TRUE(edl::convert_rate(list, k2997df, c.to, c.rule, why)) << why;
        std::string const out = edl::write(list);
        edl::List const back = edl::read(out, c.to);
        ASSERT_EQ(back.events.size(), 3u);
        EXPECT_EQ(list.lines[2].text, "001  R1       V     C        00:00:00;02 00:00:01;00 01:00:00;00 01:00:00;28");
        EXPECT_EQ(edl::format_event(back.events[0]), c.first_line) << out;
        EXPECT_EQ(back.events[0].comment_texts(back), std::vector<std::string>{"* KEEP ME"});
        EXPECT_EQ(back.events[2].transition, "D");
        EXPECT_EQ(back.events[2].duration, c.duration);
        ASSERT_EQ(back.events[2].motion.size(), 1u);
        EXPECT_EQ(back.events[2].motion[0].speed, c.speed);
        EXPECT_EQ(back.events[1].source_in.text, back.events[1].source_out.text);  // the zero-length side stays so
    }
}

TEST(EdlConvert, PulldownThereAndBackKeepsEveryFilmFrame) {
    // Film frames at 24 to 2:3 video at 30 and back: each film frame comes
    // back, whatever its place in the four-frame cycle.
    std::string s = "TITLE: F\n";
    for (int i = 0; i < 400; ++i)
        s += cut(i + 1, "R", 1000 + i * 13, 1000 + i * 13 + 1 + i % 5, 0, 1 + i % 5, k24) + "\n";
    edl::List list = edl::read(s, k24);
    std::string why;
    ASSERT_TRUE(edl::convert_rate(list, k24, Rate{30, false, false}, edl::RateRule::pulldown, why)) << why;
    ASSERT_TRUE(edl::convert_rate(list, Rate{30, false, false}, k24, edl::RateRule::pulldown, why)) << why;
    EXPECT_EQ(edl::write(list), s);
    // And 24-to-25.
    ASSERT_TRUE(edl::convert_rate(list, k24, k25, edl::RateRule::pulldown, why)) << why;
    ASSERT_TRUE(edl::convert_rate(list, k25, k24, edl::RateRule::pulldown, why)) << why;
    EXPECT_EQ(edl::write(list), s);
    EXPECT_FALSE(edl::convert_rate(list, k24, k24, edl::RateRule::pulldown, why));  // no pulldown between videos
}

TEST(EdlConvert, FailuresLeaveTheListAsItWas) {
    std::string const text =
        "001  R1 V C 23:59:59:00 23:59:59:20 00:00:00:00 00:00:00:20\n"
        "002  R1 V C 01:00:00:00 01:00:99:00 00:00:00:20 00:00:01:00\n";
    edl::List list = edl::read(text, k25);
    std::string why;
    EXPECT_FALSE(edl::convert_rate(list, k25, k24, edl::RateRule::frame_count, why));
    EXPECT_NE(why.find("line 1"), std::string::npos) << why;  // 23:59:59 at 25 is beyond the 24 fps day
    EXPECT_EQ(edl::write(list), text);
    list = edl::read(text.substr(text.find('\n') + 1), k25);
    EXPECT_FALSE(edl::relabel(list, k2997, true, why));
    EXPECT_NE(why.find("line 1"), std::string::npos) << why;
    EXPECT_NE(why.find("seconds 99"), std::string::npos) << why;
}

TEST(EdlConvert, RecordStartMovesEveryRecordTimecode) {
    edl::List list = edl::read(sweep_list(k2997df, 20), k2997df);
    ASSERT_EQ(list.events[0].record_in.frames, 0);
    std::vector<long> want = frames_of(list);
    for (std::size_t i = 0; i < want.size(); ++i) want[i] += i % 4 >= 2 ? 107892 : 0;  // record in and out
    std::string why;
    ASSERT_TRUE(edl::move_record_start(list, k2997df, 107892, why)) << why;  // 01:00:00;00
    edl::List const back = edl::read(edl::write(list), k2997df);
    EXPECT_EQ(back.events[0].record_in.text, "01:00:00;00");
    EXPECT_EQ(frames_of(back), want);
    EXPECT_FALSE(edl::move_record_start(list, k2997df, edl::frames_per_day(k2997df) - 5, why));
}

// ---------------------------------------------------------------------------
// Telecine logs.

TEST(TelecineLog, ColumnsQuotingPhasesAndBadRows) {
    std::string const log =
        "# made by hand\n"
        "Scene,REEL,keykode,TimeCode,Phase,camroll,labroll,type\n"
        "\"12, take 2\",A001,KJ 23 1234 0100+00,01:00:00;00,B,CR1,LR1,\n"
        "14,A002,KJ2312400500+00,02:00:00;00,d,CR2,LR1,keycode_35\n"
        "15,A003,EK1234560100&05,03:00:00;00,2,CR3,LR2,keycode_16\n"
        "16,A004,KJ2312400500+00,00:01:00;00,0,CR4,LR2,\n"  // skipped drop-frame label
        "17,A005,KJ23124005+00,04:00:00;00,0,CR5,LR2,\n"    // count too short
        "18,A006,KJ2312400500+00,05:00:00;00,7,CR6,LR2,\n"  // phase outside 2:3
        "19,A007,KJ2312400500+00,05:00:00;00,0,CR7,LR2,keycode_99\n"
        "20,A008,KJ2312400500+00\n";
    edl::TelecineLog const t = edl::read_telecine_log(log, k2997df);
    std::ostringstream got;  // reel, line, phase, prefix, frames, type, extra columns
    for (edl::LogRow const& r : t.rows) {
        got << r.reel << ' ' << r.line << ' ' << r.phase << ' ' << r.prefix << ' ' << r.frames << ' ' << r.type;
        for (auto const& [k, v] : r.extra) got << ' ' << k << '=' << v;
        got << '\n';
    }
    for (edl::Problem const& p : t.problems) got << p.line << ' ';
    EXPECT_EQ(got.str(),
              "A001 3 1 KJ231234 107892 10 scene=12, take 2\n"
              "A002 4 4 KJ231240 215784 10 scene=14\n"
              "A003 5 2 EK123456 323676 11 scene=15\n"
              "6 7 8 9 10 ");
    EXPECT_EQ(edl::read_telecine_log("reel,keykode\nA,KJ2312340100+00\n", k2997df).problems.at(0).line, 1);
    EXPECT_EQ(edl::read_telecine_log("reel,timecode,keykode\n\"A,01:00:00;00,K", k2997df).problems.at(0).line, 2);
    EXPECT_FALSE(edl::read_telecine_log("", k2997df).problems.empty());
}

// ---------------------------------------------------------------------------
// Film cut lists, worked by hand.
//
// 2:3 pulldown puts film frames A B C D on the fields AA BBB CC DDD; video
// frames are AA, BB, BC, CD, DD, and a video frame belongs to the film frame
// of its first field. The phase of a log row says where in that cycle its
// timecode falls: 0 AA, 1 BB, 2 BC, 3 CD, 4 DD.

edl::CutList cut_of(std::string const& list_text, std::string const& log_text, Rate r) {
    edl::List const list = edl::read(list_text, r);
    Rate lr = r;
    lr.drop = list.has_fcm ? list.drop : r.drop;
    edl::TelecineLog const log = edl::read_telecine_log(log_text, lr);
    EXPECT_TRUE(log.problems.empty()) << log.problems[0].message;
    return edl::cut_list(list, lr, log);
}

// A cut list as lines: "in out frames" an event, "dupe A/B in out frames",
// "KIND from_in from_out to_in to_out" an optical, "note EVENT" (and
// "unmatched"), "pull CAMROLL (or prefix): events".
std::string show(edl::CutList const& c) {
    std::ostringstream s;
    for (auto const& e : c.events) s << e.keykode_in << ' ' << e.keykode_out << ' ' << e.frames << '\n';
    for (auto const& d : c.dupes)
        s << "dupe " << d.event_a << '/' << d.event_b << ' ' << d.keykode_in << ' ' << d.keykode_out << ' ' << d.frames
          << '\n';
    for (auto const& o : c.opticals)
        s << o.kind << ' ' << o.from_in << ' ' << o.from_out << ' ' << o.to_in << ' ' << o.to_out << '\n';
    for (auto const& n : c.notes) s << "note " << n.event << (n.unmatched ? " unmatched\n" : "\n");
    for (auto const& p : c.pulls) {
        s << "pull " << p.camroll << ':';
        for (int e : p.events) s << ' ' << e;
        s << '\n';
    }
    return s.str();
}

TEST(CutList, ReelsWithDifferentSyncPointsAndABreakInTheKeyKode) {
    std::string const list =
        "FCM: NON-DROP FRAME\n"
        "001  A        V     C        01:00:00:05 01:00:00:10 00:00:00:00 00:00:00:05\n"
        "002  B        V     C        05:30:00:00 05:30:00:05 00:00:00:05 00:00:00:10\n"
        "003  A        V     C        01:10:00:00 01:10:00:10 00:00:00:10 00:00:00:20\n";
    std::string const log =
        "reel,timecode,keykode,phase\n"
        "A,01:00:00:00,KJ2312340100+00,0\n"
        "B,05:29:59:28,KJ2312340500+03,3\n"
        "A,01:09:59:29,KJ2312349000+10,0\n";  // a new sync point after a break
    edl::CutList const cl = cut_of(list, log, k2997);
    EXPECT_EQ(show(cl),
              // A: video 5..9 at phase 0 are the second cycle, AA .. DD: film 4..7.
              "KJ2312340100+04 KJ2312340100+07 4\n"
              // B: the sync frame is CD (phase 3); video 2..6 from it: AA BB BC CD DD -> film 2 3 4 4 5
              "KJ2312340500+05 KJ2312340500+08 4\n"
              // Event 3 reads from the later sync point of reel A: video 1..10
              // from it; video 10 is AA of the third cycle, film 8.
              "KJ2312349000+11 KJ2312349001+02 8\n"
              "pull KJ231234: 0 1 2\n");
    EXPECT_EQ(cl.total_frames, 4 + 4 + 8);
    EXPECT_EQ(cl.events[2].footage, "0001+00");
}

TEST(CutList, PalTwentyThreeNineSevenSixAndSixteenMillimetre) {
    // 24-to-25: video frames 0..24 of a cycle show film 0..23, the last frame
    // twice at phase 0; video 20..29 are film 20..28.
    EXPECT_EQ(show(cut_of("001  P        V     C        10:00:00:20 10:00:01:05 00:00:00:00 00:00:00:10\n",
                          "reel,timecode,keykode\nP,10:00:00:00,KW2944553000+00\n", k25)),
              "KW2944553001+04 KW2944553001+12 9\npull KW294455: 0\n");
    // 23.976 and 16 mm: one film frame per video frame, 24..71; 16 mm
    // KeyKode every 20 frames, 40 frames a foot.
    edl::CutList const doc = cut_of("001  S        V     C        05:00:01:00 05:00:03:00 00:00:00:00 00:00:02:00\n",
                                    "reel,timecode,keykode,type\nS,05:00:00:00,EK1234560100&00,keycode_16\n", k23976);
    EXPECT_EQ(show(doc), "EK1234560101&04 EK1234560103&11 48\npull EK123456: 0\n");
    EXPECT_EQ(doc.events[0].feet_frames, "0001+08");
}

TEST(CutList, DupesDissolvesMotionAndNotes) {
    std::string const list =
        "FCM: NON-DROP FRAME\n"
        "001  A        V     C        01:00:00:00 01:00:01:00 00:00:00:00 00:00:01:00\n"
        "002  A        V     C        01:00:01:00 01:00:01:00 00:00:01:00 00:00:01:00\n"
        "002  A        V     D    010 01:00:00:15 01:00:01:15 00:00:01:00 00:00:02:00\n"
        "003  A        V     C        01:00:05:00 01:00:06:00 00:00:02:00 00:00:02:15\n"
        "M2   A        060.0                01:00:05:00\n"
        "004  BL       V     C        00:00:00:00 00:00:01:00 00:00:02:15 00:00:03:15\n"
        "005  GONE     V     C        01:00:00:00 01:00:01:00 00:00:03:15 00:00:04:15\n"
        "006  A        A     C        01:00:00:00 01:00:01:00 00:00:03:15 00:00:04:15\n";
    edl::CutList const cl = cut_of(list, "reel,timecode,keykode,camroll\nA,01:00:00:00,KJ2312340100+00,CR1\n", k2997);
    EXPECT_EQ(show(cl),
              // Event 1: video 0..29 -> film 0..23.
              "KJ2312340100+00 KJ2312340101+07 24\n"
              // Event 2 (the dissolve's incoming side): video 15..44 -> film 12..35.
              "KJ2312340100+12 KJ2312340102+03 24\n"
              // Event 3 runs at twice speed: 15 record frames take 30 source
              // frames, 150..179 -> film 120..143.
              "KJ2312340107+08 KJ2312340108+15 24\n"
              // Film 12..23 is in events 1 and 2; the dissolve's outgoing side
              // (video 30..39, film 24..31) is also inside its incoming side.
              "dupe 1/2 KJ2312340100+12 KJ2312340101+07 12\n"
              "dupe 2/2 KJ2312340101+08 KJ2312340101+15 8\n"
              // From video 30..39, to video 15..24: film 12..19.
              "dissolve KJ2312340101+08 KJ2312340101+15 KJ2312340100+12 KJ2312340101+03\n"
              "motion   KJ2312340107+08 KJ2312340108+15\n"
              // Black is no film; a reel missing from the log is.
              "note 4\nnote 5 unmatched\n"
              "pull CR1: 0 1 2\n");
    EXPECT_NE(cl.notes[1].message.find("not in the telecine log"), std::string::npos);
}

TEST(CutList, SourceBeforeTheFirstSyncPointIsANote) {
    edl::CutList const cl = cut_of("001  A        V     C        00:59:59:00 01:00:00:10 00:00:00:00 00:00:01:10\n",
                                   "reel,timecode,keykode\nA,01:00:00:00,KJ2312340100+00\n", k2997);
    EXPECT_EQ(show(cl), "note 1 unmatched\n");
    EXPECT_NE(cl.notes[0].message.find("before the first sync point"), std::string::npos);
}

}  // namespace
