// Words a user types for small enumerations, each with its value.
#ifndef LABELS_CLI_WORDS_H
#define LABELS_CLI_WORDS_H

#include <string>
#include <vector>

#include "cli/core.h"

namespace cli {

struct Word {
    char const* word;
    int value;
};
template <std::size_t N>
inline bool find_word(Word const (&words)[N], std::string const& text, int& out) {
    std::string const l = lower(text);
    for (Word const& w : words)
        if (l == w.word) {
            out = w.value;
            return true;
        }
    return false;
}

template <std::size_t N>
inline std::vector<std::string> word_list(Word const (&words)[N]) {
    std::vector<std::string> v;
    for (Word const& w : words) v.push_back(w.word);
    return v;
}

}  // namespace cli

#endif
