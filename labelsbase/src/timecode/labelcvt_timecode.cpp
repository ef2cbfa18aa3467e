// Timecode converters: one algorithm in timecode_label, one rate row per leaf.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <typeinfo>

#include "labelsbase/LabelPoint.h"
#include "detail/drop_frame.h"
#include "detail/internal.h"
#include "detail/log_keys.h"
#include "labelsbase/labelcvt.h"

// What one timecode leaf is made of.
struct timecode_rate_row {
    label_t type;
    char const* name;            // type_str(): the class name
    int modulus;                 // frames per timecode second
    char separator;              // printed before the frame number
    int day_samples;             // samples in 24 hours
    char const* template_text;   // both templates
    int frame_digits;            // 2, or 3 at 120 and 240 fps
    char const* negative_where;  // where a negative sample without a sign column is reported
    char const* config_key;      // a key that can halve the rate (50p and 60p), or null
    label_cvt* (*make)(int display_flags);
    bool (*is_exactly)(timecode_label const& c);  // c's class is this row's leaf
};

namespace {

template <class Leaf>
label_cvt* make_leaf(int display_flags) {
    return new Leaf(display_flags);
}
template <class Leaf>
bool is_exactly(timecode_label const& c) {
    return typeid(c) == typeid(Leaf);
}

constexpr char const* kAt1000 = lb::log_keys::timecode_negative_site;
constexpr char kTemplate29[] = "-29.59.59.29";
constexpr char kTemplate49[] = "-29.59.59.49";
constexpr char kTemplate59[] = "-29.59.59.59";
constexpr char kTemplate19[] = "-29.59.59.19";

// One row per timecode leaf. The drop-frame day is 24 hours of 107892
// frames; every other day is modulus x 86400.
constexpr timecode_rate_row kRates[] = {
    {pal_label_t, "pal_label", 25, '.', 2160000, kTemplate29, 2, kAt1000, nullptr, make_leaf<pal_label>,
     is_exactly<pal_label>},
    {ntsc_label_t, "ntsc_label", 30, '.', 2592000, kTemplate29, 2, kAt1000, nullptr, make_leaf<ntsc_label>,
     is_exactly<ntsc_label>},
    {ntsc_drop_label_t, "ntsc_drop_label", 30, ';', 2589408, kTemplate29, 2, kAt1000, nullptr,
     make_leaf<ntsc_drop_label>, is_exactly<ntsc_drop_label>},
    {tc_24_label_t, "tc_24_label", 24, '+', 2073600, kTemplate29, 2, kAt1000, nullptr, make_leaf<tc_24_label>,
     is_exactly<tc_24_label>},
    {tc_48_label_t, "tc_48_label", 48, '+', 4147200, kTemplate49, 2, kAt1000, nullptr, make_leaf<tc_48_label>,
     is_exactly<tc_48_label>},
    {tc_50_label_t, "tc_50_label", 50, '.', 4320000, kTemplate49, 2, kAt1000, "50p_timecode_type",
     make_leaf<tc_50_label>, is_exactly<tc_50_label>},
    {tc_60_label_t, "tc_60_label", 60, '.', 5184000, kTemplate59, 2, kAt1000, "60p_timecode_type",
     make_leaf<tc_60_label>, is_exactly<tc_60_label>},
    {tc_50_duration_label_t, "tc_50_duration_label", 50, '.', 4320000, kTemplate49, 2, kAt1000, nullptr,
     make_leaf<tc_50_duration_label>, is_exactly<tc_50_duration_label>},
    {tc_60_duration_label_t, "tc_60_duration_label", 60, '.', 5184000, kTemplate59, 2, kAt1000, nullptr,
     make_leaf<tc_60_duration_label>, is_exactly<tc_60_duration_label>},
    {tc_12_label_t, "tc_12_label", 12, '.', 1036800, kTemplate19, 2, kAt1000, nullptr, make_leaf<tc_12_label>,
     is_exactly<tc_12_label>},
    {tc_15_label_t, "tc_15_label", 15, '.', 1296000, kTemplate19, 2, kAt1000, nullptr, make_leaf<tc_15_label>,
     is_exactly<tc_15_label>},
    {tc_20_label_t, "tc_20_label", 20, '.', 1728000, kTemplate19, 2, kAt1000, nullptr, make_leaf<tc_20_label>,
     is_exactly<tc_20_label>},
    {tc_80_label_t, "tc_80_label", 80, '.', 6912000, "-29.59.59.79", 2, kAt1000, nullptr, make_leaf<tc_80_label>,
     is_exactly<tc_80_label>},
    {tc_90_label_t, "tc_90_label", 90, '.', 7776000, "-29.59.59.89", 2, kAt1000, nullptr, make_leaf<tc_90_label>,
     is_exactly<tc_90_label>},
    {tc_100_label_t, "tc_100_label", 100, '.', 8640000, "-29.59.59.99", 2, kAt1000, nullptr, make_leaf<tc_100_label>,
     is_exactly<tc_100_label>},
    {tc_120_label_t, "tc_120_label", 120, '.', 10368000, "-29.59.59.199", 3, lb::log_keys::timecode_negative_site_120,
     nullptr, make_leaf<tc_120_label>, is_exactly<tc_120_label>},
    {tc_240_label_t, "tc_240_label", 240, '.', 20736000, "-29.59.59.299", 3, lb::log_keys::timecode_negative_site_240,
     nullptr, make_leaf<tc_240_label>, is_exactly<tc_240_label>},
};
static_assert(sizeof(kRates) / sizeof(kRates[0]) == 17, "one row per timecode leaf");

constexpr bool rows_consistent() {
    for (timecode_rate_row const& r : kRates) {
        int const day = r.type == ntsc_drop_label_t ? static_cast<int>(24 * lb::kDrop30.hour) : r.modulus * 86400;
        if (r.day_samples != day || (r.frame_digits == 3) != (r.modulus > 100)) return false;
    }
    return true;
}
static_assert(rows_consistent(), "day lengths and frame digits follow the rate");

// A plain timecode_label is never made by the registry; this row gives it
// its own name and the common template should a host derive from it.
constexpr timecode_rate_row kBaseRow = {timecode_label_t, "timecode_label", 30,      '.',    2592000, kTemplate29, 2,
                                        kAt1000,          nullptr,          nullptr, nullptr};

timecode_rate_row const& rate_row(label_t t) {
    for (timecode_rate_row const& r : kRates)
        if (r.type == t) return r;
    return kBaseRow;
}

// Field writers. A field is in range for every sample the decomposition
// gives; the reduction keeps a stray value (a derived decomposition) from
// ever writing more than its width.
inline char* put2(char* p, int v) { return lb::put_pair(p, lb::abs_u(v) % 100u); }
inline char* put3(char* p, int v) { return lb::put_triple(p, lb::abs_u(v) % 1000u); }
inline char* put1(char* p, int v) {
    *p = static_cast<char>('0' + lb::abs_u(v) % 10u);
    return p + 1;
}

// s reduced into [0, day): one day added to a negative sample (the whole
// domain from minus one day up), a true remainder for anything further out.
inline int into_day(int s, int day) {
    if (s < 0) {
        s += day;  // s < 0 < day: cannot overflow
        if (s < 0) {
            s %= day;
            if (s < 0) s += day;
        }
    } else if (s >= day) {
        s %= day;
    }
    return s;
}

// A time of day.
struct Clock {
    unsigned h, m, s, f;
};

// v frames of M into hours, minutes, seconds and frames; M is a constant,
// so every division is a multiply and shift.
template <unsigned M>
inline Clock plain_clock(unsigned v) {
    // Three quotients of v side by side rather than one after another.
    unsigned const secs = v / M, mins = v / (60 * M), hours = v / (3600 * M);
    return Clock{hours, mins - hours * 60, secs - mins * 60, v - secs * M};
}

// Drop-frame: v frames of 29.97 fps into the count of displayed numbers at
// 30 fps, and from there into the displayed numbers.
inline Clock drop_clock(unsigned v) { return plain_clock<30>(lb::drop_frames_to_labels(lb::kDrop30, v)); }

// SMPTE word pieces, made at compile time: the packed BCD of every number a
// field can hold (frames up to 239, whose tens run past four bits), and of
// every second of an hour as minutes in bits 8-15 and seconds in bits 0-7.
struct SmpteTables {
    std::uint16_t bcd[240];
    std::uint16_t min_sec[3600];
};
constexpr SmpteTables make_smpte_tables() {
    SmpteTables t{};
    for (unsigned v = 0; v < 240; ++v) t.bcd[v] = static_cast<std::uint16_t>(lb::bcd(v));
    for (unsigned v = 0; v < 3600; ++v)
        t.min_sec[v] = static_cast<std::uint16_t>(lb::bcd(v / 60) << 8 | lb::bcd(v % 60));
    return t;
}
constexpr SmpteTables kSmpte = make_smpte_tables();

// Drop-frame texts by ten-minute block (17982 frames): "HH:M", the hours
// and the minute tens of each block of a day, and of the block past it
// (a day of 30 x 86400 frames, after init(), reaches it).
struct DropHeads {
    char head[145][4];
};
constexpr DropHeads make_drop_heads() {
    DropHeads t{};
    for (unsigned b = 0; b < 145; ++b) {
        t.head[b][0] = static_cast<char>('0' + b / 60);
        t.head[b][1] = static_cast<char>('0' + b / 6 % 10);
        t.head[b][2] = ':';
        t.head[b][3] = static_cast<char>('0' + b % 6);
    }
    return t;
}
constexpr DropHeads kDropHeads = make_drop_heads();

// The sample of a drop-frame time (no range check; 32-bit wrapping).
// Numbers 0 and 1 of a dropped minute give the last two frames of the
// minute before.
inline int drop_sample(int hours, int minutes, int seconds, int frames) {
    return lb::drop_labels_to_frames(lb::kDrop30, hours, minutes, seconds, frames);
}

// Formatted input of "%d:%d:%d%c%d" (n = 3), "%d:%d%c%d" (n = 2) or
// "%d%c%d" (n = 1): fields[0..n-1] are the whole units, fields[n] the
// frames. Each field is stored as soon as it is read, as the C library
// does; false when any field is missing.
bool scan_clock(char const* p, int n, int* const* fields) {
    for (int i = 0; i < n; ++i) {
        if (!lb::scan_int(p, 0, *fields[i])) return false;
        if (i + 1 < n) {
            if (*p != ':') return false;
        } else if (*p == '\0') {
            return false;  // %c: any one character, white space included
        }
        ++p;
    }
    return lb::scan_int(p, 0, *fields[n]);
}

// The common case typed or stored by this library: optional white space,
// then exactly "DD:DD:DD", a separator that is no digit, and one to three
// frame digits not followed by another digit. Reads the fields straight
// from the characters into k; anything else goes the general way. Gives
// what scan_clock gives for every text it accepts.
struct Fields {
    int h, m, s, f;
};
[[gnu::always_inline]] inline bool read_clock(char const* p, Fields& k) {
    while (lb::is_space(*p)) ++p;
    // Each test runs only when every earlier character was a digit or
    // separator, so nothing past the NUL is read.
    auto d = [p](int i) { return static_cast<unsigned>(p[i] - '0'); };
    if (d(0) > 9 || d(1) > 9 || p[2] != ':' || d(3) > 9 || d(4) > 9 || p[5] != ':' || d(6) > 9 || d(7) > 9 ||
        p[8] == '\0' || d(8) <= 9 || d(9) > 9)
        return false;
    unsigned f = d(9);
    int i = 10;
    for (; i < 12 && d(i) <= 9; ++i) f = f * 10 + d(i);
    if (d(i) <= 9) return false;
    k = Fields{static_cast<int>(d(0) * 10 + d(1)), static_cast<int>(d(3) * 10 + d(4)),
               static_cast<int>(d(6) * 10 + d(7)), static_cast<int>(f)};
    return true;
}

// Kept out of line: the general reading is the rare one.
[[gnu::noinline]] bool scan_clock_general(char const* p, int n, int* const* fields) { return scan_clock(p, n, fields); }

}  // namespace

