// format, parse, convert and xlate over a scalar, a list or a NumPy array.
//
// A scalar gives a scalar, a list (or tuple) a list, an array (or anything
// with __array__, such as a pandas Series) an array of the same shape:
// integers for samples (int32, the library's sample), str (NumPy's
// fixed-width unicode) for texts, float64 for positions.
//
// Texts are read from a NumPy unicode or bytes array in place; an object
// array or a list is first packed into one C++ buffer while the GIL is
// held. The loop itself runs with the GIL released, writing straight into
// the result array.
//
// errors="raise" raises LabelError for the first item that fails, with the
// command's message for it and the item's position as .index.
// errors="coerce" gives None in lists and scalars and a masked entry in
// arrays: the result is then a numpy.ma.MaskedArray whose mask marks the
// items that failed (a missing text, None or NaN, is such an item too).
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include <labelsbase/timecode_rate.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "cli/rates.h"
#include "common.h"

namespace lbpy {

namespace {

using cli::ConversionError;
using cli::UsageError;
using namespace pybind11::literals;

// ---------------------------------------------------------------------------
// Shapes of input and output.

enum class Shape { scalar, list, array };

Shape shape_of(py::handle obj) {
    if (py::isinstance<py::array>(obj) || (!py::isinstance<py::str>(obj) && !py::isinstance<py::bytes>(obj) &&
                                           py::hasattr(obj, "__array__") && !py::isinstance<py::list>(obj)))
        return Shape::array;
    if (py::isinstance<py::list>(obj) || py::isinstance<py::tuple>(obj)) return Shape::list;
    return Shape::scalar;
}

py::array as_array(py::handle obj) {
    if (py::isinstance<py::array>(obj)) return py::reinterpret_borrow<py::array>(obj);
    return py::module_::import("numpy").attr("asarray")(obj);
}

// The first failure of a loop: the item and why.
struct FirstFailure {
    std::size_t index = std::numeric_limits<std::size_t>::max();
    std::string message;
    bool any() const { return index != std::numeric_limits<std::size_t>::max(); }
    void note(std::size_t i, std::string const& m) {
        if (i < index) {
            index = i;
            message = m;
        }
    }
};

[[noreturn]] void raise_at(FirstFailure const& f) {
    py::object err = py::reinterpret_borrow<py::object>(label_error)(f.message);
    err.attr("index") = f.index;
    PyErr_SetObject(label_error, err.ptr());
    throw py::error_already_set();
}

py::object masked(py::array data, std::vector<std::uint8_t> const& failed, py::handle shape) {
    py::array_t<bool> mask(static_cast<py::ssize_t>(failed.size()));
    bool* m = mask.mutable_data();
    for (std::size_t i = 0; i < failed.size(); ++i) m[i] = failed[i] != 0;
    return py::module_::import("numpy.ma").attr("masked_array")(data, py::arg("mask") = mask.attr("reshape")(shape));
}

// ---------------------------------------------------------------------------
// Texts in.

// Words read from memory have byte k at bits 8k..8k+7 (the packed reading
// of texts relies on it; other machines read a character at a time).
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool kLittleEndian = true;
#else
constexpr bool kLittleEndian = false;
#endif

// Texts to read, whatever they came as. get() gives item i as UTF-8 with a
// NUL in a scratch buffer (or in place), or null for a missing item.
class TextColumn {
public:
    std::size_t size() const { return n_; }
    py::object shape;  // of the array, for the result

    // A whole column from a Python scalar, list or array (GIL held).
    static TextColumn from(py::handle obj, Shape s) {
        TextColumn c;
        if (s == Shape::array) {
            py::array a = as_array(obj);
            c.shape = a.attr("shape");
            char const kind = a.dtype().kind();
            if (kind == 'U' || kind == 'S') {
                c.keep_ = py::module_::import("numpy").attr("ascontiguousarray")(a).attr("reshape")(-1);
                py::array flat = py::reinterpret_borrow<py::array>(c.keep_);
                c.kind_ = kind;
                c.base_ = static_cast<char const*>(flat.data());
                c.itemsize_ = static_cast<std::size_t>(flat.itemsize());
                c.n_ = static_cast<std::size_t>(flat.size());
                return c;
            }
            if (kind != 'O')
                throw py::type_error("texts must be str: a NumPy array of str, bytes or objects, not dtype " +
                                     py::str(a.dtype()).cast<std::string>());
            c.pack(a.attr("reshape")(-1));
            return c;
        }
        if (s == Shape::list) {
            c.pack(obj);
            return c;
        }
        py::list one;
        one.append(obj);
        c.pack(one);
        return c;
    }

    // Item i when it is 1 to cap - 1 ASCII characters, copied to out with a
    // NUL: its length; 0 for anything else (empty, longer, other
    // characters, a missing item). Reads NumPy str and bytes arrays in place.
    std::size_t ascii_text(std::size_t i, char* out, std::size_t cap) const {
        if (kind_ == 'U' || kind_ == 'S') {
            // Items of up to 16 characters are packed into two words without
            // a store or a branch per character; the text ends at the first
            // NUL.
            std::size_t const most = kind_ == 'U' ? itemsize_ / 4 : itemsize_;
            if (!kLittleEndian || most == 0 || most > 16 || cap < 17) return slow_ascii_text(i, out, cap);
            auto const* item = reinterpret_cast<unsigned char const*>(base_ + i * itemsize_);
            // lo holds characters 0-7, hi 8-15, one a byte.
            std::uint64_t lo = 0, hi = 0;
            std::uint64_t high = 0;
            if (kind_ == 'U') {
#if defined(__SSE2__)
                // Twelve characters or fewer in three vector loads, where
                // the array goes on that far.
                if (most <= 12 && i * itemsize_ + 48 <= n_ * itemsize_) {
                    __builtin_prefetch(item + 2048);
                    return pack_ucs4_sse2(item, most, out);
                }
#endif
                pack_ucs4(item, most, lo, hi, high);
                if (high & 0xFFFFFF80FFFFFF80ull) return slow_ascii_text(i, out, cap);
            } else {
                // Sixteen bytes at once where the array goes on that far;
                // the bytes past the item are then cleared.
                if (i * itemsize_ + 16 <= n_ * itemsize_) {
                    std::memcpy(&lo, item, 8);
                    std::memcpy(&hi, item + 8, 8);
                    if (most < 8) {
                        lo &= ~(~std::uint64_t{0} << (8 * most));
                        hi = 0;
                    } else if (most < 16) {
                        hi &= ~(~std::uint64_t{0} << (8 * (most - 8)));
                    }
                } else {
                    char tmp[16] = {0};
                    std::memcpy(tmp, item, most);
                    std::memcpy(&lo, tmp, 8);
                    std::memcpy(&hi, tmp + 8, 8);
                }
                if ((lo | hi) & 0x8080808080808080ull) return slow_ascii_text(i, out, cap);
            }
            std::size_t const len = std::min(most, first_nul(lo) < 8 ? first_nul(lo) : 8 + first_nul(hi));
            std::memcpy(out, &lo, 8);
            std::memcpy(out + 8, &hi, 8);
            out[len] = '\0';
            return len;
        }
        if (missing_[i]) return 0;
        char const* item = packed_.data() + offsets_[i];
        std::size_t const len = std::strlen(item);
        if (len + 1 > cap) return 0;
        std::memcpy(out, item, len + 1);
        return len;
    }

