// Shared by the benchmarks: the small deterministic generator that makes their texts and lists.
#pragma once

#include <cstdint>
#include <string>

// A 64-bit linear congruential generator; each call gives 31 bits of the state's high half.
struct Lcg {
    std::uint64_t s;
    std::uint32_t operator()() {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(s >> 33);
    }
};

// `size` bytes of every value, as a binary file holds them (xorshift, the same bytes every time).
inline std::string random_bytes(std::size_t size) {
    std::string bytes(size, '\0');
    std::uint64_t x = 0x9E3779B97F4A7C15ULL;
    for (char& c : bytes) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        c = static_cast<char>(x >> 56);
    }
    return bytes;
}
