// The host tokeniser splits exactly where a character of the separator
// text stands, for every byte value (bytes above 127 included) and for
// separator texts of one, several and no characters, as a plain scan of
// the separator text would: checked against such a scan over generated
// texts.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <host/host.h>

namespace {

std::vector<std::string> reference_split(std::string const& text, char const* seps) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (std::strchr(seps, c)) {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

TEST(TokeniserSplit, MatchesAScanOfTheSeparatorText) {
    char const* const separator_sets[] = {" ", ": ", ",;\t", "", "\xe9", "\x80\xff a"};
    // Texts built from a small alphabet that mixes separators, plain
    // characters and bytes above 127, in every arrangement of length 4,
    // plus longer keep-string-like texts.
    char const alphabet[] = {' ', ':', 'a', '\xe9', ',', '\xff', '\t', '1'};
    std::vector<std::string> texts = {"LABEL_REV:1 pal_label  03:58:36.07 31057 0.0400000000 1",
                                      "  lead and trail  ", "::a::b::", std::string(300, 'x') + " y"};
    for (int code = 0; code < 8 * 8 * 8 * 8; ++code) {
        std::string t;
        for (int k = code, i = 0; i < 4; ++i, k /= 8) t += alphabet[k % 8];
        texts.push_back(t);
    }
    for (char const* seps : separator_sets) {
        for (std::string const& t : texts) {
            tokeniser tk(t.c_str(), seps);
            std::vector<std::string> const want = reference_split(t, seps);
            ASSERT_EQ(tk.num_tokens(), static_cast<int>(want.size())) << "'" << t << "' seps '" << seps << "'";
            for (int i = 0; i < tk.num_tokens(); ++i) EXPECT_EQ(want[i], tk.token(i));
        }
    }
}

}  // namespace
