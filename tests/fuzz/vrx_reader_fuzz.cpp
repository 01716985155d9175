// Feeds arbitrary bytes to the VRX reader, builds the DIB of what it read
// and checks that the picture holds exactly the image's pixels.
#include <cstdint>
#include <vector>

#include "plugins/vorex32/vrx_image.h"
#include "plugins/vorex32/vrx_lz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VrxPicture picture;
    if (VrxReadImage(data, size, picture) == VrxReadFault::None) {
        const VrxImageBlock& im = picture.image;
        const size_t bytesPerRow = im.type == VRX_PIXELS_4BIT ? size_t(im.width) / 2
                                   : im.type == VRX_PIXELS_8BIT ? size_t(im.width)
                                                                : size_t(im.width) * (im.type == VRX_PIXELS_16BIT ? 2 : im.type == VRX_PIXELS_24BIT ? 3 : 4);
        if (picture.pixels.size() != bytesPerRow * size_t(im.height)) __builtin_trap();
        std::vector<uint8_t> dib(VrxDibSize(picture));
        VrxFillDib(picture, dib.data());
    }
    // The stream decoder on its own, into a small output.
    uint8_t out[512];
    size_t produced = 0;
    VrxDecompress(data, size, out, sizeof out, &produced);
    if (produced > sizeof out) __builtin_trap();
    return 0;
}
