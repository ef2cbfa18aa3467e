// Memory for the result arrays of texts. Every item of such a result is
// written, so memory that held an earlier result serves as well as fresh
// memory, and is cheaper: the kernel zeroes every fresh page, which costs
// about as much as formatting the column itself. When a result array is
// collected its memory is kept for the next result it fits (at most two
// blocks of at most 64 MiB each); anything else goes back at once. Large
// blocks are asked to be backed by huge pages, as NumPy asks for its own.
#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "common.h"

namespace lbpy {

namespace {

struct Block {
    void* data;
    std::size_t bytes;
};

constexpr std::size_t kKeepMost = std::size_t{64} << 20;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
std::atomic<Block*> g_kept[2];

void release(Block* b) {
    std::free(b->data);
    delete b;
}

// A kept block of at least `bytes`, and not twice as large; null if none.
Block* take(std::size_t bytes) {
    for (std::atomic<Block*>& slot : g_kept) {
        Block* b = slot.exchange(nullptr, std::memory_order_acquire);
        if (!b) continue;
        if (b->bytes >= bytes && b->bytes / 2 <= bytes) return b;
        Block* empty = nullptr;
        if (!slot.compare_exchange_strong(empty, b, std::memory_order_release)) release(b);
    }
    return nullptr;
}

void keep(Block* b) {
    if (b->bytes <= kKeepMost) {
        for (std::atomic<Block*>& slot : g_kept) {
            Block* empty = nullptr;
            if (slot.compare_exchange_strong(empty, b, std::memory_order_release)) return;
        }
    }
    release(b);
}

Block* fresh(std::size_t bytes) {
    std::size_t const align = bytes >= kHugePage ? kHugePage : 4096;
    std::size_t const size = (bytes + align - 1) / align * align + (bytes == 0 ? align : 0);
    void* data = std::aligned_alloc(align, size);
    if (!data) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (size >= kHugePage) madvise(data, size, MADV_HUGEPAGE);
#endif
    return new Block{data, size};
}

}  // namespace

py::array_t<std::uint32_t> text_storage(std::size_t rows, std::size_t width) {
    std::size_t const bytes = rows * width * sizeof(std::uint32_t);
    Block* b = take(bytes);
    if (!b) b = fresh(bytes);
    py::capsule owner(b, [](void* p) { keep(static_cast<Block*>(p)); });
    return py::array_t<std::uint32_t>(
        std::vector<py::ssize_t>{static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(width)},
        std::vector<py::ssize_t>{static_cast<py::ssize_t>(width * sizeof(std::uint32_t)),
                                 static_cast<py::ssize_t>(sizeof(std::uint32_t))},
        static_cast<std::uint32_t*>(b->data), owner);
}

}  // namespace lbpy
