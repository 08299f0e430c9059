// The folder that scripts' "~/" paths lead to, so no script writes outside it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "TemporaryFiles.h"

namespace sim::script {

class FileSandbox {
  public:
    // fs: "Unix", "Macintosh" or "Windows" (the platform scripts believe they run on).
    // dir: the folder to use; empty makes a temporary one, removed by the destructor.
    FileSandbox(std::string fs, const std::string& dir);
    ~FileSandbox();
    FileSandbox(const FileSandbox&) = delete;
    FileSandbox& operator=(const FileSandbox&) = delete;

    const std::filesystem::path& root() const { return root_; }
    const std::string& fs() const { return fs_; }

    // Where a script's path leads inside the sandbox: only "~/..." paths without ".." parts do.
    std::optional<std::filesystem::path> resolve(const std::string& scriptPath) const;
    // The platform's full path as a script reads it from File.fsName (a stand-in home folder).
    std::string fsName(const std::string& scriptPath) const;

  private:
    std::string fs_;
    std::filesystem::path root_;
    bool owned_ = false;
    TemporaryPath listed_;  // an owned folder, removed by a signal that ends the program
};

}  // namespace sim::script
