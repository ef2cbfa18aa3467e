// The prefix base and the KeyKode converters: gauge geometry, leaf widths,
// text forms, 3-perf arithmetic.
#include <climits>
#include <cstdint>
#include <cstring>

#include "labelsbase/LabelPoint.h"
#include "detail/internal.h"
#include "detail/log_keys.h"
#include "labelsbase/labelcvt.h"
#include "labelsbase/positions.h"
#include "labelsbase/text_checks.h"

namespace {

// Copies at most max characters of src (stopping at its NUL) and terminates.
void copy_terminated(char* dst, char const* src, std::size_t max) {
    std::size_t const n = lb::length_upto(src, max);
    std::memmove(dst, src, n);
    dst[n] = '\0';
}

// The label point's prefix and text, and last_prefix, hold 20 characters.
constexpr std::size_t kPrefixRoom = 20;
constexpr std::size_t kTextRoom = label_point_text_room;
// Working copies of typed texts.
constexpr std::size_t kWorkRoom = 63;

// Widths printed beyond these are cut: no leaf comes near them.
constexpr int kMaxCountWidth = 20;

// ---------------------------------------------------------------------------
// Film geometry of each gauge: a KeyKode interval of `interval` perforations
// holds `modulus` frames of `perfs_per_frame` perforations (3-perf: 22 frames
// of 3 against 64, see keycode_353).
enum Geometry {
    geo_35,
    geo_16,
    geo_353,
    geo_352,
    geo_358,
    geo_655_80,
    geo_658_80,
    geo_6510_80,
    geo_655_120,
    geo_658_120,
    geo_6510_120,
    geo_6515_120,
    geometry_count
};

struct GeometryRow {
    int interval;           // perforations between edge numbers
    int perfs_per_frame;    // unit_samples
    int modulus;            // frames per interval
    int perfs_per_keyKode;  // what perfs_per_keyKode reports
    char separator;
    positions::FilmGauge const* gauge;  // the same geometry for the pure functions
};

constexpr GeometryRow kGeometry[] = {
    {64, 4, 16, 64, '+', &positions::gauge_35},
    {20, 1, 20, 20, '&', &positions::gauge_16},
    {64, 3, 22, 64, '+', &positions::gauge_353},
    {64, 2, 32, 1, '+', &positions::gauge_352},  // reports 1 perforation per KeyKode
    {64, 8, 8, 1, '+', &positions::gauge_358},   // reports 1 perforation per KeyKode
    {80, 5, 16, 80, '+', &positions::gauge_655_80},
    {80, 8, 10, 80, '+', &positions::gauge_658_80},
    {80, 10, 8, 80, '+', &positions::gauge_6510_80},
    {120, 5, 24, 120, '+', &positions::gauge_655_120},
    {120, 8, 15, 120, '+', &positions::gauge_658_120},
    {120, 10, 12, 120, '+', &positions::gauge_6510_120},
    {120, 15, 8, 120, '+', &positions::gauge_6515_120},
};
static_assert(sizeof(kGeometry) / sizeof(kGeometry[0]) == geometry_count, "one row per gauge");

constexpr bool gauges_agree() {
    for (GeometryRow const& g : kGeometry)
        if (g.gauge->interval != g.interval || g.gauge->perfs_per_frame != g.perfs_per_frame ||
            g.gauge->frames != g.modulus || g.gauge->three_perf != (g.gauge == &positions::gauge_353))
            return false;
    return true;
}
static_assert(gauges_agree(), "the converters' gauges are the pure functions' gauges");

constexpr bool frames_fill_intervals() {
    for (GeometryRow const& g : kGeometry)
        if (g.modulus * g.perfs_per_frame != g.interval && !(g.interval == 64 && g.perfs_per_frame == 3)) return false;
    return true;
}
static_assert(frames_fill_intervals(), "only 3-perf frames overrun their interval");

// The widths of each KeyKode leaf. Every leaf's prefix and count together
// are 12 characters.
struct LeafRow {
    label_t type;
    Geometry geometry;
    unsigned prefix_len;
    unsigned count_len;
    int max_count;
};

constexpr unsigned kKeyKodeNumberLen = 12;
constexpr char kKeyKodeDummyPrefix[] = "XX000000";

constexpr LeafRow kLeaves[] = {
    {keycode_35_label_t, geo_35, 8, 4, 9999},
    {keycode_16_label_t, geo_16, 8, 4, 9999},
    {keycode_353_label_t, geo_353, 8, 4, 9999},
    {keycode_35_label_4_t, geo_35, 8, 4, 9999},
    {keycode_35_label_5_t, geo_35, 7, 5, 99999},
    {keycode_35_label_6_t, geo_35, 6, 6, 999999},
    {keycode_16_label_4_t, geo_16, 8, 4, 9999},
    {keycode_16_label_5_t, geo_16, 7, 5, 99999},
    {keycode_16_label_6_t, geo_16, 6, 6, 999999},
    {keycode_353_label_4_t, geo_353, 8, 4, 9999},
    {keycode_353_label_5_t, geo_353, 7, 5, 99999},
    {keycode_353_label_6_t, geo_353, 6, 6, 999999},
    {keycode_352_label_t, geo_352, 8, 4, 9999},
    {keycode_358_label_t, geo_358, 8, 4, 9999},
    {keycode_655_80_label_t, geo_655_80, 8, 4, 9999},
    {keycode_658_80_label_t, geo_658_80, 8, 4, 9999},
    {keycode_6510_80_label_t, geo_6510_80, 8, 4, 9999},
    {keycode_655_120_label_t, geo_655_120, 8, 4, 9999},
    {keycode_658_120_label_t, geo_658_120, 8, 4, 9999},
    {keycode_6510_120_label_t, geo_6510_120, 8, 4, 9999},
    {keycode_6515_120_label_t, geo_6515_120, 8, 4, 9999},
};
static_assert(sizeof(kLeaves) / sizeof(kLeaves[0]) == 21, "one row per KeyKode leaf");

constexpr bool leaf_widths_consistent() {
    for (LeafRow const& r : kLeaves) {
        if (r.prefix_len + r.count_len != kKeyKodeNumberLen) return false;
        int p = 1;
        for (unsigned i = 0; i < r.count_len; ++i) p *= 10;
        if (r.max_count != p - 1) return false;
    }
    return true;
}
static_assert(leaf_widths_consistent(), "prefix and count fill 12 characters; max_count is all nines");

LeafRow const& leaf_row(label_t t) {
    for (LeafRow const& r : kLeaves)
        if (r.type == t) return r;
    lb::assertion_failed(lb::log_keys::keycode_unknown_leaf);
    return kLeaves[0];
}

}  // namespace

