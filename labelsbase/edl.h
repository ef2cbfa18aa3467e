// Edit decision lists (CMX 3600) and film cut lists.
//
// An EDL is read line by line into an `edl::List`: every line of the file is
// kept as it came (text, line ending, line number) and the lines the reader
// understands are also parsed into events. Writing an unchanged list gives
// back the very bytes that were read; an event whose fields were changed is
// written in the standard column layout
//
//     001  REEL0001 V     C        01:00:00:00 01:00:05:00 01:00:00:00 01:00:05:00
//     002  A001C003 AA/V  D    030 04:12:10:05 04:12:14:00 01:00:05:00 01:00:08:25
//
// (event number at least three digits, two spaces, reel in eight columns,
// track in five, transition in four, the transition duration in three or
// blank, then the four timecodes).
//
// What the reader takes:
//  - `TITLE:` and `FCM: DROP FRAME` / `FCM: NON-DROP FRAME` lines, the FCM
//    also between events, where it sets the count of the events after it;
//  - event lines: number, reel (`BL`, `BLK` black and `AX` aux reels
//    included), track (`V`, `A`, `A2`..`A4`, `AA`, `AA/V`, `A/V`, `A2/V`,
//    `B`, `NONE`), transition (`C`, `D`, `W###`, `K`, `KB`, `KO`, also
//    written `K B` / `K O`) with its duration, source in/out and record
//    in/out;
//  - comment lines (`*` first, and the `EFFECTS NAME IS` and `>>>` notes
//    some systems write without one) kept with the event before them, or
//    with the list head before the first event;
//  - `M2` motion lines (reel, speed in frames per second, entry timecode)
//    kept with their event;
//  - `SPLIT:` lines (kept with the event after them) and `AUD` lines (kept
//    with the event before them);
//  - every other line is kept, with its line number, as an unknown line.
// Fields may be separated by tabs or runs of spaces, keywords may be lower
// case, lines may end in LF, CRLF or CR (or not at all at the end), and a
// UTF-8 byte-order mark is read and written back.
//
// Timecodes are read strictly at the list's rate: `hh:mm:ss:ff` with
// two-digit fields, minutes and seconds below 60, frames below the nominal
// rate, hours below 24, and at drop-frame no label that the count skips.
// The frame separator may be `:`, `;`, `.` or `,` in either count (EDLs from
// different systems differ); a timecode written by a conversion uses `;` at
// drop frame and `:` otherwise.
//
// Reading never fails: a line the reader cannot make sense of is a problem
// with its line number. Nothing here throws, keeps global state or locks;
// reading, writing, checks and conversions work only on their arguments.
// The cut list makes private converters and labels of its own and
// translates with a parameter block of its own (a 24 fps film project);
// the block's remaining defaults are read from the host's project settings,
// never written. So cut lists may be built on several threads at once and
// agree with one thread. A settings change made while a cut list is being
// built may reach it in part (each default is its own snapshot read); set
// the project before, not during.
//
// Film cut lists (match back): see `cut_list` below.
#ifndef LABELSBASE_EDL_H
#define LABELSBASE_EDL_H

#include <cstdint>
#include <string>
#include <vector>

#include "labelsbase/labelcvt.h"
#include "labelsbase/timecode_rate.h"
#include "labelsbase/transfer_type.h"

