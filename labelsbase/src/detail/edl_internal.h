// Shared pieces of the edit-list units: field splitting, line kinds, the
// event, motion and FCM line readers, KeyKode texts.
#ifndef LABELSBASE_SRC_DETAIL_EDL_INTERNAL_H
#define LABELSBASE_SRC_DETAIL_EDL_INTERNAL_H

#include <string>
#include <vector>

#include "labelsbase/edl.h"

namespace edl {
namespace detail {

// Splits at runs of spaces and tabs.
std::vector<std::string> fields(std::string const& line);
std::string upper(std::string s);
std::string trim(std::string const& s);
bool all_digits(std::string const& s);
// The keyword a line starts with, upper case, as the reader classifies it.
LineKind classify(std::string const& text);

// The parsed fields of an event line (no comments, motion or line links).
// False when the line is not a complete event; `why` then says what is
// missing.
bool parse_event_line(std::string const& text, Rate rate, bool drop, Event& e, std::string& why);
bool parse_motion_line(std::string const& text, Rate rate, bool drop, Motion& m, std::string& why);
// Whether the FCM line says drop frame; false with ok unset when it names
// neither count.
bool parse_fcm(std::string const& text, bool& drop);

// A KeyKode text (inner spaces allowed) as a sample of converter c, with
// its prefix apart. Strict about the layout: prefix, count digits, '+',
// one or two frame digits, and for 3-perf a '.' and the perforation.
bool read_keykode(label_cvt* c, std::string const& text, std::string& prefix, int& sample);

// The rate with the event's count (drop frame only where the rate has it;
// the checks report an FCM that asks for it elsewhere).
inline Rate with_drop(Rate r, bool drop) {
    r.drop = drop && r.fractional && r.nominal % 30 == 0;
    return r;
}

}  // namespace detail
}  // namespace edl

#endif
