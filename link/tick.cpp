#include "tick.h"

#include <chrono>

namespace {

class SteadyTickSource final : public TickSource {
public:
    uint32_t now() override {
        using namespace std::chrono;
        return static_cast<uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

SteadyTickSource steadyTicks;
TickSource* currentSource = &steadyTicks;

}  // namespace

TickSource& tickSource() {
    return *currentSource;
}

void setTickSource(TickSource* source) {
    currentSource = source ? source : &steadyTicks;
}

void CMyTimer::start(uint32_t timeoutMs) {
    startTick = tickSource().now();
    timeOut = timeoutMs;
}

bool CMyTimer::expired() const {
    return tickSource().now() - startTick >= timeOut;
}
