// Running zentrim-host as a child process, as a user's shell would, and measuring it: exit
// status, what it printed, its peak memory, and a time limit so that a hang fails the test.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace simtest {

struct Outcome {
    int status = -1;  // exit status; -1 when it did not exit normally
    int signal = 0;   // the signal that ended it, if one did
    bool timedOut = false;
    std::string out, err;
    long peakKb = 0;  // peak resident memory of the child (getrusage's ru_maxrss)
};

// Runs zentrim-host with `args` (no shell: each element is one argument), stdin from /dev/null,
// stdout and stderr into files of `captures`, in the folder `cwd` (the test's own when empty).
// Killed after `timeoutSeconds`.
Outcome runHost(const std::vector<std::string>& args, const std::filesystem::path& captures,
                int timeoutSeconds = 120, const std::filesystem::path& cwd = {});

// Every entry under the folder: a regular file's contents, or what else it is ("(folder)",
// "(symlink to X)", "(fifo)", "(device)"); nothing that is not a regular file is opened.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& text);

std::string replaceAll(std::string text, const std::string& from, const std::string& to);
// The arguments with every "@" replaced by `folder`.
std::vector<std::string> substituted(const std::vector<std::string>& args,
                                     const std::filesystem::path& folder);

// A fresh folder under the system's temporary directory, removed when the object goes.
class TempFolder {
  public:
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace simtest
