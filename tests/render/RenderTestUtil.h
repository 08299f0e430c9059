// Builds small projects in code and checks rendered frames, for the renderer's tests.
#pragma once

#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "Model.h"
#include "Renderer.h"

namespace simtest {

using namespace sim;

// A project under construction. Layers are appended below the existing ones; they start with
// anchor point and position (0, 0), in point 0 and out point 10, so a source pixel (x, y) lands on
// composition pixel (x, y) unless a test says otherwise.
struct Builder {
    Project p;

    explicit Builder(int bits = 8) { p.bitsPerChannel = bits; }
    Item& add(ItemType type, int w, int h) {
        Item it;
        it.id = p.newId();
        it.type = type;
        it.name = "item" + std::to_string(it.id);
        it.width = w;
        it.height = h;
        it.comp.width = w;
        it.comp.height = h;
        it.comp.duration = Rational(10);
        p.items.push_back(it);
        return p.items.back();
    }
    Id solid(int w, int h, std::array<double, 4> color = {1, 0, 0, 1}) {
        Item& it = add(ItemType::Solid, w, h);
        it.color = color;
        return it.id;
    }
    // Pixel (x, y) has colour f(x, y) (straight RGBA).
    Id image(int w, int h, const std::function<std::array<uint8_t, 4>(int, int)>& f) {
        auto img = std::make_shared<ImageData>();
        img->width = w;
        img->height = h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (uint8_t v : f(x, y))
                    img->rgba.push_back(v);
        Item& it = add(ItemType::Image, w, h);
        it.image = img;
        return it.id;
    }
    Id comp(int w, int h) { return add(ItemType::Comp, w, h).id; }
    Layer& layer(Id comp, Id source, LayerKind kind = LayerKind::AV) {
        Layer l;
        l.id = p.newId();
        l.name = "layer" + std::to_string(l.id);
        l.kind = kind;
        l.source = source;
        l.outPoint = Rational(10);
        p.findItem(comp)->comp.layers.push_back(l);
        return p.findItem(comp)->comp.layers.back();
    }
    Layer& get(Id layer) { return *p.findLayer(layer); }
    World render(Id comp, Rational t = Rational(0), int h = 1, int v = 1) {
        return renderComp(p, comp, t, h, v);
    }
};

struct Rect {
    int x0, y0, x1, y1;
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

inline std::string str(const Pixel8& p) {
    std::ostringstream o;
    o << "(a " << int(p.alpha) << ", r " << int(p.red) << ", g " << int(p.green) << ", b "
      << int(p.blue) << ")";
    return o.str();
}

// "" when every pixel where want(x, y) is 1 equals `inside` and every pixel where it is 0 is
// transparent (-1: not checked); else the first offending pixel.
inline std::string mismatch(const World& w, const std::function<int(int, int)>& want,
                            Pixel8 inside = {255, 255, 0, 0}) {
    for (int y = 0; y < w.height; ++y) {
        for (int x = 0; x < w.width; ++x) {
            int expect = want(x, y);
            if (expect < 0) continue;
            Pixel8 p = readPixel8(w, x, y), e = expect ? inside : Pixel8{0, 0, 0, 0};
            if (p.alpha != e.alpha || p.red != e.red || p.green != e.green || p.blue != e.blue)
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " + str(p) +
                       ", expected " + str(e);
        }
    }
    return "";
}
inline std::string mismatch(const World& w, Rect r, Pixel8 inside = {255, 255, 0, 0}) {
    return mismatch(
        w, [r](int x, int y) { return r.contains(x, y) ? 1 : 0; }, inside);
}

inline MaskPath rectPath(double l, double t, double r, double b, bool closed = true) {
    MaskPath m;
    m.vertices = {{l, t}, {r, t}, {r, b}, {l, b}};
    m.inTangents = m.outTangents = std::vector<Vec2>(4);
    m.closed = closed;
    return m;
}

inline Mask mask(MaskPath path, MaskMode mode = MaskMode::Add, bool inverted = false) {
    Mask m;
    m.mode = mode;
    m.inverted = inverted;
    m.path.value = std::move(path);
    return m;
}

// A circle of radius r around (cx, cy) from four cubic segments.
inline MaskPath circlePath(double cx, double cy, double r) {
    const double k = 0.5522847498 * r;
    MaskPath m;
    m.vertices = {{cx, cy - r}, {cx + r, cy}, {cx, cy + r}, {cx - r, cy}};
    m.outTangents = {{k, 0}, {0, k}, {-k, 0}, {0, -k}};
    m.inTangents = {{-k, 0}, {0, -k}, {k, 0}, {0, k}};
    return m;
}

}  // namespace simtest
