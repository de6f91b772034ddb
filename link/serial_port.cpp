#include "serial_port.h"

#include <sys/stat.h>
#include <random>

#include "tick.h"

namespace {

std::string& portsDirectoryOverride() {
    static std::string path;
    return path;
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

}  // namespace

LinkState::~LinkState() {
    if (port) {
        port->purgeAll();
    }
}

LinkState& linkState() {
    static LinkState state;
    return state;
}

std::string portsDirectory() {
    const std::string& custom = portsDirectoryOverride();
    return custom.empty() ? os::executableDirectory() + "/ports" : custom;
}

void setPortsDirectory(const std::string& path) {
    portsDirectoryOverride() = path;
}

std::string comDevicePath(int portNumber) {
    if (portNumber < 1) {
        return {};
    }
    const std::string linked = portsDirectory() + "/COM" + std::to_string(portNumber);
    if (pathExists(linked)) {
        return linked;
    }
    struct Range {
        int first;
        const char* prefix;
    };
    static constexpr Range ranges[] = {{1, "/dev/ttyS"}, {33, "/dev/ttyUSB"}, {65, "/dev/ttyACM"}};
    for (const Range& r : ranges) {
        if (portNumber >= r.first && portNumber < r.first + 32) {
            return r.prefix + std::to_string(portNumber - r.first);
        }
    }
    return {};
}

namespace {

void seedSequenceNumber() {
    std::minstd_rand generator(tickSource().now());
    linkState().sequenceNumber = static_cast<uint8_t>(generator() | 0x20);
}

}  // namespace

void CloseComPort() {
    LinkState& link = linkState();
    if (link.port) {
        link.port->purgeAll();
        link.port.reset();
    }
}

bool IsPortOpen() {
    return linkState().port != nullptr;
}

int OpenComPort(int portNumber, uint32_t baudRate) {
    CloseComPort();
    const std::string path = comDevicePath(portNumber);
    if (path.empty()) {
        return 1;
    }
    PortOpenResult opened = os::openSerialDevice(path, baudRate);
    if (!opened.port) {
        return 1;
    }
    AttachComPort(std::move(opened.port));
    return 0;
}

void AttachComPort(std::unique_ptr<SerialPort> port) {
    CloseComPort();
    linkState().port = std::move(port);
    seedSequenceNumber();
}

bool EnumerateComPorts(std::vector<uint32_t>& portNumbers, std::vector<std::u16string>& portNames) {
    portNumbers.clear();
    portNames.clear();
    return os::listSerialDevices(portNumbers, portNames);
}

bool ProbeComPorts(std::vector<uint32_t>& portNumbers, std::vector<std::u16string>& portNames) {
    portNumbers.clear();
    portNames.clear();
    for (int n = 1; n <= 255; ++n) {
        const std::string path = comDevicePath(n);
        if (path.empty()) {
            continue;
        }
        const PortOpenError error = os::probeSerialDevice(path);
        if (error == PortOpenError::None || error == PortOpenError::Busy) {
            portNumbers.push_back(static_cast<uint32_t>(n));
            portNames.emplace_back();
        }
    }
    return true;
}
