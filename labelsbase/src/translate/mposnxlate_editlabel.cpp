// Translation to the medium of an edit label's medium roll.
#include "labelsbase/EditLabel.h"
#include "labelsbase/mposnxlate.h"

namespace {

// The medium of the label's roll; no label is no medium.
MediumRollMedium target_of(EditLabel* l) { return l ? l->get_MediumRoll().medium : unknown_Medium; }

}  // namespace

double mPosn_Xlate(double x, MediumRollMedium from, EditLabel* l) {
    MPosn_Xlate_Params P;
    return mPosn_Xlate(x, from, target_of(l), P, false);
}

double mPosn_Xlate(double x, MediumRollMedium from, EditLabel* l, Kest::FrameRate r) {
    MPosn_Xlate_Params P;
    P.project_rate = r;
    P.cel_resolution = Kest::getCelResolution(r);
    return mPosn_Xlate(x, from, target_of(l), P, false);
}

double mPosn_Xlate(double x, MediumRollMedium from, EditLabel* l, MPosn_Xlate_Params& P, Kest::FrameRate r) {
    P.project_rate = r;
    P.cel_resolution = Kest::getCelResolution(r);
    return mPosn_Xlate(x, from, target_of(l), P, false);
}

double mPosn_Xlate(double x, MediumRollMedium from, EditLabel* l, MPosn_Xlate_Params& P) {
    return mPosn_Xlate(x, from, target_of(l), P, false);
}
