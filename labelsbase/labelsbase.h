// labelsbase: one vocabulary for positions written on material.
// The umbrella header: everything the library exports.
#ifndef LABELSBASE_LABELSBASE_H
#define LABELSBASE_LABELSBASE_H

#include <host/host.h>

#include "labelsbase/LabelTemplate.h"
#include "labelsbase/labelcvt.h"
#include "labelsbase/LabelPoint.h"
#include "labelsbase/Label.h"
#include "labelsbase/MediumRollIdent.h"
#include "labelsbase/EditLabel.h"
#include "labelsbase/MediumRoll.h"
#include "labelsbase/VagueUIFLabel.h"
#include "labelsbase/transfer_type.h"
#include "labelsbase/legacy.h"
#include "labelsbase/timecode_rate.h"
#include "labelsbase/mposnxlate.h"
#include "labelsbase/positions.h"
#include "labelsbase/wrap.h"
#include "labelsbase/text_checks.h"
#include "labelsbase/edl.h"

#endif
