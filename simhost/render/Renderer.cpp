// Renders a frame in two steps: every composition involved is planned (layers that draw, their
// footprints, masks, nested compositions' pictures), then the frame is composited in bands of rows
// that stay in the processor's cache, on the worker threads, and stored at the project's depth.
#include "Renderer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "Composite.h"
#include "LayerPlan.h"
#include "Parallel.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace sim {

namespace {

// Rows composited together: 1920 float pixels by 8 rows is 240 KB, within a core's cache.
constexpr int kBandRows = 8;
// Below this many pixels a composite stays on the calling thread: starting helpers costs more.
constexpr long long kParallelPixels = 256 * 256;

// One composition's part in the frame being rendered.
struct CompJob {
    std::vector<PreparedLayer> layers;  // bottom of the stack first; the first `count` are in use
    size_t count = 0;
    PixelRect touched;   // union of the layers' footprints
    FloatCanvas canvas;  // nested compositions: the picture over the window that is sampled
};

int ceilDiv(int a, int b) {
    return (a + b - 1) / b;
}

long long pixelCount(const PixelRect& r) {
    return r.isEmpty() ? 0 : static_cast<long long>(r.x1 - r.x0) * (r.y1 - r.y0);
}

}  // namespace

struct RenderScratch::Impl {
    std::unique_ptr<WorkerPool> pool;
    std::vector<std::unique_ptr<CompJob>> jobs;  // handed out in the order a frame needs them
    size_t jobsUsed = 0;
    std::vector<std::vector<float>> bands;      // one band buffer per worker
    std::vector<std::vector<PixelRect>> spans;  // one list of a band's columns per worker
    std::vector<Id> stack;  // compositions being planned, to refuse self-nesting

    void beginFrame(int threads) {
        const int wanted =
            threads <= 0 ? defaultThreadCount() : std::min(threads, kMaxRenderThreads);
        if (!pool || pool->threads() != wanted) pool = std::make_unique<WorkerPool>(wanted);
        bands.resize(static_cast<size_t>(pool->threads()));
        jobsUsed = 0;
        stack.clear();
    }
    CompJob& nextJob() {
        if (jobsUsed == jobs.size()) jobs.push_back(std::make_unique<CompJob>());
        return *jobs[jobsUsed++];
    }
    // Runs task(band, worker) over the bands of `area`, on the helpers when it is large.
    template <typename Task>
    void forEachBand(const PixelRect& area, Task task) {
        const int count = ceilDiv(area.y1 - area.y0, kBandRows);
        auto run = [&](int i, int worker) {
            const int y0 = area.y0 + i * kBandRows;
            task(PixelRect{area.x0, y0, area.x1, std::min(y0 + kBandRows, area.y1)}, worker);
        };
        if (pixelCount(area) < kParallelPixels) {
            for (int i = 0; i < count; ++i)
                run(i, 0);
        } else {
            pool->run(count, run);
        }
    }
};

RenderScratch::RenderScratch() : impl_(std::make_unique<Impl>()) {}
RenderScratch::~RenderScratch() = default;

