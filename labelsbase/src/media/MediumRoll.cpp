#include "labelsbase/MediumRoll.h"

#include <cstring>

#include "detail/MediumFacts.h"
#include "detail/internal.h"

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
MediumRoll::MediumRoll(MediumRollIdent const& id, configb* config)
    : ident(get_invalid_MediumRollIdent()) {
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
MediumRoll::MediumRoll(MediumRoll const& other)
    : ident(other.ident), reelid(other.reelid.c_str()) {}

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

using lb::kMediumFacts;
using lb::MediumScan;
using lb::MediumSide;

// Media of each Kest::FrameRate 0..47: what material of that rate comes in
// as, what output at that rate plays out as, and the edit and playout media
// a project of that rate starts with. 0: no medium stands for the rate.
struct RateMedia {
    MediumRollMedium source_p, source_i, output_p, output_i;
    MediumRollMedium edit, playout;
};

constexpr MediumRollMedium M(int m) { return static_cast<MediumRollMedium>(m); }
constexpr RateMedia unmapped() {
    return {unknown_Medium, unknown_Medium, unknown_Medium, unknown_Medium, source_24i_Medium,
            output_24i_Medium};
}
constexpr RateMedia rate_row(int sp, int si, int op, int oi, int edit = source_24i_Medium,
                         int playout = output_24i_Medium) {
    return {M(sp), M(si), M(op), M(oi), M(edit), M(playout)};
}

constexpr RateMedia kRateMedia[] = {
    unmapped(),                      //  0 no rate
    rate_row(15, 17, 28, 30),            //  1 24
    rate_row(16, 18, 29, 31),            //  2 23.976
    rate_row(19, 20, 32, 33, 20, 33),    //  3 25
    rate_row(21, 23, 34, 36, 23, 37),    //  4 30
    rate_row(22, 24, 35, 37, 23, 37),    //  5 29.97
    rate_row(41, 41, 43, 43),            //  6 48
    rate_row(42, 42, 44, 44),            //  7 47.952
    rate_row(25, 25, 38, 38, 25, 33),    //  8 50
    rate_row(26, 26, 39, 39, 26, 37),    //  9 60
    rate_row(27, 27, 40, 40, 26, 37),    // 10 59.94
    unmapped(), unmapped(), unmapped(), unmapped(), unmapped(),  // 11..15
    unmapped(), unmapped(), unmapped(), unmapped(), unmapped(),  // 16..20
    unmapped(), unmapped(), unmapped(), unmapped(), unmapped(),  // 21..25 decimated
    unmapped(), unmapped(), unmapped(), unmapped(), unmapped(),  // 26..30 decimated
    unmapped(), unmapped(), unmapped(), unmapped(),              // 31..34 film rates
    rate_row(45, 45, 58, 58),            // 35 12
    rate_row(46, 46, 59, 59),            // 36 11.988
    rate_row(47, 47, 60, 60),            // 37 12.5
    rate_row(48, 48, 61, 61),            // 38 15
    rate_row(49, 49, 62, 62),            // 39 14.985
    rate_row(50, 50, 63, 63),            // 40 20
    rate_row(51, 51, 64, 64),            // 41 80
    rate_row(52, 52, 65, 65),            // 42 90
    rate_row(53, 53, 66, 66),            // 43 100
    rate_row(54, 54, 67, 67),            // 44 120
    rate_row(55, 55, 68, 68),            // 45 119.88
    rate_row(56, 56, 69, 69),            // 46 240
    rate_row(57, 57, 70, 70),            // 47 239.76
};
static_assert(sizeof(kRateMedia) / sizeof(kRateMedia[0]) == Kest::FrameRate_last + 1,
              "one row per frame rate 0..47");

// Every medium a rate maps to is a video medium of that rate, side and scan.
constexpr bool medium_is(int m, int r, MediumSide side, MediumScan scan) {
    return m == 0 || (kMediumFacts[m].rate == r && kMediumFacts[m].side == side &&
                      (kMediumFacts[m].scan == scan || kMediumFacts[m].double_rate ||
                       m >= source_48p_Medium));
}
constexpr bool rate_rows_agree_with_media() {
    for (int r = 0; r <= Kest::FrameRate_last; ++r) {
        RateMedia const& row = kRateMedia[r];
        if (!medium_is(row.source_p, r, MediumSide::source, MediumScan::progressive) ||
            !medium_is(row.source_i, r, MediumSide::source, MediumScan::interlaced) ||
            !medium_is(row.output_p, r, MediumSide::output, MediumScan::progressive) ||
            !medium_is(row.output_i, r, MediumSide::output, MediumScan::interlaced))
            return false;
        if (kMediumFacts[row.source_p].scan == MediumScan::interlaced ||
            kMediumFacts[row.output_p].scan == MediumScan::interlaced)
            return false;
    }
    return true;
}
static_assert(rate_rows_agree_with_media(), "rate table and media table disagree");

RateMedia const* rate_media(Kest::FrameRate r) {
    return (r >= 0 && r <= Kest::FrameRate_last) ? &kRateMedia[r] : nullptr;
}

bool scan_is_progressive(Kest::Image::ScanMode scan) {
    return scan == Kest::Image::ScanMode_progressive ||
           scan == Kest::Image::ScanMode_progressive_segmented;
}

}  // namespace

