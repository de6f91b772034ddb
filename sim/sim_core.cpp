#include "sim_core.h"

#include <algorithm>

#include "command.h"
#include "sim_log.h"

namespace sim {

using namespace frame;

namespace {

// Bytes of a partial frame older than this are line noise, not the start of a request.
constexpr uint64_t kStaleFrameMs = 500;
constexpr size_t kMaxData = kMaxResponseFrame - 26 - kResponseOverhead;  // 212
constexpr uint8_t kRequestLenBase = 0x23;

ReplyStep write(std::string bytes) {
    return {ReplyStep::Kind::Write, std::move(bytes), 0};
}
ReplyStep wait(uint32_t ms) {
    return {ReplyStep::Kind::Wait, {}, ms};
}
ReplyStep nak() {
    return write(std::string(1, static_cast<char>(kNak)));
}

bool isFrameControl(uint8_t b) {
    return (b >= 0x01 && b <= 0x06) || b == kNak || b == kSyn;
}

// The device never lets its own data look like framing.
std::string safeData(std::string_view data) {
    std::string out(data.substr(0, kMaxData));
    for (char& c : out) {
        if (isFrameControl(static_cast<uint8_t>(c))) {
            c = '?';
        }
    }
    return out;
}

bool requestFrameValid(std::string_view f) {
    const size_t n = f.size();
    if (static_cast<uint8_t>(f[n - 6]) != kEndOfData || static_cast<uint8_t>(f[n - 1]) != kEnd) {
        return false;
    }
    const auto sum = checksumCharacters(frameSum(f.substr(1, n - 6)));
    return std::equal(sum.begin(), sum.end(), f.begin() + static_cast<long>(n - 5));
}

void putSum(std::string& f) {
    const size_t n = f.size();
    const auto sum =
        checksumCharacters(frameSum(std::string_view(f).substr(1, n - 6), kStoredZero));
    std::copy(sum.begin(), sum.end(), f.begin() + static_cast<long>(n - 5));
}

std::string withZeros(std::string data, int count) {
    for (int i = 0; i < count; ++i) {
        data.insert(data.begin() + static_cast<long>(data.size() / 2), '\0');
    }
    return data;
}

std::string noise(int count) {
    static const char kNoise[] = "\xFF\x7F\xAA\x55\x80\xFE";
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += kNoise[i % 6];
    }
    return out;
}

// What the host will make of the answer, for the log.
std::string resultText(std::string_view data, const DeviceStatus& status) {
    if (StatusFailed(status)) {
        return "status error";
    }
    if (data.size() >= 11 && data.substr(0, 6) == "ERROR " &&
        data.substr(0, 11) != "ERROR 000\r\n") {
        return "refused: " + std::string(data.substr(0, 9));
    }
    return "ok";
}

int reportLineIndex(std::string_view request) {
    int index = 0;
    for (char c : request.substr(1)) {
        if (c < '0' || c > '9' || index > 9999999) {
            return -1;
        }
        index = index * 10 + (c - '0');
    }
    return index;
}

}  // namespace

std::string buildResponseFrame(uint8_t sequence, uint8_t code, std::string_view data,
                               const DeviceStatus& status) {
    const size_t n = data.size() + kResponseOverhead;
    std::string f;
    f.reserve(n);
    f += static_cast<char>(kStart);
    f += static_cast<char>(n + 26);
    f += static_cast<char>(sequence);
    f += static_cast<char>(code);
    f.append(data);
    f += static_cast<char>(kSeparator);
    f.append(reinterpret_cast<const char*>(status.data()), status.size());
    f += static_cast<char>(kEndOfData);
    f.append(4, '0');
    f += static_cast<char>(kEnd);
    putSum(f);
    return f;
}

SimulatorCore::SimulatorCore(FiscalDevice& device) : fiscalDevice(device) {}

void SimulatorCore::note(const std::string& line) {
    if (log) {
        log(line);
    }
}

