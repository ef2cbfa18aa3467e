// Conversions of a whole edit list: timecodes change, structure stays.
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "detail/edl_internal.h"
#include "labelsbase/mposnxlate.h"

namespace edl {

using namespace detail;

namespace {

// One frame mapping applied to every timecode of a copy of the list; the
// list is replaced only when every timecode converted.
bool map_list(List& list, Rate from, Rate to, std::function<bool(long, long&)> const& map, std::string& why) {
    List out = list;
    for (Event& e : out.events) {
        Rate const rf = with_drop(from, e.drop);
        e.drop = to.drop;
        Timecode* const tcs[4] = {&e.source_in, &e.source_out, &e.record_in, &e.record_out};
        int const ln = list.lines[static_cast<std::size_t>(e.line)].number;
        for (Timecode* tc : tcs) {
            long f = 0;
            std::string err;
            if (!read_timecode(tc->text, rf, f, err)) {
                why = "line " + std::to_string(ln) + ": " + err;
                return false;
            }
            long g = 0;
            if (!map(f, g)) {
                why = "line " + std::to_string(ln) + ": " + tc->text + " has no counterpart at " + rate_name(to);
                return false;
            }
            if (g < 0 || g >= frames_per_day(to)) {
                why = "line " + std::to_string(ln) + ": " + tc->text + " lies beyond the day at " + rate_name(to);
                return false;
            }
            tc->frames = g;
            tc->text = write_timecode(g, to);
            tc->ok = true;
        }
        for (Motion& m : e.motion) {
            int const ml = list.lines[static_cast<std::size_t>(m.line)].number;
            long f = 0;
            std::string err;
            if (!read_timecode(m.entry.text, rf, f, err)) {
                why = "line " + std::to_string(ml) + ": M2 entry " + err;
                return false;
            }
            long g = 0;
            if (!map(f, g)) {
                why = "line " + std::to_string(ml) + ": " + m.entry.text + " has no counterpart at " + rate_name(to);
                return false;
            }
            if (g < 0 || g >= frames_per_day(to)) {
                why = "line " + std::to_string(ml) + ": " + m.entry.text + " lies beyond the day at " + rate_name(to);
                return false;
            }
            m.entry.frames = g;
            m.entry.text = write_timecode(g, to);
            m.entry.ok = true;
        }
    }
    // FCM lines say the new count.
    for (Line& line : out.lines)
        if (line.kind == LineKind::fcm) {
            bool d = false;
            if (!parse_fcm(line.text, d) || d != to.drop)
                line.text = to.drop ? "FCM: DROP FRAME" : "FCM: NON-DROP FRAME";
        }
    out.drop = to.drop;
    list = std::move(out);
    return true;
}

// a * n / d rounded to nearest, ties up, for non-negative a.
long scale_round(long a, long n, long d) { return (2 * a * n + d) / (2 * d); }

std::string format_speed(double fps) {
    char b[32];
    if (fps < 0)
        std::snprintf(b, sizeof b, "-%05.1f", -fps);
    else
        std::snprintf(b, sizeof b, "%05.1f", fps);
    return b;
}

}  // namespace

bool relabel(List& list, Rate from, bool to_drop, std::string& why) {
    if (!from.fractional || from.nominal % 30 != 0) {
        why = "drop frame exists only at 29.97 and 59.94, not at " + rate_name(from);
        return false;
    }
    Rate to = from;
    to.drop = to_drop;
    return map_list(
        list, from, to,
        [](long f, long& g) {
            g = f;
            return true;
        },
        why);
}

bool convert_rate(List& list, Rate from, Rate to, RateRule rule, std::string& why) {
    // Exact rates as whole ratios: nominal * 1000 / (1000 or 1001).
    long const fn = from.nominal * 1000L, fd = from.fractional ? 1001 : 1000;
    long const tn = to.nominal * 1000L, td = to.fractional ? 1001 : 1000;
    std::function<bool(long, long&)> map;
    double speed_factor = 1.0;
    long pn = 1, pd = 1;  // pulldown frame ratio
    if (rule == RateRule::frame_count) {
        map = [](long f, long& g) {
            g = f;
            return true;
        };
        speed_factor = static_cast<double>(to.nominal) / from.nominal;
    } else if (rule == RateRule::real_time) {
        Rate a = from, b = to;
        a.drop = b.drop = false;  // real frames, whatever their labels
        map = [=](long f, long& g) {
            std::int64_t r = 0;
            if (!timecode_convert_real_time(a, b, f, &r)) return false;
            g = static_cast<long>(r);
            return true;
        };
        speed_factor = 1.0;
    } else {
        // Film frames at 24 (either family) against video at 30 (2:3) or 25
        // (24-to-25), phase 0 at the zero of the count.
        bool const from_film = from.nominal == 24, to_film = to.nominal == 24;
        int const v = from_film ? to.nominal : from.nominal;
        if (from_film == to_film || (v != 30 && v != 25)) {
            why = "a pulldown transfer goes between 24 (or 23.976) and 30, 29.97 or 25, not " + rate_name(from) +
                  " to " + rate_name(to);
            return false;
        }
        int const F = v == 30 ? 4 : 24, V = v == 30 ? 5 : 25;
        if (v == 30) {
            // 2:3 puts film frames A B C D on fields AA BBB CC DDD. A video
            // frame belongs to the film frame of its first field, and a film
            // frame goes to the first video frame whose first field it is.
            if (from_film) {
                map = [](long f, long& g) {
                    long const field = pull23_derivative_table[0][f % 4] + 10 * (f / 4);  // first field
                    g = (field + 1) / 2;
                    return true;
                };
            } else {
                map = [](long f, long& g) {
                    g = pull23_origin_table[0][(2 * f) % 10] + 4 * ((2 * f) / 10);
                    return true;
                };
            }
        } else if (from_film) {
            // 24-to-25 repeats one frame in 25: progressive frames, no fields.
            map = [](long f, long& g) {
                g = pogle_Frame_derivative_table[0][f % 24] + 25 * (f / 24);
                return true;
            };
        } else {
            map = [](long f, long& g) {
                g = pogle_Frame_origin_table[0][f % 25] + 24 * (f / 25);
                return true;
            };
        }
        pn = from_film ? V : F;
        pd = from_film ? F : V;
        speed_factor = static_cast<double>(pn) / pd;
    }
    if (!map_list(list, from, to, map, why)) return false;
    // Transition durations are frame counts: they scale with the rate.
    long dn = 1, dd = 1;
    if (rule == RateRule::real_time)
        dn = fd * tn / 1000, dd = fn * td / 1000;
    else if (rule == RateRule::pulldown)
        dn = pn, dd = pd;
    for (Event& e : list.events)
        if (e.duration_frames > 0 && dn != dd) {
            e.duration_frames = static_cast<int>(scale_round(e.duration_frames, dn, dd));
            char b[16];
            std::snprintf(b, sizeof b, "%03d", e.duration_frames);
            e.duration = b;
        }
    if (speed_factor != 1.0)
        for (Event& e : list.events)
            for (Motion& m : e.motion)
                if (m.speed_ok) {
                    m.fps *= speed_factor;
                    m.speed = format_speed(m.fps);
                }
    return true;
}

bool move_record_start(List& list, Rate rate, long start, std::string& why) {
    long first = -1;
    for (Event const& e : list.events) {
        long f = 0;
        std::string err;
        if (!read_timecode(e.record_in.text, with_drop(rate, e.drop), f, err)) {
            why = "line " + std::to_string(list.lines[static_cast<std::size_t>(e.line)].number) + ": record in " + err;
            return false;
        }
        if (first < 0) first = f;
    }
    if (first < 0) return true;
    long const shift = start - first;
    List out = list;
    for (Event& e : out.events) {
        Rate const r = with_drop(rate, e.drop);
        for (Timecode* tc : {&e.record_in, &e.record_out}) {
            long f = 0;
            std::string err;
            if (!read_timecode(tc->text, r, f, err)) {
                why = "line " + std::to_string(list.lines[static_cast<std::size_t>(e.line)].number) + ": " + err;
                return false;
            }
            f += shift;
            if (f < 0 || f >= frames_per_day(r)) {
                why = "line " + std::to_string(list.lines[static_cast<std::size_t>(e.line)].number) +
                      ": the record moves outside the day";
                return false;
            }
            tc->frames = f;
            tc->text = write_timecode(f, r);
        }
    }
    list = std::move(out);
    return true;
}

}  // namespace edl
