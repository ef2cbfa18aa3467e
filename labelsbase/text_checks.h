// What a converter writes instead of failing, and the question a front end
// asks of a written text (label_text_is_plausible in labelcvt.h is the one
// it asks of a typed text).
//
// Edge cases: a null converter or text is a failure text.
#ifndef LABELSBASE_TEXT_CHECKS_H
#define LABELSBASE_TEXT_CHECKS_H

#include "labelsbase/labelcvt.h"

// What the film converters write for a count below 0.
inline constexpr char kNegativeCountText[] = "NEGATIVE";
// What a converter of no type writes for every sample.
inline constexpr char kNoTypeText[] = "???";

// Whether a converter's text for a sample is one of its failure texts: the
// template's invalid ('?') form, kNegativeCountText or kNoTypeText.
bool is_failure_text(label_cvt* c, char const* text);

#endif