// ---------------------------------------------------------------------------
// The leaf routines: the general algorithm below with the rate fixed at
// compile time and the virtual steps taken as the leaf defines them. Each
// gives exactly what the general way gives for the objects it is chosen for.
struct timecode_label::leaf_route {
    template <unsigned M, bool Drop>
    static Clock clock(timecode_label const& c, int s) {
        // The day is read each time: init() may change it.
        unsigned const v = static_cast<unsigned>(into_day(s, c.day_samples));
        return Drop ? drop_clock(v) : plain_clock<M>(v);
    }

    // Display text when the flags show hours (so every field, two digits
    // each) and the rate is not halved.
    template <unsigned M, bool Drop, int FrameDigits>
    static char const* text(timecode_label& c, LabelPoint* lp, int s) {
        // Special samples, no point, and negatives without a sign column
        // are rare: the general way answers them.
        if (s == invalid_sample || s == past_end_sample || s == before_start_sample || !lp)
            return c.general_text(lp, s);
        char* p = lp->text;
        bool const sign_column = lp->label_template.template_text.c_str()[0] == '-';
        if (s < 0) {
            if (!sign_column) return c.general_text(lp, s);
            *p++ = '-';
            s = lb::wrap_neg(s);
        } else if (sign_column) {
            *p++ = ' ';
        }
        if (Drop) {
            // Within a block: minute units u (frames 0 and 1 of minutes 1 to 9
            // are skipped), then the frame number in the minute.
            unsigned const v = static_cast<unsigned>(into_day(s, c.day_samples));
            lb::DropSplit const d = lb::drop_split(lb::kDrop30, v);  // block [0, 144]
            unsigned const in_minute = d.label, secs = in_minute / 30;
            std::memcpy(p, kDropHeads.head[d.block], 4);
            p[4] = static_cast<char>('0' + d.minute);
            p[5] = ':';
            lb::put_pair(p + 6, secs);
            p[8] = c.frame_separator;
            lb::put_pair(p + 9, in_minute - secs * 30);
            p[11] = '\0';
            return lp->text;
        }
        Clock const k = clock<M, Drop>(c, s);  // hours [0, 23], the rest in range
        p = lb::put_pair(p, k.h);
        *p++ = ':';
        p = lb::put_pair(p, k.m);
        *p++ = ':';
        p = lb::put_pair(p, k.s);
        *p++ = c.frame_separator;
        p = FrameDigits == 3 ? lb::put_triple(p, k.f) : lb::put_pair(p, k.f);
        *p = '\0';
        return lp->text;
    }

