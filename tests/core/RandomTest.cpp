#include "core/text/Random.h"

#include "host/Clock.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <bit>

namespace {

// The stir formula with the clock stopped at `tick`.
uint32_t Stirred(uint32_t state, uint32_t a, uint32_t b, uint32_t tick)
{
    return std::rotr(__builtin_bswap32(state + a + b) + tick, 5);
}

class RandomSource : public testing::Test
{
protected:
    static constexpr uint32_t Tick = 0x1234;
    void SetUp() override
    {
        host::SetTickCountSource([] { return Tick; });
    }
    void TearDown() override { host::SetTickCountSource(nullptr); }

    // A source whose acquisition of the system generator failed.
    static TRandom& WithoutProvider()
    {
        host::InjectFault(host::HostCall::Random, host::ERROR_NOT_SUPPORTED);
        static TRandom source;
        host::ClearFaults();
        return source;
    }
};

TEST_F(RandomSource, StirFromKnownStates)
{
    host::SetTickCountSource([] { return 0u; });
    // Stir adds its arguments to the state first, so they can bring it to any value.
    const uint32_t state = Random.Stir(0, 0);
    EXPECT_EQ(0u, Random.Stir(0u - state, 0));
    EXPECT_EQ(1u << 19, Random.Stir(1, 0));
    EXPECT_EQ(Stirred(1u << 19, 7, 9, 0), Random.Stir(7, 9));

    host::SetTickCountSource([] { return 0xFFFFFFFFu; });
    const uint32_t before = Random.Stir(0, 0);
    EXPECT_EQ(Stirred(before, 0xFFFFFFFFu, 2, 0xFFFFFFFFu), Random.Stir(0xFFFFFFFFu, 2));
}

TEST_F(RandomSource, MouseStirsOnlyAfterMovingThreePixels)
{
    struct Move
    {
        int32_t X;
        int32_t Y;
        bool Stirs;
    };
    // Each move is measured from the last position that stirred.
    const Move moves[] = {
        {1002, 998, false}, {1003, 1000, true},           {1001, 1002, false},
        {1003, 997, true},  {-2147483647 - 1, 997, true}, {2147483647, 999, true},
    };
    Random.AddMouse(1000, 1000);
    for (const Move& move : moves) {
        SCOPED_TRACE(std::to_string(move.X) + ", " + std::to_string(move.Y));
        const uint32_t before = Random.Stir(0, 0);
        Random.AddMouse(move.X, move.Y);
        const uint32_t expected =
            move.Stirs ? Stirred(before, static_cast<uint32_t>(move.X), static_cast<uint32_t>(move.Y), Tick) : before;
        EXPECT_EQ(Stirred(expected, 0, 0, Tick), Random.Stir(0, 0));
    }
}

TEST_F(RandomSource, WithoutProviderGetGivesTheStirredValues)
{
    TRandom& source = WithoutProvider();
    const uint32_t state = source.Stir(0, 0);
    const uint32_t first = source.Get();
    const uint32_t second = source.Get();
    EXPECT_EQ(Stirred(state, 0, 0, Tick), first);
    EXPECT_EQ(Stirred(first, 0, 0, Tick), second);
    EXPECT_NE(first, second) << "in the same millisecond";
}

TEST_F(RandomSource, FallsBackWhenTheProviderRefuses)
{
    const uint32_t state = Random.Stir(0, 0);
    host::InjectFault(host::HostCall::Random, host::ERROR_NOT_SUPPORTED);
    EXPECT_EQ(Stirred(state, 0, 0, Tick), Random.Get());
}

TEST_F(RandomSource, ProviderValuesAreNotTheStirredOnes)
{
    uint32_t state = Random.Stir(0, 0);
    int stirredValues = 0;
    uint32_t bitsSeen = 0;
    for (int i = 0; i < 32; ++i) {
        const uint32_t value = Random.Get();
        state = Stirred(state, 0, 0, Tick);
        stirredValues += value == state ? 1 : 0;
        bitsSeen |= value;
    }
    EXPECT_LE(stirredValues, 1);
    EXPECT_EQ(0xFFFFFFFFu, bitsSeen) << "no bit stays clear in 32 values";
    EXPECT_EQ(Stirred(state, 0, 0, Tick), Random.Stir(0, 0)) << "each Get stirred the state on";
}

} // namespace