    char const* get(std::size_t i, char* scratch, std::size_t cap) const {
        if (kind_ == 'P') return missing_[i] ? nullptr : packed_.data() + offsets_[i];
        char const* item = base_ + i * itemsize_;
        std::size_t o = 0;
        if (kind_ == 'S') {
            while (o < itemsize_ && o + 1 < cap && item[o]) {
                scratch[o] = item[o];
                ++o;
            }
        } else {
            // UCS-4 to UTF-8; a text too long for the scratch is cut, and the
            // reader then refuses it as too long.
            for (std::size_t k = 0; k + 4 <= itemsize_; k += 4) {
                std::uint32_t cp;
                std::memcpy(&cp, item + k, 4);
                if (cp == 0) break;
                if (o + 5 >= cap) break;
                if (cp < 0x80) {
                    scratch[o++] = static_cast<char>(cp);
                } else if (cp < 0x800) {
                    scratch[o++] = static_cast<char>(0xC0 | (cp >> 6));
                    scratch[o++] = static_cast<char>(0x80 | (cp & 0x3F));
                } else if (cp < 0x10000) {
                    scratch[o++] = static_cast<char>(0xE0 | (cp >> 12));
                    scratch[o++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                    scratch[o++] = static_cast<char>(0x80 | (cp & 0x3F));
                } else {
                    scratch[o++] = static_cast<char>(0xF0 | (cp >> 18));
                    scratch[o++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
                    scratch[o++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                    scratch[o++] = static_cast<char>(0x80 | (cp & 0x3F));
                }
            }
        }
        scratch[o] = '\0';
        return scratch;
    }

private:
    // The low bytes of `most` (at most 16) UCS-4 characters into lo
    // (characters 0-7) and hi (8-15); every bit of them or'd into high.
    static void pack_ucs4(unsigned char const* item, std::size_t most, std::uint64_t& lo, std::uint64_t& hi,
                          std::uint64_t& high) {
        std::size_t k = 0;
        for (; k + 2 <= most; k += 2) {
            std::uint64_t w;
            std::memcpy(&w, item + 4 * k, 8);
            high |= w;
            std::uint64_t const two = (w & 0xFF) | ((w >> 24) & 0xFF00);
            if (k < 8)
                lo |= two << (8 * k);
            else
                hi |= two << (8 * (k - 8));
        }
        if (k < most) {
            std::uint32_t cp;
            std::memcpy(&cp, item + 4 * k, 4);
            high |= cp;
            std::uint64_t const one = cp & 0xFF;
            if (k < 8)
                lo |= one << (8 * k);
            else
                hi |= one << (8 * (k - 8));
        }
    }

#if defined(__SSE2__)
    // ascii_text of an item of at most 12 UCS-4 characters, reading 48
    // bytes from item: the characters past `most` are cleared.
    static std::size_t pack_ucs4_sse2(unsigned char const* item, std::size_t most, char* out) {
        alignas(16) static constexpr std::int32_t kKeep[8] = {-1, -1, -1, -1, 0, 0, 0, 0};
        __m128i const zero = _mm_setzero_si128();
        __m128i v0 = _mm_loadu_si128(reinterpret_cast<__m128i const*>(item));
        __m128i v1 = _mm_loadu_si128(reinterpret_cast<__m128i const*>(item + 16));
        __m128i v2 = _mm_loadu_si128(reinterpret_cast<__m128i const*>(item + 32));
        // Lanes at or past `most` in each vector: cleared.
        auto keep = [&](std::size_t first) {
            std::size_t const n = most > first ? std::min<std::size_t>(most - first, 4) : 0;
            return _mm_loadu_si128(reinterpret_cast<__m128i const*>(kKeep + 4 - n));
        };
        v0 = _mm_and_si128(v0, keep(0));
        v1 = _mm_and_si128(v1, keep(4));
        v2 = _mm_and_si128(v2, keep(8));
        __m128i const any = _mm_or_si128(_mm_or_si128(v0, v1), v2);
        __m128i const wide = _mm_and_si128(any, _mm_set1_epi32(~0x7F));
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(wide, zero)) != 0xFFFF) return 0;
        __m128i const bytes = _mm_packus_epi16(_mm_packs_epi32(v0, v1), _mm_packs_epi32(v2, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), bytes);
        unsigned const nul = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero))) | (1u << most);
        std::size_t const len = static_cast<std::size_t>(__builtin_ctz(nul));
        out[len] = '\0';
        return len;
    }
#endif

