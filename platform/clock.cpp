#include "platform/clock.h"

#include <chrono>

extern "C" uint32_t TickCount(void) {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
