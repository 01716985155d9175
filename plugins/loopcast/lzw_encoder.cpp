#include "plugins/loopcast/lzw_encoder.h"

#include <cstring>

namespace {

constexpr uint32_t kEmptySlot = 0xFFFFFFFFu;
constexpr uint32_t kLastCode = 4095;
// Above this many filled slots one sweep over the whole table is cheaper than
// emptying them one by one.
constexpr uint32_t kSweepAbove = kLzwHashSlots / 8;

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
    for (; i < n; ++i) {
        uint32_t b = bytes[i];
        uint32_t key = prefix << 8 | b;
        uint32_t slot = ((key >> 12) ^ key) & (kLzwHashSlots - 1);
        uint32_t entry;
        while ((entry = enc->hash[slot]) != kEmptySlot && (entry >> 12) != key)
            slot = (slot + 1) & (kLzwHashSlots - 1);
        if (entry != kEmptySlot) {
            prefix = entry & 0xFFF;
            continue;
        }
        Emit(enc, prefix);
        if (enc->nextFree < kLastCode) {
            enc->hash[slot] = key << 12 | enc->nextFree++;
            enc->filled[enc->filledCount++] = uint16_t(slot);
        } else {
            Emit(enc, enc->clearCode);
            ResetTable(enc);
        }
        prefix = b;
    }
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
