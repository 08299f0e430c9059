// Allocation, pixel access and conversion of worlds.
#include "World.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace sim {

size_t bytesPerPixel(int type) {
    switch (type) {
        case kWorld8:
            return 4;
        case kWorld16:
            return 8;
        case kWorld32:
            return 16;
        default:
            throw std::invalid_argument("unknown world type " + std::to_string(type));
    }
}

int worldTypeForBitsPerChannel(int bits) {
    switch (bits) {
        case 8:
            return kWorld8;
        case 16:
            return kWorld16;
        case 32:
            return kWorld32;
        default:
            throw std::invalid_argument("unsupported bits per channel " + std::to_string(bits));
    }
}

World makeWorld(int type, int width, int height, size_t extraRowBytes) {
    size_t pixel = bytesPerPixel(type);
    if (width < 0 || height < 0) throw std::invalid_argument("negative world size");
    if (extraRowBytes % (pixel / 4) != 0)
        throw std::invalid_argument("row padding must be a multiple of the channel size");
    World w;
    w.type = type;
    w.width = width;
    w.height = height;
    w.rowBytes = static_cast<size_t>(width) * pixel + extraRowBytes;
    // Zero bytes are transparent at every depth (0.0f is all zero bits).
    w.data.assign(w.rowBytes * static_cast<size_t>(height), 0);
    if (extraRowBytes > 0) {
        for (int y = 0; y < height; ++y) {
            uint8_t* row = w.data.data() + w.rowBytes * static_cast<size_t>(y);
            std::fill(row + static_cast<size_t>(width) * pixel, row + w.rowBytes, kPaddingByte);
        }
    }
    return w;
}

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

PixelRect intersect(const PixelRect& a, const PixelRect& b) {
    PixelRect r{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
                std::min(a.y1, b.y1)};
    return r.isEmpty() ? PixelRect{} : r;
}

void clearPixels(World& w, const PixelRect& area) {
    const PixelRect r = intersect(area, {0, 0, w.width, w.height});
    if (r.isEmpty()) return;
    const size_t pixel = bytesPerPixel(w.type);
    const size_t bytes = static_cast<size_t>(r.x1 - r.x0) * pixel;
    for (int y = r.y0; y < r.y1; ++y)
        std::memset(
            w.data.data() + w.rowBytes * static_cast<size_t>(y) + static_cast<size_t>(r.x0) * pixel,
            0, bytes);
}

namespace {

size_t offsetOf(const World& w, int x, int y) {
    if (x < 0 || y < 0 || x >= w.width || y >= w.height)
        throw std::out_of_range("pixel outside the world");
    return w.rowBytes * static_cast<size_t>(y) + static_cast<size_t>(x) * bytesPerPixel(w.type);
}

void requireType(const World& w, int type) {
    if (w.type != type) throw std::invalid_argument("world has another depth");
}

// memcpy keeps access valid whatever the buffer's alignment.
template <typename P>
P load(const World& w, int x, int y) {
    P p;
    std::memcpy(&p, w.data.data() + offsetOf(w, x, y), sizeof p);
    return p;
}

template <typename P>
void store(World& w, int x, int y, const P& p) {
    std::memcpy(w.data.data() + offsetOf(w, x, y), &p, sizeof p);
}

template <typename T>
T quantise(float v, float white) {
    return static_cast<T>(std::lround(std::clamp(v, 0.0f, 1.0f) * white));
}

}  // namespace

uint8_t* pixelAddress(World& w, int x, int y) {
    return w.data.data() + offsetOf(w, x, y);
}
const uint8_t* pixelAddress(const World& w, int x, int y) {
    return w.data.data() + offsetOf(w, x, y);
}

Pixel8 readPixel8(const World& w, int x, int y) {
    requireType(w, kWorld8);
    return load<Pixel8>(w, x, y);
}
Pixel16 readPixel16(const World& w, int x, int y) {
    requireType(w, kWorld16);
    return load<Pixel16>(w, x, y);
}
PixelF readPixel32(const World& w, int x, int y) {
    requireType(w, kWorld32);
    return load<PixelF>(w, x, y);
}

