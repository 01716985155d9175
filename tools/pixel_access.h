// One drawing operation on a document: its composite image and layers locked
// from Begin to End, with the pen, colours and tone taken from the document
// and the view. Nothing stays locked between operations.
#pragma once

#include <array>
#include <vector>

#include "imaging/dib_layout.h"
#include "platform/memory.h"
#include "tools/draw_target.h"

class CPelmarkDoc;

namespace tools {

// The document's composite and layers locked for the length of a scope.
// The layer table is taken up to its first missing block (or a block too
// small for the image's size).
class DocLayerLock {
public:
    DocLayerLock() = default;
    ~DocLayerLock() { Unlock(); }
    DocLayerLock(const DocLayerLock&) = delete;
    DocLayerLock& operator=(const DocLayerLock&) = delete;

    // False (and nothing locked) without an image or when the image is not
    // an 8-bit picture whose block holds its rows.
    bool Lock(const CPelmarkDoc& doc);
    void Unlock();
    bool locked() const { return image_ != nullptr; }
    const LayerStack& stack() const { return stack_; }
    // The image's 256 colour-table entries (entries past its table are 0).
    const std::array<PaletteEntry, 256>& colors() const { return colors_; }

private:
    MemHandle image_ = nullptr;
    std::vector<MemHandle> layers_;
    LayerStack stack_;
    std::array<PaletteEntry, 256> colors_{};
};

class PixelAccess {
public:
    PixelAccess() = default;
    ~PixelAccess() { End(); }
    PixelAccess(const PixelAccess&) = delete;
    PixelAccess& operator=(const PixelAccess&) = delete;

    // Opens the operation: without a document or image it does nothing and
    // returns false. Copies pen id, tone flag and both colours from the
    // document (the tone flag and second colour are dropped while
    // `tonePattern` is not 0) and builds the tone mask. Repaints go to `sink`
    // (may be null).
    bool Begin(CPelmarkDoc* doc, int tonePattern, RepaintSink* sink, bool guideEditing = false);
    // Unlocks everything; safe to call when nothing is open.
    void End();
    bool active() const { return lock_.locked(); }

    // The operation's pixels and drawing state; writes through it are
    // no-ops while nothing is open.
    const DrawTarget& target() const { return target_; }
    DrawTarget& target() { return target_; }
    // Only 8-bit images are drawn on.
    static constexpr int kBytesPerPixel = 1;

private:
    DocLayerLock lock_;
    DrawTarget target_;
};

// Recomposes the document's composite from its layers over `rect` (right
// and bottom exclusive), or the whole image when `rect` is null. False when
// the document has no usable image.
bool RecomposeDocument(const CPelmarkDoc& doc, const DibRect* rect = nullptr);

}  // namespace tools
