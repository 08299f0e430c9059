// Finding the rows and columns of a rendered frame that hold visible pixels (alpha above zero).
#pragma once

#include <cstddef>
#include <cstdint>

namespace crop {

// Pixel layouts of the host's worlds: alpha, red, green, blue per pixel.
enum PixelDepth { kDepth8 = 1, kDepth16 = 2, kDepth32 = 3 };

// Inclusive indices of the first and last rows and columns holding content. A frame without
// content keeps the starting values firstRow = height, lastRow = 0, firstCol = width, lastCol = 0.
struct ScanExtent {
    int32_t firstRow, lastRow, firstCol, lastCol;
};

// Bytes of one pixel of a depth (4, 8 or 16); 0 for an unknown depth.
size_t pixelBytes(int depth);

// Scans a frame of `width` x `height` pixels whose rows start `rowBytes` apart. Content is an alpha
// strictly above zero (for floats: NaN and negative values are not content). An unknown depth has
// no content. The caller guarantees rowBytes >= width * pixelBytes(depth).
// Finds the top and bottom content rows from the outside in, then looks in the rows between only
// outside the columns already known to hold content, so a frame costs what its margins cost.
ScanExtent scanContentExtent(const void* base, int depth, int32_t width, int32_t height,
                             size_t rowBytes);

}  // namespace crop
