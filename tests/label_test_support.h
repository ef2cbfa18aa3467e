// A small converter for label tests: prints and reads a sample as a plain
// decimal number, claims whatever label type and category a test needs, and
// keeps an optional prefix, so label rules can be checked without depending
// on a particular registry converter.
#ifndef LABELSBASE_TESTS_LABEL_TEST_SUPPORT_H
#define LABELSBASE_TESTS_LABEL_TEST_SUPPORT_H

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <labelsbase/labelsbase.h>

class PlainFrames : public variable_label {
public:
    PlainFrames(label_t claimed, int samples_per_unit, UserLabelType user = timecode_UserLabel,
                bool prefixed = false, char const* name = "plain_frames")
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
        if (!prefixed_ || !p) return;
        std::snprintf(lp->prefix, sizeof lp->prefix, "%s", p);
    }

private:
    label_t claimed_;
    UserLabelType user_;
    bool prefixed_;
    char const* name_;
};

// True when the registry holds the type's own converter (not the fallback).
inline bool has_own_converter(label_t t) { return get_static_label_cvt(t)->type() != dummy_label_t; }

#define REQUIRE_CONVERTER(t)                                                              \
    do {                                                                                  \
        if (!has_own_converter(t)) GTEST_SKIP() << #t " has no converter in this build"; \
    } while (0)

inline MediumRollIdent roll(int medium, int generation) {
    return MediumRollIdent{static_cast<MediumRollMedium>(medium), static_cast<MediumRollGeneration>(generation)};
}

#endif
