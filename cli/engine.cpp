// Label endpoints and the text-to-text conversion shared by `convert` and
// `batch`: read a text in the source type, take its position on the source
// medium with the source label's pitch, translate it to the target medium
// and write it in the target type. Per input nothing is allocated: the
// converters write into the endpoints' label points and messages go into
// the result's fixed buffer.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "cli/cli.h"

namespace cli {

namespace {

constexpr std::size_t kMaxInput = 255;

int wrap_add(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b));
}
int wrap_sub(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b));
}

bool is_special(int s) { return s == invalid_sample || s == past_end_sample || s == before_start_sample; }

// Whether a position divided by a pitch still fits a sample.
bool fits_samples(double position, double pitch) {
    return pitch > 0 && std::fabs(position / pitch) < 2147483000.0;
}

}  // namespace

label_cvt* converter(label_t t) {
    static label_cvt* made[label_type_count] = {};
    int const i = static_cast<int>(t);
    if (i < 0 || i >= label_type_count) return get_static_label_cvt(prefix_label_t);
    if (!made[i]) made[i] = make_any_label_cvt(t);
    return made[i];
}

std::string template_text(label_cvt* c) { return c->full_template.template_text.c_str(); }

std::string example_text(label_t t) {
    label_cvt* c = converter(t);
    int const m = c->get_modulus();
    int const s = m > 1000 ? 1234 : (12 * m + 5) * c->samples_per_unit();
    LabelPoint p(0, c);
    set_point_prefix(c, &p, c->get_dummy_prefix());
    p.sample = s;
    return trim_sign_column(c->get_abs_string(&p, s));
}

std::string unreadable_message(std::string const& text, label_t t) {
    return "cannot read '" + text + "' as " + label_type_info(t).class_name + ": expected the form " +
           template_text(converter(t)) + ", e.g. '" + example_text(t) + "'";
}

char const* trim_sign_column(char const* text) { return (text && text[0] == ' ') ? text + 1 : text; }

void set_point_prefix(label_cvt* c, LabelPoint* lp, char const* prefix) {
    if (!c->has_prefix()) return;
    if (c->UserType() == ink_UserLabel) {
        // The ink reader pads short texts on the left as numbers without a
        // prefix, so the prefix goes in as a whole ink number.
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.4s0000+00", prefix);
        c->set_prefix(lp, buf);
        return;
    }
    c->set_prefix(lp, prefix);
}

bool is_failure_text(label_cvt* c, char const* text) {
    if (!text) return true;
    if (std::strcmp(text, "???") == 0 || std::strcmp(text, "NEGATIVE") == 0) return true;
    char const* inv = c->full_template.getInvalidString(invalid_sample);
    return inv[0] != '\0' && std::strcmp(text, inv) == 0;
}

void check_prefix(label_t t, std::string const& prefix) {
    label_cvt* c = converter(t);
    if (!c->has_prefix())
        throw UsageError("--prefix applies to KeyKode and ink-number types only; " +
                         std::string(label_type_info(t).class_name) + " has no prefix");
    std::size_t const n = static_cast<std::size_t>(c->get_prefix_length());
    if (prefix.size() != n)
        throw UsageError("the prefix of " + std::string(label_type_info(t).class_name) + " has " + std::to_string(n) +
                         " characters (like '" + std::string(c->get_dummy_prefix()).substr(0, n) + "'), not " +
                         std::to_string(prefix.size()) + " ('" + prefix + "')");
    for (char ch : prefix)
        if (ch < 33 || ch > 126)
            throw UsageError("the prefix '" + prefix + "' holds a character that is not printable (spaces too)");
}

// The text as the library is given it: without surrounding white space and,
// for KeyKode, without the spaces KeyKode is printed with on film
// ("KJ 23 1234 5678+05"). False when it does not fit.
static bool prepare_input(label_t t, char const* in, char* out, std::size_t size) {
    while (*in == ' ' || *in == '\t' || *in == '\r' || *in == '\n') ++in;
    std::size_t n = std::strlen(in);
    while (n > 0 && (in[n - 1] == ' ' || in[n - 1] == '\t' || in[n - 1] == '\r' || in[n - 1] == '\n')) --n;
    bool const squeeze = label_type_info(t).category == keycode_UserLabel;
    std::size_t o = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (squeeze && (in[i] == ' ' || in[i] == '\t')) continue;
        if (o + 1 >= size) return false;
        out[o++] = in[i];
    }
    out[o] = '\0';
    return true;
}

