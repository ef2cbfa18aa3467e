// Timecode converters with any display flags and any 50p/60p configuration,
// built once per combination and kept (the registry's own converters all
// print every field).
#ifndef LABELSBASE_FUZZ_CONVERTERS_H
#define LABELSBASE_FUZZ_CONVERTERS_H

#include <map>
#include <tuple>

#include <labelsbase/labelsbase.h>

// A timecode converter of type t with the given display flags, the 50p and
// 60p converters reading `config` for their timecode kind (1 whole rate,
// 2 half-rate, 3 half the rate); null when t is not a timecode type.
inline timecode_label* fuzz_timecode_converter(label_t t, int flags, int config) {
    // Never destroyed, like the registry: the converters stay reachable
    // through it until the process ends.
    static auto& cache = *new std::map<std::tuple<int, int, int>, timecode_label*>;
    if (t != tc_50_label_t && t != tc_60_label_t) config = 1;
    auto const key = std::make_tuple(static_cast<int>(t), flags, config);
    auto const found = cache.find(key);
    if (found != cache.end()) return found->second;
    host::set_config_int("50p_timecode_type", config);
    host::set_config_int("60p_timecode_type", config);
    timecode_label* c = nullptr;
    switch (t) {
    case pal_label_t: c = new pal_label(flags); break;
    case ntsc_label_t: c = new ntsc_label(flags); break;
    case ntsc_drop_label_t: c = new ntsc_drop_label(flags); break;
    case tc_24_label_t: c = new tc_24_label(flags); break;
    case tc_48_label_t: c = new tc_48_label(flags); break;
    case tc_50_label_t: c = new tc_50_label(flags); break;
    case tc_60_label_t: c = new tc_60_label(flags); break;
    case tc_50_duration_label_t: c = new tc_50_duration_label(flags); break;
    case tc_60_duration_label_t: c = new tc_60_duration_label(flags); break;
    case tc_12_label_t: c = new tc_12_label(flags); break;
    case tc_15_label_t: c = new tc_15_label(flags); break;
    case tc_20_label_t: c = new tc_20_label(flags); break;
    case tc_80_label_t: c = new tc_80_label(flags); break;
    case tc_90_label_t: c = new tc_90_label(flags); break;
    case tc_100_label_t: c = new tc_100_label(flags); break;
    case tc_120_label_t: c = new tc_120_label(flags); break;
    case tc_240_label_t: c = new tc_240_label(flags); break;
    default: break;
    }
    host::reset_config();
    cache.emplace(key, c);
    return c;
}

#endif