MediumRollMedium getMediumRollfromInputDetails(Kest::Image::ScanMode scan, Kest::FrameRate rate) {
    RateMedia const* row = rate_media(Kest::getNonDecimatedFrameRate(rate));
    if (!row || row->source_p == unknown_Medium) {
        lb::assertion_failed("0", "labelsbase/MediumRoll line 224");
        return unknown_Medium;
    }
    return scan_is_progressive(scan) ? row->source_p : row->source_i;
}

MediumRollMedium getMediumRollfromOutputDetails(Kest::Image::ScanMode scan, Kest::FrameRate rate) {
    RateMedia const* row = rate_media(rate);
    if (!row || row->output_p == unknown_Medium) {
        lb::assertion_failed("0", "labelsbase/MediumRoll line 361");
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
        {23.0, 23.99, output_24p_1001_Medium}, {23.99, 24.1, output_24p_Medium},
        {24.9, 25.1, output_25p_Medium},       {29.0, 29.99, output_30p_1001_Medium},
        {29.99, 30.1, output_30p_Medium},      {49.9, 50.1, output_50p_Medium},
        {59.8, 59.99, output_60p_1001_Medium}, {59.99, 60.1, output_60p_Medium},
    };
    for (Band const& b : kBands)
        if (b.low < fps && fps < b.high) return b.medium;
    return output_24p_Medium;
}

Kest::FrameRate getFrameRatefromMedium(MediumRollMedium m) {
    lb::MediumFacts const* f = lb::medium_facts(m);
    return f ? f->rate : Kest::FrameRate_none;
}

MediumRollMedium getOutputMediumfromFrameRate(Kest::FrameRate rate) {
    RateMedia const* row = rate_media(rate);
    if (!row || row->output_p == unknown_Medium) {
        lb::assertion_failed("false", "labelsbase/MediumRoll line 520");
        return output_24p_Medium;
    }
    return row->output_p;
}

MediumRollMedium getRepresentativeSourceMediumfromFrameRate(Kest::FrameRate rate) {
    RateMedia const* row = rate_media(rate);
    if (!row || row->source_p == unknown_Medium) {
        lb::assertion_failed("false", "labelsbase/MediumRoll line 577");
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
    lb::MediumFacts const* f = lb::medium_facts(m);
    return f && f->scan == MediumScan::progressive;
}

bool mediumIsDoubleRateProgressive(MediumRollMedium m) {
    lb::MediumFacts const* f = lb::medium_facts(m);
    return f && f->double_rate;
}

label_t getDefaultLabelTypeForMedium(MediumRollMedium m) {
    lb::MediumFacts const* f = lb::medium_facts(m);
    if (!f || f->label_type == prefix_label_t) {
        lb::assertion_failed("false", "labelsbase/MediumRoll line 696");
        return prefix_label_t;
    }
    return f->label_type;
}

label_t getLabelTypeForMediumFrameRate(MediumRollMedium m) {
    return getDefaultLabelTypeForMedium(m);
}

MediumRollMedium getDefaultEditMediumForProject() {
    return getDefaultEditMediumForProject(Kest::CurrentProject::getFrameRate(0));
}

MediumRollMedium getDefaultEditMediumForProject(Kest::FrameRate rate) {
    RateMedia const* row = rate_media(rate);
    return row ? row->edit : source_24i_Medium;
}

MediumRollMedium getDefaultEditPlayoutMediumForProject() {
    RateMedia const* row = rate_media(Kest::CurrentProject::getFrameRate(0));
    return row ? row->playout : output_24i_Medium;
}
