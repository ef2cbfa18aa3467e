// The module's own allocation operators: the C library's heap, as the
// interpreter and every other library in the process use it. Linking the
// host stand-in would otherwise bring in its counting operators, which
// assume every block passed to them was allocated by them; in a process that
// has run before the module was loaded that does not hold. Defined here, in
// the module (hidden, like every symbol of it but PyInit__core), the host's
// are never linked in.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, std::nothrow_t const&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, std::nothrow_t const&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::nothrow_t const&) noexcept { std::free(p); }
void operator delete[](void* p, std::nothrow_t const&) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
