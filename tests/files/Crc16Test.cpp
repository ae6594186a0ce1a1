#include "files/Crc16.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

TEST(Crc16, TableVersionAgreesWithTheBitwiseDefinition)
{
    const char* check = "123456789";
    EXPECT_EQ(crc16::Value(check, 9), 0x6F91);
    EXPECT_EQ(crc16::ExtendBitwise(crc16::kInit, check, 9), 0x6F91);
    EXPECT_EQ(crc16::Value(check, 0), 0xFFFF);

    // Every length around the 16-byte stride, at every alignment, and a long run.
    std::mt19937 random(7);
    std::vector<std::uint8_t> buffer(70000);
    for (auto& byte : buffer)
        byte = static_cast<std::uint8_t>(random());
    for (std::size_t offset = 0; offset < 8; ++offset) {
        for (std::size_t size = 0; size < 300; ++size) {
            ASSERT_EQ(crc16::Value(buffer.data() + offset, size),
                      crc16::ExtendBitwise(crc16::kInit, buffer.data() + offset, size))
                << "offset " << offset << ", size " << size;
        }
    }
    const std::uint16_t whole = crc16::Value(buffer.data(), buffer.size());
    EXPECT_EQ(whole, crc16::ExtendBitwise(crc16::kInit, buffer.data(), buffer.size()));

    // Continuing in pieces gives the CRC of the whole.
    std::uint16_t pieces = crc16::kInit;
    for (std::size_t at = 0, step = 1; at < buffer.size(); at += step, step = step * 3 % 1001 + 1)
        pieces = crc16::Extend(pieces, buffer.data() + at, std::min(step, buffer.size() - at));
    EXPECT_EQ(pieces, whole);
}
