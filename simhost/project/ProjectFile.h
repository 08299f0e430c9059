// Loading and saving simulated projects in the JSON project-file format, version 1.
#pragma once

#include <stdexcept>
#include <string>

#include "Model.h"

namespace sim {

// A project file that cannot be read or a project that cannot be written. Messages name the file,
// the field (e.g. "items[2].layers[0].position.keyframes[1].time") and what was expected.
class ProjectError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a project file; image paths in it are relative to the file's folder.
Project loadProject(const std::string& path);

// Reads project text. Every error message starts with `fileNameForMessages`; relative image paths
// are resolved against `baseDirForFootage` (the current directory when empty). Ids are assigned
// in file order (items, then each composition's layers, each followed by its masks), so the same
// text always gives the same ids.
Project parseProject(const std::string& jsonText, const std::string& fileNameForMessages,
                     const std::string& baseDirForFootage);

// The project as file text; parseProject of it gives back an equal project. An item whose name an
// earlier item already has is written with a generated "id" that references then use.
std::string serializeProject(const Project& project);

// Writes serializeProject's text through a temporary file beside `path`, then renames it.
void saveProject(const Project& project, const std::string& path);

// Rewrites the relative image paths of a project read from a file in `fromDir` so that they
// resolve to the same files from a file in `toDir`, for saving a loaded project elsewhere.
void rebaseFootagePaths(Project& project, const std::string& fromDir, const std::string& toDir);

}  // namespace sim
