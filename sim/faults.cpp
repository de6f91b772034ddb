#include "faults.h"

namespace sim {

void FaultTable::set(int code, const Fault& fault) {
    std::lock_guard lock(mutex);
    faults[code] = fault;
}

void FaultTable::clear(int code) {
    std::lock_guard lock(mutex);
    faults.erase(code);
}

void FaultTable::clearAll() {
    std::lock_guard lock(mutex);
    faults.clear();
}

bool FaultTable::empty() const {
    std::lock_guard lock(mutex);
    return faults.empty();
}

std::optional<Fault> FaultTable::take(uint8_t code) {
    std::lock_guard lock(mutex);
    if (auto fault = takeLocked(code)) {
        return fault;
    }
    return takeLocked(kAnyCommand);
}

std::optional<Fault> FaultTable::takeLocked(int key) {
    const auto it = faults.find(key);
    if (it == faults.end()) {
        return std::nullopt;
    }
    Fault fault = it->second;
    if (it->second.times > 0 && --it->second.times == 0) {
        faults.erase(it);
    }
    return fault;
}

}  // namespace sim
