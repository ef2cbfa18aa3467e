// Keep strings: Label(char const*) and EditLabel(char const*) over any text,
// then make_keep_string of what was read, and of labels built from any type,
// sample, length, pitch and bound, into exactly-sized heap buffers (128 bytes
// for a label, 131 for an edit label) so a longer write is caught. What is
// written must read back to an equal label where the rules promise it; the
// checks below say where they do not.
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <memory>

#include <labelsbase/labelsbase.h>
#include <labelsbase/Label.h>
#include <labelsbase/EditLabel.h>

#include "fuzz_util.h"

namespace {

constexpr size_t kLabelKeep = 128;
constexpr size_t kEditKeep = 131;

// The keep string written into exactly `size` heap bytes: terminated inside.
template <typename L>
std::unique_ptr<char[]> keep_of(L const& l, size_t size) {
    std::unique_ptr<char[]> buf(new char[size]);
    char* got = l.make_keep_string(buf.get());
    FUZZ_CHECK(got == buf.get());
    FUZZ_CHECK(std::memchr(buf.get(), '\0', size) != nullptr);
    return buf;
}

// Samples the keep string's start text gives back exactly. The text is the
// display text of the start sample, so:
//  - timecode: a sample within the day (normalising leaves one day as a
//    whole day, which prints as 00:00:00:00) at the registry's flags, and no
//    half-rate reading (a text then counts timecode frames, not samples);
//  - KeyKode, ink and 35/16 mm feet: whole frames (the text shows no
//    perforation within a frame) within one count or feet period;
//  - 3-perf film (KeyKode and feet): every perforation within the period;
//  - film frames: every sample;
//  - types without a converter of their own print "???": none;
//  - the invalid, past-end and before-start samples print the template's
//    '?', '>' and '<' forms: none.
bool start_reads_back(label_cvt* cvt, int s) {
    if (s == invalid_sample || s == past_end_sample || s == before_start_sample) return false;
    int const spu = cvt->samples_per_unit();
    switch (cvt->UserType()) {
    case timecode_UserLabel: {
        if (cvt->isSpecialSlowTC()) return false;
        int const day = cvt->type() == ntsc_drop_label_t ? 2589408 : cvt->get_modulus() * 86400;
        return s >= 0 && s < day;
    }
    case keycode_UserLabel:
        if (spu == 3) return s >= 0 && s <= 639997;
        return s >= 0 && s % spu == 0 && cvt->normalise_sample_unit(s) == s;
    case ink_UserLabel: return s >= 0 && s % spu == 0 && cvt->normalise_sample_unit(s) == s;
    case feet_UserLabel:
        if (spu == 3) return s >= -6399997 && s <= 6399997;
        return s % spu == 0 && s / spu < 100000 * cvt->get_modulus() && s / spu > -100000 * cvt->get_modulus();
    case film_frames_UserLabel: return true;
    default: return false;
    }
}

// A prefix survives the round trip when it is one token of letters and
// digits and fills the prefix field (the reader takes the prefix from the
// start text, which prints prefix_len characters of it). An ink prefix
// shorter than 11 characters is read as a typed number and padded with
// leading zeros, so its letters move.
bool prefix_reads_back(char const* p, label_cvt* cvt) {
    int const prefix_len = cvt->UserType() == ink_UserLabel ? 11 : cvt->get_prefix_length();
    int n = 0;
    for (; p[n]; ++n) {
        char const c = p[n];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return false;
    }
    return n >= prefix_len;
}

void round_trip(Label& l, char const* prefix, MediumRollIdent const& id) {
    label_cvt* cvt = l.start.cvt();
    if (cvt->type() == dummy_label_t) return;
    int const spu = cvt->samples_per_unit();
    // The length is written in whole units and the pitch with ten decimals
    // of seconds per unit; a pitch of more than 18 integer digits may not
    // fit an edit label's line beside the identifier.
    bool const exact = start_reads_back(cvt, l.start.sample) && l.length % spu == 0 && std::isfinite(l.pitch) &&
                       std::fabs(l.pitch * spu) < 1e18 && (!cvt->has_prefix() || prefix_reads_back(prefix, cvt));
    auto const keep = keep_of(l, kLabelKeep);
    Label const back(keep.get());
    if (!exact) return;
    FUZZ_CHECK(back.start.cvt() == cvt);
    FUZZ_CHECK(back.start.sample == l.start.sample);
    FUZZ_CHECK(back.length == l.length);
    FUZZ_CHECK(back.bounded == l.bounded);
    FUZZ_CHECK(back.revision == 1);
    FUZZ_CHECK(std::fabs(back.pitch * spu - l.pitch * spu) <= 0.51e-10 * (1 + std::fabs(l.pitch * spu)));
    if (cvt->has_prefix()) {
        // The reader keeps prefix and count of the start text; the first
        // prefix_len characters are the prefix written.
        size_t const plen = static_cast<size_t>(cvt->get_prefix_length());
        FUZZ_CHECK(std::strncmp(back.start.prefix, prefix, plen) == 0);
    } else if (l == l) {
        // Equality compares the points at offsets 0 and length under the
        // range rule, so a bounded label with a negative length has its start
        // outside its own span and equals nothing, itself included.
        FUZZ_CHECK(back == l);
    }

    EditLabel e(l, id);
    e.pitch = l.pitch;
    auto const ekeep = keep_of(e, kEditKeep);
    EditLabel const eback(ekeep.get());
    FUZZ_CHECK(eback.start.sample == l.start.sample && eback.length == l.length);
    // Identifiers that print and parse: usable ones and the invalid one.
    bool const usable = id.medium >= any_Medium && id.medium <= output_240p_1001_Medium &&
                        id.generation >= any_Generation && id.generation <= fourth_Generation;
    if (usable || (id.medium == unknown_Medium && id.generation == unknown_Generation))
        FUZZ_CHECK(eback.medium_roll.medium == id.medium && eback.medium_roll.generation == id.generation);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, size_t size) {
    FuzzInput in(data, size);
    auto const type = static_cast<label_t>(in.take<uint8_t>() % label_type_count);
    auto const how = in.take<uint8_t>();
    auto const sample = in.take<int>();
    auto const length = in.take<int>();
    auto pitch = in.take<double>();
    auto const bounded = in.take<int>();
    MediumRollIdent const id{static_cast<MediumRollMedium>(in.take<int>()),
                             static_cast<MediumRollGeneration>(in.take<int>())};
    auto prefix = in.text(40);
    auto text = in.rest();

    // Any text through both readers and back out.
    {
        Label const l(text.get());
        keep_of(l, kLabelKeep);
        (void)l.get_string(0);
        EditLabel const e(text.get());
        keep_of(e, kEditKeep);
        (void)e.is_valid();
        // What was read writes a keep string that reads again.
        auto const again = keep_of(l, kLabelKeep);
        Label const l2(again.get());
        keep_of(l2, kLabelKeep);
        Label const lstatic(l.make_keep_string(nullptr));
        (void)lstatic;
        EditLabel const e2(e.make_keep_string(nullptr));
        keep_of(e2, kEditKeep);
    }

    // A label's span rules, times and containment with any offsets and times.
    {
        Label const l(text.get());
        EditLabel e(text.get());
        double const t = pitch;
        for (int off : {sample, length, bounded, 0, -1, invalid_sample}) {
            (void)std::strlen(l.get_string(off));
            (void)std::strlen(l.get_perfs_string(off));
            (void)l.get_smpte_string(off);
            (void)l.cmp(off);
            (void)l.get_abs_posn(off);
            (void)l.get_abs_posn_extrapolate(off);
            (void)l.sample_to_posn(off);
            (void)l.get_sample(off);
            (void)l.contains(off);
            LabelPoint p = l.get_label_point(off);
            (void)std::strlen(p.get_string());
            (void)l.get_unbounded_label_point(off);
        }
        (void)l.posn_to_sample(t);
        (void)l.abs_posn_to_sample(t);
        (void)l.contains(e);
        (void)e.contains(l);
        (void)(l == e);
        bool drop = false;
        (void)l.get_samples_from_SMPTETc(static_cast<unsigned>(sample), drop);
        // Pitch rules and medium-roll tests over the media and transfers
        // there are (and a few beyond), on every camera speed that matters.
        auto small = [](int v, int n) { return static_cast<int>(static_cast<unsigned>(v) % n); };
        MediumRollIdent const near{static_cast<MediumRollMedium>(small(id.medium, 72)),
                                   static_cast<MediumRollGeneration>(small(id.generation, 7))};
        host::ProjectSettings ps = host::default_project_settings();
        static constexpr Kest::FrameRate kCamera[] = {Kest::FrameRate_24, Kest::FrameRate_25, Kest::FrameRate_30,
                                                      Kest::FrameRate_48};
        ps.in_camera_film_speed = kCamera[how >> 5 & 3];
        host::set_project_settings(ps);
        e.set_MediumRoll((how & 128) ? id : near);
        e.fix_audio_label_pitch(static_cast<transfer_type>(small(length, 9)),
                                static_cast<MediumRollMedium>(small(bounded, 72)));
        e.fix_audio_label_pitch(static_cast<transfer_type>(length), static_cast<MediumRollMedium>(bounded));
        EditLabel const other(type, near);
        (void)e.equivalentPlayoutLabelMediumRolls(other);
        (void)e.equivalentPreviousGenerationMediumRolls(other);
        (void)other.equivalentPlayoutLabelMediumRolls(e);
        (void)other.equivalentPreviousGenerationMediumRolls(e);
        (void)e.is_valid();
        // Copies, assignment and type changes.
        EditLabel e2(e);
        FUZZ_CHECK(e2 == e || !(e == e));
        e2 = other;
        e2.init(near);
        e2.set_type(type);
        (void)(e2 == e);
        Label a(l);
        a = e;
        Label const from_point(l.start);
        a.set_type(type);
        a.set_prefix(prefix.get());
        a.init();
        keep_of(a, kLabelKeep);
        keep_of(from_point, kLabelKeep);
        keep_of(e2, kEditKeep);
        host::set_project_settings(host::default_project_settings());
        e.set_end(sample);
        keep_of(e, kEditKeep);
    }

    // A label built from any fields.
    if (how & 1) pitch = Label::get_natural_pitch(type) * ((how & 2) ? 1.0 : 1.001);
    Label l(type);
    l.start.sample = (how & 4) ? sample : l.start.cvt()->normalise_sample_unit(sample);
    l.length = length;
    l.pitch = pitch;
    l.bounded = (how & 8) ? bounded : (bounded & 1);
    if (how & 16) l.set_prefix(prefix.get());
    keep_of(l, kLabelKeep);
    EditLabel const e(l, id);
    keep_of(e, kEditKeep);

    // The round trip, with a prefix set from a text the rules can carry.
    if (l.start.cvt()->has_prefix()) l.set_prefix(prefix.get());
    round_trip(l, prefix.get(), id);
    return 0;
}
