// The command's reading of label texts, shared by the units that read them.
#ifndef LABELS_CLI_TEXTS_H
#define LABELS_CLI_TEXTS_H

#include "cli/core.h"

namespace cli {

// The text as the converter is given it: trimmed as the library trims
// typed texts (label_text_trim), KeyKode and ink numbers without the spaces
// they are printed with on film ("KJ 23 1234 5678+05"), and a 3-perf text
// without its perforation index completed as ".1" (the frame's first
// perforation). False when it does not fit.
bool prepare_input(label_t t, char const* in, char* out, std::size_t size);
// Whether the type's texts end in a perforation index (".1" .. ".3").
bool has_perforation_index(label_t t);

}  // namespace cli

#endif
