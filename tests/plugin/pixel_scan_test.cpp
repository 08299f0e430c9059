// The visible-pixel scan: edge cases of every depth, and a randomized comparison with the
// one-pass reference scan, for every kernel this processor can run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

#include "PixelScan.h"
#include "ReferenceScan.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZENTRIM_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENTRIM_TEST_ASAN 1
#endif
#endif

#ifdef ZENTRIM_TEST_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

struct Kernel {
    crop::ScanKernel kernel;
    const char* name;
};
const Kernel kKernels[] = {{crop::ScanKernel::kPortable, "portable"},
                           {crop::ScanKernel::kAvx2, "AVX2"}};

bool same(const crop::ScanExtent& a, const crop::ScanExtent& b) {
    return a.firstRow == b.firstRow && a.lastRow == b.lastRow && a.firstCol == b.firstCol &&
           a.lastCol == b.lastCol;
}

struct Frame {
    int depth;
    int32_t width, height;
    size_t rowBytes;
    std::vector<uint8_t> data;

    // Alphas are zero; colour channels and row padding hold noise unless `quiet`. The buffer ends
    // right after the last pixel, so that a scan loading past the last row's end is caught by the
    // address sanitizer (past the other rows' ends, see fenceRowEnds).
    Frame(int d, int32_t w, int32_t h, size_t padding = 0, bool quiet = false)
        : depth(d),
          width(w),
          height(h),
          rowBytes(w * crop::pixelBytes(d) + padding),
          data((h - 1) * rowBytes + w * crop::pixelBytes(d)) {
        for (size_t i = 0; !quiet && i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(i * 131 + 7);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                setAlpha(x, y, 0);
    }

    uint8_t* px(int32_t x, int32_t y) {
        return data.data() + y * rowBytes + x * crop::pixelBytes(depth);
    }

    // Writes an alpha in the depth's own representation.
    void setAlpha(int32_t x, int32_t y, double a) {
        uint8_t* p = px(x, y);
        if (depth == 1) {
            p[0] = static_cast<uint8_t>(a);
        } else if (depth == 2) {
            uint16_t v = static_cast<uint16_t>(a);
            std::memcpy(p, &v, 2);
        } else {
            float f = static_cast<float>(a);
            std::memcpy(p, &f, 4);
        }
    }
    // Under the address sanitizer, the bytes between one row's last pixel and the next row are
    // unreadable while a scan runs, so a load past a row's end fails even inside the buffer. (The
    // sanitizer tracks 8-byte granules: padding that shares its last granule with the next row's
    // first pixel stays readable in that granule.)
    void fenceRowEnds(bool fenced) const {
#ifdef ZENTRIM_TEST_ASAN
        const size_t pixels = width * crop::pixelBytes(depth);
        for (int32_t y = 0; y + 1 < height && rowBytes > pixels; ++y) {
            const uint8_t* end = data.data() + y * rowBytes + pixels;
            if (fenced)
                ASAN_POISON_MEMORY_REGION(end, rowBytes - pixels);
            else
                ASAN_UNPOISON_MEMORY_REGION(end, rowBytes - pixels);
        }
#else
        (void)fenced;
#endif
    }
    crop::ScanExtent scanWith(crop::ScanKernel kernel) const {
        fenceRowEnds(true);
        crop::ScanExtent e =
            crop::scanContentExtentWith(kernel, data.data(), depth, width, height, rowBytes);
        fenceRowEnds(false);
        return e;
    }
    // The scan the plug-in runs; every other kernel this processor runs must agree with it.
    crop::ScanExtent scan() const {
        fenceRowEnds(true);
        crop::ScanExtent e = crop::scanContentExtent(data.data(), depth, width, height, rowBytes);
        fenceRowEnds(false);
        for (const Kernel& k : kKernels) {
            if (!crop::scanKernelAvailable(k.kernel)) continue;
            EXPECT_TRUE(same(e, scanWith(k.kernel))) << k.name << " kernel, depth " << depth;
        }
        return e;
    }
};

TEST(PixelScan, EmptyFrameKeepsStartingValuesAtEveryDepth) {
    for (int depth : {1, 2, 3}) {
        Frame f(depth, 37, 21, 12);
        crop::ScanExtent e = f.scan();
        EXPECT_EQ(e.firstRow, 21);
        EXPECT_EQ(e.lastRow, 0);
        EXPECT_EQ(e.firstCol, 37);
        EXPECT_EQ(e.lastCol, 0);
    }
}

TEST(PixelScan, SinglePixelAndFullFrameAtEveryDepth) {
    for (int depth : {1, 2, 3}) {
        Frame f(depth, 50, 40, 64);
        f.setAlpha(13, 29, 1);
        crop::ScanExtent e = f.scan();
        EXPECT_EQ(e.firstRow, 29);
        EXPECT_EQ(e.lastRow, 29);
        EXPECT_EQ(e.firstCol, 13);
        EXPECT_EQ(e.lastCol, 13);

        Frame full(depth, 50, 40, 8);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x)
                full.setAlpha(x, y, 1);
        e = full.scan();
        EXPECT_TRUE(same(e, {0, 39, 0, 49})) << "depth " << depth;
    }
}

