// The animation frame table and its *.can text files.
//
// A table is 128 frames of five signed 32-bit values (x, y, width, height,
// time; time 0 marks an empty frame) in one movable block. A *.can file holds
// one "%d %d %d %d %d" line per frame in use, each ended by CR LF. Pure code
// without Qt: the editor and the animation maker share it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/memory.h"

struct AnimFrame {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    int32_t time;
};
static_assert(sizeof(AnimFrame) == 20, "AnimFrame is five 32-bit values");

inline constexpr int kAnimFrameCount = 128;
using AnimTable = std::array<AnimFrame, kAnimFrameCount>;
static_assert(sizeof(AnimTable) == 2560, "a frame table is 2560 bytes");

namespace can_file {

// A new table, every frame empty (all zero); null without memory.
MemHandle AllocAnimTable();

// One list line: "%d %d %d %d %d" and CR LF.
std::string FrameLine(int32_t x, int32_t y, int32_t width, int32_t height, int32_t time);

// The file's bytes for a table: the lines of the frames in use, in order.
std::string FormatTable(const AnimTable& table);
// Reads a file's bytes into `table`; false for a malformed frame line, with
// `table` as it was. Lines end at CR LF, LF or a lone CR. `framesRead`, when
// given, gets the number of frame lines read (the frames after them are
// empty). The editor and the animation maker both read *.can files here.
bool ParseTable(std::string_view bytes, AnimTable& table, int* framesRead = nullptr);

// The whole file; false when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::string& bytes);

}  // namespace can_file

// The table in the block as a *.can file: 1 on success, 0 when the file
// cannot be written (an old file stays as it was; a link keeps pointing at
// its file, which gets the table).
int SaveCan(MemHandle table, const char* path);
// The table in the block from a *.can file: 1 on success, 0 when the file
// cannot be opened or read or a frame line is malformed (the table stays as
// it was).
int LoadCan(MemHandle table, const char* path);
