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

// Bytes a converter sets between its published fields, written by every
// conversion, and the fields every conversion reads, so that threads
// sharing the converter do not take each other's cache line for a read.
constexpr int published_apart = 64;  // a cache line

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

// The prefix a prefix converter remembers (at most 20 characters): stored
// and loaded whole, word by word with relaxed atomics, so threads sharing
// the converter never race on it; a load gives a prefix some thread stored.
class prefix_memory {
public:
    static constexpr std::size_t room = 20;
    prefix_memory() noexcept {
        for (auto& w : words_) w.store(0, std::memory_order_relaxed);
    }
    prefix_memory(prefix_memory const&) = delete;
    prefix_memory& operator=(prefix_memory const&) = delete;
    // The first n characters of p (n at most room; fewer when p ends first).
    void store(char const* p, std::size_t n) noexcept {
        char b[sizeof words_] = {};
        for (std::size_t i = 0; i < n && i < room && p[i]; ++i) b[i] = p[i];
        for (std::size_t w = 0; w < kWords; ++w) {
            std::uint64_t v;
            std::memcpy(&v, b + 8 * w, 8);
            // The same prefix again (the common case) writes nothing, so
            // threads converting one roll leave the cache line shared.
            if (words_[w].load(std::memory_order_relaxed) != v) words_[w].store(v, std::memory_order_relaxed);
        }
    }
    // Copies the prefix and its NUL into out (room + 1 bytes); returns its length.
    std::size_t load(char* out) const noexcept {
        char b[sizeof words_];
        for (std::size_t w = 0; w < kWords; ++w) {
            std::uint64_t const v = words_[w].load(std::memory_order_relaxed);
            std::memcpy(b + 8 * w, &v, 8);
        }
        b[room] = '\0';
        std::memcpy(out, b, room + 1);
        std::size_t n = 0;
        while (b[n]) ++n;
        return n;
    }

private:
    static constexpr std::size_t kWords = 3;
    std::atomic<std::uint64_t> words_[kWords];
};

#endif
