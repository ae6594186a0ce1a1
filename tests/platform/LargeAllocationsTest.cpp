// The programs' operator new: large buffers come from their own huge-page
// mappings, and every buffer, large or small, is given back where it came from.

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

bool HugePageAligned(const void* memory)
{
    return (reinterpret_cast<std::uintptr_t>(memory) & (kHugePage - 1)) == 0;
}

} // namespace

TEST(LargeAllocations, BuffersOfEverySizeHoldTheirBytesAndGoBack)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizer builds keep their own operator new";
#endif
    struct Row {
        std::size_t bytes;
        bool large;
    };
    const Row rows[] = {{1, false},        {4096, false},         {kHugePage - 1, false},
                        {kHugePage, true}, {kHugePage + 1, true}, {9 * kHugePage + 12345, true}};
    for (const Row& row : rows) {
        std::vector<std::uint8_t> buffer(row.bytes, 0xA5);
        EXPECT_EQ(HugePageAligned(buffer.data()), row.large) << row.bytes;
        buffer.back() = 0x5A;
        std::vector<std::uint8_t> moved = std::move(buffer);
        std::vector<std::uint8_t> copied = moved;
        EXPECT_EQ(std::memcmp(moved.data(), copied.data(), row.bytes), 0) << row.bytes;
        EXPECT_EQ(copied.front(), row.bytes == 1 ? 0x5A : 0xA5);
        EXPECT_EQ(copied.back(), 0x5A);
    }
    // More large buffers at once than the mappings are kept for: the rest
    // come from malloc and go back there.
    std::vector<std::unique_ptr<std::uint8_t[]>> many;
    for (int i = 0; i < 80; ++i) {
        many.emplace_back(new std::uint8_t[kHugePage]);
        many.back()[kHugePage - 1] = static_cast<std::uint8_t>(i);
    }
    for (int i = 0; i < 80; ++i)
        EXPECT_EQ(many[static_cast<std::size_t>(i)][kHugePage - 1], static_cast<std::uint8_t>(i));
    many.clear();
    void* nothrow = ::operator new(3 * kHugePage, std::nothrow);
    ASSERT_NE(nothrow, nullptr);
    EXPECT_TRUE(HugePageAligned(nothrow));
    ::operator delete(nothrow, std::nothrow);
}