std::string prepared_text(label_t t, std::string const& text) {
    char buf[kMaxInput + 1];
    if (!prepare_input(t, text.c_str(), buf, sizeof buf)) return text;
    return buf;
}

bool rate_has_medium(Kest::FrameRate r) {
    int const v = static_cast<int>(r);
    return (v >= Kest::FrameRate_24 && v <= Kest::FrameRate_59_94) || (v >= Kest::FrameRate_12 && v <= Kest::FrameRate_239_76);
}

// The converters read leniently (a KeyKode or ink count that is not a
// number reads as 0, feet read whatever leads the text as a number); the
// command refuses texts that cannot be meant as a label of the type.
static bool plausible(label_t t, char const* s) {
    bool digit = false;
    for (char const* p = s; *p; ++p) digit = digit || (*p >= '0' && *p <= '9');
    if (!digit) return false;
    label_cvt* const c = converter(t);
    std::size_t const n = std::strlen(s);
    auto all_digits = [](char const* p, std::size_t k, bool underscore) {
        for (std::size_t i = 0; i < k; ++i)
            if (!((p[i] >= '0' && p[i] <= '9') || (underscore && p[i] == '_'))) return false;
        return true;
    };
    switch (label_type_info(t).category) {
        case keycode_UserLabel: {
            std::size_t const pre = static_cast<std::size_t>(c->get_prefix_length());
            std::size_t const cnt = static_cast<std::size_t>(c->get_count_length());
            return n >= pre + cnt && all_digits(s + pre, cnt, true);
        }
        case ink_UserLabel: {
            // The ink reader's own layout: prefix and the last 7 characters
            // of long texts, short texts padded with zeros to 11.
            char u[16];
            if (n >= 12) {
                std::memcpy(u, s, 4);
                std::memcpy(u + 4, s + n - 7, 8);
            } else {
                std::size_t const pad = std::min<std::size_t>(11 - n, 4);
                std::memset(u, '0', pad);
                std::memcpy(u + pad, s, n + 1);
            }
            return all_digits(u + 4, 4, false);
        }
        case feet_UserLabel: {
            while (*s == ' ' || *s == '\t') ++s;
            if (*s == '-') ++s;
            return *s >= '0' && *s <= '9';
        }
        default: return true;
    }
}

int read_sample(label_t t, char const* text, std::string& error) {
    char buf[kMaxInput + 1];
    if (!prepare_input(t, text, buf, sizeof buf)) {
        error = "text longer than " + std::to_string(kMaxInput) + " characters";
        return invalid_sample;
    }
    int const s = plausible(t, buf) ? converter(t)->get_abs_sample(buf) : invalid_sample;
    if (s == invalid_sample) error = unreadable_message(buf, t);
    return s;
}

// ---------------------------------------------------------------------------

MediumRollMedium default_medium(label_t t) {
    switch (label_type_info(t).category) {
        case keycode_UserLabel:
        case feet_UserLabel:
        case film_frames_UserLabel: return film_Medium;
        case ink_UserLabel: return ink_Medium;
        default: break;
    }
    switch (t) {
        case pal_label_t: return source_25p_Medium;
        case ntsc_label_t:
        case ntsc_drop_label_t: return source_30i_1001_Medium;
        case tc_24_label_t: return source_24p_Medium;
        case tc_48_label_t: return source_48p_Medium;
        case tc_50_label_t:
        case tc_50_duration_label_t: return source_50p_Medium;
        case tc_60_label_t:
        case tc_60_duration_label_t: return source_60p_Medium;
        case tc_12_label_t: return source_12p_Medium;
        case tc_15_label_t: return source_15p_Medium;
        case tc_20_label_t: return source_20p_Medium;
        case tc_80_label_t: return source_80p_Medium;
        case tc_90_label_t: return source_90p_Medium;
        case tc_100_label_t: return source_100p_Medium;
        case tc_120_label_t: return source_120p_Medium;
        case tc_240_label_t: return source_240p_Medium;
        default: return film_Medium;
    }
}

void parse_endpoint(std::string const& text, label_t& t, MediumRollIdent& r) {
    std::size_t const at = text.find('@');
    t = parse_type(text.substr(0, at));
    if (at == std::string::npos) {
        r = MediumRollIdent{default_medium(t), any_Generation};
    } else {
        r = parse_medium_roll(text.substr(at + 1));
    }
}

