#include "host/CryptoRandom.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace {

TEST(CryptoRandom, FillsTheWholeBufferWithFreshBytes)
{
    ASSERT_TRUE(host::AcquireCryptoRandom());
    // Large enough that getrandom may hand it out in parts.
    std::array<uint8_t, 100000> first{};
    std::array<uint8_t, 100000> second{};
    ASSERT_TRUE(host::GenerateCryptoRandom(first.data(), first.size()));
    second = first;
    ASSERT_TRUE(host::GenerateCryptoRandom(second.data(), second.size()));
    EXPECT_EQ(host::ERROR_SUCCESS, host::GetLastError());
    size_t zeroBytes = 0;
    size_t unchangedBytes = 0;
    for (size_t i = 0; i < first.size(); ++i) {
        zeroBytes += first[i] == 0 ? 1 : 0;
        unchangedBytes += first[i] == second[i] ? 1 : 0;
    }
    // About 1 in 256 of each, far from all of them.
    EXPECT_LT(zeroBytes, first.size() / 100);
    EXPECT_LT(unchangedBytes, first.size() / 100);
}

TEST(CryptoRandom, AFailureLeavesTheBufferAsItWas)
{
    host::InjectFault(host::HostCall::Random, host::ERROR_NOT_SUPPORTED, 0, 2);
    EXPECT_FALSE(host::AcquireCryptoRandom());
    std::array<uint8_t, 4> bytes = {1, 2, 3, 4};
    EXPECT_FALSE(host::GenerateCryptoRandom(bytes.data(), bytes.size()));
    EXPECT_EQ(host::ERROR_NOT_SUPPORTED, host::GetLastError());
    EXPECT_EQ((std::array<uint8_t, 4>{1, 2, 3, 4}), bytes);
}

} // namespace
