// Shared by the benchmarks: the small deterministic generator that makes their texts and lists.
#pragma once

#include <cstdint>

// A 64-bit linear congruential generator; each call gives 31 bits of the state's high half.
struct Lcg {
    std::uint64_t s;
    std::uint32_t operator()() {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(s >> 33);
    }
};
