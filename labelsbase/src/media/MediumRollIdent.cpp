#include "labelsbase/MediumRollIdent.h"

#include <cstddef>

#include "detail/internal.h"
#include "labelsbase/vocabulary.h"

namespace {

// Constant-initialised, so other units' load-time initialisers may hand it
// out before this unit's own initialisers have run.
constexpr MediumRollIdent kInvalidIdent{unknown_Medium, unknown_Generation};

constexpr char const* kGenerationSuffix[] = {",gen?", ",anyGen", ",1stGen", ",2ndGen", ",3rdGen", ",4thGen"};
static_assert(sizeof(kGenerationSuffix) / sizeof(kGenerationSuffix[0]) == fourth_Generation + 1,
              "one suffix per generation 0..5");

constexpr std::size_t kUserStringSize = 32;
// One per thread: valid until that thread's next call.
thread_local char g_user_string[kUserStringSize];

// Appends s at *len, never past the last byte kept for the terminator.
void append_bounded(char* buf, std::size_t size, std::size_t& len, char const* s) {
    while (*s && len + 1 < size) buf[len++] = *s++;
    buf[len] = '\0';
}

// The generation a stored identifier means when it names only its medium:
// video material is first generation, audio second, everything else any.
MediumRollGeneration default_generation(int medium) {
    if (medium == video_Medium) return first_Generation;
    if (medium == audio_Medium) return second_Generation;
    return any_Generation;
}

}  // namespace

char const* MediumRollId_name_str() { return "MediumRollId"; }

MediumRollIdent const& get_invalid_MediumRollIdent() { return kInvalidIdent; }

// Reads "%2d,%1d" the way sscanf does: white space, a medium of at most two
// characters (sign included), a literal comma, then white space and a
// one-character generation. A missing or unreadable generation counts as
// "medium only".
void MediumRollId_from_string(char const* text, MediumRollIdent& id, UserLabelType type) {
    id = kInvalidIdent;
    if (!text) return;
    char const* p = text;
    int medium = 0;
    if (!lb::scan_int(p, 2, medium)) return;
    int generation = 0;
    bool const have_generation = *p == ',' && (++p, lb::scan_int(p, 1, generation));

    if (medium < any_Medium || medium >= lb::medium_count) return;
    if (!have_generation || generation == 0) {
        generation = default_generation(medium);
        // An ink-number label names film by its medium alone; the generation
        // chosen for the film medium stays.
        if (type == ink_UserLabel) medium = ink_Medium;
    }
    if (generation < any_Generation || generation > fourth_Generation) return;
    id.medium = static_cast<MediumRollMedium>(medium);
    id.generation = static_cast<MediumRollGeneration>(generation);
}

void MediumRollId_from_tokens(tokeniser& t, MediumRollIdent& id) {
    MediumRollId_from_string(t.next(), id, none_UserLabel);
}

int MediumRollId_to_string(char* out, MediumRollIdent const& id) {
    // At most 11 + 1 + 11 characters and the terminator: 24 bytes.
    char* p = lb::put_int(out, id.medium, 1, false);
    *p++ = ',';
    p = lb::put_int(p, id.generation, 1, false);
    *p = '\0';
    return static_cast<int>(p - out);
}

char const* MediumRollId_to_UserString(MediumRollIdent const& id) {
    std::size_t len = 0;
    g_user_string[0] = '\0';
    lb::MediumRow const* f = lb::medium_row(id.medium);
    append_bounded(g_user_string, kUserStringSize, len, f ? f->shown_as : "med?");
    int const g = id.generation;
    append_bounded(g_user_string, kUserStringSize, len,
                   (g >= any_Generation && g <= fourth_Generation) ? kGenerationSuffix[g] : kGenerationSuffix[0]);
    return g_user_string;
}

bool MediumRollIdent::MediumRollId_fits_this(MediumRollIdent const& other) const {
    if (other.medium == unknown_Medium || other.generation == unknown_Generation) return false;
    if (medium == unknown_Medium || generation == unknown_Generation) return false;
    bool const generation_fits = generation == any_Generation || generation == other.generation;
    if (medium == any_Medium) return generation_fits;
    if (!generation_fits) return false;
    if (medium == other.medium) return true;
    lb::MediumRow const* f = lb::medium_row(medium);
    if (!f) return false;
    for (MediumRollMedium accepted : f->accepts)
        if (accepted != unknown_Medium && accepted == other.medium) return true;
    return false;
}
