// Project files on disk: loading, saving through a temporary file, moving footage paths.
#include "ProjectFile.h"

#include <filesystem>

#include "AtomicFile.h"
#include "InputText.h"

namespace sim {

namespace fs = std::filesystem;

Project loadProject(const std::string& path) {
    std::string text;
    try {
        text = readInputFile(path, kProjectFileKind);
    } catch (const InputError& error) {
        throw ProjectError(error.what());
    }
    std::string folder = fs::path(path).parent_path().string();
    return parseProject(text, path, folder.empty() ? "." : folder);
}

void saveProject(const Project& project, const std::string& path) {
    std::string text = serializeProject(project);
    try {
        writeFileAtomically(
            path, [&](std::FILE* file) { std::fwrite(text.data(), 1, text.size(), file); });
    } catch (const ProjectError&) {
        throw;
    } catch (const std::exception& error) {
        throw ProjectError(error.what());
    }
}

void rebaseFootagePaths(Project& project, const std::string& fromDir, const std::string& toDir) {
    auto resolve = [](const std::string& dir) {
        std::error_code error;
        fs::path resolved = fs::weakly_canonical(fs::absolute(dir.empty() ? "." : dir), error);
        if (error) throw ProjectError(dir + ": cannot resolve the folder: " + error.message());
        return resolved;
    };
    fs::path from = resolve(fromDir);
    fs::path to = resolve(toDir);
    if (from == to) return;
    for (Item& item : project.items) {
        if (item.type != ItemType::Image || fs::path(item.path).is_absolute()) continue;
        fs::path file = (from / item.path).lexically_normal();
        fs::path relative = file.lexically_relative(to);
        // Paths on another root (no relative form) stay absolute.
        item.path = relative.empty() ? file.generic_string() : relative.generic_string();
    }
}

}  // namespace sim
