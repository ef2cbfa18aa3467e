// Reading and writing CMX 3600 edit lists, line by line.
#include <cstdio>
#include <cstdlib>

#include "detail/edl_internal.h"

namespace edl {
namespace detail {

std::vector<std::string> fields(std::string const& line) {
    std::vector<std::string> out;
    std::size_t i = 0, n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::size_t const b = i;
        while (i < n && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > b) out.push_back(line.substr(b, i - b));
    }
    return out;
}

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string trim(std::string const& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

bool all_digits(std::string const& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

namespace {

bool starts_with_word(std::string const& u, char const* word, bool needs_space) {
    std::size_t i = 0;
    for (; word[i]; ++i)
        if (i >= u.size() || u[i] != word[i]) return false;
    if (!needs_space) return true;
    return i == u.size() || u[i] == ' ' || u[i] == '\t';
}

// A field that looks like a timecode: digits and separators only, with a
// separator in it.
bool tc_like(std::string const& s) {
    bool sep = false;
    for (char c : s) {
        if (c == ':' || c == ';' || c == '.' || c == ',')
            sep = true;
        else if (c < '0' || c > '9')
            return false;
    }
    return sep;
}

void read_tc(std::string const& text, Rate r, Timecode& tc) {
    tc.text = text;
    std::string why;
    tc.ok = read_timecode(text, r, tc.frames, why);
    if (!tc.ok) tc.frames = 0;
}

}  // namespace

LineKind classify(std::string const& text) {
    std::string const t = trim(text);
    if (t.empty()) return LineKind::blank;
    std::string const u = upper(t.substr(0, 16));
    if (t[0] == '*') return LineKind::comment;
    if (starts_with_word(u, "TITLE:", false)) return LineKind::title;
    if (starts_with_word(u, "FCM:", false)) return LineKind::fcm;
    if (starts_with_word(u, "M2", true)) return LineKind::motion;
    if (starts_with_word(u, "SPLIT:", false)) return LineKind::split;
    if (starts_with_word(u, "AUD", true)) return LineKind::aud;
    // Notes some systems write under an event without the '*'.
    if (starts_with_word(u, "EFFECTS NAME IS", false) || starts_with_word(u, ">>>", false)) return LineKind::comment;
    std::size_t e = 0;
    while (e < t.size() && t[e] >= '0' && t[e] <= '9') ++e;
    if (e > 0 && (e == t.size() || t[e] == ' ' || t[e] == '\t')) return LineKind::event;
    return LineKind::unknown;
}

bool parse_fcm(std::string const& text, bool& drop) {
    std::string const t = upper(trim(text));
    std::size_t const colon = t.find(':');
    std::string squeezed;
    for (std::size_t i = colon + 1; i < t.size(); ++i)
        if (t[i] != ' ' && t[i] != '\t' && t[i] != '-' && t[i] != '_') squeezed += t[i];
    if (squeezed == "DROPFRAME" || squeezed == "DROP" || squeezed == "DF") {
        drop = true;
        return true;
    }
    if (squeezed == "NONDROPFRAME" || squeezed == "NONDROP" || squeezed == "NDF") {
        drop = false;
        return true;
    }
    return false;
}

bool parse_event_line(std::string const& text, Rate rate, bool drop, Event& e, std::string& why) {
    std::vector<std::string> const f = fields(text);
    Rate const r = with_drop(rate, drop);
    e.complete = false;
    e.drop = drop;
    if (f.empty() || !all_digits(f[0])) {
        why = "an event line starts with its number";
        return false;
    }
    e.number_text = f[0];
    e.number = f[0].size() <= 9 ? std::atoi(f[0].c_str()) : -1;
    if (f.size() < 2) {
        why = "the event line ends after its number (reel, track, transition and timecodes missing)";
        return false;
    }
    e.reel = f[1];
    if (f.size() < 3) {
        why = "the event line ends after the reel (track, transition and timecodes missing)";
        return false;
    }
    e.track = upper(f[2]);
    if (f.size() < 4) {
        why = "the event line ends after the track (transition and timecodes missing)";
        return false;
    }
    e.transition = upper(f[3]);
    std::size_t i = 4;
    if (e.transition == "K" && i < f.size() && (upper(f[i]) == "B" || upper(f[i]) == "O")) {
        e.transition += upper(f[i]);
        ++i;
    }
    e.duration.clear();
    e.duration_frames = -1;
    if (i < f.size() && all_digits(f[i]) && !tc_like(f[i])) {
        e.duration = f[i];
        e.duration_frames = f[i].size() <= 6 ? std::atoi(f[i].c_str()) : -1;
        ++i;
    }
    std::size_t const tcs = f.size() - i;
    Timecode* const slots[4] = {&e.source_in, &e.source_out, &e.record_in, &e.record_out};
    for (Timecode* t : slots) *t = Timecode{};
    for (std::size_t k = 0; k < tcs && k < 4; ++k) read_tc(f[i + k], r, *slots[k]);
    if (tcs < 4) {
        why = "the event line has " + std::to_string(tcs) + " of its 4 timecodes (source in/out, record in/out)";
        return false;
    }
    if (tcs > 4) {
        why = "the event line has " + std::to_string(tcs - 4) + " field(s) more than it should ('" + f[i] +
              "' after the transition)";
        return false;
    }
    e.complete = true;
    return true;
}

bool parse_motion_line(std::string const& text, Rate rate, bool drop, Motion& m, std::string& why) {
    std::vector<std::string> const f = fields(text);
    int const keep = m.line;
    m = Motion();
    m.line = keep;
    if (f.size() < 4) {
        why = "an M2 line holds a reel, a speed and an entry timecode";
        if (f.size() > 1) m.reel = f[1];
        if (f.size() > 2) m.speed = f[2];
        return false;
    }
    m.reel = f[1];
    m.speed = f[2];
    char* end = nullptr;
    m.fps = std::strtod(f[2].c_str(), &end);
    m.speed_ok = end && *end == '\0' && m.fps > -10000 && m.fps < 10000;
    if (!m.speed_ok) m.fps = 0;
    read_tc(f[3], with_drop(rate, drop), m.entry);
    if (f.size() > 4) {
        why = "the M2 line has fields after its entry timecode";
        return false;
    }
    if (!m.speed_ok) {
        why = "M2 speed '" + f[2] + "' is not a number of frames per second";
        return false;
    }
    return true;
}

}  // namespace detail

using namespace detail;

bool Event::is_black() const {
    std::string const u = upper(reel);
    return u == "BL" || u == "BLK" || u == "BLACK";
}
bool Event::is_aux() const { return upper(reel) == "AX"; }
bool Event::has_video() const {
    return track == "V" || track == "AA/V" || track == "A/V" || track == "A2/V" || track == "B";
}
std::vector<std::string> Event::comment_texts(List const& list) const {
    std::vector<std::string> out;
    for (int i : comments) out.push_back(list.lines[static_cast<std::size_t>(i)].text);
    return out;
}

List read(std::string const& bytes, Rate rate) {
    List list;
    std::size_t pos = 0;
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF) {
        list.bom = true;
        pos = 3;
    }
    bool drop = rate.drop;
    list.drop = drop;
    std::vector<int> pending;  // SPLIT: lines waiting for their event
    int number = 0;
    while (pos < bytes.size()) {
        std::size_t e = pos;
        while (e < bytes.size() && bytes[e] != '\n' && bytes[e] != '\r') ++e;
        Line line;
        line.number = ++number;
        line.text = bytes.substr(pos, e - pos);
        if (e < bytes.size()) {
            if (bytes[e] == '\r' && e + 1 < bytes.size() && bytes[e + 1] == '\n')
                line.ending = "\r\n";
            else
                line.ending = bytes.substr(e, 1);
        }
        pos = e + line.ending.size();
        line.kind = classify(line.text);
        int const index = static_cast<int>(list.lines.size());
        int const current = list.events.empty() ? -1 : static_cast<int>(list.events.size()) - 1;
        switch (line.kind) {
        case LineKind::title:
            if (list.title.empty()) list.title = trim(line.text.substr(line.text.find(':') + 1));
            break;
        case LineKind::fcm: {
            bool d = false;
            if (parse_fcm(line.text, d)) {
                if (!list.has_fcm) list.drop = d;
                list.has_fcm = true;
                drop = d;
            }
            break;
        }
        case LineKind::event: {
            Event ev;
            ev.line = index;
            std::string why;
            parse_event_line(line.text, rate, drop, ev, why);
            line.event = static_cast<int>(list.events.size());
            for (int p : pending) {
                ev.extras.push_back(p);
                list.lines[static_cast<std::size_t>(p)].event = line.event;
            }
            pending.clear();
            list.events.push_back(std::move(ev));
            break;
        }
        case LineKind::comment:
            line.event = current;
            if (current < 0)
                list.head_comments.push_back(index);
            else
                list.events[static_cast<std::size_t>(current)].comments.push_back(index);
            break;
        case LineKind::motion: {
            line.event = current;
            if (current >= 0) {
                Motion m;
                m.line = index;
                std::string why;
                parse_motion_line(line.text, rate, drop, m, why);
                list.events[static_cast<std::size_t>(current)].motion.push_back(std::move(m));
            }
            break;
        }
        case LineKind::split: pending.push_back(index); break;
        case LineKind::aud:
            line.event = current;
            if (current >= 0) list.events[static_cast<std::size_t>(current)].extras.push_back(index);
            break;
        case LineKind::blank:
        case LineKind::unknown: line.event = current; break;
        }
        list.lines.push_back(std::move(line));
    }
    return list;
}

namespace {

bool same_event_text(Event const& a, Event const& b) {
    return a.number_text == b.number_text && a.reel == b.reel && a.track == b.track && a.transition == b.transition &&
           a.duration == b.duration && a.source_in.text == b.source_in.text && a.source_out.text == b.source_out.text &&
           a.record_in.text == b.record_in.text && a.record_out.text == b.record_out.text;
}

std::string pad(std::string const& s, std::size_t w) { return s.size() >= w ? s : s + std::string(w - s.size(), ' '); }

}  // namespace

std::string format_event(Event const& e) {
    std::string num = e.number_text;
    if (e.number >= 0 && e.number_text.size() <= 3) {
        char b[16];
        std::snprintf(b, sizeof b, "%03d", e.number);
        num = b;
    }
    std::string dur = e.duration;
    if (!dur.empty() && e.duration_frames >= 0) {
        char b[16];
        std::snprintf(b, sizeof b, "%03d", e.duration_frames);
        dur = b;
    }
    return num + "  " + pad(e.reel, kReelWidth) + " " + pad(e.track, 5) + " " + pad(e.transition, 4) + " " +
           pad(dur.empty() ? std::string() : dur, 3) + " " + e.source_in.text + " " + e.source_out.text + " " +
           e.record_in.text + " " + e.record_out.text;
}

std::string format_motion(Motion const& m) {
    std::string s = "M2   " + pad(m.reel, kReelWidth) + " " + m.speed;
    s = pad(s, 34) + " " + m.entry.text;
    return s;
}

std::string write(List const& list) {
    std::string out;
    if (list.bom) out += "\xEF\xBB\xBF";
    Rate const any{30, false, false};
    for (std::size_t i = 0; i < list.lines.size(); ++i) {
        Line const& line = list.lines[i];
        std::string const* text = &line.text;
        std::string fresh;
        if (line.kind == LineKind::event && line.event >= 0) {
            Event const& e = list.events[static_cast<std::size_t>(line.event)];
            Event was;
            std::string why;
            parse_event_line(line.text, any, false, was, why);
            if (!same_event_text(was, e)) {
                fresh = format_event(e);
                text = &fresh;
            }
        } else if (line.kind == LineKind::motion && line.event >= 0) {
            for (Motion const& m : list.events[static_cast<std::size_t>(line.event)].motion) {
                if (m.line != static_cast<int>(i)) continue;
                Motion was;
                std::string why;
                parse_motion_line(line.text, any, false, was, why);
                if (was.reel != m.reel || was.speed != m.speed || was.entry.text != m.entry.text) {
                    fresh = format_motion(m);
                    text = &fresh;
                }
            }
        }
        out += *text;
        out += line.ending;
    }
    return out;
}

}  // namespace edl
