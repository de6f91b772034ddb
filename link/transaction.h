#pragma once

#include <cstdint>
#include <string>

#include "frame.h"

// Link result codes of a transaction and of opening a port.
enum LinkResult : int {
    kLinkSuccess = 0,
    kLinkCannotOpen = 1,
    kLinkPortClosed = 2,
    kLinkNotResponding = 3,
    kLinkNak = 4,
    kLinkTimeout = 5,
};

namespace transaction {
constexpr uint32_t kResponseTimeoutMs = 400;
constexpr int kSendBudget = 3;
constexpr int kIdleWaitMs = 10;
}  // namespace transaction

// One request frame out, one response frame back, honouring SYN and NAK.
int Transact(const std::string& request, std::string& response, DeviceStatus& status);

// Moves the sequence byte on: 0xFF is followed by 0x20.
uint8_t nextSequenceNumber(uint8_t sequence);
