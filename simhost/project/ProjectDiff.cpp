// One walk over two states of a project, and the two ways it is read: the exact comparison (did
// undo restore everything?) and the report of what a command changed (the --diff report).
#include "ProjectDiff.h"

#include <map>

#include "JsonFields.h"

namespace sim {

namespace {

// Where a compared thing sits: the compositions and layers above it, on either side.
struct Place {
    const Item* wasComp = nullptr;
    const Item* nowComp = nullptr;
    const Layer* wasLayer = nullptr;
    const Layer* nowLayer = nullptr;
};

// How the two sides are paired: by position (the same things in the same order, else the first
// count that differs is the difference) or by id (each thing with itself wherever it moved, and
// what is on one side only is added or removed).
enum class Pairing { ByPosition, ById };

// Walks items, their layers and the layers' masks in the order of the later state, handing each
// pair to the comparer, which answers false to stop. A comparer has `same` for a project, item,
// layer and mask pair, and, as its pairing needs, `countDiffers` or `onlyNow` and `onlyWas`.
template <typename Comparer>
class Walk {
  public:
    explicit Walk(Comparer& comparer) : c_(comparer) {}

    void run(const Project& was, const Project& now) {
        if (c_.same(Place{}, was, now)) pairUp(Place{}, was.items, now.items);
    }

  private:
    template <typename T>
    bool pairUp(const Place& place, const std::vector<T>& was, const std::vector<T>& now) {
        if constexpr (Comparer::kPairing == Pairing::ByPosition) {
            if (was.size() != now.size()) return c_.countDiffers(place, was, now);
            for (size_t i = 0; i < now.size(); ++i)
                if (!pair(place, was[i], now[i])) return false;
        } else {
            std::map<Id, const T*> unmatched;
            for (const T& thing : was)
                unmatched[thing.id] = &thing;
            for (const T& thing : now) {
                auto found = unmatched.find(thing.id);
                if (found == unmatched.end()) {
                    c_.onlyNow(place, thing);
                    continue;
                }
                if (!pair(place, *found->second, thing)) return false;
                unmatched.erase(found);
            }
            for (const T& thing : was)
                if (unmatched.count(thing.id)) c_.onlyWas(place, thing);
        }
        return true;
    }

    bool pair(const Place& place, const Item& was, const Item& now) {
        if (!c_.same(place, was, now)) return false;
        if (was.type != ItemType::Comp || now.type != ItemType::Comp) return true;
        return pairUp(Place{&was, &now}, was.comp.layers, now.comp.layers);
    }
    bool pair(const Place& place, const Layer& was, const Layer& now) {
        if (!c_.same(place, was, now)) return false;
        return pairUp(Place{place.wasComp, place.nowComp, &was, &now}, was.masks, now.masks);
    }
    bool pair(const Place& place, const Mask& was, const Mask& now) {
        return c_.same(place, was, now);
    }

    Comparer& c_;
};

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// Numbers as the project file writes them: the shortest text that reads back as the same value,
// so two values that differ never print alike.
std::string text(double v) {
    return formatNumber(v);
}
std::string text(const Vec2& v) {
    return "(" + formatNumber(v.x) + ", " + formatNumber(v.y) + ")";
}
std::string text(const Vec3& v) {
    return "(" + formatNumber(v.x) + ", " + formatNumber(v.y) + ", " + formatNumber(v.z) + ")";
}

// The exact comparison: every field, by position, up to the first difference.
class ExactComparer {
  public:
    static constexpr Pairing kPairing = Pairing::ByPosition;

    bool same(const Place&, const Project& a, const Project& b);
    bool same(const Place& place, const Item& x, const Item& y);
    bool same(const Place& place, const Layer& a, const Layer& b);
    bool same(const Place& place, const Mask& m, const Mask& n);
    bool countDiffers(const Place&, const std::vector<Item>& a, const std::vector<Item>& b) {
        return differs("item count " + std::to_string(a.size()) + " vs " +
                       std::to_string(b.size()));
    }
    bool countDiffers(const Place& place, const std::vector<Layer>&, const std::vector<Layer>&) {
        return differs(at(place) + "layer count");
    }
    bool countDiffers(const Place& place, const std::vector<Mask>&, const std::vector<Mask>&) {
        return differs(at(place) + "mask count");
    }

    std::string first;  // "" while nothing differs

