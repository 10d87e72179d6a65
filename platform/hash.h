// platform/hash.h - the program's one family of 64-bit string hashes.
//
// Two shapes, each with a plain and a case-folded variant (folding through a table of 256 bytes,
// such as cp1251_detail::CtypeTable::lower):
//   word_hash / folded_word_hash - eight bytes a step, a shorter tail read in at most two loads:
//     the hash of hash tables keyed by spellings. folded_word_hash(s, lower) is word_hash of s
//     folded, without making the folded copy.
//   key_hash / folded_key_hash - a polynomial over the bytes, P^(n-1) x b[0] + ... + b[n-1]
//     (modulo 2^64), then mixed with the length: the hash of a word one edit away from another is
//     made from the other's prefix and suffix polynomials in a few steps (spelling's KeyHasher)
//     instead of from all its letters again.
// Every hash is a pure function of its bytes (and folding table): tables built with it give the
// same answers on every run, whatever their size.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace hash_detail {

inline constexpr std::uint64_t kSeed = 0xcbf29ce484222325ULL;
inline constexpr std::uint64_t kStep = 0xff51afd7ed558ccdULL;
inline constexpr std::uint64_t kGolden = 0x9e3779b97f4a7c15ULL;

inline std::uint64_t load8(const char* p) {
    std::uint64_t k;
    std::memcpy(&k, p, 8);
    return k;
}
inline std::uint32_t load4(const char* p) {
    std::uint32_t k;
    std::memcpy(&k, p, 4);
    return k;
}
// The same loads with every byte folded through `lower` (byte i of the result is lower[p[i]], as
// a little-endian load of the folded bytes gives it).
inline std::uint64_t load8(const char* p, const unsigned char* lower) {
    std::uint64_t k = 0;
    for (int i = 0; i < 8; ++i) k |= std::uint64_t{lower[static_cast<unsigned char>(p[i])]} << (8 * i);
    return k;
}
inline std::uint32_t load4(const char* p, const unsigned char* lower) {
    std::uint32_t k = 0;
    for (int i = 0; i < 4; ++i) k |= std::uint32_t{lower[static_cast<unsigned char>(p[i])]} << (8 * i);
    return k;
}
// folded_word_hash must equal word_hash of the folded bytes: the plain loads are little-endian too.
static_assert(std::endian::native == std::endian::little);

// word_hash over bytes read through `load` (plain or folded).
template <class Byte, class Load8, class Load4>
inline std::uint64_t word_hash_of(const char* p, std::size_t n, Byte byte, Load8 load_8, Load4 load_4) {
    std::uint64_t h = kSeed ^ (n * kGolden);
    while (n >= 8) {
        h = (h ^ load_8(p)) * kStep;
        h ^= h >> 32;
        p += 8;
        n -= 8;
    }
    if (n >= 4) {
        const std::uint64_t a = load_4(p), b = load_4(p + n - 4);
        h = (h ^ ((a << 32) | b)) * kStep;
    } else if (n > 0) {
        h = (h ^ ((byte(p[0]) << 16) | (byte(p[n >> 1]) << 8) | byte(p[n - 1]))) * kStep;
    }
    h ^= h >> 32;
    h *= kGolden;
    h ^= h >> 29;
    return h;
}

}  // namespace hash_detail

// The hash of bytes as they are.
inline std::uint64_t word_hash(std::string_view bytes) {
    return hash_detail::word_hash_of(
        bytes.data(), bytes.size(), [](char c) { return std::uint64_t{static_cast<unsigned char>(c)}; },
        [](const char* p) { return hash_detail::load8(p); }, [](const char* p) { return hash_detail::load4(p); });
}

// word_hash of the bytes folded through `lower`: texts equal under that folding hash alike.
inline std::uint64_t folded_word_hash(std::string_view bytes, const unsigned char* lower) {
    return hash_detail::word_hash_of(
        bytes.data(), bytes.size(), [lower](char c) { return std::uint64_t{lower[static_cast<unsigned char>(c)]}; },
        [lower](const char* p) { return hash_detail::load8(p, lower); },
        [lower](const char* p) { return hash_detail::load4(p, lower); });
}

// The base of the key polynomial, and the mix of a polynomial with the key's length.
inline constexpr std::uint64_t kKeyHashBase = hash_detail::kGolden;
inline std::uint64_t key_hash_mix(std::uint64_t poly, std::size_t length) {
    std::uint64_t x = poly + length * 0xc2b2ae3d27d4eb4fULL;
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    x ^= x >> 33;
    return x;
}

// The key hash of bytes as they are (a key already folded).
inline std::uint64_t key_hash(std::string_view folded) {
    std::uint64_t p = 0;
    for (unsigned char c : folded) p = p * kKeyHashBase + c;
    return key_hash_mix(p, folded.size());
}

// The key hash of the bytes folded through `lower`.
inline std::uint64_t folded_key_hash(std::string_view word, const unsigned char* lower) {
    std::uint64_t p = 0;
    for (unsigned char c : word) p = p * kKeyHashBase + lower[c];
    return key_hash_mix(p, word.size());
}
