// Lists the computer's serial ports from sysfs, plus the COM<n> links of the ports folder.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <climits>
#include <fstream>
#include <string>

#include "../cp1251.h"
#include "../serial_port.h"
#include "port_listing_linux.h"

namespace {

std::string readFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string resolvedPath(const std::string& path) {
    char buffer[PATH_MAX];
    return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

std::vector<std::string> directoryEntries(const std::string& path, bool* readable = nullptr) {
    std::vector<std::string> names;
    DIR* dir = opendir(path.c_str());
    if (readable) {
        *readable = dir != nullptr;
    }
    if (!dir) {
        return names;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The COM number that the fixed ranges give a kernel tty name, or 0.
int comNumberForTty(const std::string& tty) {
    struct Range {
        const char* prefix;
        int first;
    };
    static constexpr Range ranges[] = {{"ttyS", 1}, {"ttyUSB", 33}, {"ttyACM", 65}};
    for (const Range& r : ranges) {
        const std::string prefix = r.prefix;
        if (tty.size() <= prefix.size() || tty.compare(0, prefix.size(), prefix) != 0) {
            continue;
        }
        const std::string digits = tty.substr(prefix.size());
        if (!std::all_of(digits.begin(), digits.end(), ::isdigit) || digits.size() > 2) {
            continue;
        }
        const int index = std::stoi(digits);
        if (index < 32) {
            return r.first + index;
        }
    }
    return 0;
}

// An 8250 port whose type is 0 is a placeholder the kernel made without hardware. Only
// serial-core ports have the type attribute, so its mere presence says enough.
bool isPhantomPort(const std::string& ttyDir) {
    return readFirstLine(ttyDir + "/type") == "0";
}

// The USB product and manufacturer texts, found by walking up from the tty's device.
std::string usbDescription(const std::string& ttyDir) {
    std::string dir = resolvedPath(ttyDir + "/device");
    for (int depth = 0; depth < 4 && !dir.empty(); ++depth) {
        const std::string product = readFirstLine(dir + "/product");
        if (!product.empty()) {
            const std::string maker = readFirstLine(dir + "/manufacturer");
            return maker.empty() ? product : product + " - " + maker;
        }
        dir = dir.substr(0, dir.rfind('/'));
    }
    return {};
}

void addPort(std::vector<uint32_t>& numbers, std::vector<std::u16string>& names, int number,
             const std::string& name) {
    if (std::find(numbers.begin(), numbers.end(), static_cast<uint32_t>(number)) != numbers.end()) {
        return;
    }
    numbers.push_back(static_cast<uint32_t>(number));
    names.push_back(utf8ToUtf16(name));
}

// A COM<n> entry name with n from 1 to 255, or 0.
int comNumberForLink(const std::string& name) {
    if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0) {
        return 0;
    }
    const std::string digits = name.substr(3);
    if (!std::all_of(digits.begin(), digits.end(), ::isdigit)) {
        return 0;
    }
    const int n = std::stoi(digits);
    return n >= 1 && n <= 255 ? n : 0;
}

}  // namespace

namespace os {

bool listSysfsPorts(const std::string& sysClassTty, std::vector<uint32_t>& numbers,
                    std::vector<std::u16string>& names) {
    bool readable = false;
    std::vector<std::pair<int, std::string>> found;
    for (const std::string& tty : directoryEntries(sysClassTty, &readable)) {
        const std::string ttyDir = sysClassTty + "/" + tty;
        struct stat st {};
        const int n = comNumberForTty(tty);
        if (n == 0 || stat((ttyDir + "/device").c_str(), &st) != 0 || isPhantomPort(ttyDir)) {
            continue;
        }
        const std::string usb = usbDescription(ttyDir);
        found.emplace_back(n, usb.empty() ? "/dev/" + tty : "/dev/" + tty + " " + usb);
    }
    // By COM number, not by name: ttyS10 comes after ttyS2.
    std::sort(found.begin(), found.end());
    for (const auto& [n, name] : found) {
        addPort(numbers, names, n, name);
    }
    return readable;
}

bool listSerialDevices(std::vector<uint32_t>& numbers, std::vector<std::u16string>& names) {
    // Linked ports come first, by number: they are the ones a technician set up on purpose.
    const std::string ports = portsDirectory();
    std::vector<std::pair<int, std::string>> linked;
    for (const std::string& entry : directoryEntries(ports)) {
        const int n = comNumberForLink(entry);
        const std::string target = resolvedPath(ports + "/" + entry);
        if (n > 0 && !target.empty()) {
            linked.emplace_back(n, target);
        }
    }
    std::sort(linked.begin(), linked.end());
    for (const auto& [n, target] : linked) {
        addPort(numbers, names, n, target);
    }
    return listSysfsPorts("/sys/class/tty", numbers, names);
}

}  // namespace os
