// Worlds: layout, padding, quantisation at each depth, and straight RGBA export.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace sim
