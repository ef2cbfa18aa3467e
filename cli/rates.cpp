// Timecode by rate in the `labels` command (see rates.h).
#include "cli/rates.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace cli {

namespace {

// The label type of each nominal rate that has one: its texts are those of
// the rate (the drop-frame type only at 29.97 drop-frame).
struct NominalType {
    int nominal;
    label_t type;
};
constexpr NominalType kNominalTypes[] = {
    {12, tc_12_label_t}, {15, tc_15_label_t},   {20, tc_20_label_t},   {24, tc_24_label_t},   {25, pal_label_t},
    {30, ntsc_label_t},  {48, tc_48_label_t},   {50, tc_50_label_t},   {60, tc_60_label_t},   {80, tc_80_label_t},
    {90, tc_90_label_t}, {100, tc_100_label_t}, {120, tc_120_label_t}, {240, tc_240_label_t},
};

label_t nominal_type(int nominal) {
    for (NominalType const& n : kNominalTypes)
        if (n.nominal == nominal) return n.type;
    return prefix_label_t;
}

// The source medium a rate-named end stands on when the library translates.
struct RateMedium {
    char const* rate;
    char const* medium;
};
constexpr RateMedium kRateMedia[] = {
    {"12", "source_12p"},           {"12/1.001", "source_12p_1001"},
    {"15", "source_15p"},           {"15/1.001", "source_15p_1001"},
    {"20", "source_20p"},           {"23.976", "source_24p_1001"},
    {"24", "source_24p"},           {"25", "source_25p"},
    {"29.97", "source_30i_1001"},   {"30", "source_30i"},
    {"47.952", "source_48p_1001"},  {"48", "source_48p"},
    {"50", "source_50p"},           {"59.94", "source_60p_1001"},
    {"60", "source_60p"},           {"80", "source_80p"},
    {"90", "source_90p"},           {"100", "source_100p"},
    {"119.88", "source_120p_1001"}, {"120", "source_120p"},
    {"239.76", "source_240p_1001"}, {"240", "source_240p"},
};

char const* medium_of_rate(timecode_rate r) {
    timecode_rate plain = r;
    plain.drop = false;
    for (RateMedium const& m : kRateMedia)
        if (timecode_rate_from_name(m.rate) == plain) return m.medium;
    return nullptr;
}

bool is_timecode(label_t t) {
    return label_type_info(t).category == timecode_UserLabel && label_type_info(t).has_converter;
}

// A whole decimal count of 64 bits.
bool read_count(std::string const& raw, std::int64_t& v) {
    std::string const s = trim(raw);
    char const* b = s.data();
    char const* e = b + s.size();
    if (b != e && *b == '+') ++b;
    auto const r = std::from_chars(b, e, v);
    return b != e && r.ec == std::errc() && r.ptr == e;
}

void check_style(RateOptions const& o) {
    if (!o.style.empty() && o.style != "display" && o.style != "interchange")
        throw UsageError("--style takes display or interchange, not '" + o.style + "'");
}

// Options that only make sense for timecode, given with another type.
void refuse_for_non_timecode(label_t t, RateOptions const& o) {
    if (o.strict || !o.style.empty() || o.running || o.signed_counts)
        throw UsageError(std::string("--strict, --style, --running and --signed apply to timecode; ") +
                         label_type_info(t).class_name + " is " + category_name(label_type_info(t).category));
}

// The type TYPE names when it is not a rate name.
label_t label_type_named(std::string const& text) { return parse_type(text); }

// The display text of a frame count in a label type (its sign column dropped).
std::string display_text(label_t t, std::int64_t frame) {
    if (frame < INT32_MIN || frame > INT32_MAX)
        throw ConversionError("frame " + std::to_string(frame) + " is outside what " + label_type_info(t).class_name +
                              " counts (32 bits)");
    Formatted const f = format_sample(t, static_cast<int>(frame));
    if (!f.error.empty())
        throw ConversionError(f.error + " (" + label_type_info(t).class_name + " gives '" + f.text + "')");
    return trim_sign_column(f.text.c_str());
}

// How messages name a label type; empty for a rate name.
std::string type_as(label_t t) { return t == prefix_label_t ? std::string() : label_type_info(t).class_name; }

char own_separator(label_t t) { return is_timecode(t) ? converter(t)->getFrameSeparator() : ':'; }

}  // namespace

