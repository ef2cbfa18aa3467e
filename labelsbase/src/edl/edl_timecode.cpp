// Rates and strict timecode reading for edit lists.
#include <cstdio>
#include <cstring>

#include "detail/edl_internal.h"

namespace edl {

bool operator==(Rate a, Rate b) { return a.nominal == b.nominal && a.ntsc == b.ntsc && a.drop == b.drop; }
bool operator!=(Rate a, Rate b) { return !(a == b); }

namespace {

struct RateName {
    char const* name;
    Rate rate;
};
// Names first, spellings after; rate_name writes the first match.
constexpr RateName kRates[] = {
    {"23.976", {24, true, false}}, {"24", {24, false, false}},     {"25", {25, false, false}},
    {"29.97df", {30, true, true}}, {"29.97", {30, true, false}},   {"30", {30, false, false}},
    {"50", {50, false, false}},    {"59.94df", {60, true, true}},  {"59.94", {60, true, false}},
    {"60", {60, false, false}},    {"23.98", {24, true, false}},   {"29.97ndf", {30, true, false}},
    {"2997df", {30, true, true}},  {"2997", {30, true, false}},     {"2997ndf", {30, true, false}},
    {"59.94ndf", {60, true, false}}, {"5994df", {60, true, true}}, {"5994", {60, true, false}},
    {"30000/1001", {30, true, false}}, {"24000/1001", {24, true, false}}, {"60000/1001", {60, true, false}},
};

}  // namespace

bool parse_rate(char const* text, Rate& out) {
    if (!text) return false;
    char low[32];
    std::size_t n = 0;
    for (; text[n] && n + 1 < sizeof low; ++n) {
        char c = text[n];
        low[n] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (text[n]) return false;
    low[n] = '\0';
    for (RateName const& r : kRates)
        if (std::strcmp(low, r.name) == 0) {
            out = r.rate;
            return true;
        }
    return false;
}

std::string rate_name(Rate r) {
    for (RateName const& n : kRates)
        if (n.rate == r) return n.name;
    return std::to_string(r.nominal) + (r.ntsc ? "/1.001" : "") + (r.drop ? "df" : "");
}

long frames_per_day(Rate r) {
    long const plain = 86400L * r.nominal;
    if (!r.drop) return plain;
    long const skip = 2L * (r.nominal / 30);  // labels skipped per minute
    return plain - skip * (24L * 60 - 24L * 6);
}

namespace {

// Two decimal digits at p; -1 when they are not.
int two_digits(char const* p) {
    if (p[0] < '0' || p[0] > '9' || p[1] < '0' || p[1] > '9') return -1;
    return (p[0] - '0') * 10 + (p[1] - '0');
}

bool is_sep(char c) { return c == ':' || c == ';' || c == '.' || c == ','; }

}  // namespace

bool read_timecode(std::string const& text, Rate r, long& frames, std::string& why) {
    char const* s = text.c_str();
    std::size_t const n = text.size();
    if (n != 11 || !is_sep(s[2]) || !is_sep(s[5]) || !is_sep(s[8])) {
        why = "'" + text + "' is not a timecode hh:mm:ss:ff";
        return false;
    }
    if (s[2] != ':' || s[5] != ':') {
        why = "'" + text + "': hours, minutes and seconds are separated by ':'";
        return false;
    }
    int const h = two_digits(s), m = two_digits(s + 3), sec = two_digits(s + 6), f = two_digits(s + 9);
    if (h < 0 || m < 0 || sec < 0 || f < 0) {
        why = "'" + text + "' has a field that is not two digits";
        return false;
    }
    char buf[96];
    if (h > 23) {
        std::snprintf(buf, sizeof buf, "'%s': hours %02d out of range 00-23", s, h);
        why = buf;
        return false;
    }
    if (m > 59) {
        std::snprintf(buf, sizeof buf, "'%s': minutes %02d out of range 00-59", s, m);
        why = buf;
        return false;
    }
    if (sec > 59) {
        std::snprintf(buf, sizeof buf, "'%s': seconds %02d out of range 00-59", s, sec);
        why = buf;
        return false;
    }
    if (f >= r.nominal) {
        std::snprintf(buf, sizeof buf, "'%s': frames %02d out of range 00-%02d", s, f, r.nominal - 1);
        why = buf;
        return false;
    }
    long const minutes = 60L * h + m;  // [0, 1439]
    long count = (minutes * 60 + sec) * r.nominal + f;
    if (r.drop) {
        int const skip = 2 * (r.nominal / 30);
        if (sec == 0 && f < skip && m % 10 != 0) {
            std::snprintf(buf, sizeof buf,
                          "%s is not a drop-frame label: frames 00 to %02d are skipped at minute %d", s, skip - 1,
                          m);
            why = buf;
            return false;
        }
        count -= static_cast<long>(skip) * (minutes - minutes / 10);
    }
    frames = count;
    return true;
}

std::string write_timecode(long frames, Rate r) {
    long const day = frames_per_day(r);
    long c = frames % day;
    if (c < 0) c += day;  // [0, day)
    long const fps = r.nominal;
    if (r.drop) {
        long const skip = 2 * (fps / 30);
        long const ten = 600 * fps - 9 * skip;    // frames in ten minutes
        long const one = 60 * fps - skip;         // in a minute after the first of ten
        long const tens = c / ten;                // [0, 143]
        long const rem = c % ten;                 // [0, ten)
        // The first minute of ten has all its labels; the others lose `skip`.
        long const extra = rem < 60 * fps ? 0 : skip * (1 + (rem - 60 * fps) / one);
        c += skip * 9 * tens + extra;
    }
    long const f = c % fps;
    long const s = (c / fps) % 60;
    long const m = (c / (fps * 60)) % 60;
    long const h = c / (fps * 3600);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld%c%02ld", h % 100, m, s, r.drop ? ';' : ':', f % 100);
    return buf;
}

}  // namespace edl
