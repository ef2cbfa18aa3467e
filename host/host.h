// The host stand-in: what the labels library needs from the editing
// application it runs in (project settings, frame-rate arithmetic,
// configuration, tokenising, reference-counted strings, messages, the
// allocator) plus the control API that lets tests, the `labels` command and
// embedding programs set the project and configuration it reports.
//
// The host's conventions, the same everywhere it reports them:
//
//   Kest::FrameRate values (fps is exact; an "/1.001" rate is the double
//   quotient n / 1.001):
//     0 no rate        1 24           2 24/1.001     3 25          4 30
//     5 30/1.001       6 48           7 48/1.001     8 50          9 60
//    10 60/1.001
//    11 16 (silent)   12 18 (silent) 13 22          14 10         15 8
//    16 6             17 5           18 4           19 3          20 2
//        (11..20: animation, time-lapse and silent-film rates with no medium)
//    21..30: decimated proxies, half the rate of 1, 2, 3, 4, 5, 6, 7, 8, 9, 10:
//    21 12  22 12/1.001  23 12.5  24 15  25 15/1.001  26 24  27 24/1.001
//    28 25  29 30        30 30/1.001
//    31 24 (film edited frame for frame)   32 25 (24 fps film run at 25)
//    33 30 (24 fps film run at 30)         34 48 (film at 48)
//    35 12  36 12/1.001  37 12.5  38 15  39 15/1.001  40 20  41 80  42 90
//    43 100 44 120  45 120/1.001  46 240  47 240/1.001
//   Any other value (0, negative, above 47) reports 24 fps so no caller ever
//   divides by a zero rate.
//
//   getNonDecimatedFrameRate: 21..30 give 1..10; every other rate is itself.
//
//   Cel resolution: the edit timeline counts in frames of the rate's base
//   family (24, 25 or 30 fps), so one frame of any 24, 25 or 30 fps rate is
//   1.0 cel and a frame of a multiple rate is the base frame divided by the
//   multiple: 48/50/60 fps frames are 0.5 cel, 12/12.5/15 fps frames 2.0,
//   120 fps 0.2, 240 fps 0.1, 100 fps 0.25, 90 fps 1/3, 80 fps 0.3, 20 fps
//   1.2. The base family is 25 for rates 3, 8, 23, 28, 32, 37, 43; 30 for
//   4, 5, 9, 10, 14, 24, 25, 29, 30, 33, 38, 39, 42; 24 for all others.
//   getEditResolutionFrameGearing(a, b) = cel(a) / cel(b): how many frames
//   of b one frame of a spans on the edit timeline (24 -> 25 is 1.0, frame
//   for frame; 24 -> 48 is 2.0; 50 -> 25 is 0.5).
//
//   Scan modes: 0 unknown, 1 interlaced upper field first, 2 interlaced lower
//   field first, 3 progressive, 4 progressive segmented frame.
//
//   Default project (default_project_settings): a 24 fps film project
//   (rate 1) writing drop-frame timecode, output image 29.97 fps (rate 5)
//   interlaced (scan 1) made with pulldown, audio sync pulled down, camera
//   speed 24 fps (rate 1).
#ifndef LABELSBASE_HOST_HOST_H
#define LABELSBASE_HOST_HOST_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>

// ---------------------------------------------------------------------------
// Reference-counted host string. Copies share one buffer under an atomic
// count, so strings copied from one another may live and die on different
// threads; one string object is still used by one thread at a time. A
// buffer made immutable (make_immutable) is never counted or freed again:
// copies of it cost no shared write, which is how long-lived templates are
// shared by every thread at no cost.
template <typename C>
class LightweightString;

template <>
class LightweightString<char> {
public:
    LightweightString() noexcept = default;
    LightweightString(char const* text);                 // absent when text is null
    LightweightString(char const* text, std::size_t n);  // first n characters
    LightweightString(LightweightString const& other) noexcept;
    LightweightString(LightweightString&& other) noexcept;
    LightweightString& operator=(LightweightString const& other) noexcept;
    LightweightString& operator=(LightweightString&& other) noexcept;
    ~LightweightString();

