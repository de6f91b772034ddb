// zovuz-sim: plays the ZOVUZ fiscal device on a pseudo-terminal linked as a COM port.
#include <pthread.h>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>

#include "calendar.h"
#include "pty_simulator.h"
#include "serial_port.h"
#include "sim_options.h"

namespace {

std::function<void(const std::string&)> makeLog(const std::string& target,
                                                std::shared_ptr<std::ofstream>& file) {
    if (target.empty()) {
        return {};
    }
    auto mutex = std::make_shared<std::mutex>();
    if (target == "-") {
        return [mutex](const std::string& line) {
            std::lock_guard lock(*mutex);
            std::cerr << line << std::endl;
        };
    }
    file = std::make_shared<std::ofstream>(target, std::ios::app);
    auto out = file;
    return [mutex, out](const std::string& line) {
        std::lock_guard lock(*mutex);
        *out << line << std::endl;
    };
}

sim::PtySimulatorOptions simulatorOptions(const sim::ProgramOptions& o,
                                          std::function<void(const std::string&)> log) {
    sim::PtySimulatorOptions options;
    if (o.blank) {
        options.state = sim::blankDeviceState();
    }
    options.stateFile = o.stateFile;
    options.baud = o.baud;
    options.log = std::move(log);
    options.device.napWorkMs = o.napMs;
    options.device.reportWorkMs = o.reportMs;
    options.device.identification = o.identification;
    if (o.hasFault) {
        options.faults.emplace_back(o.faultCode, o.fault);
    }
    options.nextReportLines = o.reportLines;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    sim::ProgramOptions o;
    std::string error;
    if (!sim::parseProgramOptions({argv + 1, argv + argc}, o, error)) {
        std::cerr << "zovuz-sim: " << error << "\n\n" << sim::usageText();
        return 2;
    }
    if (o.help) {
        std::cout << sim::usageText();
        return 0;
    }
    // The signals are taken by sigwait below, never by the serving thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::string link = o.link;
    if (link.empty()) {
        // The ports folder beside the program is where the tool looks; make it if missing.
        const std::string ports = os::executableDirectory() + "/ports";
        std::error_code ignored;
        std::filesystem::create_directories(ports, ignored);
        link = ports + "/COM" + std::to_string(o.com);
    }
    std::shared_ptr<std::ofstream> logFile;
    sim::PtySimulator simulator(link, simulatorOptions(o, makeLog(o.logFile, logFile)));
    if (!simulator.ok()) {
        std::cerr << "zovuz-sim: " << simulator.errorText() << "\n";
        return 1;
    }
    std::cout << "ZOVUZ simulator on " << simulator.linkPath() << " -> " << simulator.ptyPath()
              << "\nPress Ctrl+C to stop." << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    std::cout << "Stopped; " << simulator.linkPath() << " removed." << std::endl;
    return 0;
}
