// Comparing two states of a project by id, for the --diff report.
#include "ProjectDiff.h"

#include <map>
#include <set>

#include "JsonFields.h"

namespace sim {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string text(double v) {
    return formatNumber(v);
}
std::string text(const Vec2& v) {
    return "(" + formatNumber(v.x) + ", " + formatNumber(v.y) + ")";
}
std::string text(const Vec3& v) {
    return "(" + formatNumber(v.x) + ", " + formatNumber(v.y) + ", " + formatNumber(v.z) + ")";
}

class Differ {
  public:
    Differ(const Project& before, const Project& after) : before_(before), after_(after) {}

    std::vector<ValueChange> run();

  private:
    void add(const std::string& where, const std::string& what, const std::string& was,
             const std::string& now) {
        if (was != now) changes_.push_back({ValueChange::Changed, where, what, was, now});
    }
    void added(const std::string& where, const std::string& what, const std::string& now = "") {
        changes_.push_back({ValueChange::Added, where, what, "", now});
    }
    void removed(const std::string& where, const std::string& what) {
        changes_.push_back({ValueChange::Removed, where, what, "", ""});
    }
    void item(const Item& was, const Item& now);
    void layer(const std::string& where, const Layer& was, const Layer& now, const Comp& wasComp,
               const Comp& nowComp);
    void mask(const std::string& where, const Mask& was, const Mask& now);
    template <typename T>
    void stream(const std::string& where, const std::string& what, const Animatable<T>& was,
                const Animatable<T>& now);
    void path(const std::string& where, const std::string& what, const MaskPath& was,
              const MaskPath& now);
    std::string parentName(const Comp& comp, Id parent) const;