    char const* c_str() const noexcept { return rep_ ? rep_->chars : ""; }
    bool empty() const noexcept { return rep_ == nullptr || rep_->size == 0; }
    std::size_t size() const noexcept { return rep_ ? rep_->size : 0; }
    bool absent() const noexcept { return rep_ == nullptr; }
    // True when both refer to the same shared buffer (two absent strings too).
    bool shares_buffer_with(LightweightString const& other) const noexcept { return rep_ == other.rep_; }
    // A writable copy of the characters private to this string (copy on write).
    char* unshare();
    // This string's buffer (and every copy's) is kept for the life of the
    // process and never written again; unshare() still gives a private copy.
    void make_immutable() noexcept;

    friend bool operator==(LightweightString const& a, LightweightString const& b) noexcept;
    friend bool operator!=(LightweightString const& a, LightweightString const& b) noexcept { return !(a == b); }

private:
    struct Rep {
        std::atomic<long> refs;  // kImmutable: never counted, never freed
        std::size_t size;
        char chars[1];
    };
    static constexpr long kImmutable = -1;
    static Rep* make(char const* text, std::size_t n);
    void release() noexcept;
    Rep* rep_ = nullptr;
};

// ---------------------------------------------------------------------------
// Frame rates and the open project.
namespace host {
struct ProjectSettings;
}