    // The byte number of the lowest zero byte of w; 8 when there is none.
    static std::size_t first_nul(std::uint64_t w) {
        std::uint64_t const z = (w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull;
        return z == 0 ? 8 : static_cast<std::size_t>(__builtin_ctzll(z)) / 8;
    }

    // ascii_text one character at a time.
    std::size_t slow_ascii_text(std::size_t i, char* out, std::size_t cap) const {
        std::size_t len = 0;
        std::size_t const unit = kind_ == 'U' ? 4 : 1;
        auto const* item = reinterpret_cast<unsigned char const*>(base_ + i * itemsize_);
        for (; len < itemsize_ / unit; ++len) {
            std::uint32_t cp = item[len];
            if (unit == 4) std::memcpy(&cp, item + 4 * len, 4);
            if (cp == 0) break;
            if (cp >= 0x80 || len + 1 >= cap) return 0;
            out[len] = static_cast<char>(cp);
        }
        out[len] = '\0';
        return len;
    }

    // Items of a sequence into one buffer: str as UTF-8, bytes as they are,
    // None and float NaN (pandas' missing values) as missing.
    void pack(py::handle seq) {
        kind_ = 'P';
        for (py::handle item : seq) {
            offsets_.push_back(packed_.size());
            char const* p = nullptr;
            Py_ssize_t len = 0;
            if (PyUnicode_Check(item.ptr())) {
                p = PyUnicode_AsUTF8AndSize(item.ptr(), &len);
                if (!p) throw py::error_already_set();
            } else if (PyBytes_Check(item.ptr())) {
                p = PyBytes_AS_STRING(item.ptr());
                len = PyBytes_GET_SIZE(item.ptr());
            } else if (item.is_none() || (PyFloat_Check(item.ptr()) && std::isnan(PyFloat_AS_DOUBLE(item.ptr())))) {
                missing_.push_back(1);
                packed_.push_back('\0');
                continue;
            } else {
                throw py::type_error("texts must be str, not " +
                                     py::str(item.get_type().attr("__name__")).cast<std::string>());
            }
            missing_.push_back(0);
            packed_.insert(packed_.end(), p, p + len);
            packed_.push_back('\0');
        }
        n_ = offsets_.size();
    }

    char kind_ = 'P';  // 'U', 'S' (array in place) or 'P' (packed)
    py::object keep_;
    char const* base_ = nullptr;
    std::size_t itemsize_ = 0;
    std::size_t n_ = 0;
    std::vector<char> packed_;
    std::vector<std::size_t> offsets_;
    std::vector<std::uint8_t> missing_;
};

constexpr std::size_t kScratch = 1024;

// ---------------------------------------------------------------------------
// Texts out: written straight into a NumPy unicode array of a fixed width,
// or kept in one buffer for lists and scalars.

class TextSink {
public:
    TextSink(std::size_t n, std::size_t width, bool array) : n_(n), width_(width), array_(array) {
        if (array_) {
            // Made as plain integers and seen as str at the end: NumPy zeroes
            // a new str array, but every item here is written anyway.
            store_ = text_storage(n_, width_);
            data_ = store_.mutable_data();
            stream_ = n_ * width_ * sizeof(std::uint32_t) >= kStreamBytes;
        } else {
            buf_.assign(n_ * (width_ + 1), '\0');
        }
    }
    // False when the text is wider than the sink (the caller widens it and
    // runs again).
    bool put(std::size_t i, char const* text) {
        std::size_t const len = std::strlen(text);
        if (len > width_) {
            if (len > wanted_) wanted_ = len;
            return false;
        }
        put_n(i, text, len);
        return true;
    }
    // A text of a known length, no wider than the sink.
    void put_n(std::size_t i, char const* text, std::size_t len) {
        if (!array_) {
            std::memcpy(&buf_[i * (width_ + 1)], text, len);
            return;
        }
        std::uint32_t* d = slot(i);
        for (std::size_t k = 0; k < len; ++k) d[k] = static_cast<unsigned char>(text[k]);
        for (std::size_t k = len; k < width_; ++k) d[k] = 0;
    }
    // put_n of a text with 16 readable bytes, inside a chunk.
    void put_quick(std::size_t i, char const* text, std::size_t len) {
#if defined(__SSE2__)
        if (array_ && staging_on_ && len <= 16) {
            std::uint32_t* d = slot(i);
            // Sixteen characters at once; past the item they land in the
            // next one's place (written after) or in the staging's slack.
            static constexpr unsigned char kUpTo[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
            __m128i const zero = _mm_setzero_si128();
            __m128i const t = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<__m128i const*>(text)),
                                            _mm_loadu_si128(reinterpret_cast<__m128i const*>(kUpTo + 16 - len)));
            __m128i const lo = _mm_unpacklo_epi8(t, zero), hi = _mm_unpackhi_epi8(t, zero);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_unpacklo_epi16(lo, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4), _mm_unpackhi_epi16(lo, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 8), _mm_unpacklo_epi16(hi, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 12), _mm_unpackhi_epi16(hi, zero));
            for (std::size_t k = 16; k < width_; ++k) d[k] = 0;
            return;
        }
#endif
        put_n(i, text, len);
    }
    std::size_t width() const { return width_; }
    // An item with no text (a failure): empty.
    void clear(std::size_t i) {
        if (array_) std::memset(slot(i), 0, width_ * 4);
    }
    // Items first .. first + count - 1 (count at most kChunkItems) are
    // gathered in a staging area until end_chunk writes them out together;
    // a large column is written with streaming stores, which do not first
    // read the memory they replace.
    static constexpr std::size_t kChunkItems = 1024;
    void begin_chunk(std::size_t first, std::size_t count) {
        if (!array_) return;
        if (staging_.empty()) staging_.resize(kChunkItems * width_ + 16);
        first_ = first;
        count_ = count;
        staging_on_ = true;
    }
    void end_chunk() {
        if (!staging_on_) return;
        staging_on_ = false;
        copy_out(data_ + first_ * width_, staging_.data(), count_ * width_);
    }
    std::size_t wanted() const { return wanted_; }
    // The column as a NumPy str array of n items.
    py::array array() const {
        return store_.attr("view")(py::dtype("<U" + std::to_string(width_))).attr("reshape")(-1);
    }
    py::object item(std::size_t i) const { return py::str(&buf_[i * (width_ + 1)]); }

private:
    static constexpr std::size_t kStreamBytes = std::size_t{8} << 20;  // well past the caches

    std::uint32_t* slot(std::size_t i) {
        return staging_on_ ? staging_.data() + (i - first_) * width_ : data_ + i * width_;
    }
    void copy_out(std::uint32_t* to, std::uint32_t const* from, std::size_t units) {
#if defined(__SSE2__)
        if (stream_) {
            std::size_t k = 0;
            while (k < units && (reinterpret_cast<std::uintptr_t>(to + k) & 15) != 0) {
                to[k] = from[k];
                ++k;
            }
            for (; k + 4 <= units; k += 4)
                _mm_stream_si128(reinterpret_cast<__m128i*>(to + k),
                                 _mm_loadu_si128(reinterpret_cast<__m128i const*>(from + k)));
            for (; k < units; ++k) to[k] = from[k];
            _mm_sfence();
            return;
        }
#endif
        std::memcpy(to, from, units * sizeof(std::uint32_t));
    }

    std::size_t n_, width_;
    bool array_;
    bool stream_ = false;
    py::array_t<std::uint32_t> store_;
    std::uint32_t* data_ = nullptr;
    std::vector<char> buf_;
    std::vector<std::uint32_t> staging_;
    std::size_t first_ = 0, count_ = 0;
    bool staging_on_ = false;
    std::size_t wanted_ = 0;
};

// The result for a text column: scalar, list or array, with failures
// raised or coerced.
py::object text_result(Shape s, TextSink const& sink, std::vector<std::uint8_t> const& failed,
                       FirstFailure const& first, bool coerce, py::handle shape) {
    if (first.any() && !coerce) raise_at(first);
    if (s == Shape::array) {
        py::array a = sink.array().attr("reshape")(shape);
        return first.any() ? masked(a, failed, shape) : py::object(a);
    }
    if (s == Shape::scalar) return failed[0] ? py::object(py::none()) : sink.item(0);
    py::list l(failed.size());
    for (std::size_t i = 0; i < failed.size(); ++i) l[i] = failed[i] ? py::object(py::none()) : sink.item(i);
    return std::move(l);
}

// Runs a text-producing loop, widening the sink and running again in the
// rare case a text is wider than the width guessed from the template.
template <typename Loop>
py::object run_text_loop(Shape s, std::size_t n, std::size_t width, bool coerce, py::handle shape, Loop loop,
                         std::function<void(std::function<void()> const&)> const& guard) {
    for (;;) {
        TextSink sink(n, width, s == Shape::array);
        std::vector<std::uint8_t> failed(n, 0);
        FirstFailure first;
        Failure f;
        {
            py::gil_scoped_release nogil;
            f.capture([&] { guard([&] { loop(sink, failed, first); }); });
        }
        f.raise_if_failed();
        if (sink.wanted() > width) {
            width = sink.wanted();
            continue;
        }
        return text_result(s, sink, failed, first, coerce, shape);
    }
}

// ---------------------------------------------------------------------------
// Samples in.

class SampleColumn {
public:
    py::object shape;

    std::size_t size() const { return n_; }
    std::int64_t value(std::size_t i) const { return data_[i]; }
    std::int64_t const* data() const { return data_; }
    bool missing(std::size_t i) const { return !missing_.empty() && missing_[i]; }

