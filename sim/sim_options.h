#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "faults.h"

namespace sim {

// What the command line of zovuz-sim asks for.
struct ProgramOptions {
    int com = 1;
    std::string link;       // empty: ports/COM<com> beside the executable
    std::string stateFile;  // empty: state in memory only
    std::string logFile;    // empty: no log; "-": standard error
    uint32_t baud = 0;
    uint32_t napMs = 3000;
    uint32_t reportMs = 0;
    bool blank = false;  // a new device, never fiscalized
    std::string identification;
    int reportLines = -1;
    int faultCode = kAnyCommand;
    Fault fault;
    bool hasFault = false;
    bool help = false;
};

// Reads the arguments; false with the reason in error for anything it does not know.
bool parseProgramOptions(const std::vector<std::string>& args, ProgramOptions& options,
                         std::string& error);
// Every option the command line knows, for checking that the usage text names them all.
std::vector<std::string> programOptionNames();
std::string usageText();

}  // namespace sim
