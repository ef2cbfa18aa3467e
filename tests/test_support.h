// Helpers shared by the suites: enum casts, medium-roll identifiers compared,
// captured output and assertion
// lines, a canary-guarded output area, a host reset fixture, and a plain
// converter that lets label rules be checked apart from the registry's.
#ifndef LABELSBASE_TESTS_TEST_SUPPORT_H
#define LABELSBASE_TESTS_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <labelsbase/labelsbase.h>

inline label_t lt_(int v) { return static_cast<label_t>(v); }
inline Kest::FrameRate fr(int v) { return static_cast<Kest::FrameRate>(v); }
inline MediumRollMedium med(int v) { return static_cast<MediumRollMedium>(v); }
inline MediumRollIdent roll(int m, int g) { return {med(m), static_cast<MediumRollGeneration>(g)}; }

// The identifier is {m, g}.
inline testing::AssertionResult Same(MediumRollIdent const& a, int m, int g) {
    if (a.medium == m && a.generation == g) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "{" << a.medium << ", " << a.generation << "} vs {" << m << ", " << g << "}";
}

using Cvt = std::unique_ptr<label_cvt>;
inline Cvt fresh(label_t t) { return Cvt(make_any_label_cvt(t)); }

// What f prints on stdout.
template <class F>
std::string printed(F&& f) {
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
}

inline std::string assertion(char const* expr, char const* unit, int line) {
    return std::string("assertion failed ") + expr + " at labelsbase/" + unit + " line " + std::to_string(line) + "\n";
}

// An output area of N bytes followed by canary bytes.
template <int N = 9>
struct Guarded {
    char bytes[N + 32];
    Guarded() { std::memset(bytes, '#', sizeof bytes); }
    char* out() { return bytes; }
    bool all_hash_from(std::size_t from) const {
        for (std::size_t i = from; i < sizeof bytes; ++i)
            if (bytes[i] != '#') return false;
        return true;
    }
    bool canary_ok() const { return all_hash_from(N); }
    bool untouched() const { return all_hash_from(0); }
    std::string text() const { return std::string(bytes, strnlen(bytes, N)); }
};

// Default project and no configuration keys before and after each test.
struct HostReset : testing::Test {
    static void reset() {
        host::set_project_settings(host::default_project_settings());
        host::reset_config();
    }
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
};

// Prints and reads a sample as a plain decimal number and claims whatever
// label type and category a test needs.
class PlainFrames : public variable_label {
public:
    PlainFrames(label_t claimed, int samples_per_unit, UserLabelType user = timecode_UserLabel, bool prefixed = false,
                char const* name = "plain_frames")
        : variable_label(25, samples_per_unit), claimed_(claimed), user_(user), prefixed_(prefixed), name_(name) {}
    char const* type_str() const override { return name_; }
    label_t type() const override { return claimed_; }
    UserLabelType UserType() const override { return user_; }
    bool has_prefix() const override { return prefixed_; }
    int get_prefix_length() const override { return prefixed_ ? 4 : 0; }
    char const* get_abs_string(LabelPoint* lp, int s) override {
        std::snprintf(lp->text, sizeof lp->text, "%d", s);
        return lp->text;
    }
    char const* get_abs_perfs_string(LabelPoint* lp, int s) override {
        std::snprintf(lp->text, sizeof lp->text, "p%d", s);
        return lp->text;
    }
    unsigned get_abs_smpte_string(LabelPoint*, int s) override { return static_cast<unsigned>(s) + 7u; }
    int get_abs_sample(char const* t) override { return std::atoi(t); }
    double get_V2tc(int s) override { return s / 25.0; }
    char const* get_prefix(LabelPoint const* lp) const override { return prefixed_ ? lp->prefix : ""; }
    void set_prefix(LabelPoint* lp, char const* p) override {
        if (prefixed_ && p) std::snprintf(lp->prefix, sizeof lp->prefix, "%s", p);
    }

private:
    label_t claimed_;
    UserLabelType user_;
    bool prefixed_;
    char const* name_;
};

inline bool has_own_converter(label_t t) { return get_static_label_cvt(t)->type() != dummy_label_t; }

#endif
