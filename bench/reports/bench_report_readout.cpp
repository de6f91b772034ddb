// Reads a 5,000-line report from the simulated device over a pseudo-terminal paced at
// 115200 baud, and compares the line rate with what the wire itself allows: every byte
// exchanged (request frames out, answer frames in) at 10 bits per byte.
//
// Every exchange waits for a few thread wake-ups (host and simulator), so on a machine
// busy with other work the figure measures the scheduler rather than the link; there, run
// it with real-time priority: chrt -f 20 bench_report_readout
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "command.h"
#include "pty_simulator.h"
#include "runners.h"
#include "serial_port.h"

namespace {

constexpr int kDefaultLines = 5000;
constexpr uint32_t kDefaultBaud = 115200;

// Counts the bytes that cross the line in each direction.
class CountingPort final : public SerialPort {
public:
    explicit CountingPort(std::unique_ptr<SerialPort> inner) : inner(std::move(inner)) {}
    size_t read(uint8_t* buffer, size_t capacity) override {
        const size_t n = inner->read(buffer, capacity);
        received += n;
        return n;
    }
    bool waitReadable(int timeoutMs) override { return inner->waitReadable(timeoutMs); }
    size_t write(const uint8_t* data, size_t size) override {
        sent += size;
        return inner->write(data, size);
    }
    void purgeInput() override { inner->purgeInput(); }
    void purgeAll() override { inner->purgeAll(); }

    uint64_t sent = 0;
    uint64_t received = 0;

private:
    std::unique_ptr<SerialPort> inner;
};

// The program runs the read-out on a worker thread while the wait dialog is up.
class WorkerThreadUi final : public RunnerUi {
public:
    void runWaitDialog(WaitDialogKind, WorkerProcedure worker) override {
        class Dialog final : public WorkerDialog {
        public:
            void postCloseRequest() override {}
        } dialog;
        std::thread thread(worker, std::ref(dialog));
        thread.join();
    }
    void showReport(const std::u16string&) override {}
};

}  // namespace

// The line rate and the number of lines may be given on the command line (a rate of 0
// runs the simulator unpaced, which shows the fixed cost of one exchange).
int main(int argc, char** argv) {
    const uint32_t kBaud =
        argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : kDefaultBaud;
    const int kLines = argc > 2 ? std::atoi(argv[2]) : kDefaultLines;
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("korvex-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    setPortsDirectory(dir.string());
    int status = 1;
    {
        sim::PtySimulator simulator((dir / "COM9").string());
        simulator.setBaud(kBaud);
        simulator.setNextReportLines(kLines);
        if (!simulator.ok() || OpenComPort(9, kBaud ? kBaud : kDefaultBaud) != 0) {
            std::fprintf(stderr, "simulator or port failed: %s\n", simulator.errorText().c_str());
        } else {
            auto counting = std::make_unique<CountingPort>(std::move(linkState().port));
            CountingPort* line = counting.get();
            AttachComPort(std::move(counting));
            WorkerThreadUi ui;
            setRunnerUi(&ui);

            std::u16string response;
            std::u16string report;
            const auto start = std::chrono::steady_clock::now();
            const bool ok = RunReportCommand(u"I1,99999999", response, report);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            setRunnerUi(nullptr);

            const uint64_t bytes = line->sent + line->received;
            const double wireSeconds = kBaud ? static_cast<double>(bytes) * 10 / kBaud : 0.0;
            const long lines = std::count(report.begin(), report.end(), u'\n');
            std::printf("read-out ok: %s, lines: %ld, report: %zu characters\n", ok ? "yes" : "no",
                        lines, report.size());
            std::printf("bytes on the wire: %llu out, %llu in, %.3f s of line time at %u baud\n",
                        static_cast<unsigned long long>(line->sent),
                        static_cast<unsigned long long>(line->received), wireSeconds, kBaud);
            std::printf("elapsed: %.3f s, %.1f lines/s; wire-limited: %.1f lines/s\n", seconds,
                        lines / seconds, lines / wireSeconds);
            std::printf("fraction of the wire-limited rate: %.3f (goal >= 0.95)\n",
                        wireSeconds / seconds);
            status = ok && lines == kLines ? 0 : 1;
            CloseComPort();
        }
    }
    setPortsDirectory("");
    fs::remove_all(dir);
    return status;
}
