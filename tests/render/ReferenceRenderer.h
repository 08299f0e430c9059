// The straightforward renderer: every layer evaluated pixel by pixel over its footprint into one
// float canvas of the frame, then stored with std::lround. The reference the renderer must match
// byte for byte.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "Composite.h"
#include "LayerPlan.h"
#include "World.h"

namespace reference {

using namespace sim;

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
               (static_cast<size_t>(y - area.y0) * (area.x1 - area.x0) + (x - area.x0)) * 4;
    }
    const float* at(int x, int y) const { return const_cast<Canvas*>(this)->at(x, y); }
};

inline Canvas renderCanvas(const Project& p, const Item& c, Rational t, int dh, int dv,
                           std::vector<Id>& stack);

// fetch(ix, iy, argb): a premultiplied source pixel, false when transparent.
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
            const double sx = snapToSampleGrid(m.a * cx + m.b * cy + m.tx);
            const double sy = snapToSampleGrid(m.c * cx + m.d * cy + m.ty);
            if (!(sx >= w.x0 && sx < w.x1 && sy >= w.y0 && sy < w.y1)) continue;
            const int ix = static_cast<int>(std::floor(sx)), iy = static_cast<int>(std::floor(sy));
            if (!cov.everything && !cov.row(iy)[ix - w.x0]) continue;
            if (!fetch(ix, iy, s)) continue;
            float* d = canvas.at(x, y);
            const float keep = 1 - s[0] * plan.opacity;
            for (int ch = 0; ch < 4; ++ch)
                d[ch] = s[ch] * plan.opacity + d[ch] * keep;
        }
    }
}

inline void drawPlan(const Project& p, Canvas& canvas, const LayerPlan& plan, int dh, int dv,
                     std::vector<Id>& stack) {
    Coverage cov;
    maskCoverage(*plan.layer, plan.layerTime, plan.sourceWindow, &cov);
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
            return footagePixel(img, ix, iy, p.bitsPerChannel == 8, out);
        });
    } else {
        Rational t = plan.layerTime;
        if (plan.layer->timeRemapEnabled)
            t = Rational::fromDouble(valueAt(plan.layer->timeRemap, plan.layerTime));
        const Canvas nested = renderCanvas(p, src, t, 1, 1, stack);
        drawLayer(canvas, plan, cov, dh, dv, [&](int ix, int iy, float* out) {
            if (!nested.contains(ix, iy)) return false;
            std::memcpy(out, nested.at(ix, iy), 4 * sizeof(float));
            return out[0] != 0 || out[1] != 0 || out[2] != 0 || out[3] != 0;
        });
    }
}

inline Canvas renderCanvas(const Project& p, const Item& c, Rational t, int dh, int dv,
                           std::vector<Id>& stack) {
    if (std::find(stack.begin(), stack.end(), c.id) != stack.end())
        throw std::runtime_error("composition \"" + c.name + "\" contains itself");
    stack.push_back(c.id);
    const int w = (c.comp.width + dh - 1) / dh, h = (c.comp.height + dv - 1) / dv;
    std::vector<LayerPlan> plans;
    PixelRect touched;
    for (size_t i = c.comp.layers.size(); i-- > 0;) {
        LayerPlan plan;
        if (!planLayer(p, c.comp, c.comp.layers[i], t, dh, dv, w, h, &plan)) continue;
        touched = unite(touched, plan.dest);
        plans.push_back(plan);
    }
    Canvas canvas(touched);
    for (const LayerPlan& plan : plans)
        drawPlan(p, canvas, plan, dh, dv, stack);
    stack.pop_back();
    return canvas;
}

inline World render(const Project& p, Id comp, Rational t, int dh, int dv, int extraRowBytes) {
    const Item& item = *p.findItem(comp);
    World world =
        makeWorld(worldTypeForBitsPerChannel(p.bitsPerChannel), (item.comp.width + dh - 1) / dh,
                  (item.comp.height + dv - 1) / dv, static_cast<size_t>(extraRowBytes));
    std::vector<Id> stack;
    const Canvas canvas = renderCanvas(p, item, t, dh, dv, stack);
    const PixelRect& r = canvas.area;
    const size_t pixel = bytesPerPixel(world.type);
    for (int y = r.y0; y < r.y1; ++y) {
        uint8_t* out = world.data.data() + world.rowBytes * y + r.x0 * pixel;
        const float* in = canvas.at(r.x0, y);
        for (int x = r.x0; x < r.x1; ++x, in += 4, out += pixel) {
            if (world.type == kWorld32) {
                std::memcpy(out, in, pixel);
                continue;
            }
            const float white = world.type == kWorld8 ? 255.0f : 32768.0f;
            for (int ch = 0; ch < 4; ++ch) {
                long v = std::lround(std::clamp(in[ch], 0.0f, 1.0f) * white);
                if (world.type == kWorld8) {
                    out[ch] = static_cast<uint8_t>(v);
                } else {
                    uint16_t v16 = static_cast<uint16_t>(v);
                    std::memcpy(out + 2 * ch, &v16, 2);
                }
            }
        }
    }
    return world;
}

}  // namespace reference