// ---------------------------------------------------------------------------
// prefix_label
prefix_label::prefix_label(int m, int samples, int nlen)
    : variable_label(m, samples),
      prefix_len(0xFFFFFFFFu),
      count_len(0xFFFFFFFFu),
      max_count(0),
      dummy_prefix(""),
      number_len(static_cast<unsigned>(nlen)),
      gauge_(nullptr),
      leaf_type_(nullptr),
      ink_counts_(false),
      published_apart_before_(),
      count(0),
      frame(0),
      perf(0),
      published_apart_after_(),
      exact_(0) {
    frame_separator = '+';
}

bool prefix_label::settle_exact() {
    // Every thread that gets here finds the same answer.
    bool const e = gauge_ && leaf_type_ && typeid(*this) == *leaf_type_;
    exact_.store(e ? 1 : -1, std::memory_order_relaxed);
    return e;
}

prefix_label::~prefix_label() = default;

unsigned prefix_label::set_count_len(unsigned n) {
    count_len = n;
    prefix_len = number_len - n;
    // 10^n - 1, held below 10^9 so it stays an int.
    int m = 9;
    for (unsigned i = 1; i < n && i < 9; ++i) m = m * 10 + 9;
    max_count = m;
    return static_cast<unsigned>(max_count);
}

char const* prefix_label::type_str() const { return "prefix_label"; }
label_t prefix_label::type() const { return prefix_label_t; }
UserLabelType prefix_label::UserType() const { return none_UserLabel; }
bool prefix_label::has_prefix() const { return true; }
int prefix_label::get_prefix_length() const { return static_cast<int>(prefix_len); }
int prefix_label::get_count_length() const { return static_cast<int>(count_len); }
char const* prefix_label::get_dummy_prefix() { return dummy_prefix; }

