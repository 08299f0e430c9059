// Temporary-file-and-rename writing for project files and PNG images.
#include "AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace sim {

namespace {

std::string systemError(const std::string& path, const std::string& what, int error) {
    return path + ": " + what + ": " + std::strerror(error);
}

// Opens a new file next to `path` that no other writer (thread or process) can be using.
std::FILE* openTemporary(const std::string& path, std::string* tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        *tempPath = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        // 0666 so that the finished file gets the permissions the umask allows, like any new file.
        int fd = ::open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            throw std::runtime_error(systemError(path, "cannot create a temporary file", errno));
        }
        std::FILE* file = ::fdopen(fd, "wb");
        if (!file) {
            int error = errno;
            ::close(fd);
            std::remove(tempPath->c_str());
            throw std::runtime_error(systemError(path, "cannot open a temporary file", error));
        }
        return file;
    }
    throw std::runtime_error(path + ": cannot find a free temporary file name");
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : path_(std::move(path)) {
    file_ = openTemporary(path_, &tempPath_);
    listed_ = TemporaryPath(tempPath_, false);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!file_) return;
    std::fclose(file_);
    std::remove(tempPath_.c_str());
}

void AtomicFileWriter::commit() {
    std::FILE* file = file_;
    file_ = nullptr;
    bool failed = std::ferror(file) != 0;
    int error = failed ? EIO : 0;
    if (std::fclose(file) != 0 && !failed) {
        failed = true;
        error = errno;
    }
    if (failed) {
        std::remove(tempPath_.c_str());
        throw std::runtime_error(systemError(path_, "cannot write the file", error));
    }
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        error = errno;
        std::remove(tempPath_.c_str());
        throw std::runtime_error(systemError(path_, "cannot replace the file", error));
    }
    listed_ = TemporaryPath();
}

void writeFileAtomically(const std::string& path, const std::function<void(std::FILE*)>& write) {
    AtomicFileWriter writer(path);
    write(writer.file());
    writer.commit();
}

}  // namespace sim
