// Plain words and numbers as typed on a command line.
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "cli/core.h"

namespace cli {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(std::string const& s) {
    char const* b = s.data();
    std::size_t const n = trimmed(b, s.size());
    return std::string(b, n);
}

std::size_t trimmed(char const*& text, std::size_t n) {
    while (n > 0 && is_blank(*text)) ++text, --n;
    while (n > 0 && is_blank(text[n - 1])) --n;
    return n;
}

bool read_int(std::string const& text, int& out) {
    std::string const t = trim(text);
    if (t.empty()) return false;
    char const* b = t.data();
    char const* e = b + t.size();
    if (*b == '+') ++b;
    long long v = 0;
    auto const r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || r.ptr != e || v < INT_MIN || v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

bool read_double(std::string const& text, double& out) {
    std::string const t = trim(text);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    double const v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

std::string format_double(double v) {
    char buf[64];
    auto const r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace cli
