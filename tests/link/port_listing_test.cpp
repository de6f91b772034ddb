// The sysfs listing against a tree made in a temporary folder, laid out as the kernel lays
// out /sys/class/tty: one folder per tty, a device link for real ports, a type file for
// serial-core ports, and USB texts some levels above the device.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "cp1251.h"
#include "posix/port_listing_linux.h"

namespace fs = std::filesystem;

namespace {

class FakeSysfs {
public:
    FakeSysfs() : root(fs::temp_directory_path() / ("korvex-sysfs-" + std::to_string(getpid()))) {
        fs::create_directories(root / "class/tty");
    }
    ~FakeSysfs() { fs::remove_all(root); }

    fs::path ttyClass() const { return root / "class/tty"; }

    // A tty with hardware behind it; type is written when given (serial-core ports).
    void addPort(const std::string& tty, const char* type = nullptr,
                 const fs::path& deviceDir = {}) {
        const fs::path dir = ttyClass() / tty;
        fs::create_directories(dir);
        const fs::path device = deviceDir.empty() ? root / "devices" / tty : deviceDir;
        fs::create_directories(device);
        fs::create_directory_symlink(device, dir / "device");
        if (type) {
            write(dir / "type", type);
        }
    }
    void addVirtual(const std::string& tty) { fs::create_directories(ttyClass() / tty); }

    static void write(const fs::path& file, const std::string& text) {
        std::ofstream(file) << text << "\n";
    }

    fs::path root;
};

std::string utf8(const std::u16string& s) {
    return utf16ToUtf8(s);
}

TEST(PortListing, RealPortsByNumberWithUsbNames) {
    FakeSysfs sys;
    sys.addPort("ttyS0", "4");
    sys.addPort("ttyS1", "0");  // the kernel's placeholder without hardware
    sys.addPort("ttyS10", "4");
    sys.addPort("ttyS2", "4");
    sys.addVirtual("tty0");
    sys.addVirtual("ptmx");
    const fs::path usbDevice = sys.root / "devices/usb1/1-2";
    fs::create_directories(usbDevice / "1-2:1.0/ttyUSB0");
    FakeSysfs::write(usbDevice / "product", "USB-Serial Cable");
    FakeSysfs::write(usbDevice / "manufacturer", "Acme");
    sys.addPort("ttyUSB0", nullptr, usbDevice / "1-2:1.0/ttyUSB0");
    sys.addPort("ttyACM31");
    sys.addPort("ttyACM32");  // beyond the numbered range
    sys.addPort("ttySX1");    // not a name the rule numbers

    std::vector<uint32_t> numbers{1};  // COM1 already listed from the ports folder
    std::vector<std::u16string> names{u"linked"};
    ASSERT_TRUE(os::listSysfsPorts(sys.ttyClass().string(), numbers, names));

    EXPECT_EQ(numbers, (std::vector<uint32_t>{1, 3, 11, 33, 96}));
    ASSERT_EQ(names.size(), numbers.size());
    EXPECT_EQ(utf8(names[0]), "linked");
    EXPECT_EQ(utf8(names[1]), "/dev/ttyS2");
    EXPECT_EQ(utf8(names[3]), "/dev/ttyUSB0 USB-Serial Cable - Acme");
    EXPECT_EQ(utf8(names[4]), "/dev/ttyACM31");
}

TEST(PortListing, UnreadableFolderSaysSoSoProbingIsUsed) {
    std::vector<uint32_t> numbers;
    std::vector<std::u16string> names;
    EXPECT_FALSE(os::listSysfsPorts("/nonexistent/class/tty", numbers, names));
    EXPECT_TRUE(numbers.empty());
}

}  // namespace
