// Durations and the calc engine: a text of a label type plus or minus
// durations given as frames, seconds, perforations or texts of the type.
#include <cmath>

#include "cli/core.h"

namespace cli {

namespace {

// Whether a position divided by a pitch still fits a sample.
bool fits_samples(double position, double pitch) { return pitch > 0 && std::fabs(position / pitch) < 2147483000.0; }

bool counts_perforations(label_t t) { return label_type_info(t).unit == std::string("perforation"); }

}  // namespace

int parse_duration(std::string const& raw, Endpoint& e) {
    std::string const text = trim(raw);
    label_cvt* const c = e.cvt;
    char const unit = text.empty() ? '\0' : text.back();
    std::string const number = text.empty() ? std::string() : text.substr(0, text.size() - 1);
    if (unit == 'f' || unit == 'F') {
        int n = 0;
        if (!read_int(number, n)) throw UsageError("'" + text + "' is not a whole number of frames (like 100f)");
        long long const v = static_cast<long long>(n) * c->samples_per_unit();
        if (v < -2147483647LL || v > 2147483647LL) throw ConversionError("'" + text + "' is too many frames");
        return static_cast<int>(v);
    }
    if (unit == 'p' || unit == 'P') {
        int n = 0;
        if (!read_int(number, n)) throw UsageError("'" + text + "' is not a whole number of perforations (like 64p)");
        if (!counts_perforations(e.type))
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
                              (counts_perforations(e.type) ? " or perforations (64p)" : ""));
    return s;
}

Calculated calc(label_t t, MediumRollIdent roll, std::vector<std::string> const& items) {
    if (items.size() % 2 != 1)
        throw UsageError("calc takes TEXT followed by pairs of + or - and a duration, e.g. 01:00:00:00 + 100f - 2.5s");
    for (std::size_t i = 1; i < items.size(); i += 2)
        if (items[i] != "+" && items[i] != "-")
            throw UsageError("'" + items[i] + "' is not + or -; calc takes TEXT (+|-) DURATION ...");
    Endpoint e(t, roll);
    label_cvt* c = e.cvt;
    for (std::size_t i = 2; i < items.size(); i += 2) {
        std::string const& d = items[i];
        char const u = d.empty() ? '\0' : d.back();
        if ((u == 'p' || u == 'P') && !counts_perforations(t))
            throw UsageError("'" + d + "': " + label_type_info(t).class_name +
                             " counts frames, not perforations; use f");
    }
    std::string err;
    Calculated r;
    r.start_sample = read_sample(t, items[0].c_str(), err);
    if (r.start_sample == invalid_sample) throw ConversionError(err);
    LabelPoint acc(r.start_sample, c);
    for (std::size_t i = 1; i + 1 < items.size(); i += 2) {
        std::string const& op = items[i];
        int const d = parse_duration(items[i + 1], e);
        LabelPoint const b(d, c);
        acc = op == "+" ? acc + b : acc - b;
        r.steps.push_back(CalcStep{op, items[i + 1], d});
    }
    // KeyKode and ink results take the start's prefix as read, without the
    // spaces it may have been typed with; results are written unspaced.
    if (c->has_prefix()) c->set_prefix(&acc, prepared_text(t, items[0]).c_str());
    char const* text = c->get_abs_string(&acc, acc.sample);
    r.sample = acc.sample;
    r.text = text;
    if (is_failure_text(c, text))
        throw ConversionError("the result, sample " + std::to_string(acc.sample) + ", has no " +
                              label_type_info(t).class_name + " text ('" + text + "')");
    if (r.sample < 0 && !reads_back(c, r.sample, text)) throw ConversionError(unreadable_negative(t, r.sample, text));
    return r;
}

}  // namespace cli
