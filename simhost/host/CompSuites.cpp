// Comp suites 4, 7 and 9: compositions, their selection, new nulls, resizing and duplication.
#include <algorithm>
#include <map>

#include "ProjectSuites.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kCompSuite[] = "CompSuite";

namespace {

using namespace projectsuites;

// The host refuses compositions larger than this on either side.
constexpr A_long kMaxCompSide = 30000;

std::string label(const Item& item) {
    return "'" + item.name + "'#" + std::to_string(item.id);
}

A_Err GetCompFromItem(AEGP_ItemH itemH, AEGP_CompH* compPH) {
    return hostCall("AEGP_GetCompFromItem", [&](Host& h) {
        requireOut(compPH, "composition");
        *compPH = nullptr;
        const Item& item = h.itemOf(itemH);
        // Not a composition: a null composition and no error, which callers test for.
        if (item.type == ItemType::Comp) *compPH = h.compHandle(item.id);
        args(h, label(item), "->", *compPH ? "comp" : "none");
        return A_Err_NONE;
    });
}

A_Err GetItemFromComp(AEGP_CompH compH, AEGP_ItemH* itemPH) {
    return hostCall("AEGP_GetItemFromComp", [&](Host& h) {
        requireOut(itemPH, "item");
        const Item& item = h.compItemOf(compH);
        *itemPH = h.itemHandle(item.id);
        args(h, label(item));
        return A_Err_NONE;
    });
}

// For each layer from the top: the layer when selected, then each selected mask of it.
A_Err GetNewCollectionFromCompSelection(AEGP_PluginID plugin, AEGP_CompH compH,
                                        AEGP_Collection2H* collectionPH) {
    return hostCall("AEGP_GetNewCollectionFromCompSelection", [&](Host& h) {
        requireOut(collectionPH, "collection");
        *collectionPH = nullptr;
        const Item& comp = h.compItemOf(compH);
        std::vector<AEGP_CollectionItemV2> items;
        for (const Layer& l : comp.comp.layers) {
            if (l.selected) {
                AEGP_CollectionItemV2 it{};
                it.type = AEGP_CollectionItemType_LAYER;
                it.u.layer.layerH = h.layerHandle(l.id);
                items.push_back(it);
            }
            for (size_t m = 0; m < l.masks.size(); ++m) {
                if (!l.masks[m].selected) continue;
                AEGP_CollectionItemV2 it{};
                it.type = AEGP_CollectionItemType_MASK;
                it.u.mask.layerH = h.layerHandle(l.id);
                it.u.mask.index = static_cast<AEGP_MaskIndex>(m);
                items.push_back(it);
            }
        }
        args(h, plugin, label(comp), "->", items.size(), "items");
        *collectionPH = newCollection(h, "collection of " + label(comp), std::move(items));
        return A_Err_NONE;
    });
}

// Replaces the composition's layer and mask selection with what the collection lists; every
// member is checked before anything changes, so a bad collection leaves the selection alone.
A_Err SetSelection(AEGP_CompH compH, AEGP_Collection2H collectionH) {
    return hostCall("AEGP_SetSelection", [&](Host& h) {
        Item& comp = h.compItemOf(compH);
        const Collection& c = collectionOf(h, collectionH);
        args(h, label(comp), c.items.size(), "items");
        std::vector<std::pair<Id, int>> chosen;  // layer id, mask index or -1 for the layer
        for (const AEGP_CollectionItemV2& it : c.items) {
            bool isMask = it.type == AEGP_CollectionItemType_MASK;
            if (!isMask && it.type != AEGP_CollectionItemType_LAYER)
                throw HostError(A_Err_PARAMETER, "the simulator selects only layers and masks");
            Item* owner = nullptr;
            Layer& l = h.layerOf(isMask ? it.u.mask.layerH : it.u.layer.layerH, &owner);
            if (owner->id != comp.id)
                throw HostError(A_Err_PARAMETER, "layer '" + l.name + "' is not in " + label(comp));
            int mask = -1;
            if (isMask) {
                mask = it.u.mask.index;
                if (mask < 0 || mask >= static_cast<int>(l.masks.size()))
                    throw HostError(A_Err_PARAMETER,
                                    "layer '" + l.name + "' has no mask " + std::to_string(mask));
            }
            chosen.emplace_back(l.id, mask);
        }
        for (Layer& l : comp.comp.layers) {
            l.selected = false;
            for (Mask& m : l.masks)
                m.selected = false;
        }
        for (auto [id, mask] : chosen) {
            Layer* l = h.project().findLayer(id);
            if (mask < 0) {
                l->selected = true;
            } else {
                l->masks[static_cast<size_t>(mask)].selected = true;
            }
        }
        return A_Err_NONE;
    });
}

// A 100 x 100 null source in the project and a Null layer of it on top of the composition, with
// anchor point (0, 0, 0) at the composition's centre, so that moving it to (x, y) makes it act on
// its children as the translation (x, y).
AEGP_LayerH createNull(Host& h, const std::string& name, AEGP_CompH compH,
                       const A_Time* durationPT) {
    Item& comp = h.compItemOf(compH);
    Id compId = comp.id;
    // No duration: as long as a new still (the host's preference); a zero or unscaled duration:
    // the composition's length.
    Rational duration = comp.comp.duration;
    if (!durationPT && h.settings().stillDuration)
        duration = *h.settings().stillDuration;
    else if (durationPT && durationPT->scale != 0 && durationPT->value > 0)
        duration = fromATime(*durationPT);
    args(h, name, label(comp), duration.toString());

    Project& p = h.project();
    Item source;
    source.id = p.newId();
    source.type = ItemType::NullSource;
    source.name = name;
    source.width = 100;
    source.height = 100;

    Layer layer;
    layer.id = p.newId();
    layer.name = name;
    layer.kind = LayerKind::Null;
    layer.source = source.id;
    layer.inPoint = Rational(0);
    layer.outPoint = duration;
    layer.startTime = Rational(0);
    layer.anchorPoint.value = {0, 0, 0};
    layer.position.value = {comp.comp.width / 2.0, comp.comp.height / 2.0, 0};
    layer.scale.value = {100, 100, 100};

    p.items.push_back(source);  // may move `comp`; found again below
    auto& layers = p.findItem(compId)->comp.layers;
    layers.insert(layers.begin(), layer);
    return h.layerHandle(layer.id);
}

A_Err CreateNullInComp(const A_char* nameZ, AEGP_CompH compH, const A_Time* durationPT,
                       AEGP_LayerH* layerPH) {
    return undoableCall("AEGP_CreateNullInComp", [&](Host& h) {
        requireOut(nameZ, "name");
        requireOut(layerPH, "layer");
        *layerPH = nullptr;
        *layerPH = createNull(h, nameZ, compH, durationPT);
        return A_Err_NONE;
    });
}

A_Err CreateNullInCompUtf16(const A_UTF16Char* nameZ, AEGP_CompH compH, const A_Time* durationPT,
                            AEGP_LayerH* layerPH) {
    return undoableCall("AEGP_CreateNullInComp", [&](Host& h) {
        requireOut(nameZ, "name");
        requireOut(layerPH, "layer");
        *layerPH = nullptr;
        *layerPH = createNull(h, utf8FromUtf16(nameZ), compH, durationPT);
        return A_Err_NONE;
    });
}

A_Err SetCompPixelAspectRatio(AEGP_CompH compH, const A_Ratio* ratioP) {
    return undoableCall("AEGP_SetCompPixelAspectRatio", [&](Host& h) {
        requireOut(ratioP, "ratio");
        Item& comp = h.compItemOf(compH);
        args(h, label(comp), ratioP->num, ratioP->den);
        if (ratioP->num <= 0 || ratioP->den == 0)
            throw HostError(A_Err_PARAMETER, "pixel aspect ratio must be positive");
        comp.comp.pixelAspectNum = ratioP->num;
        comp.comp.pixelAspectDen = ratioP->den;
        return A_Err_NONE;
    });
}

// What the host does to a use of a resized composition: its anchor point and mask outlines are
// in the source's pixels, so they follow the new size (z goes with the height).
void scaleUse(Layer& l, double sx, double sy) {
    auto anchor = [&](Vec3& v) {
        v.x *= sx;
        v.y *= sy;
        v.z *= sy;
    };
    anchor(l.anchorPoint.value);
    for (auto& k : l.anchorPoint.keys)
        anchor(k.value);
    auto points = [&](std::vector<Vec2>& pts) {
        for (Vec2& v : pts) {
            v.x *= sx;
            v.y *= sy;
        }
    };
    auto path = [&](MaskPath& m) {
        points(m.vertices);
        points(m.inTangents);
        points(m.outTangents);
    };
    for (Mask& m : l.masks) {
        path(m.path.value);
        for (auto& k : m.path.keys)
            path(k.value);
    }
}

// One alternative host: the positions of a use's children follow the new size as its anchor
// point does (x by the width's ratio, y and z by the height's), at every keyframe.
void scaleChildren(Comp& comp, Id use, double sx, double sy) {
    auto scale = [&](Vec3& v) {
        v.x *= sx;
        v.y *= sy;
        v.z *= sy;
    };
    for (Layer& child : comp.layers) {
        if (child.parent != use) continue;
        scale(child.position.value);
        for (auto& k : child.position.keys)
            scale(k.value);
    }
}

A_Err SetCompDimensions(AEGP_CompH compH, A_long width, A_long height) {
    return undoableCall("AEGP_SetCompDimensions", [&](Host& h) {
        Item& comp = h.compItemOf(compH);
        args(h, label(comp), comp.comp.width, comp.comp.height, "->", width, height);
        if (width < 1 || height < 1 || width > kMaxCompSide || height > kMaxCompSide)
            throw HostError(A_Err_PARAMETER, "composition size " + std::to_string(width) + "x" +
                                                 std::to_string(height) + " is out of range");
        h.events().resizes.push_back(
            {comp.id, comp.name, comp.comp.width, comp.comp.height, width, height});
        double sx = comp.comp.width > 0 ? static_cast<double>(width) / comp.comp.width : 1.0;
        double sy = comp.comp.height > 0 ? static_cast<double>(height) / comp.comp.height : 1.0;
        comp.comp.width = width;
        comp.comp.height = height;
        Id id = comp.id;
        const HostModel& model = h.model();
        for (Item& x : h.project().items) {
            if (x.type != ItemType::Comp) continue;
            for (Layer& l : x.comp.layers) {
                if (l.source != id) continue;
                if (model.resizeUses == HostModel::ResizeUses::Proportional) scaleUse(l, sx, sy);
                if (model.resizeChildren == HostModel::ResizeChildren::Proportional)
                    scaleChildren(x.comp, l.id, sx, sy);
            }
        }
        return A_Err_NONE;
    });
}

// A copy right after the original, in its folder, with new layer and mask ids; parent links are
// carried over to the copied layers.
A_Err DuplicateComp(AEGP_CompH compH, AEGP_CompH* newPH) {
    return undoableCall("AEGP_DuplicateComp", [&](Host& h) {
        requireOut(newPH, "new composition");
        *newPH = nullptr;
        Project& p = h.project();
        Item copy = h.compItemOf(compH);
        Id originalId = copy.id;
        copy.id = p.newId();
        copy.selected = false;
        std::map<Id, Id> renamed;
        for (Layer& l : copy.comp.layers) {
            Id fresh = p.newId();
            renamed[l.id] = fresh;
            l.id = fresh;
            for (Mask& m : l.masks)
                m.id = p.newId();
        }
        for (Layer& l : copy.comp.layers) {
            auto it = renamed.find(l.parent);
            l.parent = it == renamed.end() ? 0 : it->second;
        }
        auto at = std::find_if(p.items.begin(), p.items.end(),
                               [&](const Item& x) { return x.id == originalId; });
        args(h, label(*at), "->", label(copy));
        Id copyId = copy.id;
        p.items.insert(at + 1, std::move(copy));
        *newPH = h.compHandle(copyId);
        return A_Err_NONE;
    });
}

// A new composition without layers at the end of the given folder (the root when none): at time
// 0, full preview resolution, not active and not selected.
A_Err CreateComp(AEGP_ItemH parentH, const A_UTF16Char* nameZ, A_long width, A_long height,
                 const A_Ratio* pixelAspectP, const A_Time* durationP, const A_Ratio* frameRateP,
                 AEGP_CompH* compPH) {
    return hostCall("AEGP_CreateComp", [&](Host& h) {
        requireOut(nameZ, "name");
        requireOut(pixelAspectP, "pixel aspect ratio");
        requireOut(durationP, "duration");
        requireOut(frameRateP, "frame rate");
        requireOut(compPH, "new composition");
        *compPH = nullptr;
        Item item;
        item.type = ItemType::Comp;
        item.name = utf8FromUtf16(nameZ);
        if (parentH) item.folder = h.itemOf(parentH).id;
        args(h, item.name, width, height, "in", item.folder);
        if (width < 1 || height < 1 || width > kMaxCompSide || height > kMaxCompSide)
            throw HostError(A_Err_PARAMETER, "composition size " + std::to_string(width) + "x" +
                                                 std::to_string(height) + " is out of range");
        if (pixelAspectP->num <= 0 || pixelAspectP->den == 0)
            throw HostError(A_Err_PARAMETER, "pixel aspect ratio must be positive");
        if (frameRateP->num <= 0 || frameRateP->den == 0)
            throw HostError(A_Err_PARAMETER, "frame rate must be positive");
        Rational duration = fromATime(*durationP);
        if (!(duration > Rational(0)))
            throw HostError(A_Err_PARAMETER, "duration must be positive");
        item.comp.width = width;
        item.comp.height = height;
        item.comp.pixelAspectNum = pixelAspectP->num;
        item.comp.pixelAspectDen = pixelAspectP->den;
        item.comp.frameRate = static_cast<double>(frameRateP->num) / frameRateP->den;
        item.comp.duration = duration;
        item.id = h.project().newId();
        Id id = item.id;
        addToFolder(h.project(), std::move(item));
        *compPH = h.compHandle(id);
        return A_Err_NONE;
    });
}

// The composition's preview resolution, which render options made from it start with.
A_Err GetCompDownsampleFactor(AEGP_CompH compH, AEGP_DownsampleFactor* factorP) {
    return hostCall("AEGP_GetCompDownsampleFactor", [&](Host& h) {
        requireOut(factorP, "downsample factor");
        const Item& comp = h.compItemOf(compH);
        factorP->xS = static_cast<A_short>(comp.comp.resolutionH);
        factorP->yS = static_cast<A_short>(comp.comp.resolutionV);
        args(h, label(comp), "->", factorP->xS, factorP->yS);
        return A_Err_NONE;
    });
}

A_Err SetCompDownsampleFactor(AEGP_CompH compH, const AEGP_DownsampleFactor* factorP) {
    return hostCall("AEGP_SetCompDownsampleFactor", [&](Host& h) {
        requireOut(factorP, "downsample factor");
        Item& comp = h.compItemOf(compH);
        args(h, label(comp), factorP->xS, factorP->yS);
        if (factorP->xS < 1 || factorP->yS < 1)
            throw HostError(A_Err_PARAMETER, "downsample factors must be 1 or more");
        comp.comp.resolutionH = factorP->xS;
        comp.comp.resolutionV = factorP->yS;
        return A_Err_NONE;
    });
}

// The three versions share every member; only the null's name is 8-bit in version 4 and UTF-16
// from version 7 on.
template <typename Suite, auto CreateNull>
Suite compSuite() {
    Suite s{};
    s.AEGP_GetCompFromItem = entry<kCompSuite, GetCompFromItem>;
    s.AEGP_GetItemFromComp = entry<kCompSuite, GetItemFromComp>;
    s.AEGP_GetNewCollectionFromCompSelection = entry<kCompSuite, GetNewCollectionFromCompSelection>;
    s.AEGP_SetSelection = entry<kCompSuite, SetSelection>;
    s.AEGP_CreateNullInComp = entry<kCompSuite, CreateNull>;
    s.AEGP_SetCompPixelAspectRatio = entry<kCompSuite, SetCompPixelAspectRatio>;
    s.AEGP_SetCompDimensions = entry<kCompSuite, SetCompDimensions>;
    s.AEGP_DuplicateComp = entry<kCompSuite, DuplicateComp>;
    fillUnimplemented(&s, sizeof s);
    return s;
}

}  // namespace

void registerCompSuites(Host& host) {
    static AEGP_CompSuite4 comp4 = compSuite<AEGP_CompSuite4, CreateNullInComp>();
    // Making compositions and their preview resolution are declared in version 7 only.
    static AEGP_CompSuite7 comp7 = [] {
        AEGP_CompSuite7 s = compSuite<AEGP_CompSuite7, CreateNullInCompUtf16>();
        s.AEGP_CreateComp = entry<kCompSuite, CreateComp>;
        s.AEGP_GetCompDownsampleFactor = entry<kCompSuite, GetCompDownsampleFactor>;
        s.AEGP_SetCompDownsampleFactor = entry<kCompSuite, SetCompDownsampleFactor>;
        return s;
    }();
    static AEGP_CompSuite9 comp9 = compSuite<AEGP_CompSuite9, CreateNullInCompUtf16>();
    host.addSuite(kAEGPCompSuite, kAEGPCompSuiteVersion4, &comp4);
    host.addSuite(kAEGPCompSuite, kAEGPCompSuiteVersion7, &comp7);
    host.addSuite(kAEGPCompSuite, kAEGPCompSuiteVersion9, &comp9);
}

}  // namespace sim
