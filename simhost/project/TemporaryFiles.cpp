// The table of temporary paths and their removal with system calls only.
#include "TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <direct.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif
#if defined(__linux__)
#include <dirent.h>
#include <sys/syscall.h>
#endif

namespace sim {

namespace {

constexpr int kSlots = 64;
constexpr size_t kPathBytes = 4096;

enum State : int { kFree, kFilling, kListed };

struct Slot {
    std::atomic<int> state{kFree};
    bool folder = false;
    char path[kPathBytes] = {};
};

Slot g_slots[kSlots];

static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads the table");

#if defined(__linux__)
// The records getdents64 fills (the C library declares no type for them).
struct DirectoryRecord {
    uint64_t inode;
    int64_t offset;
    unsigned short length;
    unsigned char type;
    char name[1];
};

void removeContents(int dir, int depth);

// One entry of a folder: a file (or link), or a folder with what it holds. Some file systems do
// not say which an entry is: a file that cannot be unlinked is tried as a folder.
bool removeEntry(int dir, const char* name, unsigned char type, int depth) {
    if (type != DT_DIR && unlinkat(dir, name, 0) == 0) return true;
    if (depth >= 8) return false;
    int sub = openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub < 0) return false;
    removeContents(sub, depth + 1);
    close(sub);
    return unlinkat(dir, name, AT_REMOVEDIR) == 0;
}

// Removes what the folder open as `dir` holds, folders within it down to a few levels.
void removeContents(int dir, int depth) {
    alignas(8) char buffer[4096];
    // Entries removed while the folder is read may be skipped: read it again until a pass
    // removes nothing.
    for (int pass = 0; pass < 16; ++pass) {
        bool removed = false;
        lseek(dir, 0, SEEK_SET);
        for (;;) {
            long n = syscall(SYS_getdents64, dir, buffer, sizeof buffer);
            if (n <= 0) break;
            for (long at = 0; at < n;) {
                const auto* r = reinterpret_cast<const DirectoryRecord*>(buffer + at);
                at += r->length;
                if (std::strcmp(r->name, ".") == 0 || std::strcmp(r->name, "..") == 0) continue;
                removed = removeEntry(dir, r->name, r->type, depth) || removed;
            }
        }
        if (!removed) return;
    }
}
#endif

// A folder with what it holds (on Linux; elsewhere the folder when it is empty).
void removeFolder(const char* path) {
#if defined(__linux__)
    int dir = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dir >= 0) {
        removeContents(dir, 0);
        close(dir);
    }
#endif
#if defined(_WIN32)
    _rmdir(path);
#else
    rmdir(path);
#endif
}

void removeFile(const char* path) {
#if defined(_WIN32)
    _unlink(path);
#else
    unlink(path);
#endif
}

}  // namespace

TemporaryPath::TemporaryPath(const std::string& path, bool folder) {
    if (path.empty() || path.size() >= kPathBytes) return;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!g_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
        g_slots[i].folder = folder;
        g_slots[i].state.store(kListed);
        slot_ = i;
        return;
    }
}

TemporaryPath::~TemporaryPath() {
    if (slot_ >= 0) g_slots[slot_].state.store(kFree);
}

TemporaryPath::TemporaryPath(TemporaryPath&& other) noexcept : slot_(other.slot_) {
    other.slot_ = -1;
}

TemporaryPath& TemporaryPath::operator=(TemporaryPath&& other) noexcept {
    if (this != &other) {
        if (slot_ >= 0) g_slots[slot_].state.store(kFree);
        slot_ = other.slot_;
        other.slot_ = -1;
    }
    return *this;
}

void removeTemporaryPaths() noexcept {
    const int savedErrno = errno;  // a signal handler leaves errno as it found it
    for (Slot& slot : g_slots) {
        if (slot.state.load() != kListed) continue;
        if (slot.folder)
            removeFolder(slot.path);
        else
            removeFile(slot.path);
    }
    errno = savedErrno;
}

}  // namespace sim
