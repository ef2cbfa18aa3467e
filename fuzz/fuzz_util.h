// Small helpers shared by the fuzz targets: splitting the input into
// numbers and exactly-sized NUL-terminated texts, so ASan sees any read past
// a text's end.
#ifndef LABELSBASE_FUZZ_UTIL_H
#define LABELSBASE_FUZZ_UTIL_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

class FuzzInput {
public:
    FuzzInput(uint8_t const* data, size_t size) : p_(data), n_(size) {}
    size_t left() const { return n_; }
    template <typename T>
    T take() {
        T v{};
        size_t const k = n_ < sizeof(T) ? n_ : sizeof(T);
        std::memcpy(&v, p_, k);
        p_ += k;
        n_ -= k;
        return v;
    }
    // A text of the next up-to-max bytes (stopping at a NUL) in a buffer of
    // exactly its length plus the terminator.
    std::unique_ptr<char[]> text(size_t max) {
        size_t k = 0;
        while (k < n_ && k < max && p_[k] != 0) ++k;
        std::unique_ptr<char[]> t(new char[k + 1]);
        std::memcpy(t.get(), p_, k);
        t[k] = '\0';
        size_t const used = (k < n_) ? k + 1 : k;
        p_ += used;
        n_ -= used;
        return t;
    }
    std::unique_ptr<char[]> rest() { return text(n_); }

private:
    uint8_t const* p_;
    size_t n_;
};

// A broken promise: says which (visible when a crash input is run alone,
// without -close_fd_mask) and stops with a trap libFuzzer reports.
#define FUZZ_CHECK(cond)                                                                         \
    do {                                                                                         \
        if (!(cond)) {                                                                           \
            std::fprintf(stderr, "FUZZ_CHECK failed: %s at %s:%d\n", #cond, __FILE__, __LINE__); \
            __builtin_trap();                                                                    \
        }                                                                                        \
    } while (0)

#endif
