// The engines of the `labels` command as a library (labels_core): reading
// the names a user types, reading and writing texts of a label type, the
// format, parse, calc, keep and convert engines, and the messages the
// command prints for each failure. The command's own units (options, output,
// the subcommands) sit on top of this; so can any other front end (the
// Python module) that wants the same names, answers and messages.
//
// Failures are thrown: UsageError for a wrong name or option (the command
// exits 2), ConversionError for a text, sample or position the library
// cannot handle (exit 1). The message is the whole sentence the command
// prints after "labels: error: ".
//
// The converters are shared per label type and made on first use, after the
// configuration keys are applied (host::set_config_int); nothing here is
// thread-safe.
#ifndef LABELS_CLI_CORE_H
#define LABELS_CLI_CORE_H

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <labelsbase/labelsbase.h>

namespace cli {

constexpr int exit_ok = 0;
constexpr int exit_failed = 1;
constexpr int exit_usage = 2;

// A wrong command line or name: exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
// A conversion the library could not do: exit status 1.
struct ConversionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------------------
// Words and numbers (numbers.cpp, suggest.cpp).

std::string lower(std::string s);
// The white space typed input is trimmed of: blank, tab, CR, LF.
constexpr bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
// Without the white space around it.
std::string trim(std::string const& s);
// The same without copying: moves text past leading white space and returns
// the length without the trailing white space.
std::size_t trimmed(char const*& text, std::size_t n);

// Reads a whole decimal int (optional sign); false for anything else or
// values outside 32 bits.
bool read_int(std::string const& text, int& out);
// Reads a whole finite decimal double.
bool read_double(std::string const& text, double& out);
// Shortest text that reads back as the same double ("8.208333333333334").
std::string format_double(double v);

// Up to `max` names from `candidates` close to `text` by edit distance,
// best first; empty when nothing is close.
std::vector<std::string> close_names(std::string const& text, std::vector<std::string> const& candidates,
                                     std::size_t max = 4);
// " Did you mean: a, b?" or "".
std::string did_you_mean(std::string const& text, std::vector<std::string> const& candidates);

// ---------------------------------------------------------------------------
// Names (names_types.cpp, names_media.cpp, names_rates.cpp).

// "pal_label" without "_label": "pal", "keycode_35_4", "tc_50_duration".
std::string short_type_name(label_t t);
// The user category as a word: "timecode", "keycode", "feet", "ink", "film_frames", "none".
char const* category_name(UserLabelType u);
// Reads a label type: class name, short name, enumerator, EDL name (any
// case) or label_t number. Throws UsageError naming close matches. Types
// without a converter of their own are refused unless allow_base is set.
label_t parse_type(std::string const& text, bool allow_base = false);

// The enumerator of a medium without "_Medium" ("source_30i_1001"), or
// null for the numbers that have none and those outside the media.
char const* medium_name(int m);
// "source_30i_1001" for 24, the number as text for unnamed values.
std::string medium_label(int m);
// Reads a medium: enumerator name without "_Medium" (any case, the suffix
// also accepted) or its number.
MediumRollMedium parse_medium(std::string const& text);
// Reads a generation: any, 1st, 2nd, 3rd, 4th (or first ... fourth) or 0..5.
MediumRollGeneration parse_generation(std::string const& text);
char const* generation_name(int g);
// Reads "MEDIUM[,GENERATION]"; the generation defaults to `any`.
MediumRollIdent parse_medium_roll(std::string const& text);

// Reads a frame rate: a name in frames per second (24, 23.976, 29.97,
// 30000/1001 ...), a Kest::FrameRate enumerator name (film_at_25), "kest:N"
// or a Kest::FrameRate number.
Kest::FrameRate parse_rate(std::string const& text);
// "23.976", "29.97", "film_at_25" ... the name a rate is shown by.
std::string rate_name(Kest::FrameRate r);
// Whether the host has a video medium for an output or source rate.
bool rate_has_medium(Kest::FrameRate r);
Kest::Image::ScanMode parse_scan(std::string const& text);
char const* scan_name(int s);
// none, pull23, pogle, frame, pulldown (and synonyms) or 0, 1, 2, 3, 7;
// empty and real_time are none (real time between video media).
transfer_type parse_transfer(std::string const& text);
char const* transfer_name(int t);
// yes/no, true/false, on/off, 1/0; `what` names the option in the message.
bool parse_bool(std::string const& what, std::string const& text);

// ---------------------------------------------------------------------------
// Texts of one label type (texts.cpp).

// Longest text read; longer ones are refused.
constexpr std::size_t kMaxInput = 255;

// A private converter of each label type, made on first use so that the
// configuration given before takes effect. Never freed.
label_cvt* converter(label_t t);

// The full template text of a converter ("-29.59.59.29").
std::string template_text(label_cvt* c);
// A sample text of the type to show the form it takes ("00:00:12.05").
std::string example_text(label_t t);
// Reads a text of the type (trimmed; KeyKode without its inner spaces);
// the invalid sample and the message when it cannot.
int read_sample(label_t t, char const* text, std::string& error);
// The same through c, a converter of t (a thread's own, which it does not
// share with other threads converting at the same time).
int read_sample(label_t t, char const* text, std::string& error, label_cvt* c);
// The text as read_sample gives it to the converter.
std::string prepared_text(label_t t, std::string const& text);
// Message for a text the type cannot read.
std::string unreadable_message(std::string const& text, label_t t);
// Gives a label point a prefix of the converter's prefix length (KeyKode
// 6 to 8 characters, ink 4); nothing for types without one.
void set_point_prefix(label_cvt* c, LabelPoint* lp, char const* prefix);
// Text without the blank sign column of timecode and feet texts.
char const* trim_sign_column(char const* text);
// Whether the converter reads its text of sample s back as s (up to its
// period): negative drop-frame texts, for one, read back as 0.
bool reads_back(label_cvt* c, int s, char const* text);
// Why such a text is not printed.
std::string unreadable_negative(label_t t, int s, char const* text);
// Checks a prefix for the type; throws UsageError.
void check_prefix(label_t t, std::string const& prefix);

// ---------------------------------------------------------------------------
// format and parse (texts.cpp).

struct Formatted {
    int sample = 0;
    std::string text;               // the converter's text, sign column included;
                                    // empty when it would not read back
    char const* special = nullptr;  // "invalid", "past_end", "before_start" or null
    std::string error;              // why the sample has no text of the type; empty when it has
};
// The text of a sample; prefix empty for the type's placeholder prefix.
Formatted format_sample(label_t t, int sample, std::string const& prefix = "");
// The message the command prints for a Formatted with an error.
std::string format_failure(label_t t, Formatted const& f);

struct Parsed {
    int sample = invalid_sample;
    std::string error;               // set when the text cannot be read
    std::string prefix;              // KeyKode and ink
    int frame = 0, perforation = 0;  // types of several samples a frame
    std::string text;                // the sample written back
};
Parsed parse_text(label_t t, std::string const& text);

// ---------------------------------------------------------------------------
// Project and translation settings (settings.cpp).

// Configuration keys the library reads, for checking --config.
std::vector<std::string> const& known_config_keys();
// Resets the configuration and sets each KEY=VALUE; throws UsageError.
void apply_config(std::vector<std::string> const& entries);

// Each field a name as typed; empty keeps the stand-in's default.
struct ProjectOptions {
    std::string project_rate, drop_frame, output_rate, output_scan, output_pulldown, camera_speed, audio_sync;
    // The stand-in's defaults with the given options applied; throws UsageError.
    host::ProjectSettings settings() const;
};

// The 2:3 phase: where frame 0 of the material falls in the cycle of five
// video frames AA BB BC CD DD (film frames A B C D over ten fields), as the
// number of that video frame (0..4) or its letters: A 0, B 1, BC 2, CD 3,
// D 4. 24-to-25 phases are numbers 0..24. Throws UsageError.
int pulldown_phase(std::string const& text);

// A phase as written: a number or the 2:3 letters. Built from text only;
// a number has no silent path in (a plain int would otherwise turn into a
// one-character string).
struct PhaseText {
    PhaseText() = default;
    explicit PhaseText(std::string t) : text(std::move(t)) {}
    template <class T, class = std::enable_if_t<std::is_arithmetic<T>::value>>
    PhaseText(T) = delete;
    template <class T, class = std::enable_if_t<std::is_arithmetic<T>::value>>
    PhaseText& operator=(T) = delete;
    std::string text;  // empty: 0
};

struct TranslationOptions {
    ProjectOptions project;
    // none (or empty), pull23, pogle, frame, pulldown, default, real_time.
    std::string transfer;
    std::string video_medium;
    PhaseText phase;  // see pulldown_phase
    // Sets the host project from the options and returns the parameter
    // block of a translation (init_for_labelgroup with the transfer and
    // phase, then the video medium if given). Throws UsageError.
    MPosn_Xlate_Params apply() const;
    // Whether real time was asked for by name.
    bool real_time() const;
    // The transfer asked for, "default" resolved by the configuration.
    transfer_type kind() const;
};

// ---------------------------------------------------------------------------
// Endpoints and conversion (conversion.cpp).

// One end of a conversion: a label type on a medium roll, with the edit
// label whose pitch ties its samples to positions and a label point that
// its texts are read and written through.
struct Endpoint {
    label_t type = prefix_label_t;
    MediumRollIdent roll{unknown_Medium, any_Generation};
    label_cvt* cvt = nullptr;
    std::unique_ptr<EditLabel> label;
    std::unique_ptr<LabelPoint> point;
    std::string prefix;  // for prefixed target types