namespace Kest {

enum FrameRate : std::int32_t {
    FrameRate_none = 0,
    FrameRate_24 = 1,
    FrameRate_23_976 = 2,
    FrameRate_25 = 3,
    FrameRate_30 = 4,
    FrameRate_29_97 = 5,
    FrameRate_48 = 6,
    FrameRate_47_952 = 7,
    FrameRate_50 = 8,
    FrameRate_60 = 9,
    FrameRate_59_94 = 10,
    FrameRate_film_24 = 31,
    FrameRate_film_at_25 = 32,
    FrameRate_film_at_30 = 33,
    FrameRate_film_48 = 34,
    FrameRate_12 = 35,
    FrameRate_11_988 = 36,
    FrameRate_12_5 = 37,
    FrameRate_15 = 38,
    FrameRate_14_985 = 39,
    FrameRate_20 = 40,
    FrameRate_80 = 41,
    FrameRate_90 = 42,
    FrameRate_100 = 43,
    FrameRate_120 = 44,
    FrameRate_119_88 = 45,
    FrameRate_240 = 46,
    FrameRate_239_76 = 47,
    FrameRate_last = 47
};

// The rate arithmetic is constant data read inline, so a caller's
// per-position arithmetic folds to the few operations it needs.
namespace rates {

struct Row {
    double fps;       // frames per second (an "/1.001" rate: whole / 1.001)
    double duration;  // 1 / fps
    double cel;       // family / whole: one frame on the edit timeline
    bool is1001;
    FrameRate undecimated;
    double nominal;         // the whole rate a "/1.001" rate is named after (12.5 for 12.5)
    std::int32_t num, den;  // fps exactly: num / den (24000/1001, 25/2)
};

constexpr Row row(double whole, bool is1001, int family, int undecimated) {
    double const fps = is1001 ? whole / 1.001 : whole;
    // Every whole rate is a multiple of one half.
    std::int32_t const halves = static_cast<std::int32_t>(whole * 2);
    std::int32_t const num = halves % 2 != 0 ? halves : halves / 2 * (is1001 ? 1000 : 1);
    std::int32_t const den = halves % 2 != 0 ? 2 : (is1001 ? 1001 : 1);
    return Row{fps, 1.0 / fps, static_cast<double>(family) / whole, is1001, static_cast<FrameRate>(undecimated), whole,
               num, den};
}

// One row per FrameRate value 0..47: whole rate, 1000/1001, base family, undecimated rate.
constexpr Row kRows[] = {
    row(24, false, 24, 0),  // 0 no rate: reports 24 fps
    row(24, false, 24, 1),    row(24, true, 24, 2),    row(25, false, 25, 3),   row(30, false, 30, 4),
    row(30, true, 30, 5),     row(48, false, 24, 6),   row(48, true, 24, 7),    row(50, false, 25, 8),
    row(60, false, 30, 9),    row(60, true, 30, 10),   row(16, false, 24, 11),  row(18, false, 24, 12),
    row(22, false, 24, 13),   row(10, false, 30, 14),  row(8, false, 24, 15),   row(6, false, 24, 16),
    row(5, false, 25, 17),    row(4, false, 24, 18),   row(3, false, 24, 19),   row(2, false, 24, 20),
    row(12, false, 24, 1),    row(12, true, 24, 2),    row(12.5, false, 25, 3), row(15, false, 30, 4),
    row(15, true, 30, 5),     row(24, false, 24, 6),   row(24, true, 24, 7),    row(25, false, 25, 8),
    row(30, false, 30, 9),    row(30, true, 30, 10),   row(24, false, 24, 31),  row(25, false, 25, 32),
    row(30, false, 30, 33),   row(48, false, 24, 34),  row(12, false, 24, 35),  row(12, true, 24, 36),
    row(12.5, false, 25, 37), row(15, false, 30, 38),  row(15, true, 30, 39),   row(20, false, 24, 40),
    row(80, false, 24, 41),   row(90, false, 30, 42),  row(100, false, 25, 43), row(120, false, 24, 44),
    row(120, true, 24, 45),   row(240, false, 24, 46), row(240, true, 24, 47),
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == FrameRate_last + 1, "one row per frame rate");

// The exact rational of each row is the rate its double stands for.
constexpr bool rationals_agree() {
    for (Row const& r : kRows) {
        double const diff = r.fps * r.den - r.num;
        if (diff > 1e-6 || diff < -1e-6) return false;
    }
    return true;
}
static_assert(rationals_agree(), "num / den is the rate fps holds");

// The row of r; any value outside 0..47 reads row 0.
constexpr Row const& of(FrameRate r) {
    return static_cast<unsigned>(r) <= static_cast<unsigned>(FrameRate_last) ? kRows[r] : kRows[0];
}

}  // namespace rates

constexpr double getFramesPerSecond(FrameRate r) { return rates::of(r).fps; }
constexpr double getFrameDuration(FrameRate r) { return rates::of(r).duration; }
constexpr double getCelResolution(FrameRate r) { return rates::of(r).cel; }
constexpr double getEditResolutionFrameGearing(FrameRate a, FrameRate b) {
    return getCelResolution(a) / getCelResolution(b);
}
// Values outside 0..47 are their own.
constexpr FrameRate getNonDecimatedFrameRate(FrameRate r) {
    return static_cast<unsigned>(r) <= static_cast<unsigned>(FrameRate_last) ? rates::kRows[r].undecimated : r;
}
constexpr bool has1001Factor(FrameRate r) { return rates::of(r).is1001; }
// The whole rate r is named after (24 for 23.976); 24 outside 0..47.
constexpr double getNominalFramesPerSecond(FrameRate r) { return rates::of(r).nominal; }

namespace Image {
enum ScanMode : std::int32_t {
    ScanMode_unknown = 0,
    ScanMode_interlaced_upper = 1,
    ScanMode_interlaced_lower = 2,
    ScanMode_progressive = 3,
    ScanMode_progressive_segmented = 4
};
namespace Video {
struct Data {
    ScanMode scan_mode = ScanMode_progressive;
    ScanMode getScanMode() const { return scan_mode; }
};
}  // namespace Video
namespace VideoSequence {
struct Data {
    FrameRate frame_rate = FrameRate_24;
    FrameRate getFrameRate() const { return frame_rate; }
};
}  // namespace VideoSequence
}  // namespace Image

// The output gearing: output rate and whether output is made with pulldown.
class OutputGearing {
public:
    enum ConstructionOptions : std::int32_t { FromProject = 1 };
    explicit OutputGearing(ConstructionOptions option);  // 1: the project's output
    OutputGearing(FrameRate rate, bool use_pulldown);
    FrameRate getFrameRate() const { return rate_; }
    bool getUsePulldown() const { return pulldown_; }

private:
    explicit OutputGearing(host::ProjectSettings const& p);
    FrameRate rate_;
    bool pulldown_;
};

}  // namespace Kest

namespace OutputFormat {
class Details : public Kest::Image::Video::Data, public Kest::Image::VideoSequence::Data {
public:
    Details() = default;
    Details(Kest::Image::ScanMode scan, Kest::FrameRate rate);
};
}  // namespace OutputFormat

namespace Kest {
namespace CurrentProject {
using Revision = int;
FrameRate getFrameRate(Revision);
bool getUseDropFrameTimecode();
FrameRate getOutputImageKESTFrameRate();
OutputFormat::Details getOutputImageFormat(Revision);
bool outputFormatIsPulledDown();
bool vidprojAudSyncIsPulledDown();
FrameRate getInCameraFilmSpeed();
double getCelResolution();
}  // namespace CurrentProject
}  // namespace Kest

// ---------------------------------------------------------------------------
// Configuration.

