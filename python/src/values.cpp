// The rate-first timecode primitives the Timecode value is built on (the
// value itself is in __init__.py): rate names, strict reading with the
// field at fault named, interchange text, conversion between rates in real
// time or through a film transfer.
#include <cstring>

#include <labelsbase/timecode_rate.h>

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

// A film transfer between timecode rates runs through the command's
// conversion: frames of the 24-frame side are film frames, the other side
// is the video medium of its rate.
struct TransferEnd {
    char const* endpoint;
    bool film;
};

TransferEnd transfer_end(timecode_rate r) {
    if (r.nominal == 24) return {"film_frames@film", true};
    if (r.nominal == 30) return {r.fractional ? "ntsc@source_30i_1001" : "ntsc@source_30i", false};
    if (r.nominal == 25) return {"pal@source_25i", false};
    return {nullptr, false};
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
            std::string const tr = option_text(transfer, "transfer");
            if (tr.empty() || tr == "none") {
                std::int64_t out = 0;
                if (!timecode_convert_real_time(a, b, frame, &out))
                    raise_label_error("frame " + std::to_string(frame) + " at " + rate_text(a) + " has no frame at " +
                                      rate_text(b));
                return out;
            }
            TransferEnd const fa = transfer_end(a), fb = transfer_end(b);
            if (!fa.endpoint || !fb.endpoint || fa.film == fb.film)
                raise_label_error(
                    "a film transfer runs between a 24-frame rate (23.976, 24) and a video rate"
                    " (25, 29.97, 30), not from " +
                    rate_text(a) + " to " + rate_text(b));
            if (frame < 0 || frame > 2000000000)
                raise_label_error("frame " + std::to_string(frame) +
                                  " lies outside what a transfer counts (0.."
                                  "2000000000)");
            cli::TranslationOptions opts;
            opts.transfer = tr;
            if (!phase.is_none()) opts.phase = cli::PhaseText(py::str(phase).cast<std::string>());
            // The film side's project: a 24 fps film project (the stand-in's
            // default) for 2:3, a 25 fps one for 24-to-25 work.
            host::ProjectSettings want = opts.project.settings();
            Failure f;
            int target = 0;
            {
                py::gil_scoped_release nogil;
                f.capture([&] {
                    want = opts.project.settings();
                    std::unique_ptr<cli::ConversionSetup> setup;
                    with_settings(
                        want, [&] { setup = cli::make_conversion(fa.endpoint, fb.endpoint, opts); },
                        [&] {
                            // The source frame as a text of the source label type.
                            cli::Endpoint& e = setup->from;
                            LabelPoint p(0, e.cvt);
                            int const s = static_cast<int>(frame) * e.cvt->samples_per_unit();
                            char const* text = e.cvt->get_abs_string(&p, s);
                            cli::Conversion::Result r;
                            if (!setup->conv->run(text, r)) throw cli::ConversionError(r.error);
                            target = r.target_sample / setup->to.cvt->samples_per_unit();
                        });
                });
            }
            f.raise_if_failed();
            return static_cast<std::int64_t>(target);
        },
        "from_rate"_a, "frame"_a, "to_rate"_a, "transfer"_a = py::none(), "phase"_a = py::none(),
        "The frame at to_rate of a frame at from_rate: the nearest in real time, or through a film transfer.");
}

}  // namespace lbpy
