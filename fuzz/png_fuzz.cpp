// Fuzz target: the PNG footage reader over arbitrary file contents. Any file either decodes to an
// image within the host's limits, its pixel buffer exactly width x height x 4 bytes, or is refused
// with std::runtime_error; never a crash, another exception, or (with scripts/fuzz.sh's
// -rss_limit_mb) an allocation the file's header asked for but its size cannot back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

#include "Png.h"

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// The reader takes a path: each input is written to one file of this process.
const std::string& scratchPath() {
    static const std::string path = "/tmp/zentrim-png-fuzz-" + std::to_string(::getpid()) + ".png";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(scratchPath().c_str(), "wb");
    if (!file) fail("cannot write " + scratchPath());
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
    try {
        sim::ImageData image = sim::readPng(scratchPath());
        if (image.width < 1 || image.height < 1 || image.width > sim::kMaxPngSide ||
            image.height > sim::kMaxPngSide ||
            int64_t(image.width) * image.height > sim::kMaxPngPixels)
            fail("an image outside the limits: " + std::to_string(image.width) + "x" +
                 std::to_string(image.height));
        const size_t channels = size_t(image.width) * size_t(image.height) * 4;
        if (image.sixteenBits() ? image.rgba16.size() != channels || !image.rgba.empty()
                                : image.rgba.size() != channels)
            fail("the pixel buffer does not match the size");
    } catch (const std::runtime_error&) {
    } catch (const std::exception& e) {
        fail(std::string("not a runtime_error: ") + e.what());
    }
    std::remove(scratchPath().c_str());
    return 0;
}
