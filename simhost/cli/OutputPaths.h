// Checks, made before anything runs, that the files and folders a verb will write can be written,
// so that a bad destination is bad input (exit status 2) and nothing is half-written.
#pragma once

#include <string>

namespace sim {

// `path` names a file to be written: it is not a folder, and its folder exists (and is writable,
// unless the file is only written when something asks for it). Throws BadInput naming the
// option, the path and what was expected.
void checkOutputFile(const std::string& option, const std::string& path,
                     bool mustBeWritable = true);

// `path` names a folder to write into: it is a writable folder, or it can be made (the nearest
// part of it that exists is a writable folder). Throws BadInput.
void checkOutputFolder(const std::string& option, const std::string& path);

}  // namespace sim
