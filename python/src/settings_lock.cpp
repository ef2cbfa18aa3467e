// The host's project settings are one value for the process; Python
// threads that convert with the settings in force run side by side, and a
// thread that wants other settings runs alone while it holds them.
#include <mutex>
#include <shared_mutex>

#include "common.h"

namespace lbpy {

namespace {

std::shared_mutex g_settings;

bool same(host::ProjectSettings const& a, host::ProjectSettings const& b) {
    return a.frame_rate == b.frame_rate && a.use_drop_frame_timecode == b.use_drop_frame_timecode &&
           a.output_image_rate == b.output_image_rate && a.output_scan_mode == b.output_scan_mode &&
           a.output_pulled_down == b.output_pulled_down && a.audio_sync_pulled_down == b.audio_sync_pulled_down &&
           a.in_camera_film_speed == b.in_camera_film_speed;
}

}  // namespace

void with_settings(host::ProjectSettings const& want, std::function<void()> const& setup,
                   std::function<void()> const& work) {
    {
        // Settings already in force: side by side with every call that
        // wants them (setting equal settings again changes nothing).
        std::shared_lock<std::shared_mutex> shared(g_settings);
        if (same(host::project_settings(), want)) {
            setup();
            work();
            return;
        }
    }
    // Other settings: alone, from setting them to the end of the work.
    std::unique_lock<std::shared_mutex> alone(g_settings);
    host::set_project_settings(want);
    setup();
    work();
}

void with_current_settings(std::function<void()> const& work) {
    std::shared_lock<std::shared_mutex> shared(g_settings);
    work();
}

}  // namespace lbpy
