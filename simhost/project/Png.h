// PNG footage for the simulator: decoding into 8-bit straight RGBA and encoding from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Model.h"

namespace sim {

// Largest width or height accepted when reading, as for every size in a project.
constexpr int kMaxPngSide = 30000;

// Reads any PNG (every colour type and bit depth; palette, grey and transparency chunks expanded,
// 16-bit channels rounded to 8 bits, no gamma conversion) as 8-bit straight RGBA.
// Throws std::runtime_error naming the file and what failed.
ImageData readPng(const std::string& path);

// Writes an 8-bit RGBA PNG with straight alpha from `rgba` (rows top to bottom, `rowBytes` apart;
// 0 means width * 4). The file appears complete or not at all. Throws std::runtime_error.
void writePng(const std::string& path, int width, int height, const uint8_t* rgba,
              size_t rowBytes = 0);
void writePng(const std::string& path, const ImageData& image);

}  // namespace sim
