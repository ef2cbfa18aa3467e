#include "labelsbase/EditLabel.h"

#include <array>
#include <cstring>
#include <new>

#include "detail/internal.h"
#include "labelsbase/vocabulary.h"

namespace {

// ---------------------------------------------------------------------------
// Pitch of timecode written on a medium. Rows are tried in order; the first
// row whose type matches and whose media list holds the medium (an empty
// list holds every medium) gives the pitch. Types without a row keep theirs.
//
// 1.001/n is the period of a frame at the 1001 rate n/1.001 as the rule
// writes it (not 1/(n/1.001), which may differ in the last bit).
struct PitchRule {
    label_t type_a, type_b;  // the row applies to either type
    signed char media[12];   // 0-terminated; empty: any medium
    double pitch;
};

constexpr PitchRule kPitchRules[] = {
    // 30 fps timecode: film runs at 24, whole-rate 30/60 video and audio at
    // 30, everything else (29.97 video included) at 29.97.
    {ntsc_label_t, ntsc_drop_label_t, {film_Medium}, 1.0 / 24},
    {ntsc_label_t,
     ntsc_drop_label_t,
     {audio_Medium, source_30p_Medium, source_30i_Medium, source_60p_Medium, output_30p_Medium, output_30i_Medium,
      output_60p_Medium, source_120p_Medium, source_240p_Medium, output_120p_Medium, output_240p_Medium},
     1.0 / 30},
    {ntsc_label_t, ntsc_drop_label_t, {}, 1.001 / 30},
    {pal_label_t, pal_label_t, {film_Medium}, 1.0 / 24},
    {pal_label_t, pal_label_t, {}, 1.0 / 25},
    {tc_24_label_t,
     tc_24_label_t,
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
// Frame rate of an audio label's timecode for the audio rules; 24 for every
// type without a row.
struct AudioRate {
    label_t type;
    int fps;
};
constexpr AudioRate kAudioRates[] = {
    {ntsc_label_t, 30},  {ntsc_drop_label_t, 30},      {tc_50_label_t, 50}, {tc_50_duration_label_t, 50},
    {tc_60_label_t, 60}, {tc_60_duration_label_t, 60}, {pal_label_t, 25},
};

// The picture family of a source medium (the 24, 25 and 30 fps media and
// the generic 24 fps source); none for every other medium.
lb::VideoFamily source_family(MediumRollMedium m) {
    lb::MediumRow const* row = lb::medium_row(m);
    return row ? row->family : lb::VideoFamily::none;
}

int playout_group(MediumRollMedium m) {
    lb::MediumRow const* row = lb::medium_row(m);
    return row ? row->playout_group : 0;
}

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
    lb::VideoFamily const family = source_family(video);
    double p = frame;
    if (transfer == transfer_frame_for_frame || transfer == transfer_pulldown) {
        if (medium_roll.generation == first_Generation) {
            // Audio recorded with the picture: it ran at the camera's speed.
            // Only concrete source media of the 24, 25 and 30 fps families say how.
            if (!lb::is_source_medium(video)) return;
            bool const pulldown = transfer == transfer_pulldown;
            switch (family) {
            case lb::VideoFamily::f30:
                if (!pulldown && camera != Kest::FrameRate_30) p = (frame * 30) / 24;
                break;
            case lb::VideoFamily::f25:
                if (!pulldown && camera != Kest::FrameRate_25) p = (frame * 25) / 24;
                break;
            case lb::VideoFamily::f24: break;
            case lb::VideoFamily::none: return;
            }
        }
    } else if (family != lb::VideoFamily::none && lb::rate_is_1001(lb::medium_rate(video))) {
        p = frame * 1.001;
    }
    pitch = p;
    pitch_modified = true;
}

// ---------------------------------------------------------------------------
// Medium-roll equivalence.

bool EditLabel::equivalentPlayoutLabelMediumRolls(EditLabel const& other) const {
    int const group = playout_group(other.medium_roll.medium);
    return group != 0 && group == playout_group(medium_roll.medium);
}

bool EditLabel::equivalentPreviousGenerationMediumRolls(EditLabel const& other) const {
    if (medium_roll.generation == first_Generation || other.medium_roll.generation == first_Generation) return false;
    lb::VideoFamily const f = source_family(medium_roll.medium);
    return f != lb::VideoFamily::none && f == source_family(other.medium_roll.medium);
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

bool is_film_project() { return lb::is_whole_film_video_rate(Kest::CurrentProject::getFrameRate(0)); }

namespace {
lb::EarlyStatic<EditLabel> g_invalid_edit_label;
}  // namespace

EditLabel const& invalid_edit_label() { return g_invalid_edit_label.get(); }

lb::EditLabelStaticsInit::EditLabelStaticsInit() {
    g_invalid_edit_label.acquire(prefix_label_t, MediumRollIdent{unknown_Medium, unknown_Generation});
}
lb::EditLabelStaticsInit::~EditLabelStaticsInit() { g_invalid_edit_label.release(); }
