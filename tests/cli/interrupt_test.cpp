// Signals at zentrim-host, through the built program on a terminal of its own: Ctrl-C during the
// crop over the duration holds the cancel chord; Ctrl-C at a dialog, SIGTERM and SIGHUP end the
// program as they always do and leave no temporary file or folder behind.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "HostProcess.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kExamples = ZENTRIM_SOURCE_DIR "/examples/";

// 99,900 frames: long enough to be interrupted after its first percent.
const char* const kLongProject = R"({"format": "zentrim-project", "version": 1,
  "activeItem": "Main", "items": [
    {"type": "solid", "name": "Dot", "width": 4, "height": 4, "color": [1, 1, 1, 1]},
    {"type": "comp", "name": "P", "width": 32, "height": 32, "frameRate": 999,
     "duration": 100, "layers": [{"name": "Dot", "source": "Dot"}]},
    {"type": "comp", "name": "Main", "width": 32, "height": 32, "frameRate": 999,
     "duration": 100, "layers": [{"name": "P", "source": "P", "selected": true}]}]})";

// The environment with TMPDIR pointing at `scripts`, where the scripts' sandbox folder is made.
std::vector<std::string> environmentWithTemp(const fs::path& scripts) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("TMPDIR=", 0) != 0) env.push_back(*e);
    env.push_back("TMPDIR=" + scripts.string());
    return env;
}

// Runs zentrim-host with `args` (on a terminal of its own when `master` is given), in `cwd`.
pid_t startHost(const std::vector<std::string>& args, const fs::path& cwd, const fs::path& scripts,
                int* master = nullptr) {
    std::vector<std::string> all = {ZENTRIM_HOST};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<std::string> env = environmentWithTemp(scripts);
    std::vector<char*> argv, envp;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = master ? forkpty(master, nullptr, nullptr, nullptr) : fork();
    if (pid == 0) {
        if (chdir(cwd.c_str()) != 0) _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

// The names in a folder, sorted.
std::vector<std::string> listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool holdsTemporary(const fs::path& folder) {
    for (const std::string& name : listing(folder))
        if (name.find(".tmp-") != std::string::npos) return true;
    return false;
}

// Reads the pty until `needle` shows or the child's output ends; returns everything read.
std::string readUntil(int master, std::string* all, const std::string& needle, int seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline &&
           (needle.empty() || all->find(needle) == std::string::npos)) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(master, &set);
        timeval wait = {0, 100000};
        if (select(master + 1, &set, nullptr, nullptr, &wait) <= 0) continue;
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n <= 0) break;  // the child closed the terminal
        all->append(buffer, static_cast<size_t>(n));
    }
    return *all;
}

TEST(RunInterrupt, CtrlCDuringTheCropOverTheDurationHoldsTheCancelChord) {
    simtest::TempFolder tmp("interrupt");
    simtest::writeFile(tmp.path() / "long.json", kLongProject);
    std::string project = (tmp.path() / "long.json").string();
    int master = -1;
    pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        execl(ZENTRIM_HOST, ZENTRIM_HOST, "run", project.c_str(), "--keys", "cmd",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    std::string all;
    readUntil(master, &all, "%", 120);
    ASSERT_NE(all.find("press Ctrl-C"), std::string::npos) << "the progress line says so: " << all;
    // What the terminal sends for Ctrl-C: the line discipline raises SIGINT in the host.
    ASSERT_EQ(write(master, "\x03", 1), 1);
    readUntil(master, &all, "", 120);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    close(master);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by a signal: " << all;
    EXPECT_EQ(WEXITSTATUS(status), 0) << all;
    EXPECT_NE(all.find("Ctrl-C: holding Shift + Command until the plug-in cancels"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("(Ctrl-C held the cancel chord)"), std::string::npos) << all;
    EXPECT_EQ(all.find("resized"), std::string::npos) << "the crop was cancelled: " << all;
    std::smatch m;
    ASSERT_TRUE(std::regex_search(all, m, std::regex(R"(progress: (\d+) frames, last (\d+)%)")));
    EXPECT_LT(std::stoi(m[2]), 100) << "it stopped early";
}

TEST(RunInterrupt, SigtermAndSighupDuringARunWithTraceLeaveNoTemporaryFileBehind) {
    for (int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        simtest::TempFolder tmp("interrupt-signal");
        fs::create_directories(tmp.path() / "scripts");
        simtest::writeFile(tmp.path() / "long.json", kLongProject);
        pid_t pid = startHost({"run", "long.json", "--keys", "cmd", "--trace", "calls.txt", "--out",
                               "out.json", "--json"},
                              tmp.path(), tmp.path() / "scripts");
        ASSERT_GT(pid, 0);
        // Until the trace is being written and the scripts' folder made (and a little more).
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while ((!holdsTemporary(tmp.path()) || listing(tmp.path() / "scripts").empty()) &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(holdsTemporary(tmp.path())) << "the trace's temporary file never showed";
        ASSERT_FALSE(listing(tmp.path() / "scripts").empty()) << "the scripts' sandbox folder";
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ASSERT_EQ(kill(pid, signal), 0);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "it ends as the signal ends a program";
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(listing(tmp.path()), (std::vector<std::string>{"long.json", "scripts"}));
        EXPECT_TRUE(listing(tmp.path() / "scripts").empty());
    }
}

TEST(RunInterrupt, CtrlCAtATerminalDialogEndsTheRunAndLeavesNoTemporaryFileBehind) {
    simtest::TempFolder tmp("interrupt-dialog");
    fs::create_directories(tmp.path() / "scripts");
    int master = -1;
    pid_t pid =
        startHost({"run", kExamples + "masks.json", "--keys", "shift+cmd", "--trace", "calls.txt"},
                  tmp.path(), tmp.path() / "scripts", &master);
    ASSERT_GT(pid, 0);
    std::string all;
    readUntil(master, &all, "Choose Mask> ", 60);
    ASSERT_NE(all.find("Choose Mask> "), std::string::npos) << all;
    EXPECT_TRUE(holdsTemporary(tmp.path()));
    ASSERT_EQ(write(master, "\x03", 1), 1);
    readUntil(master, &all, "", 60);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    close(master);
    ASSERT_TRUE(WIFSIGNALED(status)) << all;
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_EQ(listing(tmp.path()), (std::vector<std::string>{"scripts"}));
    EXPECT_TRUE(listing(tmp.path() / "scripts").empty());
}

}  // namespace
