// Close-name suggestions for unknown names: edit distance, with a typed
// name that starts or ends a longer one counted as close.
#include <algorithm>

#include "cli/core.h"

namespace cli {

namespace {

std::size_t edit_distance(std::string const& a, std::string const& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diag = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t const up = row[j];
            std::size_t const cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + cost});
            diag = up;
        }
    }
    return row[b.size()];
}

}  // namespace

std::vector<std::string> close_names(std::string const& text, std::vector<std::string> const& candidates,
                                     std::size_t max) {
    std::string const t = lower(text);
    std::size_t const limit = std::max<std::size_t>(2, t.size() / 3);
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (std::string const& c : candidates) {
        std::string const l = lower(c);
        std::size_t d = edit_distance(t, l);
        // A typed name that starts or ends a longer one is close too
        // ("keycode_35" in "keycode_35_label").
        if (t.size() >= 3 &&
            (l.rfind(t, 0) == 0 || (l.size() > t.size() && l.compare(l.size() - t.size(), t.size(), t) == 0)))
            d = std::min<std::size_t>(d, 1);
        if (d <= limit) scored.emplace_back(d, c);
    }
    std::stable_sort(scored.begin(), scored.end(), [](auto const& a, auto const& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (auto const& s : scored) {
        if (std::find(out.begin(), out.end(), s.second) != out.end()) continue;
        out.push_back(s.second);
        if (out.size() == max) break;
    }
    return out;
}

std::string did_you_mean(std::string const& text, std::vector<std::string> const& candidates) {
    std::vector<std::string> const c = close_names(text, candidates);
    if (c.empty()) return "";
    std::string s = " Did you mean: ";
    for (std::size_t i = 0; i < c.size(); ++i) s += (i ? ", " : "") + c[i];
    return s + "?";
}

}  // namespace cli
