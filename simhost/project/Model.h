// The simulated host's project: items, compositions, layers, animatable streams and masks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Rational.h"

namespace sim {

using Id = int64_t;  // unique across every item, layer and mask of a project; 0 = none

struct Vec2 {
    double x = 0, y = 0;
};
bool operator==(const Vec2& a, const Vec2& b);

struct Vec3 {
    double x = 0, y = 0, z = 0;
};
bool operator==(const Vec3& a, const Vec3& b);

// A mask outline in the layer's source pixels. Tangents are relative to their vertex. An outline
// of N vertices has N segments when closed (segment N-1 joins the last vertex back to vertex 0)
// and N-1 when open.
struct MaskPath {
    std::vector<Vec2> vertices, inTangents, outTangents;
    bool closed = true;
    int numSegments() const;
};
bool operator==(const MaskPath& a, const MaskPath& b);

enum class Interp { Linear, Hold, Bezier };

template <typename T>
struct Keyframe {
    Rational time;  // layer time (composition time - layer start time)
    T value{};
    Interp in = Interp::Linear;
    Interp out = Interp::Linear;
};
template <typename T>
bool operator==(const Keyframe<T>& a, const Keyframe<T>& b) {
    return a.time == b.time && a.value == b.value && a.in == b.in && a.out == b.out;
}

// A stream's value: static when `keys` is empty, else keyframed (keys sorted by time, distinct).
template <typename T>
struct Animatable {
    T value{};
    std::vector<Keyframe<T>> keys;
    bool keyed() const { return !keys.empty(); }
};
template <typename T>
bool operator==(const Animatable<T>& a, const Animatable<T>& b) {
    return a.value == b.value && a.keys == b.keys;
}

// Interpolation: hold when the earlier key's out or the later key's in is Hold; a smoothstep
// ease when both are Bezier; linear otherwise. Before the first key: its value; after the last:
// the last value. Mask paths interpolate vertex by vertex (equal vertex counts) or hold.
double valueAt(const Animatable<double>& s, Rational layerTime);
Vec3 valueAt(const Animatable<Vec3>& s, Rational layerTime);
MaskPath valueAt(const Animatable<MaskPath>& s, Rational layerTime);

enum class MaskMode { None, Add, Subtract, Intersect };

struct Mask {
    Id id = 0;
    std::string name;
    MaskMode mode = MaskMode::Add;
    bool inverted = false;
    bool selected = false;
    Animatable<MaskPath> path;
};

enum class LayerKind { AV, Null, Camera, Light, Text, Shape };

struct Layer {
    Id id = 0;
    std::string name;
    LayerKind kind = LayerKind::AV;
    Id source =
        0;  // source item (solid, image, comp, null source); 0 for cameras, lights, text, shape
    Rational inPoint{0}, outPoint{0}, startTime{0};  // composition time
    bool video = true;
    bool threeD = false;
    Id parent = 0;  // parent layer in the same composition
    bool selected = false;
    Animatable<Vec3> anchorPoint, position, scale{{100, 100, 100}, {}};
    Animatable<double> rotation, opacity{100, {}};
    bool timeRemapEnabled = false;
    Animatable<double> timeRemap;  // seconds of source time, keyed in layer time
    std::vector<Mask> masks;
};

struct Comp {
    int width = 0, height = 0;
    int64_t pixelAspectNum = 1, pixelAspectDen = 1;
    double frameRate = 30;
    Rational duration{0};
    int resolutionH = 1, resolutionV = 1;  // preview downsample factors
    Rational currentTime{0};
    std::vector<Layer> layers;  // index 0 is the top of the stack
};

// Decoded footage: straight (not premultiplied) RGBA, rows top to bottom, at 8 bits per channel
// in `rgba`, or, for footage with 16 bits per channel, at 16 bits in `rgba16` (and `rgba` empty).
struct ImageData {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
    std::vector<uint16_t> rgba16;
    bool sixteenBits() const { return !rgba16.empty(); }
};

enum class ItemType { Folder, Solid, Image, Comp, NullSource };

struct Item {
    Id id = 0;
    ItemType type = ItemType::Folder;
    std::string name;
    Id folder = 0;  // parent folder; 0 = the project's root
    bool selected = false;
    int width = 0, height = 0;                // solids, images, null sources (comps: comp.width)
    std::array<double, 4> color{0, 0, 0, 1};  // solids: red, green, blue, alpha in 0..1
    std::string path;                         // images: footage path as written in the project
    std::shared_ptr<const ImageData> image;   // images: decoded pixels (shared between copies)
    Comp comp;                                // comps only
};

struct Project {
    int bitsPerChannel = 8;  // 8, 16 or 32
    Id activeItem = 0;
    std::vector<Item> items;  // project order; folders hold items through Item::folder
    Id nextId = 1;

    Id newId() { return nextId++; }
    Item* findItem(Id id);
    const Item* findItem(Id id) const;
    Item* findItemByName(const std::string& name);
    // The composition item holding a layer, and the layer's index in it.
    Item* findLayerComp(Id layerId, int* index = nullptr);
    const Item* findLayerComp(Id layerId, int* index = nullptr) const;
    Layer* findLayer(Id layerId);
    const Layer* findLayer(Id layerId) const;
    // The position of an item in `items` (project order), or -1 when there is no such item.
    ptrdiff_t itemPosition(Id id) const;
    // Where a mask is: its composition item, its layer, and its index among the layer's masks.
    struct MaskPlace {
        Item* comp = nullptr;
        Layer* layer = nullptr;
        Mask* mask = nullptr;
        size_t index = 0;
    };
    // The place of a mask of the project; all null when there is none.
    MaskPlace findMask(Id maskId);

  private:
    // Where items, layers and masks were last seen, by id. Checked on every use and rebuilt when
    // stale, so edits need no bookkeeping: a lookup costs a hash lookup, and the first lookup
    // after an edit that moved things costs one walk of the project.
    struct MaskAt {
        size_t item, layer, mask;
    };
    mutable std::unordered_map<Id, size_t> itemAt_;
    mutable std::unordered_map<Id, std::pair<size_t, size_t>> layerAt_;
    mutable std::unordered_map<Id, MaskAt> maskAt_;
    void reindex() const;
};

// Exact equality of two projects: every field of every item, layer and mask, in the same order.
// Both walk the project as the --diff report does (ProjectDiff.cpp).
bool operator==(const Project& a, const Project& b);
// Readable description of the first difference between two projects ("" when equal): the undo
// check's answer, and the tests'.
std::string describeDifference(const Project& a, const Project& b);

// Width and height of what an item shows as a layer source (comps: the comp's size).
void itemSize(const Item& item, int* width, int* height);
// The item's duration: comps their own; footage and solids none (0).
Rational itemDuration(const Item& item);

}  // namespace sim
