// The host's edits of a composition's layers: adding, reordering, parenting and deleting.
#include <algorithm>
#include <set>

#include "Geometry.h"
#include "LayerEdits.h"
#include "Host.h"

namespace sim {

namespace {

// Whether `outer` shows `target` anywhere below it (directly or through nested compositions).
bool compContains(const Project& project, Id outer, Id target, std::set<Id>* seen) {
    if (!seen->insert(outer).second) return false;
    const Item* item = project.findItem(outer);
    if (!item || item->type != ItemType::Comp) return false;
    for (const Layer& l : item->comp.layers) {
        if (l.source == target) return true;
        if (l.source != 0 && compContains(project, l.source, target, seen)) return true;
    }
    return false;
}

Layer& layerIn(Item& comp, Id layerId, size_t* index = nullptr) {
    auto& layers = comp.comp.layers;
    auto it =
        std::find_if(layers.begin(), layers.end(), [&](const Layer& l) { return l.id == layerId; });
    if (it == layers.end()) throw HostError(A_Err_PARAMETER, "the layer no longer exists");
    if (index) *index = static_cast<size_t>(it - layers.begin());
    return *it;
}

// What a child's value must become so that, without the parent, it shows what it showed with
// it. Parent values are taken at the parent's layer time matching the child's own layer time.
class Fold {
  public:
    Fold(const Layer& parent, const Layer& child) : parent_(parent), child_(child) {}

    Vec3 position(const Vec3& p, Rational childTime) const {
        Rational t = parentTime(childTime);
        Vec3 anchor = valueAt(parent_.anchorPoint, t);
        Vec3 pos = valueAt(parent_.position, t);
        Vec3 scale = valueAt(parent_.scale, t);
        double rotation = valueAt(parent_.rotation, t);
        double z = (p.z - anchor.z) * (scale.z / 100.0) + pos.z;
        if (rotation == 0 && scale.x == 100 && scale.y == 100) {
            // A plain translation: keep it to one subtraction and one addition per axis, so a
            // null at (x, y) with anchor 0 moves its children by exactly (x, y).
            return {(p.x - anchor.x) + pos.x, (p.y - anchor.y) + pos.y, z};
        }
        Affine m = translation(pos.x, pos.y) * rotationDegrees(rotation) *
                   scaling(scale.x / 100.0, scale.y / 100.0) * translation(-anchor.x, -anchor.y);
        Vec2 q = m.apply({p.x, p.y});
        return {q.x, q.y, z};
    }
    double rotation(double r, Rational childTime) const {
        return r + valueAt(parent_.rotation, parentTime(childTime));
    }
    Vec3 scale(const Vec3& s, Rational childTime) const {
        Vec3 ps = valueAt(parent_.scale, parentTime(childTime));
        // Dividing the factor first keeps a 100 % parent an exact multiplication by 1.
        return {s.x * (ps.x / 100.0), s.y * (ps.y / 100.0), s.z * (ps.z / 100.0)};
    }

