// platform/hash.h - the program's one family of 64-bit string hashes.
//
// Two shapes, each with a plain and a case-folded variant (folding through a table of 256 bytes,
// such as cp1251_detail::CtypeTable::lower):
//   word_hash / folded_word_hash - eight bytes a step, a shorter tail read in at most two loads:
//     the hash of hash tables keyed by spellings, and of the lines a panel's sync diffs (four
//     UTF-16 units a step). folded_word_hash(s, lower) is word_hash of s
//     folded, without making the folded copy.
//   key_hash / folded_key_hash - a polynomial over the bytes, P^(n-1) x b[0] + ... + b[n-1]
//     (modulo 2^64), then mixed with the length: the hash of a word one edit away from another is
//     made from the other's prefix and suffix polynomials in a few steps (spelling's KeyHasher)
//     instead of from all its letters again.
// Every hash is a pure function of its bytes (and folding table): tables built with it give the
// same answers on every run, whatever their size.
#pragma once

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
// One step of eight bytes.
inline std::uint64_t step(std::uint64_t h, std::uint64_t k) {
    h = (h ^ k) * kStep;
    return h ^ (h >> 32);
}
// The last n < 8 bytes at p, and the final mix.
inline std::uint64_t finish(std::uint64_t h, const char* p, std::size_t n) {
    if (n >= 4) {
        h = (h ^ ((std::uint64_t{load4(p)} << 32) | load4(p + n - 4))) * kStep;
    } else if (n > 0) {
        const auto at = [p](std::size_t i) { return static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])); };
        h = (h ^ ((at(0) << 16) | (at(n >> 1) << 8) | at(n - 1))) * kStep;
    }
    h ^= h >> 32;
    h *= kGolden;
    h ^= h >> 29;
    return h;
}

}  // namespace hash_detail

// The hash of bytes as they are.
inline std::uint64_t word_hash(std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    std::uint64_t h = hash_detail::kSeed ^ (n * hash_detail::kGolden);
    for (; n >= 8; p += 8, n -= 8) h = hash_detail::step(h, hash_detail::load8(p));
    return hash_detail::finish(h, p, n);
}

// word_hash of the bytes folded through `lower`: texts equal under that folding hash alike. The
// bytes are folded eight at a time into a block and hashed from there.
inline std::uint64_t folded_word_hash(std::string_view bytes, const unsigned char* lower) {
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    std::uint64_t h = hash_detail::kSeed ^ (n * hash_detail::kGolden);
    char block[8];
    const auto fold = [&](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) block[i] = static_cast<char>(lower[static_cast<unsigned char>(p[i])]);
    };
    for (; n >= 8; p += 8, n -= 8) {
        fold(8);
        h = hash_detail::step(h, hash_detail::load8(block));
    }
    fold(n);
    return hash_detail::finish(h, block, n);
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