Endpoint::Endpoint(label_t t, MediumRollIdent r) : type(t), roll(r), cvt(converter(t)) {
    Label base(*cvt);
    label = std::make_unique<EditLabel>(base, roll);
    point = std::make_unique<LabelPoint>(0, cvt);
}

double Endpoint::pitch() const { return label->pitch; }

void check_translatable(MediumRollMedium m, MPosn_Xlate_Params const& p, char const* side) {
    int const v = static_cast<int>(m);
    char const* why = nullptr;
    if (v == unknown_Medium) why = "the unknown medium has no positions";
    else if (v == any_Medium) why = "`any` is a wildcard for matching, not a medium to translate on";
    else if (v == 5 || v == 6 || v == 9 || v < 0 || v > output_240p_1001_Medium) why = "the number names no medium";
    else if (v == video_Medium && getFrameRatefromMedium(p.video_medium) == 0)
        why = "`video` stands for the video medium of the translation, and none is set (use --video-medium)";
    else if (v == edit_Medium && !rate_has_medium(Kest::CurrentProject::getOutputImageKESTFrameRate()))
        why = "`edit` stands for the project's output medium, and the output rate has none";
    if (why)
        throw UsageError(std::string("cannot translate ") + side + " medium " + medium_label(v) + ": " + why +
                         ". Use film, audio, time, cel, a source_ or output_ medium (`labels media`).");
}

std::string no_position_message(MediumRollMedium from, MediumRollMedium to, MPosn_Xlate_Params const& p) {
    return "no position: " + medium_label(from) + " has no counterpart on " + medium_label(to) + " in a " +
           rate_name(p.project_rate) + " fps project with transfer " + transfer_name(p.transfer) +
           " (check --project-rate and --transfer)";
}

// ---------------------------------------------------------------------------

Conversion::Conversion(Endpoint& from, Endpoint& to, MPosn_Xlate_Params const& params)
    : from_(from), to_(to), params_(params) {
    check_translatable(from_.roll.medium, params_, "from");
    check_translatable(to_.roll.medium, params_, "to");
    label_cvt* f = from_.cvt;
    label_cvt* t = to_.cvt;
    std::string const u = unreadable_message("", from_.type);
    unreadable_tail_ = u.substr(u.find("' as ") + 1);
    no_position_ = no_position_message(from_.roll.medium, to_.roll.medium, params_);
    if (!to_.prefix.empty()) {
        set_point_prefix(t, to_.point.get(), to_.prefix.c_str());
    } else if (t->has_prefix()) {
        set_point_prefix(t, to_.point.get(), t->get_dummy_prefix());
        carry_prefix_ = f->has_prefix() && f->get_prefix_length() == t->get_prefix_length() &&
                        label_type_info(from_.type).category == label_type_info(to_.type).category;
    }
}

void Conversion::set_sync(std::string const& pair) {
    std::size_t const eq = pair.find('=');
    if (eq == std::string::npos)
        throw UsageError("--sync takes SOURCE=TARGET, two texts that mark the same instant, not '" + pair + "'");
    std::string err;
    std::string const a = pair.substr(0, eq), b = pair.substr(eq + 1);
    int const s = read_sample(from_.type, a.c_str(), err);
    if (s == invalid_sample) throw UsageError("--sync: " + err);
    int const d = read_sample(to_.type, b.c_str(), err);
    if (d == invalid_sample) throw UsageError("--sync: " + err);
    if (to_.cvt->has_prefix() && to_.prefix.empty()) {
        char buf[kMaxInput + 1];
        if (prepare_input(to_.type, b.c_str(), buf, sizeof buf)) to_.cvt->set_prefix(to_.point.get(), buf);
        carry_prefix_ = false;
    }
    sync_from_ = s;
    sync_to_ = d;
    synced_ = true;
}

