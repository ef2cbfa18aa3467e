// Medium-roll identifiers, stored medium-roll texts and configuration
// blocks, and the user-interface label categories, over any text and number.
#include <cstdio>
#include <cstring>
#include <string>

#include <labelsbase/labelsbase.h>

#include "fuzz_util.h"

namespace {

bool valid_or_invalid(MediumRollIdent const& id) {
    if (id.medium == unknown_Medium && id.generation == unknown_Generation) return true;
    return id.medium >= any_Medium && id.medium <= output_240p_1001_Medium && id.generation >= any_Generation &&
           id.generation <= fourth_Generation;
}

MediumRollIdent any_ident(FuzzInput& in) {
    return {static_cast<MediumRollMedium>(in.take<int>()), static_cast<MediumRollGeneration>(in.take<int>())};
}

// Reel names a stored text can carry: one token, so no separator and no NUL.
std::string reel_name(char const* t) {
    std::string r;
    for (; *t; ++t)
        if (*t != ':' && *t != ' ') r += *t;
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);
    auto const selector = in.take<uint8_t>();
    auto const user = static_cast<UserLabelType>(in.take<int>());
    MediumRollIdent const a = any_ident(in);
    MediumRollIdent const b = any_ident(in);
    auto const number = in.take<double>();
    auto text = in.text(200);
    auto text2 = in.rest();

    // Identifier texts: always a usable identifier or the invalid one, and
    // what "%2d,%1d" of the C library's formatted input reads, by the rules.
    MediumRollIdent id{};
    MediumRollId_from_string(text.get(), id, user);
    FUZZ_CHECK(valid_or_invalid(id));
    {
        int m = 0, g = 0;
        int const n = std::sscanf(text.get(), "%2d,%1d", &m, &g);
        MediumRollIdent want{unknown_Medium, unknown_Generation};
        if (n >= 1 && m >= any_Medium && m <= output_240p_1001_Medium) {
            if (n < 2 || g == 0) {
                g = m == video_Medium ? first_Generation : m == audio_Medium ? second_Generation : any_Generation;
                if (user == ink_UserLabel) m = ink_Medium;
            }
            if (g >= any_Generation && g <= fourth_Generation)
                want = {static_cast<MediumRollMedium>(m), static_cast<MediumRollGeneration>(g)};
        }
        FUZZ_CHECK(id.medium == want.medium && id.generation == want.generation);
    }
    MediumRollId_from_string(text.get(), id, none_UserLabel);
    FUZZ_CHECK(valid_or_invalid(id));
    {
        tokeniser t(text2.get(), " ");
        MediumRollId_from_tokens(t, id);
        FUZZ_CHECK(valid_or_invalid(id));
    }

    // Every identifier prints within its buffers; a usable one reads back.
    for (MediumRollIdent const& x : {a, b, id}) {
        char buf[24];
        int const n = MediumRollId_to_string(buf, x);
        FUZZ_CHECK(n > 0 && n < 24 && std::strlen(buf) == static_cast<size_t>(n));
        char const* us = MediumRollId_to_UserString(x);
        FUZZ_CHECK(us != nullptr && std::strlen(us) < 32);
        if (x.medium >= any_Medium && x.medium <= output_240p_1001_Medium && x.generation >= any_Generation &&
            x.generation <= fourth_Generation) {
            MediumRollIdent back{};
            MediumRollId_from_string(buf, back, none_UserLabel);
            FUZZ_CHECK(back.medium == x.medium && back.generation == x.generation);
        }
        (void)x.MediumRollId_fits_this(a);
        (void)a.MediumRollId_fits_this(x);
        // The wildcard identifier accepts every usable one.
        MediumRollIdent const wild{any_Medium, any_Generation};
        if (valid_or_invalid(x) && x.medium != unknown_Medium) FUZZ_CHECK(wild.MediumRollId_fits_this(x));
        // Nothing accepts, or is accepted by, an identifier with a zero field.
        if (x.medium == unknown_Medium || x.generation == unknown_Generation)
            FUZZ_CHECK(!a.MediumRollId_fits_this(x) && !x.MediumRollId_fits_this(a));
    }

