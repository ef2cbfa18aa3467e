// The host stand-in: configuration blocks, tokeniser and allocator. (The
// rate arithmetic is pinned for every rate by test_mposnxlate_golden.)
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

TEST(HostConfig, BlockValuesAreBoundedToTheirBuffer) {
    configb c;
    c.set("MediumRoll28,2", "REV:1:MediumRollId:28,2");
    char out[64];
    EXPECT_EQ(c.in(LightweightString<char>("MediumRoll28,2"), out), 0);
    EXPECT_STREQ(out, "REV:1:MediumRollId:28,2");
    EXPECT_NE(c.in(LightweightString<char>("MediumRoll28,3"), out), 0);
    c.set("long", std::string(500, 'x').c_str());
    Guarded<64> g;
    EXPECT_EQ(c.in(LightweightString<char>("long"), g.out()), 0);
    EXPECT_EQ(std::strlen(g.out()), configb::max_value_length);
    EXPECT_TRUE(g.canary_ok());
}

// The tokeniser splits exactly where a character of the separator text
// stands, for every byte value and for separator texts of one, several and
// no characters, as a plain scan would; texts around the inline capacity
// (256 characters, 32 tokens) take the heap path too.
std::vector<std::string> reference_split(std::string const& text, char const* seps) {
    std::vector<std::string> out(1);
    for (char c : text) {
        if (!std::strchr(seps, c))
            out.back() += c;
        else if (!out.back().empty())
            out.emplace_back();
    }
    if (out.back().empty()) out.pop_back();
    return out;
}

TEST(HostText, TokeniserSplitsAsAScanOfTheSeparatorText) {
    std::vector<std::string> texts = {"", "LABEL_REV:1 pal_label  03:58:36.07 31057 0.0400000000 1", "::a::b::"};
    for (int n : {254, 255, 256, 257}) texts.push_back(std::string(n, 'x') + " y");
    for (int n : {31, 32, 33, 300}) {
        texts.emplace_back();
        for (int i = 0; i < n; ++i) texts.back() += "tok" + std::to_string(i) + " ";
    }
    char const alphabet[] = {' ', ':', 'a', '\xe9', ',', '\xff', '\t', '1'};  // every arrangement of length 4
    for (int code = 0; code < 8 * 8 * 8 * 8; ++code) {
        texts.emplace_back();
        for (int k = code, i = 0; i < 4; ++i, k /= 8) texts.back() += alphabet[k % 8];
    }
    for (char const* seps : {" ", ": ", ",;\t", "", "\xe9", "\x80\xff a"})
        for (std::string const& t : texts) {
            tokeniser tk(t.c_str(), seps);
            std::vector<std::string> const want = reference_split(t, seps);
            ASSERT_EQ(tk.num_tokens(), static_cast<int>(want.size())) << "'" << t << "' seps '" << seps << "'";
            for (int i = 0; i < tk.num_tokens(); ++i) ASSERT_EQ(want[i], tk.token(i));
            ASSERT_EQ(tk.token(tk.num_tokens()), nullptr);
        }
    tokeniser t("REV:1: MediumRollId:28,2::reelid A001", ": ");
    EXPECT_EQ(t.token(-1), nullptr);
    t.set_index(5);
    EXPECT_STREQ(t.next(), "A001");
    EXPECT_EQ(t.next(), nullptr);
    EXPECT_EQ(tokeniser(nullptr, " ").num_tokens(), 0);
}

void* volatile g_sink;  // keeps the optimiser from eliding a new/delete pair

TEST(HostMemory, EveryAllocationGoesThroughTheHostAllocator) {
    host::AllocationStats const a = host::allocation_stats();
    { tokeniser t("LABEL_REV:1 pal_label 01:00:00.00 100 0.0400000000 1", " "); }  // short texts need no heap
    EXPECT_EQ(host::allocation_stats().allocations, a.allocations);
    int* p = new int(5);
    g_sink = p;
    EXPECT_EQ(host::allocation_stats().allocations, a.allocations + 1);
    EXPECT_EQ(host::allocation_stats().live_bytes, a.live_bytes + sizeof(int));
    delete p;
    EXPECT_EQ(host::allocation_stats().live_bytes, a.live_bytes);
    EXPECT_EQ(::operator new(static_cast<std::size_t>(-1) / 2, std::nothrow), nullptr);
}

}  // namespace

// A program that switches between a few settings for a long time (a Python
// pipeline alternating transfer options, a fuzzer) keeps one snapshot per
// distinct setting, not one per call.
TEST(HostSettings, SwitchingBetweenSettingsKeepsMemoryBounded) {
    host::ProjectSettings a = host::default_project_settings();
    host::ProjectSettings b = a;
    b.frame_rate = Kest::FrameRate_25;
    auto round = [&] {
        host::set_project_settings(a);
        host::set_config_int("video_in_film_pulldown", 1);
        host::set_project_settings(b);
        host::set_config_int("video_in_film_pulldown", 0);
    };
    round();
    host::AllocationStats const before = host::allocation_stats();
    for (int i = 0; i < 1000; ++i) round();
    EXPECT_EQ(host::allocation_stats().allocations, before.allocations);
    EXPECT_EQ(host::project_settings().frame_rate, Kest::FrameRate_25);
    EXPECT_EQ(config_int("video_in_film_pulldown", 7), 0);
    host::set_project_settings(host::default_project_settings());
    host::reset_config();
}
