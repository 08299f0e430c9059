// The straightforward one-pass scan over every pixel: the reference the product's scan must match.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "PixelScan.h"

namespace reference {

inline double alphaAt(const uint8_t* px, int depth) {
    switch (depth) {
        case crop::kDepth8:
            return px[0];
        case crop::kDepth16: {
            uint16_t a;
            std::memcpy(&a, px, 2);
            return a;
        }
        case crop::kDepth32: {
            float f;
            std::memcpy(&f, px, 4);
            return f;
        }
        default:
            return 0.0;
    }
}

inline crop::ScanExtent scan(const void* base, int depth, int32_t width, int32_t height,
                             size_t rowBytes) {
    crop::ScanExtent e{height, 0, width, 0};
    size_t bytes = depth == 1 ? 4 : depth == 2 ? 8 : 16;
    const uint8_t* p = static_cast<const uint8_t*>(base);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            double a = alphaAt(p + y * rowBytes + x * bytes, depth);
            if (a > 0.0) {
                if (y < e.firstRow) e.firstRow = y;
                if (y > e.lastRow) e.lastRow = y;
                if (x < e.firstCol) e.firstCol = x;
                if (x > e.lastCol) e.lastCol = x;
            }
        }
    }
    return e;
}

}  // namespace reference
