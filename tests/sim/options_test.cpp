// The command line of zovuz-sim: what each option accepts, and that the usage text
// names every option the parser knows.
#include <gtest/gtest.h>

#include <functional>

#include "sim_options.h"

namespace sim {
namespace {

TEST(ProgramOptions, UsageTextNamesEveryOption) {
    const std::string usage = usageText();
    const auto names = programOptionNames();
    ASSERT_GT(names.size(), 20u);
    for (const std::string& name : names) {
        // As a word of its own, so "--syn" inside "--syn-every" does not count.
        bool found = false;
        for (size_t at = usage.find(name); at != std::string::npos && !found;
             at = usage.find(name, at + 1)) {
            const char after = at + name.size() < usage.size() ? usage[at + name.size()] : '\n';
            found = after == ' ' || after == ',' || after == '\n';
        }
        EXPECT_TRUE(found) << name;
    }
}

TEST(ProgramOptions, ValuesAreCheckedOptionByOption) {
    using Check = std::function<bool(const ProgramOptions&)>;
    struct Case {
        std::vector<std::string> args;
        bool accepted;
        Check check;
    };
    const Check any = [](const ProgramOptions&) { return true; };
    const Case cases[] = {
        {{},
         true,
         [](const ProgramOptions& o) { return o.com == 1 && o.baud == 0 && !o.hasFault; }},
        {{"--com", "3"}, true, [](const ProgramOptions& o) { return o.com == 3; }},
        {{"--com", "0"}, false, any},
        {{"--com", "256"}, false, any},
        {{"--com"}, false, any},
        {{"--baud", "115200"}, true, [](const ProgramOptions& o) { return o.baud == 115200; }},
        {{"--baud", "fast"}, false, any},
        {{"--baud", "-1"}, false, any},
        {{"--status", "A08080808080"},
         true,
         [](const ProgramOptions& o) {
             return o.hasFault && o.fault.status && (*o.fault.status)[0] == 0xA0 &&
                    (*o.fault.status)[5] == 0x80;
         }},
        {{"--status", "a0808080808f"},
         true,
         [](const ProgramOptions& o) { return (*o.fault.status)[5] == 0x8F; }},
        {{"--status", "A0808080808G"}, false, any},
        {{"--status", "-18080808080"}, false, any},
        {{"--status", "0x8080808080"}, false, any},
        {{"--status", "A080808080"}, false, any},
        {{"--fault-command", "0xE4"},
         true,
         [](const ProgramOptions& o) { return o.faultCode == 0xE4; }},
        {{"--fault-command", "9"},
         true,
         [](const ProgramOptions& o) { return o.faultCode == '9'; }},
        {{"--fault-command", "256"}, false, any},
        {{"--len-offset", "-1"},
         true,
         [](const ProgramOptions& o) { return o.fault.lenOffset == -1; }},
        {{"--nak", "2", "--fault-times", "1"},
         true,
         [](const ProgramOptions& o) { return o.fault.nakCount == 2 && o.fault.times == 1; }},
        {{"--silent"}, true, [](const ProgramOptions& o) { return o.hasFault && o.fault.silent; }},
        {{"--bad-checksum"}, true, [](const ProgramOptions& o) { return o.fault.badChecksum; }},
        {{"-h"}, true, [](const ProgramOptions& o) { return o.help; }},
        {{"--blank", "--link", "/tmp/x"},
         true,
         [](const ProgramOptions& o) { return o.blank && o.link == "/tmp/x"; }},
        {{"--colour"}, false, any},
        {{"3"}, false, any},
    };
    for (const Case& c : cases) {
        ProgramOptions options;
        std::string error;
        const bool accepted = parseProgramOptions(c.args, options, error);
        const std::string what = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(accepted, c.accepted) << what;
        EXPECT_EQ(error.empty(), c.accepted) << what;
        if (accepted && c.accepted) {
            EXPECT_TRUE(c.check(options)) << what;
        }
    }
}

}  // namespace
}  // namespace sim