    template <unsigned M, bool Drop>
    static unsigned smpte(timecode_label& c, int s) {
        if (s < 0 || s == past_end_sample || s == before_start_sample) return 0;
        unsigned v = static_cast<unsigned>(into_day(s, c.day_samples));
        if (Drop) v = lb::drop_frames_to_labels(lb::kDrop30, v);
        // Fields OR-ed as the general way does: frame tens past 15 run on.
        unsigned const secs = v / M, hours = v / (3600 * M);
        return kSmpte.bcd[v - secs * M] | unsigned{kSmpte.min_sec[secs - hours * 3600]} << 8 |
               unsigned{kSmpte.bcd[hours]} << 24 | (Drop ? 1u << 6 : 0u);
    }

    // Constant routes: choosing one is storing a pointer to one of them.
    template <unsigned M, bool Drop>
    struct routes {
        static constexpr route_t two{true, text<M, Drop, 2>, smpte<M, Drop>};
        static constexpr route_t three{true, text<M, Drop, 3>, smpte<M, Drop>};
        static constexpr route_t words{true, nullptr, smpte<M, Drop>};
    };
    static constexpr route_t general{false, nullptr, nullptr};
    static constexpr route_t exact_general{true, nullptr, nullptr};

    template <unsigned M, bool Drop = false>
    static route_t const* use(timecode_label const& c) {
        bool const full = (c.display_flags & show_hours) != 0;
        if (full && c.row_->frame_digits == 3) return &routes<M, Drop>::three;
        if (full && c.row_->frame_digits == 2) return &routes<M, Drop>::two;
        return &routes<M, Drop>::words;
    }
    static route_t const* pick(timecode_label const& c);
};