namespace {

struct Context {
    const Project& project;
    RenderScratch::Impl& scratch;
};

// Composites every layer of the job over `region` of `target`, bottom first, from transparency.
void compositeRegion(const CompJob& job, const FloatRows& target, const PixelRect& region, int dh,
                     int dv) {
    const size_t floats = static_cast<size_t>(region.x1 - region.x0) * 4;
    size_t first = 0;
    float fill[4];
    if (job.count > 0 && fillsRegion(job.layers[0], region, fill)) {
        // A background that covers the region: its colour, without clearing first.
        for (int y = region.y0; y < region.y1; ++y) {
            float* d = target.at(region.x0, y);
            for (size_t i = 0; i < floats; i += 4)
                std::memcpy(d + i, fill, sizeof fill);
        }
        first = 1;
    } else {
        for (int y = region.y0; y < region.y1; ++y)
            std::memset(target.at(region.x0, y), 0, floats * sizeof(float));
    }
    for (size_t i = first; i < job.count; ++i)
        drawLayer(job.layers[i], target, region, dh, dv);
}

void renderNested(Context& ctx, const Item& compItem, Rational time, const PixelRect& window,
                  CompJob& job);

// Plans the layers of a composition that draw into its frame downsampled by (dh, dv), and renders
// the pictures of the nested compositions they show.
void planComp(Context& ctx, const Item& compItem, Rational time, int dh, int dv, CompJob& job) {
    std::vector<Id>& stack = ctx.scratch.stack;
    if (std::find(stack.begin(), stack.end(), compItem.id) != stack.end())
        throw std::runtime_error("composition \"" + compItem.name + "\" contains itself");
    stack.push_back(compItem.id);
    const Comp& comp = compItem.comp;
    const int frameW = ceilDiv(comp.width, dh), frameH = ceilDiv(comp.height, dv);

    job.count = 0;
    job.touched = {};
    for (size_t i = comp.layers.size(); i-- > 0;) {
        if (job.count == job.layers.size()) job.layers.emplace_back();
        PreparedLayer& layer = job.layers[job.count];
        layer.nested = nullptr;
        layer.footageAtEightBits = ctx.project.bitsPerChannel == 8;
        if (!planLayer(ctx.project, comp, comp.layers[i], time, dh, dv, frameW, frameH,
                       &layer.plan))
            continue;
        job.touched = unite(job.touched, layer.plan.dest);
        ++job.count;
    }
    for (size_t i = 0; i < job.count; ++i) {
        PreparedLayer& layer = job.layers[i];
        const LayerPlan& plan = layer.plan;
        if (plan.source->type == ItemType::Comp) {
            Rational sourceTime = plan.layerTime;
            if (plan.layer->timeRemapEnabled)
                sourceTime = Rational::fromDouble(valueAt(plan.layer->timeRemap, plan.layerTime));
            CompJob& nested = ctx.scratch.nextJob();
            renderNested(ctx, *plan.source, sourceTime, plan.sourceWindow, nested);
            layer.nested = &nested.canvas;
        }
        maskCoverage(*plan.layer, plan.layerTime, plan.sourceWindow, &layer.coverage);
        prepareSampling(layer, dh, dv);
    }
    stack.pop_back();
}

// A nested composition's picture at full resolution, over the part of it a layer samples (the
// rest is never read).
void renderNested(Context& ctx, const Item& compItem, Rational time, const PixelRect& window,
                  CompJob& job) {
    planComp(ctx, compItem, time, 1, 1, job);
    FloatCanvas& canvas = job.canvas;
    canvas.area = intersect(job.touched, window);
    const size_t floats = static_cast<size_t>(pixelCount(canvas.area)) * 4;
    if (canvas.px.size() < floats) canvas.px.resize(floats);
    if (canvas.area.isEmpty()) return;
    const FloatRows rows{canvas.px.data(), static_cast<size_t>(canvas.area.x1 - canvas.area.x0) * 4,
                         canvas.area.x0, canvas.area.y0};
    ctx.scratch.forEachBand(
        canvas.area, [&](const PixelRect& band, int) { compositeRegion(job, rows, band, 1, 1); });
}

// round(clamp(v, 0, 1) * white) as std::lround gives it, without the library call. For every float
// f in [0, 32768], lround(f) is 0 below one half and trunc(f + 0.5f) from there on (checked for
// each of them). NaN stores 0.
inline int quantise(float v, float white) {
    const float f = (v > 0 ? (v < 1 ? v : 1.0f) : 0.0f) * white;
    return f >= 0.5f ? static_cast<int>(f + 0.5f) : 0;
}

#if defined(__SSE2__) || defined(_M_X64)
// Four channels at once, with the same steps: max(v, 0) gives 0 for NaN as the test above does.
inline __m128i quantise4(const float* in, __m128 white) {
    const __m128 c = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(in), _mm_setzero_ps()), _mm_set1_ps(1.0f));
    const __m128 f = _mm_mul_ps(c, white);
    const __m128i rounded = _mm_cvttps_epi32(_mm_add_ps(f, _mm_set1_ps(0.5f)));
    return _mm_and_si128(rounded, _mm_castps_si128(_mm_cmpge_ps(f, _mm_set1_ps(0.5f))));
}
#define ZENTRIM_SIM_SSE2 1
#else
#define ZENTRIM_SIM_SSE2 0
#endif

