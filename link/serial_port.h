#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One open serial line. Each operating system implements it in its own file; tests plug
// in scripted ports of their own.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Returns at once with what has arrived (possibly nothing).
    virtual size_t read(uint8_t* buffer, size_t capacity) = 0;
    // Waits at most timeoutMs for a byte to become readable; true when one is there.
    virtual bool waitReadable(int timeoutMs) = 0;
    // Blocks until everything is written or the line fails; returns the bytes written.
    virtual size_t write(const uint8_t* data, size_t size) = 0;
    // Drops what was received and not yet read.
    virtual void purgeInput() = 0;
    // Drops unread input and unsent output.
    virtual void purgeAll() = 0;
};

// Why an operating-system open failed; probing tells busy ports from absent ones.
enum class PortOpenError { None, Absent, Busy, Failed };

struct PortOpenResult {
    std::unique_ptr<SerialPort> port;
    PortOpenError error = PortOpenError::None;
    std::string systemText;  // the operating system's own words, for diagnostics
};

// The process-wide link state: the one open port and the sequence byte of the next frame.
struct LinkState {
    std::unique_ptr<SerialPort> port;  // the open port, or empty
    uint8_t sequenceNumber = 0;

    ~LinkState();
};

LinkState& linkState();

// Opens and configures COM<portNumber>: 0 on success, 1 when the port cannot be opened.
// An open port is closed first, so a failed open leaves no port open.
int OpenComPort(int portNumber, uint32_t baudRate);
void CloseComPort();
bool IsPortOpen();
// Puts a ready port (a test's scripted one) in place of the open port, seeding the
// sequence byte as a real open does.
void AttachComPort(std::unique_ptr<SerialPort> port);

// Lists the computer's COM ports; false when the system listing cannot be read.
bool EnumerateComPorts(std::vector<uint32_t>& portNumbers, std::vector<std::u16string>& portNames);
// Tries COM1 to COM255; busy ports count as present. Always true.
bool ProbeComPorts(std::vector<uint32_t>& portNumbers, std::vector<std::u16string>& portNames);

// The device node that COM<portNumber> names: ports/COM<n> beside the executable when that
// entry exists, else the fixed ranges of ttyS, ttyUSB and ttyACM. Empty when none applies.
std::string comDevicePath(int portNumber);
// The folder holding the COM<n> links; by default ports/ beside the executable.
std::string portsDirectory();
void setPortsDirectory(const std::string& path);

// Operating-system backend, one file per system.
namespace os {
PortOpenResult openSerialDevice(const std::string& path, uint32_t baudRate);
PortOpenError probeSerialDevice(const std::string& path);
bool listSerialDevices(std::vector<uint32_t>& portNumbers, std::vector<std::u16string>& portNames);
std::string executableDirectory();
}  // namespace os