    static SampleColumn from(py::handle obj, Shape s) {
        SampleColumn c;
        py::module_ np = py::module_::import("numpy");
        py::array a;
        if (s == Shape::scalar) {
            if (!py::isinstance<py::int_>(obj) && !py::isinstance<py::float_>(obj) && !py::hasattr(obj, "__index__"))
                throw py::type_error("a sample is a whole number, not " +
                                     py::str(obj.get_type().attr("__name__")).cast<std::string>());
            a = np.attr("asarray")(py::make_tuple(obj), "dtype"_a = "object");
        } else if (s == Shape::list) {
            a = np.attr("asarray")(obj, "dtype"_a = "object");
        } else {
            a = as_array(obj);
        }
        c.shape = a.attr("shape");
        py::object mask = py::none();
        if (py::isinstance(a, np.attr("ma").attr("MaskedArray"))) {
            mask = np.attr("ma").attr("getmaskarray")(a).attr("reshape")(-1);
            a = a.attr("filled")(0);
        }
        char const kind = a.dtype().kind();
        py::array flat = a.attr("reshape")(-1);
        c.n_ = static_cast<std::size_t>(flat.size());
        if (kind == 'i' || kind == 'u' || kind == 'b') {
            // In place when the array already holds contiguous int64.
            py::array_t<std::int64_t> v = np.attr("ascontiguousarray")(flat, "dtype"_a = "int64");
            c.keep_ = v;
            c.data_ = v.data();
        } else if (kind == 'f' || kind == 'O') {
            c.own_.assign(c.n_, 0);
            c.missing_.assign(c.n_, 0);
            if (kind == 'f') {
                py::array_t<double> v = np.attr("ascontiguousarray")(flat, "dtype"_a = "float64");
                double const* d = v.data();
                for (std::size_t i = 0; i < c.n_; ++i) c.take_double(i, d[i]);
            } else {
                for (std::size_t i = 0; i < c.n_; ++i) c.take_object(i, flat[py::int_(i)]);
            }
            c.data_ = c.own_.data();
        } else {
            throw py::type_error("samples must be whole numbers, not dtype " + py::str(a.dtype()).cast<std::string>());
        }
        if (!mask.is_none()) {
            py::array_t<bool> m = np.attr("ascontiguousarray")(mask, "dtype"_a = "bool");
            if (c.missing_.empty()) c.missing_.assign(c.n_, 0);
            for (std::size_t i = 0; i < c.n_; ++i)
                if (m.data()[i]) c.missing_[i] = 1;
        }
        return c;
    }

private:
    // A float counts when it is whole; NaN (pandas' missing value) and
    // fractions are missing samples.
    void take_double(std::size_t i, double d) {
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.2e18)
            own_[i] = static_cast<std::int64_t>(d);
        else
            missing_[i] = 1;
    }
    void take_object(std::size_t i, py::handle item) {
        if (item.is_none()) {
            missing_[i] = 1;
        } else if (PyFloat_Check(item.ptr())) {
            take_double(i, PyFloat_AS_DOUBLE(item.ptr()));
        } else if (PyBool_Check(item.ptr()) || !PyIndex_Check(item.ptr())) {
            throw py::type_error("a sample is a whole number, not " +
                                 py::str(item.get_type().attr("__name__")).cast<std::string>());
        } else {
            py::object const index = py::reinterpret_steal<py::object>(PyNumber_Index(item.ptr()));
            if (!index) throw py::error_already_set();
            int overflow = 0;
            long long const v = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
            own_[i] = overflow > 0   ? std::numeric_limits<std::int64_t>::max()
                      : overflow < 0 ? std::numeric_limits<std::int64_t>::min()
                                     : v;
        }
    }

    py::object keep_;
    std::int64_t const* data_ = nullptr;
    std::vector<std::int64_t> own_;
    std::vector<std::uint8_t> missing_;
    std::size_t n_ = 0;
};

// ---------------------------------------------------------------------------
// The options of the translating commands.

struct TranslationArgs {
    cli::TranslationOptions tr;

    // from(), with a failure raised as the command's message, and the
    // project settings the options ask for.
    static TranslationArgs read(py::handle transfer, py::handle phase, py::handle video_medium, py::handle project_rate,
                                py::handle drop_frame, py::handle output_rate, py::handle output_scan,
                                py::handle output_pulldown, py::handle camera_speed, py::handle audio_sync_pulled_down,
                                host::ProjectSettings& want) {
        TranslationArgs args;
        Failure f;
        f.capture([&] {
            args = from(transfer, phase, video_medium, project_rate, drop_frame, output_rate, output_scan,
                        output_pulldown, camera_speed, audio_sync_pulled_down);
            want = args.tr.project.settings();
        });
        f.raise_if_failed();
        return args;
    }

    static TranslationArgs from(py::handle transfer, py::handle phase, py::handle video_medium, py::handle project_rate,
                                py::handle drop_frame, py::handle output_rate, py::handle output_scan,
                                py::handle output_pulldown, py::handle camera_speed,
                                py::handle audio_sync_pulled_down) {
        TranslationArgs a;
        std::string const t = option_text(transfer, "transfer");
        if (!t.empty()) a.tr.transfer = t;
        // A number, or the 2:3 letters (A, B, BC, CD, D); the engine judges it.
        if (!phase.is_none()) {
            if (py::isinstance<py::bool_>(phase) ||
                !(py::isinstance<py::int_>(phase) || py::isinstance<py::str>(phase)))
                throw py::type_error("phase is a whole number (0..4 for 2:3, 0..24 for 24-to-25) or 2:3 letters");
            a.tr.phase = cli::PhaseText(py::str(phase).cast<std::string>());
        }
        a.tr.video_medium = option_text(video_medium, "video_medium");
        a.tr.project.project_rate = option_text(project_rate, "project_rate");
        a.tr.project.drop_frame = option_text(drop_frame, "drop_frame");
        a.tr.project.output_rate = option_text(output_rate, "output_rate");
        a.tr.project.output_scan = option_text(output_scan, "output_scan");
        a.tr.project.output_pulldown = option_text(output_pulldown, "output_pulldown");
        a.tr.project.camera_speed = option_text(camera_speed, "camera_speed");
        a.tr.project.audio_sync = option_text(audio_sync_pulled_down, "audio_sync_pulled_down");
        return a;
    }
};

// ---------------------------------------------------------------------------
// Timecode label types straight through the rate's writer and strict reader.
//
// The label converters and the command's reader are general; for the
// timecode types whose samples are frames of a rate, the rate's own writer
// and strict reader give the same texts many times faster. A type is taken
// only when its converter writes exactly the rate's text (its own frame
// separator aside) on a set of probe samples, under the settings in force;
// a sample is taken only within the day, and a text only when it is the
// type's own text of the frame read (written back byte for byte). Anything
// else goes to the general path, which has the last word and the messages.

std::atomic<bool> g_fast_timecode{true};

// Items go through the quick route in chunks: a chunk's texts are written
// (read) in one call, then widened into (narrowed from) the column.
constexpr std::size_t kQuickChunk = 1024;
static_assert(kQuickChunk <= TextSink::kChunkItems, "a chunk fits the sink's staging");
constexpr std::size_t kQuickStride = timecode_text_size;  // any text and its NUL

