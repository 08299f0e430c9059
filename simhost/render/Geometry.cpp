// Affine maps, layer transforms through the parent chain, and mask outline flattening.
#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace sim {

bool operator==(const FloatRect& a, const FloatRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Affine operator*(const Affine& o, const Affine& i) {
    Affine r;
    r.a = o.a * i.a + o.b * i.c;
    r.b = o.a * i.b + o.b * i.d;
    r.c = o.c * i.a + o.d * i.c;
    r.d = o.c * i.b + o.d * i.d;
    r.tx = o.a * i.tx + o.b * i.ty + o.tx;
    r.ty = o.c * i.tx + o.d * i.ty + o.ty;
    return r;
}

Affine translation(double x, double y) {
    return {1, 0, 0, 1, x, y};
}

Affine rotationDegrees(double degrees) {
    // Exact quarter turns keep rotated layers pixel-exact (cos 90 degrees would be 6e-17).
    double r = std::fmod(degrees, 360.0);
    if (r < 0) r += 360.0;
    double s, c;
    if (r == 0) {
        s = 0, c = 1;
    } else if (r == 90) {
        s = 1, c = 0;
    } else if (r == 180) {
        s = 0, c = -1;
    } else if (r == 270) {
        s = -1, c = 0;
    } else {
        double rad = r * 3.14159265358979323846 / 180.0;
        s = std::sin(rad), c = std::cos(rad);
    }
    // With y pointing down, this standard matrix turns clockwise on screen.
    return {c, -s, s, c, 0, 0};
}

Affine scaling(double sx, double sy) {
    return {sx, 0, 0, sy, 0, 0};
}

Affine inverse(const Affine& m) {
    double det = m.determinant();
    if (det == 0 || !std::isfinite(det)) throw std::domain_error("singular transform");
    Affine r;
    r.a = m.d / det;
    r.b = -m.b / det;
    r.c = -m.c / det;
    r.d = m.a / det;
    r.tx = -(r.a * m.tx + r.b * m.ty);
    r.ty = -(r.c * m.tx + r.d * m.ty);
    return r;
}

namespace {

// Everything of the local matrix except the translation by the position.
Affine localWithoutPosition(const Layer& layer, Rational t) {
    Vec3 anchor = valueAt(layer.anchorPoint, t);
    Vec3 scale = valueAt(layer.scale, t);
    double rotation = valueAt(layer.rotation, t);
    return rotationDegrees(rotation) * scaling(scale.x / 100.0, scale.y / 100.0) *
           translation(-anchor.x, -anchor.y);
}

const Layer& findParent(const Comp& comp, Id id) {
    for (const Layer& l : comp.layers)
        if (l.id == id) return l;
    throw std::runtime_error("layer parent " + std::to_string(id) + " is not in the composition");
}

}  // namespace

Affine layerLocalMatrix(const Layer& layer, Rational layerTime) {
    Vec3 position = valueAt(layer.position, layerTime);
    return translation(position.x, position.y) * localWithoutPosition(layer, layerTime);
}

LayerTransform layerTransform(const Comp& comp, const Layer& layer, Rational compTime) {
    const Layer* current = &layer;
    Affine rest = localWithoutPosition(layer, compTime - layer.startTime);
    Vec3 position = valueAt(layer.position, compTime - layer.startTime);
    size_t depth = 0;
    while (current->parent != 0) {
        if (++depth > comp.layers.size())
            throw std::runtime_error("layer \"" + layer.name + "\" has a parent cycle");
        const Layer& parent = findParent(comp, current->parent);
        Rational t = compTime - parent.startTime;
        rest = localWithoutPosition(parent, t) * translation(position.x, position.y) * rest;
        position = valueAt(parent.position, t);
        current = &parent;
    }
    return {{position.x, position.y}, rest};
}

std::vector<Vec2> flattenMaskPath(const MaskPath& path) {
    constexpr int kCurveSteps = 24;
    std::vector<Vec2> out;
    const size_t n = path.vertices.size();
    if (n == 0) return out;
    auto tangent = [](const std::vector<Vec2>& v, size_t i) {
        return i < v.size() ? v[i] : Vec2{};
    };
    out.push_back(path.vertices[0]);
    const int segments = path.numSegments();
    for (int s = 0; s < segments; ++s) {
        size_t i = static_cast<size_t>(s), j = (i + 1) % n;
        Vec2 p0 = path.vertices[i], p3 = path.vertices[j];
        Vec2 out0 = tangent(path.outTangents, i), in1 = tangent(path.inTangents, j);
        if (out0.x == 0 && out0.y == 0 && in1.x == 0 && in1.y == 0) {
            out.push_back(p3);
            continue;
        }
        Vec2 p1{p0.x + out0.x, p0.y + out0.y}, p2{p3.x + in1.x, p3.y + in1.y};
        for (int k = 1; k <= kCurveSteps; ++k) {
            double t = static_cast<double>(k) / kCurveSteps, u = 1 - t;
            double w0 = u * u * u, w1 = 3 * u * u * t, w2 = 3 * u * t * t, w3 = t * t * t;
            out.push_back({w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x,
                           w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y});
        }
    }
    // A closed outline ends where it began; the repeated point adds nothing to a polygon.
    if (path.closed && out.size() > 1) out.pop_back();
    return out;
}

FloatRect boundsOf(const std::vector<Vec2>& points) {
    if (points.empty()) return {};
    FloatRect r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Vec2& p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

FloatRect intersect(const FloatRect& a, const FloatRect& b) {
    FloatRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    return r.isEmpty() ? FloatRect{} : r;
}

FloatRect unite(const FloatRect& a, const FloatRect& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace sim
