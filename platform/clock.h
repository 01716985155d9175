// Milliseconds for timing and time-outs.
#pragma once

#include <cstdint>

extern "C" {

// Milliseconds of a monotonic clock, as a 32-bit count that wraps (about every
// 49.7 days): compare two counts by their unsigned difference, `now - start`.
uint32_t TickCount(void);

}  // extern "C"
