// The reference commands: `types`, `media` and `rates` list the label
// types, media and frame rates with the facts the library holds for each.
#include <cstring>

#include "cli/cli.h"
#include "cli/rates.h"
#include "labelsbase/vocabulary.h"

namespace cli {

namespace {

std::string pad(std::string s, std::size_t n) {
    if (s.size() < n) s.append(n - s.size(), ' ');
    return s;
}

std::string edl_read_names(LabelTypeInfo const& r) {
    std::string s;
    if (r.edl_primary) s = r.edl_primary;
    if (r.edl_alternative) s += std::string(s.empty() ? "" : ",") + r.edl_alternative;
    return s.empty() ? "-" : s;
}

void run_types(Output& out, bool all) {
    json list = json::array();
    out.line(pad("label_t", 8) + pad("class", 25) + pad("short", 21) + pad("EDL", 13) + pad("reads", 16) +
             pad("category", 12) + pad("sample", 12) + pad("modulus", 8) + "per unit");
    for (int i = 0; i < label_type_count; ++i) {
        label_t const t = static_cast<label_t>(i);
        LabelTypeInfo const& r = label_type_info(t);
        if (!r.has_converter && !all) continue;
        // A converter of the type itself: the fallback answers for types
        // whose converter is not there.
        label_cvt* c = r.has_converter && converter(t)->type() == t ? converter(t) : nullptr;
        json j;
        j["label_t"] = i;
        j["enumerator"] = r.enumerator;
        j["class"] = r.class_name;
        j["short"] = short_type_name(t);
        j["edl"] = r.edl_written;
        json reads = json::array();
        if (r.edl_primary) reads.push_back(r.edl_primary);
        if (r.edl_alternative) reads.push_back(r.edl_alternative);
        j["edl_read"] = reads;
        j["category"] = category_name(r.category);
        j["has_converter"] = r.has_converter;
        j["unit"] = r.unit;
        j["modulus"] = c ? c->get_modulus() : r.modulus;
        j["samples_per_unit"] = c ? c->samples_per_unit() : r.samples_per_unit;
        j["natural_pitch"] = Label::get_natural_pitch(t);
        j["template"] = c ? template_text(c) : "";
        j["prefix_length"] = c ? c->get_prefix_length() : 0;
        list.push_back(j);
        out.line(pad(std::to_string(i), 8) + pad(r.class_name, 25) + pad(short_type_name(t), 21) +
                 pad(r.edl_written, 13) + pad(edl_read_names(r), 16) +
                 pad(r.has_converter ? category_name(r.category) : "(base)", 12) +
                 pad(r.has_converter ? r.unit : "-", 12) + pad(std::to_string(c ? c->get_modulus() : r.modulus), 8) +
                 std::to_string(c ? c->samples_per_unit() : r.samples_per_unit));
    }
    if (!all)
        out.line("(" + std::to_string(list.size()) +
                 " types with a converter; --all adds the base classes 0-4, 9, 13, 17. The modulus is frames"
                 " per second (timecode), per KeyKode interval, ink count or foot; per unit is samples per frame.)");
    out.doc["types"] = list;
}

std::string user_string_of_medium(int m) {
    MediumRollIdent const id{static_cast<MediumRollMedium>(m), any_Generation};
    std::string s = MediumRollId_to_UserString(id);
    std::size_t const comma = s.find(',');
    return comma == std::string::npos ? s : s.substr(0, comma);
}

void run_media(Output& out) {
    json list = json::array();
    out.line(pad("medium", 8) + pad("name", 20) + pad("shown as", 10) + pad("side", 8) + pad("scan", 13) +
             pad("rate", 9) + "default label type");
    for (int m = 0; m <= output_240p_1001_Medium; ++m) {
        char const* name = medium_name(m);
        if (!name) continue;
        MediumRollMedium const med = static_cast<MediumRollMedium>(m);
        Kest::FrameRate const rate = getFrameRatefromMedium(med);
        bool const video = rate != Kest::FrameRate_none;
        lb::MediumRow const& row = *lb::medium_row(m);
        std::string const side = row.side == lb::MediumSide::output   ? "output"
                                 : row.side == lb::MediumSide::source ? "source"
                                                                      : "special";
        std::string const scan = row.scan == lb::MediumScan::progressive  ? "progressive"
                                 : row.scan == lb::MediumScan::interlaced ? "interlaced"
                                                                          : "-";
        label_t const lt = video ? getDefaultLabelTypeForMedium(med) : prefix_label_t;
        json j;
        j["medium"] = m;
        j["name"] = name;
        j["enumerator"] = std::string(name) + "_Medium";
        j["shown_as"] = user_string_of_medium(m);
        j["side"] = side;
        if (video) {
            j["scan"] = scan;
            j["rate"] = rate_name(rate);
            j["fps"] = Kest::getFramesPerSecond(rate);
            j["sample_duration"] = getSampleDurationFromMedium(med);
            j["default_label_type"] = label_type_info(lt).class_name;
        }
        list.push_back(j);
        out.line(pad(std::to_string(m), 8) + pad(name, 20) + pad(user_string_of_medium(m), 10) + pad(side, 8) +
                 pad(scan, 13) + pad(video ? rate_name(rate) : "-", 9) +
                 (video ? short_type_name(lt) : std::string("-")));
    }
    out.doc["media"] = list;
}

void run_rates(Output& out) {
    json list = json::array();
    out.line(pad("kest", 6) + pad("name", 12) + pad("fps", 20) + pad("cel", 10) + pad("timecode", 12) +
             pad("source", 18) + "output");
    for (int i = 1; i <= Kest::FrameRate_last; ++i) {
        Kest::FrameRate const r = static_cast<Kest::FrameRate>(i);
        bool const media = rate_has_medium(r);
        label_t const lt = getDefaultLabelTypeforFrameRate(r);
        json j;
        j["kest"] = i;
        j["name"] = rate_name(r);
        j["fps"] = Kest::getFramesPerSecond(r);
        j["has_1001"] = Kest::has1001Factor(r);
        j["frame_duration"] = Kest::getFrameDuration(r);
        j["cel_resolution"] = Kest::getCelResolution(r);
        j["default_timecode"] = label_type_info(lt).class_name;
        j["default_timecode_rate"] = getDefaultTimecodeFrameRate(r);
        std::string src = "-", dst = "-";
        if (media) {
            src = medium_label(getRepresentativeSourceMediumfromFrameRate(r));
            dst = medium_label(getOutputMediumfromFrameRate(r));
            j["source_medium"] = src;
            j["output_medium"] = dst;
        }
        list.push_back(j);
        out.line(pad(std::to_string(i), 6) + pad(rate_name(r), 12) +
                 pad(format_double(Kest::getFramesPerSecond(r)), 20) +
                 pad(format_double(Kest::getCelResolution(r)), 10) + pad(short_type_name(lt), 12) + pad(src, 18) + dst);
    }
    out.doc["rates"] = list;
    list_rate_names(out);
}

}  // namespace

void add_info_commands(CLI::App& app, std::vector<Command>& out) {
    auto* types = app.add_subcommand(
        "types", "List the label types: label_t, class, short and EDL names, category, unit, modulus");
    auto all = std::make_shared<bool>(false);
    types->add_flag("--all", *all, "Also list the base classes that have no converter of their own");
    types->footer(
        "A TYPE argument anywhere takes the class name (pal_label), the short name (pal),\n"
        "the EDL name in any case (P, 25F, ND, 30F-DROP, F35, I16) or the label_t number.");
    out.push_back({types, [all](Output& o) { run_types(o, *all); }});

    auto* media = app.add_subcommand("media", "List the media: number, name, side, scan, rate, default label type");
    media->footer("A MEDIUM argument takes the name (film, audio, source_30i_1001) or the number.");
    out.push_back({media, [](Output& o) { run_media(o); }});

    auto* rates = app.add_subcommand("rates", "List the frame rates (Kest::FrameRate) with their names and media");
    rates->footer(
        "A RATE argument takes the name in frames per second (24, 23.976, 29.97, 30000/1001),\n"
        "a Kest::FrameRate name (film_at_25) or kest:N for the number N. Plain numbers that are\n"
        "not rate names (1..11, 13, 14, 16..19, 21..23, 26..29, 31..47) are Kest numbers too.\n"
        "The timecode rates after the table are TYPE names wherever a timecode type is taken\n"
        "(format, parse, calc, convert, batch): 29.97df, 59.94df, 23.976, 25, any whole N,\n"
        "N/1.001, with df for drop-frame at 1000/1001 multiples of 30.");
    out.push_back({rates, [](Output& o) { run_rates(o); }});
}

}  // namespace cli
