// The flat legacy interface: film frames, video frames and fixed-width label
// texts (video timecode, 24 fps film timecode, KeyKode) converted through 2:3
// and 24-to-25 pulldown, and label texts with frames or seconds added.
//
// Kept beside the converter classes for older callers. Every function is a
// pure computation on its arguments and the caller's buffers: no converter,
// no host service, no global state, so all of it is re-entrant.
//
// Frame numbers are 1-based: the first frame is 1, frame 0 is the frame
// before it. Results: 0 not done (an unsupported type, transfer or edit
// kind, or a failed step), 1 done, 2 done where the film frame sits at the
// end of its pulldown cycle (phase >= cycle - 1, see
// film_frames_to_video_frames).
//
// Texts. Output texts are exactly 8 digits and a NUL: the caller's buffer
// needs 9 characters, and no call writes more for any input. A value whose
// text would not fit that form is refused with 0 and the buffer is left as it
// was:
//   - timecode and film timecode: after the one 24-hour wrap, a position
//     before 00:00:00:00 or an hour beyond 99 (frame counts far outside
//     the day, in either direction);
//   - KeyKode: a count outside 0..999999 or a frame outside 0..99 (a
//     position before the first count, an oversized units_per_count, or a
//     units_per_count that flips the sign), and units_per_count 0 for the
//     types that divide by it.
// Input texts are read as the C library's sscanf reads "%2d%2d%2d%2d"
// (timecode) or "%4d%2d", "%5d%2d", "%6d%2d" (KeyKode): white space before
// a field is skipped, a sign counts toward the width, a field that cannot
// be read ends the reading and it and the later fields read as 0. Reading
// stops at the NUL; texts are not otherwise validated.
//
// Pointers. A null pointer the call would read or write through gives 0
// with nothing written. Outputs are written only when the call succeeds,
// except that label_to_frames sets its phase output to -1 first, the label
// plus functions write the new phase once the addition succeeded (a print
// refused after it still gives 0), and a KeyKode read turns blanks of the
// caller's text into '0' (see keycode_to_film_frames).
//
// Arithmetic on caller-supplied numbers (frame counts, deltas, phases,
// units_per_count) wraps as 32-bit two's complement, and every ceiling
// computed in double precision is truncated back to 32 bits the same way,
// so any int, INT_MIN and INT_MAX included, gives a defined result.
//
// Phases. The pulldown phase says where in the cycle the material stands:
// 0..4 for 2:3 pulldown (4 film frames to 5 video frames), 0..24 for
// 24-to-25 (24 film frames to 25 video frames); the value equal to the film
// cycle length (4 or 24) marks the cycle's last film frame. The 3-perf
// KeyKode phase is separate, 1..3: whether a KeyKode count spans 21 frames
// (1 and 2) or 22 frames (3).
#ifndef LABELSBASE_LEGACY_H
#define LABELSBASE_LEGACY_H

#include "labelsbase/transfer_type.h"

// Legacy label types. The names say the family and, for timecode, the
// frame rate the conversions use; the number is the stored value. Types
// 9, 10 and 12 are known only to the KeyKode conversions (10 is refused by
// them too) and are not dispatched by the label arithmetic. Any other
// number is refused.
enum label_type : int {
    legacy_tc30_1 = 1,             // video timecode, 30 fps, drop-frame allowed
    legacy_tc25_2 = 2,             // video timecode, 25 fps
    legacy_tc30_3 = 3,             // video timecode, 30 fps, drop-frame allowed
    legacy_filmtc24_4 = 4,         // film timecode, 24 fps
    legacy_tc25_5 = 5,             // video timecode, 25 fps
    legacy_filmtc24_6 = 6,         // film timecode, 24 fps
    legacy_tc25_7 = 7,             // video timecode, 25 fps
    legacy_keykode_8 = 8,          // KeyKode, one unit per frame
    legacy_keykode_perfs_9 = 9,    // KeyKode, four units (perforations) per frame
    legacy_reserved_10 = 10,       // refused by every function
    legacy_keykode_11 = 11,        // KeyKode, one unit per frame
    legacy_keykode_perfs_12 = 12,  // KeyKode, four units per frame
    legacy_tc25_21 = 21,           // video timecode, 25 fps
    legacy_tc30_22 = 22,           // video timecode, 30 fps, drop-frame allowed
    legacy_tc30_25 = 25,           // video timecode, 30 fps, drop-frame allowed
    legacy_keykode_3perf_26 = 26,  // KeyKode, 35 mm 3-perf: counts of 21, 21, 22 frames
    legacy_keykode_27 = 27,        // KeyKode, one unit per frame
    legacy_filmtc24_34 = 34,       // film timecode, 24 fps
    legacy_tc50_36 = 36,           // video timecode, 50 fps
    legacy_tc60_37 = 37,           // video timecode, 60 fps
    legacy_filmtc48_38 = 38,       // film timecode; 48 fps when read as video timecode
    legacy_tc50_39 = 39,           // video timecode, 50 fps
    legacy_tc60_40 = 40,           // video timecode, 60 fps
    legacy_filmtc48_41 = 41,       // film timecode; 48 fps when read as video timecode
    legacy_tc30_42 = 42,           // video timecode, 30 fps, drop-frame allowed
    legacy_filmtc48_43 = 43        // film timecode; 48 fps when read as video timecode
};

