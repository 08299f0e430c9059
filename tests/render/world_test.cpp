// Worlds: layout, padding, quantisation at each depth, and straight RGBA export.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "World.h"

namespace sim {
namespace {

TEST(World, LayoutAndPadding) {
    const std::tuple<int, size_t> cases[] = {{kWorld8, 4}, {kWorld16, 8}, {kWorld32, 16}};
    for (auto [type, pixel] : cases) {
        World w = makeWorld(type, 5, 3, 12);
        EXPECT_EQ(w.rowBytes, 5 * pixel + 12);
        EXPECT_EQ(w.data.size(), w.rowBytes * 3);
        EXPECT_EQ(pixelAddress(w, 2, 1), w.data.data() + w.rowBytes + 2 * pixel);
        EXPECT_EQ(w.data[w.rowBytes - 1], kPaddingByte);
        EXPECT_EQ(readPixel(w, 4, 2).alpha, 0.f);
    }
    EXPECT_THROW(makeWorld(kWorld32, 2, 2, 6), std::invalid_argument);  // floats would misalign
    EXPECT_THROW(makeWorld(4, 2, 2), std::invalid_argument);
}

TEST(World, QuantisesToTheHostRanges) {
    const PixelF in{0.5f, 1.25f, -0.1f, 0.25f};
    World w8 = makeWorld(kWorld8, 1, 1), w16 = makeWorld(kWorld16, 1, 1),
          w32 = makeWorld(kWorld32, 1, 1);
    writePixel(w8, 0, 0, in);
    writePixel(w16, 0, 0, in);
    writePixel(w32, 0, 0, in);
    Pixel8 p8 = readPixel8(w8, 0, 0);
    Pixel16 p16 = readPixel16(w16, 0, 0);
    EXPECT_EQ((std::array<int, 4>{p8.alpha, p8.red, p8.green, p8.blue}),
              (std::array<int, 4>{128, 255, 0, 64}));
    EXPECT_EQ((std::array<int, 4>{p16.alpha, p16.red, p16.green, p16.blue}),
              (std::array<int, 4>{16384, 32768, 0, 8192}));
    EXPECT_EQ(readPixel32(w32, 0, 0).red, 1.25f);  // float worlds keep out-of-range values
    EXPECT_THROW(readPixel16(w8, 0, 0), std::invalid_argument);
}

TEST(World, StraightExportUndoesPremultiplication) {
    World w = makeWorld(kWorld16, 2, 1, 8);
    writePixel(w, 0, 0, {0.5f, 0.5f, 0.25f, 0.f});
    std::vector<uint8_t> rgba = toStraightRGBA8(w);
    EXPECT_EQ(rgba, (std::vector<uint8_t>{255, 128, 0, 128, 0, 0, 0, 0}));
}

TEST(World, StraightExportOfEveryEightBitPairFollowsTheFormula) {
    // Pixel (x, y): alpha y, channels x, 255 - x, x / 2, including channels above their alpha.
    World w = makeWorld(kWorld8, 256, 256, 12);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            uint8_t* p = pixelAddress(w, x, y);
            p[0] = uint8_t(y), p[1] = uint8_t(x), p[2] = uint8_t(255 - x), p[3] = uint8_t(x / 2);
        }
    const std::vector<uint8_t> rgba = toStraightRGBA8(w);
    auto straight = [](int c, int a) {
        const float af = a / 255.0f;
        return uint8_t(std::lround(std::clamp((c / 255.0f) / af, 0.0f, 1.0f) * 255));
    };
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const uint8_t* o = &rgba[(size_t(y) * 256 + size_t(x)) * 4];
            const std::array<uint8_t, 4> want =
                y == 0 ? std::array<uint8_t, 4>{0, 0, 0, 0}
                       : std::array<uint8_t, 4>{straight(x, y), straight(255 - x, y),
                                                straight(x / 2, y), uint8_t(y)};
            ASSERT_EQ(std::vector<uint8_t>(o, o + 4),
                      std::vector<uint8_t>(want.begin(), want.end()))
                << "alpha " << y << ", channel " << x;
        }
}

}  // namespace
}  // namespace sim