// The integer value of a configuration key, or `default_value` when unset.
int config_int(char const* key, int default_value);

// A caller-filled configuration block. Values longer than
// configb::max_value_length characters are cut to that length when set, so
// a lookup never writes more than max_value_length + 1 bytes into `out`.
class configb {
public:
    static constexpr std::size_t max_value_length = 63;
    configb() = default;
    configb(configb const&) = delete;
    configb& operator=(configb const&) = delete;
    ~configb();
    void set(char const* key, char const* value);
    // 0 when found (value copied into out, NUL-terminated), 1 when absent.
    int in(LightweightString<char> const& key, char* out) const;

private:
    struct Entry;
    Entry* entries_ = nullptr;
    std::size_t count_ = 0, capacity_ = 0;
};

// ---------------------------------------------------------------------------
// Text.

// Splits a NUL-terminated text at any of the separator characters; runs of
// separators make no empty tokens. Texts of up to inline_chars characters
// and inline_tokens tokens are split without allocating.
class tokeniser {
public:
    tokeniser(char const* text, char const* separators);
    tokeniser(tokeniser const&) = delete;
    tokeniser& operator=(tokeniser const&) = delete;
    ~tokeniser();

    int num_tokens() const { return count_; }
    // The token at index i, or null when there is none.
    char const* token(int i) const { return (i >= 0 && i < count_) ? tokens_[i] : nullptr; }
    // The token at the current index, then the index moves past it; null when none is left.
    char const* next() { return token(index_ < count_ ? index_++ : count_); }
    int index() const { return index_; }
    void set_index(int i) { index_ = i; }

private:
    static constexpr int inline_chars = 256;
    static constexpr int inline_tokens = 32;
    char inline_text_[inline_chars];
    char const* inline_tokens_[inline_tokens];
    char* text_ = inline_text_;
    char const** tokens_ = inline_tokens_;
    int count_ = 0;
    int index_ = 0;
};

// Where the host's user-facing messages go: a function given each message
// as one text (cut at 511 characters), or standard error when none is set
// (null). A front end sets one to show the library's warnings its own way.
namespace host {
using MessageSink = void (*)(char const* text, void* context);
void set_message_sink(MessageSink sink, void* context);
}  // namespace host

// The host's user-facing message output (standard error, or the sink).
int herc_printf(char const* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// ---------------------------------------------------------------------------
// Identity.
struct Cookie {
    std::uint64_t value = 0;
    Cookie() = default;
    explicit Cookie(std::uint64_t v) : value(v) {}
    friend bool operator==(Cookie a, Cookie b) { return a.value == b.value; }
    friend bool operator!=(Cookie a, Cookie b) { return a.value != b.value; }
};
extern const Cookie invalid_cookie;

// ---------------------------------------------------------------------------
// The platform: the allocator behind every allocation of the process.
class HostAllocator {
public:
    void* allocate(std::size_t size);  // throws std::bad_alloc when out of memory
    void free(void* p) noexcept;
};

class OperatingSystem {
public:
    HostAllocator& allocator() { return allocator_; }

private:
    HostAllocator allocator_;
};

OperatingSystem* OS();

// The library's version text: four numbers separated by dots.
char const* labelsBaseDllVersionStr();

// ---------------------------------------------------------------------------
// Control API of the stand-in.
namespace host {

struct ProjectSettings {
    Kest::FrameRate frame_rate;
    bool use_drop_frame_timecode;
    Kest::FrameRate output_image_rate;
    Kest::Image::ScanMode output_scan_mode;
    bool output_pulled_down;
    bool audio_sync_pulled_down;
    Kest::FrameRate in_camera_film_speed;
};

// Threads: the setters below are configuration-time calls, made before (or
// between) the phases in which other threads convert; they are serialised
// among themselves. The readers (project_settings, the CurrentProject
// queries, config_int) take no lock and may run on any thread at any time:
// each setter publishes a new immutable snapshot, so a reader sees the
// settings (or keys) wholly before or wholly after a concurrent setter,
// never a mixture. The reference project_settings() returns stays valid
// for the life of the process.
ProjectSettings default_project_settings();
void set_project_settings(ProjectSettings const&);
ProjectSettings const& project_settings();

void set_config_int(char const* key, int value);
void unset_config_int(char const* key);
void reset_config();

struct AllocationStats {
    unsigned long long allocations, frees, live_bytes;
};
AllocationStats allocation_stats();

}  // namespace host

#endif
