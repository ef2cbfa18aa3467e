// Reading label types by the names a user types: class names, short names,
// enumerators, EDL names and label_t numbers.
#include <cstring>

#include "cli/core.h"
#include "labelsbase/vocabulary.h"

namespace cli {

namespace {

// Every name a label type is read by, for suggestions.
std::vector<std::string> const& type_names() {
    static std::vector<std::string> const names = [] {
        std::vector<std::string> v;
        for (int i = 0; i < label_type_count; ++i) {
            LabelTypeInfo const& r = label_type_info(static_cast<label_t>(i));
            if (!r.has_converter) continue;
            v.push_back(r.class_name);
            v.push_back(short_type_name(r.type));
            if (r.edl_primary) v.push_back(r.edl_primary);
            if (r.edl_alternative) v.push_back(r.edl_alternative);
        }
        return v;
    }();
    return names;
}

}  // namespace

std::string short_type_name(label_t t) {
    std::string n = label_type_info(t).class_name;
    std::size_t const at = n.find("_label");
    if (at != std::string::npos) n.erase(at, 6);
    return n;
}

char const* category_name(UserLabelType u) { return lb::user_label_type_name(u); }

label_t parse_type(std::string const& raw, bool allow_base) {
    std::string const text = trim(raw);
    int found = -1;
    int n = 0;
    // label_t numbers are written #N, type:N or label_t:N: a plain number
    // names a frame rate ("24" is 24 fps timecode, not 16 mm KeyKode).
    std::string const l0 = lower(text);
    std::string number;
    if (!l0.empty() && l0[0] == '#')
        number = text.substr(1);
    else if (l0.rfind("type:", 0) == 0)
        number = text.substr(5);
    else if (l0.rfind("label_t:", 0) == 0)
        number = text.substr(8);
    if (number.empty() && read_int(text, n)) {
        std::string why =
            "label type '" + text + "' is a bare number; write #" + text + ", type:" + text + " or label_t:" + text;
        if (n >= 0 && n < label_type_count)
            why += std::string(" for ") + label_type_info(static_cast<label_t>(n)).class_name;
        throw UsageError(why + ", or a type name (tc_24 for 24 fps timecode; `labels types` lists them)");
    }
    if (!number.empty() && !read_int(number, n))
        throw UsageError("'" + text + "' is not a label_t number; write #N or label_t:N with N in 0.." +
                         std::to_string(label_type_count - 1));
    if (!number.empty()) {
        if (n < 0 || n >= label_type_count)
            throw UsageError("label type number " + number + " is outside 0.." + std::to_string(label_type_count - 1) +
                             " (see `labels types`)");
        found = n;
    } else {
        std::string const l = lower(text);
        for (int i = 0; i < label_type_count && found < 0; ++i) {
            LabelTypeInfo const& r = label_type_info(static_cast<label_t>(i));
            if (l == lower(r.class_name) || l == lower(r.enumerator) || l == lower(short_type_name(r.type))) found = i;
        }
        if (found < 0) {
            // EDL names: only a whole word the EDL reader knows (it reads
            // just the first word, so "P foo" must not pass as "P").
            label_t const t = edlstr_to_label_type(text.c_str());
            bool whole = t != prefix_label_t && text.find_first_of(" \t") == std::string::npos;
            if (whole) {
                LabelTypeInfo const& r = label_type_info(t);
                std::string const u = lower(text);
                whole = (r.edl_primary && u == lower(r.edl_primary)) ||
                        (r.edl_alternative && u == lower(r.edl_alternative));
            }
            if (whole) found = t;
        }
        if (found < 0) {
            // The names written into EDLs ("12f" ... "240f") that the reader
            // does not take back.
            for (int i = 0; i < label_type_count && found < 0; ++i) {
                LabelTypeInfo const& r = label_type_info(static_cast<label_t>(i));
                if (r.has_converter && std::strcmp(r.edl_written, "BAD") != 0 && l == lower(r.edl_written)) found = i;
            }
        }
    }
    if (found < 0)
        throw UsageError("unknown label type '" + text + "'." + did_you_mean(text, type_names()) +
                         " A type is a class name (pal_label), a short name (pal), an EDL name (P, 25F, ND,"
                         " F35) or a label_t number as #N; `labels types` lists them all.");
    label_t const t = static_cast<label_t>(found);
    if (!allow_base && !label_type_info(t).has_converter)
        throw UsageError("label type '" + text + "' (" + label_type_info(t).class_name + ", " + std::to_string(found) +
                         ") is a base class with no converter of its own; pick a leaf type such as" +
                         (t == keycode_label_t ? " keycode_35, keycode_16 or keycode_353"
                          : t == foot_label_t  ? " foot_35, foot_16 or foot_353"
                          : t == ink_label_t   ? " ink_35 or ink_16"
                                               : " pal, ntsc_drop, tc_24 or keycode_35") +
                         " (`labels types`)");
    return t;
}

}  // namespace cli
