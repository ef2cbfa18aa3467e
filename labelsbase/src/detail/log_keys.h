// The assertion lines the host's log shows, "assertion failed <expression>
// at <site>". They are log keys: the host's log tooling and support notes
// match these exact texts, so each stays as it is wherever the code that
// reports it moves, and a new report gets a key of its own here.
// Internal: not part of the exported API.
#ifndef LABELSBASE_DETAIL_LOG_KEYS_H
#define LABELSBASE_DETAIL_LOG_KEYS_H

namespace lb {

struct LogKey {
    char const* expression;
    char const* site;
};

namespace log_keys {
// The registry.
inline constexpr LogKey registry_incomplete{"numLabelCvts == tc_240_label_t+1", "labelsbase/labelcvt line 2655"};
inline constexpr LogKey registry_type_out_of_range{"false", "labelsbase/labelcvt line 2677"};
// Converters.
inline constexpr LogKey keycode_unknown_leaf{"leaf_row(t)", "labelsbase/labelcvt_keycode line 139"};
inline constexpr LogKey timecode_video_time{"0", "labelsbase/labelcvt line 865"};
inline constexpr LogKey timecode_from_video_time{"0", "labelsbase/labelcvt line 872"};
// A negative timecode sample without a sign column; the site names the rate.
inline constexpr char timecode_negative_expression[] = "abs_sample >= 0";
inline constexpr char timecode_negative_site[] = "labelsbase/labelcvt line 1000";
inline constexpr char timecode_negative_site_120[] = "labelsbase/labelcvt line 1079";
inline constexpr char timecode_negative_site_240[] = "labelsbase/labelcvt line 1160";
// Media.
inline constexpr LogKey input_medium_of_rate{"0", "labelsbase/MediumRoll line 224"};
inline constexpr LogKey output_medium_of_scan_and_rate{"0", "labelsbase/MediumRoll line 361"};
inline constexpr LogKey output_medium_of_rate{"false", "labelsbase/MediumRoll line 520"};
inline constexpr LogKey source_medium_of_rate{"false", "labelsbase/MediumRoll line 577"};
inline constexpr LogKey label_type_of_medium{"false", "labelsbase/MediumRoll line 696"};
// Translation.
inline constexpr LogKey translate_from_cel{"false", "labelsbase/mposnxlate line 1622"};
inline constexpr LogKey translate_from_unknown{"unknown_Medium", "labelsbase/mposnxlate line 2758"};
}  // namespace log_keys

}  // namespace lb

#endif
