// PNG footage for the simulator: decoding into 8-bit straight RGBA and encoding from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Model.h"

namespace sim {

// Largest width or height accepted when reading, as for every size in a project.
constexpr int kMaxPngSide = 30000;
// Largest number of pixels accepted when reading (8192 x 8192; 256 MiB decoded); half as many at
// 16 bits per channel (the same 256 MiB).
constexpr int64_t kMaxPngPixels = int64_t(1) << 26;

// Reads any PNG (every colour type and bit depth; palette, grey and transparency chunks expanded,
// no gamma conversion) as straight RGBA: 16-bit PNGs at 16 bits per channel (ImageData::rgba16),
// every other at 8 bits.
// Throws std::runtime_error naming the file and what failed. The header is checked before
// anything is allocated: the size within kMaxPngSide and kMaxPngPixels, and the file large enough
// to hold that many pixels at the best compression PNG's deflate can reach, so a small file that
// claims a huge image is refused at the cost of its own size.
ImageData readPng(const std::string& path);

// Writes an 8-bit RGBA PNG with straight alpha from `rgba` (rows top to bottom, `rowBytes` apart;
// 0 means width * 4). The file appears complete or not at all. Throws std::runtime_error.
void writePng(const std::string& path, int width, int height, const uint8_t* rgba,
              size_t rowBytes = 0);
// The image at its own depth: a 16-bit RGBA PNG for 16-bit footage, else an 8-bit one.
void writePng(const std::string& path, const ImageData& image);

// A 16-bit channel rounded to 8 bits (round(v / 257)), as footage is held at 8 bits per channel.
inline uint8_t eightBitsOf(uint16_t v) {
    return static_cast<uint8_t>((static_cast<unsigned>(v) + 128u) / 257u);
}

}  // namespace sim
