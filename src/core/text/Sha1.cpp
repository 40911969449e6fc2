#include "core/text/Sha1.h"

#include "core/text/Sha1Transform.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t BlockSize = 64;
constexpr uint32_t LengthFieldOffset = 56;

bool PortableOnly = false;

bool ProcessorHasInstructions()
{
    static const bool available = Sha1ProcessorHasInstructions();
    return available;
}

void Compress(uint32_t (&state)[5], const uint8_t* blocks, size_t blockCount)
{
    if (!PortableOnly && ProcessorHasInstructions())
        Sha1TransformCpu(state, blocks, blockCount);
    else
        Sha1TransformPortable(state, blocks, blockCount);
}

void StoreBigEndian(uint8_t* bytes, uint32_t value)
{
    bytes[0] = static_cast<uint8_t>(value >> 24);
    bytes[1] = static_cast<uint8_t>(value >> 16);
    bytes[2] = static_cast<uint8_t>(value >> 8);
    bytes[3] = static_cast<uint8_t>(value);
}

void CountBits(Sha1Context& context, uint32_t length)
{
    const uint32_t bits = length << 3;
    context.BitCountLow += bits;
    if (context.BitCountLow < bits)
        ++context.BitCountHigh;
    context.BitCountHigh += length >> 29;
}

} // namespace

void Sha1Init(Sha1Context& context)
{
    context.State[0] = 0x67452301;
    context.State[1] = 0xEFCDAB89;
    context.State[2] = 0x98BADCFE;
    context.State[3] = 0x10325476;
    context.State[4] = 0xC3D2E1F0;
    context.BitCountLow = 0;
    context.BitCountHigh = 0;
    context.Buffered = 0;
}

void Sha1Update(Sha1Context& context, const void* bytes, uint32_t length)
{
    if (length == 0)
        return;
    CountBits(context, length);
    auto input = static_cast<const uint8_t*>(bytes);
    if (context.Buffered > 0) {
        const uint32_t buffered = static_cast<uint32_t>(context.Buffered);
        const uint32_t taken = std::min(BlockSize - buffered, length);
        std::memcpy(context.Block + buffered, input, taken);
        input += taken;
        length -= taken;
        context.Buffered = static_cast<int32_t>(buffered + taken);
        if (buffered + taken < BlockSize)
            return;
        Compress(context.State, context.Block, 1);
    }
    // Whole blocks are compressed where they lie, without a copy into the buffer.
    const uint32_t wholeBlocks = length / BlockSize;
    Compress(context.State, input, wholeBlocks);
    input += wholeBlocks * BlockSize;
    length %= BlockSize;
    std::memcpy(context.Block, input, length);
    context.Buffered = static_cast<int32_t>(length);
}

void Sha1Final(TSha1Digest& digest, Sha1Context& context)
{
    uint32_t end = static_cast<uint32_t>(context.Buffered);
    context.Block[end++] = 0x80;
    if (end > LengthFieldOffset) {
        std::memset(context.Block + end, 0, BlockSize - end);
        Compress(context.State, context.Block, 1);
        end = 0;
    }
    std::memset(context.Block + end, 0, LengthFieldOffset - end);
    StoreBigEndian(context.Block + LengthFieldOffset, context.BitCountHigh);
    StoreBigEndian(context.Block + LengthFieldOffset + 4, context.BitCountLow);
    Compress(context.State, context.Block, 1);
    for (int i = 0; i < 5; ++i)
        StoreBigEndian(digest.data() + 4 * i, context.State[i]);
}

void Sha1HashBuffer(const void* bytes, uint32_t length, TSha1Digest& digest)
{
    Sha1Context context;
    Sha1Init(context);
    Sha1Update(context, bytes, length);
    Sha1Final(digest, context);
}

void Sha1HashString(const char* text, TSha1Digest& digest)
{
    Sha1HashBuffer(text, static_cast<uint32_t>(std::strlen(text)), digest);
}

void Sha1HashDigest(const TSha1Digest& input, TSha1Digest& digest)
{
    // The input is copied into the context's buffer before the digest is written.
    Sha1HashBuffer(input.data(), static_cast<uint32_t>(input.size()), digest);
}

void Sha1SetPortableOnly(bool portableOnly)
{
    PortableOnly = portableOnly;
}
