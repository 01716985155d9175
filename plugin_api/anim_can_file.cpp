#include "plugin_api/anim_can_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/safe_save.h"

namespace can_file {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSign(char c) { return c == '+' || c == '-'; }

// One number of a frame line from `p` on: blanks and 0x1A skipped, then an
// optional sign and its digits (a sign alone reads 0). False when no number
// starts there or it is outside the int32 range.
bool ReadNumber(std::string_view line, size_t& p, int32_t& value) {
    while (p < line.size() && (line[p] == ' ' || line[p] == '\t' || line[p] == 0x1A)) ++p;
    if (p >= line.size() || !(IsDigit(line[p]) || IsSign(line[p]))) return false;
    bool negative = false;
    if (IsSign(line[p])) negative = line[p++] == '-';
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t(INT32_MAX) + 1;
    while (p < line.size() && IsDigit(line[p])) {
        magnitude = magnitude * 10 + (line[p++] - '0');
        if (magnitude > kLimit) return false;
    }
    if (!negative && magnitude > INT32_MAX) return false;
    value = int32_t(negative ? -magnitude : magnitude);
    return true;
}

}  // namespace

MemHandle AllocAnimTable() {
    MemHandle h = MemAlloc(sizeof(AnimTable));
    if (!h) return nullptr;
    if (void* p = MemLock(h)) {
        std::memset(p, 0, sizeof(AnimTable));
        MemUnlock(h);
        return h;
    }
    MemFree(h);
    return nullptr;
}

std::string FrameLine(int32_t x, int32_t y, int32_t width, int32_t height, int32_t time) {
    char line[80];
    int n = std::snprintf(line, sizeof line, "%d %d %d %d %d\r\n", x, y, width, height, time);
    return std::string(line, size_t(n));
}

std::string FormatTable(const AnimTable& table) {
    std::string bytes;
    for (const AnimFrame& f : table)
        if (f.time != 0) bytes += FrameLine(f.x, f.y, f.width, f.height, f.time);
    return bytes;
}

bool ParseTable(std::string_view bytes, AnimTable& table, int* framesRead) {
    AnimTable read{};
    size_t pos = 0;
    int index = 0;
    while (pos < bytes.size() && index < kAnimFrameCount) {
        size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos++] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
        if (line.empty() || !(IsDigit(line[0]) || IsSign(line[0]))) continue;
        int32_t v[5];
        size_t p = 0;
        for (int32_t& value : v)
            if (!ReadNumber(line, p, value)) return false;
        read[size_t(index++)] = {v[0], v[1], v[2], v[3], v[4]};
    }
    table = read;
    if (framesRead) *framesRead = index;
    return true;
}

bool ReadWholeFile(const char* path, std::string& bytes) {
    if (!path) return false;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    std::string read;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) read.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (ok) bytes = std::move(read);
    return ok;
}

}  // namespace can_file

int SaveCan(MemHandle table, const char* path) {
    std::string bytes;
    {
        MemLockGuard lock(table);
        if (!lock || lock.size() < sizeof(AnimTable)) return 0;
        AnimTable frames;
        std::memcpy(&frames, lock.get(), sizeof frames);
        bytes = can_file::FormatTable(frames);
    }
    return path && platform::SaveFileSafely(path, bytes) ? 1 : 0;
}

int LoadCan(MemHandle table, const char* path) {
    std::string bytes;
    if (!can_file::ReadWholeFile(path, bytes)) return 0;
    MemLockGuard lock(table);
    if (!lock || lock.size() < sizeof(AnimTable)) return 0;
    AnimTable frames;
    std::memcpy(&frames, lock.get(), sizeof frames);
    if (!can_file::ParseTable(bytes, frames)) return 0;
    std::memcpy(lock.get(), &frames, sizeof frames);
    return 1;
}
