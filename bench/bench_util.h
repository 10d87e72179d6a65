// Helpers shared by the benchmark programs: a small deterministic random generator, so that every
// run of a benchmark works on the same generated data.
#pragma once

#include <cstdint>

// A linear congruential generator (the 64-bit constants of Knuth's MMIX), high bits returned.
struct Lcg {
    std::uint64_t s;
    std::uint32_t operator()() {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(s >> 33);
    }
};
