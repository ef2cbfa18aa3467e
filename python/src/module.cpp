// The module labelsbase._core: LabelError, the reference lists, calc, keep
// and the version; the array functions and the values register themselves.
//
// types(), rates(), media(), calc() and keep() run the `labels` command's
// own subcommands in process with JSON output and hand back the document it
// builds, so their rows, fields and messages are the command's by
// construction: types() is `labels --json types`'s "types" list, keep() is
// `labels --json keep ...`'s document.
#include <cmath>
#include <vector>

#include <pybind11/stl.h>

#include "cli/cli.h"
#include "common.h"

namespace lbpy {

PyObject* label_error = nullptr;

void raise_label_error(std::string const& message) {
    PyErr_SetString(label_error, message.c_str());
    throw py::error_already_set();
}

bool read_errors_mode(std::string const& errors) {
    if (errors == "raise") return false;
    if (errors == "coerce") return true;
    raise_label_error("errors is \"raise\" or \"coerce\", not \"" + errors + "\"");
}

std::string option_text(py::handle value, char const* name) {
    if (value.is_none()) return "";
    if (py::isinstance<py::bool_>(value)) return value.cast<bool>() ? "yes" : "no";
    if (py::isinstance<py::str>(value)) return value.cast<std::string>();
    if (py::isinstance<py::int_>(value) || py::isinstance<py::float_>(value)) return py::str(value).cast<std::string>();
    throw py::type_error(std::string(name) + " is a str (or a number or bool where the command takes one), not " +
                         py::str(value.get_type().attr("__name__")).cast<std::string>());
}

namespace {

// JSON as Python values: objects as dicts (in the command's order), arrays
// as lists.
py::object to_python(cli::json const& j) {
    switch (j.type()) {
    case cli::json::value_t::null: return py::none();
    case cli::json::value_t::boolean: return py::bool_(j.get<bool>());
    case cli::json::value_t::number_integer: return py::int_(j.get<long long>());
    case cli::json::value_t::number_unsigned: return py::int_(j.get<unsigned long long>());
    case cli::json::value_t::number_float: return py::float_(j.get<double>());
    case cli::json::value_t::string: return py::str(j.get<std::string>());
    case cli::json::value_t::array: {
        py::list l;
        for (auto const& v : j) l.append(to_python(v));
        return std::move(l);
    }
    case cli::json::value_t::object: {
        py::dict d;
        for (auto const& kv : j.items()) d[py::str(kv.key())] = to_python(kv.value());
        return std::move(d);
    }
    default: return py::none();
    }
}

// Runs one subcommand of the command with --json and returns its document;
// LabelError with the command's message when it fails. Options go before
// "--" and the positional words after it, so a word that starts with '-'
// (a negative feet text, the '-' of calc) is never taken for an option.
py::object run_command_json(std::vector<std::string> const& options, std::vector<std::string> const& words) {
    std::vector<std::string> args{"labels"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back("--");
    args.insert(args.end(), words.begin(), words.end());
    cli::Output out;
    out.json_mode = true;
    Failure f;
    {
        py::gil_scoped_release nogil;
        with_current_settings([&] {
            CLI::App app{"labels"};
            app.require_subcommand(1, 1);
            std::vector<cli::Command> commands;
            cli::add_info_commands(app, commands);
            cli::add_label_commands(app, commands);
            cli::add_keep_command(app, commands);
            cli::add_edl_commands(app, commands);
            std::vector<char*> argv;
            for (std::string& a : args) argv.push_back(&a[0]);
            try {
                app.parse(static_cast<int>(argv.size()), argv.data());
            } catch (CLI::ParseError const& e) {
                f.failed = true;
                f.message = e.what();
                return;
            }
            f.capture([&] {
                for (cli::Command const& c : commands)
                    if (c.app->parsed()) c.run(out);
            });
        });
    }
    f.raise_if_failed();
    return to_python(out.doc);
}

}  // namespace

}  // namespace lbpy

namespace {

using namespace lbpy;

py::object list_of(char const* command, char const* key, bool all = false) {
    std::vector<std::string> opts{command};
    if (all) opts.push_back("--all");
    py::object doc = run_command_json(opts, {});
    return doc[py::str(key)];
}

py::object calc(py::object expr, std::string const& type, py::object medium, bool strict, py::object style,
                bool running, bool signed_counts) {
    std::vector<std::string> items;
    if (py::isinstance<py::str>(expr)) {
        // "01:00:00:00 + 100f": words split at blanks; a text with blanks in
        // it (KeyKode printed with its spaces) is given as a list instead.
        std::string const s = expr.cast<std::string>();
        std::size_t i = 0;
        while (i < s.size()) {
            while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
            std::size_t const b = i;
            while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
            if (i > b) items.push_back(s.substr(b, i - b));
        }
    } else {
        for (py::handle h : expr) items.push_back(py::str(h).cast<std::string>());
    }
    std::vector<std::string> opts{"calc", "--type", type};
    std::string const m = option_text(medium, "medium");
    if (!m.empty()) {
        opts.push_back("--medium");
        opts.push_back(m);
    }
    std::string const st = option_text(style, "style");
    if (!st.empty()) {
        opts.push_back("--style");
        opts.push_back(st);
    }
    if (strict) opts.push_back("--strict");
    if (running) opts.push_back("--running");
    if (signed_counts) opts.push_back("--signed");
    py::object doc = run_command_json(opts, items);
    std::string const text = doc["result"]["text"].cast<std::string>();
    return py::str(cli::trim_sign_column(text.c_str()));
}

py::object keep(py::args args, bool make, py::object length, py::object end, py::object medium, bool unbounded) {
    std::vector<std::string> words;
    for (py::handle h : args) {
        if (!py::isinstance<py::str>(h)) throw py::type_error("keep takes str arguments");
        words.push_back(h.cast<std::string>());
    }
    std::vector<std::string> opts{"keep"};
    if (make) opts.push_back("--make");
    auto add = [&](char const* flag, py::object const& v, char const* name) {
        std::string const s = option_text(v, name);
        if (!s.empty()) {
            opts.push_back(flag);
            opts.push_back(s);
        }
    };
    add("--length", length, "length");
    add("--end", end, "end");
    add("--medium", medium, "medium");
    if (unbounded) opts.push_back("--unbounded");
    return run_command_json(opts, words);
}

// The shared converters and tables are made here, once, with the GIL held,
// so that no thread makes one lazily while others read.
void build_shared_tables() {
    build_static_label_cvts();
    for (int i = 0; i < label_type_count; ++i) {
        if (!label_type_info(static_cast<label_t>(i)).has_converter) continue;
        label_cvt* c = cli::converter(static_cast<label_t>(i));
        // The templates' failure texts are cached on first use.
        for (int s : {invalid_sample, past_end_sample, before_start_sample}) {
            c->full_template.getInvalidString(s);
            c->count_template.getInvalidString(s);
        }
    }
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    using namespace pybind11::literals;
    // Each docstring starts with its signature as a Python user writes it.
    py::options options;
    options.disable_function_signatures();
    m.doc() =
        "The labelsbase library: film and video labels (SMPTE timecode, KeyKode, ink numbers, feet+frames)\n"
        "and their translation between media, with the names, answers and messages of `labels`.";

    label_error = PyErr_NewExceptionWithDoc(
        "labelsbase.LabelError",
        "A label, name or option the library cannot take; the message is the one `labels` prints\n"
        "for the same input. A subclass of ValueError. Array functions set .index to the item.",
        PyExc_ValueError, nullptr);
    m.attr("LabelError") = py::handle(label_error);

    build_shared_tables();

    m.attr("__version__") = labelsBaseDllVersionStr();

    m.def(
        "types", [](bool all) { return list_of("types", "types", all); }, py::kw_only(), "all"_a = false,
        R"doc(types(*, all=False) -> list[dict]

The label types, one dict per row of `labels --json types` (label_t, enumerator,
class, short, edl, edl_read, category, has_converter, unit, modulus,
samples_per_unit, natural_pitch, template, prefix_length). all=True adds the
base classes with no converter of their own, like `labels types --all`.)doc");
    m.def(
        "rates", [] { return list_of("rates", "rates"); },
        R"doc(rates() -> list[dict]

The frame rates, one dict per row of `labels --json rates`.)doc");
    m.def(
        "media", [] { return list_of("media", "media"); },
        R"doc(media() -> list[dict]

The media, one dict per row of `labels --json media`.)doc");

    m.def("calc", &calc, "expr"_a, "type"_a, py::kw_only(), "medium"_a = py::none(), "strict"_a = false,
          "style"_a = py::none(), "running"_a = false, "signed"_a = false,
          R"doc(calc(expr, type, *, medium=None, strict=False, style=None, running=False, signed=False) -> str

Add durations to a label text or subtract them from it, like
`labels calc EXPR... --type TYPE`.

expr: "TEXT (+|-) DURATION ..." as one str (words split at blanks) or as a
    list of words. A DURATION is a text of the type, frames (100f), seconds
    (2.5s, on the medium's clock) or, for film types, perforations (64p).
type: a label type, or a timecode rate name ("29.97df", "25", "59.94")
    whose texts are interchange timecode, read strictly.
medium: MEDIUM[,GENERATION] whose clock seconds count on.
strict, style, running, signed: as the command's --strict, --style
    display|interchange, --running and --signed.

>>> calc("01:00:00:00 + 100f", "pal")
'01:00:04.00'
>>> calc("00:00:59;29 + 1f", "29.97df")
'00:01:00;02')doc");

    m.def("keep", &keep, "make"_a = false, "length"_a = py::none(), "end"_a = py::none(), "medium"_a = py::none(),
          "unbounded"_a = false,
          R"doc(keep(*args, make=False, length=None, end=None, medium=None, unbounded=False) -> dict

Describe a stored label keep string, or write one, like `labels keep`. The
result is the command's JSON document as a dict.

keep("LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1") describes it;
keep("pal", "01:00:00:00", make=True, length="250f", medium="source_25i,1st")
writes one (the "keep" entry) and describes it.)doc");

    m.def(
        "_type_number",
        [](std::string const& name) {
            Failure f;
            label_t t = prefix_label_t;
            f.capture([&] { t = cli::parse_type(name); });
            f.raise_if_failed();
            return static_cast<int>(t);
        },
        "name"_a, "The label_t of a type name; LabelError for a name that is none.");
    m.def(
        "_parse_details",
        [](std::string const& type, std::string const& text) {
            Failure f;
            cli::Parsed p;
            f.capture([&] {
                with_current_settings([&] { p = cli::parse_text(cli::parse_type(type), text); });
                if (!p.error.empty()) throw cli::ConversionError(p.error);
            });
            f.raise_if_failed();
            py::dict d;
            d["sample"] = p.sample;
            if (!p.prefix.empty()) d["prefix"] = p.prefix;
            return d;
        },
        "type"_a, "text"_a, "A text's sample and prefix, as `labels parse` reads them.");

    m.def(
        "_edl",
        [](std::vector<std::string> const& options, std::vector<std::string> const& words) {
            std::vector<std::string> opts{"edl"};
            opts.insert(opts.end(), options.begin(), options.end());
            return run_command_json(opts, words);
        },
        "options"_a, "words"_a, "The document of `labels --json edl OPTIONS -- WORDS`.");

    register_arrays(m);
    register_values(m);
}
