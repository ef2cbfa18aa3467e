// Timecode fields of edit lists, read and written by the rate-first
// timecode functions.
#include "detail/edl_internal.h"

namespace edl {

std::string rate_name(Rate r) {
    char b[timecode_rate_name_size];
    return timecode_rate_name(r, b, sizeof b) ? std::string(b) : std::string("?");
}

long frames_per_day(Rate r) { return static_cast<long>(timecode_frames_per_day(r)); }

bool read_timecode(std::string const& text, Rate r, long& frames, std::string& why) {
    timecode_reading rd = timecode_read_n(r, text.data(), text.size());
    if (rd.problem.fault == timecode_fault::drop_separator || rd.problem.fault == timecode_fault::non_drop_separator) {
        // The other count's separator: read again with the rate's own.
        std::string t = text;
        std::size_t const at = static_cast<std::size_t>(rd.problem.column);
        if (at < t.size()) t[at] = r.drop ? ';' : ':';
        rd = timecode_read_n(r, t.data(), t.size());
    }
    if (!rd.ok()) {
        char b[timecode_reason_size];
        timecode_reason(r, rd.problem, b, sizeof b);
        why = "'" + text + "': " + b;
        return false;
    }
    frames = static_cast<long>(rd.frame);
    return true;
}

std::string write_timecode(long frames, Rate r) {
    char b[timecode_text_size];
    return timecode_write(r, frames, b, sizeof b) ? std::string(b) : std::string("??:??:??:??");
}

}  // namespace edl
