// Stream evaluation and lookups for the simulated project.
#include "Model.h"

#include <algorithm>

namespace sim {

bool operator==(const Vec2& a, const Vec2& b) {
    return a.x == b.x && a.y == b.y;
}
bool operator==(const Vec3& a, const Vec3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
bool operator==(const MaskPath& a, const MaskPath& b) {
    return a.vertices == b.vertices && a.inTangents == b.inTangents &&
           a.outTangents == b.outTangents && a.closed == b.closed;
}

int MaskPath::numSegments() const {
    int n = static_cast<int>(vertices.size());
    if (n == 0) return 0;
    return closed ? n : n - 1;
}

namespace {

double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}
Vec3 lerp(const Vec3& a, const Vec3& b, double t) {
    return {lerp(a.x, b.x, t), lerp(a.y, b.y, t), lerp(a.z, b.z, t)};
}
Vec2 lerp(const Vec2& a, const Vec2& b, double t) {
    return {lerp(a.x, b.x, t), lerp(a.y, b.y, t)};
}
MaskPath lerp(const MaskPath& a, const MaskPath& b, double t) {
    if (a.vertices.size() != b.vertices.size() || a.inTangents.size() != b.inTangents.size() ||
        a.outTangents.size() != b.outTangents.size())
        return a;
    MaskPath r = a;
    for (size_t i = 0; i < r.vertices.size(); ++i)
        r.vertices[i] = lerp(a.vertices[i], b.vertices[i], t);
    for (size_t i = 0; i < r.inTangents.size(); ++i)
        r.inTangents[i] = lerp(a.inTangents[i], b.inTangents[i], t);
    for (size_t i = 0; i < r.outTangents.size(); ++i)
        r.outTangents[i] = lerp(a.outTangents[i], b.outTangents[i], t);
    return r;
}

template <typename T>
T evaluate(const Animatable<T>& s, Rational t) {
    if (s.keys.empty()) return s.value;
    if (t <= s.keys.front().time) return s.keys.front().value;
    if (t >= s.keys.back().time) return s.keys.back().value;
    auto next = std::upper_bound(s.keys.begin(), s.keys.end(), t,
                                 [](Rational v, const Keyframe<T>& k) { return v < k.time; });
    const Keyframe<T>& k1 = *next;
    const Keyframe<T>& k0 = *(next - 1);
    if (k0.out == Interp::Hold || k1.in == Interp::Hold) return k0.value;
    double u = ((t - k0.time) / (k1.time - k0.time)).toDouble();
    if (k0.out == Interp::Bezier && k1.in == Interp::Bezier) u = u * u * (3 - 2 * u);
    return lerp(k0.value, k1.value, u);
}

}  // namespace

double valueAt(const Animatable<double>& s, Rational t) {
    return evaluate(s, t);
}
Vec3 valueAt(const Animatable<Vec3>& s, Rational t) {
    return evaluate(s, t);
}
MaskPath valueAt(const Animatable<MaskPath>& s, Rational t) {
    return evaluate(s, t);
}

void Project::reindex() const {
    itemAt_.clear();
    layerAt_.clear();
    maskAt_.clear();
    for (size_t i = 0; i < items.size(); ++i) {
        itemAt_[items[i].id] = i;
        if (items[i].type != ItemType::Comp) continue;
        const std::vector<Layer>& layers = items[i].comp.layers;
        for (size_t l = 0; l < layers.size(); ++l) {
            layerAt_[layers[l].id] = {i, l};
            for (size_t m = 0; m < layers[l].masks.size(); ++m)
                maskAt_[layers[l].masks[m].id] = {i, l, m};
        }
    }
}

Item* Project::findItem(Id id) {
    if (id == 0) return nullptr;  // "none": no need to look, nor to rebuild the index
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto it = itemAt_.find(id);
        if (it != itemAt_.end() && it->second < items.size() && items[it->second].id == id)
            return &items[it->second];
        if (attempt == 0) reindex();
    }
    return nullptr;
}
const Item* Project::findItem(Id id) const {
    return const_cast<Project*>(this)->findItem(id);
}

ptrdiff_t Project::itemPosition(Id id) const {
    const Item* item = findItem(id);
    return item ? item - items.data() : -1;
}

Project::MaskPlace Project::findMask(Id maskId) {
    if (maskId == 0) return {};
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto it = maskAt_.find(maskId);
        if (it != maskAt_.end()) {
            const MaskAt& at = it->second;
            if (at.item < items.size() && items[at.item].type == ItemType::Comp &&
                at.layer < items[at.item].comp.layers.size()) {
                Layer& layer = items[at.item].comp.layers[at.layer];
                if (at.mask < layer.masks.size() && layer.masks[at.mask].id == maskId)
                    return {&items[at.item], &layer, &layer.masks[at.mask], at.mask};
            }
        }
        if (attempt == 0) reindex();
    }
    return {};
}

Item* Project::findItemByName(const std::string& name) {
    for (Item& it : items)
        if (it.name == name) return &it;
    return nullptr;
}

Item* Project::findLayerComp(Id layerId, int* index) {
    if (layerId == 0) return nullptr;
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto it = layerAt_.find(layerId);
        if (it != layerAt_.end()) {
            auto [i, l] = it->second;
            if (i < items.size() && items[i].type == ItemType::Comp &&
                l < items[i].comp.layers.size() && items[i].comp.layers[l].id == layerId) {
                if (index) *index = static_cast<int>(l);
                return &items[i];
            }
        }
        if (attempt == 0) reindex();
    }
    return nullptr;
}
const Item* Project::findLayerComp(Id layerId, int* index) const {
    return const_cast<Project*>(this)->findLayerComp(layerId, index);
}
Layer* Project::findLayer(Id layerId) {
    int index = 0;
    Item* comp = findLayerComp(layerId, &index);
    return comp ? &comp->comp.layers[index] : nullptr;
}
const Layer* Project::findLayer(Id layerId) const {
    return const_cast<Project*>(this)->findLayer(layerId);
}

void itemSize(const Item& item, int* width, int* height) {
    if (item.type == ItemType::Comp) {
        *width = item.comp.width;
        *height = item.comp.height;
    } else {
        *width = item.width;
        *height = item.height;
    }
}

Rational itemDuration(const Item& item) {
    return item.type == ItemType::Comp ? item.comp.duration : Rational(0);
}

}  // namespace sim