    // Stored roll texts, as typed.
    MediumRoll r1(text.get());
    FUZZ_CHECK(valid_or_invalid(r1.ident));
    MediumRoll r2(text2.get());
    FUZZ_CHECK(valid_or_invalid(r2.ident));
    r2.fill_from_string(text.get());
    FUZZ_CHECK(valid_or_invalid(r2.ident));
    MediumRoll const r3(r1);
    FUZZ_CHECK(std::strcmp(r3.reelid.c_str(), r1.reelid.c_str()) == 0);
    (void)(r1 == r2);
    (void)(r3 != r1);

    // A stored text built from a usable identifier and a one-token reel name
    // reads back to both.
    std::string const reel = reel_name(text2.get());
    if (valid_or_invalid(a) && a.medium != unknown_Medium) {
        char idbuf[24];
        MediumRollId_to_string(idbuf, a);
        std::string stored = std::string("REV:1:MediumRollId:") + idbuf;
        if (!reel.empty()) stored += ":reelid:" + reel;
        MediumRoll const back(stored.c_str());
        FUZZ_CHECK(back.ident.medium == a.medium && back.ident.generation == a.generation);
        FUZZ_CHECK(std::strcmp(back.reelid.c_str(), reel.c_str()) == 0);
    }

    // Configuration blocks: a value of any text under any identifier's key,
    // looked up by that identifier and by another one.
    {
        configb config;
        char key[48];
        std::snprintf(key, sizeof key, "MediumRoll%d,%d", a.medium, a.generation);
        config.set(key, (selector & 1) ? text.get() : text2.get());
        MediumRoll const found(a, &config);
        FUZZ_CHECK(valid_or_invalid(found.ident));
        MediumRoll const other(b, &config);
        FUZZ_CHECK(valid_or_invalid(other.ident));
        if (a.medium != b.medium || a.generation != b.generation)
            FUZZ_CHECK(other.ident.medium == unknown_Medium && other.ident.generation == unknown_Generation &&
                       other.reelid.empty());
        MediumRoll const none(a, nullptr);
        FUZZ_CHECK(none.ident.medium == unknown_Medium);
    }

    // Medium mapping over any number.
    auto const m = static_cast<MediumRollMedium>(a.medium);
    auto const rate = static_cast<Kest::FrameRate>(b.medium);
    auto const scan = static_cast<Kest::Image::ScanMode>(b.generation);
    if (selector & 2) {
        // These print an assertion line for unmapped values; keep that rare.
        (void)getMediumRollfromInputDetails(scan, rate);
        (void)getMediumRollfromOutputDetails(scan, rate);
        (void)getMediumRollfromOutputFormat(OutputFormat::Details(scan, rate));
        (void)getOutputMediumfromFrameRate(rate);
        (void)getRepresentativeSourceMediumfromFrameRate(rate);
        (void)getDefaultLabelTypeForMedium(m);
        (void)getLabelTypeForMediumFrameRate(m);
    }
    Kest::FrameRate const fr = getFrameRatefromMedium(m);
    FUZZ_CHECK(fr >= 0 && fr <= Kest::FrameRate_last);
    double const dur = getSampleDurationFromMedium(m);
    FUZZ_CHECK(dur > 0.0 && dur < 1.0);
    (void)mediumRollIsFrameProgressive(m);
    (void)mediumIsDoubleRateProgressive(m);
    MediumRollMedium const out = getMediumRollfromOutputFramerateDouble(number);
    FUZZ_CHECK(out >= output_24p_Medium && out <= output_60p_1001_Medium);
    (void)getDefaultEditMediumForProject(rate);

    // User-interface label categories: a name found reads back to itself.
    VagueUIFLabel const cat = config_str_to_uifLabel(text.get());
    if (cat != uifNoLabel) {
        FUZZ_CHECK(std::strcmp(uifLabel_to_config_str(cat), text.get()) == 0);
    }
    auto const anycat = static_cast<VagueUIFLabel>(a.medium);
    char const* cs = uifLabel_to_config_str(anycat);
    FUZZ_CHECK(cs != nullptr);
    if (*cs) FUZZ_CHECK(config_str_to_uifLabel(cs) != uifNoLabel);
    (void)uifLabelText(anycat);
    UserLabelType const ut = uifLabelType(anycat);
    FUZZ_CHECK(ut >= none_UserLabel && ut <= film_frames_UserLabel);
    MediumRollIdent const& mr = uifLabelMedroll(anycat);
    FUZZ_CHECK(valid_or_invalid(mr));
    FUZZ_CHECK(uifResourceText(static_cast<ResId>(a.generation)) != nullptr);
    return 0;
}