void add_rate_options(CLI::App& app, RateOptions& o, bool reads, bool writes) {
    if (reads)
        app.add_flag("--strict", o.strict,
                     "Read timecode strictly: two-digit fields in range, drop-frame labels that exist, the right"
                     " frame separator (always on for rate names like 29.97df)");
    if (writes)
        app.add_option("--style", o.style,
                       "Timecode text: interchange (hh:mm:ss:ff, hh:mm:ss;ff; the default for rate names) or"
                       " display (the label type's own text; the default for label types)")
            ->type_name("display|interchange");
    app.add_flag("--running", o.running, "Timecode past 24 hours keeps counting (25:00:00:00) instead of wrapping");
    app.add_flag("--signed", o.signed_counts, "Negative timecode is written and read with a leading '-' (durations)");
}

timecode_rate rate_type(std::string const& text) { return timecode_rate_from_name(trim(text).c_str()); }

timecode_rate rate_of_type(label_t t) {
    if (!is_timecode(t)) return timecode_rate{};
    if (t == ntsc_drop_label_t) return timecode_rate{30, true, true};
    // The day says the counting rate: a halved tc_50 or tc_60 counts at 25 or 30.
    auto* const c = dynamic_cast<timecode_label*>(converter(t));
    int const nominal = c ? c->get_day_samples() / 86400 : 0;
    return timecode_rate{nominal, false, false};
}

label_t display_type_of(timecode_rate r) {
    if (r.drop) return r.nominal == 30 ? ntsc_drop_label_t : prefix_label_t;
    label_t const t = nominal_type(r.nominal);
    // A halved tc_50 or tc_60 counts at another rate: no display of this one.
    return t != prefix_label_t && rate_of_type(t).nominal == r.nominal ? t : prefix_label_t;
}

std::string rate_label(timecode_rate r) {
    char buf[timecode_rate_name_size];
    return timecode_rate_name(r, buf, sizeof buf) ? std::string(buf) : std::string("?");
}

std::int64_t read_rate_text(timecode_rate r, std::string const& raw, unsigned flags, char own, std::string const& as) {
    std::string text = trim(raw);
    // A label type's own frame separator stands for the interchange one.
    std::size_t const at = (!text.empty() && text[0] == '-') ? 9 : 8;
    if (own != ':' && !r.drop && text.size() > at && text[at] == own && text.find(':', at) == std::string::npos)
        text[at] = ':';
    timecode_reading const x = timecode_read_n(r, text.data(), text.size(), flags);
    if (x.ok()) return x.frame;
    char why[timecode_reason_size];
    timecode_reason(r, x.problem, why, sizeof why);
    throw ConversionError("cannot read '" + trim(raw) + "' as " + (as.empty() ? rate_label(r) + " timecode" : as) +
                          ": " + why);
}

std::string write_rate_text(timecode_rate r, std::int64_t frame, unsigned flags) {
    char buf[timecode_text_size];
    if (!timecode_write(r, frame, buf, sizeof buf, flags))
        throw ConversionError("frame " + std::to_string(frame) + " has no " + rate_label(r) +
                              " timecode without --signed (negative counts do not wrap with --running)");
    return buf;
}

// ---------------------------------------------------------------------------
// format, parse, calc

namespace {

// The rate TYPE names in r; for a label type, timecode_rate{} in r and the
// type in `type`. False for a label type that is not timecode (after
// refusing any rate option given with it).
bool rate_or_timecode_type(std::string const& text, RateOptions const& o, timecode_rate& r, label_t& type) {
    r = rate_type(text);
    if (timecode_rate_ok(r)) return true;
    type = label_type_named(text);
    if (is_timecode(type)) return true;
    refuse_for_non_timecode(type, o);
    return false;
}

}  // namespace

RatePlan plan_rate_format(std::string const& type, std::string const& prefix, RateOptions const& o) {
    check_style(o);
    RatePlan p;
    timecode_rate r;
    if (!rate_or_timecode_type(type, o, r, p.type)) return p;
    if (!timecode_rate_ok(r)) {
        if (o.style != "interchange" && !o.running && !o.signed_counts) return p;  // the type's own texts
        if (o.style == "display") throw UsageError("--running and --signed write interchange text");
    }
    if (!prefix.empty()) throw UsageError("--prefix applies to KeyKode and ink");
    p.by_rate = true;
    p.rate = timecode_rate_ok(r) ? r : rate_of_type(p.type);
    p.shown = o.style == "display" ? display_type_of(p.rate) : prefix_label_t;
    if (o.style == "display" && p.shown == prefix_label_t)
        throw UsageError("no label type writes " + rate_label(p.rate) + " timecode; use --style interchange");
    if (o.style == "display" && (o.running || o.signed_counts))
        throw UsageError("--running and --signed write interchange text");
    p.flags = o.flags();
    return p;
}

