// The product's pixel scan against the fastest read of the whole frame one core can do, and
// against the one-pass reference.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "PixelScan.h"
#include "ReferenceScan.h"

#if (defined(__x86_64__) || defined(__amd64__)) && (defined(__GNUC__) || defined(__clang__))
#define ZENTRIM_BENCH_AVX2 1
#include <immintrin.h>
#else
#define ZENTRIM_BENCH_AVX2 0
#endif

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

bool sameExtent(const crop::ScanExtent& a, const crop::ScanExtent& b) {
    return a.firstRow == b.firstRow && a.lastRow == b.lastRow && a.firstCol == b.firstCol &&
           a.lastCol == b.lastCol;
}

// Reads of every byte of a frame, OR-ed together: the floor for any scan that must look at every
// pixel. Both keep several independent chains of ORs, so that the chain never runs slower than
// memory delivers. The portable one reads 64-bit words, which the compiler turns into the
// target's baseline vectors; the AVX2 one reads 256-bit vectors where the processor has them.
uint64_t readWords(const uint8_t* p, size_t n) {
    const size_t lines = n / 64;
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
    for (size_t i = lines * 64; i < n; ++i)
        all |= p[i];
    return all;
}

#if ZENTRIM_BENCH_AVX2
__attribute__((target("avx2"))) uint64_t readAvx2(const uint8_t* p, size_t n) {
    __m256i a = _mm256_setzero_si256(), b = a, c = a, d = a;
    size_t i = 0;
    for (; i + 128 <= n; i += 128) {
        a = _mm256_or_si256(a, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i)));
        b = _mm256_or_si256(b, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 32)));
        c = _mm256_or_si256(c, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 64)));
        d = _mm256_or_si256(d, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 96)));
    }
    a = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
    uint64_t lanes[4];
    std::memcpy(lanes, &a, sizeof lanes);
    uint64_t all = lanes[0] | lanes[1] | lanes[2] | lanes[3];
    for (; i < n; ++i)
        all |= p[i];
    return all;
}
#endif

// The processor check of the product's AVX2 kernel serves the AVX2 read as well.
bool avx2Runs() {
    return ZENTRIM_BENCH_AVX2 && crop::scanKernelAvailable(crop::ScanKernel::kAvx2);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n == 0 ? 0.0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Microseconds this thread has run on a processor: unlike the wall clock, it does not count the
// time the thread waits while other work on the machine has the processor.
double threadMicros() {
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
#else
    return std::chrono::duration<double, std::micro>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
#endif
}

constexpr int kRounds = 21;

// One round times, on the same frame, the portable read, the AVX2 read, the product's scan (the
// fastest kernel this processor runs) and the portable kernel, in an order that rotates from round
// to round; figures are the medians over the rounds, of the thread's time on the processor and of
// the wall clock. Whatever else the machine runs slows the reads and the scans of a round alike,
// so the ratios hold better than the times.
void scanAgainstReadCase(benchmark::State& state, int code, Size s, const std::string& layout) {
    const Frame& f = frameFor(code, s, layout);
    const uint8_t* p = f.bytes.data();
    const crop::ScanExtent expected = reference::scan(p, code, f.width, f.height, f.rowBytes);
    const bool avx2 = avx2Runs();
    enum { kReadWords, kReadAvx2, kScan, kPortable, kMeasures };
    std::vector<double> times[kMeasures], wall[kMeasures];
    crop::ScanExtent got{}, gotPortable{};
    int round = 0;
    for (auto _ : state) {
        double roundScan = 0;
        for (int k = 0; k < kMeasures; ++k) {
            const int which = (k + round) % kMeasures;
            if (which == kReadAvx2 && !avx2) continue;
            benchmark::ClobberMemory();
            const auto start = std::chrono::steady_clock::now();
            const double startOnCore = threadMicros();
            if (which == kReadWords) {
                benchmark::DoNotOptimize(readWords(p, f.size()));
#if ZENTRIM_BENCH_AVX2
            } else if (which == kReadAvx2) {
                benchmark::DoNotOptimize(readAvx2(p, f.size()));
#endif
            } else if (which == kScan) {
                got = crop::scanContentExtent(p, code, f.width, f.height, f.rowBytes);
                benchmark::DoNotOptimize(got);
            } else {
                gotPortable = crop::scanContentExtentWith(crop::ScanKernel::kPortable, p, code,
                                                          f.width, f.height, f.rowBytes);
                benchmark::DoNotOptimize(gotPortable);
            }
            const double onCore = threadMicros() - startOnCore;
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            times[which].push_back(onCore);
            wall[which].push_back(took.count());
            if (which == kScan) roundScan = took.count();
        }
        state.SetIterationTime(roundScan / 1e6);
        ++round;
    }
    if (!sameExtent(got, expected) || !sameExtent(gotPortable, expected)) {
        state.SkipWithError("the scan disagrees with the reference");
        return;
    }
    const double words = median(times[kReadWords]);
    const double vectors = avx2 ? median(times[kReadAvx2]) : 0.0;
    const double read = avx2 ? std::min(words, vectors) : words;
    const double scan = median(times[kScan]);
    const double portable = median(times[kPortable]);
    state.counters["read_us"] = read;
    state.counters["read_words_us"] = words;
    state.counters["read_avx2_us"] = vectors;
    state.counters["read_gb_per_s"] = static_cast<double>(f.size()) / read / 1e3;
    state.counters["scan_us"] = scan;
    state.counters["scan_portable_us"] = portable;
    state.counters["ratio"] = scan / read;
    state.counters["ratio_portable"] = portable / read;
    const double wallRead = avx2 ? std::min(median(wall[kReadWords]), median(wall[kReadAvx2]))
                                 : median(wall[kReadWords]);
    state.counters["wall_read_us"] = wallRead;
    state.counters["wall_scan_us"] = median(wall[kScan]);
    state.counters["wall_ratio"] = median(wall[kScan]) / wallRead;
    state.counters["wall_ratio_portable"] = median(wall[kPortable]) / wallRead;
    state.counters["avx2"] = avx2 ? 1 : 0;
    state.counters["rounds"] = round;
}

void referenceCase(benchmark::State& state, int code, Size s, const std::string& layout) {
    const Frame& f = frameFor(code, s, layout);
    for (auto _ : state) {
        benchmark::ClobberMemory();
        benchmark::DoNotOptimize(
            reference::scan(f.bytes.data(), code, f.width, f.height, f.rowBytes));
    }
}

// Registration order is run order: each layout's comparison and reference run back to back, so
// every frame is built once.
bool registerScanCases() {
    for (const Depth& d : kDepths) {
        for (const Size& s : kSizes) {
            const std::string tail = std::to_string(s.width) + "x" + std::to_string(s.height);
            const std::string bits = std::to_string(d.bits);
            for (const char* layout : kLayouts) {
                const std::string name = bits + "/" + layout + "/" + tail;
                benchmark::RegisterBenchmark(
                    ("ScanVsRead/" + name).c_str(),
                    [=](benchmark::State& st) { scanAgainstReadCase(st, d.code, s, layout); })
                    ->Unit(benchmark::kMicrosecond)
                    ->Iterations(kRounds)
                    ->UseManualTime();
                benchmark::RegisterBenchmark(
                    ("ScanReference/" + name).c_str(),
                    [=](benchmark::State& st) { referenceCase(st, d.code, s, layout); })
                    ->Unit(benchmark::kMicrosecond)
                    ->Iterations(3);
            }
        }
    }
    return true;
}

const bool kScanCasesRegistered = registerScanCases();

}  // namespace
