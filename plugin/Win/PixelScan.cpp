// The visible-pixel scan over 8, 16 and 32-bit frames.
#include "PixelScan.h"

#include <cstring>

namespace crop {

namespace {

// Content tests on one pixel's alpha, written without branches so that the block loops below
// vectorise.
inline bool alphaVisible(const uint8_t* px, int depth) {
    switch (depth) {
        case kDepth8:
            return px[0] != 0;
        case kDepth16: {
            uint16_t a;
            std::memcpy(&a, px, sizeof a);
            return a != 0;
        }
        default: {
            // float > 0 exactly when its bits, read as a signed integer, lie in (0, +inf]; NaNs and
            // negative values (sign bit set) fall outside.
            uint32_t bits;
            std::memcpy(&bits, px, sizeof bits);
            return bits - 1u < 0x7F800000u;
        }
    }
}

template <int Depth>
struct Layout;
template <>
struct Layout<kDepth8> {
    static constexpr size_t kBytes = 4;
    static bool visible(const uint8_t* px) { return px[0] != 0; }
};
template <>
struct Layout<kDepth16> {
    static constexpr size_t kBytes = 8;
    static bool visible(const uint8_t* px) { return alphaVisible(px, kDepth16); }
};
template <>
struct Layout<kDepth32> {
    static constexpr size_t kBytes = 16;
    static bool visible(const uint8_t* px) { return alphaVisible(px, kDepth32); }
};

constexpr int32_t kBlock = 16;

// Whether any pixel of [x0, x1) in the row is visible; a whole block is reduced at once.
template <int Depth>
inline bool blockVisible(const uint8_t* row, int32_t x0, int32_t x1) {
    unsigned any = 0;
    for (int32_t x = x0; x < x1; ++x)
        any |= Layout<Depth>::visible(row + x * Layout<Depth>::kBytes);
    return any != 0;
}

// Whether the alpha of any pixel of [x0, x1) may be visible, testing whole 64-bit words with one
// mask: this runs at memory speed, so rows without content cost what reading them costs. At 8 and
// 16 bits a non-zero alpha is content; at 32 bits a non-zero pattern may still be -0, negative or
// NaN, which the exact test afterwards sorts out. The alpha sits in the low bytes of each pixel's
// first word on the little-endian processors the plug-in ships for.
template <int Depth>
inline bool spanMayBeVisible(const uint8_t* row, int32_t x0, int32_t x1) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    constexpr size_t kBytes = Layout<Depth>::kBytes;
    // Words per step and the mask of the alpha bits within a word.
    constexpr size_t kStride = Depth == kDepth32 ? 2 : 1;
    constexpr uint64_t kMask = Depth == kDepth8    ? 0x000000FF000000FFull
                               : Depth == kDepth16 ? 0xFFFFull
                                                   : 0xFFFFFFFFull;
    const uint8_t* p = row + static_cast<size_t>(x0) * kBytes;
    size_t bytes = static_cast<size_t>(x1 - x0) * kBytes;
    size_t words = bytes / 8;
    uint64_t a = 0, b = 0, c = 0, d = 0;  // four chains keep several loads in flight
    size_t w = 0;
    for (; w + 4 * kStride <= words; w += 4 * kStride) {
        uint64_t u0, u1, u2, u3;
        std::memcpy(&u0, p + w * 8, 8);
        std::memcpy(&u1, p + (w + kStride) * 8, 8);
        std::memcpy(&u2, p + (w + 2 * kStride) * 8, 8);
        std::memcpy(&u3, p + (w + 3 * kStride) * 8, 8);
        a |= u0;
        b |= u1;
        c |= u2;
        d |= u3;
    }
    for (; w + kStride <= words; w += kStride) {
        uint64_t u;
        std::memcpy(&u, p + w * 8, 8);
        a |= u;
    }
    a |= b | c | d;
    if (a & kMask) return true;
    // An 8-bit span of odd length leaves one pixel outside the words.
    if (Depth == kDepth8 && (bytes % 8) != 0) return p[bytes - 4] != 0;
    return false;
#else
    return blockVisible<Depth>(row, x0, x1);
#endif
}

// First visible column in [x0, x1) of the row, or -1.
template <int Depth>
int32_t firstVisible(const uint8_t* row, int32_t x0, int32_t x1) {
    if (x0 >= x1 || !spanMayBeVisible<Depth>(row, x0, x1)) return -1;
    for (int32_t b = x0; b < x1; b += kBlock) {
        int32_t e = b + kBlock < x1 ? b + kBlock : x1;
        if (!blockVisible<Depth>(row, b, e)) continue;
        for (int32_t x = b; x < e; ++x)
            if (Layout<Depth>::visible(row + x * Layout<Depth>::kBytes)) return x;
    }
    return -1;
}

// Last visible column in [x0, x1) of the row, or -1.
template <int Depth>
int32_t lastVisible(const uint8_t* row, int32_t x0, int32_t x1) {
    if (x0 >= x1 || !spanMayBeVisible<Depth>(row, x0, x1)) return -1;
    for (int32_t e = x1; e > x0; e -= kBlock) {
        int32_t b = e - kBlock > x0 ? e - kBlock : x0;
        if (!blockVisible<Depth>(row, b, e)) continue;
        for (int32_t x = e - 1; x >= b; --x)
            if (Layout<Depth>::visible(row + x * Layout<Depth>::kBytes)) return x;
    }
    return -1;
}

template <int Depth>
ScanExtent scan(const uint8_t* base, int32_t width, int32_t height, size_t rowBytes) {
    ScanExtent ext{height, 0, width, 0};
    auto row = [&](int32_t y) { return base + static_cast<size_t>(y) * rowBytes; };

    int32_t top = 0;
    int32_t left = -1;
    for (; top < height; ++top) {
        left = firstVisible<Depth>(row(top), 0, width);
        if (left >= 0) break;
    }
    if (left < 0) return ext;  // nothing visible anywhere

    int32_t right = lastVisible<Depth>(row(top), left, width);
    int32_t bottom = top;
    for (int32_t y = height - 1; y > top; --y) {
        int32_t l = firstVisible<Depth>(row(y), 0, width);
        if (l < 0) continue;
        int32_t r = lastVisible<Depth>(row(y), l, width);
        bottom = y;
        if (l < left) left = l;
        if (r > right) right = r;
        break;
    }
    // Rows in between can only widen the extent outside the columns already known.
    for (int32_t y = top + 1; y < bottom; ++y) {
        const uint8_t* r = row(y);
        if (left > 0) {
            int32_t l = firstVisible<Depth>(r, 0, left);
            if (l >= 0) left = l;
        }
        if (right < width - 1) {
            int32_t rr = lastVisible<Depth>(r, right + 1, width);
            if (rr >= 0) right = rr;
        }
    }
    ext.firstRow = top;
    ext.lastRow = bottom;
    ext.firstCol = left;
    ext.lastCol = right;
    return ext;
}

}  // namespace

size_t pixelBytes(int depth) {
    switch (depth) {
        case kDepth8:
            return 4;
        case kDepth16:
            return 8;
        case kDepth32:
            return 16;
        default:
            return 0;
    }
}

ScanExtent scanContentExtent(const void* base, int depth, int32_t width, int32_t height,
                             size_t rowBytes) {
    ScanExtent empty{height, 0, width, 0};
    if (!base || width <= 0 || height <= 0) return empty;
    const uint8_t* p = static_cast<const uint8_t*>(base);
    switch (depth) {
        case kDepth8:
            return scan<kDepth8>(p, width, height, rowBytes);
        case kDepth16:
            return scan<kDepth16>(p, width, height, rowBytes);
        case kDepth32:
            return scan<kDepth32>(p, width, height, rowBytes);
        default:
            return empty;
    }
}

}  // namespace crop