class FastTimecode {
public:
    // Must run under the settings the loop runs under. The probes cost
    // about as much as a few dozen items, so short columns go without.
    FastTimecode(label_t t, label_cvt* c, std::size_t items) {
        if (items < 64 || !g_fast_timecode.load(std::memory_order_relaxed)) return;
        r_ = cli::rate_of_type(t);
        if (!timecode_rate_ok(r_) || r_.nominal > 99) return;
        day_ = timecode_frames_per_day(r_);
        if (day_ <= 0 || day_ > std::numeric_limits<int>::max()) return;
        LabelPoint p(0, c);
        std::int64_t const probes[] = {0,
                                       1,
                                       2,
                                       9,
                                       10,
                                       r_.nominal - 1,
                                       r_.nominal,
                                       59LL * r_.nominal,
                                       60LL * r_.nominal - 1,
                                       60LL * r_.nominal,
                                       60LL * r_.nominal + 1,
                                       60LL * r_.nominal + 2,
                                       1798,
                                       1799,
                                       1800,
                                       1801,
                                       17982,
                                       17983,
                                       107891,
                                       107892,
                                       107999,
                                       108000,
                                       1234567,
                                       day_ / 2 + 1,
                                       day_ - 2,
                                       day_ - 1};
        sep_ = 0;
        for (std::int64_t s : probes) {
            if (s < 0 || s >= day_) continue;
            p.sample = static_cast<int>(s);
            char const* label = cli::trim_sign_column(c->get_abs_string(&p, static_cast<int>(s)));
            char own[timecode_text_size];
            std::size_t const n = timecode_write(r_, s, own, sizeof own);
            if (n != 11 || std::strlen(label) != n) return;
            if (!sep_) sep_ = label[8];
            own[8] = sep_;
            if (std::memcmp(own, label, n) != 0) return;
            std::string err;
            if (cli::read_sample(t, label, err) != s) return;
        }
        on_ = sep_ != 0;
    }
    // The quick route of a rate name: interchange text with the options.
    FastTimecode(timecode_rate r, unsigned flags)
        : on_(g_fast_timecode.load(std::memory_order_relaxed)), r_(r), flags_(flags) {}
    bool on() const { return on_; }

    // Texts of m counts into buf (item j at j x kQuickStride) and their
    // lengths; a length of 0 leaves the item to the general route (a label
    // type's samples outside the day).
    void write(std::int64_t const* frames, std::size_t m, char* buf, unsigned char* lens) const {
        if (!on_) {
            std::memset(lens, 0, m);
            return;
        }
        timecode_write_column(r_, frames, m, buf, kQuickStride, lens, flags_, sep_);
        if (!sep_) return;
        for (std::size_t j = 0; j < m; ++j)
            if (frames[j] < 0 || frames[j] >= day_) lens[j] = 0;
    }
    // The counts of m texts in buf with their lengths: ok[j] where the
    // quick route read item j. A label type reads only its own texts of a
    // frame in the day: strict reading takes two-digit fields in range and
    // the type's own frame separator, so a text it takes is the one the
    // writer gives for the frame read.
    void read(char const* buf, unsigned char const* lens, std::size_t m, std::int64_t* frames,
              unsigned char* ok) const {
        if (!on_) {
            std::memset(ok, 0, m);
            return;
        }
        timecode_read_column(r_, buf, kQuickStride, lens, m, frames, ok, flags_, sep_);
    }

private:
    bool on_ = false;
    timecode_rate r_{};
    unsigned flags_ = 0;
    std::int64_t day_ = 0;
    char sep_ = 0;  // a label type's own frame separator; 0 for interchange text
};

// The width of a label type's texts of samples from zero up: its template
// without the sign column. A wider text (a negative sample's) widens the
// column.
std::size_t text_width(label_cvt* c) {
    std::string const t = cli::template_text(c);
    return !t.empty() && t[0] == '-' ? t.size() - 1 : std::max<std::size_t>(t.size(), 1);
}

cli::RateOptions rate_options(bool strict, py::handle style, bool running, bool signed_counts) {
    cli::RateOptions o;
    o.strict = strict;
    o.style = option_text(style, "style");
    o.running = running;
    o.signed_counts = signed_counts;
    return o;
}

std::string missing_item(std::size_t i, char const* what) { return "item " + std::to_string(i) + " is " + what; }

// ---------------------------------------------------------------------------
// format

// One chunk of the quick route: on the heap, as it is larger than a
// thread's stack may be.
struct QuickChunk {
    std::unique_ptr<char[]> texts{new char[kQuickChunk * kQuickStride]};
    std::unique_ptr<unsigned char[]> lengths{new unsigned char[kQuickChunk]};
    std::unique_ptr<unsigned char[]> ok{new unsigned char[kQuickChunk]};
    std::unique_ptr<std::int64_t[]> frames{new std::int64_t[kQuickChunk]};
};

// The quick route over a sample column, chunk by chunk; every item it
// leaves goes to slow(i), which has the last word and the messages.
template <class Slow>
void quick_format(FastTimecode const& quick, SampleColumn const& col, TextSink& sink, Slow&& slow) {
    QuickChunk chunk;
    char* const buf = chunk.texts.get();
    unsigned char* const lens = chunk.lengths.get();
    std::size_t const n = col.size();
    for (std::size_t base = 0; base < n; base += kQuickChunk) {
        std::size_t const m = std::min(kQuickChunk, n - base);
        quick.write(col.data() + base, m, buf, lens);
        sink.begin_chunk(base, m);
        for (std::size_t j = 0; j < m; ++j) {
            std::size_t const i = base + j;
            if (lens[j] != 0 && lens[j] <= sink.width() && !col.missing(i))
                sink.put_quick(i, buf + j * kQuickStride, lens[j]);
            else
                slow(i);
        }
        sink.end_chunk();
    }
}

// The quick route over a text column into o, chunk by chunk; every item it
// leaves goes to slow(i), which returns false to stop the loop.
template <class Slow>
void quick_parse(FastTimecode const& quick, TextColumn const& col, std::int32_t* o, Slow&& slow) {
    QuickChunk chunk;
    char* const buf = chunk.texts.get();
    unsigned char* const lens = chunk.lengths.get();
    unsigned char* const ok = chunk.ok.get();
    std::int64_t* const frames = chunk.frames.get();
    std::size_t const n = col.size();
    for (std::size_t base = 0; base < n; base += kQuickChunk) {
        std::size_t const m = std::min(kQuickChunk, n - base);
        for (std::size_t j = 0; j < m; ++j)
            lens[j] = quick.on()
                          ? static_cast<unsigned char>(col.ascii_text(base + j, buf + j * kQuickStride, kQuickStride))
                          : 0;
        quick.read(buf, lens, m, frames, ok);
        for (std::size_t j = 0; j < m; ++j) {
            std::int64_t const f = frames[j];
            if (ok[j] && f >= std::numeric_limits<std::int32_t>::min() && f <= std::numeric_limits<std::int32_t>::max())
                o[base + j] = static_cast<std::int32_t>(f);
            else if (!slow(base + j))
                return;
        }
    }
}

