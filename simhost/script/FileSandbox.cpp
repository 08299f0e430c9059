// The scripts' sandbox folder: mapping "~/" paths into it, and its temporary folder.
#include "FileSandbox.h"

#include <random>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace sim::script {

namespace fsys = std::filesystem;

namespace {

fsys::path makeTemporaryFolder() {
    std::random_device seed;
    std::mt19937_64 random(seed());
    fsys::path base = fsys::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fsys::path dir = base / ("zentrim-script-" + std::to_string(random() % 1000000000ULL));
        std::error_code ec;
        if (fsys::create_directory(dir, ec)) return dir;
    }
    throw std::runtime_error("cannot make a temporary folder for scripts' files in " +
                             base.string());
}

// The parts after "~/"; "\" separates too on Windows, where scripts may write either.
std::vector<std::string> homeRelativeParts(const std::string& path, bool windows) {
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 2; i < path.size(); ++i) {
        char c = path[i];
        if (c == '/' || (windows && c == '\\')) {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

bool startsAtHome(const std::string& path, bool windows) {
    return path.size() > 2 && path[0] == '~' && (path[1] == '/' || (windows && path[1] == '\\'));
}

}  // namespace

FileSandbox::FileSandbox(std::string fs, const std::string& dir) : fs_(std::move(fs)) {
    if (fs_ != "Unix" && fs_ != "Macintosh" && fs_ != "Windows")
        throw std::invalid_argument("File.fs must be Unix, Macintosh or Windows, not \"" + fs_ +
                                    "\"");
    if (dir.empty()) {
        root_ = makeTemporaryFolder();
        owned_ = true;
        listed_ = TemporaryPath(root_.string(), true);
    } else {
        root_ = fsys::absolute(dir);
        fsys::create_directories(root_);
    }
}

FileSandbox::~FileSandbox() {
    if (!owned_) return;
    std::error_code ec;  // a folder that cannot be removed is left behind, never a crash
    fsys::remove_all(root_, ec);
}

std::optional<fsys::path> FileSandbox::resolve(const std::string& scriptPath) const {
    bool windows = fs_ == "Windows";
    if (!startsAtHome(scriptPath, windows)) return std::nullopt;
    fsys::path out = root_;
    std::vector<std::string> parts = homeRelativeParts(scriptPath, windows);
    if (parts.empty()) return std::nullopt;
    for (const std::string& p : parts) {
        // ".." could climb out; a drive or NUL could point elsewhere.
        if (p == "..") return std::nullopt;
        if (p.find(':') != std::string::npos || p.find('\0') != std::string::npos)
            return std::nullopt;
        if (p != ".") out /= p;
    }
    return out;
}

std::string FileSandbox::fsName(const std::string& scriptPath) const {
    bool windows = fs_ == "Windows";
    if (!startsAtHome(scriptPath, windows)) return scriptPath;
    std::string home = windows              ? "C:\\Users\\user"
                       : fs_ == "Macintosh" ? "/Users/user"
                                            : "/home/user";
    std::string out = home;
    for (const std::string& p : homeRelativeParts(scriptPath, windows))
        out += (windows ? "\\" : "/") + p;
    return out;
}

}  // namespace sim::script
