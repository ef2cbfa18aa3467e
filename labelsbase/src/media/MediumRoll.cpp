#include "labelsbase/MediumRoll.h"

#include <array>
#include <cstring>

#include "detail/internal.h"
#include "detail/log_keys.h"
#include "labelsbase/vocabulary.h"

// ---------------------------------------------------------------------------
// Medium rolls.

namespace {

constexpr char kConfigKeyPrefix[] = "MediumRoll";
// A stored roll is read into a buffer of this size; longer entries are the
// configuration block's to cut.
constexpr std::size_t kConfigValueSize = 64;

}  // namespace

MediumRoll::MediumRoll(MediumRollMedium m, MediumRollGeneration g) : ident{m, g} {}

MediumRoll::MediumRoll(MediumRollIdent const& id) : ident(id) {}

MediumRoll::MediumRoll(char const* text) : ident(get_invalid_MediumRollIdent()) {
    if (text) fill_from_string(text);
}

// The identifier only names the key; what is found there decides the roll.
MediumRoll::MediumRoll(MediumRollIdent const& id, configb* config) : ident(get_invalid_MediumRollIdent()) {
    if (!config) return;
    // "MediumRoll" (10) + "%d,%d" (at most 23) + terminator.
    char key[sizeof kConfigKeyPrefix + 24];
    std::memcpy(key, kConfigKeyPrefix, sizeof kConfigKeyPrefix - 1);
    MediumRollId_to_string(key + sizeof kConfigKeyPrefix - 1, id);
    char value[kConfigValueSize] = {};
    if (config->in(LightweightString<char>(key), value) != 0) return;
    value[kConfigValueSize - 1] = '\0';
    fill_from_string(value);
}

// A copy owns its reel text rather than sharing the other roll's buffer.
MediumRoll::MediumRoll(MediumRoll const& other) : ident(other.ident), reelid(other.reelid.c_str()) {}

MediumRoll::~MediumRoll() = default;

// "REV:1:MediumRollId:<medium>,<generation>[:reelid:<name>]", split at ':'
// and ' '. Anything but revision 1 is left alone; an unusable identifier
// still replaces the old one, as the invalid identifier.
void MediumRoll::fill_from_string(char const* text) {
    if (!text) return;
    tokeniser t(text, ": ");
    if (t.num_tokens() < 4) return;
    if (std::strcmp(t.token(0), "REV") != 0 || lb::atoi_(t.token(1)) != 1 ||
        std::strcmp(t.token(2), MediumRollId_name_str()) != 0)
        return;
    MediumRollId_from_string(t.token(3), ident, none_UserLabel);
    char const* key = t.token(4);
    char const* name = t.token(5);
    if (key && name && std::strcmp(key, "reelid") == 0) reelid = LightweightString<char>(name);
}

void MediumRoll::set_reelid(LightweightString<char> const& r) { reelid = r; }

// Reels are the same when their names read the same: a copy names the same
// reel as its original though it holds its own text, and a roll without a
// reel name matches one whose name is empty.
bool MediumRoll::operator==(MediumRoll const& other) const {
    if (std::strcmp(reelid.c_str(), other.reelid.c_str()) != 0) return false;
    return ident.MediumRollId_fits_this(other.ident);
}

MediumRoll const& invalid_MediumRoll() {
    // Built on first use so that initialisers of other units can ask for it.
    static MediumRoll const invalid(unknown_Medium, unknown_Generation);
    return invalid;
}

// ---------------------------------------------------------------------------
// Medium mapping.

namespace {

// Media of each Kest::FrameRate 0..47, gathered once from the vocabulary's
// rows: what material of that rate comes in as, what output at that rate
// plays out as. unknown_Medium: no medium stands for the rate.
struct RateMedia {
    MediumRollMedium source_p, source_i, output_p, output_i;
};

constexpr std::array<RateMedia, Kest::FrameRate_last + 1> gather_rate_media() {
    std::array<RateMedia, Kest::FrameRate_last + 1> t{};
    for (int r = 0; r <= Kest::FrameRate_last; ++r)
        t[r] = {lb::rate_source_medium(r, false), lb::rate_source_medium(r, true), lb::rate_output_medium(r, false),
                lb::rate_output_medium(r, true)};
    return t;
}
constexpr std::array<RateMedia, Kest::FrameRate_last + 1> kRateMedia = gather_rate_media();

RateMedia const* rate_media(Kest::FrameRate r) {
    return (r >= 0 && r <= Kest::FrameRate_last) ? &kRateMedia[r] : nullptr;
}

bool scan_is_progressive(Kest::Image::ScanMode scan) {
    return scan == Kest::Image::ScanMode_progressive || scan == Kest::Image::ScanMode_progressive_segmented;
}

}  // namespace

