// Opening a VRX file.
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "platform/memory.h"
#include "plugin_api/plugin_api.h"
#include "plugins/vorex32/vorex32_state.h"

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// The whole file; false on a read error.
bool ReadAll(FILE* in, std::vector<uint8_t>& bytes) {
    uint8_t chunk[64 * 1024];
    for (;;) {
        size_t got = std::fread(chunk, 1, sizeof chunk, in);
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) return !std::ferror(in);
    }
}

}  // namespace

uint16_t VrxReadFile(WinHandle host, PluginPathBuffer* path, PluginImage* image) {
    VrxStatus(host, PLUGIN_STATUS_READING);
    auto fail = [&](uint16_t result) {
        VrxStatus(host, PLUGIN_STATUS_CLEAR);
        return result;
    };
    std::unique_ptr<FILE, FileCloser> in(std::fopen(path->path, "rb"));
    if (!in) {
        path->status = 1;
        return fail(PLUGIN_RESULT_CANNOT_OPEN);
    }
    std::vector<uint8_t> bytes;
    if (!ReadAll(in.get(), bytes)) return fail(PLUGIN_RESULT_READ_ERROR);
    in.reset();

    auto picture = std::make_unique<VrxPicture>();
    VrxReadFault fault = VrxReadImage(bytes.data(), bytes.size(), *picture);
    if (fault != VrxReadFault::None) {
        if (const char* message = VrxReadFaultMessage(fault)) VrxError(host, message);
        return fail(VrxReadFaultResult(fault));
    }
    bytes = {};
    MemHandle dib = MemAlloc(VrxDibSize(*picture));
    if (!dib) return fail(PLUGIN_RESULT_NO_MEMORY);
    {
        MemLockGuard lock(dib);
        if (!lock) {
            MemFree(dib);
            return fail(PLUGIN_RESULT_NO_MEMORY);
        }
        VrxFillDib(*picture, lock.get());
    }
    image->image = dib;
    // Direct colours carry no count: the host reduces them.
    image->colors = picture->colors;
    VrxStatus(host, PLUGIN_STATUS_READ_DONE);
    return PLUGIN_RESULT_OK;
}
