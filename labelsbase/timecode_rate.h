// Timecode by rate: SMPTE timecode at any frame rate people work in, named
// by the rate rather than by a label type.
//
// A rate is a nominal integer frame rate (1 to 1000 frame numbers a
// second), whether the real rate is 1000/1001 of it, and whether labels are
// dropped. Frames are counted from 0 at 00:00:00:00, one per real frame.
// Every function is pure: no state, no allocation, no locks; any thread
// may call any of them at any time.
//
// Rate names, read and written by timecode_rate_from_name and
// timecode_rate_name:
//   "23.976" "24" "25" "29.97" "29.97df" "30" "47.952" "48" "50" "59.94"
//   "59.94df" "60" "72" "96" "100" "119.88" "119.88df" "120" "239.76" "240"
//   any integer N from 1 to 1000 ("12", "1000"), and N/1.001 for any
//   nominal rate N ("30/1.001" is 29.97, "24/1.001" is 23.976, "15/1.001");
//   a trailing "df" (or "DF") asks for drop-frame. The decimal names are
//   written for the rates above; any other 1000/1001 rate is written
//   "N/1.001".
//
// Drop-frame is allowed only at 1000/1001 rates whose nominal rate is a
// multiple of 30 (29.97, 59.94, 119.88, 239.76, ...): 2 x (N / 30) labels
// are skipped at the start of every minute except every tenth, so an hour
// of 29.97 drop-frame is 107892 frames and of 59.94 drop-frame 215784.
//
// Interchange text, as edit lists and the media libraries write it:
// "hh:mm:ss:ff" (non-drop) or "hh:mm:ss;ff" (drop-frame), two digits a
// field, three frame digits above 100 fps, no sign column.
//
// Edge cases:
// - Frames past one day wrap at 24 hours (SMPTE timecode is a time of day),
//   negative frames count back from midnight: -1 at 25 is 23:59:59:24. The
//   option timecode_running keeps the running count instead (hours 24 and
//   up, as many hour digits as needed); timecode_signed writes a negative
//   count as '-' and the label of its magnitude (durations).
// - Strict reading refuses anything that is not exactly a label of the
//   rate and says which field is wrong (timecode_reason).
#ifndef LABELSBASE_TIMECODE_RATE_H
#define LABELSBASE_TIMECODE_RATE_H

#include <cstddef>
#include <cstdint>

// A timecode rate. Valid when timecode_rate_ok says so; the failure value
// of the functions that make one is timecode_rate{} (nominal 0).
struct timecode_rate {
    int nominal = 0;          // frame numbers per timecode second, 1..1000
    bool fractional = false;  // real rate nominal x 1000/1001
    bool drop = false;        // drop-frame labels
};

inline bool operator==(timecode_rate a, timecode_rate b) {
    return a.nominal == b.nominal && a.fractional == b.fractional && a.drop == b.drop;
}
inline bool operator!=(timecode_rate a, timecode_rate b) { return !(a == b); }

// True for nominal 1..1000, and drop only with fractional and a nominal
// multiple of 30.
bool timecode_rate_ok(timecode_rate r);

// The rate a name gives; timecode_rate{} for anything else ("29.97df " with
// a trailing blank, "30df", "0", "1001", "").
timecode_rate timecode_rate_from_name(char const* name, std::size_t length);
timecode_rate timecode_rate_from_name(char const* name);  // NUL-terminated; null gives timecode_rate{}

// Longest name written, with its NUL ("1000/1.001df").
constexpr std::size_t timecode_rate_name_size = 16;
// Writes the rate's name and a NUL ("59.94df", "24", "15/1.001"); returns
// its length, or 0 (nothing written) for an invalid rate or a buffer under
// timecode_rate_name_size.
std::size_t timecode_rate_name(timecode_rate r, char* out, std::size_t size);

// The named rates, in the order "labels rates" lists them (23.976 up to 240).
timecode_rate const* timecode_named_rates(std::size_t* count);

