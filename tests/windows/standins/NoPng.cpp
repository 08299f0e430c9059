// PNG footage in the Windows test host: libpng is not packaged for mingw-w64, and the test's
// project has no footage, so reading or writing a PNG is a clear error instead.
#include <stdexcept>

#include "Png.h"

namespace sim {

ImageData readPng(const std::string& path) {
    throw std::runtime_error(path + ": PNG footage is not available in the Windows test host");
}

void writePng(const std::string& path, int, int, const uint8_t*, size_t) {
    throw std::runtime_error(path + ": PNG output is not available in the Windows test host");
}

void writePng(const std::string& path, const ImageData&) {
    writePng(path, 0, 0, nullptr, 0);
}

}  // namespace sim
