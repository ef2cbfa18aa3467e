// The project and translation settings: each maps to one setting of the
// host stand-in's project or one field of the translation parameter block,
// and defaults to what the stand-in reports when nothing is given.
#include <algorithm>

#include "cli/core.h"

namespace cli {

std::vector<std::string> const& known_config_keys() {
    static std::vector<std::string> const keys = {"50p_timecode_type", "60p_timecode_type",
                                                  "default_film_video_conversion_pulldown", "video_in_film_pulldown"};
    return keys;
}

void apply_config(std::vector<std::string> const& entries) {
    host::reset_config();
    for (std::string const& e : entries) {
        std::size_t const eq = e.find('=');
        if (eq == std::string::npos || eq == 0) throw UsageError("--config takes KEY=VALUE, not '" + e + "'");
        std::string const key = e.substr(0, eq);
        auto const& keys = known_config_keys();
        if (std::find(keys.begin(), keys.end(), key) == keys.end())
            throw UsageError("unknown configuration key '" + key + "'." + did_you_mean(key, keys) +
                             " The library reads 50p_timecode_type, 60p_timecode_type,"
                             " default_film_video_conversion_pulldown and video_in_film_pulldown.");
        int v = 0;
        if (!read_int(e.substr(eq + 1), v))
            throw UsageError("configuration key " + key + " takes an integer value, not '" + e.substr(eq + 1) + "'");
        host::set_config_int(key.c_str(), v);
    }
}

host::ProjectSettings ProjectOptions::settings() const {
    host::ProjectSettings s = host::default_project_settings();
    if (!project_rate.empty()) {
        s.frame_rate = parse_rate(project_rate);
        if (s.frame_rate == Kest::FrameRate_none) throw UsageError("--project-rate needs a rate, not 0 (no rate)");
    }
    if (!drop_frame.empty()) s.use_drop_frame_timecode = parse_bool("--drop-frame", drop_frame);
    if (!output_rate.empty()) {
        s.output_image_rate = parse_rate(output_rate);
        if (!rate_has_medium(s.output_image_rate))
            throw UsageError("--output-rate " + output_rate +
                             ": the output image needs a video rate (24, 23.976, 25, 29.97, 30, 48, 47.952, 50, 59.94,"
                             " 60, 12 ... 240), not " +
                             rate_name(s.output_image_rate));
    }
    if (!output_scan.empty()) s.output_scan_mode = parse_scan(output_scan);
    if (!output_pulldown.empty()) s.output_pulled_down = parse_bool("--output-pulldown", output_pulldown);
    if (!camera_speed.empty()) {
        s.in_camera_film_speed = parse_rate(camera_speed);
        if (s.in_camera_film_speed == Kest::FrameRate_none)
            throw UsageError("--camera-speed needs a rate, not 0 (no rate)");
    }
    if (!audio_sync.empty()) s.audio_sync_pulled_down = parse_bool("--audio-sync-pulled-down", audio_sync);
    return s;
}

static_assert(!std::is_constructible<PhaseText, int>::value && !std::is_assignable<PhaseText&, int>::value &&
                  !std::is_convertible<std::string, PhaseText>::value,
              "a phase is built from its text only");

int pulldown_phase(std::string const& text) {
    if (text.empty()) return 0;
    int n = 0;
    if (read_int(text, n)) return n;
    static char const* const letters[] = {"a", "b", "bc", "cd", "d"};
    std::string const l = lower(trim(text));
    for (int i = 0; i < 5; ++i)
        if (l == letters[i]) return i;
    throw UsageError("--phase takes 0..4 or the 2:3 letters A, B, BC, CD, D (0..24 for 24-to-25), not '" + text + "'");
}

transfer_type TranslationOptions::kind() const {
    if (transfer.empty() || real_time()) return transfer_unspecified;
    if (transfer == "default" || transfer == "DEFAULT")
        return config_int("default_film_video_conversion_pulldown", 0) ? transfer_pulldown : transfer_frame_for_frame;
    return parse_transfer(transfer);
}

MPosn_Xlate_Params TranslationOptions::apply() const {
    host::set_project_settings(project.settings());
    transfer_type const t = kind();
    int const phase = pulldown_phase(this->phase.text);
    if (phase < -1 || phase > 24)
        throw UsageError("--phase " + std::to_string(phase) +
                         " is outside the pulldown cycles: 0..4 for 2:3, 0..24 for 24-to-25 (-1: not set)");
    if (t == transfer_pull23 && phase > 4)
        throw UsageError("--phase " + std::to_string(phase) + " is outside the 2:3 cycle, 0..4");
    MPosn_Xlate_Params p;
    p.init_for_labelgroup(t, phase);
    if (!video_medium.empty()) {
        MediumRollMedium const m = parse_medium(video_medium);
        if (getFrameRatefromMedium(m) == 0)
            throw UsageError("--video-medium takes a video medium (source_25p, source_30i_1001, ...), not " +
                             medium_label(m));
        p.video_medium = m;
    }
    return p;
}

bool TranslationOptions::real_time() const {
    std::string const l = lower(transfer);
    return l == "real_time" || l == "realtime";
}

}  // namespace cli