// The video the material was transferred to (get_frame_rate).
enum material_type : int {
    legacy_material_2997 = 0,  // 30/1.001 fps video
    legacy_material_30 = 1,    // 30 fps video
    legacy_material_25 = 2     // 25 fps video; so is every other value
};

// What the frame numbers of an edit count.
enum edit_type : int {
    legacy_film_edit = 0,  // film frames
    legacy_video_edit = 1  // video frames; other values are refused
};

// ---------------------------------------------------------------------
// Film frames and video frames
// ---------------------------------------------------------------------

// The first video frame of film frame `film`. t: 0 and 3 frame for frame,
// 1 2:3 pulldown, 2 24-to-25; anything else gives 0. video_phase is the
// video-side phase of the position when known (as returned by
// video_frames_to_film_frames), else -1; equal to the film cycle length (4
// or 24) it takes one video frame off. Returns 2 when phase >= cycle - 1,
// else 1 (1 for t 0 and 3). 2:3, phase 0: film 1..8 -> video 1 3 4 5 6 8 9 10.
int film_frames_to_video_frames(int film, int* video_out, int phase, int video_phase, transfer_type t);

// The film frame shown on video frame `video`, and in *phase_out the phase
// (0..V-1, V = 5 or 25) to hand back with it; *phase_out is not written for
// t 0 and 3. Other t: 0. 2:3, phase 0: video 1..5 -> film 1 2 2 3 4.
int video_frames_to_film_frames(int video, int* film_out, int phase, int* phase_out, transfer_type t);

// ---------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------

// Reads "HHMMSSFF" as a video frame. Types read at 30 fps honour drop != 0
// (frame numbers 00 and 01 skipped in minutes not divisible by ten); types
// 4, 6 and 34 and every non-timecode type give 0.
// "01000000" at 25 fps -> 90001; drop-frame "00010002" -> 1801.
int timecode_to_video_frames(int* video_out, char* text, label_type lt, int drop);

// Prints video frame `video` as "HHMMSSFF" at the type's rate (24 for the
// film timecode types 4, 6 and 34), wrapping once over 24 hours in either
// direction: video 0 at 25 fps -> "23595924". See the header note for the
// refusals.
int video_frames_to_timecode(int video, char* text_out, label_type lt, int drop);

// Reads a KeyKode text "CCCCFF" (other lengths), "CCCCCFF" (7 characters)
// or "CCCCCCFF" (8 characters) as a film frame. Blanks among the first 8
// characters of the caller's text are first turned into '0' in place.
// Types 8, 11, 27 count one unit per frame, 9 and 12 four:
// film = (units_per_count * count + frame) / units + 1. Type 26 (3-perf)
// needs kk_phase 1..3 (else 0, text untouched), the phase of the count
// read, and returns in *kk_phase_out the phase of the first count of its
// group of three. Other types: 0.
int keycode_to_film_frames(int* film_out, char* text, int kk_phase, int* kk_phase_out, label_type lt,
                           int units_per_count);

// Prints film frame `film` as "CCCCCCFF". digit_flags bits 2 upward, while
// set, give the number of count digits shown (n set bits: counts wrap every
// 10^n, positions before the first count wrap once from the end); with bit
// 2 clear the period is one count. Type 26 takes kk_phase 1..3, the phase
// of the group's first count, and returns the phase of the printed count;
// other kk_phase values give 0. Other types take units_per_count != 0.
// Type 26, kk_phase 1: film 22 -> "00000100", phase 2.
int film_frames_to_keycode(int film, char* text_out, int kk_phase, int* kk_phase_out, label_type lt,
                           int units_per_count, unsigned char digit_flags);

// Film timecode, 24 fps, no drop-frame. Reading always succeeds;
// printing wraps once over 24 hours: film 0 -> "23595923".
int filmtc_to_film_frames(int* film_out, char* text);
int film_frames_to_filmtc(int film, char* text_out);

