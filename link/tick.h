#pragma once

#include <cstdint>

// A monotonic millisecond clock. The link reads time only through this, so tests can
// replace it with a clock they move by hand and never sleep.
class TickSource {
public:
    virtual ~TickSource() = default;
    virtual uint32_t now() = 0;
};

// The clock in use; by default the system's monotonic clock.
TickSource& tickSource();
// Replaces the clock; nullptr restores the system clock. The caller keeps ownership.
void setTickSource(TickSource* source);

// A time-out counted from a start tick. Unsigned arithmetic makes it correct across
// the 32-bit wrap of the tick counter.
class CMyTimer {
public:
    virtual ~CMyTimer() = default;

    void start(uint32_t timeoutMs);
    bool expired() const;

private:
    uint32_t startTick = 0;
    uint32_t timeOut = 0;
};