namespace edl {

// ---------------------------------------------------------------------------
// Rates and timecode fields.

// A list counts at a timecode rate (see timecode_rate.h): 23.976, 24, 25,
// 29.97, 30, 50, 59.94, 60 ...; the FCM lines set its drop flag.
using Rate = timecode_rate;

// A timecode field of a list read strictly at the rate. Lists from
// different systems write the frame separator differently (drop-frame
// lists with ':' throughout, non-drop ones with ';'), so any of ':', ';',
// '.', ',' is taken before the frames; every other rule of strict reading
// holds. On failure `why` names the text and the field ("'01:61:00:00':
// minutes 61 out of range 0-59").
bool read_timecode(std::string const& text, Rate r, long& frames, std::string& why);
// Interchange text (';' before the frames at drop frame), wrapped into the day.
std::string write_timecode(long frames, Rate r);
long frames_per_day(Rate r);
std::string rate_name(Rate r);

// ---------------------------------------------------------------------------
// The list.

enum class LineKind { blank, title, fcm, event, comment, motion, split, aud, unknown };

struct Line {
    LineKind kind = LineKind::unknown;
    int number = 0;      // 1-based line number in the file
    std::string text;    // the line without its ending
    std::string ending;  // "\n", "\r\n", "\r" or "" (last line)
    int event = -1;      // index of the event the line belongs to, or -1
};

// A timecode field: the text as written and, when it reads at the list's
// rate, its frame count.
struct Timecode {
    std::string text;
    long frames = 0;
    bool ok = false;
};

// An M2 motion line.
struct Motion {
    int line = 0;  // index into List::lines
    std::string reel;
    std::string speed;  // as written ("048.0", "-025.0")
    double fps = 0;     // the speed read; 0 for a freeze frame
    bool speed_ok = false;
    Timecode entry;
};

struct Event {
    int line = 0;     // index into List::lines of the event line
    int number = -1;  // -1 when the number does not read
    std::string number_text;
    std::string reel;
    std::string track;       // upper case: "V", "AA/V", "A2", "NONE"
    std::string transition;  // upper case: "C", "D", "W001", "K", "KB", "KO"
    std::string duration;    // transition duration as written, or ""
    int duration_frames = -1;
    Timecode source_in, source_out, record_in, record_out;
    bool drop = false;          // the FCM in force at this event
    bool complete = false;      // every field was found
    std::vector<int> comments;  // indices into List::lines (`*` lines)
    std::vector<int> extras;    // SPLIT: and AUD lines of the event
    std::vector<Motion> motion;

