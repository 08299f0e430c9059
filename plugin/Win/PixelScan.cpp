// The visible-pixel scan over 8, 16 and 32-bit frames.
#include "PixelScan.h"

#include <cstring>

// The AVX2 kernel is compiled, behind a run-time check of the processor, wherever the compiler
// takes per-function target attributes for x86-64 (gcc and clang, so both shipped builds).
#if (defined(__x86_64__) || defined(__amd64__)) && (defined(__GNUC__) || defined(__clang__))
#define ZENTRIM_SCAN_AVX2 1
#include <cpuid.h>
#include <immintrin.h>
#else
#define ZENTRIM_SCAN_AVX2 0
#endif

namespace crop {

namespace {

// A 64-bit word from its bytes in memory order, so the alpha masks below hold on either byte order.
inline uint64_t wordOf(const uint8_t (&bytes)[8]) {
    uint64_t w;
    std::memcpy(&w, bytes, sizeof w);
    return w;
}

template <int Depth>
struct Pixel;
// 8- and 16-bit pixels: an unsigned alpha of `Alpha` first, then three colour channels.
template <typename Alpha>
struct IntegerPixel {
    static constexpr size_t kBytes = 4 * sizeof(Alpha);
    static bool visible(const uint8_t* px) {
        Alpha a;
        std::memcpy(&a, px, sizeof a);
        return a != 0;
    }
    // The alpha bytes of the pixels in a 64-bit word.
    static uint64_t alphaMask() {
        return sizeof(Alpha) == 1 ? wordOf({0xFF, 0, 0, 0, 0xFF, 0, 0, 0})
                                  : wordOf({0xFF, 0xFF, 0, 0, 0, 0, 0, 0});
    }
};
template <>
struct Pixel<kDepth8> : IntegerPixel<uint8_t> {};
template <>
struct Pixel<kDepth16> : IntegerPixel<uint16_t> {};
template <>
struct Pixel<kDepth32> {
    static constexpr size_t kBytes = 16;
    // float > 0 exactly when its bits, read as an unsigned integer, lie in [1, +inf]; NaNs and
    // negative values (sign bit set) fall outside, and so does -0.
    static bool visible(const uint8_t* px) {
        uint32_t bits;
        std::memcpy(&bits, px, sizeof bits);
        return bits - 1u < 0x7F800000u;
    }
};

template <int Depth>
inline const uint8_t* pixelAt(const uint8_t* row, int32_t x) {
    return row + static_cast<size_t>(x) * Pixel<Depth>::kBytes;
}

// First and last visible pixel of [x0, x1), one pixel at a time, or -1.
template <int Depth>
inline int32_t firstExact(const uint8_t* row, int32_t x0, int32_t x1) {
    for (int32_t x = x0; x < x1; ++x)
        if (Pixel<Depth>::visible(pixelAt<Depth>(row, x))) return x;
    return -1;
}
template <int Depth>
inline int32_t lastExact(const uint8_t* row, int32_t x0, int32_t x1) {
    for (int32_t x = x1 - 1; x >= x0; --x)
        if (Pixel<Depth>::visible(pixelAt<Depth>(row, x))) return x;
    return -1;
}

// The searches of a span of a row: the first visible pixel reading upwards in memory, the last one
// reading downwards; each stops at the first content it meets. A kernel tests whole blocks of
// pixels at once, without branches, and looks at single pixels only in a block that holds content
// and in the few pixels at the end of a span that do not fill a block. Loads stay within the span.
using FindFn = int32_t (*)(const uint8_t* row, int32_t x0, int32_t x1);

// Portable kernel: blocks of 64 bytes. At 8 and 16 bits any non-zero alpha is content, so the
// block's eight 64-bit words are OR-ed and masked to the alphas. At 32 bits transparent pixels are
// +0 (no bit set), so an OR of the four alphas rules most blocks out; a block with bits set gets
// the exact test of its floats, so that -0, negative and NaN alphas do not count as content.
constexpr int32_t kPortableBlockBytes = 64;

template <int Depth>
inline bool blockHolds(const uint8_t* p) {
    if constexpr (Depth == kDepth32) {
        constexpr int n = kPortableBlockBytes / 16;
        uint32_t alpha[n];
        uint32_t bits = 0;
        for (int i = 0; i < n; ++i) {
            std::memcpy(&alpha[i], p + 16 * i, sizeof alpha[i]);
            bits |= alpha[i];
        }
        if (bits == 0) return false;
        unsigned any = 0;
        for (int i = 0; i < n; ++i)
            any |= alpha[i] - 1u < 0x7F800000u;  // as Pixel<kDepth32>::visible
        return any != 0;
    } else {
        auto word = [p](int i) {
            uint64_t w;
            std::memcpy(&w, p + 8 * i, sizeof w);
            return w;
        };
        uint64_t any = 0;
        for (int i = 0; i < kPortableBlockBytes / 8; i += 4)
            any |= (word(i) | word(i + 1)) | (word(i + 2) | word(i + 3));
        return (any & Pixel<Depth>::alphaMask()) != 0;
    }
}

template <int Depth>
int32_t firstVisiblePortable(const uint8_t* row, int32_t x0, int32_t x1) {
    constexpr int32_t n = kPortableBlockBytes / Pixel<Depth>::kBytes;
    int32_t x = x0;
    for (; x1 - x >= n; x += n) {
        if (!blockHolds<Depth>(pixelAt<Depth>(row, x))) continue;
        int32_t found = firstExact<Depth>(row, x, x + n);
        if (found >= 0) return found;
    }
    return firstExact<Depth>(row, x, x1);
}

template <int Depth>
int32_t lastVisiblePortable(const uint8_t* row, int32_t x0, int32_t x1) {
    constexpr int32_t n = kPortableBlockBytes / Pixel<Depth>::kBytes;
    int32_t x = x1;
    for (; x - x0 >= n; x -= n) {
        if (!blockHolds<Depth>(pixelAt<Depth>(row, x - n))) continue;
        int32_t found = lastExact<Depth>(row, x - n, x);
        if (found >= 0) return found;
    }
    return lastExact<Depth>(row, x0, x);
}

#if ZENTRIM_SCAN_AVX2

// The AVX2 functions keep their 256-bit values in registers: gcc for Windows does not align the
// stack to 32 bytes, so a 256-bit spill there may fault (keep the functions small).
#define ZENTRIM_TARGET_AVX2 __attribute__((target("avx2")))

// The processor has AVX2 and the system saves the 256-bit registers across task switches.
bool processorHasAvx2() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
    const unsigned osxsave = 1u << 27, avx = 1u << 28;
    if ((c & (osxsave | avx)) != (osxsave | avx)) return false;
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    if ((lo & 6u) != 6u) return false;  // XMM and YMM state
    if (__get_cpuid_max(0, nullptr) < 7) return false;
    __cpuid_count(7, 0, a, b, c, d);
    return (b & (1u << 5)) != 0;
}

// The alpha lanes of 32 bytes of pixels (x86 is little-endian: alpha is each pixel's low bytes).
template <int Depth>
ZENTRIM_TARGET_AVX2 inline __m256i alphaLanes() {
    if (Depth == kDepth8) return _mm256_set1_epi32(0xFF);
    if (Depth == kDepth16) return _mm256_set1_epi64x(0xFFFF);
    return _mm256_setr_epi32(-1, 0, 0, 0, -1, 0, 0, 0);
}

// Whether `Vectors` x 32 bytes of pixels hold content. An OR of the vectors, masked to the alpha
// lanes, rules out blocks without any alpha bit set. At 8 and 16 bits a non-zero alpha is content;
// at 32 bits a block with bits set gets the exact test: a float is above zero exactly when its
// bits, as a signed integer, lie in [1, 0x7F800000], so NaNs, negative values and -0 fall outside.
template <int Depth, int Vectors>
ZENTRIM_TARGET_AVX2 inline bool holdsContent(const uint8_t* p, __m256i lanes) {
    __m256i v[Vectors];
    for (int k = 0; k < Vectors; ++k)
        v[k] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * k));
    __m256i any = v[0];
    for (int k = 1; k < Vectors; ++k)
        any = _mm256_or_si256(any, v[k]);
    if (_mm256_testz_si256(any, lanes)) return false;
    if constexpr (Depth != kDepth32) {
        return true;
    } else {
        const __m256i zero = _mm256_setzero_si256();
        const __m256i pastInfinity = _mm256_set1_epi32(0x7F800001);
        __m256i visible = zero;
        for (int k = 0; k < Vectors; ++k) {
            const __m256i above = _mm256_cmpgt_epi32(v[k], zero);
            const __m256i notNaN = _mm256_cmpgt_epi32(pastInfinity, v[k]);
            visible = _mm256_or_si256(visible, _mm256_and_si256(above, notNaN));
        }
        return !_mm256_testz_si256(visible, lanes);
    }
}