RatePlan plan_rate_parse(std::string const& type, RateOptions const& o) {
    RatePlan p;
    timecode_rate r;
    if (!rate_or_timecode_type(type, o, r, p.type)) return p;
    if (!timecode_rate_ok(r) && !o.strict && !o.running && !o.signed_counts) return p;  // the type's own reading
    p.by_rate = true;
    p.rate = timecode_rate_ok(r) ? r : rate_of_type(p.type);
    p.flags = o.flags();
    p.separator = own_separator(p.type);
    return p;
}

std::string RatePlan::write(std::int64_t frame) const {
    return shown != prefix_label_t ? display_text(shown, frame) : write_rate_text(rate, frame, flags);
}

std::int64_t RatePlan::read(std::string const& text) const {
    return read_rate_text(rate, text, flags, separator, type_as(type));
}

namespace {

// One JSON result per item, `key` holding the item: what `one` answers into
// it (and prints), or the item's failure, reported and recorded. The
// document names the plan's rate, type and (when given) text style.
template <class Item, class One>
void each_result(Output& out, RatePlan const& plan, char const* style, std::vector<Item> const& items, char const* key,
                 One&& one) {
    json results = json::array();
    for (Item const& item : items) {
        json j;
        j[key] = item;
        try {
            one(item, j);
        } catch (ConversionError const& e) {
            out.fail(e.what());
            j["error"] = e.what();
        }
        results.push_back(j);
    }
    out.doc["rate"] = rate_label(plan.rate);
    if (plan.type != prefix_label_t) out.doc["type"] = label_type_info(plan.type).class_name;
    if (style) out.doc["style"] = style;
    out.doc["results"] = results;
}

}  // namespace

bool run_rate_format(Output& out, FormatRequest const& a, RateOptions const& o) {
    RatePlan const plan = plan_rate_format(a.type, a.prefix, o);
    if (!plan.by_rate) return false;
    std::vector<std::int64_t> frames;
    for (std::string const& s : a.samples) {
        std::int64_t v = 0;
        if (!read_count(s, v)) throw UsageError("'" + s + "' is not a frame count (a whole number)");
        frames.push_back(v);
    }
    char const* const style = plan.shown != prefix_label_t ? "display" : "interchange";
    each_result(out, plan, style, frames, "frame", [&](std::int64_t f, json& j) {
        std::string const text = plan.write(f);
        j["text"] = text;
        out.line(text);
    });
    return true;
}

bool run_rate_parse(Output& out, std::string const& type, std::vector<std::string> const& texts, RateOptions const& o) {
    RatePlan const plan = plan_rate_parse(type, o);
    if (!plan.by_rate) return false;
    each_result(out, plan, nullptr, texts, "input", [&](std::string const& text, json& j) {
        std::int64_t const f = plan.read(text);
        j[plan.type == prefix_label_t ? "frame" : "sample"] = f;
        j["text"] = write_rate_text(plan.rate, f, plan.flags);
        out.line(std::to_string(f));
    });
    return true;
}

