#include "pty_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "calendar.h"
#include "sim_log.h"

namespace sim {

using Clock = std::chrono::steady_clock;

namespace {

// How long to look away when no host holds the port open: the master then reports a
// hang-up at once, and we must not spin on it.
constexpr auto kNoHostPause = std::chrono::milliseconds(10);
constexpr int kPollMs = 50;
constexpr size_t kPacedChunk = 16;
constexpr auto kSchedulingSlack = std::chrono::milliseconds(2);
constexpr auto kSleepSlice = std::chrono::milliseconds(20);

uint64_t nowMs() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
            .count());
}

Clock::duration byteTime(uint32_t baud) {
    return std::chrono::nanoseconds(10'000'000'000LL / baud);
}

DeviceState initialState(PtySimulatorOptions& options, std::string& error) {
    if (!options.stateFile.empty()) {
        if (auto loaded = loadStateFile(options.stateFile, error)) {
            return std::move(*loaded);
        }
    }
    if (options.state) {
        return std::move(*options.state);
    }
    const int64_t now = localNowSeconds();
    return defaultDeviceState(now / kSecondsPerDay * kSecondsPerDay, 20240501, now);
}

}  // namespace

PtySimulator::PtySimulator(std::string linkPath) : PtySimulator(std::move(linkPath), {}) {}

PtySimulator::PtySimulator(std::string linkPath, PtySimulatorOptions options)
    : link(std::move(linkPath)) {
    device = std::make_unique<FiscalDevice>(initialState(options, error), options.device);
    core = std::make_unique<SimulatorCore>(*device);
    if (!error.empty()) {
        return;
    }
    core->setLog(options.log);
    for (const auto& [code, fault] : options.faults) {
        core->faults().set(code, fault);
    }
    if (options.nextReportLines >= 0) {
        device->setNextReportLines(options.nextReportLines);
    }
    baudRate = options.baud;
    if (!options.stateFile.empty()) {
        // A state file that cannot be written is found out now, not after a day's work.
        if (!saveStateFile(options.stateFile, device->state(), error)) {
            return;
        }
        const std::string path = options.stateFile;
        auto log = options.log;
        device->setStateChanged([path, log](const DeviceState& state) {
            std::string why;
            if (!saveStateFile(path, state, why) && log) {
                log(eventLogLine(why));
            }
        });
    }
    if (!openTerminal()) {
        return;
    }
    started = true;
    thread = std::thread([this] { serve(); });
}

PtySimulator::~PtySimulator() {
    stopping = true;
    if (thread.joinable()) {
        thread.join();
    }
    closeTerminal();
}

std::string PtySimulator::ptyPath() const {
    std::lock_guard lock(ptyMutex);
    return slavePath;
}

void PtySimulator::setNextReportLines(int count) {
    std::lock_guard lock(deviceMutex);
    device->setNextReportLines(count);
}

void PtySimulator::setIdentification(const std::string& text) {
    std::lock_guard lock(deviceMutex);
    device->options().identification = text;
}

DeviceState PtySimulator::deviceState() const {
    std::lock_guard lock(deviceMutex);
    return device->state();
}

void PtySimulator::withDevice(const std::function<void(FiscalDevice&)>& action) {
    std::lock_guard lock(deviceMutex);
    action(*device);
}

bool PtySimulator::openTerminal() {
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    char name[PATH_MAX] = {};
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0 || ptsname_r(fd, name, sizeof name) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        if (fd >= 0) {
            close(fd);
        }
        return false;
    }
    // A new link replaces an old one in one step, so a host never sees the name missing.
    const std::string temp = link + ".new";
    unlink(temp.c_str());
    if (symlink(name, temp.c_str()) != 0 || rename(temp.c_str(), link.c_str()) != 0) {
        error = "cannot link " + link + ": " + std::strerror(errno);
        unlink(temp.c_str());
        close(fd);
        return false;
    }
    std::lock_guard lock(ptyMutex);
    master = fd;
    slavePath = name;
    return true;
}

void PtySimulator::closeTerminal() {
    std::lock_guard lock(ptyMutex);
    if (master < 0) {
        return;
    }
    close(master);
    master = -1;
    // Only our own link goes; another simulator may have taken the name since.
    char target[PATH_MAX] = {};
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    if (n > 0 && slavePath == std::string(target, static_cast<size_t>(n))) {
        unlink(link.c_str());
    }
}

