// Host clock, edit-timeline (cel) and project-sample conversions. The
// clock/cel entry points differ only in where the output rate and pulldown
// of the translation come from.
#include <climits>
#include <cmath>

#include "labelsbase/mposnxlate.h"

double mPosn_Xlate_ClockToCel(double t, Kest::OutputGearing const& g) {
    MPosn_Xlate_Params P(g);
    return mPosn_Xlate(t, time_Medium, cel_Medium, P, false);
}

double mPosn_Xlate_CelToClock(double c, Kest::OutputGearing const& g) {
    MPosn_Xlate_Params P(g);
    return mPosn_Xlate(c, cel_Medium, time_Medium, P, false);
}

double mPosn_Xlate_ClockToCel(double t, MPosn_Xlate_Params& P) {
    return mPosn_Xlate(t, time_Medium, cel_Medium, P, false);
}

double mPosn_Xlate_CelToClock(double c, MPosn_Xlate_Params& P) {
    return mPosn_Xlate(c, cel_Medium, time_Medium, P, false);
}

double mPosn_Xlate_ClockToCel(double t) {
    Kest::OutputGearing const g(static_cast<Kest::OutputGearing::ConstructionOptions>(1));
    return mPosn_Xlate_ClockToCel(t, g);
}

double mPosn_Xlate_CelToClock(double c) {
    Kest::OutputGearing const g(static_cast<Kest::OutputGearing::ConstructionOptions>(1));
    return mPosn_Xlate_CelToClock(c, g);
}

double transform_KESTtime_to_CELtime(double t) { return mPosn_Xlate(t, time_Medium, cel_Medium); }

double transform_CELtime_to_KESTtime(double c) { return mPosn_Xlate(c, cel_Medium, time_Medium); }

double sampleNr_to_CelPosn(int n) { return Kest::CurrentProject::getCelResolution() * n; }

int celPosn_to_SampleNr(double c) {
    double const s = std::floor(c / Kest::CurrentProject::getCelResolution() + 0.0001);
    if (std::isnan(s)) return 0;
    if (s <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (s >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(s);
}

int getTRSVelocityForCurrentUTR(double& velocity, MediumRollMedium, bool, transfer_type, Kest::FrameRate) {
    velocity = 1.0;
    return 0;
}