void storeRow8(const float* in, uint8_t* out, size_t n) {
    size_t i = 0;
#if ZENTRIM_SIM_SSE2
    const __m128 white = _mm_set1_ps(255.0f);
    for (; i + 16 <= n; i += 16) {
        const __m128i a = _mm_packs_epi32(quantise4(in + i, white), quantise4(in + i + 4, white));
        const __m128i b =
            _mm_packs_epi32(quantise4(in + i + 8, white), quantise4(in + i + 12, white));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(a, b));
    }
#endif
    for (; i < n; ++i)
        out[i] = static_cast<uint8_t>(quantise(in[i], 255.0f));
}

void storeRow16(const float* in, uint8_t* out, size_t n) {
    size_t i = 0;
#if ZENTRIM_SIM_SSE2
    // 0..32768 does not fit a signed 16-bit pack: pack v - 32768, then flip the top bit back.
    const __m128 white = _mm_set1_ps(32768.0f);
    const __m128i bias = _mm_set1_epi32(32768);
    const __m128i top = _mm_set1_epi16(static_cast<short>(0x8000));
    for (; i + 8 <= n; i += 8) {
        const __m128i a = _mm_sub_epi32(quantise4(in + i, white), bias);
        const __m128i b = _mm_sub_epi32(quantise4(in + i + 4, white), bias);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i),
                         _mm_xor_si128(_mm_packs_epi32(a, b), top));
    }
#endif
    for (; i < n; ++i) {
        const uint16_t v = static_cast<uint16_t>(quantise(in[i], 32768.0f));
        std::memcpy(out + 2 * i, &v, 2);
    }
}

// Stores a band of float rows into the world's 8 or 16 bpc pixels.
void storeBand(const FloatRows& band, const PixelRect& region, World& world) {
    const size_t pixel = bytesPerPixel(world.type);
    const size_t n = static_cast<size_t>(region.x1 - region.x0) * 4;
    for (int y = region.y0; y < region.y1; ++y) {
        uint8_t* out = world.data.data() + world.rowBytes * static_cast<size_t>(y) +
                       static_cast<size_t>(region.x0) * pixel;
        if (world.type == kWorld8)
            storeRow8(band.at(region.x0, y), out, n);
        else
            storeRow16(band.at(region.x0, y), out, n);
    }
}

bool contains(const PixelRect& outer, const PixelRect& inner) {
    return inner.x0 >= outer.x0 && inner.y0 >= outer.y0 && inner.x1 <= outer.x1 &&
           inner.y1 <= outer.y1;
}

// The frame pixels each layer may touch; many are kept as their union.
std::vector<PixelRect> footprints(const CompJob& job) {
    std::vector<PixelRect> out;
    for (size_t i = 0; i < job.count; ++i)
        out.push_back(job.layers[i].plan.dest);
    if (out.size() > ReusableFrame::kMaxDrawn) out = {job.touched};
    return out;
}

// Clears what the previous render drew, except where a layer of this one covers it again: every
// pixel of a footprint is written when the band holding it is composited.
void clearPrevious(World& world, const std::vector<PixelRect>& previous,
                   const std::vector<PixelRect>& now) {
    for (const PixelRect& p : previous) {
        bool covered = false;
        for (const PixelRect& n : now)
            covered = covered || contains(n, p);
        if (!covered) clearPixels(world, p);
    }
}

