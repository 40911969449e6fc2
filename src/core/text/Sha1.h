#pragma once

#include <array>
#include <cstdint>

// SHA-1 as the Secure Hash Standard (FIPS 180-1) defines it: incremental hashing over a
// caller-owned context, and one-shot forms. Nothing is allocated and nothing fails.

struct Sha1Context
{
    uint32_t State[5];
    uint32_t BitCountLow;
    uint32_t BitCountHigh;
    uint8_t Block[64];
    // Bytes of Block filled, 0 to 63 between calls.
    int32_t Buffered;
};

// H0 to H4, each most significant byte first.
using TSha1Digest = std::array<uint8_t, 20>;

void Sha1Init(Sha1Context& context);
void Sha1Update(Sha1Context& context, const void* bytes, uint32_t length);
// The context must be initialised again before it is used for another message.
void Sha1Final(TSha1Digest& digest, Sha1Context& context);

void Sha1HashBuffer(const void* bytes, uint32_t length, TSha1Digest& digest);
// The text's bytes up to, not including, the NUL.
void Sha1HashString(const char* text, TSha1Digest& digest);
// The digest of a digest; `digest` may be `input` itself, to iterate in place.
void Sha1HashDigest(const TSha1Digest& input, TSha1Digest& digest);

// The compression uses the processor's SHA instructions when it has them. Tests turn
// them off to check that the portable code gives the same digests.
void Sha1SetPortableOnly(bool portableOnly);
