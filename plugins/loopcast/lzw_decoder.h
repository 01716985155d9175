// Variable-width LZW decoder of GIF image data, reading length-prefixed
// sub-blocks from a stream and decoding straight into pixel rows through a
// 4096-byte stack. Codes that would pass 4095 never occur: the minimum code
// size is checked by the caller (LzwValidMinCodeSize). One decoder may decode
// stream after stream: its prefix table is set undefined in full only the
// first time, and afterwards only where the stream before defined codes.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr uint32_t kLzwUndefined = 4098;
constexpr uint32_t kLzwTableSize = 4096;

struct LzwDecoder {
    uint32_t minCodeSize;
    uint32_t clearCode;
    uint32_t endCode;
    uint32_t counter;  // after a read, the code being defined is counter - 2
    uint32_t width;
    uint32_t limit;
    uint32_t previous;  // kLzwUndefined when there is none
    uint32_t stackCount;
    uint32_t accumulator;
    uint32_t bitCount;
    uint32_t done;   // the zero-length terminator (or the end of the stream) was met
    uint32_t ended;  // the end code came, or the data ran out
    uint32_t position;
    uint32_t length;
    uint8_t buffer[255];
    uint8_t stack[kLzwTableSize];
    uint8_t suffix[kLzwTableSize];
    uint16_t prefix[kLzwTableSize];
    // 0 until the prefix table was first set undefined in full; from then on
    // only the codes clear + 2 up to the one the last read was defining can
    // be defined.
    uint32_t tableKnown = 0;
    FILE* in;
};

// 1 to 11: every code of such a stream fits in 12 bits.
inline bool LzwValidMinCodeSize(uint32_t m) { return m >= 1 && m <= 11; }

// The decoder may come fresh from new or have decoded an earlier stream.
void LzwDecoderStart(LzwDecoder* dec, uint32_t minCodeSize, FILE* in);
// Fills row[0..n) with the next n decoded bytes. Bytes of a string that do
// not fit stay on the stack for the next call. An invalid code stops the row
// (its remaining bytes keep their values); the end code or the end of the data
// stops this and every later row.
void LzwDecodeRow(LzwDecoder* dec, uint8_t* row, uint32_t n);
// Skips the rest of the data up to and including its zero-length terminator.
void LzwDecoderSkipRest(LzwDecoder* dec);

// Skips sub-blocks up to and including a zero-length one (or the end of the
// stream).
void GifSkipSubBlocks(FILE* in);