bool run_rate_calc(Output& out, std::string const& type, std::vector<std::string> const& items, RateOptions const& o) {
    check_style(o);
    timecode_rate r;
    label_t t = prefix_label_t;
    if (!rate_or_timecode_type(type, o, r, t)) return false;
    if (!timecode_rate_ok(r) && !o.strict && o.style != "interchange" && !o.running && !o.signed_counts) return false;
    timecode_rate const rate = timecode_rate_ok(r) ? r : rate_of_type(t);
    if (items.size() % 2 != 1)
        throw UsageError("calc takes TEXT followed by pairs of + or - and a duration, e.g. 01:00:00:00 + 100f - 2.5s");
    // Durations read as running counts (a duration may pass 24 hours) and
    // may be negative.
    unsigned const dur_flags = timecode_running | timecode_signed;
    timecode_ratio const exact = timecode_rate_exact(rate);
    std::int64_t acc = read_rate_text(rate, items[0], o.flags(), own_separator(t), type_as(t));
    json steps = json::array();
    json start = json{{"text", items[0]}, {"frame", acc}};
    for (std::size_t i = 1; i + 1 < items.size(); i += 2) {
        std::string const& op = items[i];
        if (op != "+" && op != "-") throw UsageError("'" + op + "' is not + or -; calc takes TEXT (+|-) DURATION ...");
        std::string const d = trim(items[i + 1]);
        char const u = d.empty() ? '\0' : d.back();
        std::string const number = d.empty() ? d : d.substr(0, d.size() - 1);
        std::int64_t n = 0;
        double secs = 0;
        if (u == 'f' || u == 'F') {
            if (!read_count(number, n)) throw UsageError("'" + d + "' is not a whole number of frames (like 100f)");
        } else if ((u == 's' || u == 'S') && read_double(number, secs)) {
            // Seconds of real time, to the nearest frame.
            double const v = std::floor(secs * static_cast<double>(exact.num) / static_cast<double>(exact.den) + 0.5);
            if (!(std::fabs(v) < 9.0e15)) throw ConversionError("'" + d + "' is too long a time");
            n = static_cast<std::int64_t>(v);
        } else {
            n = read_rate_text(rate, d, dur_flags, own_separator(t), type_as(t));
        }
        if (std::llabs(n) > (std::int64_t{1} << 53)) throw ConversionError("'" + d + "' is too many frames");
        acc = op == "+" ? acc + n : acc - n;
        steps.push_back(json{{"op", op}, {"operand", items[i + 1]}, {"frames", n}});
    }
    std::string text;
    label_t const shown =
        o.style == "display" || (t != prefix_label_t && o.style.empty()) ? display_type_of(rate) : prefix_label_t;
    if (shown != prefix_label_t && !o.running && !o.signed_counts) {
        // The label type wraps as it does: a day's frames into the day.
        std::int64_t const day = timecode_frames_per_day(rate);
        text = display_text(shown, ((acc % day) + day) % day);
    } else {
        if (o.style == "display")
            throw UsageError("no label type writes " + rate_label(rate) + " timecode here; use --style interchange");
        text = write_rate_text(rate, acc, o.flags());
    }
    out.doc["rate"] = rate_label(rate);
    if (t != prefix_label_t) out.doc["type"] = label_type_info(t).class_name;
    out.doc["start"] = start;
    out.doc["steps"] = steps;
    out.doc["result"] = json{{"frame", acc}, {"text", text}};
    out.line(text);
    return true;
}

// ---------------------------------------------------------------------------

void list_rate_names(Output& out) {
    std::size_t n = 0;
    timecode_rate const* all = timecode_named_rates(&n);
    out.line("");
    out.line("Timecode rates (TYPE names; any whole N from 1 to 1000 and N/1.001 too, df for drop-frame):");
    out.line(std::string("name      exact         drop  frames/day  display type"));
    json list = json::array();
    for (std::size_t i = 0; i < n; ++i) {
        timecode_rate const r = all[i];
        timecode_ratio const q = timecode_rate_exact(r);
        std::string const exact = std::to_string(q.num) + (q.den != 1 ? "/" + std::to_string(q.den) : "");
        label_t const d = display_type_of(r);
        std::string const shown = d == prefix_label_t ? "-" : short_type_name(d);
        auto pad = [](std::string s, std::size_t w) {
            if (s.size() < w) s.append(w - s.size(), ' ');
            return s;
        };
        out.line(pad(rate_label(r), 10) + pad(exact, 14) + pad(r.drop ? "yes" : "no", 6) +
                 pad(std::to_string(timecode_frames_per_day(r)), 12) + shown);
        list.push_back(
            json{{"name", rate_label(r)},
                 {"nominal", r.nominal},
                 {"exact", exact},
                 {"fps", static_cast<double>(q.num) / static_cast<double>(q.den)},
                 {"drop_frame", r.drop},
                 {"frames_per_day", timecode_frames_per_day(r)},
                 {"display_type", d == prefix_label_t ? json(nullptr) : json(label_type_info(d).class_name)}});
    }
    out.doc["timecode_rates"] = list;
}

// ---------------------------------------------------------------------------
// convert and batch

