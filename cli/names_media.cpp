// Reading media and generations by the names a user types.
#include "cli/core.h"
#include "cli/words.h"
#include "labelsbase/vocabulary.h"

namespace cli {

namespace {

constexpr Word kGenerationWords[] = {
    {"unknown", 0}, {"any", 1}, {"1st", 2},   {"first", 2}, {"2nd", 3},
    {"second", 3},  {"3rd", 4}, {"third", 4}, {"4th", 5},   {"fourth", 5},
};
constexpr char const* kGenerationNames[] = {"unknown", "any", "1st", "2nd", "3rd", "4th"};
static_assert(sizeof(kGenerationNames) / sizeof(kGenerationNames[0]) == fourth_Generation + 1,
              "one name per generation");

}  // namespace

char const* medium_name(int m) {
    lb::MediumRow const* row = lb::medium_row(m);
    return row ? row->name : nullptr;
}

std::string medium_label(int m) {
    char const* n = medium_name(m);
    return n ? std::string(n) : std::to_string(m);
}

namespace {

std::string media_numbers() { return "0.." + std::to_string(lb::medium_count - 1); }

}  // namespace

MediumRollMedium parse_medium(std::string const& raw) {
    std::string const text = trim(raw);
    int n = 0;
    if (read_int(text, n)) {
        if (n < 0 || n >= lb::medium_count)
            throw UsageError("medium number " + text + " is outside " + media_numbers() + " (see `labels media`)");
        return static_cast<MediumRollMedium>(n);
    }
    int const found = text.find('\0') == std::string::npos ? lb::medium_from_name(text.c_str()) : -1;
    if (found >= 0) return static_cast<MediumRollMedium>(found);
    std::string l = lower(text);
    if (l.size() > 7 && l.compare(l.size() - 7, 7, "_medium") == 0) l.erase(l.size() - 7);
    std::vector<std::string> all;
    for (lb::MediumRow const& m : lb::kMedia)
        if (m.name) all.push_back(m.name);
    // A frame rate where a medium goes: the media of that rate.
    int const rate = text.find('\0') == std::string::npos ? lb::rate_from_name(l.c_str()) : -1;
    if (rate > 0 && lb::rate_has_media(rate)) {
        MediumRollMedium const p = lb::rate_source_medium(rate, false), i = lb::rate_source_medium(rate, true);
        std::string names = medium_label(p);
        if (i != p) names += " (or " + medium_label(i) + " interlaced)";
        throw UsageError("unknown medium '" + text + "'; did you mean " + names + "? '" + text +
                         "' is a frame rate; a medium names its side, rate and scan (`labels media`).");
    }
    throw UsageError("unknown medium '" + text + "'." + did_you_mean(l, all) +
                     " A medium is its name (film, audio, source_30i_1001, output_25p ...) or its number " +
                     media_numbers() + "; `labels media` lists them.");
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

char const* generation_name(int g) { return (g >= 0 && g <= fourth_Generation) ? kGenerationNames[g] : "?"; }

MediumRollIdent parse_medium_roll(std::string const& text) {
    std::size_t const comma = text.find(',');
    MediumRollIdent id{parse_medium(text.substr(0, comma)), any_Generation};
    if (comma != std::string::npos) id.generation = parse_generation(text.substr(comma + 1));
    return id;
}

}  // namespace cli
