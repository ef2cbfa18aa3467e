// The project and translation options: each maps to one setting of the host
// stand-in's project or one field of the translation parameter block, and
// defaults to what the stand-in reports when nothing is given.
#include <algorithm>

#include "cli/cli.h"

namespace cli {

std::vector<std::string> const& known_config_keys() {
    static std::vector<std::string> const keys = {"50p_timecode_type", "60p_timecode_type",
                                                  "default_film_video_conversion_pulldown",
                                                  "video_in_film_pulldown"};
    return keys;
}

void ConfigOptions::add_to(CLI::App& app) {
    app.add_option("--config", entries,
                   "Set a configuration key the library reads, KEY=VALUE (integer); repeatable. Keys:"
                   " 50p_timecode_type, 60p_timecode_type (1: 50/60 frames a second, 2: 25/30 with half-rate"
                   " frames, 3: 25/30), default_film_video_conversion_pulldown (0/1),"
                   " video_in_film_pulldown (0/1). Unset keys take the library's defaults.")
        ->type_name("KEY=VALUE");
}

void ConfigOptions::apply() const {
    host::reset_config();
    for (std::string const& e : entries) {
        std::size_t const eq = e.find('=');
        if (eq == std::string::npos || eq == 0)
            throw UsageError("--config takes KEY=VALUE, not '" + e + "'");
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

void ProjectOptions::add_to(CLI::App& app) {
    host::ProjectSettings const d = host::default_project_settings();
    auto yes_no = [](bool b) { return std::string(b ? "yes" : "no"); };
    std::string const g = "Project";
    app.add_option("--project-rate", project_rate,
                   "The project's edit frame rate (default " + rate_name(d.frame_rate) + ")")
        ->type_name("RATE")->group(g);
    app.add_option("--drop-frame", drop_frame,
                   "Whether the project writes 29.97 fps timecode drop-frame (default " + yes_no(d.use_drop_frame_timecode) +
                       ")")
        ->type_name("yes|no")->group(g);
    app.add_option("--output-rate", output_rate,
                   "Frame rate of the project's output image (default " + rate_name(d.output_image_rate) + ")")
        ->type_name("RATE")->group(g);
    app.add_option("--output-scan", output_scan,
                   "Scan mode of the output image: interlaced, lower, progressive, psf (default " +
                       std::string(scan_name(d.output_scan_mode)) + ")")
        ->type_name("SCAN")->group(g);
    app.add_option("--output-pulldown", output_pulldown,
                   "Whether the output is made with pulldown (default " + yes_no(d.output_pulled_down) + ")")
        ->type_name("yes|no")->group(g);
    app.add_option("--camera-speed", camera_speed,
                   "Frame rate the film was shot at (default " + rate_name(d.in_camera_film_speed) + ")")
        ->type_name("RATE")->group(g);
    app.add_option("--audio-sync-pulled-down", audio_sync,
                   "Whether a video project's audio sync runs pulled down (default " + yes_no(d.audio_sync_pulled_down) +
                       ")")
        ->type_name("yes|no")->group(g);
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
                             " 60, 12 ... 240), not " + rate_name(s.output_image_rate));
    }
    if (!output_scan.empty()) s.output_scan_mode = parse_scan(output_scan);
    if (!output_pulldown.empty()) s.output_pulled_down = parse_bool("--output-pulldown", output_pulldown);
    if (!camera_speed.empty()) {
        s.in_camera_film_speed = parse_rate(camera_speed);
        if (s.in_camera_film_speed == Kest::FrameRate_none) throw UsageError("--camera-speed needs a rate, not 0 (no rate)");
    }
    if (!audio_sync.empty()) s.audio_sync_pulled_down = parse_bool("--audio-sync-pulled-down", audio_sync);
    return s;
}

void TranslationOptions::add_to(CLI::App& app) {
    project.add_to(app);
    std::string const g = "Translation";
    app.add_option("--transfer", transfer,
                   "How the material went from film to video: none (let the project decide: 2:3 pulldown"
                   " to NTSC video in film projects, frame for frame otherwise), pull23 (2:3 pulldown),"
                   " pogle (24-to-25 pulldown), frame (frame for frame), pulldown (the pulldown the video"
                   " rate calls for), default (pulldown when default_film_video_conversion_pulldown is set,"
                   " else frame) (default none)")
        ->type_name("KIND")->group(g);
    app.add_option("--phase", phase,
                   "Pulldown phase of frame 0 of the material: 0..4 for 2:3, 0..24 for 24-to-25 (default 0)")
        ->type_name("N")->group(g);
    app.add_option("--video-medium", video_medium,
                   "The video medium that `video` stands for (default: the source medium of the output"
                   " format, source_30i_1001 for the default project)")
        ->type_name("MEDIUM")->group(g);
}

MPosn_Xlate_Params TranslationOptions::apply() const {
    host::set_project_settings(project.settings());
    transfer_type t = transfer_unspecified;
    if (transfer == "default" || transfer == "DEFAULT")
        t = config_int("default_film_video_conversion_pulldown", 0) ? transfer_pulldown : transfer_frame_for_frame;
    else
        t = parse_transfer(transfer);
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

json params_json(MPosn_Xlate_Params const& p) {
    json j;
    j["transfer"] = transfer_name(p.transfer);
    j["sequence_phase"] = p.sequence_phase;
    j["project_rate"] = rate_name(p.project_rate);
    j["cel_resolution"] = p.cel_resolution;
    j["output_rate"] = rate_name(p.output_rate);
    j["output_pulled_down"] = p.output_pulled_down;
    j["camera_film_fps"] = p.camera_film_fps;
    j["video_rate"] = rate_name(p.video_rate);
    j["video_medium"] = medium_label(p.video_medium);
    j["aud_sync_pulled_down"] = p.aud_sync_pulled_down;
    return j;
}

}  // namespace cli
