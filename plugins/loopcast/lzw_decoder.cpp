#include "plugins/loopcast/lzw_decoder.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kNoCode = 0xFFFFFFFFu;

// Reads the next sub-block into the buffer; false at the terminator or the
// end of the stream. A short read fills the missing bytes with 0.
bool FetchSubBlock(LzwDecoder* dec) {
    if (dec->done) return false;
    int n = std::getc(dec->in);
    if (n <= 0) {
        dec->done = 1;
        return false;
    }
    size_t got = std::fread(dec->buffer, 1, size_t(n), dec->in);
    if (got < size_t(n)) std::memset(dec->buffer + got, 0, size_t(n) - got);
    dec->position = 0;
    dec->length = uint32_t(n);
    return true;
}

inline uint32_t ReadCode(LzwDecoder* dec) {
    while (dec->bitCount < dec->width) {
        if (dec->position == dec->length && !FetchSubBlock(dec)) return kNoCode;
        dec->accumulator |= uint32_t(dec->buffer[dec->position++]) << dec->bitCount;
        dec->bitCount += 8;
    }
    uint32_t code = dec->accumulator & ((1u << dec->width) - 1);
    dec->accumulator >>= dec->width;
    dec->bitCount -= dec->width;
    if (++dec->counter > dec->limit && dec->width < 12) {
        dec->limit <<= 1;
        ++dec->width;
    }
    return code;
}

void ResetTable(LzwDecoder* dec) {
    dec->counter = dec->clearCode + 2;
    dec->width = dec->minCodeSize + 1;
    dec->limit = 1u << dec->width;
    dec->previous = kLzwUndefined;
    std::fill(dec->prefix, dec->prefix + kLzwTableSize, uint16_t(kLzwUndefined));
}

// Pushes the string of a defined code (suffixes first, its first byte on top);
// false when the chain does not end in a byte within the stack.
inline bool PushString(LzwDecoder* dec, uint32_t code) {
    uint32_t sp = dec->stackCount;
    while (code >= dec->clearCode) {
        if (code >= kLzwTableSize || dec->prefix[code] == kLzwUndefined || sp >= kLzwTableSize)
            return false;
        dec->stack[sp++] = dec->suffix[code];
        code = dec->prefix[code];
    }
    if (sp >= kLzwTableSize) return false;
    dec->stack[sp++] = uint8_t(code);
    dec->stackCount = sp;
    return true;
}

}  // namespace

void LzwDecoderStart(LzwDecoder* dec, uint32_t minCodeSize, FILE* in) {
    dec->minCodeSize = minCodeSize;
    dec->clearCode = 1u << minCodeSize;
    dec->endCode = dec->clearCode + 1;
    dec->stackCount = 0;
    dec->accumulator = 0;
    dec->bitCount = 0;
    dec->done = 0;
    dec->ended = 0;
    dec->position = 0;
    dec->length = 0;
    dec->in = in;
    ResetTable(dec);
}

void LzwDecodeRow(LzwDecoder* dec, uint8_t* row, uint32_t n) {
    uint32_t i = 0;
    while (dec->stackCount && i < n) row[i++] = dec->stack[--dec->stackCount];
    while (i < n && !dec->ended) {
        uint32_t code = ReadCode(dec);
        if (code == kNoCode || code == dec->endCode) {
            dec->ended = 1;
            return;
        }
        if (code == dec->clearCode) {
            ResetTable(dec);
            continue;
        }
        uint32_t defining = dec->counter - 2;
        uint8_t first;
        if (code < dec->clearCode) {
            first = uint8_t(code);
            row[i++] = first;
        } else if (dec->prefix[code] != kLzwUndefined) {
            if (!PushString(dec, code)) {
                dec->previous = kLzwUndefined;
                return;
            }
            first = dec->stack[dec->stackCount - 1];
        } else if (code == defining && dec->previous != kLzwUndefined) {
            // The string being defined: the previous string plus its own first byte.
            uint32_t bottom = dec->stackCount++;
            if (!PushString(dec, dec->previous)) {
                dec->stackCount = bottom;
                dec->previous = kLzwUndefined;
                return;
            }
            first = dec->stack[dec->stackCount - 1];
            dec->stack[bottom] = first;
        } else {
            dec->previous = kLzwUndefined;
            return;
        }
        if (dec->previous != kLzwUndefined && defining > dec->endCode && defining < kLzwTableSize) {
            dec->prefix[defining] = uint16_t(dec->previous);
            dec->suffix[defining] = first;
        }
        dec->previous = code;
        while (dec->stackCount && i < n) row[i++] = dec->stack[--dec->stackCount];
    }
}

void LzwDecoderSkipRest(LzwDecoder* dec) {
    while (FetchSubBlock(dec)) {
    }
}

void GifSkipSubBlocks(FILE* in) {
    uint8_t scratch[255];
    for (;;) {
        int n = std::getc(in);
        if (n <= 0) return;
        if (std::fread(scratch, 1, size_t(n), in) < size_t(n)) return;
    }
}
