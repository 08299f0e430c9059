// Compares two pictures of a golden case as decoded pixels: exit status 0 when every channel of
// every pixel is within the tolerance (0: exact), 1 when they differ (and a diff picture is
// written on request), 2 when a picture cannot be read or the arguments are wrong.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "Png.h"

namespace {

int usage() {
    std::fprintf(
        stderr,
        "usage: compare_pictures EXPECTED.png ACTUAL.png [--tolerance N] [--diff OUT.png]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string expectedPath = argv[1], actualPath = argv[2];
    int tolerance = 0;
    std::string diffPath;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--tolerance" && i + 1 < argc) {
            char* end = nullptr;
            long t = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || t < 0 || t > 255) return usage();
            tolerance = static_cast<int>(t);
        } else if (a == "--diff" && i + 1 < argc) {
            diffPath = argv[++i];
        } else {
            return usage();
        }
    }
    try {
        sim::ImageData expected = sim::readPng(expectedPath);
        sim::ImageData actual = sim::readPng(actualPath);
        if (expected.width != actual.width || expected.height != actual.height) {
            std::printf("%s: %dx%d, expected %dx%d\n", actualPath.c_str(), actual.width,
                        actual.height, expected.width, expected.height);
            return 1;
        }
        long differing = 0;
        int largest = 0;
        std::string first;
        std::vector<uint8_t> diff(actual.rgba.size(), 0);
        for (size_t p = 0; p < actual.rgba.size(); p += 4) {
            int worst = 0;
            for (size_t c = 0; c < 4; ++c)
                worst =
                    std::max(worst, std::abs(int(actual.rgba[p + c]) - int(expected.rgba[p + c])));
            diff[p + 3] = 255;
            if (worst <= tolerance) continue;
            diff[p] = 255;
            largest = std::max(largest, worst);
            if (differing++ == 0) {
                size_t pixel = p / 4;
                first = " first at (" + std::to_string(pixel % actual.width) + ", " +
                        std::to_string(pixel / actual.width) + ")";
            }
        }
        if (differing == 0) return 0;
        std::printf("%s: %ld pixels differ by more than %d (largest difference %d);%s\n",
                    actualPath.c_str(), differing, tolerance, largest, first.c_str());
        if (!diffPath.empty()) sim::writePng(diffPath, actual.width, actual.height, diff.data());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "compare_pictures: %s\n", e.what());
        return 2;
    }
}