int prefix_label::template_frame_limit() const {
    long long const m = modulus;
    return static_cast<int>(((m - 1) / 10) * 10 + 9);
}

void prefix_label::set_templates(char const* suffix) {
    // Prefix and count positions are held to the label point's 20 prefix
    // characters; every leaf has 12 or fewer.
    std::size_t const n = number_len < kPrefixRoom ? number_len : kPrefixRoom;
    std::size_t const p = prefix_len < n ? prefix_len : n;
    char full[48];
    char locked[48];
    std::size_t i = 0;
    for (; i < p; ++i) {
        full[i] = '?';
        locked[i] = '~';
    }
    for (; i < n; ++i) full[i] = locked[i] = '9';
    std::size_t const k = lb::length_upto(suffix, sizeof full - 1 - n);
    std::memcpy(full + n, suffix, k);
    std::memcpy(locked + n, suffix, k);
    full[n + k] = locked[n + k] = '\0';
    full_template.set(LightweightString<char>(full));
    count_template.set(LightweightString<char>(locked));
}

void prefix_label::build_template() {
    // "+%d" of the highest frame a two-digit field allows for moduli from 11
    // up (+19 for 12 to 20 frames), "+%02d" of the last frame below that.
    char suffix[16];
    char* e = suffix;
    *e++ = '+';
    if (modulus >= 11)
        e = lb::put_int(e, template_frame_limit(), 1, true);
    else
        e = lb::put_int(e, lb::wrap_sub(modulus, 1), 2, true);
    *e = '\0';
    set_templates(suffix);
}

char const* prefix_label::get_prefix(LabelPoint const* lp) const {
    if (!has_prefix()) return "";
    // Answered in the point's own text, so the answer is the caller's even
    // when other threads use this converter.
    std::size_t const room = prefix_memory::room;
    if (prefix_len <= room && lb::length_upto(lp->prefix, prefix_len) == prefix_len) {
        // A full prefix of the point's own: no NUL among its first prefix_len characters.
        for (std::size_t i = 0; i < prefix_len; ++i) lp->text[i] = lp->prefix[i];
        lp->text[prefix_len] = '\0';
        last_prefix.store(lp->text, prefix_len);
        return lp->text;
    }
    char remembered[prefix_memory::room + 1];
    if (last_prefix.load(remembered) >= prefix_len) {
        std::memcpy(lp->text, remembered, sizeof remembered);
        return lp->text;
    }
    copy_terminated(lp->text, dummy_prefix, prefix_len < room ? prefix_len : room);
    last_prefix.store(lp->text, room);
    return lp->text;
}

void prefix_label::set_prefix(LabelPoint* lp, char const* t) {
    if (!has_prefix()) return;
    if (!t) t = "";
    std::size_t const plen = prefix_len < kPrefixRoom ? prefix_len : kPrefixRoom;
    std::size_t const nlen = number_len < kPrefixRoom ? number_len : kPrefixRoom;
    // Only whether t reaches prefix_len characters matters.
    if (lb::length_upto(t, prefix_len) >= prefix_len) {
        copy_terminated(lp->prefix, t, nlen);
    } else {
        char remembered[prefix_memory::room + 1];
        if (last_prefix.load(remembered) < prefix_len) copy_terminated(lp->prefix, dummy_prefix, nlen);
    }
    last_prefix.store(lp->prefix, plen);
}

char const* prefix_label::print_counts(LabelPoint* lp, char separator, bool with_perf) {
    return print_counts(lp, separator, with_perf, count, frame, perf);
}

