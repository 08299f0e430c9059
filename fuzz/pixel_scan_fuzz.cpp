// Fuzz target: the visible-pixel scan, and the measurement of a frame through the host's world
// suite (limit rectangle, downsample factors, padding, host errors), each against a plain
// reference, over arbitrary frame sizes, depths, row bytes and pixel values.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "Crop.h"
#include "FakeHost.h"
#include "FuzzInput.h"
#include "PixelScan.h"
#include "ReferenceScan.h"

#if defined(__SANITIZE_ADDRESS__)
#define ZENTRIM_FUZZ_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENTRIM_FUZZ_ASAN 1
#endif
#endif

#ifdef ZENTRIM_FUZZ_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

constexpr int32_t kMaxSide = 130;  // several of each scan kernel's blocks at every depth

[[noreturn]] void mismatch(const char* what, double expected, double actual) {
    std::fprintf(stderr, "%s: expected %.17g, got %.17g\n", what, expected, actual);
    std::abort();
}

void expectEqual(const char* what, double expected, double actual) {
    if (!(expected == actual)) mismatch(what, expected, actual);
}

size_t bytesOf(int depth) {
    size_t b = crop::pixelBytes(depth);
    return b ? b : 16;  // an unknown depth is laid out as floats by whoever made the frame
}

// A frame whose colour channels hold noise and whose alphas are zero, except the pixels the input
// names, whose alpha takes raw input bytes: NaNs, negative zeros, denormals and infinities of
// float frames come up as well as plain values. The buffer ends right after the last pixel, so a
// read past the frame is caught.
std::vector<uint8_t> makeFrame(fuzz::Input& in, int depth, int32_t width, int32_t height,
                               size_t rowBytes) {
    size_t bytes = bytesOf(depth);
    size_t size =
        height > 0 && width > 0 ? static_cast<size_t>(height - 1) * rowBytes + width * bytes : 0;
    std::vector<uint8_t> frame(size);
    for (size_t i = 0; i < size; ++i)
        frame[i] = static_cast<uint8_t>(i * 131 + 7);
    size_t alphaBytes = depth == crop::kDepth8 ? 1 : depth == crop::kDepth16 ? 2 : 4;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (size_t b = 0; b < alphaBytes; ++b)
                frame[y * rowBytes + x * bytes + b] = 0;
    while (in.remaining() > 0 && width > 0 && height > 0) {
        int32_t x = static_cast<int32_t>(in.range(0, width - 1));
        int32_t y = static_cast<int32_t>(in.range(0, height - 1));
        for (size_t b = 0; b < alphaBytes; ++b)
            frame[y * rowBytes + x * bytes + b] = in.take<uint8_t>();
    }
    return frame;
}

// Marks the bytes between each row's last pixel and the next row unreadable (or readable again),
// so that a scan loading past a row's end is caught although the buffer goes on. The sanitizer
// tracks 8-byte granules: padding that shares a granule with the next row's first pixel stays
// readable there.
void fenceRowEnds(const std::vector<uint8_t>& frame, int32_t width, int32_t height, size_t rowBytes,
                  size_t bytes, bool fenced) {
#ifdef ZENTRIM_FUZZ_ASAN
    const size_t pixels = static_cast<size_t>(width) * bytes;
    for (int32_t y = 0; y + 1 < height && !frame.empty() && rowBytes > pixels; ++y) {
        const uint8_t* end = frame.data() + y * rowBytes + pixels;
        if (fenced)
            ASAN_POISON_MEMORY_REGION(end, rowBytes - pixels);
        else
            ASAN_UNPOISON_MEMORY_REGION(end, rowBytes - pixels);
    }
#else
    (void)frame;
    (void)width;
    (void)height;
    (void)rowBytes;
    (void)bytes;
    (void)fenced;
#endif
}

