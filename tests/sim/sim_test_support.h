#pragma once

// A device on a fixed clock with a known history, for tests that need exact dates, and a
// ports folder of its own for tests that talk through the link library.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "calendar.h"
#include "command.h"
#include "fiscal_device.h"
#include "serial_port.h"

namespace sim::testing {

// 1 March 2024 at midnight: the generated history covers February 2024.
inline int64_t historyEnd() {
    return toSeconds({2024, 3, 1, 0, 0, 0});
}

inline DeviceOptions fixedClock(int64_t now = historyEnd() + 9 * 3600) {
    DeviceOptions options;
    options.now = [now] { return now; };
    options.napWorkMs = 0;
    return options;
}

inline FiscalDevice defaultDevice() {
    return FiscalDevice(defaultDeviceState(historyEnd()), fixedClock());
}

inline std::string request(uint8_t code, std::string_view data = {}) {
    return std::string(1, static_cast<char>(code)) + std::string(data);
}

// Points the link library at a fresh ports folder and removes it afterwards; run() sends
// one request string through the command layer.
class PortsFolderTest : public ::testing::Test {
protected:
    explicit PortsFolderTest(const std::string& name)
        : dir(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()))) {}
    void SetUp() override {
        std::filesystem::create_directories(dir);
        setPortsDirectory(dir.string());
    }
    void TearDown() override {
        CloseComPort();
        setPortsDirectory("");
        std::filesystem::remove_all(dir);
    }

    static bool run(const std::string& request) {
        commandContext().commandRequest = request;
        return ExecuteCommand();
    }

    std::filesystem::path dir;
};

}  // namespace sim::testing