char const* prefix_label::print_counts(LabelPoint* lp, char separator, bool with_perf, int count, int frame, int perf) {
    if (count < 0) return kNegativeCountText;
    // One wrap only: a count that is still too large prints as it is.
    if (count > max_count) this->count = count = lb::wrap_sub(count, lb::wrap_add(max_count, 1));
    // The prefix as LabelPoint::get_prefix gives it (at most get_prefix_length()
    // characters of the converter's prefix), straight into lp's text when lp
    // uses this converter.
    std::size_t plen = 0;
    bool own = false;
    if (lp->cvt() == this && has_prefix() && prefix_len <= kPrefixRoom) {
        // The point's own prefix, when full, is the one remembered and shown.
        std::size_t const want = prefix_len;
        char const* const from = lp->prefix;
        plen = lb::length_upto(from, want);
        own = plen == want;
        if (own) {
            // Whole-array copy: what follows the prefix is overwritten or
            // never read.
            std::memcpy(lp->text, from, kPrefixRoom);
            last_prefix.store(from, want);
        }
    }
    if (!own) {
        char const* pre;
        std::size_t room = kTextRoom;
        if (lp->cvt() == this) {
            pre = prefix_label::get_prefix(lp);  // in lp's text
            int const n = static_cast<int>(prefix_len);
            room = n < 0 ? 0 : n > static_cast<int>(kTextRoom) ? kTextRoom : static_cast<std::size_t>(n);
        } else {
            pre = lp->get_prefix();  // already in lp's text
        }
        for (plen = 0; plen < room && pre[plen]; ++plen) lp->text[plen] = pre[plen];
    }
    // "%0*d" with a width from an unsigned field: an unset width (all ones)
    // is the int -1, which printf reads as no padding.
    int width = static_cast<int>(count_len);
    if (width > kMaxCountWidth) width = kMaxCountWidth;
    unsigned const c = static_cast<unsigned>(count);  // not negative here
    int const digits = lb::digit_count(c) > width ? lb::digit_count(c) : width;
    unsigned const fr = static_cast<unsigned>(frame);
    unsigned const pf = static_cast<unsigned>(lb::wrap_add(perf, 1));
    std::size_t const total = plen + static_cast<std::size_t>(digits) + 3 + (with_perf ? 2 : 0);
    if (fr < 100 && (!with_perf || pf < 10) && total <= kTextRoom) {
        char* e = lb::put_digits(lp->text + plen, c, digits);
        *e++ = separator;
        e = lb::put_pair(e, fr);
        if (with_perf) {
            *e++ = '.';
            *e++ = static_cast<char>('0' + pf);
        }
        *e = '\0';
        return lp->text;
    }
    // Negative frames or perforations, and texts cut at 22 characters.
    char buf[64];
    char* e = lb::put_int(buf, count, width, true);
    *e++ = separator;
    e = lb::put_int(e, frame, 2, true);
    if (with_perf) {
        *e++ = '.';
        e = lb::put_int(e, lb::wrap_add(perf, 1), 1, true);
    }
    std::size_t n = static_cast<std::size_t>(e - buf);
    if (n > kTextRoom - plen) n = kTextRoom - plen;
    std::memcpy(lp->text + plen, buf, n);
    lp->text[plen + n] = '\0';
    return lp->text;
}

int prefix_label::normalise_by_period(int s) {
    long long const frames = (static_cast<long long>(max_count) + 1) * modulus;  // < 2^61
    long long const spu = samples_per_unit();
    if (frames <= 0 || spu <= 0 || frames > LLONG_MAX / spu) return s;
    long long const period = frames * spu;
    // The remainder in 0 .. period-1, the same as adding or taking away one
    // period at a time.
    long long r = s % period;
    if (r < 0) r += period;
    return static_cast<int>(static_cast<std::uint32_t>(r));
}

// ---------------------------------------------------------------------------
// keycode_label
keycode_label::keycode_label(int m, int samples, int nlen) : prefix_label(m, samples, nlen) {}

keycode_label::keycode_label(label_t leaf)
    : prefix_label(kGeometry[leaf_row(leaf).geometry].modulus, kGeometry[leaf_row(leaf).geometry].perfs_per_frame,
                   static_cast<int>(kKeyKodeNumberLen)) {
    LeafRow const& r = leaf_row(leaf);
    gauge_ = kGeometry[r.geometry].gauge;
    frame_separator = kGeometry[r.geometry].separator;
    dummy_prefix = kKeyKodeDummyPrefix;
    prefix_len = r.prefix_len;
    count_len = r.count_len;
    max_count = r.max_count;
}

