// Translation parameter blocks.
#include <cmath>

#include "labelsbase/MediumRoll.h"
#include "detail/internal.h"
#include "labelsbase/mposnxlate.h"
#include "labelsbase/vocabulary.h"

namespace {

// (frames + phase) % cycle with the remainder of truncating division; the
// sum wraps at 32 bits like the rest of the library's sample arithmetic.
std::int32_t advance_phase(std::int32_t phase, int frames, int cycle) { return lb::wrap_add(frames, phase) % cycle; }

}  // namespace

// ---------------------------------------------------------------------------
// MPosn_Xlate_Params

MPosn_Xlate_Params::MPosn_Xlate_Params() : cookie() { init(); }

MPosn_Xlate_Params::MPosn_Xlate_Params(Kest::OutputGearing const& g) : cookie() {
    init();
    output_rate = g.getFrameRate();
    output_rate_has_1001 = Kest::has1001Factor(g.getFrameRate());
    output_pulled_down = g.getUsePulldown();
}

void MPosn_Xlate_Params::init() {
    transfer = transfer_frame_for_frame;
    sequence_phase = 0;
    project_rate = Kest::CurrentProject::getFrameRate(0);
    cel_resolution = Kest::getCelResolution(Kest::CurrentProject::getFrameRate(0));
    video_rate = Kest::FrameRate_none;
    video_medium = unknown_Medium;
    cookie = invalid_cookie;
    output_rate = Kest::CurrentProject::getOutputImageKESTFrameRate();
    output_rate_has_1001 = Kest::has1001Factor(output_rate);
    aud_sync_pulled_down = Kest::CurrentProject::vidprojAudSyncIsPulledDown();
    use_aud_sync_setting = false;
    camera_film_fps = Kest::getFramesPerSecond(Kest::CurrentProject::getInCameraFilmSpeed());
    output_pulled_down = Kest::CurrentProject::outputFormatIsPulledDown();
    reserved = 0;
}

void MPosn_Xlate_Params::init_for_labelgroup(transfer_type t, int phase) {
    init();
    transfer = t;
    sequence_phase = phase;
    video_rate = output_rate;
    // The host hands the format out by value; scan mode and rate are read
    // from two separate copies, both gone at the end of the statement.
    video_medium = getMediumRollfromInputDetails(Kest::CurrentProject::getOutputImageFormat(0).getScanMode(),
                                                 Kest::CurrentProject::getOutputImageFormat(0).getFrameRate());
}

void MPosn_Xlate_Params::init_to_default_filmvid_conversion(Kest::FrameRate rate) {
    project_rate = Kest::CurrentProject::getFrameRate(0);
    cel_resolution = Kest::getCelResolution(Kest::CurrentProject::getFrameRate(0));
    sequence_phase = 0;
    transfer =
        config_int("default_film_video_conversion_pulldown", 0) != 0 ? transfer_pulldown : transfer_frame_for_frame;
    video_rate = rate;
    video_medium = getDefaultEditMediumForProject(rate);
}

void MPosn_Xlate_Params::init_to_default_playout_generation() {
    sequence_phase = 0;
    output_pulled_down = true;
}

void MPosn_Xlate_Params::initOutputFormat(Kest::FrameRate project, Kest::FrameRate output, bool pulled_down) {
    init();
    project_rate = project;
    cel_resolution = Kest::getCelResolution(project);
    output_rate = output;
    output_rate_has_1001 = Kest::has1001Factor(output);
    output_pulled_down = pulled_down;
}

void MPosn_Xlate_Params::modify_sequence_to_playfile_std(int frames) {
    if (transfer != transfer_pulldown) return;
    int const cycle = lb::is_pal_rate(video_rate) ? 25 : 5;
    sequence_phase = advance_phase(sequence_phase, frames, cycle);
}

// ---------------------------------------------------------------------------
// MPosn_Conversion_Params

MPosn_Conversion_Params::MPosn_Conversion_Params() { init(); }

void MPosn_Conversion_Params::init() {
    sequence_active = false;
    transfer = transfer_frame_for_frame;
    filmvid_conversion = true;
    filmvid_variant = 1;
    sequence_phase = 0;
    project_rate = Kest::CurrentProject::getFrameRate(0);
    filmvid_kind = 0;
}

void MPosn_Conversion_Params::init_to_playout_generation() {
    transfer = transfer_unspecified;
    filmvid_conversion = false;
}

void MPosn_Conversion_Params::init_to_default_filmvid_conversion() {
    filmvid_conversion = true;
    filmvid_variant = 1;
    project_rate = Kest::CurrentProject::getFrameRate(0);
    filmvid_kind = transfer == transfer_frame_for_frame ? 2 : 1;
}

void MPosn_Conversion_Params::modify_sequence_to_playfile_std(int frames) {
    if (!sequence_active) return;
    sequence_phase = advance_phase(sequence_phase, frames, transfer == transfer_pogle ? 25 : 5);
}