timecode_label::route_t const* timecode_label::choose_route() {
    // Every thread that gets here computes the same route from fields fixed
    // at construction, so racing first uses store the same pointer.
    bool const exact = row_->is_exactly && row_->is_exactly(*this);
    route_t const* const r = !exact ? &leaf_route::general : leaf_route::pick(*this);
    route_.store(r, std::memory_order_release);
    return r;
}

timecode_label::route_t const* timecode_label::leaf_route::pick(timecode_label const& c) {
    // Half-rate pairs keep the general way.
    if (c.display_flags & special_slow) return &exact_general;
    if (c.row_->type == ntsc_drop_label_t) return use<30, true>(c);
    switch (c.modulus) {
    case 12: return use<12>(c);
    case 15: return use<15>(c);
    case 20: return use<20>(c);
    case 24: return use<24>(c);
    case 25: return use<25>(c);
    case 30: return use<30>(c);
    case 48: return use<48>(c);
    case 50: return use<50>(c);
    case 60: return use<60>(c);
    case 80: return use<80>(c);
    case 90: return use<90>(c);
    case 100: return use<100>(c);
    case 120: return use<120>(c);
    case 240: return use<240>(c);
    default: return &exact_general;
    }
}

// ---------------------------------------------------------------------------
// timecode_label
timecode_label::timecode_label(label_t leaf, int flags)
    : variable_label(rate_row(leaf).modulus, 1),
      display_flags(flags),
      day_samples(rate_row(leaf).day_samples),
      published_apart_before_(),
      hours(0),
      minutes(0),
      seconds(0),
      frames(0),
      published_apart_after_(),
      row_(&rate_row(leaf)),
      div_magic_(0),
      div_shift_(0),
      div_for_(0),
      route_(nullptr) {
    frame_separator = row_->separator;
    build_row_template();
    // 50p and 60p material may be labelled with 25 or 30 fps timecode,
    // optionally counting two samples per timecode frame. Read once, here.
    if (row_->config_key) {
        int const v = config_int(row_->config_key, 1);
        if (v == 2 || v == 3) {
            modulus = row_->modulus / 2;
            day_samples = row_->day_samples / 2;
            if (v == 2) display_flags = flags | special_slow;
        }
        build_row_template();
    }
    set_divider();
}