// The exact real rate as a fraction in lowest terms: 30000/1001 at 29.97,
// 25/1 at 25; {0, 1} for an invalid rate.
struct timecode_ratio {
    std::int64_t num;
    std::int64_t den;
};
timecode_ratio timecode_rate_exact(timecode_rate r);

// Frames in 24 hours (2589408 at 29.97df, 2160000 at 25); 0 for an invalid rate.
std::int64_t timecode_frames_per_day(timecode_rate r);

// Options of the text functions, OR-ed together.
enum : unsigned {
    timecode_running = 1u,  // no 24-hour wrap: hours 24 and up are written and read
    timecode_signed = 2u,   // negative counts written and read with a leading '-'
};

// A label's fields.
struct timecode_fields {
    std::int64_t hours = 0;  // [0, 23], or any count with timecode_running
    int minutes = 0;         // [0, 59]
    int seconds = 0;         // [0, 59]
    int frames = 0;          // [0, nominal - 1]
    bool negative = false;   // a signed count below 0
};

// The label of a frame count. False (out untouched) for an invalid rate, or
// a negative count with timecode_running and without timecode_signed.
bool timecode_frames_to_fields(timecode_rate r, std::int64_t frame, unsigned options, timecode_fields* out);
// The frame count of a label. False (out untouched) for an invalid rate or
// fields that are not a label of the rate (out of range, or skipped by
// drop-frame); hours past 23 are taken as a running count.
bool timecode_fields_to_frames(timecode_rate r, timecode_fields const& f, std::int64_t* out);

// Longest text written, with its NUL: '-', 19 hour digits, ":mm:ss;fff".
constexpr std::size_t timecode_text_size = 32;
// Writes the interchange text of a frame count and a NUL; returns its
// length (11 for "01:00:00;00", 12 with three frame digits), or 0 with
// nothing written for an invalid rate, a count refused by the options (see
// timecode_frames_to_fields) or a buffer too small for the text.
std::size_t timecode_write(timecode_rate r, std::int64_t frame, char* out, std::size_t size, unsigned options = 0);

// What is wrong with a text that strict reading refused.
enum class timecode_field : unsigned char {
    none,  // accepted
    rate,  // the rate is not valid
    text,  // empty, too long, or characters after the frames
    sign,  // a '-' where negatives are not allowed
    hours,
    minutes,
    seconds,
    frames,
    separator,  // a separator between fields
    label,      // fields in range, but the label is skipped by drop-frame
};
enum class timecode_fault : unsigned char {
    none,
    invalid_rate,        // the rate is not valid
    empty,               // nothing to read
    trailing,            // characters after the frames
    negative,            // '-' without timecode_signed
    digits,              // a field without its digits (value: digits expected)
    range,               // a field out of range (value, low, high)
    drop_separator,      // ':' before the frames of a drop-frame rate
    non_drop_separator,  // ';', '.' or ',' before the frames of a non-drop rate
    bad_separator,       // any other character between fields
    skipped_label,       // a label drop-frame skips
};
struct timecode_problem {
    timecode_fault fault = timecode_fault::none;
    timecode_field field = timecode_field::none;
    int column = 0;          // 0-based position in the text the fault was found at
    std::int64_t value = 0;  // the field's value (range), the digits expected (digits)
    std::int64_t low = 0;    // the field's range (range)
    std::int64_t high = 0;
    char found = 0;            // the separator found (separators)
    timecode_fields fields{};  // fields read so far (all of them for skipped_label)
};

// The result of strict reading: the frame count, or a problem.
struct timecode_reading {
    std::int64_t frame = 0;
    timecode_problem problem{};
    bool ok() const { return problem.fault == timecode_fault::none; }
};

// Strict reading of interchange text: exactly "hh:mm:ss" then the frame
// separator and "ff" ("fff" above 100 fps); no blanks. Minutes and seconds
// below 60, frames below the nominal rate, hours below 24 (with
// timecode_running any count up to 999999999: two digits, or more without a
// leading zero); the frame separator is ':'
// for non-drop rates and ';', '.' or ',' for drop-frame, and drop-frame
// labels that the rate skips are refused. A leading '-' only with
// timecode_signed. The first fault found, left to right, is reported.
// Example: at 29.97df "00:10:00;00" is frame 17982; "00:01:00;00" is
// refused (skipped_label); "01:61:00;00" is refused (minutes, range 0-59).
timecode_reading timecode_read_n(timecode_rate r, char const* text, std::size_t length, unsigned options = 0);
timecode_reading timecode_read(timecode_rate r, char const* text,
                               unsigned options = 0);  // NUL-terminated; null is empty

