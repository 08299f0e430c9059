// Pixel comparison of rendered frames, with a diff picture on failure.
#include "SimFixture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "Png.h"
#include "World.h"

namespace simtest {

sim::HostModel hostModelOfTheRun() {
    static const sim::HostModel model = [] {
        sim::HostModel m;
        const char* text = std::getenv("ZENTRIM_HOST_MODEL");
        std::string rest = text ? text : "";
        while (!rest.empty()) {
            size_t comma = rest.find(',');
            std::string setting = rest.substr(0, comma);
            rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
            std::string error;
            if (!sim::setHostModel(m, setting, &error)) {
                std::fprintf(stderr, "ZENTRIM_HOST_MODEL: %s\n", error.c_str());
                std::exit(2);
            }
        }
        return m;
    }();
    return model;
}

::testing::AssertionResult samePixels(const sim::World& expected, const sim::World& actual, int dx,
                                      int dy, const std::string& name) {
    if (expected.type != actual.type) return ::testing::AssertionFailure() << "depths differ";
    size_t bytes = sim::bytesPerPixel(actual.type);
    int differing = 0;
    std::ostringstream first;
    std::vector<uint8_t> diff(static_cast<size_t>(actual.width) * actual.height * 4, 0);
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            int ex = x + dx, ey = y + dy;
            const uint8_t* a = sim::pixelAddress(actual, x, y);
            static const uint8_t kTransparent[16] = {};
            const uint8_t* e = (ex >= 0 && ey >= 0 && ex < expected.width && ey < expected.height)
                                   ? sim::pixelAddress(expected, ex, ey)
                                   : kTransparent;
            bool same = std::memcmp(a, e, bytes) == 0;
            uint8_t* d = &diff[(static_cast<size_t>(y) * actual.width + x) * 4];
            d[0] = same ? 0 : 255;
            d[3] = 255;
            if (!same && differing++ == 0) {
                sim::PixelF pa = sim::readPixel(actual, x, y);
                first << "first at (" << x << ", " << y << "): alpha " << pa.alpha
                      << ", expected alpha "
                      << (e == kTransparent ? 0.0f : sim::readPixel(expected, ex, ey).alpha);
            }
        }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    std::string path = std::string(ZENTRIM_BINARY_DIR) + "/" + name + ".png";
    try {
        sim::writePng(path, actual.width, actual.height, diff.data());
    } catch (...) {
    }
    return ::testing::AssertionFailure()
           << differing << " pixels differ; " << first.str() << "; diff in " << path;
}

}  // namespace simtest