// Round-up reciprocal: with l = ceil(log2 d) and m = ceil(2^(31+l) / d),
// (n * m) >> (31 + l) is n / d for every 0 <= n < 2^31, and n * m < 2^63.
void timecode_label::set_divider() {
    div_for_ = modulus;
    if (modulus <= 0) return;
    unsigned const d = static_cast<unsigned>(modulus);
    int l = 0;
    while ((1ull << l) < d) ++l;
    div_shift_ = 31 + l;
    div_magic_ = ((1ull << div_shift_) + d - 1) / d;
}

int timecode_label::divide_by_modulus(int s) const {
    // A derived converter may change the modulus after construction.
    if (modulus != div_for_ || modulus <= 0) return s / modulus;
    return static_cast<int>((static_cast<std::uint64_t>(s) * div_magic_) >> div_shift_);
}

timecode_label::~timecode_label() = default;

// Called on timecode_label itself (qualified, or on a class derived from it
// directly) these answer as the base class; each leaf answers with its row.
char const* timecode_label::type_str() const { return kBaseRow.name; }
label_t timecode_label::type() const { return kBaseRow.type; }
UserLabelType timecode_label::UserType() const { return timecode_UserLabel; }
bool timecode_label::isSpecialSlowTC() const { return (display_flags & special_slow) != 0; }

void timecode_label::build_template() { set_templates(kBaseRow.template_text); }

char const* timecode_label::row_name() const { return row_->name; }
label_t timecode_label::row_type() const { return row_->type; }
void timecode_label::build_row_template() { set_templates(row_->template_text); }

void timecode_label::set_templates(char const* text) {
    LightweightString<char> const t(text);
    full_template.set(t);
    count_template.set(t);
}

void timecode_label::init() {
    frame_separator = '.';
    day_samples = lb::wrap_mul(modulus, 86400);
}

int timecode_label::normalise_sample_unit(int s) {
    int const day = day_samples;
    if (s < 0) {
        // Adding days until non-negative lands in [0, day).
        int const r = s % day;
        return r < 0 ? r + day : r;
    }
    // Subtracting days while above a day lands in [1, day].
    if (s > day) return (s - 1) % day + 1;
    return s;
}

timecode_label::hmsf_t timecode_label::base_fields(int s, bool& odd) const {
    odd = false;
    if (display_flags & special_slow) {
        odd = (static_cast<unsigned>(s) & 1u) != 0;
        s /= 2;
    }
    s = into_day(s, day_samples);           // [0, day)
    int const secs = divide_by_modulus(s);  // [0, 86399] seconds into the day
    int const f = s - secs * modulus;       // [0, modulus - 1]
    int const h = secs / 3600;              // [0, 23]
    int const in_hour = secs - h * 3600;    // [0, 3599]
    int const m = in_hour / 60;             // [0, 59]
    return hmsf_t{h, m, in_hour - m * 60, f};
}

