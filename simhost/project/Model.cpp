// Stream evaluation, lookups and comparison for the simulated project.
#include "Model.h"

#include <algorithm>
#include <sstream>

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

namespace {

std::string str(const Vec3& v) {
    std::ostringstream o;
    o << "(" << v.x << ", " << v.y << ", " << v.z << ")";
    return o.str();
}

template <typename T>
bool sameStream(const Animatable<T>& a, const Animatable<T>& b) {
    return a == b;
}

std::string layerDifference(const Layer& a, const Layer& b) {
    auto at = [&](const std::string& what) { return "layer \"" + a.name + "\": " + what; };
    if (a.id != b.id) return at("id");
    if (a.name != b.name) return at("name \"" + a.name + "\" vs \"" + b.name + "\"");
    if (a.kind != b.kind) return at("kind");
    if (a.source != b.source) return at("source");
    if (a.inPoint != b.inPoint || a.outPoint != b.outPoint || a.startTime != b.startTime)
        return at("times");
    if (a.video != b.video || a.threeD != b.threeD) return at("switches");
    if (a.parent != b.parent) return at("parent");
    if (a.selected != b.selected) return at("selection");
    if (!sameStream(a.anchorPoint, b.anchorPoint))
        return at("anchor point " + str(a.anchorPoint.value) + " vs " + str(b.anchorPoint.value));
    if (!sameStream(a.position, b.position))
        return at("position " + str(a.position.value) + " vs " + str(b.position.value));
    if (!sameStream(a.scale, b.scale)) return at("scale");
    if (!sameStream(a.rotation, b.rotation)) return at("rotation");
    if (!sameStream(a.opacity, b.opacity)) return at("opacity");
    if (a.timeRemapEnabled != b.timeRemapEnabled || !sameStream(a.timeRemap, b.timeRemap))
        return at("time remap");
    if (a.masks.size() != b.masks.size()) return at("mask count");
    for (size_t i = 0; i < a.masks.size(); ++i) {
        const Mask& m = a.masks[i];
        const Mask& n = b.masks[i];
        if (m.id != n.id || m.name != n.name || m.mode != n.mode || m.inverted != n.inverted ||
            m.selected != n.selected)
            return at("mask \"" + m.name + "\" properties");
        if (!sameStream(m.path, n.path)) return at("mask \"" + m.name + "\" path");
    }
    return "";
}

}  // namespace

std::string describeDifference(const Project& a, const Project& b) {
    if (a.bitsPerChannel != b.bitsPerChannel) return "bits per channel";
    if (a.activeItem != b.activeItem) return "active item";
    if (a.items.size() != b.items.size())
        return "item count " + std::to_string(a.items.size()) + " vs " +
               std::to_string(b.items.size());
    for (size_t i = 0; i < a.items.size(); ++i) {
        const Item& x = a.items[i];
        const Item& y = b.items[i];
        std::string at = "item \"" + x.name + "\": ";
        if (x.id != y.id) return at + "id";
        if (x.type != y.type) return at + "type";
        if (x.name != y.name) return at + "name \"" + x.name + "\" vs \"" + y.name + "\"";
        if (x.folder != y.folder) return at + "folder";
        if (x.selected != y.selected) return at + "selection";
        if (x.width != y.width || x.height != y.height) return at + "size";
        if (x.color != y.color) return at + "colour";
        if (x.path != y.path) return at + "path";
        if (x.type != ItemType::Comp) continue;
        const Comp& c = x.comp;
        const Comp& d = y.comp;
        if (c.width != d.width || c.height != d.height)
            return at + "size " + std::to_string(c.width) + "x" + std::to_string(c.height) +
                   " vs " + std::to_string(d.width) + "x" + std::to_string(d.height);
        if (c.pixelAspectNum != d.pixelAspectNum || c.pixelAspectDen != d.pixelAspectDen)
            return at + "pixel aspect ratio";
        if (c.frameRate != d.frameRate || c.duration != d.duration)
            return at + "frame rate or duration";
        if (c.resolutionH != d.resolutionH || c.resolutionV != d.resolutionV)
            return at + "resolution";
        if (c.currentTime != d.currentTime) return at + "current time";
        if (c.layers.size() != d.layers.size()) return at + "layer count";
        for (size_t l = 0; l < c.layers.size(); ++l) {
            std::string diff = layerDifference(c.layers[l], d.layers[l]);
            if (!diff.empty()) return at + diff;
        }
    }
    return "";
}

bool operator==(const Project& a, const Project& b) {
    return describeDifference(a, b).empty();
}

}  // namespace sim
