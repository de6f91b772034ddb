// The POSIX serial backend: termios in raw mode, exclusive access, non-blocking reads.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstring>

#include "../serial_port.h"

namespace {

// The one place where system error numbers become our open errors.
PortOpenError openErrorFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case ENOTDIR:
            return PortOpenError::Absent;
        case EBUSY:
        case EACCES:
        case EPERM:
        case EWOULDBLOCK:
            return PortOpenError::Busy;
        default:
            return PortOpenError::Failed;
    }
}

speed_t speedFor(uint32_t baudRate) {
    switch (baudRate) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return B0;
    }
}

class PosixSerialPort final : public SerialPort {
public:
    explicit PosixSerialPort(int fd) : fd(fd) {}
    ~PosixSerialPort() override {
        ioctl(fd, TIOCNXCL);
        flock(fd, LOCK_UN);
        close(fd);
    }

    size_t read(uint8_t* buffer, size_t capacity) override {
        const ssize_t n = ::read(fd, buffer, capacity);
        return n > 0 ? static_cast<size_t>(n) : 0;
    }

    bool waitReadable(int timeoutMs) override {
        pollfd p{fd, POLLIN, 0};
        return poll(&p, 1, timeoutMs) > 0 && (p.revents & POLLIN);
    }

    size_t write(const uint8_t* data, size_t size) override {
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(fd, data + done, size - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
            } else if (n < 0 && errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                if (poll(&p, 1, 1000) <= 0) {
                    break;
                }
            } else if (!(n < 0 && errno == EINTR)) {
                break;
            }
        }
        tcdrain(fd);
        return done;
    }

    void purgeInput() override { tcflush(fd, TCIFLUSH); }
    void purgeAll() override { tcflush(fd, TCIOFLUSH); }

private:
    int fd;
};

// Raw 8N1 at the given rate, no flow control, then read back: a rate that did not take
// means the line is not what the device needs.
bool configureLine(int fd, speed_t speed) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed);
    cfsetospeed(&tio, speed);
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        return false;
    }
    termios check{};
    if (tcgetattr(fd, &check) != 0) {
        return false;
    }
    return cfgetospeed(&check) == speed && cfgetispeed(&check) == speed &&
           (check.c_cflag & CSIZE) == CS8 && !(check.c_lflag & ICANON) &&
           !(check.c_iflag & (IXON | IXOFF));
}

// Holds DTR and RTS off. A pseudo-terminal has no modem lines, so a refusal is not an error.
void dropModemLines(int fd) {
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIC, &lines);
}

int openExclusive(const std::string& path, int& error) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = EBUSY;
        close(fd);
        return -1;
    }
    if (ioctl(fd, TIOCEXCL) != 0 && errno != ENOTTY) {
        error = errno;
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

namespace os {

PortOpenResult openSerialDevice(const std::string& path, uint32_t baudRate) {
    PortOpenResult result;
    const speed_t speed = speedFor(baudRate);
    if (speed == B0) {
        result.error = PortOpenError::Failed;
        result.systemText = "unsupported baud rate";
        return result;
    }
    int error = 0;
    const int fd = openExclusive(path, error);
    if (fd < 0) {
        result.error = openErrorFromErrno(error);
        result.systemText = std::strerror(error);
        return result;
    }
    if (!isatty(fd) || !configureLine(fd, speed)) {
        result.error = PortOpenError::Failed;
        result.systemText = "line settings did not take";
        ioctl(fd, TIOCNXCL);
        close(fd);
        return result;
    }
    dropModemLines(fd);
    tcflush(fd, TCIOFLUSH);
    result.port = std::make_unique<PosixSerialPort>(fd);
    return result;
}

PortOpenError probeSerialDevice(const std::string& path) {
    int error = 0;
    const int fd = openExclusive(path, error);
    if (fd < 0) {
        return openErrorFromErrno(error);
    }
    ioctl(fd, TIOCNXCL);
    close(fd);
    return PortOpenError::None;
}

std::string executableDirectory() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return ".";
    }
    std::string path(buffer, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace os
