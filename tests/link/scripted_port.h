#pragma once

// A serial port that plays a script against a hand-moved clock, so transaction tests run
// the real loop with its time-outs but never sleep.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "frame.h"
#include "serial_port.h"
#include "tick.h"

class FakeClock final : public TickSource {
public:
    explicit FakeClock(uint32_t start = 1000) : ticks(start) { setTickSource(this); }
    ~FakeClock() override { setTickSource(nullptr); }

    uint32_t now() override { return ticks; }
    void advance(uint32_t ms) { ticks += ms; }

private:
    uint32_t ticks;
};

// One burst of bytes the device sends, delayMs after the previous burst (or after the
// request frame for the first burst of a reply).
struct Burst {
    uint32_t delayMs;
    std::string bytes;
};
using Reply = std::vector<Burst>;

struct PortRecord {
    std::vector<std::string> writes;
    int inputPurges = 0;
    int fullPurges = 0;
};

class ScriptedPort final : public SerialPort {
public:
    // Each write of a request frame consumes the next reply; with none left, silence.
    ScriptedPort(FakeClock& clock, std::deque<Reply> replies, PortRecord& record)
        : clock(clock), replies(std::move(replies)), record(record) {}

    size_t read(uint8_t* buffer, size_t capacity) override {
        size_t n = 0;
        while (n < capacity && !pending.empty() && pending.front().due <= clock.now()) {
            buffer[n++] = pending.front().byte;
            pending.pop_front();
        }
        return n;
    }

    bool waitReadable(int timeoutMs) override {
        const uint32_t limit = clock.now() + static_cast<uint32_t>(timeoutMs);
        if (!pending.empty() && pending.front().due <= limit) {
            if (pending.front().due > clock.now()) {
                clock.advance(pending.front().due - clock.now());
            }
            return true;
        }
        clock.advance(static_cast<uint32_t>(timeoutMs));
        return false;
    }

    size_t write(const uint8_t* data, size_t size) override {
        record.writes.emplace_back(reinterpret_cast<const char*>(data), size);
        pending.clear();
        if (!replies.empty()) {
            schedule(replies.front());
            replies.pop_front();
        }
        return size;
    }

    void purgeInput() override { ++record.inputPurges; }
    void purgeAll() override { ++record.fullPurges; }

private:
    struct TimedByte {
        uint32_t due;
        uint8_t byte;
    };

    void schedule(const Reply& reply) {
        uint32_t due = clock.now();
        for (const Burst& burst : reply) {
            due += burst.delayMs;
            for (char c : burst.bytes) {
                pending.push_back({due, static_cast<uint8_t>(c)});
            }
        }
    }

    FakeClock& clock;
    std::deque<Reply> replies;
    PortRecord& record;
    std::deque<TimedByte> pending;
};

// A response frame as a device sends it: the host's sum skips 0x02 bytes.
constexpr DeviceStatus kQuietStatus{0x80, 0x80, 0x80, 0x80, 0x80, 0x80};
std::string makeResponseFrame(uint8_t sequence, uint8_t code, const std::string& data,
                              const DeviceStatus& status = kQuietStatus);