// Frame counts as timecode by rate: interchange text straight from the
// rate's writer, or a label type's display text through its quick route;
// the command's own writer for anything else, with its message.
py::object format_by_rate(cli::RatePlan const& plan, SampleColumn const& col, Shape s, bool coerce) {
    label_cvt* const shown = plan.shown != prefix_label_t ? cli::converter(plan.shown) : nullptr;
    char probe[timecode_text_size];
    std::size_t const width =
        shown ? text_width(shown) : std::max<std::size_t>(timecode_write(plan.rate, 0, probe, sizeof probe), 1);
    std::size_t const n = col.size();
    auto loop = [&](TextSink& sink, std::vector<std::uint8_t>& failed, FirstFailure& first) {
        FastTimecode const quick = shown ? FastTimecode(plan.shown, shown, n) : FastTimecode(plan.rate, plan.flags);
        quick_format(quick, col, sink, [&](std::size_t i) {
            if (col.missing(i)) {
                failed[i] = 1;
                sink.clear(i);
                first.note(i, missing_item(i, "not a frame count (a whole number)"));
                return;
            }
            try {
                sink.put(i, plan.write(col.value(i)).c_str());
            } catch (ConversionError const& e) {
                failed[i] = 1;
                sink.clear(i);
                if (!first.any()) first.note(i, e.what());
            }
        });
    };
    return run_text_loop(s, n, width, coerce, col.shape, loop, with_current_settings);
}

py::object format(std::string const& type, py::handle samples, py::handle prefix_obj, std::string const& errors,
                  py::handle style, bool running, bool signed_counts) {
    bool const coerce = read_errors_mode(errors);
    std::string const prefix = option_text(prefix_obj, "prefix");
    cli::RateOptions const opts = rate_options(false, style, running, signed_counts);
    cli::RatePlan plan;
    label_cvt* c = nullptr;
    {
        Failure f;
        f.capture([&] {
            plan = cli::plan_rate_format(type, prefix, opts);
            if (plan.by_rate) return;
            if (!prefix.empty()) cli::check_prefix(plan.type, prefix);
            c = cli::converter(plan.type);
        });
        f.raise_if_failed();
    }
    Shape const s = shape_of(samples);
    SampleColumn const col = SampleColumn::from(samples, s);
    if (plan.by_rate) return format_by_rate(plan, col, s, coerce);
    label_t const t = plan.type;
    std::string const unit = label_type_info(t).unit;
    std::size_t const n = col.size();
    auto loop = [&](TextSink& sink, std::vector<std::uint8_t>& failed, FirstFailure& first) {
        // A converter of this call's own: threads converting through one
        // shared converter would take turns at the cache lines its results
        // are published in.
        std::unique_ptr<label_cvt> const own(make_any_label_cvt(t));
        label_cvt* const c = own.get();
        LabelPoint p(0, c);
        cli::set_point_prefix(c, &p, prefix.empty() ? c->get_dummy_prefix() : prefix.c_str());
        std::size_t const plain = cli::template_text(c).size();
        FastTimecode const quick(t, c, n);
        quick_format(quick, col, sink, [&](std::size_t i) {
            std::int64_t const v = col.value(i);
            bool const missing = col.missing(i);
            if (missing || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
                failed[i] = 1;
                sink.clear(i);
                if (!first.any()) {
                    std::string const what = "a sample number (a whole number of " + unit + "s)";
                    first.note(i, missing ? missing_item(i, ("not " + what).c_str())
                                          : "'" + std::to_string(v) + "' is not " + what);
                }
                return;
            }
            int const sample = static_cast<int>(v);
            p.sample = sample;
            char const* text = c->get_abs_string(&p, sample);
            // The engine has the last word on samples that may have no text:
            // negative ones, and texts that may be failure texts (they hold
            // '?' or read NEGATIVE) or are longer than the template.
            std::size_t const len = std::strlen(text);
            bool const suspect = std::memchr(text, '?', len) != nullptr || text[0] == kNegativeCountText[0];
            if (sample < 0 || len > plain || (suspect && is_failure_text(c, text))) {
                cli::Formatted const fm = cli::format_sample(t, sample, prefix);
                if (!fm.error.empty()) {
                    failed[i] = 1;
                    sink.clear(i);
                    if (!first.any()) first.note(i, cli::format_failure(t, fm));
                    return;
                }
            }
            sink.put(i, cli::trim_sign_column(text));
        });
    };
    return run_text_loop(s, n, text_width(c), coerce, col.shape, loop, with_current_settings);
}

// ---------------------------------------------------------------------------
// parse

py::object parse(std::string const& type, py::handle texts, std::string const& errors, bool strict, bool running,
                 bool signed_counts) {
    bool const coerce = read_errors_mode(errors);
    cli::RatePlan plan;
    {
        Failure f;
        f.capture([&] { plan = cli::plan_rate_parse(type, rate_options(strict, py::none(), running, signed_counts)); });
        f.raise_if_failed();
    }
    Shape const s = shape_of(texts);
    TextColumn const col = TextColumn::from(texts, s);
    label_t const t = plan.type;
    std::size_t const n = col.size();
    py::array_t<std::int32_t> out(static_cast<py::ssize_t>(n));
    std::int32_t* o = out.mutable_data();
    std::vector<std::uint8_t> failed(n, 0);
    FirstFailure first;
    auto fail = [&](std::size_t i, std::string const& why) {
        failed[i] = 1;
        o[i] = 0;
        first.note(i, why);
    };
    {
        py::gil_scoped_release nogil;
        with_current_settings([&] {
            char scratch[kScratch];
            std::string err;
            // A converter of this call's own, as for format.
            std::unique_ptr<label_cvt> const own(plan.by_rate ? nullptr : make_any_label_cvt(t));
            FastTimecode const quick =
                plan.by_rate ? FastTimecode(plan.rate, plan.flags) : FastTimecode(t, own.get(), n);
            quick_parse(quick, col, o, [&](std::size_t i) {
                if (!coerce && first.any()) return false;  // it raises; the rest is not read
                char const* text = col.get(i, scratch, sizeof scratch);
                if (!text) {
                    fail(i, missing_item(i, "missing (None or NaN), not a text"));
                    return true;
                }
                if (plan.by_rate) {
                    try {
                        std::int64_t const f = plan.read(text);
                        if (f < std::numeric_limits<std::int32_t>::min() ||
                            f > std::numeric_limits<std::int32_t>::max())
                            throw ConversionError("'" + std::string(text) + "' is past the frame counts this reads");
                        o[i] = static_cast<std::int32_t>(f);
                    } catch (ConversionError const& e) {
                        fail(i, e.what());
                    }
                    return true;
                }
                int const v = cli::read_sample(t, text, err, own.get());
                if (v == invalid_sample)
                    fail(i, err);
                else
                    o[i] = v;
                return true;
            });
        });
    }
    if (first.any() && !coerce) raise_at(first);
    if (s == Shape::array) {
        py::array a = out.attr("reshape")(col.shape);
        return first.any() ? masked(a, failed, col.shape) : py::object(a);
    }
    if (s == Shape::scalar) return failed[0] ? py::object(py::none()) : py::object(py::int_(o[0]));
    py::list l(n);
    for (std::size_t i = 0; i < n; ++i) l[i] = failed[i] ? py::object(py::none()) : py::object(py::int_(o[i]));
    return std::move(l);
}

// ---------------------------------------------------------------------------
// convert

