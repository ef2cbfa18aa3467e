// Helpers shared by the library's units: the assertion line, the C
// library's number readers without their per-call cost, and the static
// values' storage; with the wrapping arithmetic (detail/wrap.h) and the
// digit writers and readers (detail/digits.h).
#ifndef LABELSBASE_INTERNAL_H
#define LABELSBASE_INTERNAL_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "detail/digits.h"
#include "detail/wrap.h"

namespace lb {

// Prints "assertion failed %s at %s\n" on standard output and returns.
void assertion_failed(char const* expression, char const* where);
// The same for one of the log keys of detail/log_keys.h.
struct LogKey;
void assertion_failed(LogKey const& key);

// strtol(s, end, 10) of the C library: leading white space, optional sign,
// decimal digits; clamps to LONG_MIN/LONG_MAX on overflow. *end (if given)
// points past the digits, or to s when none were read.
long parse_long(char const* s, char const** end = nullptr);
// atol and atoi as the C library gives them.
inline long atol_(char const* s) { return parse_long(s); }
inline int atoi_(char const* s) { return static_cast<int>(parse_long(s)); }

// One of the library's static values (the invalid label point, label and
// edit label): its storage is constant-initialised, the first unit whose
// static initialisers run builds it and the last one to be torn down
// destroys it, so it is usable from any unit's static initialisers whatever
// the link order.
template <class T>
class EarlyStatic {
public:
    constexpr EarlyStatic() : u_() {}
    template <class... Args>
    void acquire(Args const&... args) {
        if (users_++ == 0) new (&u_.value) T(args...);
    }
    void release() {
        if (--users_ == 0) u_.value.~T();
    }
    constexpr T& get() { return u_.value; }

private:
    union Storage {
        constexpr Storage() : none() {}
        ~Storage() {}
        char none;
        T value;
    } u_;
    int users_ = 0;
};

}  // namespace lb

#endif
