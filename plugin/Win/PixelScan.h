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

// The ways the scan can read a row. They give the same extent and differ only in speed: the
// portable one reads 64-bit words and builds everywhere; AVX2 reads 256-bit vectors and runs only
// on x86-64 processors (and systems) that have it.
enum class ScanKernel { kPortable, kAvx2 };

// Bytes of one pixel of a depth (4, 8 or 16); 0 for an unknown depth.
size_t pixelBytes(int depth);

// Whether this build and this processor can run a kernel.
bool scanKernelAvailable(ScanKernel kernel);

// The kernel scanContentExtent uses: the fastest one available.
ScanKernel fastestScanKernel();

// Scans a frame of `width` x `height` pixels whose rows start `rowBytes` apart. Content is an alpha
// strictly above zero (for floats: NaN and negative values are not content). An unknown depth has
// no content. The caller guarantees rowBytes >= width * pixelBytes(depth); no byte past a row's
// last pixel is read.
// Finds the top content row from the top down and the bottom one from the bottom up, then looks in
// the rows between only outside the columns already known to hold content, so a frame costs what
// its margins cost. Each pass reads memory in one direction, which keeps the processor's
// prefetching running from row to row.
ScanExtent scanContentExtent(const void* base, int depth, int32_t width, int32_t height,
                             size_t rowBytes);

// scanContentExtent with a chosen kernel, for tests and benchmarks that compare them. A kernel
// that is not available falls back to the portable one.
ScanExtent scanContentExtentWith(ScanKernel kernel, const void* base, int depth, int32_t width,
                                 int32_t height, size_t rowBytes);

}  // namespace crop
