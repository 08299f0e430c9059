// Input files within limits, and a non-recursive pre-scan of JSON text for encoding and depth.
#include "InputText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace sim {

namespace fs = std::filesystem;

namespace {

std::string byteCount(uintmax_t bytes) {
    if (bytes >= (uintmax_t(1) << 20) && bytes % (uintmax_t(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

const char* notRegular(const fs::file_status& status) {
    if (fs::is_fifo(status)) return "a FIFO";
    if (fs::is_block_file(status) || fs::is_character_file(status)) return "a device";
    if (fs::is_socket(status)) return "a socket";
    return "not a regular file";
}

// The length of the UTF-8 sequence starting at p (1 to 4), or 0 when it is not well-formed:
// overlong forms, surrogates and code points above U+10FFFF are refused, as the standard says.
size_t utf8Length(const unsigned char* p, size_t left) {
    unsigned char c = p[0];
    if (c < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || p[1] < low || p[1] > high) return 0;
    for (size_t i = 2; i < length; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF) return 0;
    return length;
}

// Where the scan is: one entry per open array or object.
struct Level {
    bool array = false;
    size_t index = 0;    // arrays: the element being read
    std::string key;     // objects: the field being read
    bool named = false;  // objects: a key has been read for the current field
};

std::string pathOf(const std::vector<Level>& levels) {
    std::vector<std::string> parts;
    for (const Level& level : levels) {
        if (level.array) {
            parts.push_back("[" + std::to_string(level.index) + "]");
        } else if (level.named) {
            parts.push_back((parts.empty() ? "" : ".") + level.key);
        }
    }
    // A deep path is shown by its two ends.
    constexpr size_t kHead = 12, kTail = 6;
    std::string path;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts.size() > kHead + kTail + 1 && i == kHead) {
            path += "...";
            i = parts.size() - kTail - 1;
            continue;
        }
        path += parts[i];
    }
    return path;
}

[[noreturn]] void refuse(const std::string& fileName, const std::vector<Level>& levels,
                         const std::string& message, size_t byte) {
    std::string path = pathOf(levels);
    throw InputError(fileName + ": " + (path.empty() ? "" : path + ": ") + message + " (byte " +
                     std::to_string(byte) + ")");
}

std::string hexByte(unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", c);
    return text;
}

}  // namespace

uintmax_t checkInputFile(const std::string& path, const InputFileKind& kind) {
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) return 0;
    if (fs::is_directory(status))
        throw InputError(path + ": expected " + kind.name + ", but it is a folder");
    if (!fs::is_regular_file(status))
        throw InputError(path + ": expected " + kind.name + ", but it is " + notRegular(status));
    uintmax_t size = fs::file_size(path, error);
    if (error) throw InputError(path + ": " + kind.openFailure + ": " + error.message());
    if (size == 0) throw InputError(path + ": expected " + kind.name + ", but the file is empty");
    if (size > kind.maxBytes)
        throw InputError(path + ": expected " + kind.name + " of at most " +
                         byteCount(kind.maxBytes) + ", got " + std::to_string(size) + " bytes");
    return size;
}

std::string readInputFile(const std::string& path, const InputFileKind& kind) {
    uintmax_t size = checkInputFile(path, kind);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        int why = errno;
        throw InputError(path + ": " + kind.openFailure +
                         (kind.withReason ? std::string(": ") + std::strerror(why) : ""));
    }
    std::string text;
    text.reserve(static_cast<size_t>(size));
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(in.gcount()));
        if (text.size() > kind.maxBytes)
            throw InputError(path + ": expected " + kind.name + " of at most " +
                             byteCount(kind.maxBytes) + ", but it grew while it was read");
    }
    if (in.bad()) throw InputError(path + ": " + kind.openFailure);
    if (text.empty())
        throw InputError(path + ": expected " + kind.name + ", but the file is empty");
    return text;
}

void checkJsonText(const std::string& text, const std::string& fileName, int maxDepth) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    std::vector<Level> levels;
    size_t i = 0;
    auto checkUtf8 = [&](size_t at) {
        size_t length = utf8Length(bytes + at, size - at);
        if (length == 0)
            refuse(fileName, levels, "expected UTF-8 text, got the byte " + hexByte(bytes[at]), at);
        return length;
    };
    while (i < size) {
        unsigned char c = bytes[i];
        if (c == '"') {
            // A string: in an object where no key has been read yet, it is the field's name.
            bool isKey = !levels.empty() && !levels.back().array && !levels.back().named;
            size_t start = ++i;
            while (i < size && bytes[i] != '"') {
                if (bytes[i] == '\\' && i + 1 < size) {
                    i += 2;
                } else {
                    i += checkUtf8(i);
                }
            }
            if (isKey) {
                levels.back().key = text.substr(start, i - start);
                levels.back().named = true;
            }
            ++i;
            continue;
        }
        switch (c) {
            case '[':
            case '{':
                if (levels.size() >= static_cast<size_t>(maxDepth))
                    refuse(fileName, levels,
                           "expected at most " + std::to_string(maxDepth) +
                               " levels of nested arrays and objects, got more",
                           i);
                levels.push_back(Level());
                levels.back().array = c == '[';
                break;
            case ']':
            case '}':
                if (!levels.empty()) levels.pop_back();
                break;
            case ',':
                if (!levels.empty()) {
                    if (levels.back().array) {
                        ++levels.back().index;
                    } else {
                        levels.back().named = false;
                    }
                }
                break;
            default:
                if (c >= 0x80) {
                    i += checkUtf8(i);
                    continue;
                }
                break;
        }
        ++i;
    }
}

}  // namespace sim
