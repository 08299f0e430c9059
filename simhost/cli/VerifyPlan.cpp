// Planning run --verify: what is compared, at which times, and what the crop had to keep.
#include "VerifyPlan.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <utility>

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

// Two source times this close (in seconds) are one: time-remapped times come from floating point.
bool sameTime(Rational a, Rational b) {
    return std::fabs(a.toDouble() - b.toDouble()) <= 1e-9;
}

// Whether `t` is a whole number of `step`s.
bool onGrid(Rational t, Rational step) {
    double steps = t.toDouble() / step.toDouble();
    return std::fabs(steps - std::round(steps)) < 1e-6;
}

// What a use shows of its source at a layer time: the layer time, or the time remap's value.
Rational sourceTimeOf(const Layer& use, Rational layerTime) {
    return use.timeRemapEnabled ? Rational::fromDouble(valueAt(use.timeRemap, layerTime))
                                : layerTime;
}

bool presentAt(const Layer& layer, Rational t) {
    return t >= layer.inPoint && t < layer.outPoint;
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

std::vector<Rational> sortedWithin(std::vector<Rational> times, Rational duration) {
    std::vector<Rational> inside;
    for (Rational t : times)
        if (t >= Rational(0) && t < duration) inside.push_back(t);
    std::sort(inside.begin(), inside.end());
    inside.erase(std::unique(inside.begin(), inside.end()), inside.end());
    return inside;
}

void addEveryFrame(const Comp& comp, std::vector<Rational>* times) {
    Rational step = frameDuration(comp);
    for (Rational t(0); t < comp.duration; t = t + step)
        times->push_back(t);
}

MaskPath rectanglePath(double left, double top, double right, double bottom) {
    MaskPath path;
    path.vertices = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    path.inTangents.assign(4, Vec2{});
    path.outTangents.assign(4, Vec2{});
    return path;
}

MaskPath windowPath(const CropWindow& w) {
    return rectanglePath(w.left, w.top, w.left + w.width, w.top + w.height);
}

// How the command measured what a use shows at one of its layer times.
enum class Measured { No, Whole, InMask };

// What the command measured, read from the project before it and from how it was started.
class Measurement {
  public:
    Measurement(const Project& before, const std::vector<CropWindow>& windows,
                const CropCommand& command)
        : before_(before), command_(command) {
        const Item* active = before.findItem(before.activeItem);
        if (active && active->type == ItemType::Comp) holder_ = active;
        for (const CropWindow& w : windows)
            plan(w.comp);
    }

    Measured at(Id cropped, const Layer& use, Rational layerTime, Rational sourceTime) const {
        auto selected = selectedUse_.find(cropped);
        bool bySelected = selected != selectedUse_.end();
        bool isSelectedNow =
            bySelected && use.id == selected->second.first && layerTime == selected->second.second;
        switch (command_.kind) {
            case CropCommand::Kind::Standard: {
                // Measured within the selected use's masks: what another use shows beyond them
                // was not measured.
                if (bySelected && command_.includeMasks)
                    return isSelectedNow ? Measured::Whole : Measured::No;
                auto t = sourceTime_.find(cropped);
                return t != sourceTime_.end() && sameTime(sourceTime, t->second) ? Measured::Whole
                                                                                 : Measured::No;
            }
            case CropCommand::Kind::MaskCrop:
                return isSelectedNow && hasMaskRegion_ ? Measured::InMask : Measured::No;
            case CropCommand::Kind::Duration:
                if (bySelected && command_.includeMasks && use.id != selected->second.first)
                    return Measured::No;
                return onMeasuredFrame(cropped, sourceTime) ? Measured::Whole : Measured::No;
            case CropCommand::Kind::Unknown:
                break;
        }
        return Measured::No;
    }

    // The source time each cropped composition was measured at (the standard crop and Mask Crop).
    const std::map<Id, Rational>& sourceTimes() const { return sourceTime_; }
    const MaskPath& maskRegion() const { return maskRegion_; }

  private:
    void plan(Id cropped) {
        const Item* item = before_.findItem(cropped);
        if (!item || item->type != ItemType::Comp) return;
        const Layer* use = selectedUseOf(cropped);
        switch (command_.kind) {
            case CropCommand::Kind::Standard:
                if (use && item != holder_) {
                    Rational layerTime = holder_->comp.currentTime - use->startTime;
                    selectedUse_[cropped] = {use->id, layerTime};
                    sourceTime_[cropped] = sourceTimeOf(*use, layerTime);
                } else {
                    sourceTime_[cropped] = item->comp.currentTime;  // the composition itself
                }
                break;
            case CropCommand::Kind::MaskCrop:
                if (use) {
                    Rational layerTime = holder_->comp.currentTime - use->startTime;
                    selectedUse_[cropped] = {use->id, layerTime};
                    sourceTime_[cropped] = sourceTimeOf(*use, layerTime);
                    for (const Mask& m : use->masks) {
                        if (m.id != command_.maskCroppedTo) continue;
                        maskRegion_ = valueAt(m.path, layerTime);
                        maskRegion_.closed = true;
                        hasMaskRegion_ = true;
                    }
                }
                break;
            case CropCommand::Kind::Duration:
                if (use) {
                    selectedUse_[cropped] = {use->id, Rational(0)};
                    if (!use->timeRemapEnabled) durationUse_[cropped] = use;
                }
                break;
            case CropCommand::Kind::Unknown:
                break;
        }
    }

    // The layer of the active composition through which the command took `cropped`: for the
    // standard crop the selected use present at the current time with the highest index (as the
    // crop keeps one layer per source); for Mask Crop and the crop over the duration the active
    // layer, the only selected one.
    const Layer* selectedUseOf(Id cropped) const {
        if (!holder_) return nullptr;
        const Comp& comp = holder_->comp;
        size_t selected = 0;
        const Layer* found = nullptr;
        for (const Layer& l : comp.layers) {
            if (!l.selected) continue;
            ++selected;
            if (l.source != cropped) continue;
            if (command_.kind == CropCommand::Kind::Standard && !presentAt(l, comp.currentTime))
                continue;
            found = &l;
        }
        if (command_.kind != CropCommand::Kind::Standard && selected != 1) return nullptr;
        return found;
    }

    // The crop over the duration measures the source's own frames and the times at which the
    // active layer (without a time remap) shows it at the active composition's frames.
    bool onMeasuredFrame(Id cropped, Rational sourceTime) const {
        const Item* item = before_.findItem(cropped);
        if (!item) return false;
        const Comp& c = item->comp;
        if (sourceTime >= Rational(0) && sourceTime < c.duration &&
            onGrid(sourceTime, frameDuration(c)))
            return true;
        auto use = durationUse_.find(cropped);
        if (use == durationUse_.end() || !holder_) return false;
        Rational t = sourceTime + use->second->startTime;
        return presentAt(*use->second, t) && t >= Rational(0) && t < holder_->comp.duration &&
               onGrid(t, frameDuration(holder_->comp));
    }

    const Project& before_;
    CropCommand command_;
    const Item* holder_ = nullptr;
    std::map<Id, std::pair<Id, Rational>> selectedUse_;  // cropped comp -> (use, its layer time)
    std::map<Id, Rational> sourceTime_;
    std::map<Id, const Layer*> durationUse_;
    MaskPath maskRegion_;
    bool hasMaskRegion_ = false;
};

// The compositions whose picture depends on one of `cropped`: those with a layer showing one, or
// showing such a composition, through any depth.
std::set<Id> compositionsLeadingTo(const Project& p, const std::set<Id>& cropped) {
    std::map<Id, std::vector<Id>> usersOf;
    for (const Item& item : p.items) {
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
    return reached;
}

// Every layer that shows a cropped composition when `comp` is rendered at `time`, as the renderer
// reaches them through nested compositions: f(use, cropped composition, layer time, source time).
using UseVisitor = std::function<void(const Layer&, Id, Rational, Rational)>;
void forEachUse(const Project& p, const std::set<Id>& cropped, const std::set<Id>& leads, Id comp,
                Rational time, int depth, const UseVisitor& f) {
    const Item* item = p.findItem(comp);
    if (!item || item->type != ItemType::Comp || depth > 64) return;
    for (const Layer& layer : item->comp.layers) {
        if (!layer.video || layer.kind != LayerKind::AV || !presentAt(layer, time)) continue;
        Rational layerTime = time - layer.startTime;
        Rational sourceTime = sourceTimeOf(layer, layerTime);
        if (cropped.count(layer.source)) f(layer, layer.source, layerTime, sourceTime);
        if (leads.count(layer.source))
            forEachUse(p, cropped, leads, layer.source, sourceTime, depth + 1, f);
    }
}

// Each cropped composition as itself: a composition of its former size showing it, in `before`
// where it was and in `after` carried by the window's offset, so that its own frame is compared
// like any composition that shows it.
std::vector<VerifyTarget> addOwnViews(const std::vector<CropWindow>& windows, Project& before,
                                      Project& after) {
    std::vector<VerifyTarget> views;
    Id next = std::max(before.nextId, after.nextId);
    for (const CropWindow& w : windows) {
        const Item* was = before.findItem(w.comp);
        Item view;
        view.id = next++;
        view.type = ItemType::Comp;
        view.name = was->name + " (itself)";
        view.comp.width = was->comp.width;
        view.comp.height = was->comp.height;
        view.comp.frameRate = was->comp.frameRate;
        view.comp.duration = was->comp.duration;
        view.comp.currentTime = was->comp.currentTime;
        Layer shows;
        shows.id = next++;
        shows.name = was->name;
        shows.source = w.comp;
        shows.outPoint = was->comp.duration;
        view.comp.layers.push_back(shows);
        before.items.push_back(view);
        view.comp.layers[0].position.value = {w.left, w.top, 0};
        after.items.push_back(view);
        views.push_back({view.id, view.name, w.comp, was->name, "itself", {}});
    }
    before.nextId = after.nextId = next;
    return views;
}

}  // namespace

CropCommand::Kind cropKindOfAction(const std::string& action) {
    if (action == "Zentrim") return CropCommand::Kind::Standard;
    if (action == "Zentrim Duration") return CropCommand::Kind::Duration;
    if (action == "Mask Crop") return CropCommand::Kind::MaskCrop;
    return CropCommand::Kind::Unknown;
}

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
                mask.path.value = windowPath(w);
                layer.masks.push_back(std::move(mask));
            }
        }
    }
    return limited;
}