    Endpoint() = default;
    Endpoint(label_t t, MediumRollIdent r);
    double pitch() const;
};

// The default medium of a label type when "@MEDIUM" is left out: film for
// KeyKode, feet and film frames, ink for ink numbers, and for timecode the
// progressive source medium of the timecode's whole rate, except 30 fps
// timecode (ntsc_label, ntsc_drop_label), which is NTSC video,
// source_30i_1001.
MediumRollMedium default_medium(label_t t);
// Reads "TYPE[@MEDIUM[,GENERATION]]".
void parse_endpoint(std::string const& text, label_t& t, MediumRollIdent& r);

// Translation counts frames and fields in 32 bits: positions are kept
// within 8 000 000 s (92 days; 2^31 frames at 240 fps is 103 days).
constexpr double kMaxPosition = 8.0e6;

// Whether a translation may start or end on the medium (the library refuses
// the others with an assertion line); throws UsageError naming it.
void check_translatable(MediumRollMedium m, MPosn_Xlate_Params const& p, char const* side);
// Explains a 1e99 result.
std::string no_position_message(MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params const& p);

// Text to text through position translation. Prepared once, then run per
// input without allocating.
//
// The transfer: when both ends are video and no transfer is given, the
// conversion keeps the instant (real time: the target frame nearest to the
// source frame's time); a speed change (frame) or a film cadence (pull23,
// pogle, pulldown) is asked for with the parameter block's transfer. A film
// cadence that cannot apply between the two ends (2:3 with 25 fps video,
// 24-to-25 with 30 fps video) is refused with UsageError. transfer_ran()
// names what runs: real_time, pull23, pogle, frame or none.
// One text's conversion.
struct ConversionResult {
    int sample = 0;       // source sample
    double position = 0;  // on the source medium
    double target_position = 0;
    int target_sample = 0;
    char const* text = nullptr;  // target text (points into the converter's label point)
    char error[384] = {0};       // set when run returns false
};

// What the batch engine runs per line: a text in, a result out, without
// allocating.
class TextConverter {
public:
    virtual ~TextConverter() = default;
    virtual bool run(char const* text, ConversionResult& r) = 0;
    // Whether the result's video frame shows two film frames.
    virtual bool mixes_film_frames(ConversionResult const&) const { return false; }
};

class Conversion : public TextConverter {
public:
    Conversion(Endpoint& from, Endpoint& to, MPosn_Xlate_Params const& params, bool real_time = false);
    // SRC=DST: the source text SRC and the target text DST are the same
    // instant, the head of the material. Throws UsageError.
    void set_sync(std::string const& pair);