TEST(PixelScan, AlphaDecidesContentNotColour) {
    struct Case {
        const char* what;
        float alpha;
        bool content;
    } cases[] = {
        {"zero", 0.0f, false},
        {"negative zero", -0.0f, false},
        {"negative", -0.5f, false},
        {"NaN", std::numeric_limits<float>::quiet_NaN(), false},
        {"negative NaN", -std::numeric_limits<float>::quiet_NaN(), false},
        {"tiny", 1e-6f, true},
        {"denormal", std::numeric_limits<float>::denorm_min(), true},
        {"above one", 2.5f, true},
        {"infinity", std::numeric_limits<float>::infinity(), true},
    };
    for (const Case& c : cases) {
        Frame f(3, 8, 8);
        f.setAlpha(3, 4, c.alpha);
        float red = 1.0f;
        std::memcpy(f.px(5, 5) + 4, &red, 4);  // colour without alpha is not content
        crop::ScanExtent e = f.scan();
        EXPECT_EQ(e.firstRow == 4 && e.lastCol == 3, c.content) << c.what;
        EXPECT_TRUE(same(e, reference::scan(f.data.data(), 3, 8, 8, f.rowBytes))) << c.what;
    }
    Frame f16(2, 8, 8);
    f16.setAlpha(7, 7, 1);  // the smallest 16-bit alpha counts
    EXPECT_TRUE(same(f16.scan(), {7, 7, 7, 7}));
}

TEST(PixelScan, PaddingBytesBetweenRowsAreNotRead) {
    // Fill every padding byte with "opaque" values: a scan that ignored row bytes would see them.
    for (int depth : {1, 2, 3}) {
        Frame f(depth, 10, 6, 48);
        for (int y = 0; y < 5; ++y)
            std::memset(f.data.data() + y * f.rowBytes + 10 * crop::pixelBytes(depth), 0x3f, 48);
        f.setAlpha(4, 2, 1);
        EXPECT_TRUE(same(f.scan(), {2, 2, 4, 4})) << "depth " << depth;
    }
}

TEST(PixelScan, UnknownDepthHasNoContent) {
    Frame f(3, 4, 4);
    f.setAlpha(1, 1, 1);
    crop::ScanExtent e = crop::scanContentExtent(f.data.data(), 7, 4, 4, f.rowBytes);
    EXPECT_TRUE(same(e, {4, 0, 4, 0}));
}

// Random frames of random sizes (wide enough for several of each kernel's blocks), depths,
// paddings and content shapes: every kernel this processor runs must give exactly what the one-pass
// reference gives. A kernel the processor lacks cannot run here and is reported as not compared.
TEST(PixelScan, EveryKernelMatchesOnePassReferenceOnRandomFrames) {
    std::mt19937 rng(20261208);
    auto uni = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int rounds = 3000;
    int compared[std::size(kKernels)] = {};
    for (int round = 0; round < rounds; ++round) {
        int depth = uni(1, 3);
        int w = uni(1, 150), h = uni(1, 40);
        // Colour noise makes every block worth a closer look; without it, a block test that
        // skipped pixels would miss them.
        Frame f(depth, w, h, static_cast<size_t>(uni(0, 3)) * 16 + uni(0, 1) * 4, uni(0, 1) == 1);
        int shape = uni(0, 4);
        int dots = shape == 0 ? 0 : uni(1, shape == 4 ? 200 : 6);
        for (int i = 0; i < dots; ++i) {
            double a = 1;
            if (depth == 3) {
                using F = std::numeric_limits<float>;
                const float specials[] = {1.0f,  1e-6f,          F::denorm_min(), F::infinity(),
                                          -1.0f, -F::infinity(), F::quiet_NaN(),  -F::quiet_NaN(),
                                          0.0f,  -0.0f};
                a = specials[uni(0, static_cast<int>(std::size(specials)) - 1)];
            } else if (uni(0, 3) == 0) {
                a = 0;
            } else {
                a = uni(1, depth == 1 ? 255 : 32768);
            }
            f.setAlpha(uni(0, w - 1), uni(0, h - 1), a);
        }
        crop::ScanExtent want = reference::scan(f.data.data(), depth, w, h, f.rowBytes);
        for (size_t k = 0; k < std::size(kKernels); ++k) {
            if (!crop::scanKernelAvailable(kKernels[k].kernel)) continue;
            crop::ScanExtent got = f.scanWith(kKernels[k].kernel);
            ASSERT_TRUE(same(want, got))
                << kKernels[k].name << " kernel, round " << round << " depth " << depth << " " << w
                << "x" << h << ": want " << want.firstRow << "," << want.lastRow << ","
                << want.firstCol << "," << want.lastCol << " got " << got.firstRow << ","
                << got.lastRow << "," << got.firstCol << "," << got.lastCol;
            ++compared[k];
        }
    }
    for (size_t k = 0; k < std::size(kKernels); ++k) {
        bool runs = crop::scanKernelAvailable(kKernels[k].kernel);
        EXPECT_EQ(compared[k], runs ? rounds : 0) << kKernels[k].name;
        if (!runs) std::printf("the %s kernel does not run on this processor\n", kKernels[k].name);
    }
    EXPECT_EQ(compared[0], rounds) << "the portable kernel runs everywhere";
}

}  // namespace
