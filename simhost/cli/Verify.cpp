// Rendering the compositions that show a cropped one, before and after, and counting what moved.
#include "Verify.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <utility>

#include "OutputPaths.h"
#include "Png.h"
#include "Renderer.h"
#include "World.h"

namespace sim {

namespace {

std::set<Id> croppedIds(const std::vector<ResizeRecord>& resized) {
    std::set<Id> ids;
    for (const ResizeRecord& r : resized)
        ids.insert(r.item);
    return ids;
}

Rational frameDuration(const Comp& comp) {
    return Rational(1) / Rational::fromDouble(comp.frameRate);
}

template <typename T>
void addKeyTimes(const Animatable<T>& stream, Rational offset, std::vector<Rational>* times) {
    for (const Keyframe<T>& key : stream.keys)
        times->push_back(key.time + offset);
}

// The in point, the last frame before the out point and every keyframe of a layer, in the time
// of its composition plus `offset`.
void addLayerTimes(const Layer& layer, const Comp& comp, Rational offset,
                   std::vector<Rational>* times) {
    times->push_back(layer.inPoint + offset);
    Rational last = layer.outPoint - frameDuration(comp);
    if (last >= layer.inPoint) times->push_back(last + offset);
    Rational keyOffset = layer.startTime + offset;  // keyframes are in layer time
    addKeyTimes(layer.anchorPoint, keyOffset, times);
    addKeyTimes(layer.position, keyOffset, times);
    addKeyTimes(layer.scale, keyOffset, times);
    addKeyTimes(layer.rotation, keyOffset, times);
    addKeyTimes(layer.opacity, keyOffset, times);
    addKeyTimes(layer.timeRemap, keyOffset, times);
    for (const Mask& mask : layer.masks)
        addKeyTimes(mask.path, keyOffset, times);
}

// Pixels that differ in any channel; worlds of another size or depth differ everywhere.
int64_t countDifferences(const World& a, const World& b, std::vector<bool>* differs) {
    int64_t all = static_cast<int64_t>(a.width) * a.height;
    differs->assign(static_cast<size_t>(all), true);
    if (a.type != b.type || a.width != b.width || a.height != b.height) return all;
    size_t pixelBytes = bytesPerPixel(a.type);
    int64_t count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            bool different =
                std::memcmp(pixelAddress(a, x, y), pixelAddress(b, x, y), pixelBytes) != 0;
            (*differs)[static_cast<size_t>(y) * a.width + x] = different;
            count += different;
        }
    }
    return count;
}

// The frame after, dimmed, with every differing pixel magenta.
void writeDiffPicture(const World& after, const std::vector<bool>& differs,
                      const std::string& path) {
    std::vector<uint8_t> rgba = toStraightRGBA8(after);
    for (size_t i = 0; i < differs.size(); ++i) {
        uint8_t* p = &rgba[i * 4];
        if (differs[i]) {
            p[0] = 255;
            p[1] = 0;
            p[2] = 255;
        } else {
            int grey = (p[0] + p[1] + p[2]) / 3 * p[3] / 255;
            auto dim = static_cast<uint8_t>(255 - (255 - grey) * 3 / 10);
            p[0] = p[1] = p[2] = dim;
        }
        p[3] = 255;
    }
    writePng(path, after.width, after.height, rgba.data());
}

std::string timeForFileName(Rational t) {
    std::string text = t.toString();
    std::replace(text.begin(), text.end(), '/', '_');
    return text;
}