  private:
    bool differs(std::string what) {
        first = std::move(what);
        return false;
    }
    static std::string at(const Place& place) {
        std::string text;
        if (place.wasComp) text += "item \"" + place.wasComp->name + "\": ";
        if (place.wasLayer) text += "layer \"" + place.wasLayer->name + "\": ";
        return text;
    }
};

bool ExactComparer::same(const Place&, const Project& a, const Project& b) {
    if (a.bitsPerChannel != b.bitsPerChannel) return differs("bits per channel");
    if (a.activeItem != b.activeItem) return differs("active item");
    return true;
}

bool ExactComparer::same(const Place& place, const Item& x, const Item& y) {
    std::string at = this->at(place) + "item \"" + x.name + "\": ";
    if (x.id != y.id) return differs(at + "id");
    if (x.type != y.type) return differs(at + "type");
    if (x.name != y.name) return differs(at + "name \"" + x.name + "\" vs \"" + y.name + "\"");
    if (x.folder != y.folder) return differs(at + "folder");
    if (x.selected != y.selected) return differs(at + "selection");
    if (x.width != y.width || x.height != y.height) return differs(at + "size");
    if (x.color != y.color) return differs(at + "colour");
    if (x.path != y.path) return differs(at + "path");
    if (x.type != ItemType::Comp) return true;
    const Comp& c = x.comp;
    const Comp& d = y.comp;
    if (c.width != d.width || c.height != d.height)
        return differs(at + "size " + sizeText(c.width, c.height) + " vs " +
                       sizeText(d.width, d.height));
    if (c.pixelAspectNum != d.pixelAspectNum || c.pixelAspectDen != d.pixelAspectDen)
        return differs(at + "pixel aspect ratio");
    if (c.frameRate != d.frameRate || c.duration != d.duration)
        return differs(at + "frame rate or duration");
    if (c.resolutionH != d.resolutionH || c.resolutionV != d.resolutionV)
        return differs(at + "resolution");
    if (c.currentTime != d.currentTime) return differs(at + "current time");
    return true;
}

bool ExactComparer::same(const Place& place, const Layer& a, const Layer& b) {
    std::string at = this->at(place) + "layer \"" + a.name + "\": ";
    if (a.id != b.id) return differs(at + "id");
    if (a.name != b.name) return differs(at + "name \"" + a.name + "\" vs \"" + b.name + "\"");
    if (a.kind != b.kind) return differs(at + "kind");
    if (a.source != b.source) return differs(at + "source");
    if (a.inPoint != b.inPoint || a.outPoint != b.outPoint || a.startTime != b.startTime)
        return differs(at + "times");
    if (a.video != b.video || a.threeD != b.threeD) return differs(at + "switches");
    if (a.parent != b.parent) return differs(at + "parent");
    if (a.selected != b.selected) return differs(at + "selection");
    if (!(a.anchorPoint == b.anchorPoint))
        return differs(at + "anchor point " + text(a.anchorPoint.value) + " vs " +
                       text(b.anchorPoint.value));
    if (!(a.position == b.position))
        return differs(at + "position " + text(a.position.value) + " vs " + text(b.position.value));
    if (!(a.scale == b.scale)) return differs(at + "scale");
    if (!(a.rotation == b.rotation)) return differs(at + "rotation");
    if (!(a.opacity == b.opacity)) return differs(at + "opacity");
    if (a.timeRemapEnabled != b.timeRemapEnabled || !(a.timeRemap == b.timeRemap))
        return differs(at + "time remap");
    return true;
}

bool ExactComparer::same(const Place& place, const Mask& m, const Mask& n) {
    std::string at = this->at(place) + "mask \"" + m.name + "\" ";
    if (m.id != n.id || m.name != n.name || m.mode != n.mode || m.inverted != n.inverted ||
        m.selected != n.selected)
        return differs(at + "properties");
    if (!(m.path == n.path)) return differs(at + "path");
    return true;
}

std::string compWhere(const Item& item) {
    return std::string(item.type == ItemType::Comp ? "comp " : "item ") + quoted(item.name);
}

std::string layerWhere(const Layer& layer, const Item& comp) {
    return "layer " + quoted(layer.name) + " in " + quoted(comp.name);
}

// The report: the values people read, by id, every change.
class ReportComparer {
  public:
    static constexpr Pairing kPairing = Pairing::ById;

