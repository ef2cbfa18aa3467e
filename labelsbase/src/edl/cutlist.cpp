// Film cut lists: from the video edit to the camera negative.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include "detail/edl_internal.h"
#include "detail/internal.h"
#include "labelsbase/EditLabel.h"
#include "labelsbase/LabelPoint.h"
#include "labelsbase/mposnxlate.h"

namespace edl {

using namespace detail;

namespace {

// How the list's video reaches film: the timecode type and medium a
// `labels convert` from the same timecode would name, and the transfer a
// log row without one takes.
struct VideoSide {
    label_t type;
    MediumRollMedium medium;
    transfer_type transfer;
};

bool video_side(Rate r, bool drop, VideoSide& v) {
    if (r.nominal == 30 && r.fractional)
        v = {drop ? ntsc_drop_label_t : ntsc_label_t, source_30i_1001_Medium, transfer_pull23};
    else if (r.nominal == 30)
        v = {ntsc_label_t, source_30i_Medium, transfer_pull23};
    else if (r.nominal == 25)
        v = {pal_label_t, source_25p_Medium, transfer_pogle};
    else if (r.nominal == 24 && r.fractional)
        v = {tc_24_label_t, source_24p_1001_Medium, transfer_frame_for_frame};
    else if (r.nominal == 24)
        v = {tc_24_label_t, source_24p_Medium, transfer_frame_for_frame};
    else
        return false;
    return true;
}

// The converters and labels of one film gauge, private to one cut list.
struct Gauge {
    std::unique_ptr<label_cvt> key, foot;
    std::unique_ptr<EditLabel> film;
    std::unique_ptr<LabelPoint> key_point, foot_point;
    int perfs = 1;  // samples per film frame

    explicit Gauge(label_t t)
        : key(make_any_label_cvt(t)),
          foot(make_any_label_cvt(label_t_to_foot_label_t(t))),
          film(std::make_unique<EditLabel>(t, MediumRollIdent{film_Medium, any_Generation})),
          key_point(std::make_unique<LabelPoint>(0, key.get())),
          foot_point(std::make_unique<LabelPoint>(0, foot.get())),
          perfs(std::max(1, key->samples_per_unit())) {}

    std::string keykode(std::string const& prefix, int s) {
        key->set_prefix(key_point.get(), prefix.c_str());
        key_point->sample = s;
        char const* t = key->get_abs_string(key_point.get(), s);
        return t ? t : "";
    }
    std::string feet(long frames) {
        long const p = frames * perfs;
        if (p > 2000000000L) return "?";
        char const* t = foot->get_abs_string(foot_point.get(), static_cast<int>(p));
        std::string s = t ? t : "";
        std::size_t b = 0;
        while (b < s.size() && s[b] == ' ') ++b;
        return s.substr(b);
    }
};

struct Matcher {
    Rate rate;
    TelecineLog const& log;
    std::map<std::string, std::vector<LogRow const*>> by_reel;  // rows by timecode
    std::map<label_t, std::unique_ptr<Gauge>> gauges;
    MPosn_Xlate_Params params;

    Matcher(Rate r, TelecineLog const& l) : rate(r), log(l) {
        for (LogRow const& row : log.rows) by_reel[upper(row.reel)].push_back(&row);
        for (auto& kv : by_reel)
            std::stable_sort(kv.second.begin(), kv.second.end(),
                             [](LogRow const* a, LogRow const* b) { return a->frames < b->frames; });
    }

    Gauge& gauge(label_t t) {
        auto& g = gauges[t];
        if (!g) g = std::make_unique<Gauge>(t);
        return *g;
    }

    // The log row in force at video frame f of the reel: the last sync
    // point at or before it; null when there is none.
    LogRow const* row_at(std::vector<LogRow const*> const& rows, long f) const {
        LogRow const* best = nullptr;
        auto it = std::upper_bound(rows.begin(), rows.end(), f, [](long v, LogRow const* r) { return v < r->frames; });
        if (it != rows.begin()) best = *(it - 1);
        return best;
    }

