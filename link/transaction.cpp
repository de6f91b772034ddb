#include "transaction.h"

#include <array>

#include "serial_port.h"
#include "tick.h"

using namespace frame;

uint8_t nextSequenceNumber(uint8_t sequence) {
    const auto next = static_cast<uint8_t>(sequence + 1);
    return next == 0 ? 0x20 : next;
}

namespace {

// Bytes are read from the port in chunks but fed to the frame loop one at a time, so
// every byte is looked at exactly as if it had been read alone.
class ByteReader {
public:
    explicit ByteReader(SerialPort& port) : port(port) {}

    // The next received byte, or -1 after waiting up to the idle wait for one.
    int next() {
        if (pos == filled) {
            refill();
            if (pos == filled) {
                port.waitReadable(transaction::kIdleWaitMs);
                refill();
                if (pos == filled) {
                    return -1;
                }
            }
        }
        return chunk[pos++];
    }

    // Input still buffered here is dropped together with the port's own on a resend.
    void discard() { pos = filled = 0; }

private:
    void refill() {
        pos = 0;
        filled = port.read(chunk.data(), chunk.size());
    }

    SerialPort& port;
    std::array<uint8_t, 256> chunk{};
    size_t pos = 0;
    size_t filled = 0;
};

enum class Step { Continue, Resend, Accepted, Timeout };

class Exchange {
public:
    Exchange(SerialPort& port, std::string frameBytes)
        : port(port), reader(port), frameBytes(std::move(frameBytes)) {}

    int run(std::string& response, DeviceStatus& status) {
        int budget = transaction::kSendBudget;
        send();
        for (;;) {
            switch (step()) {
                case Step::Continue:
                    break;
                case Step::Resend:
                    if (--budget > 0) {
                        send();
                        break;
                    }
                    return kLinkNak;
                case Step::Accepted:
                    status = responseStatus(buffer);
                    response = responseData(buffer);
                    return kLinkSuccess;
                case Step::Timeout:
                    return kLinkTimeout;
            }
        }
    }

private:
    void send() {
        port.purgeInput();
        reader.discard();
        port.write(reinterpret_cast<const uint8_t*>(frameBytes.data()), frameBytes.size());
        timer.start(transaction::kResponseTimeoutMs);
        buffer.clear();
    }

    // Reads one byte (or waits for one) and decides what happens next.
    Step step() {
        const int b = reader.next();
        if (b == kSyn) {
            timer.start(transaction::kResponseTimeoutMs);
            return Step::Continue;
        }
        if (b == kNak) {
            return Step::Resend;
        }
        if (b >= 0) {
            buffer.push_back(static_cast<char>(b == 0 ? kStoredZero : b));
        }
        if (CheckResponseFrame(buffer)) {
            return Step::Accepted;
        }
        return timer.expired() ? Step::Timeout : Step::Continue;
    }

    SerialPort& port;
    ByteReader reader;
    std::string frameBytes;
    std::string buffer;
    CMyTimer timer;
};

}  // namespace

int Transact(const std::string& request, std::string& response, DeviceStatus& status) {
    LinkState& link = linkState();
    if (!link.port) {
        return kLinkPortClosed;
    }
    Exchange exchange(*link.port, buildRequestFrame(request, link.sequenceNumber));
    const int result = exchange.run(response, status);
    link.sequenceNumber = nextSequenceNumber(link.sequenceNumber);
    return result;
}
