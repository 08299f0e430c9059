// Layer drawing with the per-pixel arithmetic of a plain inverse-mapping loop, arranged so that
// work is done once per row or column where the result cannot differ, and never for pixels whose
// sample falls outside the layer's source window.
#include "Composite.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sim {

namespace {

// Magnitudes below this keep every product and sum of the sampling arithmetic finite.
constexpr double kSearchLimit = 1e100;

// Premultiplied "over" of source s, scaled by opacity k, onto d.
inline void blend(float* d, const float* s, float k) {
    const float keep = 1 - s[0] * k;
    for (int c = 0; c < 4; ++c)
        d[c] = s[c] * k + d[c] * keep;
}

// The same for a run of n pixels under one colour; sk[c] = s[c] * k.
inline void blendRun(float* d, int n, const float* sk, float keep) {
    for (int i = 0; i < n; ++i, d += 4)
        for (int c = 0; c < 4; ++c)
            d[c] = sk[c] + d[c] * keep;
}

struct Sampler {
    const LayerPlan& p;
    int dh, dv;

    double columnCentre(int x) const { return (x + 0.5) * dh - p.root.x; }
    double rowCentre(int y) const { return (y + 0.5) * dv - p.root.y; }
    double sourceX(double cx, double cy) const {
        const Affine& m = p.inverse;
        return m.a * cx + m.b * cy + m.tx;
    }
    double sourceY(double cx, double cy) const {
        const Affine& m = p.inverse;
        return m.c * cx + m.d * cy + m.ty;
    }
};

// Narrows [*from, *to) to where pred holds, for a predicate monotonic over the range (true then
// false, or false then true).
template <typename Pred>
void narrow(int* from, int* to, Pred pred) {
    if (*from >= *to) return;
    const bool first = pred(*from), last = pred(*to - 1);
    if (first && last) return;
    if (!first && !last) {
        *to = *from;
        return;
    }
    // The boundary: the first x whose answer differs from the first one's.
    int lo = *from, hi = *to - 1;  // pred(lo) == first, pred(hi) != first
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        (pred(mid) == first ? lo : hi) = mid;
    }
    if (first)
        *to = hi;
    else
        *from = hi;
}

// Draws with fetch(ix, iy, argb) giving a premultiplied source pixel (false: transparent).
template <typename Fetch>
void drawSampled(const PreparedLayer& L, const FloatRows& t, const PixelRect& r, int dh, int dv,
                 Fetch fetch) {
    const LayerPlan& p = L.plan;
    const PixelRect& w = p.sourceWindow;
    const float k = p.opacity;
    const bool masked = !L.coverage.everything;
    float s[4];
    if (L.axisAligned) {
        const int from = std::max(r.x0, L.firstColumn), to = std::min(r.x1, L.endColumn);
        if (from >= to) return;
        for (int y = r.y0; y < r.y1; ++y) {
            const int iy = L.rowSource[static_cast<size_t>(y - p.dest.y0)];
            if (iy < 0) continue;
            const uint8_t* cov = masked ? L.coverage.row(iy) : nullptr;
            float* d = t.at(from, y);
            for (int x = from; x < to; ++x, d += 4) {
                const int ix = L.columnSource[static_cast<size_t>(x - p.dest.x0)];
                if (ix < 0 || (cov && !cov[ix - w.x0]) || !fetch(ix, iy, s)) continue;
                blend(d, s, k);
            }
        }
        return;
    }
    // The sums below are the ones a.cx + b.cy + tx and c.cx + d.cy + ty make, in that order,
    // snapped to the sample grid.
    const Affine& m = p.inverse;
    const double* ax = L.columnA.data();
    const double* cc = L.columnC.data();
    const int base = p.dest.x0;
    auto sourceX = [&](int x, double by) { return snapToSampleGrid(ax[x - base] + by + m.tx); };
    auto sourceY = [&](int x, double dy) { return snapToSampleGrid(cc[x - base] + dy + m.ty); };
    for (int y = r.y0; y < r.y1; ++y) {
        const double cy = (y + 0.5) * dv - p.root.y;
        const double by = m.b * cy, dy = m.d * cy;
        int from = r.x0, to = r.x1;
        if (L.searchable) {
            narrow(&from, &to, [&](int x) { return sourceX(x, by) >= w.x0; });
            narrow(&from, &to, [&](int x) { return sourceX(x, by) < w.x1; });
            narrow(&from, &to, [&](int x) { return sourceY(x, dy) >= w.y0; });
            narrow(&from, &to, [&](int x) { return sourceY(x, dy) < w.y1; });
        }
        for (int x = from; x < to; ++x) {
            const double sx = sourceX(x, by), sy = sourceY(x, dy);
            if (!(sx >= w.x0 && sx < w.x1 && sy >= w.y0 && sy < w.y1)) continue;
            // Both are at least the window's origin, which is not negative: truncation is floor.
            const int ix = static_cast<int>(sx), iy = static_cast<int>(sy);
            if (masked && !L.coverage.row(iy)[ix - w.x0]) continue;
            if (!fetch(ix, iy, s)) continue;
            blend(t.at(x, y), s, k);
        }
    }
}

// An unmasked, axis-aligned solid: one colour over whole runs of pixels.
void drawSolidRuns(const PreparedLayer& L, const FloatRows& t, const PixelRect& r,
                   const float* argb) {
    const LayerPlan& p = L.plan;
    const float k = p.opacity;
    const float sk[4] = {argb[0] * k, argb[1] * k, argb[2] * k, argb[3] * k};
    const float keep = 1 - argb[0] * k;
    const int from = std::max(r.x0, L.firstColumn), to = std::min(r.x1, L.endColumn);
    if (from >= to) return;
    for (int y = r.y0; y < r.y1; ++y)
        if (L.rowSource[static_cast<size_t>(y - p.dest.y0)] >= 0)
            blendRun(t.at(from, y), to - from, sk, keep);
}

