// An edit label: a label bound to the medium and generation of the material
// it describes. The medium decides the pitch: 30 fps timecode written on
// 29.97 fps video runs 1.001 times slower, audio timecode follows the
// transfer of the picture it was synchronised with, and film-rate labels are
// 1/24 second per frame.
//
// Its keep string is the label's followed by " MediumRollId <medium>,<generation>":
//
//     LABEL_REV:1 pal_label  01:00:00.13 100000000 0.0400000000 1 MediumRollId 19,3
//
// It is built in 131 bytes (the label's own keep_buffer, or a caller's buffer
// of at least that size) with bounded writes. The label part is cut first, so
// that the identifier always follows complete: the label part gets
// 131 - 1 - 14 - (length of the identifier) characters, 112 for a usual
// identifier such as "28,2"; with such an identifier only a pitch x samples
// per unit of 1e18 or more can need more (see Label.h).
#ifndef LABELSBASE_EDITLABEL_H
#define LABELSBASE_EDITLABEL_H

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "labelsbase/Label.h"
#include "labelsbase/MediumRollIdent.h"
#include "labelsbase/transfer_type.h"

class EditLabel : public Label {
public:
    // Size of an edit label's keep-string buffer: the label's and the
    // medium-roll identifier.
    static constexpr std::size_t keep_string_size = 131;

    MediumRollIdent medium_roll;
    bool pitch_modified;  // a pitch rule or a new medium roll changed the pitch
    mutable char keep_buffer[keep_string_size];
    std::int32_t marker;  // 1 after construction; kept for the host

    // Edit labels alive (the invalid edit label counts from load to unload).
    static std::atomic<std::int32_t> howmany;  // counted atomically, reads as an int

    // Reads a keep string: the label, then the identifier after the first
    // "MediumRollId" in the text ({1, 1}, any medium and generation, when
    // there is none). The stored pitch stays. A revision-2 text prints a
    // warning through herc_printf.
    explicit EditLabel(char const* text);
    // A copy of the label (revision 1) on the given medium roll, with the
    // medium's pitch.
    EditLabel(Label const& label, MediumRollIdent const& id);
    // A new bounded label of the type on the given medium roll, with the
    // medium's pitch.
    EditLabel(label_t type, MediumRollIdent const& id);
    EditLabel(EditLabel const& other);
    ~EditLabel();

    // Label assignment and the medium roll; pitch_modified and marker stay.
    EditLabel& operator=(EditLabel const& other);

    using Label::init;
    // Re-initialises the medium roll and pitch and counts the label again.
    void init(MediumRollIdent const& id);

    // New type: its natural pitch, then the medium's rule.
    void set_type(label_t type);

    MediumRollIdent& get_MediumRoll() { return medium_roll; }
    MediumRollIdent const& get_MediumRoll() const { return medium_roll; }
    // A different identifier takes the medium's pitch and sets pitch_modified.
    void set_MediumRoll(MediumRollIdent const& id);

    // A label of a real category on a medium roll with both fields known.
    bool is_valid() const;

    // Label equality and the same medium and generation (no wildcards).
    bool operator==(EditLabel const& other) const;
    bool operator!=(EditLabel const& other) const { return !(*this == other); }

    // Writes the keep string into out (131 bytes) or, when out is null, into
    // keep_buffer. Returns the buffer written. Does not allocate.
    char* make_keep_string(char* out) const;

    // The pitch the label's medium gives its timecode type (see the table in
    // EditLabel.cpp); other types keep their pitch.
    void fixup_pitch();
    // For audio labels: the pitch that follows the transfer of the picture on
    // the given video medium, and the project's camera speed.
    void fix_audio_label_pitch(transfer_type transfer, MediumRollMedium video);

    // The other label is on an output medium of the same output rate as this
    // one, either scan. Generations are not compared.
    bool equivalentPlayoutLabelMediumRolls(EditLabel const& other) const;
    // Neither is first generation and both are source media of one family
    // (30/60, 24 or 25/50 fps), whole or 1001 rate alike.
    bool equivalentPreviousGenerationMediumRolls(EditLabel const& other) const;
};

// The invalid edit label: type 0 on the medium roll {0, 0}. Usable from other
// units' static initialisers.
EditLabel const& invalid_edit_label();

// True for 24 and 48 fps projects.
bool is_film_project();

namespace lb {
// Builds the invalid edit label on first use from any unit.
struct EditLabelStaticsInit {
    EditLabelStaticsInit();
    ~EditLabelStaticsInit();
};
static EditLabelStaticsInit const edit_label_statics_init_instance;
}  // namespace lb

#endif
