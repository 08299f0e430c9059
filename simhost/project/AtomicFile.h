// Writing a file through a temporary beside it, so that a failed write never leaves a partial file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "TemporaryFiles.h"

namespace sim {

// Creates a fresh temporary file in the folder of `path`, lets `write` fill it, then renames it
// over `path`. When `write` throws or the file cannot be written, the temporary is removed and
// the target is left as it was; errors are std::runtime_error naming `path`.
void writeFileAtomically(const std::string& path, const std::function<void(std::FILE*)>& write);

// The same for a file written over time (a trace): the temporary is created at once, filled
// through file(), and renamed over `path` by commit(). Destroyed without a commit, it removes the
// temporary and leaves `path` as it was. Errors are std::runtime_error naming `path`.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    std::FILE* file() const { return file_; }
    void commit();

  private:
    std::string path_, tempPath_;
    std::FILE* file_ = nullptr;
    TemporaryPath listed_;  // removed by a signal that ends the program before the commit
};

}  // namespace sim