void checkScan(fuzz::Input& in) {
    int depth = static_cast<int>(in.range(0, 4));  // 1 to 3, and two unknown depths
    int32_t width = static_cast<int32_t>(in.range(0, kMaxSide));
    int32_t height = static_cast<int32_t>(in.range(0, kMaxSide));
    size_t rowBytes = width * bytesOf(depth) + static_cast<size_t>(in.range(0, 40));
    std::vector<uint8_t> frame = makeFrame(in, depth, width, height, rowBytes);
    const void* base = frame.empty() ? nullptr : frame.data();
    crop::ScanExtent want = reference::scan(base, depth, width, height, rowBytes);
    if (!base) want = crop::ScanExtent{height, 0, width, 0};
    // Every kernel this processor runs, the plug-in's own choice among them included.
    for (crop::ScanKernel kernel : {crop::ScanKernel::kPortable, crop::ScanKernel::kAvx2}) {
        if (!crop::scanKernelAvailable(kernel)) continue;
        fenceRowEnds(frame, width, height, rowBytes, bytesOf(depth), true);
        crop::ScanExtent got =
            crop::scanContentExtentWith(kernel, base, depth, width, height, rowBytes);
        fenceRowEnds(frame, width, height, rowBytes, bytesOf(depth), false);
        expectEqual("first row", want.firstRow, got.firstRow);
        expectEqual("last row", want.lastRow, got.lastRow);
        expectEqual("first column", want.firstCol, got.firstCol);
        expectEqual("last column", want.lastCol, got.lastCol);
    }
}

// An edge of the limit rectangle: "no limit", a value around the frame, raw bits, NaN or an
// infinity.
double limitEdge(fuzz::Input& in, int32_t side) {
    switch (in.range(0, 5)) {
        case 0:
            return -1.0;
        case 1:
            return static_cast<double>(in.range(-20, side + 20)) + in.range(0, 3) * 0.25;
        case 2:
            return in.take<double>();
        case 3:
            return std::numeric_limits<double>::quiet_NaN();
        case 4:
            return in.flag() ? HUGE_VAL : -HUGE_VAL;
        default:
            return static_cast<double>(in.take<int32_t>()) * 4096.0;
    }
}

