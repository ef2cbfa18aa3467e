// Reading media and generations by the names a user types.
#include "cli/core.h"
#include "cli/words.h"

namespace cli {

namespace {

// Media 0..70 by their enumerators without "_Medium"; null where the
// number has no enumerator.
constexpr char const* kMediumNames[] = {
    "unknown", "any", "film", "video", "audio", nullptr, nullptr, "time", "edit", nullptr,
    "ink", "lab", "cel", "source_24", "edit_24",
    "source_24p", "source_24p_1001", "source_24i", "source_24i_1001",
    "source_25p", "source_25i",
    "source_30p", "source_30p_1001", "source_30i", "source_30i_1001",
    "source_50p", "source_60p", "source_60p_1001",
    "output_24p", "output_24p_1001", "output_24i", "output_24i_1001",
    "output_25p", "output_25i",
    "output_30p", "output_30p_1001", "output_30i", "output_30i_1001",
    "output_50p", "output_60p", "output_60p_1001",
    "source_48p", "source_48p_1001", "output_48p", "output_48p_1001",
    "source_12p", "source_12p_1001", "source_12_5p", "source_15p", "source_15p_1001",
    "source_20p", "source_80p", "source_90p", "source_100p",
    "source_120p", "source_120p_1001", "source_240p", "source_240p_1001",
    "output_12p", "output_12p_1001", "output_12_5p", "output_15p", "output_15p_1001",
    "output_20p", "output_80p", "output_90p", "output_100p",
    "output_120p", "output_120p_1001", "output_240p", "output_240p_1001",
};
static_assert(sizeof(kMediumNames) / sizeof(kMediumNames[0]) == output_240p_1001_Medium + 1,
              "one name slot per medium");

constexpr Word kGenerationWords[] = {
    {"unknown", 0}, {"any", 1},   {"1st", 2},   {"first", 2}, {"2nd", 3},
    {"second", 3},  {"3rd", 4},   {"third", 4}, {"4th", 5},   {"fourth", 5},
};
constexpr char const* kGenerationNames[] = {"unknown", "any", "1st", "2nd", "3rd", "4th"};
static_assert(sizeof(kGenerationNames) / sizeof(kGenerationNames[0]) == fourth_Generation + 1,
              "one name per generation");

}  // namespace

char const* medium_name(int m) {
    if (m < 0 || m > output_240p_1001_Medium) return nullptr;
    return kMediumNames[m];
}

std::string medium_label(int m) {
    char const* n = medium_name(m);
    return n ? std::string(n) : std::to_string(m);
}

MediumRollMedium parse_medium(std::string const& raw) {
    std::string const text = trim(raw);
    int n = 0;
    if (read_int(text, n)) {
        if (n < 0 || n > output_240p_1001_Medium)
            throw UsageError("medium number " + text + " is outside 0..70 (see `labels media`)");
        return static_cast<MediumRollMedium>(n);
    }
    std::string l = lower(text);
    if (l.size() > 7 && l.compare(l.size() - 7, 7, "_medium") == 0) l.erase(l.size() - 7);
    std::vector<std::string> all;
    for (int m = 0; m <= output_240p_1001_Medium; ++m) {
        if (!kMediumNames[m]) continue;
        if (l == kMediumNames[m]) return static_cast<MediumRollMedium>(m);
        all.push_back(kMediumNames[m]);
    }
    throw UsageError("unknown medium '" + text + "'." + did_you_mean(l, all) +
                     " A medium is its name (film, audio, source_30i_1001, output_25p ...) or its number 0..70;"
                     " `labels media` lists them.");
}

MediumRollGeneration parse_generation(std::string const& raw) {
    std::string const text = trim(raw);
    int n = 0;
    if (read_int(text, n)) {
        if (n < 0 || n > fourth_Generation) throw UsageError("generation " + text + " is outside 0..5");
        return static_cast<MediumRollGeneration>(n);
    }
    if (find_word(kGenerationWords, text, n)) return static_cast<MediumRollGeneration>(n);
    throw UsageError("unknown generation '" + text + "'." + did_you_mean(text, word_list(kGenerationWords)) +
                     " A generation is any, 1st, 2nd, 3rd, 4th or a number 0..5.");
}

char const* generation_name(int g) {
    return (g >= 0 && g <= fourth_Generation) ? kGenerationNames[g] : "?";
}

MediumRollIdent parse_medium_roll(std::string const& text) {
    std::size_t const comma = text.find(',');
    MediumRollIdent id{parse_medium(text.substr(0, comma)), any_Generation};
    if (comma != std::string::npos) id.generation = parse_generation(text.substr(comma + 1));
    return id;
}

}  // namespace cli
