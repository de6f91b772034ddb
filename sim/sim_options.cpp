#include "sim_options.h"

#include <cstdlib>
#include <functional>
#include <map>

namespace sim {

namespace {

bool toInt(const std::string& text, long low, long high, long& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return *end == '\0' && value >= low && value <= high;
}

// A command code as one character ('9', 'E') or a number (0xE4, 228).
bool toCommandCode(const std::string& text, int& code) {
    long value = 0;
    if (text.size() == 1) {
        code = static_cast<uint8_t>(text[0]);
        return true;
    }
    if (!toInt(text, 0, 255, value)) {
        return false;
    }
    code = static_cast<int>(value);
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Twelve hex digits: the six status bytes S0 to S5.
bool toStatus(const std::string& text, DeviceStatus& status) {
    if (text.size() != 12) {
        return false;
    }
    for (size_t i = 0; i < status.size(); ++i) {
        const int high = hexDigit(text[i * 2]);
        const int low = hexDigit(text[i * 2 + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        status[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return true;
}

using Setter = std::function<bool(ProgramOptions&, const std::string&)>;

template <typename T>
Setter number(T ProgramOptions::*field, long low, long high) {
    return [=](ProgramOptions& o, const std::string& v) {
        long value = 0;
        if (!toInt(v, low, high, value)) {
            return false;
        }
        o.*field = static_cast<T>(value);
        return true;
    };
}

Setter faultNumber(int Fault::*field, long low, long high) {
    return [=](ProgramOptions& o, const std::string& v) {
        long value = 0;
        o.hasFault = true;
        if (!toInt(v, low, high, value)) {
            return false;
        }
        o.fault.*field = static_cast<int>(value);
        return true;
    };
}

Setter text(std::string ProgramOptions::*field) {
    return [=](ProgramOptions& o, const std::string& v) {
        o.*field = v;
        return true;
    };
}

const std::map<std::string, Setter>& valueOptions() {
    static const std::map<std::string, Setter> table = {
        {"--com", number(&ProgramOptions::com, 1, 255)},
        {"--link", text(&ProgramOptions::link)},
        {"--state", text(&ProgramOptions::stateFile)},
        {"--log", text(&ProgramOptions::logFile)},
        {"--baud", number(&ProgramOptions::baud, 0, 4000000)},
        {"--nap-ms", number(&ProgramOptions::napMs, 0, 600000)},
        {"--report-ms", number(&ProgramOptions::reportMs, 0, 600000)},
        {"--identification", text(&ProgramOptions::identification)},
        {"--report-lines", number(&ProgramOptions::reportLines, 0, 10000000)},
        {"--nak", faultNumber(&Fault::nakCount, 0, 1000)},
        {"--syn-every", faultNumber(&Fault::synEveryMs, 1, 60000)},
        {"--syn-for", faultNumber(&Fault::synForMs, 0, 3600000)},
        {"--noise", faultNumber(&Fault::noiseBytes, 0, 200)},
        {"--len-offset", faultNumber(&Fault::lenOffset, -200, 200)},
        {"--zero-bytes", faultNumber(&Fault::zeroBytes, 0, 200)},
        {"--hang-up-after", faultNumber(&Fault::hangUpAfterLines, 0, 10000000)},
        {"--fault-times", faultNumber(&Fault::times, -1, 1000000)},
        {"--fault-command",
         [](ProgramOptions& o, const std::string& v) { return toCommandCode(v, o.faultCode); }},
        {"--status",
         [](ProgramOptions& o, const std::string& v) {
             DeviceStatus status{};
             o.hasFault = true;
             o.fault.status = status;
             return toStatus(v, *o.fault.status);
         }},
    };
    return table;
}

using Flag = std::function<void(ProgramOptions&)>;

const std::map<std::string, Flag>& flagOptions() {
    static const std::map<std::string, Flag> table = {
        {"--help", [](ProgramOptions& o) { o.help = true; }},
        {"-h", [](ProgramOptions& o) { o.help = true; }},
        {"--blank", [](ProgramOptions& o) { o.blank = true; }},
        {"--silent", [](ProgramOptions& o) { o.fault.silent = o.hasFault = true; }},
        {"--bad-checksum", [](ProgramOptions& o) { o.fault.badChecksum = o.hasFault = true; }},
    };
    return table;
}

}  // namespace

bool parseProgramOptions(const std::vector<std::string>& args, ProgramOptions& options,
                         std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (const auto f = flagOptions().find(arg); f != flagOptions().end()) {
            f->second(options);
            continue;
        }
        const auto it = valueOptions().find(arg);
        if (it == valueOptions().end()) {
            error = "unknown option " + arg;
            return false;
        }
        if (i + 1 >= args.size() || !it->second(options, args[i + 1])) {
            error = "bad or missing value for " + arg;
            return false;
        }
        ++i;
    }
    return true;
}

std::vector<std::string> programOptionNames() {
    std::vector<std::string> names;
    for (const auto& [name, set] : flagOptions()) {
        names.push_back(name);
    }
    for (const auto& [name, set] : valueOptions()) {
        names.push_back(name);
    }
    return names;
}

std::string usageText() {
    return R"(zovuz-sim: the ZOVUZ fiscal device on a pseudo-terminal

Usage: zovuz-sim [options]

Where the device appears:
  --com N               link the terminal as ports/COM<N> beside this program (default 1)
  --link PATH           link the terminal at PATH instead
Device:
  --state FILE          keep the device's memory in FILE across runs (written after every
                        change); without it the device starts from built-in defaults
  --blank               start as a new device that was never fiscalized (no journal)
  --identification TEXT answer the detection command with TEXT instead of "VIDIZ ..."
  --nap-ms MS           how long a server operation keeps the device busy (default 3000)
  --report-ms MS        how long a report command keeps the device busy (default 0)
  --report-lines N      the next report command produces exactly N generated lines
Line:
  --baud N              carry bytes no faster than N baud, 10 bits per byte, both ways
                        (default 0: as fast as the terminal goes)
  --log FILE            log one line per request and per answer to FILE ("-": stderr)
Faults (applied to --fault-command, or to every command):
  --fault-command C     a command code: one character (9, E) or a number (0xE4)
  --fault-times N       apply to the next N matching requests only (default: always)
  --nak N               answer NAK to the first N sends of each request
  --syn-every MS        send SYN every MS milliseconds ...
  --syn-for MS          ... for MS milliseconds before answering
  --silent              never answer
  --noise N             send N bytes of noise before each frame
  --bad-checksum        send a wrong check sum
  --len-offset N        add N to the LEN byte of each answer
  --zero-bytes N        put N bytes 0x00 inside the data
  --status HEX          send these six status bytes, twelve hex digits (e.g. A08080808080)
  --hang-up-after K     pull the cable when report line K (from 0) is asked for
  -h, --help            show this text
)";
}

}  // namespace sim