// ---------------------------------------------------------------------
// Composed conversions: the two steps in order, 0 as soon as one fails.
// ---------------------------------------------------------------------

// Result 1.
int timecode_to_film_frames(int* film_out, char* text, int phase, int* phase_out, label_type lt, int drop,
                            transfer_type t);
// Result of the film-to-video step (1 or 2).
int film_frames_to_timecode(int film, char* text_out, int phase, int video_phase, label_type lt, int drop,
                            transfer_type t);
// Result of the film-to-video step (1 or 2); a refused transfer is caught
// before the text is touched.
int keycode_to_video_frames(int* video_out, char* text, int kk_phase, int* kk_phase_out, int phase, label_type lt,
                            transfer_type t, int units_per_count);
// Result of the KeyKode step.
int video_frames_to_keycode(int video, char* text_out, int kk_phase, int* kk_phase_out, int phase, label_type lt,
                            transfer_type t, int units_per_count, unsigned char digit_flags);
// Result of the film-to-video step (1 or 2).
int filmtc_to_video_frames(int* video_out, char* text, int phase, transfer_type t);
// Result 1.
int video_frames_to_filmtc(int video, char* text_out, int phase, transfer_type t);

// ---------------------------------------------------------------------
// Adding frames while tracking the phase
// ---------------------------------------------------------------------

// *film_out = film + delta; for 2:3 and 24-to-25 the new phase (0..F-1 for
// a phase in range) goes to *phase_out, for t 0 and 3 it is not written.
// t outside 0..3: 0.
int film_frames_plus_frames(int film, int phase, int delta, int* film_out, int* phase_out, transfer_type t);
// *video_out = video + delta; for 2:3 and 24-to-25 the new phase (0..V-1)
// goes to *phase_out; every other t is a plain addition. Result 1.
// video 10, phase 4, delta 1, 2:3 -> video 11, phase 0.
int video_frames_plus_frames(int video, int phase, int delta, int* video_out, int* phase_out, transfer_type t);
// Film or video addition by edit kind; other edit kinds: 0.
int frames_plus_frames(int frames, int phase, int delta, int* frames_out, int* phase_out, transfer_type t, edit_type e);

// ---------------------------------------------------------------------
// Label arithmetic
// ---------------------------------------------------------------------
//
// The label types fall into three families: video timecode (1, 2, 3, 5, 7,
// 21, 22, 25, 36, 37, 39, 40, 42), film timecode read and printed at 24 fps
// (4, 6, 34, 38, 41, 43) and KeyKode (8, 11, 26, 27). Every other type, and
// an edit kind other than 0 (film frames) and 1 (video frames), gives 0.

// Reads a label text of any family as film or video frames. *phase_out is
// set to -1 first and keeps it unless a video-to-film step writes the phase
// (video timecode read as film frames).
// "01000000", type 2, video edit -> 90001, phase -1.
int label_to_frames(char* text, int kk_phase, int* kk_phase_out, int phase, int* phase_out, int* frames_out,
                    label_type lt, int drop, transfer_type t, edit_type e, int units_per_count);

// Prints film or video frames as a label text of any family.
int frames_to_label(char* text_out, int kk_phase, int* kk_phase_out, int phase, int video_phase, int frames,
                    label_type lt, int drop, transfer_type t, edit_type e, int units_per_count,
                    unsigned char digit_flags);

// Frames per second of an edit: 24 for a film edit whatever the material;
// for any other edit kind 30/1.001, 30 or 25 by material.
double get_frame_rate(material_type m, edit_type e);

// Reads `text`, adds `delta` frames and prints the result in the same type
// into text_out; the new pulldown phase goes to *phase_out once the
// addition succeeded (for transfers without a cycle the phase passes
// through unchanged). kk_phase_out may be null except for type 26.
// "00000000", type 1, video edit, delta 30 -> "00000100".
int label_plus_frames(char* text_out, int* kk_phase_out, int* phase_out, char* text, int kk_phase, int phase, int delta,
                      label_type lt, int drop, int units_per_count, unsigned char digit_flags, transfer_type t,
                      edit_type e);

// As label_plus_frames with delta = floor(rate * seconds + 0.01) frames at
// get_frame_rate(m, e). Seconds giving no number or a delta outside the
// int range: 0. Note the parameter order differs from label_plus_frames.
int label_plus_time(char* text_out, int* kk_phase_out, int* phase_out, char* text, int kk_phase, int phase,
                    double seconds, label_type lt, int drop, int units_per_count, material_type m, transfer_type t,
                    edit_type e, unsigned char digit_flags);

#endif
