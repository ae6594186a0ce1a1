#include "files/Crc16.h"

#include <array>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define MEMORIX_CRC16_CLMUL 1
#endif

namespace crc16 {
namespace {

constexpr std::uint16_t kReflectedPoly = 0x8408;
constexpr int kSlices = 16;

using Tables = std::array<std::array<std::uint16_t, 256>, kSlices>;

// tables[0][b]: the CRC register after feeding byte b into a zero register.
// tables[k][b]: the same followed by k zero bytes, so that 16 input bytes can
// be looked up independently and combined with XOR (slicing-by-16).
constexpr Tables MakeTables()
{
    Tables t{};
    for (unsigned b = 0; b < 256; ++b) {
        unsigned crc = b;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ kReflectedPoly : crc >> 1;
        t[0][b] = static_cast<std::uint16_t>(crc);
    }
    for (int k = 1; k < kSlices; ++k) {
        for (unsigned b = 0; b < 256; ++b) {
            const std::uint16_t prev = t[k - 1][b];
            t[k][b] = static_cast<std::uint16_t>((prev >> 8) ^ t[0][prev & 0xFFu]);
        }
    }
    return t;
}

constexpr Tables kTables = MakeTables();

std::uint16_t ExtendTable(std::uint16_t crc, const std::uint8_t* p, std::size_t size)
{
    const auto& t = kTables;
    while (size >= kSlices) {
        // The register overlaps the first two bytes of the group; the other
        // fourteen bytes enter the tables as they are.
        const unsigned b0 = p[0] ^ (crc & 0xFFu);
        const unsigned b1 = p[1] ^ (crc >> 8);
        crc = static_cast<std::uint16_t>(t[15][b0] ^ t[14][b1] ^ t[13][p[2]] ^ t[12][p[3]] ^ t[11][p[4]] ^ t[10][p[5]]
                                         ^ t[9][p[6]] ^ t[8][p[7]] ^ t[7][p[8]] ^ t[6][p[9]] ^ t[5][p[10]] ^ t[4][p[11]]
                                         ^ t[3][p[12]] ^ t[2][p[13]] ^ t[1][p[14]] ^ t[0][p[15]]);
        p += kSlices;
        size -= kSlices;
    }
    while (size-- > 0)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ t[0][(crc ^ *p++) & 0xFFu]);
    return crc;
}

#ifdef MEMORIX_CRC16_CLMUL

// Folding with carry-less multiplication. Seen as a polynomial over GF(2),
// the message's CRC only depends on the message modulo the generator P, so
// 128 bits of it that lie k bits before the end of the data seen so far can
// be replaced by their product with (x^k mod P), a 16-bit factor: the result
// is short enough to be added to the data k bits further on. Four such
// running remainders cover 64 bytes per round; at the end they are folded
// into one, whose 16 bytes and the remaining tail go through the tables.
//
// In the reflected order the first byte's lowest bit is the highest power.
// A 64-bit lane holding x^j at bit 63 - j, multiplied with PCLMULQDQ, gives
// the product times x in the 128-bit order, hence the exponents below are
// one less than the distance folded.

constexpr std::uint32_t XPowerModP(unsigned n)
{
    std::uint32_t r = 1;
    for (unsigned i = 0; i < n; ++i) {
        r <<= 1;
        if (r & 0x10000u)
            r ^= 0x11021u; // x^16 + x^12 + x^5 + 1
    }
    return r;
}

constexpr long long Lane(std::uint32_t remainder)
{
    std::uint64_t lane = 0;
    for (int j = 0; j < 16; ++j) {
        if ((remainder >> j) & 1u)
            lane |= std::uint64_t{1} << (63 - j);
    }
    return static_cast<long long>(lane);
}

// Factors for moving 128 bits forward by `bits`: the first 64 bits (low lane)
// travel bits + 64, the second (high lane) bits.
constexpr long long kFirstHalf512 = Lane(XPowerModP(512 + 64 - 1));
constexpr long long kSecondHalf512 = Lane(XPowerModP(512 - 1));
constexpr long long kFirstHalf128 = Lane(XPowerModP(128 + 64 - 1));
constexpr long long kSecondHalf128 = Lane(XPowerModP(128 - 1));

__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i value, __m128i factors)
{
    return _mm_xor_si128(_mm_clmulepi64_si128(value, factors, 0x00), _mm_clmulepi64_si128(value, factors, 0x11));
}

__attribute__((target("pclmul,sse2"))) inline __m128i Load(const std::uint8_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// size >= 64.
__attribute__((target("pclmul,sse2"))) std::uint16_t ExtendClmul(std::uint16_t crc, const std::uint8_t* p,
                                                                 std::size_t size)
{
    const __m128i by512 = _mm_set_epi64x(kSecondHalf512, kFirstHalf512);
    const __m128i by128 = _mm_set_epi64x(kSecondHalf128, kFirstHalf128);

    // The register's start value is the same as the first two bytes changed by it.
    __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(crc));
    __m128i x1 = Load(p + 16);
    __m128i x2 = Load(p + 32);
    __m128i x3 = Load(p + 48);
    p += 64;
    size -= 64;
    while (size >= 64) {
        x0 = _mm_xor_si128(Fold(x0, by512), Load(p));
        x1 = _mm_xor_si128(Fold(x1, by512), Load(p + 16));
        x2 = _mm_xor_si128(Fold(x2, by512), Load(p + 32));
        x3 = _mm_xor_si128(Fold(x3, by512), Load(p + 48));
        p += 64;
        size -= 64;
    }
    __m128i x = _mm_xor_si128(Fold(x0, by128), x1);
    x = _mm_xor_si128(Fold(x, by128), x2);
    x = _mm_xor_si128(Fold(x, by128), x3);
    while (size >= 16) {
        x = _mm_xor_si128(Fold(x, by128), Load(p));
        p += 16;
        size -= 16;
    }
    alignas(16) std::uint8_t rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), x);
    return ExtendTable(ExtendTable(0, rest, sizeof rest), p, size);
}

bool HaveClmul()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("pclmul");
}

// False while static objects are being set up; the tables serve until then.
const bool kHaveClmul = HaveClmul();

#endif

} // namespace

std::uint16_t Extend(std::uint16_t crc, const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
#ifdef MEMORIX_CRC16_CLMUL
    if (size >= 64 && kHaveClmul)
        return ExtendClmul(crc, p, size);
#endif
    return ExtendTable(crc, p, size);
}

std::uint16_t ExtendBitwise(std::uint16_t crc, const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= p[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 1u) ? (crc >> 1) ^ kReflectedPoly : crc >> 1);
    }
    return crc;
}

} // namespace crc16
