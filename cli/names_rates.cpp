// Reading frame rates, scan modes, transfers and yes/no values by the names
// a user types.
#include "cli/core.h"
#include "cli/words.h"
#include "labelsbase/vocabulary.h"

namespace cli {

namespace {

constexpr Word kScanWords[] = {
    {"unknown", 0},
    {"interlaced", 1},
    {"upper", 1},
    {"interlaced_upper", 1},
    {"i", 1},
    {"lower", 2},
    {"interlaced_lower", 2},
    {"progressive", 3},
    {"p", 3},
    {"psf", 4},
    {"segmented", 4},
    {"progressive_segmented", 4},
};
constexpr char const* kScanNames[] = {"unknown", "interlaced_upper", "interlaced_lower", "progressive",
                                      "progressive_segmented"};
static_assert(sizeof(kScanNames) / sizeof(kScanNames[0]) == Kest::Image::ScanMode_progressive_segmented + 1,
              "one name per scan mode");

constexpr Word kTransferWords[] = {
    {"none", transfer_unspecified},
    {"unspecified", transfer_unspecified},
    {"pull23", transfer_pull23},
    {"2:3", transfer_pull23},
    {"pogle", transfer_pogle},
    {"24to25", transfer_pogle},
    {"24-25", transfer_pogle},
    {"frame", transfer_frame_for_frame},
    {"frame_for_frame", transfer_frame_for_frame},
    {"pulldown", transfer_pulldown},
    // Between video media, none already means real time.
    {"real_time", transfer_unspecified},
    {"realtime", transfer_unspecified},
};

}  // namespace

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
            throw UsageError("frame rate number " + text +
                             " is outside the Kest::FrameRate values 0..47 (see `labels rates`)");
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
    if (trim(text).empty()) return transfer_unspecified;
    int n = 0;
    if (read_int(text, n)) {
        if (n == 0 || n == 1 || n == 2 || n == 3 || n == 7) return static_cast<transfer_type>(n);
        throw UsageError("transfer kind " + text + " has no meaning; use 0, 1, 2, 3 or 7");
    }
    if (find_word(kTransferWords, text, n)) return static_cast<transfer_type>(n);
    throw UsageError("unknown transfer '" + text + "'." + did_you_mean(text, word_list(kTransferWords)) +
                     " A transfer is none, real_time (video to video), pull23 (2:3), pogle (24-to-25), frame"
                     " (frame for frame), pulldown (the one the video rate calls for) or default (pulldown or"
                     " frame, as configured).");
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

bool rate_has_medium(Kest::FrameRate r) { return lb::rate_has_media(r); }

}  // namespace cli
