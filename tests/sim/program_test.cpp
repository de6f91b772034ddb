// zovuz-sim as a technician runs it: options, the link it makes and removes, and the
// device memory it keeps in its state file between runs.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "command.h"
#include "serial_port.h"
#include "sim_test_support.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Runs zovuz-sim with arguments; its standard output goes to a file.
class Program {
public:
    Program(const std::vector<std::string>& args, const fs::path& output) {
        std::vector<std::string> all = {ZOVUZ_SIM_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& a : all) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Program() {
        if (spawned && !finished) {
            stop(SIGKILL);
        }
    }

    int stop(int signal) {
        kill(pid, signal);
        return wait();
    }
    int wait() {
        int status = 0;
        waitpid(pid, &status, 0);
        finished = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    bool spawned = false;
    bool finished = false;
    pid_t pid = -1;
};

bool waitForLink(const fs::path& link) {
    for (int i = 0; i < 200; ++i) {
        if (fs::is_symlink(link)) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ProgramTest : public sim::testing::PortsFolderTest {
protected:
    ProgramTest() : PortsFolderTest("zovuz-program") {}
};

TEST_F(ProgramTest, HelpListsTheOptionsAndBadOptionsAreRefused) {
    Program help({"--help"}, dir / "help.txt");
    ASSERT_TRUE(help.spawned);
    EXPECT_EQ(help.wait(), 0);
    const std::string text = readFile(dir / "help.txt");
    for (const char* option :
         {"--com", "--link", "--state", "--log", "--baud", "--nak", "--syn-every", "--silent",
          "--noise", "--bad-checksum", "--len-offset", "--zero-bytes", "--status",
          "--hang-up-after", "--report-lines"}) {
        EXPECT_NE(text.find(option), std::string::npos) << option;
    }
    Program bad({"--baud", "fast"}, dir / "bad.txt");
    EXPECT_EQ(bad.wait(), 2);
    Program unknown({"--colour"}, dir / "unknown.txt");
    EXPECT_EQ(unknown.wait(), 2);
    // A state file that cannot be written stops the start, and no link is left behind.
    Program unwritable(
        {"--link", (dir / "COM9").string(), "--state", (dir / "missing" / "device.state").string()},
        dir / "unwritable.txt");
    EXPECT_EQ(unwritable.wait(), 1);
    EXPECT_FALSE(fs::is_symlink(dir / "COM9"));
    fs::path damaged = dir / "damaged.state";
    std::ofstream(damaged) << "zovuz-sim-state 1\nzCounter many\n";
    Program refused({"--link", (dir / "COM9").string(), "--state", damaged.string()},
                    dir / "damaged.txt");
    EXPECT_EQ(refused.wait(), 1);
    EXPECT_EQ(readFile(damaged), "zovuz-sim-state 1\nzCounter many\n");  // left for the user
}

TEST_F(ProgramTest, StateSurvivesARestartAndTheLinkGoesOnExit) {
    const fs::path link = dir / "COM5";
    const fs::path state = dir / "device.state";
    const std::string owner = "\xC5\xD2 \xD2\xE5\xF1\xF2";  // Windows-1251
    for (int signal : {SIGTERM, SIGINT}) {
        Program sim({"--link", link.string(), "--state", state.string()}, dir / "out.txt");
        ASSERT_TRUE(waitForLink(link));
        ASSERT_EQ(OpenComPort(5, 115200), 0);
        if (signal == SIGTERM) {
            ASSERT_TRUE(
                run("2"
                    "30," +
                    owner));
            ASSERT_TRUE(run("8"));
        } else {
            ASSERT_TRUE(
                run("1"
                    "30"));
            EXPECT_EQ(commandContext().commandResponse, owner);
        }
        CloseComPort();
        EXPECT_EQ(sim.stop(signal), 0);
        EXPECT_FALSE(fs::is_symlink(link));
        EXPECT_NE(readFile(dir / "out.txt").find(link.string()), std::string::npos);
    }
    EXPECT_NE(readFile(state).find("Тестова продажба"), std::string::npos);
}

TEST_F(ProgramTest, FaultOptionsApplyToTheirCommand) {
    const fs::path link = dir / "COM6";
    const fs::path log = dir / "sim.log";
    Program sim({"--link", link.string(), "--fault-command", "0", "--status", "A08080808080",
                 "--log", log.string()},
                dir / "out.txt");
    ASSERT_TRUE(waitForLink(link));
    ASSERT_EQ(OpenComPort(6, 115200), 0);
    EXPECT_FALSE(run("0"));
    EXPECT_EQ(LastErrorText(), u"Error in STATUS:\r\n");
    EXPECT_TRUE(
        run("1"
            "2"));
    CloseComPort();
    EXPECT_EQ(sim.stop(SIGTERM), 0);
    // One line per request and per answer: direction, SEQ, code, data in hex and as text,
    // status bytes and the outcome.
    const std::string text = readFile(log);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    EXPECT_NE(text.find("<- SEQ "), std::string::npos);
    EXPECT_NE(text.find("CMD 30 [] \"\"\n"), std::string::npos);
    EXPECT_NE(text.find("ZV000417\" STATUS A0 80 80 80 80 80 status error"), std::string::npos);
    EXPECT_NE(text.find("CMD 31 [32] \"2\""), std::string::npos);
    EXPECT_NE(text.find("\"Вендинг Системи ЕООД\" STATUS 80 80 80 80 80 80 ok"), std::string::npos);
}

}  // namespace
