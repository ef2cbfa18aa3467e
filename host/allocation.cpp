// The global allocation operators: every allocation of a program linked
// with the host stand-in goes through the host allocator, which counts it.
//
// They are a library of their own (labelsbase::host_allocation, which
// labelsbase::host brings to executables only) so that they land in the
// program, where they replace the operators for the whole process, and never
// inside a shared library or an extension module loaded into a process that
// has allocated before (an interpreter): there, blocks allocated by the
// process's operators would come back to the host allocator, which cannot
// free them.
#include <new>

#include "host/host.h"

// Named on the link line of every program (--undefined) so that this object
// is taken from its archive even when a runtime linked before it (a
// sanitizer's) already offers the operators.
extern "C" {
extern int const labelsbase_host_allocation_linked;
int const labelsbase_host_allocation_linked = 1;
}

// Every allocation of the process goes through the host allocator.
void* operator new(std::size_t size) { return OS()->allocator().allocate(size); }
void* operator new[](std::size_t size) { return OS()->allocator().allocate(size); }
void* operator new(std::size_t size, std::nothrow_t const&) noexcept {
    try {
        return OS()->allocator().allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::nothrow_t const&) noexcept {
    try {
        return OS()->allocator().allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { OS()->allocator().free(p); }
void operator delete[](void* p) noexcept { OS()->allocator().free(p); }
void operator delete(void* p, std::nothrow_t const&) noexcept { OS()->allocator().free(p); }
void operator delete[](void* p, std::nothrow_t const&) noexcept { OS()->allocator().free(p); }
void operator delete(void* p, std::size_t) noexcept { OS()->allocator().free(p); }
void operator delete[](void* p, std::size_t) noexcept { OS()->allocator().free(p); }
