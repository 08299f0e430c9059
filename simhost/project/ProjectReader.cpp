// Reads project-file text into a sim::Project, checking every field, reference and cycle.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "JsonFields.h"
#include "Png.h"
#include "ProjectFile.h"
#include "ProjectFormat.h"

namespace sim {

namespace {

using format::kMaxSize;

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// Where each item came from, for references and messages.
struct ItemEntry {
    const Json* json = nullptr;
    std::string path;                                // "items[3]"
    std::vector<std::optional<size_t>> parentIndex;  // comps: each layer's parent, by index
};

class ProjectReader {
  public:
    ProjectReader(const std::string& fileName, std::string baseDir)
        : in_(fileName), baseDir_(std::move(baseDir)) {}

    Project read(const Json& root);

  private:
    void readItem(size_t index, const Json& json);
    // Fails on a field that an item of this type does not have.
    void checkItemFields(const Json& json, const std::string& path, ItemType type) const;
    // Records how the item at `index` is referred to; two items may not share a reference.
    void registerKey(size_t index, const Json& json, const std::string& path,
                     const std::string& name);
    void readSolid(const Json& json, const std::string& path, Item* item);
    void readImage(const Json& json, const std::string& path, Item* item);
    void readComp(const Json& json, const std::string& path, Comp* comp);
    void readCompView(const Json& json, const std::string& path, Comp* comp);
    void readFolders();
    void readSelection(const Json& root);
    void readLayers(size_t itemIndex);
    Layer readLayer(const Json& json, const std::string& path, const Comp& comp, size_t index,
                    size_t layerCount, std::optional<size_t>* parentIndex);
    void readLayerSource(const Json& json, const std::string& path, Layer* layer);
    void readLayerTimes(const Json& json, const std::string& path, const Comp& comp, Layer* layer);
    void readLayerStreams(const Json& json, const std::string& path, const Comp& comp,
                          Layer* layer);
    Mask readMask(const Json& json, const std::string& path);
    MaskPath readMaskPath(const Json& json, const std::string& path) const;
    void linkParents(size_t itemIndex);
    void checkCompCycles();

    // The item index a reference (an item's id, or its name when it has none) stands for.
    size_t reference(const Json& value, const std::string& path, const std::string& what) const;
    int size(const Json& object, const std::string& path, const char* key) const;

    // A static value, or {"keyframes": [...]} of values. `valueIsObject` tells a static path
    // object apart from the keyframe form by the presence of "keyframes".
    template <typename T, typename ReadValue>
    Animatable<T> animatable(const Json* json, const std::string& path, T defaultValue,
                             bool valueIsObject, ReadValue readValue) const;

