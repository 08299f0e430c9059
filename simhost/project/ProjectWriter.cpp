// Writes a sim::Project as project-file text that reads back to an equal project.
#include <cmath>
#include <map>
#include <set>

#include "JsonFields.h"
#include "ProjectFile.h"
#include "ProjectFormat.h"

namespace sim {

namespace {

[[noreturn]] void cannotSave(const std::string& what) {
    throw ProjectError("cannot save the project: " + what);
}

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// Whole values are written as integers so that files read as they were typed.
Json number(double value, const std::string& where) {
    if (!std::isfinite(value)) cannotSave(where + " is not a finite number");
    constexpr double kExact = 9007199254740992.0;  // 2^53: every integer below is a double
    if (value == std::floor(value) && std::fabs(value) < kExact)
        return Json(static_cast<int64_t>(value));
    return Json(value);
}

// Integers as numbers, anything else as an exact "n/d" string.
Json time(Rational t) {
    return t.den == 1 ? Json(t.num) : Json(t.toString());
}

Json vec2(const Vec2& v, const std::string& where) {
    return Json::array({number(v.x, where), number(v.y, where)});
}

Json vec3(const Vec3& v, const std::string& where) {
    return Json::array({number(v.x, where), number(v.y, where), number(v.z, where)});
}

Json maskPath(const MaskPath& path, const std::string& where) {
    auto points = [&](const std::vector<Vec2>& list) {
        Json result = Json::array();
        for (const Vec2& p : list)
            result.push_back(vec2(p, where));
        return result;
    };
    Json j = Json::object();
    j["vertices"] = points(path.vertices);
    j["inTangents"] = points(path.inTangents);
    j["outTangents"] = points(path.outTangents);
    if (!path.closed) j["closed"] = false;
    return j;
}

template <typename T, typename WriteValue>
Json animatable(const Animatable<T>& stream, const std::string& where, WriteValue writeValue) {
    if (!stream.keyed()) return writeValue(stream.value, where);
    Json keys = Json::array();
    for (const Keyframe<T>& key : stream.keys) {
        Json k = Json::object();
        k["time"] = time(key.time);
        k["value"] = writeValue(key.value, where);
        k["in"] = format::kInterpolations[static_cast<int>(key.in)];
        k["out"] = format::kInterpolations[static_cast<int>(key.out)];
        keys.push_back(std::move(k));
    }
    return Json{{"keyframes", std::move(keys)}};
}

class ProjectWriter {
  public:
    explicit ProjectWriter(const Project& project) : project_(project) { chooseKeys(); }

    Json write() const {
        Json root = Json::object();
        root["format"] = format::kFormatName;
        root["version"] = format::kVersion;
        root["bitsPerChannel"] = project_.bitsPerChannel;
        root["activeItem"] = project_.activeItem
                                 ? Json(keyOf(project_.activeItem, "the active item"))
                                 : Json(nullptr);
        Json selected = Json::array();
        for (const Item& item : project_.items)
            if (item.selected) selected.push_back(keys_.at(item.id));
        root["selectedItems"] = std::move(selected);
        Json items = Json::array();
        for (const Item& item : project_.items)
            items.push_back(writeItem(item));
        root["items"] = std::move(items);
        return root;
    }

  private:
    // References use the name; an item whose name an earlier item already took gets an id that
    // is nobody's name, so that every reference stays unambiguous.
    void chooseKeys() {
        std::set<std::string> taken;
        for (const Item& item : project_.items)
            taken.insert(item.name);
        std::set<std::string> named;
        for (const Item& item : project_.items) {
            if (named.insert(item.name).second) {
                keys_[item.id] = item.name;
                continue;
            }
            std::string id;
            int n = 2;
            do {
                id = item.name + " #" + std::to_string(n++);
            } while (taken.count(id));
            taken.insert(id);
            keys_[item.id] = id;
            withId_.insert(item.id);
        }
    }

    const std::string& keyOf(Id id, const std::string& user) const {
        auto found = keys_.find(id);
        if (found == keys_.end())
            cannotSave(user + " refers to an item (id " + std::to_string(id) +
                       ") that is not in the project");
        return found->second;
    }

    Json writeItem(const Item& item) const {
        std::string where = "item " + inQuotes(item.name);
        Json j = Json::object();
        j["type"] = format::kItemTypes[static_cast<int>(item.type)];
        j["name"] = item.name;
        if (withId_.count(item.id)) j["id"] = keys_.at(item.id);
        if (item.folder != 0) {
            const Item* folder = project_.findItem(item.folder);
            if (!folder || folder->type != ItemType::Folder)
                cannotSave(where + " is in a folder (id " + std::to_string(item.folder) +
                           ") that is not a folder item of the project");
            j["folder"] = keys_.at(folder->id);
        }
        switch (item.type) {
            case ItemType::Folder:
                break;
            case ItemType::Solid:
                j["width"] = item.width;
                j["height"] = item.height;
                j["color"] = Json::array();
                for (double c : item.color)
                    j["color"].push_back(number(c, where + " colour"));
                break;
            case ItemType::NullSource:
                j["width"] = item.width;
                j["height"] = item.height;
                break;
            case ItemType::Image:
                j["path"] = item.path;
                break;
            case ItemType::Comp: {
                const Comp& comp = item.comp;
                j["width"] = comp.width;
                j["height"] = comp.height;
                j["pixelAspect"] = Json::array({comp.pixelAspectNum, comp.pixelAspectDen});
                j["frameRate"] = number(comp.frameRate, where + " frame rate");
                j["duration"] = time(comp.duration);
                j["resolution"] = Json::array({comp.resolutionH, comp.resolutionV});
                j["currentTime"] = time(comp.currentTime);
                Json layers = Json::array();
                for (const Layer& layer : comp.layers)
                    layers.push_back(writeLayer(layer, comp, where));
                j["layers"] = std::move(layers);
                break;
            }
        }
        return j;
    }

