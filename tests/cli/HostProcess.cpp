// The child-process runner of the command-line tests.
#include "HostProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace simtest {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> substituted(const std::vector<std::string>& args, const fs::path& folder) {
    std::vector<std::string> out;
    for (const std::string& a : args)
        out.push_back(replaceAll(a, "@", folder.string()));
    return out;
}

Outcome runHost(const std::vector<std::string>& args, const fs::path& captures, int timeoutSeconds,
                const fs::path& cwd) {
    fs::create_directories(captures);
    std::string outPath = (captures / "stdout").string(), errPath = (captures / "stderr").string();
    std::vector<std::string> all = {ZENTRIM_HOST};
    all.insert(all.end(), args.begin(), args.end());
    // CTest runs some cases once more with the host playing an alternative where its documentation
    // is silent: ZENTRIM_HOST_MODEL ("KEY=VALUE", several separated by commas) goes to every run.
    const char* model = std::getenv("ZENTRIM_HOST_MODEL");
    if (model && !args.empty() && (args[0] == "run" || args[0] == "panel")) {
        std::string rest = model;
        while (!rest.empty()) {
            size_t comma = rest.find(',');
            all.push_back("--host-model");
            all.push_back(rest.substr(0, comma));
            rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
        }
    }
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = fork();
    if (pid == 0) {
        int in = open("/dev/null", O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0) _exit(126);
        if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Outcome o;
    int raw = 0;
    struct rusage usage = {};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    while (wait4(pid, &raw, WNOHANG, &usage) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            wait4(pid, &raw, 0, &usage);
            o.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(raw)) o.status = WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) o.signal = WTERMSIG(raw);
    o.peakKb = usage.ru_maxrss;
    o.out = readFile(outPath);
    o.err = readFile(errPath);
    return o;
}

std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::string name = fs::relative(entry.path(), folder).string();
        fs::file_status own = entry.symlink_status();
        if (fs::is_symlink(own)) {
            entries[name] = "(symlink to " + fs::read_symlink(entry.path()).string() + ")";
        } else if (fs::is_directory(own)) {
            entries[name] = "(folder)";
        } else if (fs::is_fifo(own)) {
            entries[name] = "(fifo)";
        } else if (fs::is_character_file(own) || fs::is_block_file(own)) {
            entries[name] = "(device)";
        } else if (fs::is_regular_file(own) && fs::file_size(entry.path()) > (1u << 20)) {
            // Large (sparse) inputs are known by their size.
            entries[name] = "(" + std::to_string(fs::file_size(entry.path())) + " bytes)";
        } else {
            entries[name] = readFile(entry.path());
        }
    }
    return entries;
}

TempFolder::TempFolder(const std::string& name) {
    path_ = fs::temp_directory_path() / ("zentrim-cli-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

}  // namespace simtest
