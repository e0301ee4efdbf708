#pragma once
// On-disk constants of the compound index and the byte-level helpers shared by its reader and writer.

#include <algorithm>
#include <cstdint>
#include <string>

namespace derode::engine::cdx {

inline constexpr std::uint32_t kPage = 512;
inline constexpr std::uint32_t kHeaderSize = 1024;  // a tag header takes two pages
inline constexpr std::uint32_t kNone = 0xFFFFFFFFu;
inline constexpr int kMaxKeyLength = 240;           // two whole keys must fit in an interior node
inline constexpr int kMaxDepth = 32;
inline constexpr int kLeafHeader = 24;
inline constexpr int kInteriorHeader = 12;
inline constexpr int kTagNameLength = 10;

inline std::uint16_t le16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
inline std::uint32_t be32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}
inline void putLe16(std::uint8_t* p, std::uint32_t v) { p[0] = std::uint8_t(v); p[1] = std::uint8_t(v >> 8); }
inline void putLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
inline void putBe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (24 - 8 * i));
}
// The first 8 bytes of a key (zeros past a shorter key) as a big-endian number: numbers compare
// as the bytes do, and equal numbers leave the decision to the rest of the key.
inline std::uint64_t keyHead(const std::uint8_t* key, int keyLength) {
    std::uint64_t v = 0;
    const int n = std::min(keyLength, 8);
    for (int i = 0; i < n; ++i) v |= std::uint64_t(key[i]) << (56 - 8 * i);
    return v;
}
inline int bitsFor(std::uint64_t v) {
    int b = 0;
    while (v) { ++b; v >>= 1; }
    return b;
}

inline std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return s;
}

// Bit layout of a compact leaf's entries for a key length and a largest record number.
struct LeafLayout {
    int recBits, dupBits, trailBits, bytes;
};
inline LeafLayout leafLayout(int keyLength, std::uint32_t maxRecno) {
    LeafLayout l{};
    l.dupBits = l.trailBits = bitsFor(std::uint64_t(keyLength));
    int need = std::max(bitsFor(maxRecno), 1) + l.dupBits + l.trailBits;
    l.bytes = std::max(3, (need + 7) / 8);
    l.recBits = std::min(32, l.bytes * 8 - l.dupBits - l.trailBits);
    return l;
}

}  // namespace derode::engine::cdx