    bool is_black() const;   // reel BL or BLK
    bool is_aux() const;     // reel AX
    bool has_video() const;  // track V, AA/V, A/V, A2/V, B
    // The comment lines' text ("* FROM CLIP NAME: A001C003").
    std::vector<std::string> comment_texts(struct List const& list) const;
};

struct List {
    bool bom = false;
    std::string title;  // after "TITLE:", trimmed
    bool drop = false;  // the first FCM of the list (non-drop without one)
    bool has_fcm = false;
    std::vector<Line> lines;
    std::vector<Event> events;
    std::vector<int> head_comments;  // `*` lines before the first event
};

// Reads an EDL from its bytes at the given rate. The rate's drop flag is the
// count until an FCM line sets it. Never fails; see `check` for what it
// found wrong.
List read(std::string const& bytes, Rate rate);
// The bytes of the list: each line as read unless the event, motion or FCM
// it carries was changed, in which case it is written afresh.
std::string write(List const& list);

// The standard layout of an event line and of an M2 line
//     M2   REEL0001 048.0                01:00:10:00
// (reel in the event's reel column, the speed after it, the entry timecode
// at column 36).
std::string format_event(Event const& e);
std::string format_motion(Motion const& m);

// ---------------------------------------------------------------------------
// Checks.

enum class Severity { warning, error };
struct Problem {
    int line = 0;  // 1-based
    Severity severity = Severity::error;
    std::string message;
};
// Longest reel name of the standard layout.
constexpr std::size_t kReelWidth = 8;

// Errors: lines that are not understood as events although they start with
// an event number (truncated lines), unknown tracks or transitions,
// timecodes that do not read strictly (drop-frame labels that do not exist
// included), out before in, source and record durations that differ without
// a motion effect, event numbers going backwards, an FCM the rate cannot
// have. Warnings: lines not understood, record gaps and overlaps on a
// track, reels longer than the layout's eight columns.
std::vector<Problem> check(List const& list, Rate rate);
bool has_errors(std::vector<Problem> const& problems);

// ---------------------------------------------------------------------------
// Conversions of a whole list. Every event keeps its number, reel, track,
// transition and comments; only timecodes (and FCM lines) change. On
// failure (a timecode that does not read, a target without the frames) the
// list is left as it was and `why` names the line.

// Drop-frame <-> non-drop re-labelling at 29.97 or 59.94: every timecode
// names the same frame of the count.
bool relabel(List& list, Rate from, bool to_drop, std::string& why);

enum class RateRule {
    real_time,    // the frame whose start is nearest the same instant
    frame_count,  // frame n stays frame n
    pulldown      // through a film transfer: 2:3 (24 <-> 30 families) or 24-to-25
};
// Every timecode to another rate. real_time: the frame whose start is
// nearest in real time (half-way goes to the later frame), as
// timecode_convert_real_time; transition durations and M2 speeds scale by
// the ratio of the rates. frame_count: the same count at the new rate.
// pulldown: between 24 (or 23.976) and 30 (29.97) through 2:3, or 25
// through 24-to-25, sequence phase 0 at 00:00:00:00: a video frame becomes
// the film frame of its first field (the rule of the cut list), a film frame
// the first video frame whose first field it is; film -> video -> film
// gives every film frame back. Source and record of one event are
// converted alike, so cuts stay cuts.
bool convert_rate(List& list, Rate from, Rate to, RateRule rule, std::string& why);
// Moves every record timecode so that the first event's record in becomes
// `start` (in the list's rate).
bool move_record_start(List& list, Rate rate, long start, std::string& why);

// ---------------------------------------------------------------------------
// Telecine logs.
//
// A CSV file with a header row. Columns (any order, names any case):
// `reel` (the EDL's reel), `timecode` (a video timecode), `keykode` (the
// KeyKode of that video frame, inner spaces optional) required; `phase`
// (0-4, or A-D: the 2:3 frame letter; 0-24 for 24-to-25; default 0), `type`
// (a KeyKode label type name: keycode_35 (default), keycode_16,
// keycode_353, ...), `transfer` (pull23 / 2:3, pogle / 24-to-25, frame;
// default from the video rate), `camroll`, `labroll`. Other columns are
// kept. Fields may be quoted ("..." with "" for a quote). Blank lines and
// lines starting with # are skipped.
struct LogRow {
    int line = 0;
    std::string reel, timecode, keykode, camroll, labroll;
    long frames = 0;  // timecode as a frame count
    int phase = 0;
    label_t type = keycode_35_label_t;
    transfer_type transfer = transfer_unspecified;  // unspecified: from the rate
    std::string prefix;                             // the KeyKode's prefix ("KJ231234")
    int perfs = 0;                                  // the KeyKode as the converter's sample
    std::vector<std::pair<std::string, std::string>> extra;
};
struct TelecineLog {
    std::vector<LogRow> rows;
    std::vector<Problem> problems;  // errors: rows left out
};
TelecineLog read_telecine_log(std::string const& bytes, Rate rate);

// ---------------------------------------------------------------------------
// Film cut lists.
//
// For every event on a video track, its reel's log row at or before the
// event's source in (the nearest sync point) ties video frames to film
// frames: video frame j of the reel is translated to film exactly as
// `labels convert` translates a timecode to KeyKode with the row's timecode
// and KeyKode as sync point and the row's transfer and phase, through the
// library's position translation. In 2:3 pulldown, a video frame that mixes
// two film frames (its two fields come from different frames) belongs to
// the film frame of its first field; in 24-to-25 the repeated frame is the
// one that shows twice. KeyKode in is the film frame of the first video
// frame of the event, KeyKode out that of the last video frame (inclusive);
// the duration counts the film frames between them, both ends included.
// Motion effects (M2) are cut at the source range the speed covers;
// dissolves and wipes take both sides.

struct CutEvent {
    int event = 0;
    int line = 0;  // 1-based line of the event line
    std::string reel, camroll, labroll;
    std::string keykode_in, keykode_out;
    int film_in = 0, film_out = 0;  // KeyKode samples (perforations)
    int frames = 0;                 // film frames, both ends included
    std::string feet_frames;        // "12+05" (35 mm: 16 frames a foot)
    std::string footage;            // running footage of the cut at the end of the event
    std::string transition;
    label_t type = keycode_35_label_t;
    std::string prefix;
};
// Film two uses need: two events, or (event_a == event_b) the outgoing and
// incoming sides of one transition.
struct Dupe {
    int event_a = 0, event_b = 0;
    std::string reel;
    std::string keykode_in, keykode_out;  // the film both use
    int frames = 0;
};
struct Optical {
    int event = 0;
    std::string kind;                          // "dissolve", "wipe", "key", "motion"
    std::string detail;                        // "030 frames", "speed 48.0 fps"
    std::string from_reel, from_in, from_out;  // the outgoing side (empty for motion)
    std::string to_reel, to_in, to_out;
};
struct Pull {
    std::string camroll;
    std::vector<int> events;  // indices into CutList::events, KeyKode order
};
struct Note {
    int event = 0;
    int line = 0;
    std::string message;
    bool unmatched = false;  // picture whose film was not found (not black or aux)
};
struct CutList {
    std::vector<CutEvent> events;
    std::vector<Dupe> dupes;
    std::vector<Optical> opticals;
    std::vector<Pull> pulls;
    std::vector<Note> notes;
    long total_frames = 0;
    std::string total_footage;
};

// The cut list of a checked list. Events without video, black and aux
// reels, reels missing from the log and events whose film cannot be
// reached get a note instead of a row.
CutList cut_list(List const& list, Rate rate, TelecineLog const& log);

}  // namespace edl

#endif