timecode_label::hmsf_t timecode_label::drop_fields(int s) const {
    Clock const k = drop_clock(static_cast<unsigned>(into_day(s, day_samples)));
    return hmsf_t{static_cast<int>(k.h), static_cast<int>(k.m), static_cast<int>(k.s), static_cast<int>(k.f)};
}

int timecode_label::base_sample(int const v[4]) const {
    using lb::wrap_add;
    using lb::wrap_mul;
    int const secs = wrap_add(wrap_mul(wrap_add(wrap_mul(v[0], 60), v[1]), 60), v[2]);
    return wrap_add(wrap_mul(secs, modulus), v[3]);
}

void timecode_label::publish(int h, int m, int s, int f) {
    hours = h;
    minutes = m;
    seconds = s;
    frames = f;
}

timecode_label::hmsf_t timecode_label::fields_of(int s, bool& odd) {
    if (exact_leaf()) {
        hmsf_t const k = row_->type == ntsc_drop_label_t ? (odd = false, drop_fields(s)) : base_fields(s, odd);
        publish(k.h, k.m, k.s, k.f);
        return k;
    }
    // A derived decomposition hands its results over in the fields.
    sample_to_hmsf(s, odd);
    return hmsf_t{hours, minutes, seconds, frames};
}

int timecode_label::sample_of(int const v[4]) {
    publish(v[0], v[1], v[2], v[3]);
    if (exact_leaf()) return row_->type == ntsc_drop_label_t ? drop_sample(v[0], v[1], v[2], v[3]) : base_sample(v);
    return hmsf_to_sample();  // a derived composition reads the fields
}

int timecode_label::sample_to_hmsf(int s, bool& odd) {
    hmsf_t const k = base_fields(s, odd);
    publish(k.h, k.m, k.s, k.f);
    return k.f;
}

int timecode_label::hmsf_to_sample() {
    int const v[4] = {hours, minutes, seconds, frames};
    return base_sample(v);
}

int timecode_label::get_abs_hmsf(int s, short& h, short& m, short& sec, short& f) {
    bool odd;
    hmsf_t const k = fields_of(s, odd);
    h = static_cast<short>(k.h);
    m = static_cast<short>(k.m);
    sec = static_cast<short>(k.s);
    f = static_cast<short>(k.f);
    return f;
}

char const* timecode_label::get_abs_string(LabelPoint* lp, int s) { return sample_to_string(lp, s); }

char const* timecode_label::sample_to_string(LabelPoint* lp, int s) {
    route_t const* const r = route();
    if (r->text) return r->text(*this, lp, s);
    return general_text(lp, s);
}

char const* timecode_label::general_text(LabelPoint* lp, int s) {
    if (s == invalid_sample || s == past_end_sample || s == before_start_sample)
        return full_template.getInvalidString(s);
    if (!lp) return full_template.getInvalidString(invalid_sample);  // nowhere to write
    char* p = lp->text;
    // The point's own template decides whether there is a sign column: a
    // point whose padding was removed must not see negative samples.
    if (lp->label_template.template_text.c_str()[0] == '-') {
        if (s < 0) {
            *p++ = '-';
            s = lb::wrap_neg(s);
        } else {
            *p++ = ' ';
        }
    } else if (s < 0) {
        lb::assertion_failed(lb::log_keys::timecode_negative_expression, row_->negative_where);
    }
    bool odd;
    hmsf_t const k = fields_of(s, odd);
    int const hours = k.h, minutes = k.m, seconds = k.s, frames = k.f;

    int const fl = display_flags;
    bool const h_shown = (fl & show_hours) || hours > 0;
    if (h_shown) {
        p = ((fl & show_hours) || hours >= 10) ? put2(p, hours) : put1(p, hours);
        *p++ = ':';
    }
    bool const m_shown = h_shown || (fl & show_minutes) || minutes > 0;
    if (m_shown) {
        p = (h_shown || (fl & show_minutes) || minutes >= 10) ? put2(p, minutes) : put1(p, minutes);
        *p++ = ':';
    }
    bool const s_shown = m_shown || (fl & show_seconds) || seconds > 0;
    if (s_shown) p = (m_shown || (fl & show_seconds) || seconds >= 10) ? put2(p, seconds) : put1(p, seconds);
    if (s_shown || (fl & show_frames)) {
        // Half-rate timecode tells the two samples of a frame apart by the separator.
        *p++ = (fl & special_slow) ? (odd ? ':' : '.') : frame_separator;
        p = row_->frame_digits == 3 ? put3(p, frames) : put2(p, frames);
    }
    *p = '\0';
    return lp->text;
}