std::vector<Id> dependentComps(const Project& before, const Project& after,
                               const std::vector<ResizeRecord>& resized) {
    std::set<Id> cropped = croppedIds(resized);
    std::set<Id> reached = compositionsLeadingTo(after, cropped);
    std::vector<Id> out;
    for (const Item& item : after.items) {
        const Item* old = before.findItem(item.id);
        if (reached.count(item.id) && !cropped.count(item.id) && old && old->type == ItemType::Comp)
            out.push_back(item.id);
    }
    return out;
}

std::vector<Rational> verificationTimes(const Project& before, const Project& after, Id comp,
                                        const std::vector<ResizeRecord>& resized, bool everyFrame,
                                        const std::map<Id, Rational>& measured) {
    const Item* item = after.findItem(comp);
    const Item* old = before.findItem(comp);
    if (!item || item->type != ItemType::Comp) return {};
    const Comp& c = item->comp;
    std::vector<Rational> times = {c.currentTime};
    if (old) times.push_back(old->comp.currentTime);
    if (everyFrame) addEveryFrame(c, &times);
    std::vector<Id> dependents = dependentComps(before, after, resized);
    std::set<Id> shows(dependents.begin(), dependents.end());
    std::set<Id> cropped = croppedIds(resized);
    shows.insert(cropped.begin(), cropped.end());
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
            // Under a time remap, times inside do not map back to this composition's time.
            if (layer.timeRemapEnabled) continue;
            auto source = measured.find(layer.source);
            if (cropped.count(layer.source) && source != measured.end())
                times.push_back(source->second + layer.startTime + offset);
            if (std::find(dependents.begin(), dependents.end(), layer.source) != dependents.end())
                pending.emplace_back(layer.source, offset + layer.startTime);
        }
    }
    return sortedWithin(times, c.duration);
}