    Json writeLayer(const Layer& layer, const Comp& comp, const std::string& compWhere) const {
        std::string where = compWhere + " layer " + inQuotes(layer.name);
        Json j = Json::object();
        j["name"] = layer.name;
        j["source"] = layer.source ? Json(keyOf(layer.source, where)) : Json(nullptr);
        j["kind"] = format::kLayerKinds[static_cast<int>(layer.kind)];
        j["inPoint"] = time(layer.inPoint);
        j["outPoint"] = time(layer.outPoint);
        j["startTime"] = time(layer.startTime);
        j["video"] = layer.video;
        j["threeD"] = layer.threeD;
        j["parent"] = nullptr;
        if (layer.parent != 0) {
            size_t index = 0;
            while (index < comp.layers.size() && comp.layers[index].id != layer.parent)
                ++index;
            if (index == comp.layers.size())
                cannotSave(where + " has a parent (id " + std::to_string(layer.parent) +
                           ") that is not in its composition");
            j["parent"] = index;
        }
        j["selected"] = layer.selected;
        j["anchorPoint"] = animatable(layer.anchorPoint, where + " anchor point", vec3);
        j["position"] = animatable(layer.position, where + " position", vec3);
        j["scale"] = animatable(layer.scale, where + " scale", vec3);
        j["rotation"] = animatable(layer.rotation, where + " rotation", number);
        j["opacity"] = animatable(layer.opacity, where + " opacity", number);
        // Time remapping is rare: written only when it is on or has been given a value.
        if (layer.timeRemapEnabled || !(layer.timeRemap == Animatable<double>{})) {
            j["timeRemapEnabled"] = layer.timeRemapEnabled;
            j["timeRemap"] = animatable(layer.timeRemap, where + " time remap", number);
        }
        Json masks = Json::array();
        for (const Mask& mask : layer.masks) {
            Json m = Json::object();
            m["name"] = mask.name;
            m["mode"] = format::kMaskModes[static_cast<int>(mask.mode)];
            m["inverted"] = mask.inverted;
            m["selected"] = mask.selected;
            m["path"] = animatable(mask.path, where + " mask " + inQuotes(mask.name), maskPath);
            masks.push_back(std::move(m));
        }
        j["masks"] = std::move(masks);
        return j;
    }

    const Project& project_;
    std::map<Id, std::string> keys_;  // item id -> the text references use
    std::set<Id> withId_;             // items written with an "id"
};

std::string compact(const Json& value) {
    if (value.is_object()) {
        std::string text = "{";
        for (auto field = value.begin(); field != value.end(); ++field) {
            if (field != value.begin()) text += ", ";
            text += Json(field.key()).dump() + ": " + compact(field.value());
        }
        return text + "}";
    }
    if (value.is_array()) {
        std::string text = "[";
        for (size_t i = 0; i < value.size(); ++i)
            text += (i ? ", " : "") + compact(value[i]);
        return text + "]";
    }
    return value.dump();
}

// Small values stay on one line (vectors, keyframes, short items); larger ones open up one
// field or element per line. `column` is where the value starts.
void pretty(const Json& value, size_t indent, size_t column, bool expand, std::string& out) {
    constexpr size_t kWidth = 100;
    std::string oneLine = compact(value);
    if (!value.is_structured() || value.empty() || (!expand && column + oneLine.size() < kWidth)) {
        out += oneLine;
        return;
    }
    std::string inner(indent + 2, ' ');
    out += value.is_object() ? "{\n" : "[\n";
    size_t i = 0;
    for (auto element = value.begin(); element != value.end(); ++element, ++i) {
        out += inner;
        std::string key = value.is_object() ? Json(element.key()).dump() + ": " : "";
        out += key;
        pretty(element.value(), indent + 2, inner.size() + key.size(), false, out);
        out += i + 1 < value.size() ? ",\n" : "\n";
    }
    out += std::string(indent, ' ') + (value.is_object() ? "}" : "]");
}

}  // namespace

std::string serializeProject(const Project& project) {
    Json root = ProjectWriter(project).write();
    std::string text;
    try {
        pretty(root, 0, 0, true, text);
    } catch (const Json::type_error& error) {
        // Names that are not valid UTF-8 cannot be written as JSON text.
        cannotSave(std::string("a name is not valid UTF-8 (") + error.what() + ")");
    }
    return text + "\n";
}

}  // namespace sim
