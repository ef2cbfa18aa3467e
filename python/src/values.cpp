// The rate-first timecode primitives the Timecode value is built on (the
// value itself is in __init__.py): rate names, strict reading with the
// field at fault named, interchange text, conversion between rates in real
// time or through a film transfer.
#include <cstring>
#include <memory>

#include <labelsbase/timecode_rate.h>

#include "cli/rates.h"
#include "common.h"

namespace lbpy {

namespace {

timecode_rate read_rate(py::handle rate) {
    std::string const name = option_text(rate, "rate");
    timecode_rate const r = timecode_rate_from_name(name.c_str(), name.size());
    if (!timecode_rate_ok(r))
        raise_label_error("unknown timecode rate '" + name +
                          "': a rate is 23.976, 24, 25, 29.97, 29.97df, 30, 47.952, 48, 50, 59.94, 59.94df, 60,"
                          " 119.88df, 120, ... any whole number from 1 to 1000, or N/1.001; df asks for drop-frame"
                          " (at 1000/1001 rates that are multiples of 30)");
    return r;
}

std::string rate_text(timecode_rate r) {
    char buf[timecode_rate_name_size];
    timecode_rate_name(r, buf, sizeof buf);
    return buf;
}

}  // namespace

void register_values(py::module_& m) {
    using namespace pybind11::literals;

    m.def(
        "_tc_rate", [](py::handle rate) { return rate_text(read_rate(rate)); }, "rate"_a,
        "The canonical name of a timecode rate ('29.97df'); LabelError for a name that is none.");

    m.def(
        "_tc_read",
        [](py::handle rate, std::string const& text) {
            timecode_rate const r = read_rate(rate);
            timecode_reading const rd = timecode_read_n(r, text.c_str(), text.size());
            if (!rd.ok()) {
                char why[timecode_reason_size];
                timecode_reason(r, rd.problem, why, sizeof why);
                raise_label_error("cannot read '" + text + "' as " + rate_text(r) + " timecode: " + why);
            }
            return rd.frame;
        },
        "rate"_a, "text"_a, "The frame count of a timecode text, read strictly; LabelError naming the field at fault.");

    m.def(
        "_tc_write",
        [](py::handle rate, std::int64_t frame) {
            timecode_rate const r = read_rate(rate);
            char buf[timecode_text_size];
            if (timecode_write(r, frame, buf, sizeof buf) == 0)
                raise_label_error("frame " + std::to_string(frame) + " has no " + rate_text(r) + " timecode");
            return std::string(buf);
        },
        "rate"_a, "frame"_a, "The interchange text of a frame count (wrapped into the day).");

    m.def(
        "_tc_fields",
        [](py::handle rate, std::int64_t frame) {
            timecode_rate const r = read_rate(rate);
            timecode_fields f;
            if (!timecode_frames_to_fields(r, frame, 0, &f))
                raise_label_error("frame " + std::to_string(frame) + " has no " + rate_text(r) + " timecode");
            return py::make_tuple(f.hours, f.minutes, f.seconds, f.frames);
        },
        "rate"_a, "frame"_a, "Hours, minutes, seconds and frames of a frame count (wrapped into the day).");

    m.def(
        "_tc_exact",
        [](py::handle rate) {
            timecode_ratio const q = timecode_rate_exact(read_rate(rate));
            return py::make_tuple(q.num, q.den);
        },
        "rate"_a, "The real rate as (numerator, denominator) frames a second.");

    m.def(
        "_tc_to",
        [](py::handle from_rate, std::int64_t frame, py::handle to_rate, py::handle transfer, py::handle phase) {
            timecode_rate const a = read_rate(from_rate);
            timecode_rate const b = read_rate(to_rate);
            cli::TranslationOptions opts;
            opts.transfer = option_text(transfer, "transfer");
            if (!phase.is_none()) opts.phase = cli::PhaseText(py::str(phase).cast<std::string>());
            // The command's conversion between two rate names: real time or
            // frame for frame directly, any other transfer through the
            // library's translation between the rates' label types. Counts
            // past the day and below zero are written as running, signed
            // texts so nothing wraps on the way.
            cli::RateOptions counts;
            counts.running = counts.signed_counts = true;
            std::int64_t target = 0;
            Failure f;
            {
                py::gil_scoped_release nogil;
                f.capture([&] {
                    char text[timecode_text_size];
                    if (!timecode_write(a, frame, text, sizeof text, counts.flags()))
                        throw cli::ConversionError("frame " + std::to_string(frame) + " has no " + rate_text(a) +
                                                   " timecode");
                    host::ProjectSettings want{};
                    want = opts.project.settings();
                    std::unique_ptr<cli::TextConversion> conv;
                    with_settings(
                        want,
                        [&] {
                            conv =
                                std::make_unique<cli::TextConversion>(rate_text(a), rate_text(b), opts, "", "", counts);
                        },
                        [&] {
                            cli::Conversion::Result r;
                            if (!conv->run(text, r)) throw cli::ConversionError(r.error);
                            target = r.target_sample;
                        });
                });
            }
            f.raise_if_failed();
            return target;
        },
        "from_rate"_a, "frame"_a, "to_rate"_a, "transfer"_a = py::none(), "phase"_a = py::none(),
        "The frame at to_rate of a frame at from_rate: the nearest in real time, or through a film transfer.");
}

}  // namespace lbpy
