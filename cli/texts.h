// The command's reading of label texts, shared by the units that read them.
#ifndef LABELS_CLI_TEXTS_H
#define LABELS_CLI_TEXTS_H

#include "cli/core.h"

namespace cli {

// The text as the library is given it: without surrounding white space and,
// for KeyKode, without the spaces KeyKode is printed with on film
// ("KJ 23 1234 5678+05"). False when it does not fit.
// A 3-perf KeyKode or feet text of the type ends in the perforation
// index: 3-perf texts typed without it are completed as ".1" (the first
// perforation of the frame).
bool prepare_input(label_t t, char const* in, char* out, std::size_t size);
// Whether the type's texts end in a perforation index (".1" .. ".3").
bool has_perforation_index(label_t t);

}  // namespace cli

#endif