unsigned timecode_label::get_abs_smpte_string(LabelPoint* lp, int s) { return sample_to_smpte_string(lp, s); }

unsigned timecode_label::sample_to_smpte_string(LabelPoint*, int s) {
    route_t const* const r = route();
    if (r->smpte) return r->smpte(*this, s);
    if (s < 0 || s == past_end_sample || s == before_start_sample) return 0;  // the invalid sample is negative
    bool odd;
    hmsf_t const k = fields_of(s, odd);
    unsigned const f = lb::abs_u(k.f), sec = lb::abs_u(k.s);
    unsigned const m = lb::abs_u(k.m), h = lb::abs_u(k.h);
    // bits 0-3 frame units, 4-5 frame tens, 6 drop flag, 8-11 second units,
    // 12-14 second tens, 16-19 minute units, 20-22 minute tens, 24-27 hour
    // units, 28-29 hour tens. Tens go in unmasked: 50 and 60 fps frame
    // numbers are not halved, so frames of 40 and more reach bits 6 and 7.
    unsigned word = f % 10;
    word |= (f / 10) << 4;
    word |= (sec % 10) << 8;
    word |= (sec / 10) << 12;
    word |= (m % 10) << 16;
    word |= (m / 10) << 20;
    word |= (h % 10) << 24;
    word |= (h / 10) << 28;
    if (type() == ntsc_drop_label_t) word |= 1u << 6;
    return word;
}

int timecode_label::get_abs_sample(char const* t) {
    hours = 0;
    minutes = 0;
    if (!t) return invalid_sample;
    bool const neg = (*t == '-');
    char const* const p = neg ? t + 1 : t;
    int const fl = display_flags;
    Fields k;
    if ((fl & show_hours) && read_clock(p, k)) {
        int s;
        if (exact_leaf()) {
            publish(k.h, k.m, k.s, k.f);
            // Fields of at most three digits: nothing wraps.
            s = ((k.h * 60 + k.m) * 60 + k.s) * modulus + k.f;
        } else {
            int const v[4] = {k.h, k.m, k.s, k.f};
            s = sample_of(v);
        }
        return neg ? lb::wrap_neg(s) : s;
    }
    int const n = (fl & show_hours) ? 3 : (fl & show_minutes) ? 2 : (fl & show_seconds) ? 1 : 0;
    if (n == 0) return invalid_sample;
    // Fields not read keep what they held, as they always have.
    int v[4] = {0, 0, seconds, frames};
    int* const all[4] = {&v[0], &v[1], &v[2], &v[3]};
    if (!scan_clock_general(p, n, all + (3 - n))) {
        publish(v[0], v[1], v[2], v[3]);
        return invalid_sample;
    }
    int const s = sample_of(v);
    return neg ? lb::wrap_neg(s) : s;
}

int timecode_label::get_abs_sample_from_packed_string(char const* t) {
    if (!t) return invalid_sample;
    char const* p = t;
    int v[4] = {hours, minutes, seconds, frames};
    if (!lb::scan_int(p, 2, v[0]) || !lb::scan_int(p, 2, v[1]) || !lb::scan_int(p, 2, v[2]) ||
        !lb::scan_int(p, row_->frame_digits, v[3])) {
        publish(v[0], v[1], v[2], v[3]);
        return invalid_sample;
    }
    return sample_of(v);
}

int timecode_label::get_sample_span_from_packed_strings(char const* a, char const* b) {
    int const from = get_abs_sample_from_packed_string(a);
    int const to = get_abs_sample_from_packed_string(b);
    return normalise_sample_unit(lb::wrap_sub(to, from));
}

double timecode_label::get_V2tc(int s) {
    lb::assertion_failed(lb::log_keys::timecode_video_time);
    return s / get_vid_fps(type());
}

