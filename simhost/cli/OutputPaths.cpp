// Checking output destinations, and clashes between outputs and inputs, before a verb runs.
#include "OutputPaths.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <utility>

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

const char* kindOf(const fs::file_status& status) {
    if (fs::is_symlink(status)) return "a symbolic link";
    if (fs::is_fifo(status)) return "a FIFO";
    if (fs::is_block_file(status) || fs::is_character_file(status)) return "a device";
    if (fs::is_socket(status)) return "a socket";
    return "not a regular file";
}

// The file a path stands for: its canonical path when it exists (symbolic links resolved), else
// the canonical path of its folder joined with its name.
fs::path identity(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) return fs::path(path).lexically_normal();
    fs::path canonical = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : canonical;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    // Hard links and bind mounts: the same device and inode under two names.
    if (fs::exists(a, error) && fs::exists(b, error)) {
        bool same = fs::equivalent(a, b, error);
        if (!error) return same;
    }
    return identity(a) == identity(b);
}

// Whether `ancestor` is `path` or one of the folders above it.
bool isWithin(const fs::path& path, const fs::path& ancestor) {
    auto p = path.begin();
    for (auto a = ancestor.begin(); a != ancestor.end(); ++a, ++p) {
        if (a->empty()) continue;  // a trailing separator
        if (p == path.end() || *p != *a) return false;
    }
    return true;
}

}  // namespace

void checkOutputFile(const std::string& option, const std::string& path, bool mustBeWritable) {
    if (path.empty()) refuse(option, "\"\"", "expected a file name");
    std::error_code error;
    fs::file_status own = fs::symlink_status(path, error);
    if (fs::is_directory(fs::status(path, error)))
        refuse(option, path, "expected a file, but it is a folder");
    // The file is replaced through a temporary and a rename: a link or a special file would be
    // replaced by a regular file, not written through.
    if (fs::exists(own) && !fs::is_regular_file(own))
        refuse(option, path, std::string("expected a regular file, but it is ") + kindOf(own));
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

void OutputPlan::input(const std::string& option, const std::string& path) {
    if (!path.empty()) entries_.push_back({option, path, Role::Input});
}

void OutputPlan::file(const std::string& option, const std::string& path, bool mustBeWritable) {
    entries_.push_back({option, path, Role::File, mustBeWritable});
}

void OutputPlan::folder(const std::string& option, const std::string& path) {
    entries_.push_back({option, path, Role::Folder});
}

void OutputPlan::inputAndOutput(const std::string& option, const std::string& path) {
    entries_.push_back({option, path, Role::Both, false});
}

void OutputPlan::pictures(const std::string& option, const std::string& folder,
                          std::function<std::string(const std::string& fileName)> pictureOwner) {
    pictures_.push_back({option, folder, std::move(pictureOwner)});
}

void OutputPlan::check() const {
    for (const Entry& e : entries_) {
        if (e.role == Role::File || e.role == Role::Both)
            checkOutputFile(e.option, e.path, e.mustBeWritable);
        if (e.role == Role::Folder) checkOutputFolder(e.option, e.path);
    }
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Entry& out = entries_[i];
        if (out.role == Role::Input) continue;
        for (size_t j = 0; j < entries_.size(); ++j) {
            const Entry& other = entries_[j];
            if (i == j || (j < i && other.role != Role::Input)) continue;
            // A folder given as an input file is its reader's to refuse.
            std::error_code error;
            if (other.role == Role::Input && fs::is_directory(other.path, error)) continue;
            std::string clash = other.option + " (" + other.path + ")";
            if (out.role == Role::Folder) {
                // A folder to be made where a file is read or written, or inside such a file.
                if (other.role != Role::Folder &&
                    isWithin(identity(out.path), identity(other.path)))
                    refuse(out.option, out.path,
                           "expected a folder of its own, but " + clash + " names it as a file");
                continue;
            }
            if (other.role == Role::Folder) {
                if (isWithin(identity(other.path), identity(out.path)))
                    refuse(other.option, other.path,
                           "expected a folder of its own, but " + out.option + " (" + out.path +
                               ") names it as a file");
                continue;
            }
            if (sameFile(out.path, other.path))
                refuse(out.option, out.path,
                       "expected a file of its own, but it is the same file as " + clash);
        }
    }
    // A picture would replace a file read or written under its name in the pictures' folder.
    for (const Pictures& p : pictures_) {
        for (const Entry& e : entries_) {
            if (e.role == Role::Folder) continue;
            fs::path file(e.path);
            if (identity(file.parent_path().empty() ? "." : file.parent_path().string()) !=
                identity(p.folder))
                continue;
            std::string owner = p.owner(file.filename().string());
            if (!owner.empty())
                refuse(e.option, e.path,
                       "expected a file of its own, but " + p.option + " (" + p.folder +
                           ") writes a picture of \"" + owner + "\" under this name");
        }
    }
}

}  // namespace sim