    const Project& before_;
    const Project& after_;
    std::vector<ValueChange> changes_;
};

std::string compWhere(const Item& item) {
    return std::string(item.type == ItemType::Comp ? "comp " : "item ") + quoted(item.name);
}

std::string layerWhere(const Layer& layer, const Item& comp) {
    return "layer " + quoted(layer.name) + " in " + quoted(comp.name);
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::vector<ValueChange> Differ::run() {
    std::set<Id> present;
    for (const Item& now : after_.items) {
        present.insert(now.id);
        const Item* was = before_.findItem(now.id);
        if (!was) {
            std::string size = now.type == ItemType::Comp
                                   ? sizeText(now.comp.width, now.comp.height)
                               : now.type == ItemType::Folder ? ""
                                                              : sizeText(now.width, now.height);
            added(compWhere(now), "", size);
            continue;
        }
        item(*was, now);
    }
    for (const Item& was : before_.items)
        if (!present.count(was.id)) removed(compWhere(was), "");
    return std::move(changes_);
}

void Differ::item(const Item& was, const Item& now) {
    std::string where = compWhere(now);
    add(where, "name", quoted(was.name), quoted(now.name));
    if (now.type != ItemType::Comp || was.type != ItemType::Comp) {
        add(where, "size", sizeText(was.width, was.height), sizeText(now.width, now.height));
        return;
    }
    add(where, "size", sizeText(was.comp.width, was.comp.height),
        sizeText(now.comp.width, now.comp.height));
    std::map<Id, const Layer*> old;
    for (const Layer& l : was.comp.layers)
        old[l.id] = &l;
    for (const Layer& l : now.comp.layers) {
        auto found = old.find(l.id);
        if (found == old.end()) {
            added(layerWhere(l, now), "");
            continue;
        }
        layer(layerWhere(l, now), *found->second, l, was.comp, now.comp);
        old.erase(found);
    }
    for (const Layer& l : was.comp.layers)
        if (old.count(l.id)) removed(layerWhere(l, now), "");
}

std::string Differ::parentName(const Comp& comp, Id parent) const {
    if (parent == 0) return "none";
    for (const Layer& l : comp.layers)
        if (l.id == parent) return quoted(l.name);
    return "?";
}

void Differ::layer(const std::string& where, const Layer& was, const Layer& now,
                   const Comp& wasComp, const Comp& nowComp) {
    add(where, "name", quoted(was.name), quoted(now.name));
    add(where, "parent", parentName(wasComp, was.parent), parentName(nowComp, now.parent));
    stream(where, "anchor point", was.anchorPoint, now.anchorPoint);
    stream(where, "position", was.position, now.position);
    stream(where, "scale", was.scale, now.scale);
    stream(where, "rotation", was.rotation, now.rotation);
    std::map<Id, const Mask*> old;
    for (const Mask& m : was.masks)
        old[m.id] = &m;
    for (const Mask& m : now.masks) {
        auto found = old.find(m.id);
        if (found == old.end()) {
            added(where, "mask " + quoted(m.name));
            continue;
        }
        mask(where, *found->second, m);
        old.erase(found);
    }
    for (const Mask& m : was.masks)
        if (old.count(m.id)) removed(where, "mask " + quoted(m.name));
}

void Differ::mask(const std::string& where, const Mask& was, const Mask& now) {
    std::string what = "mask " + quoted(now.name);
    add(where, what + " name", quoted(was.name), quoted(now.name));
    if (was.path.keys.size() != now.path.keys.size()) {
        add(where, what + " keyframes", std::to_string(was.path.keys.size()),
            std::to_string(now.path.keys.size()));
        return;
    }
    if (!now.path.keyed()) {
        path(where, what, was.path.value, now.path.value);
        return;
    }
    for (size_t k = 0; k < now.path.keys.size(); ++k)
        path(where,
             what + " keyframe " + std::to_string(k) + " at " + now.path.keys[k].time.toString() +
                 " s",
             was.path.keys[k].value, now.path.keys[k].value);
}

void Differ::path(const std::string& where, const std::string& what, const MaskPath& was,
                  const MaskPath& now) {
    if (was.vertices.size() != now.vertices.size()) {
        add(where, what + " vertices", std::to_string(was.vertices.size()),
            std::to_string(now.vertices.size()));
        return;
    }
    for (size_t v = 0; v < now.vertices.size(); ++v) {
        std::string at = what + " vertex " + std::to_string(v);
        add(where, at, text(was.vertices[v]), text(now.vertices[v]));
        if (v < was.inTangents.size() && v < now.inTangents.size())
            add(where, at + " in tangent", text(was.inTangents[v]), text(now.inTangents[v]));
        if (v < was.outTangents.size() && v < now.outTangents.size())
            add(where, at + " out tangent", text(was.outTangents[v]), text(now.outTangents[v]));
    }
}

template <typename T>
void Differ::stream(const std::string& where, const std::string& what, const Animatable<T>& was,
                    const Animatable<T>& now) {
    if (!was.keyed() && !now.keyed()) {
        add(where, what, text(was.value), text(now.value));
        return;
    }
    if (was.keys.size() != now.keys.size() || !was.keyed() || !now.keyed()) {
        auto describe = [](const Animatable<T>& s) {
            return s.keyed() ? std::to_string(s.keys.size()) + " keyframes" : text(s.value);
        };
        add(where, what, describe(was), describe(now));
        return;
    }
    for (size_t k = 0; k < now.keys.size(); ++k) {
        std::string at =
            what + " keyframe " + std::to_string(k) + " at " + now.keys[k].time.toString() + " s";
        if (was.keys[k].time != now.keys[k].time)
            add(where, at + " time", was.keys[k].time.toString(), now.keys[k].time.toString());
        add(where, at, text(was.keys[k].value), text(now.keys[k].value));
    }
}

}  // namespace

std::vector<ValueChange> diffProjects(const Project& before, const Project& after) {
    return Differ(before, after).run();
}

std::string describeChange(const ValueChange& c) {
    std::string head = c.where + ": " + (c.what.empty() ? "" : c.what + " ");
    switch (c.kind) {
        case ValueChange::Added:
            return head + "added" + (c.after.empty() ? "" : " (" + c.after + ")");
        case ValueChange::Removed:
            return head + "removed";
        case ValueChange::Changed:
            break;
    }
    return c.where + ": " + c.what + ": " + c.before + " -> " + c.after;
}

}  // namespace sim