int timecode_label::get_abs_sample(double t) {
    lb::assertion_failed(lb::log_keys::timecode_from_video_time);
    double const v = std::floor((t + 0.0001) * get_vid_fps(type()));
    // Converting a NaN or a value outside int is undefined; neither is a sample.
    if (!(v >= -2147483648.0 && v <= 2147483647.0)) return invalid_sample;
    return static_cast<int>(v);
}

// ---------------------------------------------------------------------------
// ntsc_drop_label: 107892 frames an hour, 17982 each ten minutes, 1800 in
// the first minute of each ten and 1798 in each of the other nine.
int ntsc_drop_label::get_abs_sample(char const* t) {
    if (!t) return invalid_sample;
    if (*t == '-') return 0;
    Fields k;
    if (read_clock(t, k)) {
        int const v[4] = {k.h, k.m, k.s, k.f};
        return sample_of(v);
    }
    int v[4] = {hours, minutes, seconds, frames};
    int* const fields[4] = {&v[0], &v[1], &v[2], &v[3]};
    if (!scan_clock_general(t, 3, fields)) {
        publish(v[0], v[1], v[2], v[3]);
        return invalid_sample;
    }
    return sample_of(v);
}

int ntsc_drop_label::sample_to_hmsf(int s, bool& odd) {
    odd = false;  // no half-rate mode in drop-frame
    hmsf_t const k = drop_fields(s);
    publish(k.h, k.m, k.s, k.f);
    return k.f;
}

int ntsc_drop_label::hmsf_to_sample() { return drop_sample(hours, minutes, seconds, frames); }

// ---------------------------------------------------------------------------
// Leaves: each is its row.
pal_label::pal_label(int f) : timecode_label(pal_label_t, f) {}
ntsc_label::ntsc_label(int f) : timecode_label(ntsc_label_t, f) {}
ntsc_drop_label::ntsc_drop_label(int f) : timecode_label(ntsc_drop_label_t, f) {}
tc_24_label::tc_24_label(int f) : timecode_label(tc_24_label_t, f) {}
tc_48_label::tc_48_label(int f) : timecode_label(tc_48_label_t, f) {}
tc_50_label::tc_50_label(int f) : timecode_label(tc_50_label_t, f) {}
tc_60_label::tc_60_label(int f) : timecode_label(tc_60_label_t, f) {}
tc_50_duration_label::tc_50_duration_label(int f) : timecode_label(tc_50_duration_label_t, f) {}
tc_60_duration_label::tc_60_duration_label(int f) : timecode_label(tc_60_duration_label_t, f) {}
tc_12_label::tc_12_label(int f) : timecode_label(tc_12_label_t, f) {}
tc_15_label::tc_15_label(int f) : timecode_label(tc_15_label_t, f) {}
tc_20_label::tc_20_label(int f) : timecode_label(tc_20_label_t, f) {}
tc_80_label::tc_80_label(int f) : timecode_label(tc_80_label_t, f) {}
tc_90_label::tc_90_label(int f) : timecode_label(tc_90_label_t, f) {}
tc_100_label::tc_100_label(int f) : timecode_label(tc_100_label_t, f) {}
tc_120_label::tc_120_label(int f) : timecode_label(tc_120_label_t, f) {}
tc_240_label::tc_240_label(int f) : timecode_label(tc_240_label_t, f) {}

// Each leaf names itself and builds its template from its row.
#define LABELSBASE_TIMECODE_LEAF_ROW(leaf)                    \
    char const* leaf::type_str() const { return row_name(); } \
    label_t leaf::type() const { return row_type(); }         \
    void leaf::build_template() { build_row_template(); }
LABELSBASE_TIMECODE_LEAF_ROW(pal_label)
LABELSBASE_TIMECODE_LEAF_ROW(ntsc_label)
LABELSBASE_TIMECODE_LEAF_ROW(ntsc_drop_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_24_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_48_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_50_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_60_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_50_duration_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_60_duration_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_12_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_15_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_20_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_80_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_90_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_100_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_120_label)
LABELSBASE_TIMECODE_LEAF_ROW(tc_240_label)
#undef LABELSBASE_TIMECODE_LEAF_ROW

label_cvt* make_timecode_label_cvt(label_t t) {
    // The registry and the factory give every timecode converter all four
    // fields and no half-rate mode; 50p/60p may still turn half-rate through
    // their configuration.
    for (timecode_rate_row const& r : kRates)
        if (r.type == t) return r.make(timecode_label::show_all);
    return nullptr;
}
