// Reads a long report out of the simulator through the link's command layer, the way the
// report runner does, and prints how close it comes to what the line itself allows.
//   paced at 115200 baud: lines per second against the wire-limited rate of the exact
//   bytes exchanged (10 bits per byte);
//   unpaced: round trips per second and the median round trip.
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "command.h"
#include "cp1251.h"
#include "pty_simulator.h"
#include "serial_port.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kLines = 5000;
constexpr uint32_t kBaud = 115200;

struct ReadOut {
    bool ok = false;
    int lines = 0;
    uint64_t wireBytes = 0;  // request and response frames, both directions
    double seconds = 0;
    std::vector<double> roundTripsUs;
};

// One command through ExecuteCommand, counting the frame bytes it put on the line.
bool exchange(const std::string& request, ReadOut& out) {
    const auto start = Clock::now();
    commandContext().commandRequest = request;
    const bool ok = ExecuteCommand();
    out.roundTripsUs.push_back(
        std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    out.wireBytes += request.size() + frame::kRequestOverhead;
    out.wireBytes += commandContext().commandResponse.size() + frame::kResponseOverhead;
    return ok;
}

ReadOut readReport(sim::PtySimulator& simulator, uint32_t baud) {
    ReadOut out;
    simulator.setBaud(baud);
    simulator.setNextReportLines(kLines);
    const auto start = Clock::now();
    if (!exchange("\xC9"
                  "65,1,2",
                  out)) {
        return out;
    }
    for (int k = 0;; ++k) {
        if (!exchange("\xE4" + std::to_string(k), out)) {
            std::fprintf(stderr, "line %d failed: %s\n", k, utf16ToUtf8(LastErrorText()).c_str());
            return out;
        }
        if (commandContext().commandResponse == "E") {
            break;
        }
        ++out.lines;
    }
    out.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    out.ok = out.lines == kLines;
    return out;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void printPaced(const ReadOut& r) {
    const double wireSeconds = r.wireBytes * 10.0 / kBaud;
    const double measured = r.lines / r.seconds;
    const double limit = r.lines / wireSeconds;
    std::printf("paced %u baud: %d lines in %.3f s, %llu bytes on the line\n", kBaud, r.lines,
                r.seconds, static_cast<unsigned long long>(r.wireBytes));
    std::printf("  measured        %8.1f lines/s\n", measured);
    std::printf("  wire-limited    %8.1f lines/s\n", limit);
    std::printf("  ratio           %8.3f (goal >= 0.95)\n", measured / limit);
}

void printUnpaced(const ReadOut& r) {
    const double trips = static_cast<double>(r.roundTripsUs.size());
    std::printf("unpaced: %.0f round trips in %.3f s\n", trips, r.seconds);
    std::printf("  round trips     %8.1f /s (goal >= 3000)\n", trips / r.seconds);
    std::printf("  median          %8.1f us\n", median(r.roundTripsUs));
    std::printf("  slowest         %8.1f us\n",
                *std::max_element(r.roundTripsUs.begin(), r.roundTripsUs.end()));
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / ("zovuz-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    setPortsDirectory(dir.string());
    int status = 1;
    {
        sim::PtySimulator simulator((dir / "COM1").string());
        if (simulator.ok() && OpenComPort(1, 115200) == 0) {
            const ReadOut unpaced = readReport(simulator, 0);
            const ReadOut paced = readReport(simulator, kBaud);
            if (unpaced.ok && paced.ok) {
                printPaced(paced);
                printUnpaced(unpaced);
                status = 0;
            }
        } else {
            std::fprintf(stderr, "cannot start: %s\n", simulator.errorText().c_str());
        }
        CloseComPort();
    }
    fs::remove_all(dir);
    return status;
}