MediumRollMedium getMediumRollfromInputDetails(Kest::Image::ScanMode scan, Kest::FrameRate rate) {
    RateMedia const* row = rate_media(Kest::getNonDecimatedFrameRate(rate));
    if (!row || row->source_p == unknown_Medium) {
        lb::assertion_failed(lb::log_keys::input_medium_of_rate);
        return unknown_Medium;
    }
    return scan_is_progressive(scan) ? row->source_p : row->source_i;
}

MediumRollMedium getMediumRollfromOutputDetails(Kest::Image::ScanMode scan, Kest::FrameRate rate) {
    RateMedia const* row = rate_media(rate);
    if (!row || row->output_p == unknown_Medium) {
        lb::assertion_failed(lb::log_keys::output_medium_of_scan_and_rate);
        return unknown_Medium;
    }
    return scan_is_progressive(scan) ? row->output_p : row->output_i;
}

MediumRollMedium getMediumRollfromOutputFormat(OutputFormat::Details const& d) {
    return getMediumRollfromOutputDetails(d.getScanMode(), d.getFrameRate());
}

// Strict bounds on purpose: exactly 23.99, 29.99 or 59.99 falls through to 24p.
MediumRollMedium getMediumRollfromOutputFramerateDouble(double fps) {
    struct Band {
        double low, high;
        MediumRollMedium medium;
    };
    static constexpr Band kBands[] = {
        {23.0, 23.99, output_24p_1001_Medium}, {23.99, 24.1, output_24p_Medium}, {24.9, 25.1, output_25p_Medium},
        {29.0, 29.99, output_30p_1001_Medium}, {29.99, 30.1, output_30p_Medium}, {49.9, 50.1, output_50p_Medium},
        {59.8, 59.99, output_60p_1001_Medium}, {59.99, 60.1, output_60p_Medium},
    };
    for (Band const& b : kBands)
        if (b.low < fps && fps < b.high) return b.medium;
    return output_24p_Medium;
}

Kest::FrameRate getFrameRatefromMedium(MediumRollMedium m) { return lb::medium_rate(m); }

MediumRollMedium getOutputMediumfromFrameRate(Kest::FrameRate rate) {
    RateMedia const* row = rate_media(rate);
    if (!row || row->output_p == unknown_Medium) {
        lb::assertion_failed(lb::log_keys::output_medium_of_rate);
        return output_24p_Medium;
    }
    return row->output_p;
}

MediumRollMedium getRepresentativeSourceMediumfromFrameRate(Kest::FrameRate rate) {
    RateMedia const* row = rate_media(rate);
    if (!row || row->source_p == unknown_Medium) {
        lb::assertion_failed(lb::log_keys::source_medium_of_rate);
        return source_24p_Medium;
    }
    return row->source_p;
}

// An interlaced medium is sampled per field: half a frame.
double getSampleDurationFromMedium(MediumRollMedium m) {
    double const frame = Kest::getFrameDuration(getFrameRatefromMedium(m));
    return mediumRollIsFrameProgressive(m) ? frame : frame / 2;
}

bool mediumRollIsFrameProgressive(MediumRollMedium m) {
    lb::MediumRow const* f = lb::medium_row(m);
    return f && f->scan == lb::MediumScan::progressive;
}

bool mediumIsDoubleRateProgressive(MediumRollMedium m) {
    lb::MediumRow const* f = lb::medium_row(m);
    return f && f->double_rate;
}

label_t getDefaultLabelTypeForMedium(MediumRollMedium m) {
    lb::MediumRow const* f = lb::medium_row(m);
    if (!f || f->label_type == prefix_label_t) {
        lb::assertion_failed(lb::log_keys::label_type_of_medium);
        return prefix_label_t;
    }
    return f->label_type;
}

label_t getLabelTypeForMediumFrameRate(MediumRollMedium m) { return getDefaultLabelTypeForMedium(m); }

MediumRollMedium getDefaultEditMediumForProject() {
    return getDefaultEditMediumForProject(Kest::CurrentProject::getFrameRate(0));
}

// Rates outside 0..47 read the row of "no rate": 24 fps interlaced media.
MediumRollMedium getDefaultEditMediumForProject(Kest::FrameRate rate) { return lb::rate_row(rate).edit; }

MediumRollMedium getDefaultEditPlayoutMediumForProject() {
    return lb::rate_row(Kest::CurrentProject::getFrameRate(0)).playout;
}
