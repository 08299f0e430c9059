// A PNG that is only a signature and an image header claiming `width` x `height` 8-bit RGBA pixels,
// then `padding` zero bytes (69 bytes in all by default): what a decompression bomb's header looks
// like to a reader that would allocate from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace simtest {

inline std::string pngHeaderOnly(uint32_t width, uint32_t height, size_t padding = 36) {
    std::string bytes = "\x89PNG\r\n\x1a\n";
    auto be = [&](uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((v >> shift) & 0xFF);
    };
    be(13);
    bytes += "IHDR";
    be(width);
    be(height);
    bytes += std::string("\x08\x06\x00\x00\x00", 5);
    be(0);  // the checksum is never reached
    return bytes + std::string(padding, '\0');
}

}  // namespace simtest
