#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

#include "frame.h"

namespace sim {

// A fault set for any command code.
constexpr int kAnyCommand = -1;

// Ways to misbehave on purpose. Zero values mean "behave".
struct Fault {
    int nakCount = 0;     // answer NAK to the first N sends of each matching request
    int synEveryMs = 0;   // send SYN every M ms ...
    int synForMs = 0;     // ... for T ms before answering
    bool silent = false;  // never answer
    int noiseBytes = 0;   // bytes of line noise before the frame
    bool badChecksum = false;
    int lenOffset = 0;                     // added to the LEN byte
    int zeroBytes = 0;                     // 0x00 bytes placed inside the data
    std::optional<DeviceStatus> status{};  // status bytes sent instead of the real ones
    int hangUpAfterLines = -1;  // pull the cable when report line K (from 0) is asked for
    int times = -1;             // matching requests it applies to; -1: until cleared
};

// Single faults, for scripting without naming every field.
inline Fault silentFault() {
    Fault f;
    f.silent = true;
    return f;
}
inline Fault nakFault(int count) {
    Fault f;
    f.nakCount = count;
    return f;
}
inline Fault synFault(int everyMs, int forMs) {
    Fault f;
    f.synEveryMs = everyMs;
    f.synForMs = forMs;
    return f;
}
inline Fault statusFault(const DeviceStatus& status) {
    Fault f;
    f.status = status;
    return f;
}
inline Fault hangUpFault(int line) {
    Fault f;
    f.hangUpAfterLines = line;
    return f;
}

// Faults by command code, safe to change from any thread while the device serves.
class FaultTable {
public:
    void set(int code, const Fault& fault);
    void clear(int code);
    void clearAll();
    // The fault for a new request with this code (a code-specific one before the
    // catch-all), using up one of its times.
    std::optional<Fault> take(uint8_t code);
    bool empty() const;

private:
    std::optional<Fault> takeLocked(int key);

    mutable std::mutex mutex;
    std::map<int, Fault> faults;
};

}  // namespace sim