VerifyPlan planVerification(const Project& before, const Project& after,
                            const std::vector<ResizeRecord>& resized, const CropCommand& command) {
    VerifyPlan plan;
    plan.resizedCount = resized.size();
    plan.windows = cropWindows(before, after, resized);
    plan.before = before;
    plan.after = after;
    std::vector<VerifyTarget> own = addOwnViews(plan.windows, plan.before, plan.after);
    Measurement measurement(before, plan.windows, command);

    for (Id comp : dependentComps(before, after, resized)) {
        const std::string& name = after.findItem(comp)->name;
        VerifyTarget target{comp, name, comp, name, "", {}};
        for (Rational t : verificationTimes(before, after, comp, resized, command.everyFrame,
                                            measurement.sourceTimes()))
            target.frames.push_back({t});
        plan.targets.push_back(std::move(target));
    }
    for (size_t i = 0; i < own.size(); ++i) {
        const Comp& was = before.findItem(plan.windows[i].comp)->comp;
        std::vector<Rational> times = {was.currentTime,
                                       after.findItem(plan.windows[i].comp)->comp.currentTime};
        auto measuredAt = measurement.sourceTimes().find(plan.windows[i].comp);
        if (measuredAt != measurement.sourceTimes().end()) times.push_back(measuredAt->second);
        if (command.everyFrame) addEveryFrame(was, &times);
        for (Rational t : sortedWithin(times, was.duration))
            own[i].frames.push_back({t});
        plan.targets.push_back(std::move(own[i]));
    }

    // How each use of a cropped composition is measured at each layer time a compared frame
    // draws it at.
    std::map<Id, const CropWindow*> windowOf;
    for (const CropWindow& w : plan.windows)
        windowOf[w.comp] = &w;
    std::set<Id> cropped;
    for (const CropWindow& w : plan.windows)
        cropped.insert(w.comp);
    std::set<Id> leads = compositionsLeadingTo(plan.before, cropped);
    std::map<Id, std::map<Rational, Measured>> uses;  // use -> layer time -> how
    std::map<Id, Id> sourceOf;                        // use -> cropped composition
    for (VerifyTarget& target : plan.targets) {
        for (VerifyFrame& frame : target.frames) {
            forEachUse(plan.before, cropped, leads, target.comp, frame.time, 0,
                       [&](const Layer& use, Id source, Rational layerTime, Rational sourceTime) {
                           Measured how = measurement.at(source, use, layerTime, sourceTime);
                           uses[use.id][layerTime] = how;
                           sourceOf[use.id] = source;
                           frame.measured = frame.measured || how != Measured::No;
                           frame.inMask = frame.inMask || how == Measured::InMask;
                       });
        }
    }

    plan.limited = limitedToCropWindows(plan.before, plan.windows);
    plan.kept = plan.limited;
    plan.keptInWindow = plan.limited;
    for (const auto& [useId, times] : uses) {
        bool any = false, inMask = false;
        for (const auto& [layerTime, how] : times) {
            any = any || how != Measured::No;
            inMask = inMask || how == Measured::InMask;
        }
        if (!any) continue;
        const CropWindow& w = *windowOf[sourceOf[useId]];
        const Comp& was = plan.before.findItem(w.comp)->comp;
        // A rectangle around the whole former frame: intersecting with it limits nothing.
        MaskPath whole = rectanglePath(-1, -1, was.width + 1.0, was.height + 1.0);
        Animatable<MaskPath> window, region;
        for (const auto& [layerTime, how] : times) {
            window.keys.push_back({layerTime, how == Measured::No ? windowPath(w) : whole,
                                   Interp::Hold, Interp::Hold});
            region.keys.push_back({layerTime,
                                   how == Measured::InMask ? measurement.maskRegion() : whole,
                                   Interp::Hold, Interp::Hold});
        }
        Layer& kept = *plan.kept.findLayer(useId);
        kept.masks.back().path = window;  // the crop window appended last
        if (!inMask) continue;
        Mask mask;
        mask.name = "measured region";
        mask.mode = MaskMode::Intersect;
        mask.path = region;
        mask.id = plan.kept.newId();
        kept.masks.push_back(mask);
        mask.id = plan.keptInWindow.newId();
        plan.keptInWindow.findLayer(useId)->masks.push_back(mask);
    }
    return plan;
}

}  // namespace sim