// Columns: many counts of one rate written, or many texts read, in one
// call, for callers converting arrays (the rate is looked at once, not per
// item). Item i is at out + i * stride (texts + i * stride). The answers
// are those of timecode_write and timecode_read_n item by item, except that
// a separator other than 0 is the frame separator of every text, written
// and read in place of the rate's own (a label type's display text: '.'
// for 25 fps, '+' for 24); reading then refuses any other.
//
// Writes each count's text and a NUL (at least 13 bytes of stride take
// every time of day; a shorter stride or options take the item-by-item
// path) and sets lengths[i] to the text's length, or to 0 where
// timecode_write with a buffer of stride bytes writes nothing. Returns the
// number of texts written; 0 with nothing written for a null pointer.
std::size_t timecode_write_column(timecode_rate r, std::int64_t const* frames, std::size_t count, char* out,
                                  std::size_t stride, unsigned char* lengths, unsigned options = 0, char separator = 0);
// Reads each text strictly: lengths[i] bytes (null lengths: up to the
// first NUL or the stride). ok[i] is 1 and frames[i] the count where the
// text reads; ok[i] is 0 and frames[i] 0 where it does not (timecode_read_n
// on the same text gives the reason). Returns the number read; 0 with
// nothing written for a null texts, frames or ok.
std::size_t timecode_read_column(timecode_rate r, char const* texts, std::size_t stride, unsigned char const* lengths,
                                 std::size_t count, std::int64_t* frames, unsigned char* ok, unsigned options = 0,
                                 char separator = 0);

// Room for any reason with its NUL.// Room for any reason with its NUL.
constexpr std::size_t timecode_reason_size = 128;
// Writes why a reading was refused and a NUL, naming the field:
//   "minutes 61 out of range 0-59"
//   "00:01:00;00 is not a drop-frame label: frames 00 and 01 are skipped at minute 1"
//   "frame separator ':' at 29.97df: drop-frame labels take ';' (or '.' or ',')"
// Returns the length (cut to fit the buffer), or 0 with nothing written
// when the reading was accepted or size is 0.
std::size_t timecode_reason(timecode_rate r, timecode_problem const& p, char* out, std::size_t size);

// SMPTE ST 12-1 words in the layout of FFmpeg's
// av_timecode_get_smpte_from_framenum and av_timecode_make_smpte_tc_string2:
//   bits 0-3 hour units, 4-5 hour tens, 8-11 minute units, 12-14 minute
//   tens, 16-19 second units, 20-22 second tens, 24-27 frame units, 28-29
//   frame tens, 30 drop-frame flag; above 30 fps the frame number is halved
//   and its low bit is the field bit, bit 7 at exactly 50 fps and bit 23 at
//   every other rate.
// The word of a frame count (wrapped into the day). False for an invalid
// rate or one whose frame numbers do not fit the word (nominal above 80).
bool timecode_to_smpte(timecode_rate r, std::int64_t frame, std::uint32_t* word);
// The frame count (within the day) of a word. False for an invalid rate, a
// word whose digits are not decimal or whose fields are not a label of the
// rate, or a drop-frame flag that does not match the rate.
bool timecode_from_smpte(timecode_rate r, std::uint32_t word, std::int64_t* frame);

// The frame of `to` whose start is nearest the start of `frame` of `from`
// in real time (frame x from-duration, rounded to the nearest to-frame; a
// start exactly half-way goes to the later frame). 29.97df frame 2 is
// 59.94df frame 4. False (out untouched) for an invalid rate or a result
// beyond 64 bits.
bool timecode_convert_real_time(timecode_rate from, timecode_rate to, std::int64_t frame, std::int64_t* out);

#endif