    using Result = ConversionResult;
    bool run(char const* text, Result& r) override;

    Endpoint& from() { return from_; }
    Endpoint& to() { return to_; }
    MPosn_Xlate_Params const& params() const { return params_; }
    bool synced() const { return synced_; }
    char const* transfer_ran() const { return transfer_ran_; }
    bool real_time() const { return real_time_; }
    // Whether the video frame at the end on an interlaced video medium
    // (the target, else the source) holds fields of two film frames; false
    // when neither end is interlaced video or no film cadence runs.
    bool mixes_film_frames(Result const& r) const override;

private:
    void choose_transfer(bool asked_real_time);
    Endpoint& from_;
    Endpoint& to_;
    MPosn_Xlate_Params params_;
    bool synced_ = false;
    int sync_from_ = 0, sync_to_ = 0;
    bool carry_prefix_ = false;
    std::string unreadable_tail_;  // "' as <type>: expected ..." after the text
    std::string no_position_;
    bool real_time_ = false;
    char const* transfer_ran_ = "none";
};

// Both endpoints and the conversion between them, from the names a user
// types: "TYPE[@MEDIUM[,GEN]]" for each end, an optional target prefix and
// SRC=DST sync pair. Throws UsageError.
struct ConversionSetup {
    Endpoint from, to;
    std::unique_ptr<Conversion> conv;
};
std::unique_ptr<ConversionSetup> make_conversion(std::string const& from, std::string const& to,
                                                 TranslationOptions const& tr, std::string const& prefix = "",
                                                 std::string const& sync = "");

// A raw position translated from one medium to another; throws
// ConversionError when there is none. `params` receives the parameter block.
double translate_position(std::string const& position, std::string const& from, std::string const& to,
                          TranslationOptions const& tr, MPosn_Xlate_Params* params = nullptr);

// ---------------------------------------------------------------------------
// calc (calc.cpp).

// Reads a duration in samples of the label: "100f" (frames), "2.5s"
// (seconds on the label's medium), "64p" (samples: perforations or frames)
// or a text of the type. Throws ConversionError / UsageError.
int parse_duration(std::string const& text, Endpoint& e);

struct CalcStep {
    std::string op, operand;
    int samples = 0;
};
struct Calculated {
    int start_sample = 0;
    std::vector<CalcStep> steps;
    int sample = 0;
    std::string text;  // the converter's text, sign column included
};
// TEXT (+|-) DURATION ...: items[0] is the start text. KeyKode and ink
// starts may be typed with spaces; results are written in the canonical
// unspaced form. A negative result that would not read back is refused.
// Throws.
Calculated calc(label_t t, MediumRollIdent roll, std::vector<std::string> const& items);

// ---------------------------------------------------------------------------
// keep (keep.cpp).

struct KeepInfo {
    int revision = 0;
    label_t type = prefix_label_t;
    int start_sample = 0;
    std::string start, prefix, end;  // texts as the converter writes them
    bool has_prefix = false;
    int length = 0;
    int end_sample = 0;   // one past the last sample (start + length)
    int last_sample = 0;  // the last frame's first sample, and its text in `last`
    std::string last;
    double pitch = 0;
    bool bounded = true;
    bool edit = false;  // an edit label with a medium roll
    MediumRollIdent roll{unknown_Medium, any_Generation};
    std::string shown_as;  // the roll as the host shows it
    bool valid = true;
    std::string keep;                // the keep string written back
    std::vector<std::string> notes;  // what the library said while reading, one line each
};
extern char const kKeepForm[];
// Reads a keep string completely: every field present and well formed
// (the library's own reader takes a truncated one as a default label);
// throws ConversionError with the reason. What the library says while
// reading (the warning of a revision-2 string) goes into notes instead of
// standard error.
KeepInfo read_keep(std::string const& text);

struct KeepRequest {
    std::string type, start;  // as typed
    std::string length, end;  // one of them, or neither; end is the last frame, inclusive
    std::string medium;       // MEDIUM[,GEN] for an edit label; empty for a label
    bool unbounded = false;
};
KeepInfo make_keep(KeepRequest const& r);

}  // namespace cli

#endif
