// Pixel buffers in the host's layout (alpha, red, green, blue; premultiplied) at 8, 16 and 32 bpc.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

constexpr int kWorld8 = 1;   // uint8 channels, 0..255
constexpr int kWorld16 = 2;  // uint16 channels, 0..32768 (the host's 16-bit white)
constexpr int kWorld32 = 3;  // float channels, nominally 0..1

// Written into every row's padding by makeWorld, so a reader that ignores rowBytes sees garbage
// and a test can prove the padding was never written as pixels.
constexpr uint8_t kPaddingByte = 0xA5;

// Half-open rectangle of pixels [x0, x1) x [y0, y1); empty when x1 <= x0 or y1 <= y0.
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
};
PixelRect unite(const PixelRect& a, const PixelRect& b);      // empty operands are ignored
PixelRect intersect(const PixelRect& a, const PixelRect& b);  // {} when they don't overlap

// Rows top to bottom, each rowBytes long (>= width * bytesPerPixel(type)); pixels premultiplied.
struct World {
    int type = kWorld8;
    int width = 0, height = 0;
    size_t rowBytes = 0;
    std::vector<uint8_t> data;
};

// Channel values of one pixel; 8-bit and 16-bit ones raw, normalised ones as 0..1 floats.
struct Pixel8 {
    uint8_t alpha, red, green, blue;
};
struct Pixel16 {
    uint16_t alpha, red, green, blue;
};
struct PixelF {
    float alpha, red, green, blue;
};

size_t bytesPerPixel(int type);  // 4, 8 or 16; throws std::invalid_argument for other types
int worldTypeForBitsPerChannel(int bits);  // 8 -> kWorld8, 16 -> kWorld16, 32 -> kWorld32

// A transparent world; rows are padded by extraRowBytes, which must be a multiple of the
// channel size so that every row stays aligned for its channel type.
World makeWorld(int type, int width, int height, size_t extraRowBytes = 0);

uint8_t* pixelAddress(World& world, int x, int y);
const uint8_t* pixelAddress(const World& world, int x, int y);

// Makes the pixels of `area` (clipped to the world) transparent; the rows' padding is left alone.
void clearPixels(World& world, const PixelRect& area);

// Raw access; each throws std::invalid_argument when the world has another depth.
Pixel8 readPixel8(const World& world, int x, int y);
Pixel16 readPixel16(const World& world, int x, int y);
PixelF readPixel32(const World& world, int x, int y);

// Normalised access at any depth: 8-bit values / 255, 16-bit values / 32768, floats as stored.
PixelF readPixel(const World& world, int x, int y);
// Stores a normalised pixel: 8 bpc round(v * 255), 16 bpc round(v * 32768), both clamped to
// range; 32 bpc as given.
void writePixel(World& world, int x, int y, const PixelF& p);

// Straight (not premultiplied) 8-bit RGBA, width * 4 bytes a row without padding, for PNG files.
std::vector<uint8_t> toStraightRGBA8(const World& world);

}  // namespace sim
