// Stand-in for the medium-roll identifier unit until it lands: the parts
// edit labels use (keyword, parse, print, matching, invalid identifier).
#include "labelsbase/MediumRollIdent.h"

#include "labelsbase/internal.h"

namespace {
constexpr MediumRollIdent kInvalidIdent{unknown_Medium, unknown_Generation};

// Media an identifier accepts besides its own.
struct FitRow {
    signed char media[3];   // this medium (0-terminated)
    signed char accepts[4]; // accepted other media (0-terminated)
};
constexpr FitRow kFits[] = {
    {{13, 15, 17}, {15, 17}},   {{14, 28, 30}, {14, 28, 30}}, {{16, 18}, {16, 18}},
    {{19, 20}, {19, 20}},       {{21, 23}, {21, 23}},         {{22, 24}, {22, 24}},
    {{29, 31}, {28, 29, 31}},   {{32, 33}, {32, 33}},         {{34, 36}, {34, 36}},
    {{35, 37}, {35, 37}},
};

bool listed(signed char const* list, int n, int v) {
    for (int i = 0; i < n && list[i]; ++i)
        if (list[i] == v) return true;
    return false;
}
}  // namespace

char const* MediumRollId_name_str() { return "MediumRollId"; }

void MediumRollId_from_string(char const* text, MediumRollIdent& id, UserLabelType type) {
    id = kInvalidIdent;
    if (!text) return;
    char const* p = text;
    int medium = 0;
    int generation = 0;
    if (!lb::scan_int(p, 2, medium)) return;
    bool have_generation = false;
    if (*p == ',') {
        ++p;
        have_generation = lb::scan_int(p, 1, generation);
    }
    if (medium < 1 || medium > 70) return;
    if (!have_generation || generation == 0) {
        generation = medium == video_Medium ? first_Generation
                     : medium == audio_Medium ? second_Generation
                                              : any_Generation;
        if (type == ink_UserLabel) medium = ink_Medium;
    }
    if (generation < 1 || generation > 5) return;
    id.medium = static_cast<MediumRollMedium>(medium);
    id.generation = static_cast<MediumRollGeneration>(generation);
}

int MediumRollId_to_string(char* out, MediumRollIdent const& id) {
    char* p = lb::put_int(out, static_cast<int>(id.medium), 1, false);
    *p++ = ',';
    p = lb::put_int(p, static_cast<int>(id.generation), 1, false);
    *p = '\0';
    return static_cast<int>(p - out);
}

MediumRollIdent const& get_invalid_MediumRollIdent() { return kInvalidIdent; }

bool MediumRollIdent::MediumRollId_fits_this(MediumRollIdent const& other) const {
    if (other.medium == unknown_Medium || other.generation == unknown_Generation) return false;
    if (medium == unknown_Medium || generation == unknown_Generation) return false;
    bool const generation_fits = generation == any_Generation || generation == other.generation;
    if (medium == any_Medium) return generation_fits;
    if (!generation_fits) return false;
    if (medium == other.medium) return true;
    for (FitRow const& r : kFits)
        if (listed(r.media, 3, medium)) return listed(r.accepts, 4, other.medium);
    return false;
}
