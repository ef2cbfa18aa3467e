// A converter field that publishes the last result a conversion computed
// (hours, minutes, seconds, frames of timecode; count, frame, perforation of
// film) for whoever wants to look at it afterwards.
//
// Conversions never read such a field back to compute an answer: they work
// in locals and store the result here as they finish. The stores and loads
// are relaxed atomics, so a converter shared by several threads has no data
// race on them; each thread's answers are its own, and the field holds one
// of the recently computed values. On one thread it behaves exactly like the
// plain int it replaces.
//
// It reads as its value type and is assigned from it. The compound
// assignments are a load and a store, not one atomic step: the field
// publishes results, it does not count.
#ifndef LABELSBASE_PUBLISHED_H
#define LABELSBASE_PUBLISHED_H

#include <atomic>

template <class T>
class published {
public:
    constexpr published(T v = T()) noexcept : v_(v) {}
    published(published const& o) noexcept : v_(o.load()) {}
    published& operator=(published const& o) noexcept {
        store(o.load());
        return *this;
    }
    published& operator=(T v) noexcept {
        store(v);
        return *this;
    }
    operator T() const noexcept { return load(); }
    T load() const noexcept { return v_.load(std::memory_order_relaxed); }
    void store(T v) noexcept { v_.store(v, std::memory_order_relaxed); }

    published& operator+=(T d) noexcept { return *this = static_cast<T>(load() + d); }
    published& operator-=(T d) noexcept { return *this = static_cast<T>(load() - d); }
    published& operator++() noexcept { return *this += 1; }
    published& operator--() noexcept { return *this -= 1; }

private:
    std::atomic<T> v_;
};

#endif