// A solid's premultiplied colour, each channel clamped to [0, 1].
void solidColour(const Item& solid, float argb[4]) {
    const float a = static_cast<float>(std::clamp(solid.color[3], 0.0, 1.0));
    argb[0] = a;
    for (int c = 0; c < 3; ++c)
        argb[c + 1] =
            a * static_cast<float>(std::clamp(solid.color[static_cast<size_t>(c)], 0.0, 1.0));
}

bool finiteBelow(double v) {
    return std::isfinite(v) && std::fabs(v) < kSearchLimit;
}

}  // namespace

void prepareSampling(PreparedLayer& L, int dh, int dv) {
    const LayerPlan& p = L.plan;
    const Affine& m = p.inverse;
    const PixelRect& w = p.sourceWindow;
    const PixelRect& d = p.dest;
    const Sampler sm{p, dh, dv};
    L.searchable = finiteBelow(m.a) && finiteBelow(m.b) && finiteBelow(m.c) && finiteBelow(m.d) &&
                   finiteBelow(m.tx) && finiteBelow(m.ty) && finiteBelow(p.root.x) &&
                   finiteBelow(p.root.y);
    // b and c zero (either sign): b * cy and c * cx are zeros, or NaN in every row or column
    // alike, so the sample's x depends on the column only and its y on the row only.
    L.axisAligned = m.b == 0 && m.c == 0;
    if (!L.axisAligned) {
        L.columnA.resize(static_cast<size_t>(d.x1 - d.x0));
        L.columnC.resize(static_cast<size_t>(d.x1 - d.x0));
        for (int x = d.x0; x < d.x1; ++x) {
            const double cx = sm.columnCentre(x);
            L.columnA[static_cast<size_t>(x - d.x0)] = m.a * cx;
            L.columnC[static_cast<size_t>(x - d.x0)] = m.c * cx;
        }
        return;
    }

    const double cy0 = sm.rowCentre(d.y0), cx0 = sm.columnCentre(d.x0);
    L.columnSource.resize(static_cast<size_t>(d.x1 - d.x0));
    L.rowSource.resize(static_cast<size_t>(d.y1 - d.y0));
    L.firstColumn = d.x1;
    L.endColumn = d.x0;
    int valid = 0;
    for (int x = d.x0; x < d.x1; ++x) {
        const double sx = snapToSampleGrid(sm.sourceX(sm.columnCentre(x), cy0));
        const bool in = sx >= w.x0 && sx < w.x1;
        L.columnSource[static_cast<size_t>(x - d.x0)] = in ? static_cast<int>(std::floor(sx)) : -1;
        if (!in) continue;
        L.firstColumn = std::min(L.firstColumn, x);
        L.endColumn = x + 1;
        ++valid;
    }
    if (valid == 0) L.firstColumn = L.endColumn = d.x0;
    L.contiguous = valid == L.endColumn - L.firstColumn;
    for (int y = d.y0; y < d.y1; ++y) {
        const double sy = snapToSampleGrid(sm.sourceY(cx0, sm.rowCentre(y)));
        L.rowSource[static_cast<size_t>(y - d.y0)] =
            sy >= w.y0 && sy < w.y1 ? static_cast<int>(std::floor(sy)) : -1;
    }
}

bool fillsRegion(const PreparedLayer& L, const PixelRect& region, float out[4]) {
    const LayerPlan& p = L.plan;
    if (p.source->type != ItemType::Solid || !L.axisAligned || !L.contiguous ||
        !L.coverage.everything || L.firstColumn > region.x0 || L.endColumn < region.x1 ||
        region.y0 < p.dest.y0 || region.y1 > p.dest.y1)
        return false;
    for (int y = region.y0; y < region.y1; ++y)
        if (L.rowSource[static_cast<size_t>(y - p.dest.y0)] < 0) return false;
    float argb[4];
    solidColour(*p.source, argb);
    const float k = p.opacity, keep = 1 - argb[0] * k;
    if (!std::isfinite(k) || !std::isfinite(keep)) return false;
    // Over zeros, s * k + 0 * keep is s * k + 0 (which turns -0 into +0).
    for (int c = 0; c < 4; ++c)
        out[c] = argb[c] * k + 0.0f;
    return true;
}

void drawLayer(const PreparedLayer& L, const FloatRows& t, const PixelRect& region, int dh,
               int dv) {
    const PixelRect r = intersect(region, L.plan.dest);
    if (r.isEmpty()) return;
    const Item& src = *L.plan.source;
    if (src.type == ItemType::Solid) {
        float argb[4];
        solidColour(src, argb);
        if (L.axisAligned && L.contiguous && L.coverage.everything) {
            drawSolidRuns(L, t, r, argb);
            return;
        }
        drawSampled(L, t, r, dh, dv, [&](int, int, float* out) {
            std::memcpy(out, argb, 4 * sizeof(float));
            return true;
        });
    } else if (src.type == ItemType::Image) {
        const ImageData& img = *src.image;
        drawSampled(L, t, r, dh, dv, [&](int ix, int iy, float* out) {
            if (ix >= img.width || iy >= img.height) return false;
            return footagePixel(img, ix, iy, L.footageAtEightBits, out);
        });
    } else {
        const FloatCanvas& nested = *L.nested;
        drawSampled(L, t, r, dh, dv, [&](int ix, int iy, float* out) {
            if (!nested.contains(ix, iy)) return false;
            std::memcpy(out, nested.at(ix, iy), 4 * sizeof(float));
            return out[0] != 0 || out[1] != 0 || out[2] != 0 || out[3] != 0;
        });
    }
}

}  // namespace sim
