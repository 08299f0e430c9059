// Reading input files within fixed limits, and checking JSON text before a parser sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace sim {

// An input the simulator cannot hold: the message names the file, where in it, and what was
// expected.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Arrays and objects nest at most this deep in every JSON file the simulator reads. The project
// format itself needs 13 levels; the parser and every walk over a parsed value recurse, so the
// limit is what keeps a hostile file from exhausting the stack.
inline constexpr int kMaxJsonDepth = 64;

// What a file is to its reader, for messages and limits.
struct InputFileKind {
    const char* name;         // "a project file": "<path>: expected a project file, but ..."
    const char* openFailure;  // "cannot open the project file": "<path>: cannot open ...: <why>"
    bool withReason;          // append the system's reason to openFailure
    uintmax_t maxBytes;       // larger files are refused before they are read
};

inline constexpr InputFileKind kProjectFileKind = {"a project file", "cannot open the project file",
                                                   true, uintmax_t(64) << 20};
inline constexpr InputFileKind kAnswersFileKind = {"an answers file", "cannot be read", false,
                                                   uintmax_t(1) << 20};
inline constexpr InputFileKind kPreferencesFileKind = {"a preferences file", "cannot be read",
                                                       false, uintmax_t(1) << 20};
inline constexpr InputFileKind kImageFileKind = {"a PNG image", "cannot open the image", true,
                                                 uintmax_t(256) << 20};

// Refuses, with InputError, a path that is a folder, a FIFO, a device or a socket (reading one
// could block or never end), an empty file, or a file larger than kind.maxBytes, all from the
// file's status and before any of it is read. A path that does not exist passes: opening it then
// fails with the reader's own message. Returns the file's size (0 when it does not exist).
uintmax_t checkInputFile(const std::string& path, const InputFileKind& kind);

// checkInputFile, then the whole file; a file that grows past the limit while it is read is
// refused too. Throws InputError.
std::string readInputFile(const std::string& path, const InputFileKind& kind);

// Checks JSON text without parsing it: it must be UTF-8 throughout, and arrays and objects may
// nest at most maxDepth deep. The scan keeps no more than maxDepth levels of state, whatever the
// text holds. Throws InputError "<file>: <path>: expected ..., got ... (byte N)" with the field
// path as far as the scan can tell it.
void checkJsonText(const std::string& text, const std::string& fileName,
                   int maxDepth = kMaxJsonDepth);

}  // namespace sim
