// Timecode by rate in the `labels` command: rate names ("29.97df", "25",
// "59.94df") wherever a timecode label type is typed, strict reading for
// any timecode type, the interchange and display styles, and conversions
// with rate-named endpoints.
//
// In a TYPE position a rate name comes first: "25" is 25 fps timecode, not
// label type number 25 (write "type:25" for that). A rate name reads
// interchange text strictly ("hh:mm:ss:ff", "hh:mm:ss;ff" at drop-frame)
// and writes it; --style display writes the label type of the same rate
// instead (25 -> pal "01:00:00.00"), --style interchange writes a label
// type's samples as interchange text, --strict reads a label type's texts
// strictly (its own frame separator, '.' for pal, '+' for tc_24, is taken
// as well as ':'). --running keeps counts past 24 hours (25:00:00:00)
// instead of wrapping; --signed writes and reads negative counts with '-'.
//
// Conversions between two rate names go by real time: the target frame
// whose start is nearest the source frame's start, a start exactly
// half-way going to the later frame (29.97df 00:00:00;02 -> 59.94df
// 00:00:00;04). --transfer frame keeps the frame count instead. With a
// label type at one end, or a pulldown transfer, a rate name stands for the
// label type of its nominal rate on the progressive (29.97 and 30:
// interlaced NTSC) source medium of its exact rate, and the library's
// translation converts, film pulldown included. In a film transfer (pull23,
// pogle, pulldown) a 24-frame rate (23.976, 24) written without a medium
// counts film frames instead: 2:3 lays 4 of them over 5 video frames
// exactly (23.976 00:16:40:00, frame 24000 -> 29.97df frame 30000).
#ifndef LABELS_CLI_RATES_H
#define LABELS_CLI_RATES_H

#include <cstdint>
#include <memory>
#include <string>

#include <labelsbase/timecode_rate.h>

#include "cli/cli.h"

namespace cli {

// The options every command that reads or writes timecode takes.
struct RateOptions {
    bool strict = false;
    std::string style;  // "", "display" or "interchange"
    bool running = false;
    bool signed_counts = false;
    unsigned flags() const { return (running ? timecode_running : 0u) | (signed_counts ? timecode_signed : 0u); }
};
void add_rate_options(CLI::App& app, RateOptions& o, bool reads, bool writes);

// The rate a TYPE argument names; timecode_rate{} when it is no rate name.
timecode_rate rate_type(std::string const& text);
// The rate a label type's labels count in (25 for pal, 29.97df for
// ntsc_drop, 24 for tc_24; a halved tc_50 or tc_60 counts at 25 or 30);
// timecode_rate{} for anything that is not timecode.
timecode_rate rate_of_type(label_t t);
// The label type of a rate's nominal rate and drop-frame, for the display
// style; prefix_label_t when there is none (72, 96, 59.94df ...).
label_t display_type_of(timecode_rate r);
std::string rate_label(timecode_rate r);  // "29.97df"

// Reading and writing one text; ConversionError with the reason.
// `as` names the type in messages (default: the rate's name).
std::int64_t read_rate_text(timecode_rate r, std::string const& text, unsigned flags, char own_separator = ':',
                            std::string const& as = "");
std::string write_rate_text(timecode_rate r, std::int64_t frame, unsigned flags);

// How format and parse take a TYPE with the rate options: by rate (a rate
// name, or a timecode label type with --style interchange, --strict,
// --running or --signed), or as the label type's own texts (by_rate
// false). The planners throw UsageError for options that do not apply.
struct RatePlan {
    bool by_rate = false;
    timecode_rate rate{};            // the rate counted
    label_t type = prefix_label_t;   // the label type TYPE names; prefix_label_t for a rate name
    label_t shown = prefix_label_t;  // format: the label type whose text is written (display style)
    unsigned flags = 0;              // timecode_running, timecode_signed
    char separator = ':';            // parse: the label type's own frame separator, also taken
    // One item each way; ConversionError with the command's message.
    std::string write(std::int64_t frame) const;
    std::int64_t read(std::string const& text) const;
};
RatePlan plan_rate_format(std::string const& type, std::string const& prefix, RateOptions const& o);
RatePlan plan_rate_parse(std::string const& type, RateOptions const& o);

// The commands' rate-name forms. Each returns false (nothing done) when the
// TYPE is no rate name and no option asks for rate-first handling.
struct FormatRequest {
    std::string type, prefix;
    std::vector<std::string> samples;
};
bool run_rate_format(Output& out, FormatRequest const& a, RateOptions const& o);
bool run_rate_parse(Output& out, std::string const& type, std::vector<std::string> const& texts, RateOptions const& o);
bool run_rate_calc(Output& out, std::string const& type, std::vector<std::string> const& items, RateOptions const& o);

// `labels rates`: the rate names, after the host's rates.
void list_rate_names(Output& out);

// Text to text for convert and batch: the library's translation, with rate
// names and the options around it, or the direct conversion between two
// rate names.
class TextConversion : public TextConverter {
public:
    TextConversion(std::string const& from, std::string const& to, TranslationOptions const& tr,
                   std::string const& prefix, std::string const& sync, RateOptions const& o);
    ~TextConversion();
    // As Conversion::run; r.text points into this object or the target point.
    bool run(char const* text, Conversion::Result& r) override;
    bool mixes_film_frames(ConversionResult const& r) const override {
        return lib_ && lib_->conv->mixes_film_frames(r);
    }
    // The library's setup, or null for the direct conversion.
    ConversionSetup* library() { return lib_.get(); }
    // Whether either end is a rate name.
    bool rate_named() const { return timecode_rate_ok(from_.rate) || timecode_rate_ok(to_.rate); }
    json setup_json() const;
    // "29.97df frame 2 = 0.0667333 s -> 59.94df frame 4" for --explain.
    std::string explain(std::string const& input, Conversion::Result const& r) const;

private:
    struct End {
        timecode_rate rate;  // rate-named end, or timecode_rate{}
        label_t type = prefix_label_t;
        char separator = ':';  // the type's own frame separator (strict reading)
        bool film = false;     // a 24-frame rate standing for film frames in a film transfer
    };
    End from_, to_;
    RateOptions opt_;
    bool by_frame_ = false;
    std::unique_ptr<ConversionSetup> lib_;
    std::int64_t sync_from_ = 0, sync_to_ = 0;
    char text_[timecode_text_size] = {0};
    std::string source_text_;  // a rate-named source as the library reads it
};

}  // namespace cli

#endif