// The columns of a band some layer may touch: the layers' footprints across it, merged where
// they overlap or meet.
void bandSpans(const CompJob& job, const PixelRect& band, std::vector<PixelRect>& spans) {
    spans.clear();
    for (size_t i = 0; i < job.count; ++i) {
        const PixelRect& d = job.layers[i].plan.dest;
        if (d.y1 > band.y0 && d.y0 < band.y1) spans.push_back({d.x0, band.y0, d.x1, band.y1});
    }
    std::sort(spans.begin(), spans.end(),
              [](const PixelRect& a, const PixelRect& b) { return a.x0 < b.x0; });
    size_t merged = 0;
    for (const PixelRect& s : spans) {
        if (merged > 0 && s.x0 <= spans[merged - 1].x1)
            spans[merged - 1].x1 = std::max(spans[merged - 1].x1, s.x1);
        else
            spans[merged++] = s;
    }
    spans.resize(merged);
}

}  // namespace

void renderComp(const Project& project, Id compItemId, Rational compTime, int downsampleH,
                int downsampleV, ReusableFrame& frame, RenderScratch& scratch,
                const RenderSettings& settings) {
    const Item* item = project.findItem(compItemId);
    if (!item || item->type != ItemType::Comp)
        throw std::invalid_argument("item " + std::to_string(compItemId) + " is not a composition");
    if (downsampleH < 1 || downsampleV < 1)
        throw std::invalid_argument("downsample factor below 1");
    if (settings.extraRowBytes < 0) throw std::invalid_argument("negative row padding");
    const int type = worldTypeForBitsPerChannel(project.bitsPerChannel);
    const size_t pixel = bytesPerPixel(type);
    const size_t padding = static_cast<size_t>(settings.extraRowBytes);
    if (padding % (pixel / 4) != 0)
        throw std::invalid_argument("row padding must be a multiple of the channel size");
    const Comp& comp = item->comp;
    const int width = ceilDiv(comp.width, downsampleH), height = ceilDiv(comp.height, downsampleV);

    RenderScratch::Impl& s = scratch.impl();
    s.beginFrame(settings.threads);
    Context ctx{project, s};
    CompJob& top = s.nextJob();
    planComp(ctx, *item, compTime, downsampleH, downsampleV, top);

    World& world = frame.world;
    if (world.type != type || world.width != width || world.height != height ||
        world.rowBytes != static_cast<size_t>(width) * pixel + padding ||
        world.data.size() != world.rowBytes * static_cast<size_t>(height)) {
        world = makeWorld(type, width, height, padding);
        frame.drawn.clear();
    }
    std::vector<PixelRect> drawn = footprints(top);
    clearPrevious(world, frame.drawn, drawn);
    frame.drawn = drawn;
    const PixelRect& area = top.touched;
    if (area.isEmpty()) return;
    const size_t bandFloats = static_cast<size_t>(area.x1 - area.x0) * 4 * kBandRows;
    if (type != kWorld32)
        for (std::vector<float>& b : s.bands)
            if (b.size() < bandFloats) b.resize(bandFloats);
    s.spans.resize(s.bands.size());
    // Only the columns of each band that some layer may touch are composited; the rest stays
    // transparent. At 32 bpc the world's own floats are the working copy.
    s.forEachBand(area, [&](const PixelRect& band, int worker) {
        std::vector<PixelRect>& spans = s.spans[static_cast<size_t>(worker)];
        bandSpans(top, band, spans);
        for (const PixelRect& span : spans) {
            if (type == kWorld32) {
                const FloatRows rows{reinterpret_cast<float*>(world.data.data()),
                                     world.rowBytes / 4, 0, 0};
                compositeRegion(top, rows, span, downsampleH, downsampleV);
            } else {
                const FloatRows rows{s.bands[static_cast<size_t>(worker)].data(),
                                     static_cast<size_t>(span.x1 - span.x0) * 4, span.x0, span.y0};
                compositeRegion(top, rows, span, downsampleH, downsampleV);
                storeBand(rows, span, world);
            }
        }
    });
}

World renderComp(const Project& project, Id compItemId, Rational compTime, int downsampleH,
                 int downsampleV, const RenderSettings& settings) {
    ReusableFrame frame;
    RenderScratch scratch;
    renderComp(project, compItemId, compTime, downsampleH, downsampleV, frame, scratch, settings);
    return std::move(frame.world);
}

}  // namespace sim
