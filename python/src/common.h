// The labelsbase Python module: what its units share.
//
// Units: module.cpp (the module, LabelError, the reference lists),
// arrays.cpp (format, parse, convert and xlate over scalars, lists and
// NumPy arrays), values.cpp (the Timecode, KeyKode and Feet values),
// settings_lock.cpp (the host project settings shared by every thread),
// buffers.cpp (the memory of result arrays of texts).
//
// Names, answers and messages are the `labels` command's: the module calls
// the command's engines and turns their UsageError and ConversionError into
// LabelError with the same sentence the command prints.
//
// The GIL: array work and the per-item loops of lists run with the GIL
// released. Python objects are read into C++ buffers before and results
// written back after; the converters' shared tables are built when the
// module is imported, so nothing is made lazily on a thread without it.
#ifndef LABELSBASE_PYTHON_COMMON_H
#define LABELSBASE_PYTHON_COMMON_H

#include <functional>
#include <string>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "cli/core.h"

namespace lbpy {

namespace py = pybind11;

// The Python exception class, labelsbase.LabelError (a ValueError).
extern PyObject* label_error;

// Raises LabelError with the message.
[[noreturn]] void raise_label_error(std::string const& message);

// errors="raise" or errors="coerce"; LabelError for anything else.
bool read_errors_mode(std::string const& errors);

// What a call does with the host's project settings (one set for the whole
// process). When the settings in force are the ones it wants, setup and
// work run under a shared lock, side by side with other such calls; a call
// that needs other settings takes the lock alone, sets them, and runs
// setup and work before letting anyone else in. Work with no project
// dependence (format, parse) just holds the shared lock so no one changes
// the settings under it. Call without the GIL.
void with_settings(host::ProjectSettings const& want, std::function<void()> const& setup,
                   std::function<void()> const& work);
void with_current_settings(std::function<void()> const& work);

// A C++ failure (UsageError, ConversionError) caught where the GIL is
// released and raised as LabelError once it is held again.
struct Failure {
    bool failed = false;
    std::string message;
    template <typename F>
    void capture(F&& f) {
        try {
            f();
        } catch (cli::UsageError const& e) {
            failed = true;
            message = e.what();
        } catch (cli::ConversionError const& e) {
            failed = true;
            message = e.what();
        }
    }
    void raise_if_failed() const {
        if (failed) raise_label_error(message);
    }
};

// A Python option value as the command line would spell it: str as it is,
// bool as yes/no, numbers as their Python text ("23.976"). None gives "".
std::string option_text(py::handle value, char const* name);

// A rows x width array of UCS-4 code units for a result column of texts,
// every item of which the caller writes; its memory is recycled once the
// array (or the str array viewing it) is collected (buffers.cpp).
py::array_t<std::uint32_t> text_storage(std::size_t rows, std::size_t width);

void register_arrays(py::module_& m);
void register_values(py::module_& m);

}  // namespace lbpy

#endif
