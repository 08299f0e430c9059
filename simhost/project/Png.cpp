// Reading and writing PNG files with libpng's transforms.
#include "Png.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

#include <png.h>

#include "AtomicFile.h"
#include "InputText.h"

namespace sim {

namespace {

// Everything libpng's error path touches lives on the heap: after setjmp returns a second time,
// local variables changed in between would hold indeterminate values.
struct ReadState {
    char message[256] = "";
    ImageData image;
    std::vector<png_bytep> rows;
};

struct WriteState {
    char message[256] = "";
    std::vector<png_const_bytep> rows;
};

void onError(png_structp png, png_const_charp message) {
    char* buffer = static_cast<char*>(png_get_error_ptr(png));
    std::snprintf(buffer, 256, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

bool littleEndian() {
    const uint16_t one = 1;
    unsigned char first = 0;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

// libpng's error path longjmps back here, so no object with a destructor is created between the
// setjmp and the end of the function.
bool decode(std::FILE* file, ReadState* state) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, state->message, onError, onWarning);
    if (!png) {
        std::snprintf(state->message, sizeof state->message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::snprintf(state->message, sizeof state->message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int depth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, nullptr, nullptr, nullptr);
    bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (hasTransparency) png_set_tRNS_to_alpha(png);
    // 16-bit channels stay 16 bits, in the machine's byte order.
    const bool sixteen = depth == 16;
    if (sixteen && littleEndian()) png_set_swap(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if (!(colorType & PNG_COLOR_MASK_ALPHA) && !hasTransparency)
        png_set_add_alpha(png, sixteen ? 0xffff : 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t pixelBytes = sixteen ? 8 : 4;
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * pixelBytes) {
        std::snprintf(state->message, sizeof state->message, "unexpected pixel layout");
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }

    png_bytep pixels = nullptr;
    try {
        state->image.width = static_cast<int>(width);
        state->image.height = static_cast<int>(height);
        const size_t channels = static_cast<size_t>(width) * height * 4;
        if (sixteen) {
            state->image.rgba16.resize(channels);
            pixels = reinterpret_cast<png_bytep>(state->image.rgba16.data());
        } else {
            state->image.rgba.resize(channels);
            pixels = state->image.rgba.data();
        }
        state->rows.resize(height);
    } catch (const std::bad_alloc&) {
        std::snprintf(state->message, sizeof state->message, "out of memory");
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    for (png_uint_32 y = 0; y < height; ++y)
        state->rows[y] = pixels + static_cast<size_t>(y) * width * pixelBytes;
    png_read_image(png, state->rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool encode(std::FILE* file, int width, int height, int depth, WriteState* state) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, state->message, onError, onWarning);
    if (!png) {
        std::snprintf(state->message, sizeof state->message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(state->message, sizeof state->message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 depth, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (depth == 16 && littleEndian()) png_set_swap(png);
    // libpng's row type is non-const for historical reasons; it only reads the rows.
    png_write_image(png, const_cast<png_bytepp>(state->rows.data()));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

uint32_t bigEndian(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Deflate encodes at best 258 bytes in 2 bits.
constexpr uint64_t kDeflateMaxRatio = 1032;

// The image header, read from the 25 bytes after the signature: "" when the size it claims can
// be held and the file is large enough for it, else what is wrong.
std::string checkHeader(const unsigned char* chunk, uintmax_t fileSize) {
    if (bigEndian(chunk) != 13 || std::memcmp(chunk + 4, "IHDR", 4) != 0)
        return "the file does not start with an image header";
    uint64_t width = bigEndian(chunk + 8), height = bigEndian(chunk + 12);
    int depth = chunk[16], colorType = chunk[17];
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (width < 1 || height < 1 || width > uint64_t(kMaxPngSide) || height > uint64_t(kMaxPngSide))
        return "expected a width and height from 1 to " + std::to_string(kMaxPngSide) + ", got " +
               size;
    // 16-bit channels take twice the memory: the same bytes hold half the pixels.
    const uint64_t maxPixels = uint64_t(kMaxPngPixels) / (depth == 16 ? 2 : 1);
    if (width * height > maxPixels)
        return "expected at most " + std::to_string(maxPixels) + " pixels" +
               (depth == 16 ? " at 16 bits per channel" : "") + ", got " + size;
    int channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
    // The filtered rows of a non-interlaced image; an interlaced one needs a little more.
    uint64_t raw = height * (1 + (width * channels * uint64_t(depth) + 7) / 8);
    if (raw / kDeflateMaxRatio > fileSize)
        return "the header claims " + size + " pixels, more than a file of " +
               std::to_string(fileSize) + " bytes can hold";
    return "";
}

}  // namespace

ImageData readPng(const std::string& path) {
    uintmax_t fileSize = 0;
    try {
        fileSize = checkInputFile(path, kImageFileKind);
    } catch (const InputError& error) {
        throw std::runtime_error(error.what());
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw std::runtime_error(path + ": cannot open the image: " + std::strerror(errno));
    unsigned char signature[8] = {};
    if (std::fread(signature, 1, sizeof signature, file) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0) {
        std::fclose(file);
        throw std::runtime_error(path + ": not a PNG file");
    }
    unsigned char header[25] = {};
    std::string wrong = std::fread(header, 1, sizeof header, file) == sizeof header
                            ? checkHeader(header, fileSize)
                            : "the file ends inside its image header";
    if (!wrong.empty() || std::fseek(file, 8, SEEK_SET) != 0) {
        std::fclose(file);
        throw std::runtime_error(path + ": cannot decode the PNG: " +
                                 (wrong.empty() ? std::string("cannot read it again") : wrong));
    }
    auto state = std::make_unique<ReadState>();
    bool ok = decode(file, state.get());
    std::fclose(file);
    if (!ok) throw std::runtime_error(path + ": cannot decode the PNG: " + state->message);
    return std::move(state->image);
}

namespace {

void writeRows(const std::string& path, int width, int height, int depth, const uint8_t* pixels,
               size_t rowBytes) {
    auto state = std::make_unique<WriteState>();
    state->rows.resize(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        state->rows[y] = pixels + static_cast<size_t>(y) * rowBytes;
    writeFileAtomically(path, [&](std::FILE* file) {
        if (!encode(file, width, height, depth, state.get()))
            throw std::runtime_error(path + ": cannot encode the PNG: " + state->message);
    });
}

}  // namespace

void writePng(const std::string& path, int width, int height, const uint8_t* rgba,
              size_t rowBytes) {
    if (width <= 0 || height <= 0 || !rgba)
        throw std::runtime_error(path + ": cannot write a PNG of " + std::to_string(width) + "x" +
                                 std::to_string(height) + " pixels");
    if (rowBytes == 0) rowBytes = static_cast<size_t>(width) * 4;
    if (rowBytes < static_cast<size_t>(width) * 4)
        throw std::runtime_error(path + ": row stride " + std::to_string(rowBytes) +
                                 " is shorter than a row of " + std::to_string(width) + " pixels");
    writeRows(path, width, height, 8, rgba, rowBytes);
}

void writePng(const std::string& path, const ImageData& image) {
    const size_t channels = static_cast<size_t>(std::max(image.width, 0)) *
                            static_cast<size_t>(std::max(image.height, 0)) * 4;
    if (image.width <= 0 || image.height <= 0 ||
        (image.sixteenBits() ? image.rgba16.size() : image.rgba.size()) != channels)
        throw std::runtime_error(path + ": the image's pixel buffer does not match its size");
    if (!image.sixteenBits()) {
        writePng(path, image.width, image.height, image.rgba.data());
        return;
    }
    writeRows(path, image.width, image.height, 16,
              reinterpret_cast<const uint8_t*>(image.rgba16.data()),
              static_cast<size_t>(image.width) * 8);
}

}  // namespace sim
