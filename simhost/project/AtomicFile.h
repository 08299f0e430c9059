// Writing a file through a temporary beside it, so that a failed write never leaves a partial file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace sim {

// Creates a fresh temporary file in the folder of `path`, lets `write` fill it, then renames it
// over `path`. When `write` throws or the file cannot be written, the temporary is removed and
// the target is left as it was; errors are std::runtime_error naming `path`.
void writeFileAtomically(const std::string& path, const std::function<void(std::FILE*)>& write);

}  // namespace sim
