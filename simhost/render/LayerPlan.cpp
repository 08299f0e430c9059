// Planning a layer's draw (timing, source, masked bounds, transform, footprint) and its mask
// coverage.
#include "LayerPlan.h"

#include <algorithm>
#include <cmath>

#include "MaskedBounds.h"

namespace sim {

int clampToInt(double v, int lo, int hi) {
    if (!(v > lo)) return lo;  // also catches NaN
    if (v > hi) return hi;
    return static_cast<int>(v);
}

namespace {

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

}  // namespace

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

namespace {

// Marks in `row` the pixels of source row y whose centres lie inside the polygon (even-odd rule,
// the same crossing test as a ray cast to the right from each centre; crossings on the sample
// grid).
void fillRow(const std::vector<Vec2>& poly, int y, const PixelRect& win, std::vector<double>& xs,
             std::vector<uint8_t>& row) {
    std::fill(row.begin(), row.end(), 0);
    const double cy = y + 0.5;
    xs.clear();
    for (size_t i = 0, n = poly.size(); i < n; ++i) {
        const Vec2& a = poly[i];
        const Vec2& b = poly[(i + 1) % n];
        if ((a.y > cy) != (b.y > cy))
            xs.push_back(snapToSampleGrid(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y)));
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

}  // namespace

void maskCoverage(const Layer& layer, Rational layerTime, const PixelRect& win, Coverage* out) {
    Coverage& cov = *out;
    cov.window = win;
    cov.everything = true;
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
        // On the sample grid, so that an outline through pixel centres (a vertex at 10.5) keeps
        // them in or out whatever its last bits.
        std::vector<Vec2> poly = flattenMaskPath(path);
        for (Vec2& p : poly)
            p = {snapToSampleGrid(p.x), snapToSampleGrid(p.y)};
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
}

}  // namespace sim