// Takes blocks of `Vectors` vectors from the end of [lo, hi) the search starts at (the front
// searching forwards, the back backwards) while the span holds one; a block with content is
// searched pixel by pixel. True with `found` once a visible pixel is met.
template <int Depth, int Vectors, bool Forward>
ZENTRIM_TARGET_AVX2 inline bool searchBlocks(const uint8_t* row, int32_t& lo, int32_t& hi,
                                             __m256i lanes, int32_t& found) {
    constexpr int32_t perBlock = Vectors * 32 / static_cast<int32_t>(Pixel<Depth>::kBytes);
    while (hi - lo >= perBlock) {
        const int32_t start = Forward ? lo : hi - perBlock;
        if (Forward)
            lo += perBlock;
        else
            hi -= perBlock;
        if (!holdsContent<Depth, Vectors>(pixelAt<Depth>(row, start), lanes)) continue;
        found = Forward ? firstExact<Depth>(row, start, start + perBlock)
                        : lastExact<Depth>(row, start, start + perBlock);
        if (found >= 0) return true;
    }
    return false;
}

// Blocks of four vectors (128 bytes) keep several loads in flight between the tests; a span's end
// that does not fill a block goes by single vectors, then by pixels.
template <int Depth, bool Forward>
ZENTRIM_TARGET_AVX2 int32_t searchAvx2(const uint8_t* row, int32_t x0, int32_t x1) {
    const __m256i lanes = alphaLanes<Depth>();
    int32_t found = -1;
    if (searchBlocks<Depth, 4, Forward>(row, x0, x1, lanes, found) ||
        searchBlocks<Depth, 1, Forward>(row, x0, x1, lanes, found))
        return found;
    return Forward ? firstExact<Depth>(row, x0, x1) : lastExact<Depth>(row, x0, x1);
}

