// Saving a VRX file: every byte is ready before the file is made.
#include <cstdio>
#include <vector>

#include "platform/memory.h"
#include "plugin_api/plugin_api.h"
#include "plugins/vorex32/vorex32_state.h"

uint16_t VrxWriteFile(WinHandle host, PluginPathBuffer* path, PluginImage* image) {
    auto fail = [&](uint16_t result) {
        VrxStatus(host, PLUGIN_STATUS_CLEAR);
        return result;
    };
    const VrxWriteOptions& options = Vorex32().options;
    std::vector<uint8_t> bytes;
    {
        MemLockGuard lock(image->image);
        if (!lock) return fail(PLUGIN_RESULT_NO_MEMORY);
        VrxWriteFault fault = VrxCheckImage(lock.get(), lock.size(), options);
        if (fault == VrxWriteFault::Unsupported) return fail(PLUGIN_RESULT_BAD_FORMAT);
        if (fault != VrxWriteFault::None) {
            VrxError(host, VrxWriteFaultMessage(fault));
            return fail(PLUGIN_RESULT_READ_ERROR);
        }
        VrxStatus(host, PLUGIN_STATUS_COMPRESSING);
        bytes = VrxWriteImage(lock.get(), lock.size(), options);
    }
    VrxStatus(host, PLUGIN_STATUS_WRITING);
    FILE* out = std::fopen(path->path, "wb");
    if (!out) {
        path->status = 1;
        return fail(PLUGIN_RESULT_CANNOT_OPEN);
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    written = std::fclose(out) == 0 && written;
    if (!written) {
        std::remove(path->path);
        return fail(PLUGIN_RESULT_WRITE_ERROR);
    }
    VrxStatus(host, PLUGIN_STATUS_WRITE_DONE);
    return PLUGIN_RESULT_OK;
}
