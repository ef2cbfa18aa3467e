// Questions a front end asks of label texts before and after a converter
// handles them. The converters read leniently (a KeyKode or ink count that
// is no number reads as 0, feet read whatever number leads the text), and
// write a failure text instead of failing; these say which is which.
//
// Edge cases: a null converter or text answers false for has_count_digits
// and true for is_failure_text.
#ifndef LABELSBASE_TEXT_CHECKS_H
#define LABELSBASE_TEXT_CHECKS_H

#include "labelsbase/labelcvt.h"

// What the film converters write for a count below 0.
inline constexpr char kNegativeCountText[] = "NEGATIVE";
// What a converter of no type writes for every sample.
inline constexpr char kNoTypeText[] = "???";

// Whether the text holds digits where the converter's reader takes its
// count: the count field after the prefix of a KeyKode text (digits or '_'),
// the count of an ink number in the ink reader's own layout (the prefix and
// the last seven characters of a long text, a short one padded in front),
// the footage of a feet text after its sign. Any other converter: whether
// the text holds a digit at all.
bool has_count_digits(label_cvt* c, char const* text);

// Whether a converter's text for a sample is one of its failure texts: the
// template's invalid ('?') form, kNegativeCountText or kNoTypeText.
bool is_failure_text(label_cvt* c, char const* text);

#endif