std::string counted(int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::vector<CropWindow> cropWindows(const Project& before, const Project& after,
                                    const std::vector<ResizeRecord>& resized) {
    std::vector<CropWindow> windows;
    for (Id id : croppedIds(resized)) {
        const Item* was = before.findItem(id);
        const Item* now = after.findItem(id);
        if (!was || !now || was->type != ItemType::Comp || now->type != ItemType::Comp) continue;
        for (const Layer& layer : now->comp.layers) {
            const Layer* old = before.findLayer(layer.id);
            if (layer.parent != 0 || !old || old->parent != 0) continue;
            Vec3 a =
                layer.position.keyed() ? layer.position.keys.front().value : layer.position.value;
            Vec3 b = old->position.keyed() ? old->position.keys.front().value : old->position.value;
            windows.push_back({id, b.x - a.x, b.y - a.y, now->comp.width, now->comp.height});
            break;
        }
    }
    return windows;
}

Project limitedToCropWindows(const Project& before, const std::vector<CropWindow>& windows) {
    Project limited = before;
    for (const CropWindow& w : windows) {
        for (Item& item : limited.items) {
            if (item.type != ItemType::Comp) continue;
            for (Layer& layer : item.comp.layers) {
                if (layer.source != w.comp) continue;
                Mask mask;
                mask.id = limited.newId();
                mask.name = "crop window";
                mask.mode = MaskMode::Intersect;
                double right = w.left + w.width, bottom = w.top + w.height;
                mask.path.value.vertices = {
                    {w.left, w.top}, {right, w.top}, {right, bottom}, {w.left, bottom}};
                mask.path.value.inTangents.assign(4, Vec2{});
                mask.path.value.outTangents.assign(4, Vec2{});
                layer.masks.push_back(std::move(mask));
            }
        }
    }
    return limited;
}

std::vector<Id> dependentComps(const Project& before, const Project& after,
                               const std::vector<ResizeRecord>& resized) {
    std::set<Id> cropped = croppedIds(resized);
    std::map<Id, std::vector<Id>> usersOf;  // source item -> compositions with a layer of it
    for (const Item& item : after.items) {
        if (item.type != ItemType::Comp) continue;
        for (const Layer& layer : item.comp.layers)
            if (layer.source != 0) usersOf[layer.source].push_back(item.id);
    }
    std::set<Id> reached;
    std::vector<Id> pending(cropped.begin(), cropped.end());
    while (!pending.empty()) {
        Id source = pending.back();
        pending.pop_back();
        for (Id user : usersOf[source])
            if (reached.insert(user).second) pending.push_back(user);
    }
    std::vector<Id> out;
    for (const Item& item : after.items) {
        const Item* old = before.findItem(item.id);
        if (reached.count(item.id) && !cropped.count(item.id) && old && old->type == ItemType::Comp)
            out.push_back(item.id);
    }
    return out;
}

std::vector<Rational> verificationTimes(const Project& before, const Project& after, Id comp,
                                        const std::vector<ResizeRecord>& resized, bool everyFrame) {
    const Item* item = after.findItem(comp);
    const Item* old = before.findItem(comp);
    if (!item || item->type != ItemType::Comp) return {};
    const Comp& c = item->comp;
    std::vector<Rational> times = {c.currentTime};
    if (old) times.push_back(old->comp.currentTime);
    if (everyFrame) {
        Rational step = frameDuration(c);
        for (Rational t(0); t < c.duration; t = t + step)
            times.push_back(t);
    }
    std::vector<Id> dependents = dependentComps(before, after, resized);
    std::set<Id> shows(dependents.begin(), dependents.end());
    for (const ResizeRecord& r : resized)
        shows.insert(r.item);
    // Every path of uses from `comp` down to a cropped composition, with the offset that maps the
    // time of the composition reached to the time of `comp`; each (composition, offset) once.
    std::set<std::pair<Id, std::pair<int64_t, int64_t>>> seen;
    std::vector<std::pair<Id, Rational>> pending = {{comp, Rational(0)}};
    while (!pending.empty()) {
        auto [at, offset] = pending.back();
        pending.pop_back();
        if (!seen.insert({at, {offset.num, offset.den}}).second) continue;
        const Item* holder = after.findItem(at);
        if (!holder) continue;
        for (const Layer& layer : holder->comp.layers) {
            if (!shows.count(layer.source)) continue;
            addLayerTimes(layer, holder->comp, offset, &times);
            const Item* source = after.findItem(layer.source);
            bool nested =
                source && source->type == ItemType::Comp &&
                std::find(dependents.begin(), dependents.end(), layer.source) != dependents.end();
            // Under a time remap, times inside do not map back to this composition's time.
            if (nested && !layer.timeRemapEnabled)
                pending.emplace_back(layer.source, offset + layer.startTime);
        }
    }
    std::vector<Rational> inside;
    for (Rational t : times)
        if (t >= Rational(0) && t < c.duration) inside.push_back(t);
    std::sort(inside.begin(), inside.end());
    inside.erase(std::unique(inside.begin(), inside.end()), inside.end());
    return inside;
}

Verification verifyNothingMoved(const Project& before, const Project& after,
                                const std::vector<ResizeRecord>& resized, bool everyFrame,
                                const std::string& diffDir, PictureNames& names) {
    Verification v;
    // A crop over the duration keeps what any frame shows: compared with the frames before as
    // they were. The others keep what one time (or one mask) shows: compared within their window.
    std::vector<CropWindow> windows =
        everyFrame ? std::vector<CropWindow>() : cropWindows(before, after, resized);
    Project limited = limitedToCropWindows(before, windows);
    for (Id comp : dependentComps(before, after, resized)) {
        const Item* item = after.findItem(comp);
        v.comps.push_back(item->name);
        for (Rational t : verificationTimes(before, after, comp, resized, everyFrame)) {
            World kept = renderComp(limited, comp, t, 1, 1);
            World now = renderComp(after, comp, t, 1, 1);
            std::vector<bool> differs;
            ++v.frames;
            if (!windows.empty()) {
                int64_t away = countDifferences(renderComp(before, comp, t, 1, 1), kept, &differs);
                if (away > 0) {
                    v.croppedAwayPixels += away;
                    v.croppedAway.push_back({item->name, t, away, ""});
                }
            }
            int64_t pixels = countDifferences(now, kept, &differs);
            if (pixels == 0) continue;
            FrameDifference d{item->name, t, pixels, ""};
            if (!diffDir.empty()) {
                std::filesystem::create_directories(diffDir);
                d.picture = names.base(comp, item->name) + "-diff-" + timeForFileName(t) + ".png";
                std::string path = diffDir + "/" + d.picture;
                checkOutputFile("--render", path);
                writeDiffPicture(now, differs, path);
            }
            v.differingPixels += pixels;
            v.differences.push_back(d);
        }
    }
    return v;
}

std::string verificationSummary(const Verification& v) {
    std::string scope =
        counted(static_cast<int64_t>(v.comps.size()), "composition", "compositions") + ", " +
        counted(v.frames, "frame", "frames");
    std::string away;
    if (v.croppedAwayPixels > 0)
        away = "; outside the crop window, " +
               counted(v.croppedAwayPixels, "pixel of content is", "pixels of content are") +
               " no longer shown in " +
               counted(static_cast<int64_t>(v.croppedAway.size()), "frame", "frames");
    if (v.nothingMoved()) return "nothing moved: " + scope + ", 0 pixels differ" + away;
    return "MOVED: " + counted(v.differingPixels, "pixel differs", "pixels differ") + " in " +
           counted(static_cast<int64_t>(v.differences.size()), "frame", "frames") + " (" + scope +
           " compared)" + away;
}

}  // namespace sim
