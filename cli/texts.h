// The command's reading of label texts, shared by the units that read them.
#ifndef LABELS_CLI_TEXTS_H
#define LABELS_CLI_TEXTS_H

#include "cli/core.h"

namespace cli {

// The text as the library is given it: without surrounding white space and,
// for KeyKode, without the spaces KeyKode is printed with on film
// ("KJ 23 1234 5678+05"). False when it does not fit.
bool prepare_input(label_t t, char const* in, char* out, std::size_t size);

}  // namespace cli

#endif
