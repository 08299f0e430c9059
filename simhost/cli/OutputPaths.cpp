// Checking output destinations before a verb runs.
#include "OutputPaths.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "Commands.h"

namespace sim {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void refuse(const std::string& option, const std::string& path,
                         const std::string& what) {
    throw BadInput(option + ": " + path + ": " + what);
}

void requireFolder(const std::string& option, const std::string& path, const fs::path& folder,
                   const char* expected, bool mustBeWritable) {
    std::error_code error;
    fs::file_status status = fs::status(folder, error);
    std::string shown = folder.empty() ? "." : folder.string();
    if (!fs::exists(status))
        refuse(option, path,
               std::string(expected) + ", but the folder " + shown + " does not exist");
    if (!fs::is_directory(status))
        refuse(option, path, std::string(expected) + ", but " + shown + " is not a folder");
    if (mustBeWritable && access(shown.c_str(), W_OK | X_OK) != 0)
        refuse(option, path,
               std::string(expected) + ", but the folder " + shown + " cannot be written");
}

}  // namespace

void checkOutputFile(const std::string& option, const std::string& path, bool mustBeWritable) {
    if (path.empty()) refuse(option, "\"\"", "expected a file name");
    std::error_code error;
    if (fs::is_directory(path, error)) refuse(option, path, "expected a file, but it is a folder");
    fs::path folder = fs::path(path).parent_path();
    requireFolder(option, path, folder.empty() ? fs::path(".") : folder,
                  mustBeWritable ? "expected a file in a writable folder"
                                 : "expected a file in an existing folder",
                  mustBeWritable);
}

void checkOutputFolder(const std::string& option, const std::string& path) {
    if (path.empty()) refuse(option, "\"\"", "expected a folder name");
    std::error_code error;
    fs::path folder = fs::absolute(path, error);
    if (error) refuse(option, path, "expected a folder: " + error.message());
    // The folder itself, or the nearest of its parents that exists, must be a writable folder.
    while (!fs::exists(fs::symlink_status(folder, error)) && folder.has_parent_path() &&
           folder.parent_path() != folder)
        folder = folder.parent_path();
    if (!fs::is_directory(folder, error)) {
        std::string what = folder == fs::absolute(path, error)
                               ? std::string("expected a folder, but it is a file")
                               : "expected a folder, but " + folder.string() + " is a file";
        refuse(option, path, what);
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        refuse(option, path,
               "expected a writable folder, but " + folder.string() + " cannot be written");
}

}  // namespace sim