    JsonFields in_;
    std::string baseDir_;
    Project project_;
    std::vector<ItemEntry> entries_;      // parallel to project_.items
    std::map<std::string, size_t> keys_;  // reference text -> item index
    std::map<Id, size_t> indexOfId_;      // item id -> item index
};

Project ProjectReader::read(const Json& root) {
    if (!root.is_object()) in_.expected("", "a project object", root);
    const Json& formatName = in_.required(root, "", "format");
    if (formatName != format::kFormatName)
        in_.expected("format", inQuotes(format::kFormatName), formatName);
    const Json& version = in_.required(root, "", "version");
    if (version != format::kVersion)
        in_.expected("version", std::to_string(format::kVersion), version);
    in_.object(root, "", "a project object",
               {"format", "version", "bitsPerChannel", "activeItem", "selectedItems", "items"});

    if (const Json* bits = JsonFields::optional(root, "bitsPerChannel")) {
        if (*bits != 8 && *bits != 16 && *bits != 32)
            in_.expected("bitsPerChannel", "8, 16 or 32", *bits);
        project_.bitsPerChannel = bits->get<int>();
    }

    const Json& items = in_.required(root, "", "items");
    if (!items.is_array()) in_.expected("items", "an array of items", items);
    for (size_t i = 0; i < items.size(); ++i)
        readItem(i, items[i]);
    readFolders();
    readSelection(root);
    for (size_t i = 0; i < project_.items.size(); ++i) {
        if (project_.items[i].type != ItemType::Comp) continue;
        readLayers(i);
        linkParents(i);
    }
    checkCompCycles();
    return std::move(project_);
}

int ProjectReader::size(const Json& object, const std::string& path, const char* key) const {
    return static_cast<int>(
        in_.whole(in_.required(object, path, key), fieldPath(path, key), 1, kMaxSize));
}

void ProjectReader::checkItemFields(const Json& json, const std::string& path,
                                    ItemType type) const {
    switch (type) {
        case ItemType::Folder:
            in_.object(json, path, "an item object", {"type", "name", "id", "folder"});
            break;
        case ItemType::Solid:
            in_.object(json, path, "an item object",
                       {"type", "name", "id", "folder", "width", "height", "color"});
            break;
        case ItemType::NullSource:
            in_.object(json, path, "an item object",
                       {"type", "name", "id", "folder", "width", "height"});
            break;
        case ItemType::Image:
            in_.object(json, path, "an item object", {"type", "name", "id", "folder", "path"});
            break;
        case ItemType::Comp:
            in_.object(json, path, "an item object",
                       {"type", "name", "id", "folder", "width", "height", "pixelAspect",
                        "frameRate", "duration", "resolution", "currentTime", "layers"});
            break;
    }
}

void ProjectReader::readItem(size_t index, const Json& json) {
    std::string path = indexPath("items", index);
    if (!json.is_object()) in_.expected(path, "an item object", json);
    Item item;
    item.type = static_cast<ItemType>(
        in_.choice(in_.required(json, path, "type"), fieldPath(path, "type"), format::kItemTypes));
    checkItemFields(json, path, item.type);
    item.name = in_.string(in_.required(json, path, "name"), fieldPath(path, "name"), false);
    registerKey(index, json, path, item.name);
    item.id = project_.newId();
    indexOfId_[item.id] = index;

    switch (item.type) {
        case ItemType::Folder:
            break;
        case ItemType::Solid:
            readSolid(json, path, &item);
            break;
        case ItemType::NullSource:
            item.width = size(json, path, "width");
            item.height = size(json, path, "height");
            break;
        case ItemType::Image:
            readImage(json, path, &item);
            break;
        case ItemType::Comp:
            readComp(json, path, &item.comp);
            break;
    }
    project_.items.push_back(std::move(item));
    entries_.push_back({&json, path, {}});
}

void ProjectReader::registerKey(size_t index, const Json& json, const std::string& path,
                                const std::string& name) {
    // An item is referred to by its id when it has one, else by its name.
    std::string namePath = fieldPath(path, "name");
    std::string key = name;
    std::string keyPath = namePath;
    if (const Json* id = JsonFields::optional(json, "id")) {
        keyPath = fieldPath(path, "id");
        key = in_.string(*id, keyPath, false);
    }
    auto [known, fresh] = keys_.emplace(key, index);
    if (fresh) return;
    const std::string& other = entries_[known->second].path;
    if (keyPath == namePath)
        in_.expected(namePath, "a name no other item has, or an \"id\"",
                     inQuotes(key) + " (also the name or id of " + other + ")");
    in_.expected(keyPath, "an id that is no other item's id or name",
                 inQuotes(key) + " (also used by " + other + ")");
}

void ProjectReader::readSolid(const Json& json, const std::string& path, Item* item) {
    item->width = size(json, path, "width");
    item->height = size(json, path, "height");
    std::string colorPath = fieldPath(path, "color");
    const Json& color = in_.required(json, path, "color");
    if (!color.is_array() || color.size() < 3 || color.size() > 4)
        in_.expected(colorPath, "[red, green, blue] or [red, green, blue, alpha]", color);
    for (size_t c = 0; c < color.size(); ++c)
        item->color[c] = in_.number(color[c], indexPath(colorPath, c), 0, 1);
}

void ProjectReader::readImage(const Json& json, const std::string& path, Item* item) {
    std::string filePath = fieldPath(path, "path");
    item->path = in_.string(in_.required(json, path, "path"), filePath, false);
    std::filesystem::path file(item->path);
    if (file.is_relative() && !baseDir_.empty()) file = std::filesystem::path(baseDir_) / file;
    try {
        auto image = std::make_shared<ImageData>(readPng(file.string()));
        item->width = image->width;
        item->height = image->height;
        item->image = std::move(image);
    } catch (const std::exception& error) {
        in_.expected(filePath, "a readable PNG image",
                     inQuotes(item->path) + " (" + error.what() + ")");
    }
}

void ProjectReader::readComp(const Json& json, const std::string& path, Comp* comp) {
    comp->width = size(json, path, "width");
    comp->height = size(json, path, "height");
    if (const Json* aspect = JsonFields::optional(json, "pixelAspect")) {
        std::string aspectPath = fieldPath(path, "pixelAspect");
        if (!aspect->is_array() || aspect->size() != 2)
            in_.expected(aspectPath, "[numerator, denominator]", *aspect);
        comp->pixelAspectNum =
            in_.whole((*aspect)[0], indexPath(aspectPath, 0), 1, format::kMaxRatioTerm);
        comp->pixelAspectDen =
            in_.whole((*aspect)[1], indexPath(aspectPath, 1), 1, format::kMaxRatioTerm);
    }
    std::string ratePath = fieldPath(path, "frameRate");
    const Json& rate = in_.required(json, path, "frameRate");
    const std::string rateRange = "a number of frames per second from " +
                                  formatNumber(format::kMinFrameRate) + " to " +
                                  formatNumber(format::kMaxFrameRate);
    comp->frameRate =
        in_.number(rate, ratePath, format::kMinFrameRate, format::kMaxFrameRate, rateRange);
    std::string durationPath = fieldPath(path, "duration");
    const Json& duration = in_.required(json, path, "duration");
    comp->duration = in_.time(duration, durationPath);
    if (comp->duration <= Rational(0)) in_.expected(durationPath, "a duration above 0", duration);
    readCompView(json, path, comp);
}

void ProjectReader::readCompView(const Json& json, const std::string& path, Comp* comp) {
    if (const Json* resolution = JsonFields::optional(json, "resolution")) {
        std::string resPath = fieldPath(path, "resolution");
        if (!resolution->is_array() || resolution->size() != 2)
            in_.expected(resPath, "[horizontal, vertical] downsample factors", *resolution);
        comp->resolutionH =
            static_cast<int>(in_.whole((*resolution)[0], indexPath(resPath, 0), 1, kMaxSize));
        comp->resolutionV =
            static_cast<int>(in_.whole((*resolution)[1], indexPath(resPath, 1), 1, kMaxSize));
    }
    if (const Json* now = JsonFields::optional(json, "currentTime")) {
        // The host keeps a composition's time marker within its duration.
        std::string nowPath = fieldPath(path, "currentTime");
        comp->currentTime = in_.time(*now, nowPath);
        if (comp->currentTime < Rational(0) || comp->currentTime > comp->duration)
            in_.expected(nowPath,
                         "a time from 0 to the duration (" + comp->duration.toString() + ")", *now);
    }
}

size_t ProjectReader::reference(const Json& value, const std::string& path,
                                const std::string& what) const {
    if (!value.is_string()) in_.expected(path, what, value);
    auto found = keys_.find(value.get<std::string>());
    if (found == keys_.end())
        in_.expected(path, what, describeJson(value) + " (no item has this id or name)");
    return found->second;
}

void ProjectReader::readFolders() {
    const std::string what = "null or the id or name of a folder item";
    for (size_t i = 0; i < project_.items.size(); ++i) {
        const Json* folder = JsonFields::optional(*entries_[i].json, "folder");
        if (!folder || folder->is_null()) continue;
        std::string path = fieldPath(entries_[i].path, "folder");
        size_t target = reference(*folder, path, what);
        const Item& item = project_.items[target];
        if (item.type != ItemType::Folder)
            in_.expected(
                path, what,
                describeJson(*folder) + " (a " + format::kItemTypes[int(item.type)] + " item)");
        project_.items[i].folder = item.id;
    }
    // A folder inside itself, directly or through others, would hide its items from every view.
    for (size_t i = 0; i < project_.items.size(); ++i) {
        std::string chain = inQuotes(project_.items[i].name);
        std::set<size_t> seen{i};
        for (Id at = project_.items[i].folder; at != 0;) {
            size_t next = indexOfId_.at(at);
            chain += " -> " + inQuotes(project_.items[next].name);
            if (next == i)
                in_.fail(fieldPath(entries_[i].path, "folder"),
                         "expected a folder that is not inside this item, got a cycle " + chain);
            if (!seen.insert(next).second) break;  // a cycle above: reported at its own items
            at = project_.items[next].folder;
        }
    }
}

void ProjectReader::readSelection(const Json& root) {
    const std::string what = "the id or name of an item";
    if (const Json* active = JsonFields::optional(root, "activeItem")) {
        if (!active->is_null())
            project_.activeItem =
                project_.items[reference(*active, "activeItem", "null or " + what)].id;
    }
    const Json* selected = JsonFields::optional(root, "selectedItems");
    if (!selected) return;
    if (!selected->is_array())
        in_.expected("selectedItems", "an array of item ids or names", *selected);
    std::map<size_t, size_t> listed;  // item index -> position in the list
    for (size_t i = 0; i < selected->size(); ++i) {
        std::string path = indexPath("selectedItems", i);
        size_t item = reference((*selected)[i], path, what);
        auto [earlier, fresh] = listed.emplace(item, i);
        if (!fresh)
            in_.expected(path, "each item listed once",
                         describeJson((*selected)[i]) + " (also selectedItems[" +
                             std::to_string(earlier->second) + "])");
        project_.items[item].selected = true;
    }
}

void ProjectReader::readLayers(size_t itemIndex) {
    const Json* layers = JsonFields::optional(*entries_[itemIndex].json, "layers");
    if (!layers) return;
    std::string path = fieldPath(entries_[itemIndex].path, "layers");
    if (!layers->is_array()) in_.expected(path, "an array of layers", *layers);
    Comp& comp = project_.items[itemIndex].comp;
    entries_[itemIndex].parentIndex.resize(layers->size());
    for (size_t i = 0; i < layers->size(); ++i) {
        Layer layer = readLayer((*layers)[i], indexPath(path, i), comp, i, layers->size(),
                                &entries_[itemIndex].parentIndex[i]);
        comp.layers.push_back(std::move(layer));
    }
}

Layer ProjectReader::readLayer(const Json& json, const std::string& path, const Comp& comp,
                               size_t index, size_t layerCount,
                               std::optional<size_t>* parentIndex) {
    in_.object(json, path, "a layer object",
               {"name", "source", "kind", "inPoint", "outPoint", "startTime", "video", "threeD",
                "parent", "selected", "anchorPoint", "position", "scale", "rotation", "opacity",
                "timeRemapEnabled", "timeRemap", "masks"});
    Layer layer;
    layer.id = project_.newId();
    layer.name = in_.string(in_.required(json, path, "name"), fieldPath(path, "name"), true);
    if (const Json* kind = JsonFields::optional(json, "kind"))
        layer.kind =
            static_cast<LayerKind>(in_.choice(*kind, fieldPath(path, "kind"), format::kLayerKinds));
    readLayerSource(json, path, &layer);
    readLayerTimes(json, path, comp, &layer);

    auto flag = [&](const char* key, bool fallback) {
        const Json* value = JsonFields::optional(json, key);
        return value ? in_.boolean(*value, fieldPath(path, key)) : fallback;
    };
    layer.video = flag("video", true);
    layer.threeD = flag("threeD", false);
    layer.selected = flag("selected", false);
    layer.timeRemapEnabled = flag("timeRemapEnabled", false);

    if (const Json* parent = JsonFields::optional(json, "parent")) {
        std::string parentPath = fieldPath(path, "parent");
        std::string what = "null or a layer index from 0 to " + std::to_string(layerCount - 1);
        if (!parent->is_null()) {
            auto parentAt = static_cast<size_t>(
                in_.whole(*parent, parentPath, 0, static_cast<int64_t>(layerCount) - 1, what));
            if (parentAt == index)
                in_.expected(parentPath, "the index of another layer",
                             describeJson(*parent) + " (the layer itself)");
            *parentIndex = parentAt;
        }
    }

    readLayerStreams(json, path, comp, &layer);
    if (const Json* masks = JsonFields::optional(json, "masks")) {
        std::string masksPath = fieldPath(path, "masks");
        if (!masks->is_array()) in_.expected(masksPath, "an array of masks", *masks);
        for (size_t i = 0; i < masks->size(); ++i)
            layer.masks.push_back(readMask((*masks)[i], indexPath(masksPath, i)));
    }
    return layer;
}

void ProjectReader::readLayerSource(const Json& json, const std::string& path, Layer* layer) {
    // av layers show an item; null layers may name their null item; the others have none.
    std::string sourcePath = fieldPath(path, "source");
    const Json* source = JsonFields::optional(json, "source");
    bool hasSource = source && !source->is_null();
    if (layer->kind == LayerKind::AV) {
        const std::string what = "the id or name of a solid, image, comp or null item";
        if (!source) in_.fail(sourcePath, "missing; an av layer needs a source");
        if (!hasSource) in_.expected(sourcePath, what, *source);
        const Item& item = project_.items[reference(*source, sourcePath, what)];
        if (item.type == ItemType::Folder)
            in_.expected(sourcePath, what, describeJson(*source) + " (a folder)");
        layer->source = item.id;
    } else if (layer->kind == LayerKind::Null) {
        if (hasSource) {
            const std::string what = "null or the id or name of a null item";
            const Item& item = project_.items[reference(*source, sourcePath, what)];
            if (item.type != ItemType::NullSource)
                in_.expected(
                    sourcePath, what,
                    describeJson(*source) + " (a " + format::kItemTypes[int(item.type)] + " item)");
            layer->source = item.id;
        }
    } else if (hasSource) {
        in_.expected(sourcePath,
                     std::string("null (a ") + format::kLayerKinds[int(layer->kind)] +
                         " layer has no source)",
                     *source);
    }
}

void ProjectReader::readLayerTimes(const Json& json, const std::string& path, const Comp& comp,
                                   Layer* layer) {
    const Json* inPoint = JsonFields::optional(json, "inPoint");
    const Json* outPoint = JsonFields::optional(json, "outPoint");
    if (inPoint) layer->inPoint = in_.time(*inPoint, fieldPath(path, "inPoint"));
    layer->outPoint = outPoint ? in_.time(*outPoint, fieldPath(path, "outPoint")) : comp.duration;
    if (layer->outPoint <= layer->inPoint) {
        if (outPoint)
            in_.expected(fieldPath(path, "outPoint"),
                         "a time after the in point (" + layer->inPoint.toString() + ")",
                         *outPoint);
        in_.expected(fieldPath(path, "inPoint"),
                     "a time before the out point (" + layer->outPoint.toString() + ")", *inPoint);
    }
    if (const Json* start = JsonFields::optional(json, "startTime"))
        layer->startTime = in_.time(*start, fieldPath(path, "startTime"));
}

void ProjectReader::readLayerStreams(const Json& json, const std::string& path, const Comp& comp,
                                     Layer* layer) {
    // A layer's anchor point defaults to the middle of its source, its position to the
    // middle of its composition.
    Vec3 anchor;
    if (layer->source != 0) {
        int width = 0, height = 0;
        itemSize(project_.items[indexOfId_.at(layer->source)], &width, &height);
        anchor = {width / 2.0, height / 2.0, 0};
    }
    auto vec3 = [this](double z) {
        return [this, z](const Json& v, const std::string& p) { return in_.vec3(v, p, z); };
    };
    auto number = [this](const Json& v, const std::string& p) { return in_.number(v, p); };
    auto field = [&](const char* key) { return JsonFields::optional(json, key); };
    layer->anchorPoint =
        animatable(field("anchorPoint"), fieldPath(path, "anchorPoint"), anchor, false, vec3(0));
    layer->position = animatable(field("position"), fieldPath(path, "position"),
                                 Vec3{comp.width / 2.0, comp.height / 2.0, 0}, false, vec3(0));
    layer->scale =
        animatable(field("scale"), fieldPath(path, "scale"), Vec3{100, 100, 100}, false, vec3(100));
    layer->rotation =
        animatable(field("rotation"), fieldPath(path, "rotation"), 0.0, false, number);
    layer->opacity = animatable(
        field("opacity"), fieldPath(path, "opacity"), 100.0, false,
        [this](const Json& v, const std::string& p) { return in_.number(v, p, 0, 100); });
    layer->timeRemap =
        animatable(field("timeRemap"), fieldPath(path, "timeRemap"), 0.0, false, number);
}

Mask ProjectReader::readMask(const Json& json, const std::string& path) {
    in_.object(json, path, "a mask object", {"name", "mode", "inverted", "selected", "path"});
    Mask mask;
    mask.id = project_.newId();
    mask.name = in_.string(in_.required(json, path, "name"), fieldPath(path, "name"), true);
    if (const Json* mode = JsonFields::optional(json, "mode"))
        mask.mode =
            static_cast<MaskMode>(in_.choice(*mode, fieldPath(path, "mode"), format::kMaskModes));
    if (const Json* inverted = JsonFields::optional(json, "inverted"))
        mask.inverted = in_.boolean(*inverted, fieldPath(path, "inverted"));
    if (const Json* selected = JsonFields::optional(json, "selected"))
        mask.selected = in_.boolean(*selected, fieldPath(path, "selected"));
    mask.path =
        animatable(&in_.required(json, path, "path"), fieldPath(path, "path"), MaskPath{}, true,
                   [this](const Json& v, const std::string& p) { return readMaskPath(v, p); });
    return mask;
}

MaskPath ProjectReader::readMaskPath(const Json& json, const std::string& path) const {
    in_.object(json, path, "a mask path object",
               {"vertices", "inTangents", "outTangents", "closed"});
    auto points = [&](const char* key) {
        std::string listPath = fieldPath(path, key);
        const Json& list = in_.required(json, path, key);
        if (!list.is_array()) in_.expected(listPath, "an array of [x, y] points", list);
        std::vector<Vec2> result;
        for (size_t i = 0; i < list.size(); ++i)
            result.push_back(in_.maskPoint(list[i], indexPath(listPath, i)));
        return result;
    };
    MaskPath mask;
    mask.vertices = points("vertices");
    mask.inTangents = points("inTangents");
    mask.outTangents = points("outTangents");
    auto sameCount = [&](const char* key, const std::vector<Vec2>& list) {
        if (list.size() != mask.vertices.size())
            in_.expected(fieldPath(path, key),
                         "one point per vertex (" + std::to_string(mask.vertices.size()) + ")",
                         std::to_string(list.size()) + " points");
    };
    sameCount("inTangents", mask.inTangents);
    sameCount("outTangents", mask.outTangents);
    if (const Json* closed = JsonFields::optional(json, "closed"))
        mask.closed = in_.boolean(*closed, fieldPath(path, "closed"));
    return mask;
}

template <typename T, typename ReadValue>
Animatable<T> ProjectReader::animatable(const Json* json, const std::string& path, T defaultValue,
                                        bool valueIsObject, ReadValue readValue) const {
    Animatable<T> stream;
    stream.value = defaultValue;
    if (!json) return stream;
    bool keyed = json->is_object() && (!valueIsObject || json->contains("keyframes"));
    if (!keyed) {
        stream.value = readValue(*json, path);
        return stream;
    }
    in_.object(*json, path, "a value or {\"keyframes\": [...]}", {"keyframes"});
    std::string keysPath = fieldPath(path, "keyframes");
    const Json& keys = in_.required(*json, path, "keyframes");
    if (!keys.is_array() || keys.empty())
        in_.expected(keysPath, "a non-empty array of keyframes", keys);
    for (size_t i = 0; i < keys.size(); ++i) {
        std::string keyPath = indexPath(keysPath, i);
        const Json& key = keys[i];
        in_.object(key, keyPath, "a keyframe object", {"time", "value", "in", "out"});
        Keyframe<T> frame;
        const Json& time = in_.required(key, keyPath, "time");
        frame.time = in_.time(time, fieldPath(keyPath, "time"));
        if (i > 0 && frame.time <= stream.keys.back().time)
            in_.expected(fieldPath(keyPath, "time"),
                         "a time later than keyframes[" + std::to_string(i - 1) + "] (" +
                             stream.keys.back().time.toString() + ")",
                         time);
        frame.value = readValue(in_.required(key, keyPath, "value"), fieldPath(keyPath, "value"));
        if (const Json* in = JsonFields::optional(key, "in"))
            frame.in = static_cast<Interp>(
                in_.choice(*in, fieldPath(keyPath, "in"), format::kInterpolations));
        if (const Json* out = JsonFields::optional(key, "out"))
            frame.out = static_cast<Interp>(
                in_.choice(*out, fieldPath(keyPath, "out"), format::kInterpolations));
        stream.keys.push_back(std::move(frame));
    }
    // The static value is unused while keyed; the first key's keeps it meaningful and stable.
    stream.value = stream.keys.front().value;
    return stream;
}

void ProjectReader::linkParents(size_t itemIndex) {
    Comp& comp = project_.items[itemIndex].comp;
    const auto& parents = entries_[itemIndex].parentIndex;
    std::string layersPath = fieldPath(entries_[itemIndex].path, "layers");
    for (size_t i = 0; i < comp.layers.size(); ++i)
        if (parents[i]) comp.layers[i].parent = comp.layers[*parents[i]].id;
    // A parent chain that comes back to its start has no defined transform.
    for (size_t i = 0; i < comp.layers.size(); ++i) {
        std::string chain = indexPath("layers", i);
        std::set<size_t> seen{i};
        for (std::optional<size_t> at = parents[i]; at;) {
            chain += " -> " + indexPath("layers", *at);
            if (*at == i)
                in_.fail(
                    fieldPath(indexPath(layersPath, i), "parent"),
                    "expected a parent that is not this layer's own child, got a cycle " + chain);
            if (!seen.insert(*at).second) break;  // a cycle above: reported at its own layers
            at = parents[*at];
        }
    }
}

void ProjectReader::checkCompCycles() {
    // Depth-first over "comp uses comp as a layer source"; a comp on the current path that is
    // reached again contains itself.
    enum class Mark { New, Open, Done };
    std::vector<Mark> marks(project_.items.size(), Mark::New);
    std::vector<size_t> open;
    std::function<void(size_t)> visit = [&](size_t c) {
        marks[c] = Mark::Open;
        open.push_back(c);
        const std::vector<Layer>& layers = project_.items[c].comp.layers;
        for (size_t l = 0; l < layers.size(); ++l) {
            if (layers[l].source == 0) continue;
            size_t s = indexOfId_.at(layers[l].source);
            if (project_.items[s].type != ItemType::Comp) continue;
            if (marks[s] == Mark::Open) {
                std::string chain;
                for (auto it = std::find(open.begin(), open.end(), s); it != open.end(); ++it)
                    chain += inQuotes(project_.items[*it].name) + " -> ";
                chain += inQuotes(project_.items[s].name);
                in_.fail(fieldPath(indexPath(fieldPath(entries_[c].path, "layers"), l), "source"),
                         "expected a comp that does not contain this one, got a cycle " + chain);
            }
            if (marks[s] == Mark::New) visit(s);
        }
        open.pop_back();
        marks[c] = Mark::Done;
    };
    for (size_t c = 0; c < project_.items.size(); ++c)
        if (project_.items[c].type == ItemType::Comp && marks[c] == Mark::New) visit(c);
}

}  // namespace

Project parseProject(const std::string& jsonText, const std::string& fileNameForMessages,
                     const std::string& baseDirForFootage) {
    Json root = parseJsonText(jsonText, fileNameForMessages);
    return ProjectReader(fileNameForMessages, baseDirForFootage).read(root);
}

}  // namespace sim