  private:
    Rational parentTime(Rational childTime) const {
        return childTime + child_.startTime - parent_.startTime;
    }
    const Layer& parent_;
    const Layer& child_;
};

// Applies f to every keyframe at its own time and to the static value at `staticTime`.
template <typename T, typename F>
void foldStream(Animatable<T>& s, Rational staticTime, F f) {
    s.value = f(s.value, staticTime);
    for (Keyframe<T>& k : s.keys)
        k.value = f(k.value, k.time);
}

}  // namespace

bool canAddLayer(const Project& project, const Item& item, const Item& intoComp, std::string* why) {
    auto refuse = [&](const char* reason) {
        if (why) *why = reason;
        return false;
    };
    if (intoComp.type != ItemType::Comp) return refuse("the target is not a composition");
    if (item.type == ItemType::Folder) return refuse("a folder cannot be a layer");
    if (item.id == intoComp.id) return refuse("a composition cannot be added to itself");
    std::set<Id> seen;
    if (item.type == ItemType::Comp && compContains(project, item.id, intoComp.id, &seen))
        return refuse("the composition contains the one it would be added to");
    return true;
}

Id addLayer(Project& project, const Item& item, Item& intoComp) {
    std::string why;
    if (!canAddLayer(project, item, intoComp, &why)) throw HostError(A_Err_PARAMETER, why);
    int w = 0, h = 0;
    itemSize(item, &w, &h);
    Layer l;
    l.id = project.newId();
    l.name = item.name;
    l.kind = item.type == ItemType::NullSource ? LayerKind::Null : LayerKind::AV;
    l.source = item.id;
    Rational duration = itemDuration(item);
    l.inPoint = Rational(0);
    l.startTime = Rational(0);
    l.outPoint = duration > Rational(0) ? duration : intoComp.comp.duration;
    l.anchorPoint.value = {w / 2.0, h / 2.0, 0};
    l.position.value = {intoComp.comp.width / 2.0, intoComp.comp.height / 2.0, 0};
    intoComp.comp.layers.insert(intoComp.comp.layers.begin(), l);
    return l.id;
}

void reorderLayer(Item& comp, Id layerId, A_long index) {
    auto& layers = comp.comp.layers;
    size_t from = 0;
    layerIn(comp, layerId, &from);
    const A_long count = static_cast<A_long>(layers.size());
    if (index == AEGP_REORDER_LAYER_TO_END) index = count - 1;
    if (index < 0 || index >= count)
        throw HostError(A_Err_PARAMETER, "layer index " + std::to_string(index) +
                                             " is outside 0.." + std::to_string(count - 1));
    Layer moved = std::move(layers[from]);
    layers.erase(layers.begin() + static_cast<std::ptrdiff_t>(from));
    layers.insert(layers.begin() + index, std::move(moved));
}

void setLayerParent(Project& project, Id layerId, Id parentId) {
    // By the project's index, not by a walk of the composition: parenting every layer of a
    // composition stays linear in their number.
    Item* comp = project.findLayerComp(layerId);
    Layer* found = project.findLayer(layerId);
    if (!comp || !found) throw HostError(A_Err_PARAMETER, "the layer no longer exists");
    Layer& layer = *found;
    if (parentId == 0) {
        layer.parent = 0;
        return;
    }
    if (parentId == layerId) throw HostError(A_Err_PARAMETER, "a layer cannot be its own parent");
    if (project.findLayerComp(parentId) != comp)
        throw HostError(A_Err_PARAMETER, "the parent is in another composition");
    for (Id up = parentId; up != 0;) {
        if (up == layerId) throw HostError(A_Err_PARAMETER, "the parent would make a cycle");
        const Layer* above = project.findLayer(up);
        if (!above) throw HostError(A_Err_PARAMETER, "the layer no longer exists");
        up = above->parent;
    }
    // No compensation: the child's own values now read relative to the parent.
    layer.parent = parentId;
}

void deleteLayer(Project& project, Id layerId) {
    Item* comp = project.findLayerComp(layerId);
    if (!comp) throw HostError(A_Err_PARAMETER, "the layer no longer exists");
    size_t index = 0;
    const Layer gone = layerIn(*comp, layerId, &index);
    for (Layer& child : comp->comp.layers) {
        if (child.parent != layerId) continue;
        const Fold fold(gone, child);
        // Static values follow the parent as it is at the composition's current time.
        const Rational now = comp->comp.currentTime - child.startTime;
        foldStream(child.position, now,
                   [&](const Vec3& p, Rational t) { return fold.position(p, t); });
        foldStream(child.rotation, now, [&](double r, Rational t) { return fold.rotation(r, t); });
        foldStream(child.scale, now, [&](const Vec3& s, Rational t) { return fold.scale(s, t); });
        child.parent = gone.parent;
    }
    comp->comp.layers.erase(comp->comp.layers.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace sim
