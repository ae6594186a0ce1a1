#include "FailingAllocations.h"

#include <cstdlib>

namespace {

long g_untilFailure = -1;

void* Allocate(std::size_t size) noexcept
{
    if (g_untilFailure >= 0 && g_untilFailure-- == 0)
        return nullptr;
    return std::malloc(size ? size : 1);
}

} // namespace

void FailAllocation(long n)
{
    g_untilFailure = n;
}

void* operator new(std::size_t size)
{
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
