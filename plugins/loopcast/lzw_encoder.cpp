#include "plugins/loopcast/lzw_encoder.h"

#include <bit>
#include <cstring>

namespace {

constexpr uint32_t kEmptySlot = 0xFFFFFFFFu;
constexpr uint32_t kLastCode = 4095;
// Above this many filled slots one sweep over the whole table is cheaper than
// emptying them one by one.
constexpr uint32_t kSweepAbove = kLzwHashSlots / 8;
constexpr int kSlotBits = std::countr_zero(kLzwHashSlots);
static_assert(kLzwHashSlots == 1u << kSlotBits);

// The first slot to probe for a key: a multiplicative hash, which spreads the
// neighbouring keys of a photo's strings over the whole table.
inline uint32_t Slot(uint32_t key) { return (key * 0x9E3779B1u) >> (32 - kSlotBits); }

void PutByte(LzwEncoder* enc, uint8_t b) {
    enc->buffer[enc->pending++] = b;
    if (enc->pending == 255) {
        std::putc(255, enc->out);
        std::fwrite(enc->buffer, 1, 255, enc->out);
        enc->pending = 0;
    }
}

void Emit(LzwEncoder* enc, uint32_t code) {
    enc->accumulator |= code << enc->bitCount;
    enc->bitCount += enc->width;
    while (enc->bitCount >= 8) {
        PutByte(enc, uint8_t(enc->accumulator));
        enc->accumulator >>= 8;
        enc->bitCount -= 8;
    }
    if (enc->nextFree >= enc->limit && enc->width < 12) {
        ++enc->width;
        enc->limit <<= 1;
    }
}

void ResetTable(LzwEncoder* enc) {
    enc->nextFree = enc->clearCode + 2;
    enc->width = enc->minCodeSize + 1;
    enc->limit = 1u << enc->width;
    if (enc->filledCount > kSweepAbove) {
        std::memset(enc->hash, 0xFF, sizeof enc->hash);
    } else {
        for (uint32_t i = 0; i < enc->filledCount; ++i) enc->hash[enc->filled[i]] = kEmptySlot;
    }
    enc->filledCount = 0;
}

}  // namespace

void LzwEncoderStart(LzwEncoder* enc, uint32_t minCodeSize, FILE* out) {
    enc->minCodeSize = minCodeSize;
    enc->clearCode = 1u << minCodeSize;
    enc->endCode = enc->clearCode + 1;
    enc->prefix = kLzwNoPrefix;
    enc->accumulator = 0;
    enc->bitCount = 0;
    enc->done = 0;
    enc->pending = 0;
    enc->out = out;
    ResetTable(enc);
    Emit(enc, enc->clearCode);
}

void LzwEncoderFeed(LzwEncoder* enc, const uint8_t* bytes, size_t n) {
    if (enc->done || n == 0) return;
    size_t i = 0;
    uint32_t prefix = enc->prefix;
    if (prefix == kLzwNoPrefix) prefix = bytes[i++];
    // The loop's state stays in registers; it goes back to the encoder only
    // around a table reset and at the end.
    uint64_t accumulator = enc->accumulator;
    uint32_t bitCount = enc->bitCount;
    uint32_t width = enc->width;
    uint32_t limit = enc->limit;
    uint32_t nextFree = enc->nextFree;
    uint32_t* const hash = enc->hash;
    auto emit = [&](uint32_t code) {
        accumulator |= uint64_t(code) << bitCount;
        bitCount += width;
        if (bitCount >= 32) {
            for (int k = 0; k < 4; ++k) PutByte(enc, uint8_t(accumulator >> (8 * k)));
            accumulator >>= 32;
            bitCount -= 32;
        }
        if (nextFree >= limit && width < 12) {
            ++width;
            limit <<= 1;
        }
    };
    for (; i < n; ++i) {
        uint32_t b = bytes[i];
        uint32_t key = prefix << 8 | b;
        uint32_t slot = Slot(key);
        uint32_t entry;
        while ((entry = hash[slot]) != kEmptySlot && (entry >> 12) != key)
            slot = (slot + 1) & (kLzwHashSlots - 1);
        if (entry != kEmptySlot) {
            prefix = entry & 0xFFF;
            continue;
        }
        emit(prefix);
        if (nextFree < kLastCode) {
            hash[slot] = key << 12 | nextFree++;
            enc->filled[enc->filledCount++] = uint16_t(slot);
        } else {
            emit(enc->clearCode);
            ResetTable(enc);
            width = enc->width;
            limit = enc->limit;
            nextFree = enc->nextFree;
        }
        prefix = b;
    }
    // Whole bytes out, so that the rest fits the encoder's 32-bit accumulator.
    while (bitCount >= 8) {
        PutByte(enc, uint8_t(accumulator));
        accumulator >>= 8;
        bitCount -= 8;
    }
    enc->accumulator = uint32_t(accumulator);
    enc->bitCount = bitCount;
    enc->width = width;
    enc->limit = limit;
    enc->nextFree = nextFree;
    enc->prefix = prefix;
}

void LzwEncoderFinish(LzwEncoder* enc) {
    if (enc->done) return;
    if (enc->prefix != kLzwNoPrefix) Emit(enc, enc->prefix);
    Emit(enc, enc->endCode);
    if (enc->bitCount > 0) PutByte(enc, uint8_t(enc->accumulator));
    enc->accumulator = 0;
    enc->bitCount = 0;
    if (enc->pending) {
        std::putc(int(enc->pending), enc->out);
        std::fwrite(enc->buffer, 1, enc->pending, enc->out);
        enc->pending = 0;
    }
    std::putc(0, enc->out);
    enc->done = 1;
}
