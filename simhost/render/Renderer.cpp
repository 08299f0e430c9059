// Composites a composition's layers in float, then stores the frame at the project's depth.
#include "Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "Geometry.h"
#include "MaskedBounds.h"

namespace sim {

namespace {

// Half-open pixel rectangle [x0, x1) x [y0, y1).
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
};

PixelRect unite(const PixelRect& a, const PixelRect& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

// Converts a coordinate to an int after clamping, so far-away layers never overflow.
int clampToInt(double v, int lo, int hi) {
    if (!(v > lo)) return lo;  // also catches NaN
    if (v > hi) return hi;
    return static_cast<int>(v);
}

// Premultiplied float ARGB over a window of a frame; everything outside it is transparent. Keeping
// only the window lets a large frame with small layers render quickly.
struct Canvas {
    PixelRect area;
    std::vector<float> px;

    explicit Canvas(PixelRect r) : area(r) {
        if (!r.isEmpty())
            px.assign(static_cast<size_t>(r.x1 - r.x0) * static_cast<size_t>(r.y1 - r.y0) * 4, 0.f);
    }
    bool contains(int x, int y) const {
        return x >= area.x0 && x < area.x1 && y >= area.y0 && y < area.y1;
    }
    float* at(int x, int y) {
        return px.data() +
               (static_cast<size_t>(y - area.y0) * static_cast<size_t>(area.x1 - area.x0) +
                static_cast<size_t>(x - area.x0)) *
                   4;
    }
    const float* at(int x, int y) const { return const_cast<Canvas*>(this)->at(x, y); }
};

// Which source pixels of a window the masks leave visible (1) or hide (0).
struct Coverage {
    PixelRect window;
    bool everything = true;  // no active mask
    std::vector<uint8_t> bits;

    bool visible(int x, int y) const {
        if (everything) return true;
        return bits[static_cast<size_t>(y - window.y0) *
                        static_cast<size_t>(window.x1 - window.x0) +
                    static_cast<size_t>(x - window.x0)] != 0;
    }
};

// Marks in `row` the pixels of source row y whose centres lie inside the polygon (even-odd rule,
// the same crossing test as a ray cast to the right from each centre).
void fillRow(const std::vector<Vec2>& poly, int y, const PixelRect& win, std::vector<double>& xs,
             std::vector<uint8_t>& row) {
    std::fill(row.begin(), row.end(), 0);
    const double cy = y + 0.5;
    xs.clear();
    for (size_t i = 0, n = poly.size(); i < n; ++i) {
        const Vec2& a = poly[i];
        const Vec2& b = poly[(i + 1) % n];
        if ((a.y > cy) != (b.y > cy)) xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(xs.begin(), xs.end());
    for (size_t k = 0; k + 1 < xs.size(); k += 2) {
        // Centres x + 0.5 in [xs[k], xs[k+1]).
        int from = clampToInt(std::ceil(xs[k] - 0.5), win.x0, win.x1);
        int to = clampToInt(std::ceil(xs[k + 1] - 0.5), win.x0, win.x1);
        for (int x = from; x < to; ++x)
            row[static_cast<size_t>(x - win.x0)] = 1;
    }
}

Coverage maskCoverage(const Layer& layer, Rational layerTime, const PixelRect& win) {
    Coverage cov;
    cov.window = win;
    const size_t w = static_cast<size_t>(win.x1 - win.x0);
    std::vector<double> xs;
    std::vector<uint8_t> row(w);
    for (const Mask& mask : layer.masks) {
        if (mask.mode == MaskMode::None) continue;
        MaskPath path = valueAt(mask.path, layerTime);
        if (!path.closed) continue;  // an open outline limits nothing
        if (cov.everything) {
            uint8_t start = mask.mode == MaskMode::Add ? 0 : 1;
            cov.bits.assign(w * static_cast<size_t>(win.y1 - win.y0), start);
            cov.everything = false;
        }
        std::vector<Vec2> poly = flattenMaskPath(path);
        const uint8_t flip = mask.inverted ? 1 : 0;
        for (int y = win.y0; y < win.y1; ++y) {
            fillRow(poly, y, win, xs, row);
            uint8_t* c = cov.bits.data() + static_cast<size_t>(y - win.y0) * w;
            for (size_t x = 0; x < w; ++x) {
                uint8_t m = row[x] ^ flip;
                switch (mask.mode) {
                    case MaskMode::Add:
                        c[x] = c[x] | m;
                        break;
                    case MaskMode::Subtract:
                        c[x] = c[x] & (1 - m);
                        break;
                    case MaskMode::Intersect:
                        c[x] = c[x] & m;
                        break;
                    case MaskMode::None:
                        break;
                }
            }
        }
    }
    return cov;
}

// A layer that will draw, with what is needed to draw it.
struct LayerPlan {
    const Layer* layer = nullptr;
    const Item* source = nullptr;
    Rational layerTime;
    Vec2 root;               // subtracted from composition coordinates before `inverse` applies
    Affine inverse;          // composition (minus root) -> source pixels
    PixelRect sourceWindow;  // source pixels that may show
    PixelRect dest;          // frame pixels that may be touched
    float opacity = 1;
};

struct Context {
    const Project& project;
    std::vector<Id> stack;  // compositions being rendered, to refuse self-nesting
};

Canvas renderCanvas(Context& ctx, const Item& compItem, Rational time, int dh, int dv);

bool hasVisibleContent(const Item& source) {
    switch (source.type) {
        case ItemType::Solid:
            return true;
        case ItemType::Image:
            return source.image != nullptr;
        case ItemType::Comp:
            return true;
        default:
            return false;  // folders, null sources
    }
}

bool planLayer(const Project& project, const Comp& comp, const Layer& layer, Rational time, int dh,
               int dv, int frameW, int frameH, LayerPlan* plan) {
    if (!layer.video || layer.kind != LayerKind::AV) return false;
    if (time < layer.inPoint || time >= layer.outPoint) return false;
    const Item* source = project.findItem(layer.source);
    if (!source || !hasVisibleContent(*source)) return false;
    int sw = 0, sh = 0;
    itemSize(*source, &sw, &sh);
    if (sw <= 0 || sh <= 0) return false;

    plan->layer = &layer;
    plan->source = source;
    plan->layerTime = time - layer.startTime;
    plan->opacity =
        static_cast<float>(std::clamp(valueAt(layer.opacity, plan->layerTime), 0.0, 100.0) / 100.0);
    if (plan->opacity <= 0) return false;

    FloatRect visible = maskedBounds(layer, sw, sh, plan->layerTime);
    if (visible.isEmpty()) return false;
    // Every source pixel whose centre lies in the visible bounds.
    PixelRect win{
        clampToInt(std::floor(visible.left), 0, sw), clampToInt(std::floor(visible.top), 0, sh),
        clampToInt(std::ceil(visible.right), 0, sw), clampToInt(std::ceil(visible.bottom), 0, sh)};

    LayerTransform xf = layerTransform(comp, layer, time);
    if (xf.rest.determinant() == 0 || !std::isfinite(xf.rest.determinant())) return false;
    plan->root = xf.rootPosition;
    plan->inverse = inverse(xf.rest);

    // Frame pixels whose centres may fall inside the window's transformed corners (one pixel of
    // margin; the exact test is made per pixel).
    Affine full = xf.full();
    FloatRect box = boundsOf({full.apply({double(win.x0), double(win.y0)}),
                              full.apply({double(win.x1), double(win.y0)}),
                              full.apply({double(win.x0), double(win.y1)}),
                              full.apply({double(win.x1), double(win.y1)})});
    plan->dest = {clampToInt(std::floor(box.left / dh - 0.5) - 1, 0, frameW),
                  clampToInt(std::floor(box.top / dv - 0.5) - 1, 0, frameH),
                  clampToInt(std::ceil(box.right / dh - 0.5) + 2, 0, frameW),
                  clampToInt(std::ceil(box.bottom / dv - 0.5) + 2, 0, frameH)};
    if (plan->dest.isEmpty()) return false;

    // Only the source pixels the frame can reach need mask coverage.
    const Affine& inv = plan->inverse;
    auto back = [&](int x, int y) {
        return inv.apply({double(x) * dh - plan->root.x, double(y) * dv - plan->root.y});
    };
    const PixelRect& d = plan->dest;
    FloatRect reach =
        boundsOf({back(d.x0, d.y0), back(d.x1, d.y0), back(d.x0, d.y1), back(d.x1, d.y1)});
    plan->sourceWindow = {clampToInt(std::floor(reach.left) - 1, win.x0, win.x1),
                          clampToInt(std::floor(reach.top) - 1, win.y0, win.y1),
                          clampToInt(std::ceil(reach.right) + 1, win.x0, win.x1),
                          clampToInt(std::ceil(reach.bottom) + 1, win.y0, win.y1)};
    return !plan->sourceWindow.isEmpty();
}

// Draws one layer; fetch(ix, iy, argb) gives a premultiplied source pixel, false when transparent.
template <typename Fetch>
void drawLayer(Canvas& canvas, const LayerPlan& plan, const Coverage& cov, int dh, int dv,
               Fetch fetch) {
    const Affine& m = plan.inverse;
    const PixelRect& w = plan.sourceWindow;
    float s[4];
    for (int y = plan.dest.y0; y < plan.dest.y1; ++y) {
        const double cy = (y + 0.5) * dv - plan.root.y;
        for (int x = plan.dest.x0; x < plan.dest.x1; ++x) {
            const double cx = (x + 0.5) * dh - plan.root.x;
            const double sx = m.a * cx + m.b * cy + m.tx;
            const double sy = m.c * cx + m.d * cy + m.ty;
            if (!(sx >= w.x0 && sx < w.x1 && sy >= w.y0 && sy < w.y1)) continue;
            const int ix = static_cast<int>(std::floor(sx)), iy = static_cast<int>(std::floor(sy));
            if (!cov.visible(ix, iy) || !fetch(ix, iy, s)) continue;
            float* d = canvas.at(x, y);
            const float k = plan.opacity;
            const float keep = 1 - s[0] * k;
            for (int c = 0; c < 4; ++c)
                d[c] = s[c] * k + d[c] * keep;
        }
    }
}

void drawPlan(Context& ctx, Canvas& canvas, const LayerPlan& plan, int dh, int dv) {
    Coverage cov = maskCoverage(*plan.layer, plan.layerTime, plan.sourceWindow);
    const Item& src = *plan.source;
    if (src.type == ItemType::Solid) {
        float a = static_cast<float>(std::clamp(src.color[3], 0.0, 1.0));
        float argb[4] = {a, a * static_cast<float>(std::clamp(src.color[0], 0.0, 1.0)),
                         a * static_cast<float>(std::clamp(src.color[1], 0.0, 1.0)),
                         a * static_cast<float>(std::clamp(src.color[2], 0.0, 1.0))};
        drawLayer(canvas, plan, cov, dh, dv, [&](int, int, float* out) {
            std::memcpy(out, argb, sizeof argb);
            return true;
        });
    } else if (src.type == ItemType::Image) {
        const ImageData& img = *src.image;
        drawLayer(canvas, plan, cov, dh, dv, [&](int ix, int iy, float* out) {
            if (ix >= img.width || iy >= img.height) return false;
            const uint8_t* p =
                img.rgba.data() + (static_cast<size_t>(iy) * static_cast<size_t>(img.width) +
                                   static_cast<size_t>(ix)) *
                                      4;
            const float a = p[3] / 255.0f;
            out[0] = a;
            out[1] = p[0] / 255.0f * a;
            out[2] = p[1] / 255.0f * a;
            out[3] = p[2] / 255.0f * a;
            return true;
        });
    } else {
        Rational sourceTime = plan.layerTime;
        if (plan.layer->timeRemapEnabled)
            sourceTime = Rational::fromDouble(valueAt(plan.layer->timeRemap, plan.layerTime));
        const Canvas nested = renderCanvas(ctx, src, sourceTime, 1, 1);
        drawLayer(canvas, plan, cov, dh, dv, [&](int ix, int iy, float* out) {
            if (!nested.contains(ix, iy)) return false;
            std::memcpy(out, nested.at(ix, iy), 4 * sizeof(float));
            return out[0] != 0 || out[1] != 0 || out[2] != 0 || out[3] != 0;
        });
    }
}

int ceilDiv(int a, int b) {
    return (a + b - 1) / b;
}

Canvas renderCanvas(Context& ctx, const Item& compItem, Rational time, int dh, int dv) {
    if (std::find(ctx.stack.begin(), ctx.stack.end(), compItem.id) != ctx.stack.end())
        throw std::runtime_error("composition \"" + compItem.name + "\" contains itself");
    ctx.stack.push_back(compItem.id);
    const Comp& comp = compItem.comp;
    const int frameW = ceilDiv(comp.width, dh), frameH = ceilDiv(comp.height, dv);

    std::vector<LayerPlan> plans;
    PixelRect touched;
    for (size_t i = comp.layers.size(); i-- > 0;) {
        LayerPlan plan;
        if (!planLayer(ctx.project, comp, comp.layers[i], time, dh, dv, frameW, frameH, &plan))
            continue;
        touched = unite(touched, plan.dest);
        plans.push_back(plan);
    }
    Canvas canvas(touched);
    for (const LayerPlan& plan : plans)
        drawPlan(ctx, canvas, plan, dh, dv);
    ctx.stack.pop_back();
    return canvas;
}

// Writes the canvas into a transparent world; pixels outside it stay transparent.
void store(const Canvas& canvas, World& world) {
    const PixelRect& r = canvas.area;
    const size_t pixel = bytesPerPixel(world.type);
    for (int y = r.y0; y < r.y1; ++y) {
        uint8_t* out = world.data.data() + world.rowBytes * static_cast<size_t>(y) +
                       static_cast<size_t>(r.x0) * pixel;
        const float* in = canvas.at(r.x0, y);
        for (int x = r.x0; x < r.x1; ++x, in += 4, out += pixel) {
            if (world.type == kWorld32) {
                std::memcpy(out, in, pixel);
                continue;
            }
            const float white = world.type == kWorld8 ? 255.0f : 32768.0f;
            for (int c = 0; c < 4; ++c) {
                long v = std::lround(std::clamp(in[c], 0.0f, 1.0f) * white);
                if (world.type == kWorld8) {
                    out[c] = static_cast<uint8_t>(v);
                } else {
                    uint16_t v16 = static_cast<uint16_t>(v);
                    std::memcpy(out + 2 * c, &v16, 2);
                }
            }
        }
    }
}

}  // namespace

World renderComp(const Project& project, Id compItemId, Rational compTime, int downsampleH,
                 int downsampleV, const RenderSettings& settings) {
    const Item* item = project.findItem(compItemId);
    if (!item || item->type != ItemType::Comp)
        throw std::invalid_argument("item " + std::to_string(compItemId) + " is not a composition");
    if (downsampleH < 1 || downsampleV < 1)
        throw std::invalid_argument("downsample factor below 1");
    if (settings.extraRowBytes < 0) throw std::invalid_argument("negative row padding");
    const int type = worldTypeForBitsPerChannel(project.bitsPerChannel);
    const Comp& comp = item->comp;
    World world =
        makeWorld(type, ceilDiv(comp.width, downsampleH), ceilDiv(comp.height, downsampleV),
                  static_cast<size_t>(settings.extraRowBytes));
    Context ctx{project, {}};
    store(renderCanvas(ctx, *item, compTime, downsampleH, downsampleV), world);
    return world;
}

}  // namespace sim
