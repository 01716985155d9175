// Variable-width LZW encoder of GIF image data, writing length-prefixed
// sub-blocks of at most 255 bytes to a stream. The string table is an
// open-addressed hash of 16384 slots (at most a quarter full, so probes stay
// short); codes never pass 12 bits. One encoder may encode image after image:
// its table is emptied in full only the first time, and afterwards only in
// the slots the previous stream filled, so that a small image costs little
// more than its bytes.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr uint32_t kLzwHashSlots = 16384;
constexpr uint32_t kLzwNoPrefix = 4097;
// Codes a table holds at most between two clears.
constexpr uint32_t kLzwMaxEntries = 4096;
constexpr uint32_t kLzwTableUnknown = 0xFFFFFFFFu;

struct LzwEncoder {
    uint32_t minCodeSize;
    uint32_t clearCode;
    uint32_t endCode;
    uint32_t nextFree;
    uint32_t width;
    uint32_t limit;
    uint32_t prefix;  // kLzwNoPrefix before the first byte
    uint32_t accumulator;
    uint32_t bitCount;
    uint32_t done;
    uint32_t pending;
    uint8_t buffer[255];
    // (prefix << 8 | byte) << 12 | code; 0xFFFFFFFF when empty
    uint32_t hash[kLzwHashSlots];
    // The slots filled since the table was last emptied, in filling order;
    // filledCount is kLzwTableUnknown while the table holds whatever the
    // allocation held.
    uint16_t filled[kLzwMaxEntries];
    uint32_t filledCount = kLzwTableUnknown;
    FILE* out;
};

// Starts a stream (minCodeSize 2 to 8) and emits the clear code. The encoder
// may come fresh from new (its table is then emptied in full) or have
// finished an earlier stream.
void LzwEncoderStart(LzwEncoder* enc, uint32_t minCodeSize, FILE* out);
// Feeds bytes; the pending string carries over from one call to the next.
void LzwEncoderFeed(LzwEncoder* enc, const uint8_t* bytes, size_t n);
// Emits the pending string and the end code, flushes the last sub-block and
// the zero-length terminator. Bytes fed afterwards are dropped.
void LzwEncoderFinish(LzwEncoder* enc);
