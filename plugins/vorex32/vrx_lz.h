// The LZ stream of VRX files: a 4-byte header (0xA0 | variant, then the body
// length, 24-bit big-endian) and a body. Variant 0 stores the data; variants
// 1 to 5 are groups of a 32-bit big-endian flag word and up to 32 items, bit
// k of the word for item k: clear a literal byte, set a 16-bit big-endian
// copy whose low offset bits are the distance back and whose high bits the
// length - 3. The decompressed length is not stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kVrxStreamHeaderSize = 4;
constexpr size_t kVrxMaxBody = 0xFFFFFF;  // the header's 24 bits
constexpr int kVrxVariants = 5;
constexpr uint32_t kVrxMinMatch = 3;

struct VrxLzVariant {
    uint32_t offsetBits;
    uint32_t window;    // the longest distance
    uint32_t maxMatch;  // the longest copy
};

// Variant 1..5.
constexpr VrxLzVariant VrxVariant(int variant) {
    uint32_t bits = uint32_t(8 + variant);
    return {bits, (1u << bits) - 1, (1u << (16 - bits)) - 1 + kVrxMinMatch};
}

// The body variant 1..5 gives for `data` under the match rule: literals up to
// the fourth byte; at every later position the longest earlier match within
// the window that does not reach the position, the earliest on a tie, used
// when at least 3 bytes long; groups close after 32 items or at the end.
std::vector<uint8_t> VrxCompressBody(const uint8_t* data, size_t size, int variant);

// The whole stream: the smallest of the five bodies (the lower variant on a
// tie), or the data stored (variant 0) when they are shorter than it. False
// (and `stream` empty) when the body does not fit the header's 24 bits.
bool VrxCompress(const uint8_t* data, size_t size, std::vector<uint8_t>& stream);

// Decodes the stream of `size` bytes into `out` (capacity `capacity`); bytes
// it does not reach are left as they are and nothing is written past the
// capacity. A body length past the end of the input is cut to it; decoding
// stops when the body is used up or the output is full. False for a variant
// above 5, a copy from distance 0 or from before the output's start, an item
// cut by the body's end, or a stream shorter than its header. `produced`
// receives the bytes written either way.
bool VrxDecompress(const uint8_t* stream, size_t size, uint8_t* out, size_t capacity,
                   size_t* produced = nullptr);
