#include "twain/scan_dib.h"

#include <algorithm>
#include <cstring>

#include "imaging/dib_geometry.h"
#include "imaging/dib_layout.h"

namespace twain {

namespace {

bool DepthKnown(int depth) { return depth == 1 || depth == 8 || depth == 16; }

// Sample `x` of a row with the given depth, as 0..255.
uint8_t Sample(const uint8_t* row, int depth, int index) {
    switch (depth) {
    case 1: return ((row[index >> 3] >> (7 - (index & 7))) & 1) ? 255 : 0;
    case 8: return row[index];
    default: {
        uint16_t value;
        std::memcpy(&value, row + size_t(index) * 2, 2);
        return uint8_t(value >> 8);
    }
    }
}

// The frame that carries a channel (0 red, 1 green, 2 blue) of a three-pass
// scan, or null.
const ScanFrame* ChannelFrame(const std::vector<ScanFrame>& frames, SANE_Frame format) {
    for (const ScanFrame& f : frames)
        if (f.parameters.format == format) return &f;
    return nullptr;
}

bool IsThreePass(const std::vector<ScanFrame>& frames) {
    return frames.size() == 3 && ChannelFrame(frames, SANE_FRAME_RED) &&
           ChannelFrame(frames, SANE_FRAME_GREEN) && ChannelFrame(frames, SANE_FRAME_BLUE);
}

bool FrameHasPixels(const ScanFrame& f) {
    const SANE_Parameters& p = f.parameters;
    if (!DepthKnown(p.depth) || p.pixels_per_line <= 0 || f.Rows() <= 0) return false;
    int samples = p.format == SANE_FRAME_RGB ? 3 : 1;
    int64_t needed = (int64_t(p.pixels_per_line) * samples * p.depth + 7) / 8;
    return p.bytes_per_line >= needed;
}

}  // namespace

int ScanFrame::Rows() const {
    if (parameters.bytes_per_line <= 0) return 0;
    int64_t arrived = int64_t(data.size()) / parameters.bytes_per_line;
    int64_t rows = parameters.lines < 0 ? arrived : std::min<int64_t>(parameters.lines, arrived);
    return int(std::min<int64_t>(rows, INT32_MAX));
}

bool ScanFramesUsable(const std::vector<ScanFrame>& frames) {
    if (frames.size() == 1) {
        SANE_Frame format = frames[0].parameters.format;
        return (format == SANE_FRAME_GRAY || format == SANE_FRAME_RGB) && FrameHasPixels(frames[0]);
    }
    if (!IsThreePass(frames)) return false;
    const SANE_Parameters& first = frames[0].parameters;
    for (const ScanFrame& f : frames)
        if (!FrameHasPixels(f) || f.parameters.pixels_per_line != first.pixels_per_line ||
            f.parameters.depth != first.depth)
            return false;
    return true;
}

int ScanWidth(const std::vector<ScanFrame>& frames) {
    return ScanFramesUsable(frames) ? frames[0].parameters.pixels_per_line : 0;
}

int ScanHeight(const std::vector<ScanFrame>& frames) {
    if (!ScanFramesUsable(frames)) return 0;
    int rows = frames[0].Rows();
    for (const ScanFrame& f : frames) rows = std::min(rows, f.Rows());
    return rows;
}

MemHandle ScanFramesToDib(const std::vector<ScanFrame>& frames) {
    if (!ScanFramesUsable(frames)) return nullptr;
    const int width = ScanWidth(frames), height = ScanHeight(frames);
    const SANE_Parameters& first = frames[0].parameters;
    const bool grey = frames.size() == 1 && first.format == SANE_FRAME_GRAY;
    const int bits = grey ? (first.depth == 1 ? 1 : 8) : 24;
    const int entries = bits == 1 ? 2 : bits == 8 ? 256 : 0;
    const size_t stride = dib::PaddedRowBytes(width, bits);
    const uint64_t bitsOffset = DIB_INFO_HEADER_SIZE + uint64_t(entries) * 4;
    const uint64_t size = bitsOffset + uint64_t(stride) * uint64_t(height);
    if (size > SIZE_MAX) return nullptr;
    MemHandle result = dib::NewInfoDib(width, height, bits, size);
    MemLockGuard out(result);
    if (!out) {
        if (result) MemFree(result);
        return nullptr;
    }
    auto* info = out.as<DibInfoHeader>();
    info->clrUsed = uint32_t(entries);
    auto* table = reinterpret_cast<PaletteEntry*>(out.get() + DIB_INFO_HEADER_SIZE);
    if (bits == 1) {
        table[0] = PaletteEntry{255, 255, 255, 0};
        table[1] = PaletteEntry{0, 0, 0, 0};
    } else if (bits == 8) {
        for (int i = 0; i < 256; ++i) table[i] = PaletteEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
    }
    uint8_t* pixels = out.get() + bitsOffset;

    // Source rows come top first; the DIB's bottom row is stored first.
    auto destinationRow = [&](int y) { return pixels + size_t(height - 1 - y) * stride; };
    auto sourceRow = [](const ScanFrame& f, int y) {
        return f.data.data() + size_t(y) * size_t(f.parameters.bytes_per_line);
    };
    const int depth = first.depth;
    for (int y = 0; y < height; ++y) {
        uint8_t* d = destinationRow(y);
        if (bits == 1) {
            std::memcpy(d, sourceRow(frames[0], y), size_t(width + 7) / 8);
        } else if (bits == 8) {
            const uint8_t* s = sourceRow(frames[0], y);
            for (int x = 0; x < width; ++x) d[x] = Sample(s, depth, x);
        } else if (frames.size() == 1) {
            const uint8_t* s = sourceRow(frames[0], y);
            for (int x = 0; x < width; ++x) {
                d[x * 3 + 2] = Sample(s, depth, x * 3);
                d[x * 3 + 1] = Sample(s, depth, x * 3 + 1);
                d[x * 3 + 0] = Sample(s, depth, x * 3 + 2);
            }
        } else {
            const SANE_Frame channels[3] = {SANE_FRAME_BLUE, SANE_FRAME_GREEN, SANE_FRAME_RED};
            for (int c = 0; c < 3; ++c) {
                const uint8_t* s = sourceRow(*ChannelFrame(frames, channels[c]), y);
                for (int x = 0; x < width; ++x) d[x * 3 + c] = Sample(s, depth, x);
            }
        }
    }
    return result;
}

}  // namespace twain