PixelF readPixel(const World& w, int x, int y) {
    switch (w.type) {
        case kWorld8: {
            Pixel8 p = load<Pixel8>(w, x, y);
            return {p.alpha / 255.0f, p.red / 255.0f, p.green / 255.0f, p.blue / 255.0f};
        }
        case kWorld16: {
            Pixel16 p = load<Pixel16>(w, x, y);
            return {p.alpha / 32768.0f, p.red / 32768.0f, p.green / 32768.0f, p.blue / 32768.0f};
        }
        default:
            return readPixel32(w, x, y);
    }
}

void writePixel(World& w, int x, int y, const PixelF& p) {
    switch (w.type) {
        case kWorld8:
            store(w, x, y,
                  Pixel8{quantise<uint8_t>(p.alpha, 255), quantise<uint8_t>(p.red, 255),
                         quantise<uint8_t>(p.green, 255), quantise<uint8_t>(p.blue, 255)});
            break;
        case kWorld16:
            store(w, x, y,
                  Pixel16{quantise<uint16_t>(p.alpha, 32768), quantise<uint16_t>(p.red, 32768),
                          quantise<uint16_t>(p.green, 32768), quantise<uint16_t>(p.blue, 32768)});
            break;
        default:
            requireType(w, kWorld32);
            store(w, x, y, p);
    }
}

namespace {

// Straight 8-bit RGBA of one normalised premultiplied pixel.
void straighten(const PixelF& p, uint8_t* o) {
    float a = std::clamp(p.alpha, 0.0f, 1.0f);
    if (a <= 0) {
        o[0] = o[1] = o[2] = o[3] = 0;
        return;
    }
    o[0] = quantise<uint8_t>(p.red / a, 255);
    o[1] = quantise<uint8_t>(p.green / a, 255);
    o[2] = quantise<uint8_t>(p.blue / a, 255);
    o[3] = quantise<uint8_t>(a, 255);
}

// At 8 bits a straight colour channel depends only on the pixel's alpha and that channel, and the
// straight alpha on the alpha: every answer straighten() gives, looked up by alpha * 256 + channel,
// and the alphas' after them at 65536 + alpha.
const std::vector<uint8_t>& straightTable8() {
    static const std::vector<uint8_t> table = [] {
        std::vector<uint8_t> t(256 * 256 + 256);
        uint8_t o[4];
        for (int a = 0; a < 256; ++a) {
            for (int c = 0; c < 256; ++c) {
                straighten({a / 255.0f, c / 255.0f, 0, 0}, o);
                t[static_cast<size_t>(a) * 256 + static_cast<size_t>(c)] = o[0];
            }
            t[65536 + static_cast<size_t>(a)] = o[3];
        }
        return t;
    }();
    return table;
}

}  // namespace

std::vector<uint8_t> toStraightRGBA8(const World& w) {
    std::vector<uint8_t> out(static_cast<size_t>(w.width) * static_cast<size_t>(w.height) * 4);
    uint8_t* o = out.data();
    if (w.type == kWorld8) {
        const std::vector<uint8_t>& table = straightTable8();
        for (int y = 0; y < w.height; ++y) {
            const uint8_t* p = w.data.data() + w.rowBytes * static_cast<size_t>(y);
            for (int x = 0; x < w.width; ++x, p += 4, o += 4) {
                const size_t row = static_cast<size_t>(p[0]) * 256;  // alpha, red, green, blue
                o[0] = table[row + p[1]];
                o[1] = table[row + p[2]];
                o[2] = table[row + p[3]];
                o[3] = table[65536 + static_cast<size_t>(p[0])];
            }
        }
        return out;
    }
    for (int y = 0; y < w.height; ++y)
        for (int x = 0; x < w.width; ++x, o += 4)
            straighten(readPixel(w, x, y), o);
    return out;
}

}  // namespace sim
