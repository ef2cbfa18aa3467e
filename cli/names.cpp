// Reading the names a user types for label types, media, frame rates, scan
// modes, transfers and generations, and suggesting close names when one is
// not known.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cli/cli.h"
#include "labelsbase/vocabulary.h"

namespace cli {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string trim(std::string const& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::size_t edit_distance(std::string const& a, std::string const& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diag = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t const up = row[j];
            std::size_t const cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + cost});
            diag = up;
        }
    }
    return row[b.size()];
}

struct Word {
    char const* word;
    int value;
};
constexpr Word kScanWords[] = {
    {"unknown", 0},     {"interlaced", 1},      {"upper", 1}, {"interlaced_upper", 1}, {"i", 1},
    {"lower", 2},       {"interlaced_lower", 2}, {"progressive", 3}, {"p", 3},
    {"psf", 4},         {"segmented", 4},       {"progressive_segmented", 4},
};
constexpr char const* kScanNames[] = {"unknown", "interlaced_upper", "interlaced_lower", "progressive",
                                      "progressive_segmented"};
static_assert(sizeof(kScanNames) / sizeof(kScanNames[0]) == Kest::Image::ScanMode_progressive_segmented + 1,
              "one name per scan mode");

constexpr Word kTransferWords[] = {
    {"none", transfer_unspecified},      {"unspecified", transfer_unspecified},
    {"pull23", transfer_pull23},         {"2:3", transfer_pull23},
    {"pogle", transfer_pogle},           {"24to25", transfer_pogle}, {"24-25", transfer_pogle},
    {"frame", transfer_frame_for_frame}, {"frame_for_frame", transfer_frame_for_frame},
    {"pulldown", transfer_pulldown},
};

constexpr Word kGenerationWords[] = {
    {"unknown", 0}, {"any", 1},   {"1st", 2},   {"first", 2}, {"2nd", 3},
    {"second", 3},  {"3rd", 4},   {"third", 4}, {"4th", 5},   {"fourth", 5},
};
constexpr char const* kGenerationNames[] = {"unknown", "any", "1st", "2nd", "3rd", "4th"};
static_assert(sizeof(kGenerationNames) / sizeof(kGenerationNames[0]) == fourth_Generation + 1,
              "one name per generation");

template <std::size_t N>
bool find_word(Word const (&words)[N], std::string const& text, int& out) {
    std::string const l = lower(text);
    for (Word const& w : words)
        if (l == w.word) {
            out = w.value;
            return true;
        }
    return false;
}

template <std::size_t N>
std::vector<std::string> word_list(Word const (&words)[N]) {
    std::vector<std::string> v;
    for (Word const& w : words) v.push_back(w.word);
    return v;
}

// Every name a label type is read by, for suggestions.
std::vector<std::string> const& type_names() {
    static std::vector<std::string> const names = [] {
        std::vector<std::string> v;
        for (int i = 0; i < label_type_count; ++i) {
            LabelTypeInfo const& r = label_type_info(static_cast<label_t>(i));
            if (!r.has_converter) continue;
            v.push_back(r.class_name);
            v.push_back(short_type_name(r.type));
            if (r.edl_primary) v.push_back(r.edl_primary);
            if (r.edl_alternative) v.push_back(r.edl_alternative);
        }
        return v;
    }();
    return names;
}

}  // namespace

std::string short_type_name(label_t t) {
    std::string n = label_type_info(t).class_name;
    std::size_t const at = n.find("_label");
    if (at != std::string::npos) n.erase(at, 6);
    return n;
}

char const* category_name(UserLabelType u) { return lb::user_label_type_name(u); }