    // Video frame f of the reel as a KeyKode sample, through the position
    // translation the way `labels convert` goes from timecode to KeyKode
    // with the row as sync point. False when the translation has no answer.
    bool film_sample(LogRow const& row, VideoSide const& v, long f, int& out) {
        Gauge& g = gauge(row.type);
        EditLabel const video(v.type, MediumRollIdent{v.medium, any_Generation});
        transfer_type const t = row.transfer != transfer_unspecified ? row.transfer : v.transfer;
        params.transfer = t;
        params.sequence_phase = row.phase;
        double const position = static_cast<double>(f - row.frames) * video.pitch;
        double const target = mPosn_Xlate(position, v.medium, film_Medium, params, false);
        if (!(std::fabs(target) < 1e99)) return false;
        int s = g.film->abs_posn_to_sample(target);
        if (s == invalid_sample) return false;
        s = g.key->normalise_sample_unit(lb::wrap_add(s, row.perfs));
        if (s == invalid_sample || s == past_end_sample || s == before_start_sample) return false;
        out = s;
        return true;
    }
};

// The source frames an event takes from its reel, first and last
// (inclusive; last < first for reverse motion).
enum class Range { frames, none, unreachable };
Range source_range(Event const& e, Rate r, long& first, long& last) {
    long const sdur = e.source_out.frames - e.source_in.frames;
    long const rdur = e.record_out.frames - e.record_in.frames;
    if (e.motion.empty()) {
        if (sdur == 0) return Range::none;  // the outgoing side of a transition
        if (sdur < 0) return Range::unreachable;
        first = e.source_in.frames;
        last = e.source_out.frames - 1;
        return Range::frames;
    }
    Motion const& m = e.motion.front();
    if (rdur == 0) return Range::none;
    if (rdur < 0 || r.nominal <= 0) return Range::unreachable;
    long const start = m.entry.ok ? m.entry.frames : e.source_in.frames;
    double const fps = m.fps;
    long n = static_cast<long>(std::floor(static_cast<double>(rdur) * std::fabs(fps) / r.nominal + 0.5));
    if (n < 1) n = 1;  // a freeze frame holds one frame
    first = start;
    last = fps < 0 ? start - (n - 1) : start + (n - 1);
    return last >= 0 ? Range::frames : Range::unreachable;
}

std::string speed_text(double fps) {
    char b[32];
    std::snprintf(b, sizeof b, "%.1f fps", fps);
    return b;
}

}  // namespace

CutList cut_list(List const& list, Rate rate, TelecineLog const& log) {
    CutList out;
    Matcher m(rate, log);
    // A film project at 24 fps, as `labels convert` has by default; every
    // translation below sets the transfer and phase of its own sync point.
    m.params = MPosn_Xlate_Params();
    m.params.project_rate = Kest::FrameRate_24;
    m.params.cel_resolution = Kest::getCelResolution(Kest::FrameRate_24);
    m.params.camera_film_fps = 24.0;
    long running = 0;
    label_t running_type = keycode_35_label_t;

    // The film each event uses, for the dupe and optical lists.
    struct Span {
        std::string prefix, reel;
        int lo, hi;  // samples, inclusive of the last frame's first perforation
        int event;   // event number
        label_t type;
    };
    std::vector<Span> spans;

    // Film of frames [first, last] of an event's reel; false with a note.
    auto match = [&](Event const& e, long first, long last, int& a, int& b, LogRow const*& row,
                     std::string& why) -> bool {
        auto const it = m.by_reel.find(upper(e.reel));
        if (it == m.by_reel.end()) {
            why = "reel " + e.reel + " is not in the telecine log";
            return false;
        }
        VideoSide v;
        if (!video_side(rate, e.drop, v)) {
            why = "no film transfer from " + rate_name(rate) + " video";
            return false;
        }
        long const lo = std::min(first, last);
        row = m.row_at(it->second, lo);
        if (!row) {
            why = "source " + write_timecode(lo, with_drop(rate, e.drop)) +
                  " lies before the first sync point of reel " + e.reel + " (log line " +
                  std::to_string(it->second.front()->line) + ")";
            return false;
        }
        LogRow const* row_last = m.row_at(it->second, std::max(first, last));
        if (!m.film_sample(*row, v, first, a) || !m.film_sample(*row_last, v, last, b)) {
            why = "the source of reel " + e.reel + " has no film position";
            return false;
        }
        if (row_last != row)
            why = "the event crosses the sync point of log line " + std::to_string(row_last->line) +
                  " (a break in the KeyKode or timecode): KeyKode out is read from it";
        return true;
    };

    for (std::size_t k = 0; k < list.events.size(); ++k) {
        Event const& e = list.events[k];
        int const ln = list.lines[static_cast<std::size_t>(e.line)].number;
        if (!e.complete || !e.has_video()) continue;
        if (!e.source_in.ok || !e.source_out.ok || !e.record_in.ok || !e.record_out.ok) {
            out.notes.push_back(Note{e.number, ln, "timecodes do not read; the event is left out", true});
            continue;
        }
        if (e.is_black() || e.is_aux()) {
            out.notes.push_back(
                Note{e.number, ln,
                     std::string(e.is_black() ? "black" : "aux source") + " (reel " + e.reel + "): no film to cut"});
            continue;
        }
        long first = 0, last = 0;
        Range const range = source_range(e, rate, first, last);
        if (range == Range::none) continue;
        if (range == Range::unreachable) {
            out.notes.push_back(Note{e.number, ln, "out before in: the event takes no source frames", true});
            continue;
        }
        int a = 0, b = 0;
        LogRow const* row = nullptr;
        std::string why;
        if (!match(e, first, last, a, b, row, why)) {
            out.notes.push_back(Note{e.number, ln, why, true});
            continue;
        }
        if (!why.empty()) out.notes.push_back(Note{e.number, ln, why, false});
        Gauge& g = m.gauge(row->type);
        CutEvent c;
        c.event = e.number;
        c.line = ln;
        c.reel = e.reel;
        c.camroll = row->camroll;
        c.labroll = row->labroll;
        c.type = row->type;
        c.prefix = row->prefix;
        c.transition = e.transition;
        c.film_in = a;
        c.film_out = b;
        c.keykode_in = g.keykode(row->prefix, a);
        c.keykode_out = g.keykode(row->prefix, b);
        int const lo = std::min(a, b), hi = std::max(a, b);
        c.frames = (hi - lo) / g.perfs + 1;
        c.feet_frames = g.feet(c.frames);
        running += c.frames;
        running_type = row->type;
        c.footage = g.feet(running);
        spans.push_back(Span{row->prefix, e.reel, lo, hi, e.number, row->type});
        out.events.push_back(std::move(c));

        // Opticals: the incoming side is the event's first frames, the
        // outgoing side the frames after the out of the event before.
        if (e.transition != "C" || !e.motion.empty()) {
            Optical o;
            o.event = e.number;
            if (!e.motion.empty()) {
                o.kind = "motion";
                o.detail = "speed " + speed_text(e.motion.front().fps);
                o.to_reel = e.reel;
                o.to_in = out.events.back().keykode_in;
                o.to_out = out.events.back().keykode_out;
            }
            if (e.transition != "C" && e.duration_frames > 0) {
                o.kind = e.transition == "D" ? "dissolve" : e.transition[0] == 'W' ? "wipe" : "key";
                o.detail = std::to_string(e.duration_frames) + " frames" + (o.detail.empty() ? "" : ", " + o.detail);
                long const d = e.duration_frames;
                int ta = 0, tb = 0;
                LogRow const* r2 = nullptr;
                std::string w2;
                o.to_reel = e.reel;
                if (match(e, first, first + d - 1, ta, tb, r2, w2)) {
                    o.to_in = m.gauge(r2->type).keykode(r2->prefix, ta);
                    o.to_out = m.gauge(r2->type).keykode(r2->prefix, tb);
                }
                // The outgoing event: the one before with video.
                for (std::size_t j = k; j-- > 0;) {
                    Event const& p = list.events[j];
                    if (!p.complete || !p.has_video()) continue;
                    o.from_reel = p.reel;
                    if (p.is_black() || p.is_aux() || !p.source_out.ok) break;
                    int fa = 0, fb = 0;
                    LogRow const* r3 = nullptr;
                    std::string w3;
                    if (match(p, p.source_out.frames, p.source_out.frames + d - 1, fa, fb, r3, w3)) {
                        o.from_in = m.gauge(r3->type).keykode(r3->prefix, fa);
                        o.from_out = m.gauge(r3->type).keykode(r3->prefix, fb);
                        spans.push_back(
                            Span{r3->prefix, p.reel, std::min(fa, fb), std::max(fa, fb), e.number, r3->type});
                    }
                    break;
                }
            }
            if (!o.kind.empty()) out.opticals.push_back(std::move(o));
        }
    }
    out.total_frames = running;
    out.total_footage = m.gauge(running_type).feet(running);

    // Dupes: film two events both use.
    std::vector<std::size_t> order(spans.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        Span const& a = spans[x];
        Span const& b = spans[y];
        if (a.type != b.type) return a.type < b.type;
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return a.lo < b.lo;
    });
    for (std::size_t i = 0; i < order.size(); ++i) {
        Span const& a = spans[order[i]];
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            Span const& b = spans[order[j]];
            if (b.type != a.type || b.prefix != a.prefix || b.lo > a.hi) break;
            int const lo = b.lo, hi = std::min(a.hi, b.hi);
            Gauge& g = m.gauge(a.type);
            Dupe d;
            d.event_a = std::min(a.event, b.event);
            d.event_b = std::max(a.event, b.event);
            d.reel = a.reel;
            d.keykode_in = g.keykode(a.prefix, lo);
            d.keykode_out = g.keykode(a.prefix, hi);
            d.frames = (hi - lo) / g.perfs + 1;
            out.dupes.push_back(std::move(d));
        }
    }
    std::stable_sort(out.dupes.begin(), out.dupes.end(), [](Dupe const& x, Dupe const& y) {
        return x.event_a != y.event_a ? x.event_a < y.event_a : x.event_b < y.event_b;
    });

    // Pulls: by camera roll (the KeyKode prefix when the log names none),
    // each in KeyKode order.
    std::map<std::string, std::size_t> pull_index;
    for (std::size_t i = 0; i < out.events.size(); ++i) {
        CutEvent const& c = out.events[i];
        std::string const key = c.camroll.empty() ? c.prefix : c.camroll;
        auto it = pull_index.find(key);
        if (it == pull_index.end()) {
            it = pull_index.emplace(key, out.pulls.size()).first;
            out.pulls.push_back(Pull{key, {}});
        }
        out.pulls[it->second].events.push_back(static_cast<int>(i));
    }
    for (Pull& p : out.pulls)
        std::stable_sort(p.events.begin(), p.events.end(), [&](int x, int y) {
            CutEvent const& a = out.events[static_cast<std::size_t>(x)];
            CutEvent const& b = out.events[static_cast<std::size_t>(y)];
            if (a.prefix != b.prefix) return a.prefix < b.prefix;
            return std::min(a.film_in, a.film_out) < std::min(b.film_in, b.film_out);
        });
    std::sort(out.pulls.begin(), out.pulls.end(), [](Pull const& a, Pull const& b) { return a.camroll < b.camroll; });
    return out;
}

}  // namespace edl
