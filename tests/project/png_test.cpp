// PNG footage: exact 8-bit round trips, conversion of other PNG kinds, errors, no partial files.
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <png.h>

#include "Png.h"
#include "PngHeaderOnly.h"
#include "TempDir.h"

namespace {

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "(no error)";
}

// Writes a PNG of another kind with libpng's simplified API, as other tools would.
void writeWithLibpng(const std::string& path, png_uint_32 format, int width, int height,
                     const void* pixels, const void* colormap = nullptr, int entries = 0) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.format = format;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.colormap_entries = static_cast<png_uint_32>(entries);
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels, 0, colormap))
        << image.message;
}

}  // namespace

TEST(Png, EightBitRgbaRoundTripsExactlyWithStraightAlpha) {
    TempDir tmp;
    sim::ImageData image;
    image.width = 3;
    image.height = 2;
    // Colour under zero alpha must survive: the data is straight, not premultiplied.
    image.rgba = {255, 0,  0,  255, 0,   255, 0,  128, 0,   0,   255, 0,
                  10,  20, 30, 40,  200, 100, 50, 1,   255, 255, 255, 255};
    sim::writePng(tmp.file("a.png"), image);
    sim::ImageData back = sim::readPng(tmp.file("a.png"));
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.rgba, image.rgba);
    EXPECT_EQ(tmp.listing(), "a.png") << "no temporary file is left behind";
}

TEST(Png, WritesFromRowsWithPadding) {
    TempDir tmp;
    std::vector<uint8_t> padded = {1, 2, 3, 4, 9, 9, 9, 9,   // row 0 + padding
                                   5, 6, 7, 8, 9, 9, 9, 9};  // row 1 + padding
    sim::writePng(tmp.file("p.png"), 1, 2, padded.data(), 8);
    EXPECT_EQ(sim::readPng(tmp.file("p.png")).rgba, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(Png, SixteenBitFootageKeepsEveryBit) {
    TempDir tmp;
    // Grey becomes opaque RGB, still at 16 bits; no gamma conversion.
    const uint16_t grey[3] = {0, 128 * 257 + 1, 65535};
    writeWithLibpng(tmp.file("g.png"), PNG_FORMAT_LINEAR_Y, 3, 1, grey);
    sim::ImageData image = sim::readPng(tmp.file("g.png"));
    EXPECT_TRUE(image.rgba.empty());
    EXPECT_EQ(image.rgba16, (std::vector<uint16_t>{0, 0, 0, 65535, 32897, 32897, 32897, 65535,
                                                   65535, 65535, 65535, 65535}));
    // RGBA with alphas of 1 and 128 of 65535, which 8 bits would round to 0, round trips exactly.
    sim::ImageData faint;
    faint.width = 2;
    faint.height = 1;
    faint.rgba16 = {65535, 0, 1234, 1, 0, 65535, 0, 128};
    sim::writePng(tmp.file("f.png"), faint);
    EXPECT_EQ(sim::readPng(tmp.file("f.png")).rgba16, faint.rgba16);
    // Held at 8 bits (an 8 bpc project), a channel rounds to the nearest of 255 steps.
    EXPECT_EQ(sim::eightBitsOf(128), 0);
    EXPECT_EQ(sim::eightBitsOf(129), 1);
    EXPECT_EQ(sim::eightBitsOf(32897), 128);
    EXPECT_EQ(sim::eightBitsOf(65535), 255);
}

TEST(Png, PaletteWithTransparencyBecomesRgba) {
    TempDir tmp;
    const uint8_t palette[2 * 4] = {255, 0, 0, 255, 0, 0, 255, 64};
    const uint8_t indices[2] = {1, 0};
    writeWithLibpng(tmp.file("c.png"), PNG_FORMAT_RGBA_COLORMAP, 2, 1, indices, palette, 2);
    EXPECT_EQ(sim::readPng(tmp.file("c.png")).rgba,
              (std::vector<uint8_t>{0, 0, 255, 64, 255, 0, 0, 255}));
}

TEST(Png, ErrorsNameTheFileAndWhatFailed) {
    TempDir tmp;
    std::string missing = tmp.file("missing.png");
    EXPECT_EQ(errorOf([&] { sim::readPng(missing); }),
              missing + ": cannot open the image: No such file or directory");

    std::string text = tmp.file("text.png");
    std::ofstream(text) << "not an image";
    EXPECT_EQ(errorOf([&] { sim::readPng(text); }), text + ": not a PNG file");

    // A valid signature and header followed by garbage fails inside libpng.
    std::string broken = tmp.file("broken.png");
    sim::writePng(broken, 2, 2, std::vector<uint8_t>(16, 7).data());
    std::string bytes;
    {
        std::ifstream in(broken, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(broken, std::ios::binary) << bytes.substr(0, 40);
    EXPECT_EQ(errorOf([&] { sim::readPng(broken); }).rfind(broken + ": cannot decode the PNG: ", 0),
              0u);
}

TEST(Png, FailedWriteLeavesNoFile) {
    TempDir tmp;
    std::string target = tmp.file("no-such-folder/out.png");
    std::vector<uint8_t> pixel = {1, 2, 3, 4};
    EXPECT_EQ(errorOf([&] {
                  sim::writePng(target, 1, 1, pixel.data());
              }).rfind(target + ": cannot create a temporary file: ", 0),
              0u);
    EXPECT_EQ(errorOf([&] { sim::writePng(tmp.file("zero.png"), 0, 1, pixel.data()); }),
              tmp.file("zero.png") + ": cannot write a PNG of 0x1 pixels");
    EXPECT_EQ(tmp.listing(), "");
}

TEST(Png, HeadersClaimingMoreThanTheFileCanHoldAreRefusedBeforeAnyAllocation) {
    TempDir tmp;
    struct Bomb {
        uint32_t width, height;
        const char* message;
    } bombs[] = {
        {30000, 30000, "expected at most 67108864 pixels, got 30000x30000"},
        {40000, 10, "expected a width and height from 1 to 30000, got 40000x10"},
        {0, 10, "expected a width and height from 1 to 30000, got 0x10"},
        {8000, 8000, "the header claims 8000x8000 pixels, more than a file of 69 bytes can hold"},
    };
    for (const Bomb& b : bombs) {
        std::string path = tmp.file("bomb.png");
        std::ofstream(path, std::ios::binary) << simtest::pngHeaderOnly(b.width, b.height);
        EXPECT_EQ(errorOf([&] { sim::readPng(path); }),
                  path + ": cannot decode the PNG: " + b.message);
    }
    // A small header in a file of that size goes on to libpng, which finds the data missing.
    std::string small = tmp.file("small.png");
    std::ofstream(small, std::ios::binary) << simtest::pngHeaderOnly(16, 16);
    EXPECT_EQ(errorOf([&] { sim::readPng(small); }).rfind(small + ": cannot decode the PNG: ", 0),
              0u);
    std::string cut = tmp.file("cut.png");
    std::ofstream(cut, std::ios::binary) << simtest::pngHeaderOnly(16, 16).substr(0, 20);
    EXPECT_EQ(errorOf([&] { sim::readPng(cut); }),
              cut + ": cannot decode the PNG: the file ends inside its image header");
    std::string empty = tmp.file("empty.png");
    std::ofstream(empty).close();
    EXPECT_EQ(errorOf([&] { sim::readPng(empty); }),
              empty + ": expected a PNG image, but the file is empty");
}