    bool same(const Place&, const Project&, const Project&) { return true; }
    bool same(const Place&, const Item& was, const Item& now);
    bool same(const Place& place, const Layer& was, const Layer& now);
    bool same(const Place& place, const Mask& was, const Mask& now);
    void onlyNow(const Place&, const Item& now);
    void onlyNow(const Place& place, const Layer& now) {
        added(layerWhere(now, *place.nowComp), "");
    }
    void onlyNow(const Place& place, const Mask& now) {
        added(layerWhere(*place.nowLayer, *place.nowComp), "mask " + quoted(now.name));
    }
    void onlyWas(const Place&, const Item& was) { removed(compWhere(was), ""); }
    void onlyWas(const Place& place, const Layer& was) {
        removed(layerWhere(was, *place.nowComp), "");
    }
    void onlyWas(const Place& place, const Mask& was) {
        removed(layerWhere(*place.nowLayer, *place.nowComp), "mask " + quoted(was.name));
    }

    std::vector<ValueChange> changes;

  private:
    void add(const std::string& where, const std::string& what, const std::string& was,
             const std::string& now) {
        if (was != now) changes.push_back({ValueChange::Changed, where, what, was, now});
    }
    void added(const std::string& where, const std::string& what, const std::string& now = "") {
        changes.push_back({ValueChange::Added, where, what, "", now});
    }
    void removed(const std::string& where, const std::string& what) {
        changes.push_back({ValueChange::Removed, where, what, "", ""});
    }
    template <typename T>
    void stream(const std::string& where, const std::string& what, const Animatable<T>& was,
                const Animatable<T>& now);
    void path(const std::string& where, const std::string& what, const MaskPath& was,
              const MaskPath& now);
    static std::string parentName(const Comp& comp, Id parent);
};

void ReportComparer::onlyNow(const Place&, const Item& now) {
    std::string size = now.type == ItemType::Comp     ? sizeText(now.comp.width, now.comp.height)
                       : now.type == ItemType::Folder ? ""
                                                      : sizeText(now.width, now.height);
    added(compWhere(now), "", size);
}

bool ReportComparer::same(const Place&, const Item& was, const Item& now) {
    std::string where = compWhere(now);
    add(where, "name", quoted(was.name), quoted(now.name));
    if (now.type != ItemType::Comp || was.type != ItemType::Comp)
        add(where, "size", sizeText(was.width, was.height), sizeText(now.width, now.height));
    else
        add(where, "size", sizeText(was.comp.width, was.comp.height),
            sizeText(now.comp.width, now.comp.height));
    return true;
}

std::string ReportComparer::parentName(const Comp& comp, Id parent) {
    if (parent == 0) return "none";
    for (const Layer& l : comp.layers)
        if (l.id == parent) return quoted(l.name);
    return "?";
}

bool ReportComparer::same(const Place& place, const Layer& was, const Layer& now) {
    std::string where = layerWhere(now, *place.nowComp);
    add(where, "name", quoted(was.name), quoted(now.name));
    add(where, "parent", parentName(place.wasComp->comp, was.parent),
        parentName(place.nowComp->comp, now.parent));
    stream(where, "anchor point", was.anchorPoint, now.anchorPoint);
    stream(where, "position", was.position, now.position);
    stream(where, "scale", was.scale, now.scale);
    stream(where, "rotation", was.rotation, now.rotation);
    return true;
}

bool ReportComparer::same(const Place& place, const Mask& was, const Mask& now) {
    std::string where = layerWhere(*place.nowLayer, *place.nowComp);
    std::string what = "mask " + quoted(now.name);
    add(where, what + " name", quoted(was.name), quoted(now.name));
    if (was.path.keys.size() != now.path.keys.size()) {
        add(where, what + " keyframes", std::to_string(was.path.keys.size()),
            std::to_string(now.path.keys.size()));
        return true;
    }
    if (!now.path.keyed()) {
        path(where, what, was.path.value, now.path.value);
        return true;
    }
    for (size_t k = 0; k < now.path.keys.size(); ++k)
        path(where,
             what + " keyframe " + std::to_string(k) + " at " + now.path.keys[k].time.toString() +
                 " s",
             was.path.keys[k].value, now.path.keys[k].value);
    return true;
}

void ReportComparer::path(const std::string& where, const std::string& what, const MaskPath& was,
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
void ReportComparer::stream(const std::string& where, const std::string& what,
                            const Animatable<T>& was, const Animatable<T>& now) {
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

std::string describeDifference(const Project& a, const Project& b) {
    ExactComparer exact;
    Walk(exact).run(a, b);
    return exact.first;
}

bool operator==(const Project& a, const Project& b) {
    return describeDifference(a, b).empty();
}

std::vector<ValueChange> diffProjects(const Project& before, const Project& after) {
    ReportComparer report;
    Walk(report).run(before, after);
    return std::move(report.changes);
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