bool Conversion::run(char const* input, Result& r) {
    r.error[0] = '\0';
    r.text = nullptr;
    char buf[kMaxInput + 1];
    if (!prepare_input(from_.type, input, buf, sizeof buf)) {
        std::snprintf(r.error, sizeof r.error, "text longer than %zu characters", kMaxInput);
        return false;
    }
    if (buf[0] == '\0') {
        std::snprintf(r.error, sizeof r.error, "empty text, expected a %s text", label_type_info(from_.type).class_name);
        return false;
    }
    label_cvt* const fc = from_.cvt;
    int const s = plausible(from_.type, buf) ? fc->get_abs_sample(buf) : invalid_sample;
    r.sample = s;
    if (s == invalid_sample) {
        std::snprintf(r.error, sizeof r.error, "cannot read '%s'%s", buf, unreadable_tail_.c_str());
        return false;
    }
    if (carry_prefix_) to_.cvt->set_prefix(to_.point.get(), buf);

    double const pitch = from_.pitch();
    double position;
    if (synced_) {
        position = static_cast<double>(wrap_sub(s, sync_from_)) * pitch;
    } else {
        position = from_.label->sample_to_posn(s);
    }
    r.position = position;
    if (std::fabs(position) > kMaxPosition && std::fabs(position) < 1e99) {
        std::snprintf(r.error, sizeof r.error, "'%s' lies %.6g s from zero, beyond what translation counts", buf,
                      position);
        return false;
    }
    if (std::fabs(position) >= 1e99) {
        std::snprintf(r.error, sizeof r.error, "'%s' has no position on %s", buf,
                      medium_label(from_.roll.medium).c_str());
        return false;
    }
    double const target = mPosn_Xlate(position, from_.roll.medium, to_.roll.medium, params_, false);
    r.target_position = target;
    if (std::fabs(target) >= 1e99) {
        std::snprintf(r.error, sizeof r.error, "'%s': %s", buf, no_position_.c_str());
        return false;
    }
    if (!fits_samples(target, to_.pitch())) {
        std::snprintf(r.error, sizeof r.error, "'%s': position %.6g s lies outside what %s can count", buf, target,
                      label_type_info(to_.type).class_name);
        return false;
    }
    int ts = to_.label->abs_posn_to_sample(target);
    if (ts == invalid_sample) {
        std::snprintf(r.error, sizeof r.error, "'%s': position %.6g s gives no %s sample", buf, target,
                      label_type_info(to_.type).class_name);
        return false;
    }
    if (synced_) ts = wrap_add(ts, sync_to_);
    label_cvt* const tc = to_.cvt;
    ts = tc->normalise_sample_unit(ts);
    r.target_sample = ts;
    if (is_special(ts)) {
        std::snprintf(r.error, sizeof r.error, "'%s': sample %d lies outside what %s can write", buf, ts,
                      label_type_info(to_.type).class_name);
        return false;
    }
    to_.point->sample = ts;
    char const* out = tc->get_abs_string(to_.point.get(), ts);
    if (is_failure_text(tc, out)) {
        std::snprintf(r.error, sizeof r.error, "'%s': %s cannot write sample %d (it gives '%s')", buf,
                      label_type_info(to_.type).class_name, ts, out ? out : "");
        return false;
    }
    r.text = out;
    return true;
}

// ---------------------------------------------------------------------------

int parse_duration(std::string const& raw, Endpoint& e) {
    std::string text = raw;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.erase(0, 1);
    label_cvt* const c = e.cvt;
    char const unit = text.empty() ? '\0' : text.back();
    std::string const number = text.empty() ? std::string() : text.substr(0, text.size() - 1);
    if (unit == 'f' || unit == 'F') {
        int n = 0;
        if (!read_int(number, n))
            throw UsageError("'" + text + "' is not a whole number of frames (like 100f)");
        long long const v = static_cast<long long>(n) * c->samples_per_unit();
        if (v < -2147483647LL || v > 2147483647LL) throw ConversionError("'" + text + "' is too many frames");
        return static_cast<int>(v);
    }
    if (unit == 'p' || unit == 'P') {
        int n = 0;
        if (!read_int(number, n))
            throw UsageError("'" + text + "' is not a whole number of perforations (like 64p)");
        if (label_type_info(e.type).unit != std::string("perforation"))
            throw UsageError("'" + text + "': " + label_type_info(e.type).class_name +
                             " counts frames, not perforations; use f");
        return n;
    }
    double secs = 0;
    if ((unit == 's' || unit == 'S') && read_double(number, secs)) {
        if (!fits_samples(secs, e.pitch())) throw ConversionError("'" + text + "' is too long a time");
        int const s = e.label->posn_to_sample(secs);
        if (s == invalid_sample) throw ConversionError("'" + text + "' gives no sample");
        return s;
    }
    std::string err;
    int const s = read_sample(e.type, text.c_str(), err);
    if (s == invalid_sample)
        throw ConversionError(err + "; a duration is a text of the type, a frame count (100f), seconds (2.5s)" +
                              (label_type_info(e.type).unit == std::string("perforation") ? " or perforations (64p)"
                                                                                           : ""));
    return s;
}

}  // namespace cli