void PtySimulator::serve() {
    char buffer[512];
    while (!stopping) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, kPollMs) <= 0) {
            continue;
        }
        const ssize_t n = (p.revents & POLLIN) ? read(master, buffer, sizeof buffer) : -1;
        if (n > 0) {
            handleInput(buffer, static_cast<size_t>(n));
        } else {
            std::this_thread::sleep_for(kNoHostPause);
        }
    }
}

void PtySimulator::handleInput(const char* bytes, size_t size) {
    const uint32_t baud = baudRate;
    if (baud > 0) {
        // The bytes could not have arrived faster than the line carries them.
        receiveLineFree =
            std::max(receiveLineFree, Clock::now()) + byteTime(baud) * static_cast<int64_t>(size);
        // The device acts on what it has received, not on what is still on the wire.
        if (!sleepUntil(receiveLineFree)) {
            return;
        }
    }
    std::vector<ReplyStep> steps;
    {
        std::lock_guard lock(deviceMutex);
        steps = core->receive(std::string_view(bytes, size), nowMs());
    }
    if (steps.empty()) {
        return;
    }
    // The answer cannot start before the request has finished arriving.
    sendLineFree = std::max(sendLineFree, receiveLineFree);
    ++served;
    runSteps(steps);
}

void PtySimulator::runSteps(const std::vector<ReplyStep>& steps) {
    for (const ReplyStep& step : steps) {
        switch (step.kind) {
            case ReplyStep::Kind::Write:
                if (!writePaced(step.bytes)) {
                    return;
                }
                break;
            case ReplyStep::Kind::Wait:
                if (!sleepUntil(std::max(Clock::now(), sendLineFree) +
                                std::chrono::milliseconds(step.waitMs))) {
                    return;
                }
                break;
            case ReplyStep::Kind::HangUp:
                hangUp();
                return;
        }
    }
}

bool PtySimulator::writePaced(const std::string& bytes) {
    const uint32_t baud = baudRate;
    if (baud == 0) {
        return writeAll(bytes.data(), bytes.size());
    }
    const auto perByte = byteTime(baud);
    // The simulator's own wake-up delay is not line time: an answer that became due while
    // this thread was still waking up starts when the line became free.
    const auto now = Clock::now();
    const auto start = now - sendLineFree < kSchedulingSlack ? sendLineFree : now;
    for (size_t done = 0; done < bytes.size(); done += kPacedChunk) {
        const size_t n = std::min(kPacedChunk, bytes.size() - done);
        // Each piece leaves when the line would have finished carrying it.
        if (!sleepUntil(start + perByte * static_cast<int64_t>(done + n)) ||
            !writeAll(bytes.data() + done, n)) {
            return false;
        }
    }
    sendLineFree = start + perByte * static_cast<int64_t>(bytes.size());
    return true;
}

bool PtySimulator::writeAll(const char* bytes, size_t size) {
    size_t done = 0;
    while (done < size && !stopping) {
        const ssize_t n = write(master, bytes + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;  // the host has closed the port; the answer is lost, as on a line
        }
        pollfd p{master, POLLOUT, 0};
        poll(&p, 1, kPollMs);
    }
    return done == size;
}

bool PtySimulator::sleepUntil(Clock::time_point deadline) {
    // In slices, so that stopping never waits for a long SYN phase to end.
    while (!stopping) {
        const auto now = Clock::now();
        if (now >= deadline) {
            return true;
        }
        std::this_thread::sleep_until(std::min<Clock::time_point>(deadline, now + kSleepSlice));
    }
    return false;
}

// The cable is pulled: the host's side of the line goes dead. A fresh terminal takes the
// same name at once, so the host can open the port again and carry on.
void PtySimulator::hangUp() {
    {
        std::lock_guard lock(ptyMutex);
        close(master);
        master = -1;
    }
    if (!openTerminal()) {
        // No new line to offer: the name must not keep pointing at the dead one.
        unlink(link.c_str());
        stopping = true;
    }
}

}  // namespace sim