keycode_label::~keycode_label() = default;

char const* keycode_label::type_str() const { return "keycode_label"; }
label_t keycode_label::type() const { return keycode_label_t; }
UserLabelType keycode_label::UserType() const { return keycode_UserLabel; }

int keycode_label::normalise_sample_unit(int s) { return normalise_by_period(s); }

int keycode_label::get_abs_sample_from_packed_string(char const* t) { return get_abs_sample(t); }

int keycode_label::get_sample_span_from_packed_strings(char const* a, char const* b) {
    int const sa = get_abs_sample_from_packed_string(a);
    int const sb = get_abs_sample_from_packed_string(b);
    return normalise_sample_unit(lb::wrap_sub(sb, sa));
}

void keycode_label::counts_of(int s, int& c, int& f, int& p) {
    if (exact_gauge()) {
        positions::FilmCounts const k = positions::perfs_to_keykode(*gauge_, s);
        c = k.count;
        f = k.frame;
        count = c;
        frame = f;
        if (gauge_->three_perf) {
            p = k.perf;
            perf = p;
        } else {
            p = perf;  // the linear gauges leave it as it is
        }
        return;
    }
    get_counts(s);  // a derived split hands its results over in the fields
    c = count;
    f = frame;
    p = perf;
}

int keycode_label::perfs_of(int c, int f, int p) {
    if (exact_gauge()) return positions::keykode_to_perfs(*gauge_, positions::FilmCounts{c, f, p});
    return get_perfs();
}

char const* keycode_label::get_abs_string(LabelPoint* lp, int s) {
    if (s == past_end_sample || s == before_start_sample || s == invalid_sample)
        return full_template.getInvalidString(s);
    int c, f, p;
    counts_of(s, c, f, p);
    return print_counts(lp, frame_separator, false, c, f, p);
}

char const* keycode_label::get_abs_perfs_string(LabelPoint* lp, int s) {
    if (s == past_end_sample || s == before_start_sample || s == invalid_sample) return "";
    char* e = lb::put_int(lp->text, get_perf_offset(s), 2, true);
    *e = '\0';
    return lp->text;
}

int keycode_label::get_abs_sample(char const* t) {
    if (!t) return invalid_sample;
    return read_text(t, SIZE_MAX, perf);
}

int keycode_label::read_text(char const* t, std::size_t n, int p) {
    // Characters from n on read as the end of the text.
    // The text must reach its count field.
    if (prefix_len > n || lb::length_upto(t, prefix_len) < prefix_len) return invalid_sample;
    char const* c = t + prefix_len;
    std::size_t const width = count_len < kWorkRoom ? count_len : kWorkRoom;
    std::size_t const count_chars = number_len - prefix_len;  // wraps when number_len < prefix_len
    unsigned digits = 0;
    long v;
    if (width <= 9 && width <= n - prefix_len && lb::read_fixed(c, static_cast<unsigned>(width), digits)) {
        v = static_cast<long>(digits);
        if (v > max_count) return invalid_sample;
        count = static_cast<int>(v);
        // The usual shape: the count fills the number, so the text reaches it.
        if (count_chars == width && number_len >= prefix_len) return read_frame(t, n, static_cast<int>(v), p);
    } else {
        char field[kWorkRoom + 1];
        std::size_t const avail = n - prefix_len;
        copy_terminated(field, c, width < avail ? width : avail);
        char const* f = field;
        while (*f == '_') ++f;
        v = lb::atol_(f);
    }
    if (v < 0 || v > max_count) return invalid_sample;
    int const k = static_cast<int>(v);
    count = k;
    // A text that ends at (or inside) the count field has frame 0.
    if (number_len < prefix_len) {
        frame = 0;
        return perfs_of(k, 0, p);
    }
    std::size_t const seen = lb::length_upto(c, count_chars);
    if ((seen < n - prefix_len ? seen : n - prefix_len) < count_chars) {
        frame = 0;
        return perfs_of(k, 0, p);
    }
    return read_frame(t, n, k, p);
}