TextConversion::TextConversion(std::string const& from, std::string const& to, TranslationOptions const& tr,
                               std::string const& prefix, std::string const& sync, RateOptions const& o)
    : opt_(o) {
    check_style(o);
    // Each end: a rate name (before any '@'), or a label type.
    std::string lib_from = from, lib_to = to;
    auto end_of = [](std::string const& text, End& e, std::string& lib) {
        std::size_t const at = text.find('@');
        e.rate = rate_type(text.substr(0, at));
        if (!timecode_rate_ok(e.rate)) {
            lib = text;
            label_t t;
            MediumRollIdent roll;
            parse_endpoint(lib, t, roll);
            e.type = t;
            e.separator = own_separator(t);
            return;
        }
        e.type = nominal_type(e.rate.nominal);
        char const* medium = medium_of_rate(e.rate);
        lib = (e.type != prefix_label_t ? label_type_info(e.type).class_name : std::string("?")) + "@" +
              (at != std::string::npos ? text.substr(at + 1) : std::string(medium ? medium : "?"));
    };
    end_of(from, from_, lib_from);
    end_of(to, to_, lib_to);
    if (!o.style.empty() && !timecode_rate_ok(to_.rate) && !is_timecode(to_.type))
        throw UsageError("--style applies to a timecode target");
    bool const rates_both = timecode_rate_ok(from_.rate) && timecode_rate_ok(to_.rate);
    transfer_type const xfer = tr.kind();
    bool const direct_transfer = xfer == transfer_unspecified || xfer == transfer_frame_for_frame;
    if (rates_both && direct_transfer && from.find('@') == std::string::npos && to.find('@') == std::string::npos) {
        by_frame_ = xfer == transfer_frame_for_frame;
        if (!prefix.empty()) throw UsageError("--prefix applies to KeyKode and ink targets");
        if (!sync.empty()) {
            std::size_t const eq = sync.find('=');
            if (eq == std::string::npos) throw UsageError("--sync takes SOURCE=TARGET, two texts of the same instant");
            sync_from_ = read_rate_text(from_.rate, sync.substr(0, eq), o.flags());
            sync_to_ = read_rate_text(to_.rate, sync.substr(eq + 1), o.flags());
        }
        return;
    }
    // With a film transfer a 24-frame rate (23.976, 24) without a medium
    // counts the film frames the transfer lays over video: 2:3 puts 4 of
    // them on 5 video frames exactly, at whatever speed they ran.
    bool const film_transfer = xfer == transfer_pull23 || xfer == transfer_pogle || xfer == transfer_pulldown;
    auto film_end = [film_transfer](std::string const& text, End& e, std::string& lib) {
        if (!film_transfer || !timecode_rate_ok(e.rate) || e.rate.nominal != 24 || e.rate.drop ||
            text.find('@') != std::string::npos)
            return;
        e.film = true;
        e.type = film_frames_label_t;
        lib = "film_frames@film";
    };
    film_end(from, from_, lib_from);
    film_end(to, to_, lib_to);
    for (End const* e : {&from_, &to_})
        if (timecode_rate_ok(e->rate) && !e->film && (e->type == prefix_label_t || !medium_of_rate(e->rate)))
            throw UsageError("no label type counts " + rate_label(e->rate) +
                             " timecode for the library's translation; convert between rate names directly"
                             " (transfer none or frame)");
    // A rate-named sync text becomes its label type's text.
    std::string lib_sync = sync;
    if (!sync.empty() && (timecode_rate_ok(from_.rate) || timecode_rate_ok(to_.rate))) {
        std::size_t const eq = sync.find('=');
        if (eq == std::string::npos) throw UsageError("--sync takes SOURCE=TARGET, two texts of the same instant");
        std::string a = sync.substr(0, eq), b = sync.substr(eq + 1);
        if (timecode_rate_ok(from_.rate)) a = display_text(from_.type, read_rate_text(from_.rate, a, o.flags()));
        if (timecode_rate_ok(to_.rate)) b = display_text(to_.type, read_rate_text(to_.rate, b, o.flags()));
        lib_sync = a + "=" + b;
    }
    lib_ = make_conversion(lib_from, lib_to, tr, prefix, lib_sync);
}

TextConversion::~TextConversion() = default;