// floor() of a limit edge as a 32-bit index, clamped to the integer range.
int64_t edgeIndex(double v) {
    double f = std::floor(v);
    if (f <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (f >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int64_t>(f);
}

void checkFindBounds(fuzz::Input& in) {
    static const char* const kCalls[] = {"GetSize",
                                         "GetRowBytes",
                                         "GetType",
                                         "GetBaseAddr8",
                                         "GetBaseAddr16",
                                         "GetBaseAddr32",
                                         "GetApplicationBlob",
                                         "GetData Padding",
                                         "GetLong PaddingAmount"};
    FakeHost host;
    int typeChoice = static_cast<int>(in.range(0, 4));
    host.worldType = static_cast<AEGP_WorldType>(typeChoice);  // 1 to 3, and unknown types
    int depth = typeChoice;
    host.width = static_cast<A_long>(in.range(0, kMaxSide));
    host.height = static_cast<A_long>(in.range(0, kMaxSide));
    size_t bytes = bytesOf(depth);
    // Now and then rows shorter than the width: the measurement must refuse them, not read on.
    int64_t extra = in.range(-8, 40);
    int64_t rowBytes = static_cast<int64_t>(host.width * bytes) + extra;
    if (rowBytes < 0) rowBytes = 0;
    host.rowBytes = static_cast<A_u_long>(rowBytes);
    short hFactor = static_cast<short>(in.range(-2, 8));
    short vFactor = static_cast<short>(in.range(-2, 8));
    if (in.flag()) hFactor = in.take<int16_t>();
    A_FloatRect limit;
    limit.top = limitEdge(in, host.height);
    limit.bottom = limitEdge(in, host.height);
    limit.left = limitEdge(in, host.width);
    limit.right = limitEdge(in, host.width);
    if (in.flag()) host.flags["Padding"] = in.take<uint8_t>();
    if (in.flag()) host.longs["PaddingAmount"] = in.take<int32_t>();
    int64_t failing = in.range(-1, 9);
    if (failing >= 0 && failing < 9) host.failCall = kCalls[failing];
    host.failWith = 7;
    if (failing == 9) host.missingSuite = in.flag() ? kAEGPWorldSuite : kAEGPPersistentDataSuite;
    bool shortRows = extra < 0 && host.width > 0;
    if (!shortRows) {
        host.pixels = makeFrame(in, depth, host.width, host.height, host.rowBytes);
    } else {
        host.pixels.assign(static_cast<size_t>(rowBytes) * host.height, 0xFF);
    }

    crop::CroppingBounds got{-9, -9, -9, -9, -9, -9};
    AEGP_WorldH world = reinterpret_cast<AEGP_WorldH>(&host);
    A_Err err = 0;
    bool thrown = false;
    try {
        err = crop::findCropBounds(host.basic(), &world, hFactor, vFactor, &got, limit);
    } catch (A_Err e) {
        thrown = true;
        if (e != 516) mismatch("thrown error", 516, e);
    }
    for (auto& [name, count] : host.acquired)
        if (host.released[name] != count) mismatch(("releases of " + name).c_str(), count, 0);
    // The reference: each host call only while no error; the record is written in any case.
    A_Err want = 0;
    auto reached = [&](const std::string& call) {
        if (want) return false;
        if (host.failCall == call) want = 7;
        return want == 0;
    };
    int64_t width = 0, height = 0;
    if (reached("GetSize")) {
        width = host.width;
        height = host.height;
    }
    reached("GetRowBytes");
    reached("GetType");
    const char* base = depth == 1 ? "GetBaseAddr8" : depth == 2 ? "GetBaseAddr16" : "GetBaseAddr32";
    if (reached(base) && depth != 1 && depth != 2 && depth != 3) want = A_Err_PARAMETER;
    if (!want && width > 0 && crop::pixelBytes(depth) &&
        host.rowBytes < static_cast<size_t>(width) * crop::pixelBytes(depth))
        want = A_Err_PARAMETER;
    crop::ScanExtent e{static_cast<int32_t>(height), 0, static_cast<int32_t>(width), 0};
    if (!want && width > 0 && height > 0)
        e = reference::scan(host.pixels.data(), depth, static_cast<int32_t>(width),
                            static_cast<int32_t>(height), host.rowBytes);
    int64_t top = e.firstRow, bottom = e.lastRow, left = e.firstCol, right = e.lastCol;
    if (limit.bottom != -1.0 && limit.right != -1.0) {
        if (limit.top > static_cast<double>(top)) top = edgeIndex(limit.top);
        if (static_cast<double>(bottom) > limit.bottom) bottom = edgeIndex(limit.bottom);
        if (limit.left > static_cast<double>(left)) left = edgeIndex(limit.left);
        if (static_cast<double>(right) > limit.right) right = edgeIndex(limit.right);
    }
    // A missing suite ends the measurement where that suite is first needed.
    bool wantThrow = host.missingSuite == kAEGPWorldSuite ||
                     (host.missingSuite == kAEGPPersistentDataSuite && !want);
    if (thrown != wantThrow) mismatch("thrown missing-suite error", wantThrow, thrown);
    if (thrown) return;
    int64_t padding = 0;
    if (reached("GetApplicationBlob") && reached("GetData Padding")) {
        auto flag = host.flags.find("Padding");
        if (flag != host.flags.end() && flag->second && reached("GetLong PaddingAmount")) {
            auto amount = host.longs.find("PaddingAmount");
            padding = amount == host.longs.end() ? 0 : std::max<int64_t>(0, amount->second);
        }
    }
    expectEqual("error", want, err);
    expectEqual("top", static_cast<double>(top * vFactor - padding), got.top);
    expectEqual("bottom", static_cast<double>(bottom * vFactor + padding), got.bottom);
    expectEqual("left", static_cast<double>(left * hFactor - padding), got.left);
    expectEqual("right", static_cast<double>(right * hFactor + padding), got.right);
    expectEqual("width", static_cast<double>(width * hFactor), got.width);
    expectEqual("height", static_cast<double>(height * vFactor), got.height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    if (in.flag())
        checkScan(in);
    else
        checkFindBounds(in);
    return 0;
}
