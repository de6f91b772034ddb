#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"
#include "fiscal_device.h"

namespace sim {

// One thing the line does on the device's side.
struct ReplyStep {
    enum class Kind { Write, Wait, HangUp };
    Kind kind = Kind::Write;
    std::string bytes;    // Write
    uint32_t waitMs = 0;  // Wait
};

// The response frame for an answer, as the host checks it: the sum leaves out bytes that
// the host stores as 0x02.
std::string buildResponseFrame(uint8_t sequence, uint8_t code, std::string_view data,
                               const DeviceStatus& status);

// The device's side of the line: bytes from the host in, what to send back out. Frames
// are checked (NAK on a bad one), requests executed, faults applied.
class SimulatorCore {
public:
    explicit SimulatorCore(FiscalDevice& device);

    // Bytes received at nowMs (any clock in milliseconds); the steps answering every
    // request completed by them, in order.
    std::vector<ReplyStep> receive(std::string_view bytes, uint64_t nowMs);

    FaultTable& faults() { return faultTable; }
    FiscalDevice& device() { return fiscalDevice; }
    // One readable line per request and per answer.
    void setLog(std::function<void(const std::string&)> sink) { log = std::move(sink); }

private:
    std::vector<ReplyStep> handleFrame(std::string_view frameBytes);
    std::vector<ReplyStep> answerRequest(uint8_t sequence, std::string_view request,
                                         const Fault& fault);
    void appendSyn(std::vector<ReplyStep>& steps, uint32_t everyMs, uint32_t forMs, bool jitter);
    void note(const std::string& line);

    FiscalDevice& fiscalDevice;
    FaultTable faultTable;
    std::function<void(const std::string&)> log;
    std::string pending;
    uint64_t lastByteMs = 0;
    // The request being NAKed on purpose, so that its resends are recognised.
    std::string nakRequest;
    int naksLeft = 0;
    Fault nakFault;
    uint32_t jitterState = 0x2545F491u;
};

}  // namespace sim
