#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "device_state.h"
#include "faults.h"
#include "fiscal_device.h"
#include "sim_core.h"
#include "state_file.h"

namespace sim {

struct PtySimulatorOptions {
    // The device's state at power-up; none: a fiscalized device whose generated history
    // ends yesterday. A readable stateFile takes precedence over both.
    std::optional<DeviceState> state;
    DeviceOptions device;
    uint32_t baud = 0;      // 0: unpaced; else bytes take 10 bits of line time each way
    std::string stateFile;  // empty: state lives in memory only
    std::function<void(const std::string&)> log;  // one line per request and per answer
    // Faults in force from the first request on, by command code (or kAnyCommand).
    std::vector<std::pair<int, Fault>> faults;
    int nextReportLines = -1;  // the first report command produces exactly this many lines
};

// The device on a pseudo-terminal: the slave side is linked at linkPath (for example
// <dir>/COM3) and a background thread answers whatever the host writes. The destructor
// stops the thread, closes the terminal and removes the link.
//
// Typical use in a test, with the link library pointed at a temporary ports folder:
//   setPortsDirectory(dir);
//   sim::PtySimulator device(dir + "/COM3");        // answers "VIDIZ ..."
//   sim::PtySimulator quiet(dir + "/COM1");
//   quiet.setFault(sim::kAnyCommand, sim::silentFault());
//   sim::PtySimulator other(dir + "/COM2");
//   other.setIdentification("VIDI");                // a device that is not ours
//   device.setNextReportLines(5000);                // the next report has 5,000 lines
//   OpenComPort(3, 115200); ...
class PtySimulator {
public:
    PtySimulator(std::string linkPath, PtySimulatorOptions options);
    explicit PtySimulator(std::string linkPath);
    ~PtySimulator();
    PtySimulator(const PtySimulator&) = delete;
    PtySimulator& operator=(const PtySimulator&) = delete;

    // False when the terminal or the link could not be made; errorText says why.
    bool ok() const { return started; }
    const std::string& errorText() const { return error; }
    const std::string& linkPath() const { return link; }
    std::string ptyPath() const;

    void setFault(int code, const Fault& fault) { core->faults().set(code, fault); }
    void clearFault(int code) { core->faults().clear(code); }
    void clearFaults() { core->faults().clearAll(); }
    void setBaud(uint32_t baud) { baudRate = baud; }
    void setNextReportLines(int count);
    void setIdentification(const std::string& text);

    // A copy of the device's state, and a way to change it while serving.
    DeviceState deviceState() const;
    void withDevice(const std::function<void(FiscalDevice&)>& action);
    uint64_t requestsServed() const { return served; }

private:
    bool openTerminal();
    void closeTerminal();
    void serve();
    void handleInput(const char* bytes, size_t size);
    void runSteps(const std::vector<ReplyStep>& steps);
    bool writePaced(const std::string& bytes);
    bool writeAll(const char* bytes, size_t size);
    bool sleepUntil(std::chrono::steady_clock::time_point deadline);
    void hangUp();

    std::string link;
    std::string error;
    std::unique_ptr<FiscalDevice> device;
    std::unique_ptr<SimulatorCore> core;
    mutable std::mutex deviceMutex;  // guards device and core while a request is handled
    mutable std::mutex ptyMutex;
    int master = -1;
    std::string slavePath;
    std::atomic<uint32_t> baudRate{0};
    std::atomic<bool> stopping{false};
    std::atomic<uint64_t> served{0};
    bool started = false;
    std::chrono::steady_clock::time_point receiveLineFree{};
    std::chrono::steady_clock::time_point sendLineFree{};
    std::thread thread;
};

}  // namespace sim
