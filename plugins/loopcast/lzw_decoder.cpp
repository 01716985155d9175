#include "plugins/loopcast/lzw_decoder.h"

#include <algorithm>
#include <cstring>

namespace {

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

// Only codes clear + 2 up to the one the last read was defining can have been
// defined since the table was last reset, so only they are set back.
void ResetTable(LzwDecoder* dec) {
    uint32_t first = dec->clearCode + 2;
    uint32_t end = std::min(dec->counter - 1, kLzwTableSize);
    if (end > first) std::fill(dec->prefix + first, dec->prefix + end, uint16_t(kLzwUndefined));
    dec->counter = dec->clearCode + 2;
    dec->width = dec->minCodeSize + 1;
    dec->limit = 1u << dec->width;
    dec->previous = kLzwUndefined;
}

// Pushes the string of a defined code onto stack[sp..) (suffixes first, its
// first byte on top) and moves sp past it; false (sp unchanged) when the chain
// does not end in a byte within the stack.
inline bool PushString(LzwDecoder* dec, uint32_t clear, uint32_t code, uint32_t& sp) {
    uint8_t* stack = dec->stack;
    uint32_t top = sp;
    while (code >= clear) {
        if (code >= kLzwTableSize || dec->prefix[code] == kLzwUndefined || top >= kLzwTableSize) return false;
        stack[top++] = dec->suffix[code];
        code = dec->prefix[code];
    }
    if (top >= kLzwTableSize) return false;
    stack[top++] = uint8_t(code);
    sp = top;
    return true;
}

}  // namespace

void LzwDecoderStart(LzwDecoder* dec, uint32_t minCodeSize, FILE* in) {
    if (dec->tableKnown) {
        ResetTable(dec);
    } else {
        std::fill(dec->prefix, dec->prefix + kLzwTableSize, uint16_t(kLzwUndefined));
        dec->tableKnown = 1;
    }
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
    dec->counter = dec->clearCode + 2;
    dec->width = minCodeSize + 1;
    dec->limit = 1u << dec->width;
    dec->previous = kLzwUndefined;
}

void LzwDecodeRow(LzwDecoder* dec, uint8_t* row, uint32_t n) {
    // The state that changes with every code is kept in locals while the row
    // fills: every byte stored into the row or the stack might otherwise alias
    // the decoder's fields and send them back to memory. The width limit is
    // always 1 << width.
    uint32_t acc = dec->accumulator, bits = dec->bitCount, width = dec->width, counter = dec->counter;
    uint32_t previous = dec->previous, sp = dec->stackCount;
    bool ended = dec->ended != 0;
    const uint8_t* next = dec->buffer + dec->position;
    const uint8_t* blockEnd = dec->buffer + dec->length;
    const uint32_t clear = dec->clearCode;
    uint8_t* stack = dec->stack;

    uint32_t i = 0;
    while (sp && i < n) row[i++] = stack[--sp];
    while (i < n && !ended) {
        // Sub-block bytes enter the accumulator lowest bits first, as many as
        // fit; the next sub-block is fetched only when a code needs its bits.
        if (bits < width) {
            do {
                if (next == blockEnd) {
                    if (bits >= width) break;
                    if (!FetchSubBlock(dec)) {
                        ended = true;
                        break;
                    }
                    next = dec->buffer;
                    blockEnd = dec->buffer + dec->length;
                }
                acc |= uint32_t(*next++) << bits;
                bits += 8;
            } while (bits <= 24);
            if (ended) break;
        }
        uint32_t code = acc & ((1u << width) - 1);
        acc >>= width;
        bits -= width;
        if (++counter > (1u << width) && width < 12) ++width;

        if (code < clear) {
            // A byte: nothing is waiting on the stack here.
            if (previous != kLzwUndefined && counter - 2 > clear + 1 && counter - 2 < kLzwTableSize) {
                dec->prefix[counter - 2] = uint16_t(previous);
                dec->suffix[counter - 2] = uint8_t(code);
            }
            row[i++] = uint8_t(code);
            previous = code;
            continue;
        }
        if (code == clear + 1) {
            ended = true;
            break;
        }
        if (code == clear) {
            dec->counter = counter;
            ResetTable(dec);
            counter = dec->counter;
            width = dec->width;
            previous = dec->previous;
            continue;
        }
        uint32_t defining = counter - 2;
        uint8_t first;
        if (dec->prefix[code] != kLzwUndefined) {
            if (!PushString(dec, clear, code, sp)) {
                previous = kLzwUndefined;
                break;
            }
            first = stack[sp - 1];
        } else if (code == defining && previous != kLzwUndefined) {
            // The string being defined: the previous string plus its own first byte.
            uint32_t bottom = sp++;
            if (!PushString(dec, clear, previous, sp)) {
                sp = bottom;
                previous = kLzwUndefined;
                break;
            }
            first = stack[sp - 1];
            stack[bottom] = first;
        } else {
            previous = kLzwUndefined;
            break;
        }
        if (previous != kLzwUndefined && defining > clear + 1 && defining < kLzwTableSize) {
            dec->prefix[defining] = uint16_t(previous);
            dec->suffix[defining] = first;
        }
        previous = code;
        while (sp && i < n) row[i++] = stack[--sp];
    }

    dec->accumulator = acc;
    dec->bitCount = bits;
    dec->position = uint32_t(next - dec->buffer);
    dec->length = uint32_t(blockEnd - dec->buffer);
    dec->width = width;
    dec->limit = 1u << width;
    dec->counter = counter;
    dec->previous = previous;
    dec->stackCount = sp;
    dec->ended = ended;
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
