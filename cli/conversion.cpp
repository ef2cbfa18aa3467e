// Label endpoints and the text-to-text conversion shared by `convert` and
// `batch`: read a text in the source type, take its position on the source
// medium with the source label's pitch, translate it to the target medium
// and write it in the target type. Per input nothing is allocated: the
// converters write into the endpoints' label points and messages go into
// the result's fixed buffer.
#include <cmath>
#include <cstring>

#include "cli/texts.h"
#include "labelsbase/vocabulary.h"
#include "labelsbase/wrap.h"

namespace cli {

namespace {

using lb::wrap_add;
using lb::wrap_sub;

bool is_special(int s) { return s == invalid_sample || s == past_end_sample || s == before_start_sample; }

// Whether a position divided by a pitch still fits a sample.
bool fits_samples(double position, double pitch) { return pitch > 0 && std::fabs(position / pitch) < 2147483000.0; }

}  // namespace

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

Endpoint::Endpoint(label_t t, MediumRollIdent r)
    : type(t), roll(r), own_cvt(make_any_label_cvt(t)), cvt(own_cvt.get()) {
    Label base(*cvt);
    label = std::make_unique<EditLabel>(base, roll);
    point = std::make_unique<LabelPoint>(0, cvt);
}

double Endpoint::pitch() const { return label->pitch; }

void check_translatable(MediumRollMedium m, MPosn_Xlate_Params const& p, char const* side) {
    int const v = static_cast<int>(m);
    char const* why = nullptr;
    if (v == unknown_Medium)
        why = "the unknown medium has no positions";
    else if (v == any_Medium)
        why = "`any` is a wildcard for matching, not a medium to translate on";
    else if (!lb::is_medium_used(v))
        why = "the number names no medium";
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

namespace {

// The medium a generic medium stands for in this translation.
int resolved_medium(MediumRollMedium m, MPosn_Xlate_Params const& p) {
    if (m == video_Medium) return p.video_medium;
    if (m == edit_Medium) return lb::rate_output_medium(Kest::CurrentProject::getOutputImageKESTFrameRate(), false);
    return m;
}

bool is_film_side(int m) { return lb::medium_class(m) == lb::MediumClass::film; }

}  // namespace

void Conversion::choose_transfer(bool asked_real_time) {
    int const a = resolved_medium(from_.roll.medium, params_);
    int const b = resolved_medium(to_.roll.medium, params_);
    bool const video_a = lb::is_video_medium(a), video_b = lb::is_video_medium(b);
    transfer_type const t = params_.transfer;
    bool const pal = lb::is_pal_family_rate(lb::medium_rate(a)) || lb::is_pal_family_rate(lb::medium_rate(b));
    bool const ntsc = lb::is_ntsc_family_rate(lb::medium_rate(a)) || lb::is_ntsc_family_rate(lb::medium_rate(b));
    std::string const ends = medium_label(from_.roll.medium) + " and " + medium_label(to_.roll.medium);
    if (t == transfer_pull23 && (pal || !ntsc))
        throw UsageError(
            "--transfer pull23 (2:3 pulldown) makes 30 or 60 fps video from film; it does not apply between " + ends +
            (pal ? " (25 fps video takes pogle)" : ""));
    if (t == transfer_pogle && (ntsc || !pal))
        throw UsageError(
            "--transfer pogle (24-to-25 pulldown) makes 25 or 50 fps video from film; it does not apply between " +
            ends + (ntsc ? " (30 fps video takes pull23)" : ""));
    if (asked_real_time && !(video_a && video_b))
        throw UsageError("--transfer real_time keeps the instant between video media; " + ends +
                         " are not both video (film takes pull23, pogle, frame or pulldown)");
    if (video_a && video_b && t == transfer_unspecified) {
        // Neither end is film: the same instant, the nearest frame. A speed
        // change or a film cadence is asked for with --transfer.
        real_time_ = true;
        transfer_ran_ = "real_time";
        return;
    }
    if (t == transfer_pulldown)
        transfer_ran_ = ntsc ? "pull23" : pal ? "pogle" : "frame";
    else if (t == transfer_unspecified)
        transfer_ran_ = (is_film_side(a) || is_film_side(b)) && ntsc && lb::is_film_rate(params_.project_rate)
                            ? "pull23"
                        : video_a || video_b ? "frame"
                                             : "none";
    else
        transfer_ran_ = transfer_name(t);
}

Conversion::Conversion(Endpoint& from, Endpoint& to, MPosn_Xlate_Params const& params, bool real_time)
    : from_(from), to_(to), params_(params) {
    check_translatable(from_.roll.medium, params_, "from");
    check_translatable(to_.roll.medium, params_, "to");
    choose_transfer(real_time);
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
        std::snprintf(r.error, sizeof r.error, "empty text, expected a %s text",
                      label_type_info(from_.type).class_name);
        return false;
    }
    label_cvt* const fc = from_.cvt;
    int const s = label_text_is_plausible(fc, buf) ? fc->get_abs_sample(buf) : invalid_sample;
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
    double const target =
        real_time_ ? position : mPosn_Xlate(position, from_.roll.medium, to_.roll.medium, params_, false);
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
    int ts = to_.label->abs_posn_to_sample(real_time_ ? target + 0.5 * to_.pitch() : target);
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
    if (ts < 0 && !reads_back(tc, ts, out)) {
        std::snprintf(r.error, sizeof r.error, "'%s': %s", buf, unreadable_negative(to_.type, ts, out).c_str());
        return false;
    }
    r.text = out;
    return true;
}

bool Conversion::mixes_film_frames(Result const& r) const {
    if (real_time_) return false;
    auto interlaced = [&](MediumRollMedium m) {
        lb::MediumRow const* row = lb::medium_row(resolved_medium(m, params_));
        return row && row->scan == lb::MediumScan::interlaced;
    };
    MediumRollMedium m;
    double position, pitch;
    if (interlaced(to_.roll.medium)) {
        m = to_.roll.medium;
        position = r.target_position;
        pitch = to_.pitch();
    } else if (interlaced(from_.roll.medium)) {
        m = from_.roll.medium;
        position = r.position;
        pitch = from_.pitch();
    } else {
        return false;
    }
    if (!(pitch > 0)) return false;
    // The middle of each field of the frame, on film.
    double const frame = std::floor(position / pitch + 1e-9);
    MPosn_Xlate_Params p = params_;
    double const a = mPosn_Xlate((frame + 0.25) * pitch, m, film_Medium, p, false);
    double const b = mPosn_Xlate((frame + 0.75) * pitch, m, film_Medium, p, false);
    if (std::fabs(a) >= 1e99 || std::fabs(b) >= 1e99) return false;
    return std::floor(a * 24 + 1e-6) != std::floor(b * 24 + 1e-6);
}

// ---------------------------------------------------------------------------

std::unique_ptr<ConversionSetup> make_conversion(std::string const& from, std::string const& to,
                                                 TranslationOptions const& tr, std::string const& prefix,
                                                 std::string const& sync) {
    label_t ft, tt;
    MediumRollIdent fr, trl;
    parse_endpoint(from, ft, fr);
    parse_endpoint(to, tt, trl);
    if (!prefix.empty()) check_prefix(tt, prefix);
    MPosn_Xlate_Params const p = tr.apply();
    auto pr = std::make_unique<ConversionSetup>();
    pr->from = Endpoint(ft, fr);
    pr->to = Endpoint(tt, trl);
    pr->to.prefix = prefix;
    // Audio follows the transfer of the picture it was synchronised with.
    for (Endpoint* e : {&pr->from, &pr->to})
        if (e->roll.medium == audio_Medium) e->label->fix_audio_label_pitch(p.transfer, p.video_medium);
    pr->conv = std::make_unique<Conversion>(pr->from, pr->to, p, tr.real_time());
    if (!sync.empty()) pr->conv->set_sync(sync);
    return pr;
}

double translate_position(std::string const& position, std::string const& from_name, std::string const& to_name,
                          TranslationOptions const& tr, MPosn_Xlate_Params* params) {
    double x = 0;
    if (!read_double(position, x))
        throw UsageError("'" + position +
                         "' is not a position: a finite number of seconds (cel units on cel);"
                         " NaN and infinities have none");
    MediumRollMedium const from = parse_medium(from_name);
    MediumRollMedium const to = parse_medium(to_name);
    MPosn_Xlate_Params p = tr.apply();
    if (params) *params = p;
    if (std::fabs(x) > kMaxPosition)
        throw ConversionError("position " + position +
                              " lies beyond what translation counts (frames are 32-bit: keep within 8000000 s)" +
                              (std::fabs(x) >= Label::no_position ? "; 1e99 and beyond stand for no position" : ""));
    check_translatable(from, p, "from");
    check_translatable(to, p, "to");
    double const r = mPosn_Xlate(x, from, to, p, false);
    if (std::fabs(r) >= Label::no_position) throw ConversionError(no_position_message(from, to, p));
    return r;
}

}  // namespace cli
