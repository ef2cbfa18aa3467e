// Stop-gap medium mapping for position translation until the medium-roll
// unit lands: only the mapping functions translation calls. Drop this file
// when MediumRoll.cpp is merged.
#include "labelsbase/MediumRoll.h"

#include "labelsbase/internal.h"

namespace {

bool is_progressive(Kest::Image::ScanMode s) {
    return s == Kest::Image::ScanMode_progressive || s == Kest::Image::ScanMode_progressive_segmented;
}

struct RateMedia {
    int in_p, in_i, out_p, out_i;
};
// Kest::FrameRate 1..10.
constexpr RateMedia kRateMedia[] = {
    {15, 17, 28, 30}, {16, 18, 29, 31}, {19, 20, 32, 33}, {21, 23, 34, 36}, {22, 24, 35, 37},
    {41, 41, 43, 43}, {42, 42, 44, 44}, {25, 25, 38, 38}, {26, 26, 39, 39}, {27, 27, 40, 40},
};

}  // namespace

MediumRollMedium getMediumRollfromInputDetails(Kest::Image::ScanMode scan, Kest::FrameRate rate) {
    int const r = static_cast<int>(Kest::getNonDecimatedFrameRate(rate));
    if (r >= 1 && r <= 10) {
        RateMedia const& m = kRateMedia[r - 1];
        return static_cast<MediumRollMedium>(is_progressive(scan) ? m.in_p : m.in_i);
    }
    if (r >= 35 && r <= 47) return static_cast<MediumRollMedium>(r - 35 + 45);
    lb::assertion_failed("0", "labelsbase/MediumRoll line 224");
    return unknown_Medium;
}

MediumRollMedium getMediumRollfromOutputDetails(Kest::Image::ScanMode scan, Kest::FrameRate rate) {
    int const r = static_cast<int>(rate);
    if (r >= 1 && r <= 10) {
        RateMedia const& m = kRateMedia[r - 1];
        return static_cast<MediumRollMedium>(is_progressive(scan) ? m.out_p : m.out_i);
    }
    if (r >= 35 && r <= 47) return static_cast<MediumRollMedium>(r - 35 + 58);
    lb::assertion_failed("0", "labelsbase/MediumRoll line 361");
    return unknown_Medium;
}

MediumRollMedium getMediumRollfromOutputFormat(OutputFormat::Details const& d) {
    return getMediumRollfromOutputDetails(d.getScanMode(), d.getFrameRate());
}

Kest::FrameRate getFrameRatefromMedium(MediumRollMedium m) {
    int const v = static_cast<int>(m);
    for (int r = 1; r <= 10; ++r) {
        RateMedia const& e = kRateMedia[r - 1];
        if (v == e.in_p || v == e.in_i || v == e.out_p || v == e.out_i) return static_cast<Kest::FrameRate>(r);
    }
    if (v >= 45 && v <= 57) return static_cast<Kest::FrameRate>(v - 45 + 35);
    if (v >= 58 && v <= 70) return static_cast<Kest::FrameRate>(v - 58 + 35);
    return Kest::FrameRate_none;
}

MediumRollMedium getDefaultEditMediumForProject(Kest::FrameRate rate) {
    switch (static_cast<int>(rate)) {
    case 3: return source_25i_Medium;
    case 4:
    case 5: return source_30i_Medium;
    case 8: return source_50p_Medium;
    case 9:
    case 10: return source_60p_Medium;
    default: return source_24i_Medium;
    }
}
