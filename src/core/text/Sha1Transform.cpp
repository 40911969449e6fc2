#include "core/text/Sha1Transform.h"

#include <bit>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace {

constexpr uint32_t RoundConstants[4] = {0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xCA62C1D6};

uint32_t LoadBigEndian(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]);
}

template <int T>
uint32_t RoundFunction(uint32_t b, uint32_t c, uint32_t d)
{
    if constexpr (T < 20)
        return d ^ (b & (c ^ d));
    else if constexpr (T < 40 || T >= 60)
        return b ^ c ^ d;
    else
        return (b & c) | (d & (b | c));
}

// The five working words keep their places in `v`; their roles move on by one place
// each step, so that no step copies a word: step T finds a in v[-T mod 5], b after it.
template <int T>
inline void Step(uint32_t (&v)[5], uint32_t (&w)[80])
{
    if constexpr (T >= 16)
        w[T] = std::rotl(w[T - 3] ^ w[T - 8] ^ w[T - 14] ^ w[T - 16], 1);
    const uint32_t a = v[(80 - T) % 5];
    uint32_t& b = v[(81 - T) % 5];
    const uint32_t c = v[(82 - T) % 5];
    const uint32_t d = v[(83 - T) % 5];
    uint32_t& e = v[(84 - T) % 5];
    e += std::rotl(a, 5) + RoundFunction<T>(b, c, d) + RoundConstants[T / 20] + w[T];
    b = std::rotl(b, 30);
}

// The eighty steps written out one by one at compile time.
template <int... T>
inline void Steps(uint32_t (&v)[5], uint32_t (&w)[80], std::integer_sequence<int, T...>)
{
    (Step<T>(v, w), ...);
}

} // namespace

void Sha1TransformPortable(uint32_t (&state)[5], const uint8_t* blocks, size_t blockCount)
{
    for (; blockCount > 0; --blockCount, blocks += 64) {
        uint32_t w[80];
        for (int t = 0; t < 16; ++t)
            w[t] = LoadBigEndian(blocks + 4 * t);
        uint32_t v[5] = {state[0], state[1], state[2], state[3], state[4]};
        Steps(v, w, std::make_integer_sequence<int, 80>{});
        for (int i = 0; i < 5; ++i)
            state[i] += v[i];
    }
}

#if defined(__x86_64__) || defined(__i386__)

#define SHA_INSTRUCTIONS __attribute__((target("sha,sse4.1,ssse3")))

namespace {

// Four steps G*4 to G*4+3 in one instruction. `e` alternates between the word that
// enters these steps and the one saved for the next four; the message schedule for
// later steps is computed alongside, four words at a time in `m`.
template <int G>
SHA_INSTRUCTIONS __attribute__((always_inline)) inline void FourSteps(__m128i& abcd, __m128i (&e)[2], __m128i (&m)[4])
{
    constexpr int current = G % 2;
    constexpr int saved = (G + 1) % 2;
    if constexpr (G == 0)
        e[current] = _mm_add_epi32(e[current], m[0]);
    else
        e[current] = _mm_sha1nexte_epu32(e[current], m[G % 4]);
    e[saved] = abcd;
    abcd = _mm_sha1rnds4_epu32(abcd, e[current], G / 5);
    if constexpr (G >= 3 && G <= 18)
        m[(G + 1) % 4] = _mm_sha1msg2_epu32(m[(G + 1) % 4], m[G % 4]);
    if constexpr (G >= 1 && G <= 16)
        m[(G + 3) % 4] = _mm_sha1msg1_epu32(m[(G + 3) % 4], m[G % 4]);
    if constexpr (G >= 2 && G <= 17)
        m[(G + 2) % 4] = _mm_xor_si128(m[(G + 2) % 4], m[G % 4]);
}

template <int... G>
SHA_INSTRUCTIONS __attribute__((always_inline)) inline void AllSteps(__m128i& abcd, __m128i (&e)[2], __m128i (&m)[4],
                                                                     std::integer_sequence<int, G...>)
{
    (FourSteps<G>(abcd, e, m), ...);
}

} // namespace

bool Sha1ProcessorHasInstructions()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return false;
    const bool vectors = (c & bit_SSSE3) != 0 && (c & bit_SSE4_1) != 0;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d))
        return false;
    return vectors && (b & bit_SHA) != 0;
}

SHA_INSTRUCTIONS void Sha1TransformCpu(uint32_t (&state)[5], const uint8_t* blocks, size_t blockCount)
{
    const __m128i bigEndianWords = _mm_set_epi64x(0x0001020304050607LL, 0x08090A0B0C0D0E0FLL);
    // The instructions keep a in the highest lane.
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e[2] = {_mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0), _mm_setzero_si128()};
    for (; blockCount > 0; --blockCount, blocks += 64) {
        const __m128i abcdBefore = abcd;
        const __m128i eBefore = e[0];
        __m128i m[4];
        for (int i = 0; i < 4; ++i)
            m[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), bigEndianWords);
        AllSteps(abcd, e, m, std::make_integer_sequence<int, 20>{});
        e[0] = _mm_sha1nexte_epu32(e[0], eBefore);
        abcd = _mm_add_epi32(abcd, abcdBefore);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = static_cast<uint32_t>(_mm_extract_epi32(e[0], 3));
}

#else

bool Sha1ProcessorHasInstructions()
{
    return false;
}

void Sha1TransformCpu(uint32_t (&state)[5], const uint8_t* blocks, size_t blockCount)
{
    Sha1TransformPortable(state, blocks, blockCount);
}

#endif
