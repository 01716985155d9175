// giflib as a black-box peer for the GIF codec's tests and benchmarks, and the
// codec's tree in the same plain form, so that both can be compared.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct GifFile;

namespace gifpeer {

struct Frame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<uint32_t> palette;  // local table, 0x00RRGGBB; empty when none
    std::vector<uint8_t> indices;   // rows top-down, de-interlaced
};

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> palette;  // global table; empty when none
    std::vector<Frame> frames;
};

std::vector<uint8_t> ReadBytes(const std::string& path);

// giflib's view of a file; nullopt when giflib refuses it.
std::optional<Picture> PeerDecode(const std::vector<uint8_t>& bytes);
// giflib's encoding of a picture (GIF89a, no extensions).
std::vector<uint8_t> PeerEncode(const Picture& picture);

// The codec's reading of bytes (null when refused); the caller frees the tree.
GifFile* CodecRead(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> CodecWrite(const GifFile* file);
// The codec's tree in plain form; images without pixels have empty indices.
Picture FromTree(const GifFile* file);
// A tree holding the picture (signature GIF87a, size bits from the table sizes).
GifFile* ToTree(const Picture& picture);

}  // namespace gifpeer
