// Checks of an edit list, each problem with its line number.
#include <algorithm>
#include <cstdio>

#include "detail/edl_internal.h"

namespace edl {

using namespace detail;

namespace {

// Tracks as channel bits: picture, then audio 1-4.
constexpr unsigned kV = 1, kA1 = 2, kA2 = 4, kA3 = 8, kA4 = 16;

struct TrackName {
    char const* name;
    unsigned channels;
};
constexpr TrackName kTracks[] = {
    {"V", kV},         {"A", kA1},         {"A1", kA1},       {"A2", kA2},
    {"A3", kA3},       {"A4", kA4},        {"AA", kA1 | kA2}, {"AA/V", kV | kA1 | kA2},
    {"A/V", kV | kA1}, {"A2/V", kV | kA2}, {"B", kV | kA1},   {"NONE", 0},
};

bool track_channels(std::string const& t, unsigned& out) {
    for (TrackName const& n : kTracks)
        if (t == n.name) {
            out = n.channels;
            return true;
        }
    return false;
}

bool known_transition(std::string const& t) {
    if (t == "C" || t == "D" || t == "K" || t == "KB" || t == "KO") return true;
    return t.size() == 4 && t[0] == 'W' && all_digits(t.substr(1));
}

struct Sink {
    std::vector<Problem>& out;
    void add(int line, Severity s, std::string m) { out.push_back(Problem{line, s, std::move(m)}); }
};

}  // namespace

bool has_errors(std::vector<Problem> const& problems) {
    for (Problem const& p : problems)
        if (p.severity == Severity::error) return true;
    return false;
}

std::vector<Problem> check(List const& list, Rate rate) {
    std::vector<Problem> out;
    Sink sink{out};
    if (list.events.empty()) sink.add(0, Severity::warning, "the list has no events");
    bool const can_drop = rate.fractional && rate.nominal % 30 == 0;
    for (Line const& line : list.lines) {
        if (line.kind == LineKind::fcm) {
            bool d = false;
            if (!parse_fcm(line.text, d))
                sink.add(line.number, Severity::error, "FCM line names neither DROP FRAME nor NON-DROP FRAME");
            else if (d && !can_drop)
                sink.add(line.number, Severity::error,
                         "drop-frame count in a list at " + rate_name(rate) + ", which has no drop frame");
        } else if (line.kind == LineKind::unknown) {
            sink.add(line.number, Severity::warning, "line not understood (kept as it is): '" + line.text + "'");
        } else if (line.kind == LineKind::split && line.event < 0) {
            sink.add(line.number, Severity::warning, "SPLIT: line with no event after it");
        } else if ((line.kind == LineKind::motion || line.kind == LineKind::aud) && line.event < 0) {
            sink.add(line.number, Severity::warning, "line before the first event (kept as it is)");
        }
    }

    unsigned const all = kV | kA1 | kA2 | kA3 | kA4;
    long last_out[5] = {-1, -1, -1, -1, -1};
    int last_number = -1;
    long group_in = -1;  // record in of the first event of a transition or key group
    for (std::size_t k = 0; k < list.events.size(); ++k) {
        Event const& e = list.events[k];
        int const ln = list.lines[static_cast<std::size_t>(e.line)].number;
        Rate const r = with_drop(rate, e.drop);
        if (!e.complete) {
            Event tmp;
            std::string why;
            parse_event_line(list.lines[static_cast<std::size_t>(e.line)].text, rate, e.drop, tmp, why);
            sink.add(ln, Severity::error, why.empty() ? "incomplete event line" : why);
            continue;
        }
        unsigned channels = 0;
        if (!track_channels(e.track, channels)) sink.add(ln, Severity::error, "unknown track '" + e.track + "'");
        if (!known_transition(e.transition))
            sink.add(ln, Severity::error, "unknown transition '" + e.transition + "'");
        else if (e.transition != "C" && e.transition != "KB" && e.duration_frames < 0)
            sink.add(ln, Severity::error, "transition " + e.transition + " without its duration in frames");
        if (e.reel.size() > kReelWidth)
            sink.add(
                ln, Severity::warning,
                "reel '" + e.reel + "' is longer than the " + std::to_string(kReelWidth) + " columns of the layout");
        if (e.number < 0)
            sink.add(ln, Severity::error, "event number '" + e.number_text + "' is too long");
        else {
            // A transition repeats the number of the cut it leaves.
            bool const repeat = e.number == last_number && e.transition != "C";
            if (last_number >= 0 && e.number <= last_number && !repeat)
                sink.add(ln, Severity::error,
                         "event " + e.number_text + " after event " + std::to_string(last_number) + " (out of order)");
            last_number = e.number;
        }
        struct Named {
            Timecode const* tc;
            char const* name;
        };
        Named const tcs[4] = {{&e.source_in, "source in"},
                              {&e.source_out, "source out"},
                              {&e.record_in, "record in"},
                              {&e.record_out, "record out"}};
        bool ok = true;
        for (Named const& n : tcs) {
            long f = 0;
            std::string why;
            if (!read_timecode(n.tc->text, r, f, why)) {
                sink.add(ln, Severity::error, std::string(n.name) + " " + why + " at " + rate_name(r));
                ok = false;
            }
        }
        for (Motion const& m : e.motion) {
            int const ml = list.lines[static_cast<std::size_t>(m.line)].number;
            Motion tmp;
            tmp.line = m.line;
            std::string why;
            if (!parse_motion_line(list.lines[static_cast<std::size_t>(m.line)].text, rate, e.drop, tmp, why))
                sink.add(ml, Severity::error, why);
            long f = 0;
            if (!m.entry.text.empty() && !read_timecode(m.entry.text, r, f, why))
                sink.add(ml, Severity::error, "M2 entry " + why + " at " + rate_name(r));
            if (m.reel != e.reel && !(e.transition != "C"))
                sink.add(ml, Severity::warning, "M2 reel '" + m.reel + "' is not the event's reel '" + e.reel + "'");
        }
        if (!ok) continue;
        long const sdur = e.source_out.frames - e.source_in.frames;
        long const rdur = e.record_out.frames - e.record_in.frames;
        if (sdur < 0)
            sink.add(ln, Severity::error,
                     "source out " + e.source_out.text + " is before source in " + e.source_in.text);
        if (rdur < 0)
            sink.add(ln, Severity::error,
                     "record out " + e.record_out.text + " is before record in " + e.record_in.text);
        if (sdur >= 0 && rdur >= 0 && sdur != rdur && e.motion.empty())
            sink.add(ln, Severity::error,
                     "source runs " + std::to_string(sdur) + " frames and record " + std::to_string(rdur) +
                         " frames, with no motion effect");
        if (rdur < 0) continue;
        // The events of a transition or key share one number and lie over
        // one another on the record by design.
        bool const layered = k > 0 && e.number >= 0 && list.events[k - 1].number == e.number;
        if (!layered) group_in = e.record_in.frames;
        for (int c = 0; c < 5; ++c) {
            if (!(channels & all & (1u << c))) continue;
            if (last_out[c] >= 0) {
                static char const* const names[5] = {"V", "A1", "A2", "A3", "A4"};
                if (layered && e.record_in.frames >= group_in) {
                    // within its group
                } else if (e.record_in.frames < last_out[c])
                    sink.add(ln, Severity::warning,
                             std::string("record ") + e.record_in.text + " overlaps the event before on " + names[c] +
                                 " by " + std::to_string(last_out[c] - e.record_in.frames) + " frames");
                else if (e.record_in.frames > last_out[c])
                    sink.add(ln, Severity::warning,
                             std::string("gap of ") + std::to_string(e.record_in.frames - last_out[c]) + " frames on " +
                                 names[c] + " before record " + e.record_in.text);
            }
            last_out[c] = layered ? std::max(last_out[c], e.record_out.frames) : e.record_out.frames;
        }
    }
    std::stable_sort(out.begin(), out.end(), [](Problem const& a, Problem const& b) { return a.line < b.line; });
    return out;
}

}  // namespace edl
