// The palette indices a document's layers use.
//
// A scan reads the pixels of every layer of the document's image size; the
// padding at the end of each row is not read. UsedColorCache keeps the last
// scan and scans again only when the document's content generation has
// moved since, so showing the flags again after no change costs nothing.
#pragma once

#include <array>
#include <cstdint>

class CPelmarkDoc;

namespace document {

struct UsedColors {
    std::array<uint8_t, 256> flags{};  // 1 where the index occurs
    int count = 0;
};

UsedColors ScanLayerColors(const CPelmarkDoc& doc);

class UsedColorCache {
public:
    // The flags of `doc` (all clear for null).
    const UsedColors& Of(const CPelmarkDoc* doc);
    // Scans made so far.
    int ScanCount() const { return scans_; }
    // The next Of scans whatever the document.
    void Forget() { doc_ = nullptr; }

private:
    const CPelmarkDoc* doc_ = nullptr;
    uint64_t generation_ = 0;
    UsedColors colors_;
    int scans_ = 0;
};

}  // namespace document
