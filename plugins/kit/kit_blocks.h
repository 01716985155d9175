// Memory block helpers of the plug-ins.
#pragma once

#include "platform/memory.h"

// A new block of the same size with the same bytes; null for a null handle or
// a failed allocation.
MemHandle GlobalDuplicate(MemHandle block);
// Frees the block unless the handle is null.
void GlobalFreeSafe(MemHandle block);

// The message box a plug-in shows when GlobalSwapBlocks cannot swap (its own
// text and caption; default "内存不足" / "error"). The texts must outlive
// every call (string literals).
void SetKitMemoryMessage(const char* text, const char* caption);

// Exchanges the contents of two blocks of equal size through a temporary
// block. A null handle, different sizes, a failed lock or allocation: the
// memory message box (no owner, OK) and nothing is exchanged. True when
// swapped.
bool GlobalSwapBlocks(MemHandle a, MemHandle b);
