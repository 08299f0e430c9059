// The product's pixel scan against the one-pass reference and against reading the whole frame once.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PixelScan.h"
#include "ReferenceScan.h"

namespace {

struct Depth {
    int bits;
    int code;  // crop::PixelDepth
};
const Depth kDepths[] = {{8, crop::kDepth8}, {16, crop::kDepth16}, {32, crop::kDepth32}};

struct Size {
    int32_t width, height;
};
const Size kSizes[] = {{1920, 1080}, {3840, 2160}};

const char* const kLayouts[] = {"empty", "full", "box", "corner", "diagonal", "padded"};

// Extra bytes per row of the `padded` layout; filled like the simulator's padding, so a scan that
// strayed into it would find "content" at 16 bits.
constexpr size_t kPadding = 64;
constexpr uint8_t kPaddingByte = 0xA5;

struct Frame {
    std::string key;
    int32_t width = 0, height = 0;
    size_t rowBytes = 0;
    std::vector<uint8_t> bytes;
    size_t size() const { return bytes.size(); }
};

// An opaque white pixel at the depth: every channel at the depth's white.
void writeOpaque(uint8_t* px, int code) {
    if (code == crop::kDepth8) {
        std::memset(px, 255, 4);
    } else if (code == crop::kDepth16) {
        const uint16_t white = 32768;
        for (int c = 0; c < 4; ++c)
            std::memcpy(px + 2 * c, &white, 2);
    } else {
        const float white = 1.0f;
        for (int c = 0; c < 4; ++c)
            std::memcpy(px + 4 * c, &white, 4);
    }
}

Frame makeFrame(const std::string& key, int code, Size s, const std::string& layout) {
    const size_t px = crop::pixelBytes(code);
    Frame f;
    f.key = key;
    f.width = s.width;
    f.height = s.height;
    f.rowBytes = s.width * px + (layout == "padded" ? kPadding : 0);
    // Every byte is written here, so page faults happen before timing starts.
    f.bytes.assign(f.rowBytes * s.height, 0);
    auto at = [&](int32_t x, int32_t y) { return f.bytes.data() + y * f.rowBytes + x * px; };
    if (layout == "padded")
        for (int32_t y = 0; y < s.height; ++y)
            std::memset(at(s.width, y), kPaddingByte, kPadding);
    if (layout == "full") {
        for (int32_t y = 0; y < s.height; ++y)
            for (int32_t x = 0; x < s.width; ++x)
                writeOpaque(at(x, y), code);
    } else if (layout == "box" || layout == "padded") {
        const int32_t x0 = (s.width - 200) / 2, y0 = (s.height - 100) / 2;
        for (int32_t y = y0; y < y0 + 100; ++y)
            for (int32_t x = x0; x < x0 + 200; ++x)
                writeOpaque(at(x, y), code);
    } else if (layout == "corner") {
        writeOpaque(at(s.width - 1, s.height - 1), code);
    } else if (layout == "diagonal") {
        for (int32_t y = 0; y < s.height; ++y)
            writeOpaque(at(static_cast<int32_t>(int64_t{y} * (s.width - 1) / (s.height - 1)), y),
                        code);
    }
    return f;
}

// The frame of the case being measured. Google Benchmark calls a case's function several times
// while it settles the iteration count; keeping only the latest frame builds each buffer once per
// case without holding every 4K float frame in memory at the same time.
const Frame& frameFor(int code, Size s, const std::string& layout) {
    static std::unique_ptr<Frame> current;
    const std::string key = std::to_string(code) + "/" + layout + "/" + std::to_string(s.width) +
                            "x" + std::to_string(s.height);
    if (!current || current->key != key) {
        current.reset();  // free the previous frame before the next one is filled
        current = std::make_unique<Frame>(makeFrame(key, code, s, layout));
    }
    return *current;
}

void scanCase(benchmark::State& state, int code, Size s, std::string layout, bool reference) {
    const Frame& f = frameFor(code, s, layout);
    const crop::ScanExtent expected =
        reference::scan(f.bytes.data(), code, f.width, f.height, f.rowBytes);
    crop::ScanExtent got{};
    for (auto _ : state) {
        // The buffer counts as rewritten every time, so no call can be hoisted out of the loop.
        benchmark::ClobberMemory();
        got = reference
                  ? reference::scan(f.bytes.data(), code, f.width, f.height, f.rowBytes)
                  : crop::scanContentExtent(f.bytes.data(), code, f.width, f.height, f.rowBytes);
        benchmark::DoNotOptimize(got);
    }
    if (got.firstRow != expected.firstRow || got.lastRow != expected.lastRow ||
        got.firstCol != expected.firstCol || got.lastCol != expected.lastCol)
        state.SkipWithError("the scan disagrees with the reference");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(f.size()));
}

// The floor for any scan that must look at every pixel: one OR over every byte of the frame.
// Eight independent accumulators over 64 bytes a step: with a single one, the chain of ORs (one
// 16-byte vector a cycle) would run slower than memory delivers and the floor would be too low.
void memoryReadCase(benchmark::State& state, int code, Size s) {
    const Frame& f = frameFor(code, s, "empty");
    const uint8_t* p = f.bytes.data();
    const size_t lines = f.size() / 64;
    for (auto _ : state) {
        benchmark::ClobberMemory();
        uint64_t acc[8] = {};
        for (size_t i = 0; i < lines; ++i) {
            for (int k = 0; k < 8; ++k) {
                uint64_t w;
                std::memcpy(&w, p + 64 * i + 8 * k, sizeof w);
                acc[k] |= w;
            }
        }
        uint64_t all = 0;
        for (uint64_t a : acc)
            all |= a;
        for (size_t i = lines * 64; i < f.size(); ++i)
            all |= p[i];
        benchmark::DoNotOptimize(all);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(f.size()));
}

// Registration order is run order: MemoryRead reads the `empty` frame that the first scan case
// uses, and each layout's scan and reference run back to back, so every frame is built once.
// Three short repetitions of each case, back to back: the fastest is the least disturbed by
// whatever else the machine runs, and docs/performance.md takes that one.
void settle(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->MinTime(0.2)->Repetitions(3);
}

bool registerScanCases() {
    for (const Depth& d : kDepths) {
        for (const Size& s : kSizes) {
            const std::string tail = std::to_string(s.width) + "x" + std::to_string(s.height);
            const std::string bits = std::to_string(d.bits);
            benchmark::RegisterBenchmark(("MemoryRead/" + bits + "/" + tail).c_str(),
                                         memoryReadCase, d.code, s)
                ->Apply(settle);
            for (const char* layout : kLayouts) {
                benchmark::RegisterBenchmark(
                    ("Scan/" + bits + "/" + layout + "/" + tail).c_str(),
                    [=](benchmark::State& st) { scanCase(st, d.code, s, layout, false); })
                    ->Apply(settle);
                benchmark::RegisterBenchmark(
                    ("ScanReference/" + bits + "/" + layout + "/" + tail).c_str(),
                    [=](benchmark::State& st) { scanCase(st, d.code, s, layout, true); })
                    ->Apply(settle);
            }
        }
    }
    return true;
}

const bool kScanCasesRegistered = registerScanCases();

}  // namespace
