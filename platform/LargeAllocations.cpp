// Large buffers (the bytes of a block run to megabytes) on huge pages: the
// program's operator new maps them itself, aligned to the huge page size, and
// asks the kernel for huge pages there. Filling an 8 MiB block then costs a
// handful of page faults instead of two thousand, which on a virtual machine
// is most of the time it takes to open a large file. Everything smaller goes
// to malloc as before. Linked into the programs only, and not into sanitizer
// builds, whose own operator new must see every allocation.

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include <array>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>

#include <sys/mman.h>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Below this a buffer gains too little to be worth its own mapping.
constexpr std::size_t kLargeBytes = kHugePage;

struct Mapping {
    void* start = nullptr; // what the caller got
    void* base = nullptr;  // what was mapped
    std::size_t length = 0;
};

// The buffers handed out by mapping. A pointer that is not huge-page aligned
// is never one of them, so most deletes do not look here.
class Mappings {
public:
    bool Add(const Mapping& mapping)
    {
        std::lock_guard lock(m_mutex);
        for (Mapping& slot : m_slots) {
            if (!slot.start) {
                slot = mapping;
                return true;
            }
        }
        return false;
    }

    bool Remove(void* start, Mapping& removed)
    {
        std::lock_guard lock(m_mutex);
        for (Mapping& slot : m_slots) {
            if (slot.start == start) {
                removed = slot;
                slot = {};
                return true;
            }
        }
        return false;
    }

private:
    std::mutex m_mutex;
    std::array<Mapping, 64> m_slots{};
};

Mappings& TheMappings()
{
    static Mappings* const mappings = new Mappings; // outlives every static that frees memory
    return *mappings;
}

void* MapLarge(std::size_t size)
{
    const std::size_t length = (size + kHugePage - 1) / kHugePage * kHugePage + kHugePage;
    void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(base);
    void* start = reinterpret_cast<void*>((address + kHugePage - 1) & ~(kHugePage - 1));
    ::madvise(start, length - kHugePage, MADV_HUGEPAGE);
    if (!TheMappings().Add({start, base, length})) {
        ::munmap(base, length);
        return nullptr;
    }
    return start;
}

void* Allocate(std::size_t size)
{
    if (size >= kLargeBytes) {
        if (void* large = MapLarge(size))
            return large;
    }
    for (;;) {
        if (void* memory = std::malloc(size ? size : 1))
            return memory;
        std::new_handler handler = std::get_new_handler();
        if (!handler)
            throw std::bad_alloc();
        handler();
    }
}

void Release(void* memory) noexcept
{
    if (!memory)
        return;
    if ((reinterpret_cast<std::uintptr_t>(memory) & (kHugePage - 1)) == 0) {
        Mapping mapping;
        if (TheMappings().Remove(memory, mapping)) {
            ::munmap(mapping.base, mapping.length);
            return;
        }
    }
    std::free(memory);
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* memory) noexcept
{
    Release(memory);
}

void operator delete[](void* memory) noexcept
{
    Release(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    Release(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    Release(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    Release(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    Release(memory);
}

#endif