namespace {
// The frame field after a count that ends at character `from`: 0 when the
// text ends there; else the first digit within the two characters after the
// count and at most one more digit, nothing else after them. -1 when there
// is no such frame. at(i) gives character i, NUL from the end on.
template <class At>
int frame_field(At at, std::size_t from) {
    if (at(from) == '\0') return 0;
    std::size_t d = from;
    while (at(d) && !lb::is_digit(at(d)) && d < from + 2) ++d;
    if (!lb::is_digit(at(d))) return -1;
    if (at(d + 1) && at(d + 2)) return -1;
    int f = at(d) - '0';
    if (lb::is_digit(at(d + 1))) f = f * 10 + (at(d + 1) - '0');
    return f;
}
}  // namespace

int keycode_label::read_frame(char const* t, std::size_t n, int c, int p) {
    // The frame field reads at most 5 characters from number_len on.
    int const f = n - number_len > 4 ? frame_field([t](std::size_t i) { return t[i]; }, number_len)
                                     : frame_field([t, n](std::size_t i) { return i < n ? t[i] : '\0'; }, number_len);
    if (f < 0) return invalid_sample;
    frame = f;
    return perfs_of(c, f, p);
}

void keycode_label::get_counts(int) {}
int keycode_label::get_perf_offset(int) { return 0; }
int keycode_label::get_perfs() { return invalid_sample; }

// ---------------------------------------------------------------------------
// The linear gauges.
#define LB_DEFINE_KEYCODE_GEOMETRY(name, geo)                                                              \
    name::name(label_t leaf) : keycode_label(leaf) {}                                                      \
    name::~name() = default;                                                                               \
    int name::perfs_per_keyKode() const { return kGeometry[geo].perfs_per_keyKode; }                       \
    void name::get_counts(int s) {                                                                         \
        positions::FilmCounts const k = positions::perfs_to_keykode(*kGeometry[geo].gauge, s);             \
        count = k.count;                                                                                   \
        frame = k.frame;                                                                                   \
    }                                                                                                      \
    int name::get_perf_offset(int s) { return s % kGeometry[geo].interval; }                               \
    int name::get_perfs() {                                                                                \
        return positions::keykode_to_perfs(*kGeometry[geo].gauge, positions::FilmCounts{count, frame, 0}); \
    }

LB_DEFINE_KEYCODE_GEOMETRY(keycode_35, geo_35)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_16, geo_16)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_352, geo_352)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_358, geo_358)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_655_80, geo_655_80)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_658_80, geo_658_80)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_6510_80, geo_6510_80)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_655_120, geo_655_120)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_658_120, geo_658_120)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_6510_120, geo_6510_120)
LB_DEFINE_KEYCODE_GEOMETRY(keycode_6515_120, geo_6515_120)
#undef LB_DEFINE_KEYCODE_GEOMETRY

// ---------------------------------------------------------------------------
// keycode_353
keycode_353::keycode_353(label_t leaf) : keycode_label(leaf) {}
keycode_353::~keycode_353() = default;

int keycode_353::perfs_per_keyKode() const { return kGeometry[geo_353].perfs_per_keyKode; }

void keycode_353::get_counts(int s) {
    // Frame 0 of an interval starts two perforations before its edge number:
    // frame [-21, 21], perf 0..2 from two perforations before 0 up, up to 4 below.
    positions::FilmCounts const k = positions::perfs_to_keykode(positions::gauge_353, s);
    count = k.count;
    frame = k.frame;
    perf = k.perf;
}

int keycode_353::get_perf_offset(int s) { return s % 64; }

int keycode_353::get_perfs() {
    return positions::keykode_to_perfs(positions::gauge_353, positions::FilmCounts{count, frame, perf});
}

char const* keycode_353::get_abs_string(LabelPoint* lp, int s) { return get_keep_string(lp, s); }

char const* keycode_353::get_abs_perfs_string(LabelPoint* lp, int s) {
    return keycode_label::get_abs_perfs_string(lp, s);
}

int keycode_353::get_abs_sample(char const* t) { return get_keep_sample(t); }

char const* keycode_353::get_keep_string(LabelPoint* lp, int s) {
    if (s == past_end_sample || s == before_start_sample || s == invalid_sample)
        return full_template.getInvalidString(s);
    int c, f, p;
    counts_of(s, c, f, p);
    // The keep form always separates the frame with '+'.
    return print_counts(lp, '+', true, c, f, p);
}