std::vector<ReplyStep> SimulatorCore::receive(std::string_view bytes, uint64_t nowMs) {
    if (!pending.empty() && nowMs - lastByteMs > kStaleFrameMs) {
        note(eventLogLine("dropped an unfinished frame of " + std::to_string(pending.size()) +
                          " bytes"));
        pending.clear();
    }
    pending.append(bytes);
    lastByteMs = nowMs;
    std::vector<ReplyStep> steps;
    for (;;) {
        const size_t start = pending.find(static_cast<char>(kStart));
        if (start == std::string::npos) {
            pending.clear();
            break;
        }
        pending.erase(0, start);
        if (pending.size() < 2) {
            break;
        }
        const auto len = static_cast<uint8_t>(pending[1]);
        if (len < kRequestLenBase + 1) {
            note(eventLogLine("bad LEN, NAK"));
            steps.push_back(nak());
            pending.erase(0, 1);
            continue;
        }
        const size_t total = len - kRequestLenBase + kRequestOverhead;
        if (pending.size() < total) {
            break;
        }
        const std::string frameBytes = pending.substr(0, total);
        pending.erase(0, total);
        const auto reply = handleFrame(frameBytes);
        steps.insert(steps.end(), reply.begin(), reply.end());
    }
    return steps;
}

std::vector<ReplyStep> SimulatorCore::handleFrame(std::string_view f) {
    if (!requestFrameValid(f)) {
        note(eventLogLine("bad frame, NAK"));
        return {nak()};
    }
    const auto sequence = static_cast<uint8_t>(f[2]);
    const std::string_view request = f.substr(3, f.size() - kRequestOverhead);
    note(requestLogLine(sequence, request));
    const std::string key = std::string(f.substr(2, f.size() - 8));
    Fault fault;
    if (key == nakRequest) {
        fault = nakFault;
        if (naksLeft > 0) {
            --naksLeft;
            note(eventLogLine("NAK on purpose"));
            return {nak()};
        }
        nakRequest.clear();
    } else {
        fault = faultTable.take(static_cast<uint8_t>(request[0])).value_or(Fault{});
        if (fault.nakCount > 0) {
            nakRequest = key;
            naksLeft = fault.nakCount - 1;
            nakFault = fault;
            note(eventLogLine("NAK on purpose"));
            return {nak()};
        }
        nakRequest.clear();
    }
    return answerRequest(sequence, request, fault);
}

void SimulatorCore::appendSyn(std::vector<ReplyStep>& steps, uint32_t everyMs, uint32_t forMs,
                              bool jitter) {
    uint32_t elapsed = 0;
    while (elapsed < forMs) {
        uint32_t step = everyMs;
        if (jitter) {
            jitterState = jitterState * 1103515245u + 12345u;
            step = 100 + (jitterState >> 16) % 201;  // 100 to 300 ms, as a busy device does
        }
        step = std::max<uint32_t>(1, std::min(step, forMs - elapsed));
        steps.push_back(wait(step));
        elapsed += step;
        steps.push_back(write(std::string(1, static_cast<char>(kSyn))));
    }
}

std::vector<ReplyStep> SimulatorCore::answerRequest(uint8_t sequence, std::string_view request,
                                                    const Fault& fault) {
    const auto code = static_cast<uint8_t>(request[0]);
    if (fault.silent) {
        note(eventLogLine("silent on purpose"));
        return {};
    }
    if (fault.hangUpAfterLines >= 0 && code == 0xE4 &&
        reportLineIndex(request) >= fault.hangUpAfterLines) {
        note(eventLogLine("line pulled on purpose"));
        return {{ReplyStep::Kind::HangUp, {}, 0}};
    }
    Answer answer = fiscalDevice.execute(request);
    const DeviceStatus status = fault.status.value_or(answer.status);
    std::string data = withZeros(safeData(answer.data), fault.zeroBytes);
    // However many zeros are asked for, the frame must still fit its one-byte LEN.
    data.resize(std::min(data.size(), kMaxData));
    std::string f = buildResponseFrame(sequence, code, data, status);
    if (fault.lenOffset != 0) {
        f[1] = static_cast<char>(static_cast<uint8_t>(f[1]) + fault.lenOffset);
        putSum(f);
    }
    if (fault.badChecksum) {
        f[f.size() - 2] = static_cast<char>(f[f.size() - 2] == '0' ? '1' : '0');
    }
    std::vector<ReplyStep> steps;
    if (fault.synEveryMs > 0) {
        appendSyn(steps, static_cast<uint32_t>(fault.synEveryMs),
                  static_cast<uint32_t>(std::max(0, fault.synForMs)), false);
    }
    appendSyn(steps, 0, answer.workMs, true);
    steps.push_back(write(noise(fault.noiseBytes) + f));
    note(answerLogLine(sequence, code, data, status, resultText(data, status)));
    return steps;
}

}  // namespace sim