py::object convert(py::handle texts, std::string const& from, std::string const& to, py::handle transfer,
                   py::handle phase, py::handle sync, py::handle prefix, py::handle video_medium,
                   py::handle project_rate, py::handle drop_frame, py::handle output_rate, py::handle output_scan,
                   py::handle output_pulldown, py::handle camera_speed, py::handle audio_sync_pulled_down,
                   std::string const& errors, bool strict, py::handle style, bool running, bool signed_counts) {
    bool const coerce = read_errors_mode(errors);
    Shape const s = shape_of(texts);
    TextColumn const col = TextColumn::from(texts, s);
    cli::RateOptions rate_opts;
    rate_opts.strict = strict;
    rate_opts.style = option_text(style, "style");
    rate_opts.running = running;
    rate_opts.signed_counts = signed_counts;
    std::string const sync_text = option_text(sync, "sync");
    std::string const prefix_text = option_text(prefix, "prefix");
    host::ProjectSettings want{};
    TranslationArgs const args =
        TranslationArgs::read(transfer, phase, video_medium, project_rate, drop_frame, output_rate, output_scan,
                              output_pulldown, camera_speed, audio_sync_pulled_down, want);
    // The width of the target's texts, from its template.
    std::size_t width = 0;
    {
        Failure f;
        f.capture([&] {
            if (timecode_rate_ok(cli::rate_type(to))) {
                width = 11;  // interchange text; a wider text widens the column
                return;
            }
            label_t tt;
            MediumRollIdent r;
            cli::parse_endpoint(to, tt, r);
            width = cli::template_text(cli::converter(tt)).size();
        });
        f.raise_if_failed();
    }
    std::size_t const n = col.size();
    // The command's text conversion: rate names at either end, the
    // library's translation otherwise.
    std::unique_ptr<cli::TextConversion> setup;
    auto loop = [&](TextSink& sink, std::vector<std::uint8_t>& failed, FirstFailure& first) {
        cli::TextConversion& conv = *setup;
        cli::Conversion::Result r;
        char scratch[kScratch];
        for (std::size_t i = 0; i < n; ++i) {
            char const* text = col.get(i, scratch, sizeof scratch);
            if (!text) {
                failed[i] = 1;
                sink.clear(i);
                first.note(i, "item " + std::to_string(i) + " is missing (None or NaN), not a text");
                continue;
            }
            if (!conv.run(text, r)) {
                failed[i] = 1;
                sink.clear(i);
                if (!first.any()) first.note(i, r.error);
                continue;
            }
            sink.put(i, cli::trim_sign_column(r.text));
        }
    };
    auto guard = [&](std::function<void()> const& work) {
        with_settings(
            want,
            [&] {
                setup = std::make_unique<cli::TextConversion>(from, to, args.tr, prefix_text, sync_text, rate_opts);
            },
            work);
    };
    return run_text_loop(s, n, width, coerce, col.shape, loop, guard);
}

// ---------------------------------------------------------------------------
// xlate

py::object xlate(py::handle positions, std::string const& from, std::string const& to, py::handle transfer,
                 py::handle phase, py::handle video_medium, py::handle project_rate, py::handle drop_frame,
                 py::handle output_rate, py::handle output_scan, py::handle output_pulldown, py::handle camera_speed,
                 py::handle audio_sync_pulled_down, std::string const& errors) {
    bool const coerce = read_errors_mode(errors);
    Shape const s = shape_of(positions);
    py::module_ np = py::module_::import("numpy");
    py::array in;
    py::object shape;
    std::vector<std::uint8_t> missing;
    {
        py::object src =
            s == Shape::scalar ? py::object(py::make_tuple(positions)) : py::reinterpret_borrow<py::object>(positions);
        py::object arr = np.attr("asarray")(src);
        if (py::isinstance(arr, np.attr("ma").attr("MaskedArray"))) {
            py::array_t<bool> m =
                np.attr("ascontiguousarray")(np.attr("ma").attr("getmaskarray")(arr).attr("reshape")(-1));
            missing.assign(m.data(), m.data() + m.size());
            arr = arr.attr("filled")(0.0);
        }
        char const kind = py::array(arr).dtype().kind();
        if (kind != 'f' && kind != 'i' && kind != 'u')
            throw py::type_error("positions are numbers (seconds, or cel units on cel), not dtype " +
                                 py::str(py::array(arr).dtype()).cast<std::string>());
        shape = arr.attr("shape");
        in = np.attr("ascontiguousarray")(arr.attr("reshape")(-1), "dtype"_a = "float64");
    }
    std::size_t const n = static_cast<std::size_t>(in.size());
    if (missing.size() != n) missing.assign(n, 0);
    double const* x = static_cast<double const*>(in.data());
    host::ProjectSettings want{};
    TranslationArgs const args =
        TranslationArgs::read(transfer, phase, video_medium, project_rate, drop_frame, output_rate, output_scan,
                              output_pulldown, camera_speed, audio_sync_pulled_down, want);
    py::array_t<double> out(static_cast<py::ssize_t>(n));
    double* o = out.mutable_data();
    std::vector<std::uint8_t> failed(n, 0);
    FirstFailure first;
    MPosn_Xlate_Params params;
    MediumRollMedium fm = unknown_Medium, tm = unknown_Medium;
    Failure f;
    {
        py::gil_scoped_release nogil;
        f.capture([&] {
            with_settings(
                want,
                [&] {
                    fm = cli::parse_medium(from);
                    tm = cli::parse_medium(to);
                    params = args.tr.apply();
                    cli::check_translatable(fm, params, "from");
                    cli::check_translatable(tm, params, "to");
                },
                [&] {
                    for (std::size_t i = 0; i < n; ++i) {
                        double const v = x[i];
                        double r = 1e99;
                        if (!missing[i] && std::isfinite(v) && std::fabs(v) <= cli::kMaxPosition) {
                            MPosn_Xlate_Params p = params;
                            r = mPosn_Xlate(v, fm, tm, p, false);
                        }
                        o[i] = r;
                        if (missing[i] || !(std::fabs(r) < 1e99)) {
                            failed[i] = 1;
                            o[i] = std::numeric_limits<double>::quiet_NaN();
                            if (!first.any()) first.index = i;
                        }
                    }
                });
        });
    }
    f.raise_if_failed();
    if (first.any() && !coerce) {
        // The engine's own message for the first position without an answer.
        if (missing[first.index]) {
            first.message = "item " + std::to_string(first.index) + " is missing (masked), not a position";
        } else {
            // The position quoted as Python writes it.
            std::string const typed = py::repr(py::float_(x[first.index])).cast<std::string>();
            Failure why;
            py::gil_scoped_release nogil;
            why.capture([&] {
                with_settings(
                    want, [&] { cli::translate_position(typed, from, to, args.tr); }, [] {});
            });
            first.message = why.failed ? why.message : "no position";
        }
        raise_at(first);
    }
    // Coerced failures are NaN (and masked in arrays).
    if (s == Shape::array) {
        py::array a = out.attr("reshape")(shape);
        return first.any() ? masked(a, failed, shape) : py::object(a);
    }
    if (s == Shape::scalar) return failed[0] ? py::object(py::none()) : py::object(py::float_(o[0]));
    py::list l(n);
    for (std::size_t i = 0; i < n; ++i) l[i] = failed[i] ? py::object(py::none()) : py::object(py::float_(o[i]));
    return std::move(l);
}

}  // namespace

// ---------------------------------------------------------------------------