int keycode_353::get_keep_sample(char const* t) {
    if (!t) return invalid_sample;
    std::size_t const n = std::strlen(t);
    if (n > kWorkRoom || n < 3) return invalid_sample;
    // 'XX0000000001+00.3': perforation index 3 is perf 2, the text before
    // the ".3" a KeyKode text.
    char const last = t[n - 1];
    int const p = (lb::is_digit(last) ? last - '0' : 0) - 1;
    perf = p;
    return read_text(t, n - 2, p);
}

void keycode_353::build_template() {
    char suffix[16];
    char* e = suffix;
    *e++ = '+';
    e = lb::put_int(e, template_frame_limit(), 1, true);
    *e++ = '.';
    *e++ = '3';
    *e = '\0';
    set_templates(suffix);
}

// ---------------------------------------------------------------------------
// The leaves.
#define LB_DEFINE_KEYCODE_LEAF(name, geometry)           \
    name::name() : geometry(name##_t) {                  \
        leaf_type_ = &typeid(name);                      \
        build_template();                                \
    }                                                    \
    name::~name() = default;                             \
    char const* name::type_str() const { return #name; } \
    label_t name::type() const { return name##_t; }      \
    UserLabelType name::UserType() const { return keycode_UserLabel; }

LB_DEFINE_KEYCODE_LEAF(keycode_35_label, keycode_35)
LB_DEFINE_KEYCODE_LEAF(keycode_16_label, keycode_16)
LB_DEFINE_KEYCODE_LEAF(keycode_353_label, keycode_353)
LB_DEFINE_KEYCODE_LEAF(keycode_35_label_4, keycode_35)
LB_DEFINE_KEYCODE_LEAF(keycode_35_label_5, keycode_35)
LB_DEFINE_KEYCODE_LEAF(keycode_35_label_6, keycode_35)
LB_DEFINE_KEYCODE_LEAF(keycode_16_label_4, keycode_16)
LB_DEFINE_KEYCODE_LEAF(keycode_16_label_5, keycode_16)
LB_DEFINE_KEYCODE_LEAF(keycode_16_label_6, keycode_16)
LB_DEFINE_KEYCODE_LEAF(keycode_353_label_4, keycode_353)
LB_DEFINE_KEYCODE_LEAF(keycode_353_label_5, keycode_353)
LB_DEFINE_KEYCODE_LEAF(keycode_353_label_6, keycode_353)
LB_DEFINE_KEYCODE_LEAF(keycode_352_label, keycode_352)
LB_DEFINE_KEYCODE_LEAF(keycode_358_label, keycode_358)
LB_DEFINE_KEYCODE_LEAF(keycode_655_80_label, keycode_655_80)
LB_DEFINE_KEYCODE_LEAF(keycode_658_80_label, keycode_658_80)
LB_DEFINE_KEYCODE_LEAF(keycode_6510_80_label, keycode_6510_80)
LB_DEFINE_KEYCODE_LEAF(keycode_655_120_label, keycode_655_120)
LB_DEFINE_KEYCODE_LEAF(keycode_658_120_label, keycode_658_120)
LB_DEFINE_KEYCODE_LEAF(keycode_6510_120_label, keycode_6510_120)
LB_DEFINE_KEYCODE_LEAF(keycode_6515_120_label, keycode_6515_120)
#undef LB_DEFINE_KEYCODE_LEAF

// ---------------------------------------------------------------------------
// The gauges of the pure functions by label type.
namespace positions {
bool film_gauge(label_t t, FilmGauge& g) {
    switch (t) {
    case ink_35_label_t: g = gauge_35; return true;
    case ink_16_label_t: g = gauge_16; return true;
    case foot_35_label_t: g = feet_35; return true;
    case foot_16_label_t: g = feet_16; return true;
    case foot_353_label_t: g = feet_353; return true;
    default: break;
    }
    for (LeafRow const& r : kLeaves) {
        if (r.type == t) {
            g = *kGeometry[r.geometry].gauge;
            return true;
        }
    }
    return false;
}
}  // namespace positions
