// A program-wide count that hands out a fresh number for every change of a
// document's content, so that a number never stands for two states (not even
// of two documents that one after the other live at the same address).
#pragma once

#include <cstdint>

namespace document {

inline uint64_t NextContentGeneration() {
    static uint64_t counter = 0;
    return ++counter;
}

}  // namespace document
