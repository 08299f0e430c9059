// Files and folders that exist only while the program works (a file being written through a
// temporary beside it, the scripts' sandbox folder), listed so that a program ended by a signal
// removes them on its way out. The list is a fixed table and removing uses only calls a signal
// handler may make.
#pragma once

#include <string>

namespace sim {

// Lists a path for as long as the object lives (it does not remove the path when it goes).
class TemporaryPath {
  public:
    TemporaryPath() = default;
    // `folder`: removed with everything in it. A path too long for the table, or a full table,
    // is not listed.
    TemporaryPath(const std::string& path, bool folder);
    ~TemporaryPath();
    TemporaryPath(TemporaryPath&& other) noexcept;
    TemporaryPath& operator=(TemporaryPath&& other) noexcept;
    TemporaryPath(const TemporaryPath&) = delete;
    TemporaryPath& operator=(const TemporaryPath&) = delete;

    bool listed() const { return slot_ >= 0; }

  private:
    int slot_ = -1;
};

// Removes every listed file and folder. Safe to call from a signal handler.
void removeTemporaryPaths() noexcept;

}  // namespace sim