void register_arrays(py::module_& m) {
    using namespace pybind11::literals;
    m.def(
        "_fast_timecode",
        [](py::object on) {
            bool const was = g_fast_timecode.load();
            if (!on.is_none()) g_fast_timecode.store(on.cast<bool>());
            return was;
        },
        "on"_a = py::none(),
        "Whether format and parse take timecode types through the rate's writer and reader (None: just ask).");
    m.def("format", &format, "type"_a, "samples"_a, py::kw_only(), "prefix"_a = py::none(), "errors"_a = "raise",
          "style"_a = py::none(), "running"_a = false, "signed"_a = false,
          R"doc(format(type, samples, *, prefix=None, errors="raise", style=None, running=False, signed=False)

Write samples as texts of a label type, like `labels format TYPE SAMPLE...`.

type: a label type (class name "pal_label", short name "pal", EDL name "ND",
    or label_t number; `types()` lists them), or a timecode rate name
    ("23.976", "24", "25", "29.97df", "59.94df", "119.88df", any N or
    N/1.001; "25" is the rate, "type:25" the label type number) which
    writes interchange text (hh:mm:ss:ff, hh:mm:ss;ff at drop-frame).
samples: an int, a list of ints, or a NumPy array of integers (any shape).
    Samples are frames for timecode and film frames, perforations for
    KeyKode, ink numbers and feet.
prefix: KeyKode or ink prefix to write (8 characters for KeyKode like
    "KJ231234", 4 for ink); default the placeholder XX000000 / XXXX.
errors: "raise" (LabelError for a sample with no text) or "coerce" (None in
    lists, a masked entry in arrays).
style, running, signed: timecode as `labels format --style --running
    --signed`: style "interchange" (hh:mm:ss:ff; the default for rate names)
    or "display" (the label type's own text; the default for label types);
    running counts past 24 hours instead of wrapping; signed writes negative
    counts with '-'.

Returns a str, a list of str, or a NumPy array of str of the same shape.
Texts are as `labels format` prints them: no blank sign column.

>>> format("pal", 90000)
'01:00:00.00'
>>> format("ntsc_drop", numpy.array([0, 1800]))
array(['00:00:00;00', '00:01:00;02'], dtype='<U11')
>>> format("59.94df", 107892)
'00:30:00;00')doc");

    m.def("parse", &parse, "type"_a, "texts"_a, py::kw_only(), "errors"_a = "raise", "strict"_a = false,
          "running"_a = false, "signed"_a = false,
          R"doc(parse(type, texts, *, errors="raise", strict=False, running=False, signed=False)

Read texts of a label type as samples, like `labels parse TYPE TEXT...`.

type: a label type, or a timecode rate name as for format, which reads
    interchange text strictly (two-digit fields in range, the rate's frame
    separator, drop-frame labels that exist).

texts: a str, a list of str, or a NumPy array of str, bytes or objects (a
    pandas column of strings is an object array). Blanks around a text are
    ignored, and the spaces inside KeyKode numbers ("KJ 23 1234 0012+05").
errors: "raise" (LabelError with the command's message for the first text
    that cannot be read) or "coerce" (None in lists; in arrays the result is
    a numpy.ma.MaskedArray whose mask marks the unreadable texts).
strict, running, signed: timecode as `labels parse --strict --running
    --signed`: strict reads a label type's texts strictly (its own frame
    separator taken too); running takes counts past 24 hours; signed takes
    a leading '-'.

Returns an int, a list of int, or a NumPy int32 array of the same shape.

>>> parse("pal", "01:00:00:00")
90000
>>> parse("keycode_35", ["KJ2312340012+05"])
[788])doc");

    m.def("convert", &convert, "texts"_a, "from_"_a, "to"_a, py::kw_only(), "transfer"_a = "none", "phase"_a = 0,
          "sync"_a = py::none(), "prefix"_a = py::none(), "video_medium"_a = py::none(), "project_rate"_a = py::none(),
          "drop_frame"_a = py::none(), "output_rate"_a = py::none(), "output_scan"_a = py::none(),
          "output_pulldown"_a = py::none(), "camera_speed"_a = py::none(), "audio_sync_pulled_down"_a = py::none(),
          "errors"_a = "raise", "strict"_a = false, "style"_a = py::none(), "running"_a = false, "signed"_a = false,
          R"doc(convert(texts, from_, to, *, transfer="none", phase=0, sync=None, prefix=None,
        video_medium=None, project_rate=None, drop_frame=None, output_rate=None,
        output_scan=None, output_pulldown=None, camera_speed=None,
        audio_sync_pulled_down=None, errors="raise", strict=False, style=None,
        running=False, signed=False)

Convert label texts from one type and medium to another, like
`labels convert TEXT... --from FROM --to TO [options]`.

from_, to: "TYPE[@MEDIUM[,GENERATION]]" ("keycode_35", "ntsc_drop@source_30i_1001"),
    or a timecode rate name ("23.976", "25", "29.97df", "59.94df", "120",
    any N or N/1.001) whose texts are interchange timecode (hh:mm:ss:ff,
    hh:mm:ss;ff at drop-frame), read strictly. Between two rate names the
    target frame is the one whose start is nearest the source frame's in
    real time (transfer="frame" keeps the count); with a label type at one
    end a rate name stands for the label type of its rate. Without a medium: KeyKode, feet and film frames are on film, ink numbers
    on ink, 30 fps timecode on NTSC video, other timecode on the progressive
    source medium of its rate.
transfer: none, pull23 (2:3 pulldown), pogle (24-to-25), frame, pulldown, default.
phase: the pulldown phase of frame 0 (0..4 or the 2:3 letters A, B, BC, CD, D; 0..24 for 24-to-25).
sync: "SRC=DST", two texts marking the same instant (the head of the material).
prefix: the prefix of a KeyKode or ink target.
video_medium, project_rate, drop_frame, output_rate, output_scan,
    output_pulldown, camera_speed, audio_sync_pulled_down: the project and
    translation options of the command (rates as names or numbers: "23.976",
    25; yes/no options as bool).
errors: "raise" or "coerce", as for parse.
strict, style, running, signed: as --strict (read a label type's texts
    strictly), --style display|interchange (the target's text), --running
    (past 24 hours keeps counting) and --signed (negative counts with '-').

texts: a str, list or array; the result has the same form.

>>> convert("KJ2312340012+05", "keycode_35", "ntsc_drop", transfer="pull23")
'00:00:08;06'
>>> convert("00:00:00;02", "29.97df", "59.94df")
'00:00:00;04')doc");

    m.def("xlate", &xlate, "positions"_a, "from_"_a, "to"_a, py::kw_only(), "transfer"_a = "none", "phase"_a = 0,
          "video_medium"_a = py::none(), "project_rate"_a = py::none(), "drop_frame"_a = py::none(),
          "output_rate"_a = py::none(), "output_scan"_a = py::none(), "output_pulldown"_a = py::none(),
          "camera_speed"_a = py::none(), "audio_sync_pulled_down"_a = py::none(), "errors"_a = "raise",
          R"doc(xlate(positions, from_, to, *, transfer="none", phase=0, video_medium=None, ..., errors="raise")

Translate raw positions from one medium to another, like
`labels xlate POSITION FROM_MEDIUM TO_MEDIUM [options]`.

positions: seconds on the medium's clock (cel units on cel): a float, a list
    or a NumPy array. from_, to: media ("film", "source_30i_1001", `media()`).
The project and translation options are those of convert(). A position with
no answer raises LabelError, or with errors="coerce" gives None (lists,
scalars) or a masked NaN (arrays).

>>> xlate(1.0, "film", "source_30i_1001", transfer="pull23")
1.001)doc");
}

}  // namespace lbpy