bool TextConversion::run(char const* text, Conversion::Result& r) {
    auto failed = [&r](char const* why) {
        std::size_t const n = std::min(std::strlen(why), sizeof r.error - 1);
        std::memcpy(r.error, why, n);
        r.error[n] = '\0';
        return false;
    };
    r.error[0] = '\0';
    try {
        if (!lib_) {
            std::int64_t const f = read_rate_text(from_.rate, text, opt_.flags()) - sync_from_;
            std::int64_t g = f;
            if (!by_frame_ && !timecode_convert_real_time(from_.rate, to_.rate, f, &g))
                return failed("the frame count is too large to convert");
            g += sync_to_;
            if (f + sync_from_ < INT32_MIN || f + sync_from_ > INT32_MAX || g < INT32_MIN || g > INT32_MAX)
                return failed("the frame count is outside 32 bits");
            std::string const out = write_rate_text(to_.rate, g, opt_.flags());
            std::memcpy(text_, out.c_str(), out.size() + 1);
            r.sample = static_cast<int>(f + sync_from_);
            r.target_sample = static_cast<int>(g);
            timecode_ratio const a = timecode_rate_exact(from_.rate), b = timecode_rate_exact(to_.rate);
            r.position = static_cast<double>(f + sync_from_) * static_cast<double>(a.den) / static_cast<double>(a.num);
            r.target_position = static_cast<double>(g) * static_cast<double>(b.den) / static_cast<double>(b.num);
            r.text = text_;
            return true;
        }
        char const* in = text;
        if (timecode_rate_ok(from_.rate)) {
            std::int64_t const f = read_rate_text(from_.rate, text, opt_.flags());
            // The label types count within a day: a running or signed count
            // outside it would wrap on the way.
            std::int64_t const day = timecode_frames_per_day(from_.rate);
            if (f < 0 || f >= day)
                throw ConversionError("'" + trim(text) + "' is outside the day (frames 0 to " +
                                      std::to_string(day - 1) +
                                      "), where the translation between label types counts; running and signed"
                                      " counts convert directly between rate names (transfer none or frame)");
            source_text_ = display_text(from_.type, f);
            in = source_text_.c_str();
        } else if (opt_.strict && is_timecode(from_.type)) {
            read_rate_text(rate_of_type(from_.type), text, opt_.flags(), from_.separator,
                           label_type_info(from_.type).class_name);
        }
        if (!lib_->conv->run(in, r)) return false;
        bool const interchange = timecode_rate_ok(to_.rate) ? opt_.style != "display" : opt_.style == "interchange";
        if (interchange && (is_timecode(to_.type) || to_.film)) {
            timecode_rate const rate = timecode_rate_ok(to_.rate) ? to_.rate : rate_of_type(to_.type);
            std::string const out = write_rate_text(rate, r.target_sample, opt_.flags());
            std::memcpy(text_, out.c_str(), out.size() + 1);
            r.text = text_;
        }
        return true;
    } catch (ConversionError const& e) {
        return failed(e.what());
    }
}

json TextConversion::setup_json() const {
    json j;
    auto end = [](End const& e) {
        json x;
        if (timecode_rate_ok(e.rate)) {
            timecode_ratio const q = timecode_rate_exact(e.rate);
            x["rate"] = rate_label(e.rate);
            x["exact"] = std::to_string(q.num) + "/" + std::to_string(q.den);
        }
        if (e.type != prefix_label_t) x["type"] = label_type_info(e.type).class_name;
        return x;
    };
    j["from"] = end(from_);
    j["to"] = end(to_);
    if (lib_) {
        j["from"]["medium"] = medium_label(lib_->from.roll.medium);
        j["to"]["medium"] = medium_label(lib_->to.roll.medium);
        j["params"] = params_json(lib_->conv->params());
        j["method"] = "translation";
    } else {
        j["method"] = by_frame_ ? "frame count" : "real time";
    }
    return j;
}

std::string TextConversion::explain(std::string const& input, Conversion::Result const& r) const {
    auto side = [](End const& e) {
        return timecode_rate_ok(e.rate) ? rate_label(e.rate) : std::string(label_type_info(e.type).class_name);
    };
    return input + " = " + side(from_) + " frame " + std::to_string(r.sample) + " = " + format_double(r.position) +
           " s -> " + format_double(r.target_position) + " s = " + side(to_) + " frame " +
           std::to_string(r.target_sample) + " = " + trim_sign_column(r.text);
}

}  // namespace cli
