// The failure texts of the converters.
#include "labelsbase/text_checks.h"

#include <cstring>

#include "labelsbase/LabelTemplate.h"
#include "labelsbase/label_types.h"

bool is_failure_text(label_cvt* c, char const* text) {
    if (!c || !text) return true;
    if (std::strcmp(text, kNoTypeText) == 0 || std::strcmp(text, kNegativeCountText) == 0) return true;
    char const* inv = c->full_template.getInvalidString(invalid_sample);
    return inv[0] != '\0' && std::strcmp(text, inv) == 0;
}