std::vector<std::string> close_names(std::string const& text, std::vector<std::string> const& candidates,
                                     std::size_t max) {
    std::string const t = lower(text);
    std::size_t const limit = std::max<std::size_t>(2, t.size() / 3);
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (std::string const& c : candidates) {
        std::string const l = lower(c);
        std::size_t d = edit_distance(t, l);
        // A typed name that starts or ends a longer one is close too
        // ("keycode_35" in "keycode_35_label").
        if (t.size() >= 3 && (l.rfind(t, 0) == 0 || (l.size() > t.size() && l.compare(l.size() - t.size(), t.size(), t) == 0)))
            d = std::min<std::size_t>(d, 1);
        if (d <= limit) scored.emplace_back(d, c);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](auto const& a, auto const& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (auto const& s : scored) {
        if (std::find(out.begin(), out.end(), s.second) != out.end()) continue;
        out.push_back(s.second);
        if (out.size() == max) break;
    }
    return out;
}

std::string did_you_mean(std::string const& text, std::vector<std::string> const& candidates) {
    std::vector<std::string> const c = close_names(text, candidates);
    if (c.empty()) return "";
    std::string s = " Did you mean: ";
    for (std::size_t i = 0; i < c.size(); ++i) s += (i ? ", " : "") + c[i];
    return s + "?";
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

label_t parse_type(std::string const& raw, bool allow_base) {
    std::string const text = trim(raw);
    int found = -1;
    int n = 0;
    if (read_int(text, n)) {
        if (n < 0 || n >= label_type_count)
            throw UsageError("label type number " + text + " is outside 0.." + std::to_string(label_type_count - 1) +
                             " (see `labels types`)");
        found = n;
    } else {
        std::string const l = lower(text);
        for (int i = 0; i < label_type_count && found < 0; ++i) {
            LabelTypeInfo const& r = label_type_info(static_cast<label_t>(i));
            if (l == lower(r.class_name) || l == lower(r.enumerator) || l == lower(short_type_name(r.type)))
                found = i;
        }
        if (found < 0) {
            // EDL names: only a whole word the EDL reader knows (it reads
            // just the first word, so "P foo" must not pass as "P").
            label_t const t = edlstr_to_label_type(text.c_str());
            bool whole = t != prefix_label_t && text.find_first_of(" \t") == std::string::npos;
            if (whole) {
                LabelTypeInfo const& r = label_type_info(t);
                std::string const u = lower(text);
                whole = (r.edl_primary && u == lower(r.edl_primary)) ||
                        (r.edl_alternative && u == lower(r.edl_alternative));
            }
            if (whole) found = t;
        }
        if (found < 0) {
            // The names written into EDLs ("12f" ... "240f") that the reader
            // does not take back.
            for (int i = 0; i < label_type_count && found < 0; ++i) {
                LabelTypeInfo const& r = label_type_info(static_cast<label_t>(i));
                if (r.has_converter && std::strcmp(r.edl_written, "BAD") != 0 && l == lower(r.edl_written))
                    found = i;
            }
        }
    }
    if (found < 0)
        throw UsageError("unknown label type '" + text + "'." + did_you_mean(text, type_names()) +
                         " A type is a class name (pal_label), a short name (pal), an EDL name (P, 25F, ND,"
                         " F35) or a label_t number; `labels types` lists them all.");
    label_t const t = static_cast<label_t>(found);
    if (!allow_base && !label_type_info(t).has_converter)
        throw UsageError("label type '" + text + "' (" + label_type_info(t).class_name + ", " + std::to_string(found) +
                         ") is a base class with no converter of its own; pick a leaf type such as" +
                         (t == keycode_label_t ? " keycode_35, keycode_16 or keycode_353"
                          : t == foot_label_t  ? " foot_35, foot_16 or foot_353"
                          : t == ink_label_t   ? " ink_35 or ink_16"
                                               : " pal, ntsc_drop, tc_24 or keycode_35") +
                         " (`labels types`)");
    return t;
}

char const* medium_name(int m) {
    lb::MediumRow const* row = lb::medium_row(m);
    return row ? row->name : nullptr;
}

std::string medium_label(int m) {
    char const* n = medium_name(m);
    return n ? std::string(n) : std::to_string(m);
}

MediumRollMedium parse_medium(std::string const& raw) {
    std::string const text = trim(raw);
    int n = 0;
    if (read_int(text, n)) {
        if (n < 0 || n > output_240p_1001_Medium)
            throw UsageError("medium number " + text + " is outside 0..70 (see `labels media`)");
        return static_cast<MediumRollMedium>(n);
    }
    int const found = text.find('\0') == std::string::npos ? lb::medium_from_name(text.c_str()) : -1;
    if (found >= 0) return static_cast<MediumRollMedium>(found);
    std::string l = lower(text);
    if (l.size() > 7 && l.compare(l.size() - 7, 7, "_medium") == 0) l.erase(l.size() - 7);
    std::vector<std::string> all;
    for (lb::MediumRow const& m : lb::kMedia)
        if (m.name) all.push_back(m.name);
    throw UsageError("unknown medium '" + text + "'." + did_you_mean(l, all) +
                     " A medium is its name (film, audio, source_30i_1001, output_25p ...) or its number 0..70;"
                     " `labels media` lists them.");
}

MediumRollGeneration parse_generation(std::string const& raw) {
    std::string const text = trim(raw);
    int n = 0;
    if (read_int(text, n)) {
        if (n < 0 || n > fourth_Generation) throw UsageError("generation " + text + " is outside 0..5");
        return static_cast<MediumRollGeneration>(n);
    }
    if (find_word(kGenerationWords, text, n)) return static_cast<MediumRollGeneration>(n);
    throw UsageError("unknown generation '" + text + "'." + did_you_mean(text, word_list(kGenerationWords)) +
                     " A generation is any, 1st, 2nd, 3rd, 4th or a number 0..5.");
}

char const* generation_name(int g) {
    return (g >= 0 && g <= fourth_Generation) ? kGenerationNames[g] : "?";
}

MediumRollIdent parse_medium_roll(std::string const& text) {
    std::size_t const comma = text.find(',');
    MediumRollIdent id{parse_medium(text.substr(0, comma)), any_Generation};
    if (comma != std::string::npos) id.generation = parse_generation(text.substr(comma + 1));
    return id;
}

Kest::FrameRate parse_rate(std::string const& raw) {
    std::string const text = trim(raw);
    std::string l = lower(text);
    if (l.rfind("framerate_", 0) == 0) l.erase(0, 10);
    int const found = l.find('\0') == std::string::npos ? lb::rate_from_name(l.c_str()) : -1;
    if (found >= 0) return static_cast<Kest::FrameRate>(found);
    std::vector<std::string> all;
    for (lb::RateRow const& r : lb::kRates) {
        if (!r.name) continue;
        all.push_back(r.name);
        for (char const* a : r.aliases)
            if (a) all.push_back(a);
    }
    int n = 0;
    bool const kest = l.rfind("kest:", 0) == 0;
    if (read_int(kest ? l.substr(5) : l, n)) {
        if (n < 0 || n > Kest::FrameRate_last)
            throw UsageError("frame rate number " + text + " is outside the Kest::FrameRate values 0..47 (see `labels rates`)");
        return static_cast<Kest::FrameRate>(n);
    }
    throw UsageError("unknown frame rate '" + text + "'." + did_you_mean(l, all) +
                     " A rate is a name in frames per second (24, 23.976, 25, 29.97, 30, 48, 50, 59.94, 60, ...),"
                     " a Kest::FrameRate name (film_at_25) or number (kest:N); `labels rates` lists them.");
}

std::string rate_name(Kest::FrameRate r) {
    char const* name = lb::rate_row(r).name;
    if (name && lb::rate_row(r).rate == r) return name;
    return "kest:" + std::to_string(static_cast<int>(r));
}

Kest::Image::ScanMode parse_scan(std::string const& text) {
    int n = 0;
    if (read_int(text, n)) {
        if (n < 0 || n > Kest::Image::ScanMode_progressive_segmented)
            throw UsageError("scan mode " + text + " is outside 0..4");
        return static_cast<Kest::Image::ScanMode>(n);
    }
    if (find_word(kScanWords, text, n)) return static_cast<Kest::Image::ScanMode>(n);
    throw UsageError("unknown scan mode '" + text + "'." + did_you_mean(text, word_list(kScanWords)) +
                     " A scan mode is interlaced (upper field first), lower, progressive, psf, or 0..4.");
}

char const* scan_name(int s) {
    return (s >= 0 && s <= Kest::Image::ScanMode_progressive_segmented) ? kScanNames[s] : "?";
}

transfer_type parse_transfer(std::string const& text) {
    int n = 0;
    if (read_int(text, n)) {
        if (n == 0 || n == 1 || n == 2 || n == 3 || n == 7) return static_cast<transfer_type>(n);
        throw UsageError("transfer kind " + text + " has no meaning; use 0, 1, 2, 3 or 7");
    }
    if (find_word(kTransferWords, text, n)) return static_cast<transfer_type>(n);
    throw UsageError("unknown transfer '" + text + "'." + did_you_mean(text, word_list(kTransferWords)) +
                     " A transfer is none, pull23 (2:3), pogle (24-to-25), frame (frame for frame) or pulldown"
                     " (the one the video rate calls for).");
}

char const* transfer_name(int t) {
    switch (t) {
        case transfer_unspecified: return "none";
        case transfer_pull23: return "pull23";
        case transfer_pogle: return "pogle";
        case transfer_frame_for_frame: return "frame";
        case transfer_pulldown: return "pulldown";
        default: return "?";
    }
}

bool parse_bool(std::string const& what, std::string const& text) {
    std::string const l = lower(trim(text));
    if (l == "yes" || l == "y" || l == "true" || l == "on" || l == "1") return true;
    if (l == "no" || l == "n" || l == "false" || l == "off" || l == "0") return false;
    throw UsageError(what + " takes yes or no (true/false, on/off, 1/0), not '" + text + "'");
}

}  // namespace cli
