// Checks, made before anything runs, that the files and folders a verb will write can be written,
// that none of them is something other than a regular file, and that no two of them (and no
// output and input) are the same file: a bad destination is bad input (exit status 2), and nothing
// is overwritten or half-written.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sim {

// `path` names a file to be written: it is not a folder, a symbolic link, a FIFO, a device or a
// socket (writing there would replace or feed it), and its folder exists (and is writable, unless
// the file is only written when something asks for it). Throws BadInput naming the option, the
// path and what was expected.
void checkOutputFile(const std::string& option, const std::string& path,
                     bool mustBeWritable = true);

// `path` names a folder to write into: it is a writable folder, or it can be made (the nearest
// part of it that exists is a writable folder). Throws BadInput.
void checkOutputFolder(const std::string& option, const std::string& path);

// Every file a verb reads and writes, checked together: each destination as above, then every
// pair for the same file (by device and inode for existing files, by canonical path for the
// others), and no output file where an output folder is to be (`--out x --render x`).
class OutputPlan {
  public:
    void input(const std::string& option, const std::string& path);
    void file(const std::string& option, const std::string& path, bool mustBeWritable = true);
    void folder(const std::string& option, const std::string& path);
    // An input that is also written (--prefs): checked as an output, and against every other.
    void inputAndOutput(const std::string& option, const std::string& path);
    // The pictures a folder will get (--render): no other file the verb reads or writes may be in
    // that folder under a name `pictureOwner` gives a composition's name for ("" for none).
    void pictures(const std::string& option, const std::string& folder,
                  std::function<std::string(const std::string& fileName)> pictureOwner);
    // Throws BadInput at the first problem.
    void check() const;

  private:
    enum class Role { Input, File, Folder, Both };
    struct Entry {
        std::string option, path;
        Role role;
        bool mustBeWritable = true;
    };
    std::vector<Entry> entries_;
    struct Pictures {
        std::string option, folder;
        std::function<std::string(const std::string&)> owner;
    };
    std::vector<Pictures> pictures_;
};

}  // namespace sim
