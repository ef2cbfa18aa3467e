// The command-line options of the project, translation and configuration
// settings, and the parameter block as JSON.
#include "cli/cli.h"

namespace cli {

void add_config_option(CLI::App& app, std::vector<std::string>& entries) {
    app.add_option("--config", entries,
                   "Set a configuration key the library reads, KEY=VALUE (integer); repeatable. Keys:"
                   " 50p_timecode_type, 60p_timecode_type (1: 50/60 frames a second, 2: 25/30 with half-rate"
                   " frames, 3: 25/30), default_film_video_conversion_pulldown (0/1),"
                   " video_in_film_pulldown (0/1). Unset keys take the library's defaults.")
        ->type_name("KEY=VALUE");
}

void add_project_options(CLI::App& app, ProjectOptions& o) {
    host::ProjectSettings const d = host::default_project_settings();
    auto yes_no = [](bool b) { return std::string(b ? "yes" : "no"); };
    std::string const g = "Project";
    app.add_option("--project-rate", o.project_rate,
                   "The project's edit frame rate (default " + rate_name(d.frame_rate) + ")")
        ->type_name("RATE")
        ->group(g);
    app.add_option("--drop-frame", o.drop_frame,
                   "Whether the project writes 29.97 fps timecode drop-frame (default " +
                       yes_no(d.use_drop_frame_timecode) + ")")
        ->type_name("yes|no")
        ->group(g);
    app.add_option("--output-rate", o.output_rate,
                   "Frame rate of the project's output image (default " + rate_name(d.output_image_rate) + ")")
        ->type_name("RATE")
        ->group(g);
    app.add_option("--output-scan", o.output_scan,
                   "Scan mode of the output image: interlaced, lower, progressive, psf (default " +
                       std::string(scan_name(d.output_scan_mode)) + ")")
        ->type_name("SCAN")
        ->group(g);
    app.add_option("--output-pulldown", o.output_pulldown,
                   "Whether the output is made with pulldown (default " + yes_no(d.output_pulled_down) + ")")
        ->type_name("yes|no")
        ->group(g);
    app.add_option("--camera-speed", o.camera_speed,
                   "Frame rate the film was shot at (default " + rate_name(d.in_camera_film_speed) + ")")
        ->type_name("RATE")
        ->group(g);
    app.add_option(
           "--audio-sync-pulled-down", o.audio_sync,
           "Whether a video project's audio sync runs pulled down (default " + yes_no(d.audio_sync_pulled_down) + ")")
        ->type_name("yes|no")
        ->group(g);
}

void add_translation_options(CLI::App& app, TranslationOptions& o) {
    add_project_options(app, o.project);
    std::string const g = "Translation";
    app.add_option("--transfer", o.transfer,
                   "How the material went between film and video: none (between two video media: real"
                   " time, the same instant at the nearest frame; with film: let the project decide, 2:3"
                   " pulldown to NTSC video in film projects, frame for frame otherwise), real_time (video to"
                   " video, the same instant), pull23 (2:3 pulldown, 30/60 fps video), pogle (24-to-25"
                   " pulldown, 25/50 fps video), frame (frame for frame: a speed change between rates),"
                   " pulldown (the pulldown the video rate calls for), default (pulldown when"
                   " default_film_video_conversion_pulldown is set, else frame). A film cadence that cannot"
                   " apply to the video ends is refused. The output says which transfer ran (default none)")
        ->type_name("KIND")
        ->group(g);
    app.add_option("--phase", o.phase.text,
                   "Pulldown phase of frame 0 of the material. 2:3 pulldown lays film frames A B C D over ten"
                   " fields as video frames AA BB BC CD DD; BC and CD mix two film frames. The phase is the"
                   " video frame frame 0 starts in: 0 or A, 1 or B, 2 or BC, 3 or CD, 4 or D. 24-to-25: 0..24"
                   " (default 0)")
        ->type_name("N")
        ->group(g);
    app.add_option("--video-medium", o.video_medium,
                   "The video medium that `video` stands for (default: the source medium of the output"
                   " format, source_30i_1001 for the default project)")
        ->type_name("MEDIUM")
        ->group(g);
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