template <int Depth>
ZENTRIM_TARGET_AVX2 int32_t firstVisibleAvx2(const uint8_t* row, int32_t x0, int32_t x1) {
    return searchAvx2<Depth, true>(row, x0, x1);
}

template <int Depth>
ZENTRIM_TARGET_AVX2 int32_t lastVisibleAvx2(const uint8_t* row, int32_t x0, int32_t x1) {
    return searchAvx2<Depth, false>(row, x0, x1);
}

#else

bool processorHasAvx2() {
    return false;
}

#endif

// Each pass reads memory in one direction: the top pass and the left pass upwards, the bottom pass
// and the right pass downwards, so the processor's prefetcher follows a pass from row to row
// instead of restarting on every row.
template <int Depth, FindFn First, FindFn Last>
ScanExtent scan(const uint8_t* base, int32_t width, int32_t height, size_t rowBytes) {
    ScanExtent ext{height, 0, width, 0};
    auto row = [&](int32_t y) { return base + static_cast<size_t>(y) * rowBytes; };

    // Top pass: rows from the top, each from the left, up to the first content.
    int32_t top = 0;
    int32_t left = -1;
    for (; top < height; ++top) {
        left = First(row(top), 0, width);
        if (left >= 0) break;
    }
    if (left < 0) return ext;  // nothing visible anywhere
    int32_t right = Last(row(top), left, width);

    // Bottom pass: rows from the bottom, each from the right, up to the last content.
    int32_t bottom = top;
    for (int32_t y = height - 1; y > top; --y) {
        int32_t r = Last(row(y), 0, width);
        if (r < 0) continue;
        bottom = y;
        if (r > right) right = r;
        int32_t l = First(row(y), 0, left);
        if (l >= 0) left = l;
        break;
    }

    // The rows in between can only widen the extent outside the columns already known: the left
    // margins from the top down, the right margins from the bottom up.
    for (int32_t y = top + 1; y < bottom && left > 0; ++y) {
        int32_t l = First(row(y), 0, left);
        if (l >= 0) left = l;
    }
    for (int32_t y = bottom - 1; y > top && right < width - 1; --y) {
        int32_t r = Last(row(y), right + 1, width);
        if (r >= 0) right = r;
    }

    ext.firstRow = top;
    ext.lastRow = bottom;
    ext.firstCol = left;
    ext.lastCol = right;
    return ext;
}

template <int Depth>
ScanExtent scanDepth(ScanKernel kernel, const uint8_t* base, int32_t width, int32_t height,
                     size_t rowBytes) {
#if ZENTRIM_SCAN_AVX2
    if (kernel == ScanKernel::kAvx2 && scanKernelAvailable(ScanKernel::kAvx2))
        return scan<Depth, firstVisibleAvx2<Depth>, lastVisibleAvx2<Depth>>(base, width, height,
                                                                            rowBytes);
#endif
    (void)kernel;
    return scan<Depth, firstVisiblePortable<Depth>, lastVisiblePortable<Depth>>(base, width, height,
                                                                                rowBytes);
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

bool scanKernelAvailable(ScanKernel kernel) {
    if (kernel == ScanKernel::kPortable) return true;
    static const bool avx2 = processorHasAvx2();
    return kernel == ScanKernel::kAvx2 && avx2;
}

ScanKernel fastestScanKernel() {
    return scanKernelAvailable(ScanKernel::kAvx2) ? ScanKernel::kAvx2 : ScanKernel::kPortable;
}

ScanExtent scanContentExtentWith(ScanKernel kernel, const void* base, int depth, int32_t width,
                                 int32_t height, size_t rowBytes) {
    ScanExtent empty{height, 0, width, 0};
    if (!base || width <= 0 || height <= 0) return empty;
    const uint8_t* p = static_cast<const uint8_t*>(base);
    switch (depth) {
        case kDepth8:
            return scanDepth<kDepth8>(kernel, p, width, height, rowBytes);
        case kDepth16:
            return scanDepth<kDepth16>(kernel, p, width, height, rowBytes);
        case kDepth32:
            return scanDepth<kDepth32>(kernel, p, width, height, rowBytes);
        default:
            return empty;
    }
}

ScanExtent scanContentExtent(const void* base, int depth, int32_t width, int32_t height,
                             size_t rowBytes) {
    return scanContentExtentWith(fastestScanKernel(), base, depth, width, height, rowBytes);
}

}  // namespace crop
