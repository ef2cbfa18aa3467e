#include "labelsbase/EditLabel.h"

#include <array>
#include <cstring>
#include <new>

#include "detail/internal.h"

namespace {

// ---------------------------------------------------------------------------
// Pitch of timecode written on a medium. Rows are tried in order; the first
// row whose type matches and whose media list holds the medium (an empty
// list holds every medium) gives the pitch. Types without a row keep theirs.
//
// 1.001/n is the period of a frame at the 1001 rate n/1.001 as the rule
// writes it (not 1/(n/1.001), which may differ in the last bit).
struct PitchRule {
    label_t type_a, type_b;     // the row applies to either type
    signed char media[12];      // 0-terminated; empty: any medium
    double pitch;
};

constexpr PitchRule kPitchRules[] = {
    // 30 fps timecode: film runs at 24, whole-rate 30/60 video and audio at
    // 30, everything else (29.97 video included) at 29.97.
    {ntsc_label_t, ntsc_drop_label_t, {film_Medium}, 1.0 / 24},
    {ntsc_label_t, ntsc_drop_label_t,
     {audio_Medium, source_30p_Medium, source_30i_Medium, source_60p_Medium, output_30p_Medium,
      output_30i_Medium, output_60p_Medium, source_120p_Medium, source_240p_Medium, output_120p_Medium,
      output_240p_Medium},
     1.0 / 30},
    {ntsc_label_t, ntsc_drop_label_t, {}, 1.001 / 30},
    {pal_label_t, pal_label_t, {film_Medium}, 1.0 / 24},
    {pal_label_t, pal_label_t, {}, 1.0 / 25},
    {tc_24_label_t, tc_24_label_t,
     {source_24p_1001_Medium, source_24i_1001_Medium, output_24p_1001_Medium, output_24i_1001_Medium},
     1.001 / 24},
    {tc_24_label_t, tc_24_label_t, {}, 1.0 / 24},
    {tc_48_label_t, tc_48_label_t, {source_48p_1001_Medium}, 1.001 / 48},
    {tc_48_label_t, tc_48_label_t, {film_Medium}, 1.0 / 24},
    {tc_48_label_t, tc_48_label_t, {}, 1.0 / 48},
    {tc_50_label_t, tc_50_duration_label_t, {film_Medium}, 1.0 / 24},
    {tc_50_label_t, tc_50_duration_label_t, {}, 1.0 / 50},
    {tc_60_label_t, tc_60_duration_label_t, {film_Medium}, 1.0 / 24},
    {tc_60_label_t, tc_60_duration_label_t, {audio_Medium, source_60p_Medium, output_60p_Medium}, 1.0 / 60},
    {tc_60_label_t, tc_60_duration_label_t, {}, 1.001 / 60},
    {tc_12_label_t, tc_12_label_t, {source_12p_1001_Medium}, 1.001 / 12},
    {tc_12_label_t, tc_12_label_t, {film_Medium}, 1.0 / 24},
    {tc_12_label_t, tc_12_label_t, {}, 1.0 / 12},
    {tc_15_label_t, tc_15_label_t, {source_15p_1001_Medium}, 1.001 / 15},
    {tc_15_label_t, tc_15_label_t, {film_Medium}, 1.0 / 24},
    {tc_15_label_t, tc_15_label_t, {}, 1.0 / 15},
    {tc_120_label_t, tc_120_label_t, {source_120p_1001_Medium, output_120p_1001_Medium}, 1.001 / 120},
    {tc_120_label_t, tc_120_label_t, {}, 1.0 / 120},
    {tc_240_label_t, tc_240_label_t, {source_240p_1001_Medium, output_240p_1001_Medium}, 1.001 / 240},
    {tc_240_label_t, tc_240_label_t, {}, 1.0 / 240},
};
static_assert(sizeof(kPitchRules) / sizeof(kPitchRules[0]) == 25, "one row per pitch rule");

bool rule_holds(PitchRule const& r, int medium) {
    if (r.media[0] == 0) return true;
    for (signed char const* m = r.media; *m; ++m)
        if (*m == medium) return true;
    return false;
}

// ---------------------------------------------------------------------------
// What the equivalence tests and the audio rules know of each medium.
enum SourceFamily : signed char { no_family = 0, family_24 = 24, family_25 = 25, family_30 = 30 };

struct MediumFacts {
    MediumRollMedium medium;
    SourceFamily source_family;  // picture family of a source medium (whole and 1001 rates alike)
    signed char playout_group;   // output media of one output rate, either scan; 0: not output
    bool rate_1001;              // a source medium at a 1001 rate
};

constexpr MediumFacts kMediumFacts[] = {
    {source_24_Medium, family_24, 0, false},
    {source_24p_Medium, family_24, 0, false},
    {source_24p_1001_Medium, family_24, 0, true},
    {source_24i_Medium, family_24, 0, false},
    {source_24i_1001_Medium, family_24, 0, true},
    {source_25p_Medium, family_25, 0, false},
    {source_25i_Medium, family_25, 0, false},
    {source_50p_Medium, family_25, 0, false},
    {source_30p_Medium, family_30, 0, false},
    {source_30p_1001_Medium, family_30, 0, true},
    {source_30i_Medium, family_30, 0, false},
    {source_30i_1001_Medium, family_30, 0, true},
    {source_60p_Medium, family_30, 0, false},
    {source_60p_1001_Medium, family_30, 0, true},
    {output_24p_Medium, no_family, 1, false},
    {output_24i_Medium, no_family, 1, false},
    {output_24p_1001_Medium, no_family, 2, false},
    {output_24i_1001_Medium, no_family, 2, false},
    {output_25p_Medium, no_family, 3, false},
    {output_25i_Medium, no_family, 3, false},
    {output_30p_Medium, no_family, 4, false},
    {output_30i_Medium, no_family, 4, false},
    {output_30p_1001_Medium, no_family, 5, false},
    {output_30i_1001_Medium, no_family, 5, false},
    {output_50p_Medium, no_family, 6, false},
    {output_60p_Medium, no_family, 7, false},
    {output_60p_1001_Medium, no_family, 8, false},
};
static_assert(sizeof(kMediumFacts) / sizeof(kMediumFacts[0]) == 27, "one row per medium with facts");

constexpr int kMediumCount = output_240p_1001_Medium + 1;

// The rows above spread over every medium value, for direct lookup.
constexpr std::array<MediumFacts, kMediumCount> spread_medium_facts() {
    std::array<MediumFacts, kMediumCount> t{};
    for (int i = 0; i < kMediumCount; ++i) t[i] = {static_cast<MediumRollMedium>(i), no_family, 0, false};
    for (MediumFacts const& f : kMediumFacts) t[f.medium] = f;
    return t;
}
constexpr std::array<MediumFacts, kMediumCount> kFactsByMedium = spread_medium_facts();

MediumFacts const& facts(MediumRollMedium m) {
    int const i = static_cast<int>(m);
    return (i >= 0 && i < kMediumCount) ? kFactsByMedium[i] : kFactsByMedium[0];
}

// ---------------------------------------------------------------------------
// Frame rate of an audio label's timecode for the audio rules; 24 for every
// type without a row.
struct AudioRate {
    label_t type;
    int fps;
};
constexpr AudioRate kAudioRates[] = {
    {ntsc_label_t, 30},           {ntsc_drop_label_t, 30},      {tc_50_label_t, 50},
    {tc_50_duration_label_t, 50}, {tc_60_label_t, 60},          {tc_60_duration_label_t, 60},
    {pal_label_t, 25},
};

int audio_frame_rate(label_t t) {
    for (AudioRate const& r : kAudioRates)
        if (r.type == t) return r.fps;
    return 24;
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction.

std::atomic<std::int32_t> EditLabel::howmany{0};

EditLabel::EditLabel(char const* text)
    : Label(text), medium_roll{any_Medium, any_Generation}, pitch_modified(false), marker(1) {
    keep_buffer[0] = '\0';
    ++howmany;
    char const* const name = MediumRollId_name_str();
    if (char const* at = text ? std::strstr(text, name) : nullptr)
        MediumRollId_from_string(at + std::strlen(name), medium_roll, start.converter->UserType());
    if (revision == 2) herc_printf("WARNING: Beta labels. Sometime, run MENDTAGS (call us if confused).\n");
}

EditLabel::EditLabel(Label const& label, MediumRollIdent const& id)
    : Label(label), medium_roll(id), pitch_modified(false), marker(1) {
    keep_buffer[0] = '\0';
    ++howmany;
    fixup_pitch();
    pitch_modified = false;
}

EditLabel::EditLabel(label_t type, MediumRollIdent const& id)
    : Label(type), medium_roll(id), pitch_modified(false), marker(1) {
    keep_buffer[0] = '\0';
    ++howmany;
    fixup_pitch();
    pitch_modified = false;
}

EditLabel::EditLabel(EditLabel const& other)
    : Label(other), medium_roll(other.medium_roll), pitch_modified(false), marker(other.marker) {
    keep_buffer[0] = '\0';
    ++howmany;
}

EditLabel::~EditLabel() { --howmany; }

EditLabel& EditLabel::operator=(EditLabel const& other) {
    if (this == &other) return *this;
    Label::operator=(other);
    medium_roll = other.medium_roll;
    return *this;
}

void EditLabel::init(MediumRollIdent const& id) {
    medium_roll = id;
    fixup_pitch();
    pitch_modified = false;
    marker = 1;
    ++howmany;
}

void EditLabel::set_type(label_t type) {
    Label::set_type(type);
    fixup_pitch();
}

void EditLabel::set_MediumRoll(MediumRollIdent const& id) {
    if (id.medium == medium_roll.medium && id.generation == medium_roll.generation) return;
    medium_roll = id;
    fixup_pitch();
    pitch_modified = true;
}

bool EditLabel::is_valid() const {
    if (start.converter->UserType() == none_UserLabel) return false;
    return medium_roll.medium != unknown_Medium && medium_roll.generation != unknown_Generation;
}

bool EditLabel::operator==(EditLabel const& other) const {
    return Label::operator==(other) && medium_roll.medium == other.medium_roll.medium &&
           medium_roll.generation == other.medium_roll.generation;
}

// ---------------------------------------------------------------------------
// Pitch rules.

void EditLabel::fixup_pitch() {
    label_t const t = start.converter->type();
    int const medium = static_cast<int>(medium_roll.medium);
    for (PitchRule const& r : kPitchRules) {
        if (r.type_a != t && r.type_b != t) continue;
        if (!rule_holds(r, medium)) continue;
        pitch = r.pitch;
        pitch_modified = true;
        return;
    }
}

void EditLabel::fix_audio_label_pitch(transfer_type transfer, MediumRollMedium video) {
    Kest::FrameRate const camera = Kest::CurrentProject::getInCameraFilmSpeed();
    if (medium_roll.medium != audio_Medium) return;
    fixup_pitch();
    double const frame = 1.0 / audio_frame_rate(start.converter->type());
    MediumFacts const& v = facts(video);
    double p = frame;
    if (transfer == transfer_frame_for_frame || transfer == transfer_pulldown) {
        if (medium_roll.generation == first_Generation) {
            // Audio recorded with the picture: it ran at the camera's speed.
            if (video < source_24p_Medium || video > source_60p_1001_Medium) return;
            bool const pulldown = transfer == transfer_pulldown;
            switch (v.source_family) {
                case family_30:
                    if (!pulldown && camera != Kest::FrameRate_30) p = (frame * 30) / 24;
                    break;
                case family_25:
                    if (!pulldown && camera != Kest::FrameRate_25) p = (frame * 25) / 24;
                    break;
                case family_24:
                    break;
                case no_family:
                    return;  // every source medium 15..27 has a family
            }
        }
    } else if (v.rate_1001) {
        p = frame * 1.001;
    }
    pitch = p;
    pitch_modified = true;
}

// ---------------------------------------------------------------------------
// Medium-roll equivalence.

bool EditLabel::equivalentPlayoutLabelMediumRolls(EditLabel const& other) const {
    int const om = static_cast<int>(other.medium_roll.medium);
    if (om < output_24p_Medium || om > output_60p_1001_Medium) return false;
    return facts(medium_roll.medium).playout_group == facts(other.medium_roll.medium).playout_group;
}

bool EditLabel::equivalentPreviousGenerationMediumRolls(EditLabel const& other) const {
    if (medium_roll.generation == first_Generation || other.medium_roll.generation == first_Generation)
        return false;
    if (static_cast<int>(other.medium_roll.medium) >= output_24p_Medium) return false;
    SourceFamily const f = facts(medium_roll.medium).source_family;
    return f != no_family && f == facts(other.medium_roll.medium).source_family;
}

// ---------------------------------------------------------------------------
// The keep string.

char* EditLabel::make_keep_string(char* out) const {
    char* const target = out ? out : keep_buffer;
    char id[24];
    int n = MediumRollId_to_string(id, medium_roll);
    if (n < 0) n = 0;
    if (n > 23) n = 23;
    char const* const name = MediumRollId_name_str();
    std::size_t const name_len = std::strlen(name);
    std::size_t const suffix = 1 + name_len + 1 + static_cast<std::size_t>(n);
    // The label part leaves room for the suffix and the NUL.
    std::size_t const len = write_keep_string(target, keep_string_size - suffix);
    char* p = target + len;
    *p++ = ' ';
    std::memcpy(p, name, name_len);
    p += name_len;
    *p++ = ' ';
    std::memcpy(p, id, static_cast<std::size_t>(n));
    p[n] = '\0';
    return target;
}

// ---------------------------------------------------------------------------

bool is_film_project() {
    Kest::FrameRate const r = Kest::CurrentProject::getFrameRate(0);
    return r == Kest::FrameRate_24 || r == Kest::FrameRate_48;
}

namespace {
lb::EarlyStatic<EditLabel> g_invalid_edit_label;
}  // namespace

EditLabel const& invalid_edit_label() { return g_invalid_edit_label.get(); }

lb::EditLabelStaticsInit::EditLabelStaticsInit() {
    g_invalid_edit_label.acquire(prefix_label_t, MediumRollIdent{unknown_Medium, unknown_Generation});
}
lb::EditLabelStaticsInit::~EditLabelStaticsInit() { g_invalid_edit_label.release(); }
