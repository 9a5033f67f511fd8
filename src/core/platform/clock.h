#pragma once
#include <cstdint>
#include <ctime>

namespace kibiki {

class Clock {
public:
    virtual ~Clock() = default;
    // Millisecond counter that wraps at 2^32; differences are taken modulo 2^32.
    virtual std::uint32_t TickCount() = 0;
    // Calendar time in whole seconds.
    virtual std::time_t Now() = 0;
};

}  // namespace kibiki
