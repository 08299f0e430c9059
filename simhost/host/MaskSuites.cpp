// Mask suite 5 (mask refs of a layer) and Mask Outline suite 2 (vertices of an outline value).
#include <memory>

#include "LayerSuitesCommon.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kMaskSuite[] = "MaskSuite";
constexpr char kMaskOutlineSuite[] = "MaskOutlineSuite";
namespace layersuites {

MaskLocation findMask(Project& project, Id maskId) {
    Project::MaskPlace at = project.findMask(maskId);
    if (!at.mask) throw HostError(A_Err_PARAMETER, "the mask no longer exists");
    return {at.comp, at.layer, at.mask, at.index};
}

MaskLocation maskOf(Host& h, AEGP_MaskRefH maskH) {
    return findMask(h.project(), h.record(maskH, HandleKind::Mask, "mask")->id);
}

MaskPath& outlineOf(Host& h, AEGP_MaskOutlineValH outlineH, HandleRecord** recordP) {
    HandleRecord* r = h.record(outlineH, HandleKind::MaskOutline, "mask outline");
    if (recordP) *recordP = r;
    return *HandleRegistry::payload<MaskPath>(r);
}

AEGP_MaskOutlineValH newOutline(Host& h, const MaskPath& path, const std::string& what) {
    return h.handles()
        .make(HandleKind::MaskOutline, what, std::make_shared<MaskPath>(path))
        ->handle<AEGP_MaskOutlineValH>();
}

namespace {

// ---- Mask suite ----

// A new ref to a mask of the layer (a leak until AEGP_DisposeMask).
AEGP_MaskRefH newMaskRef(Host& h, const Layer& l, const Mask& m) {
    return h.handles()
        .make(HandleKind::Mask, "mask '" + m.name + "' of layer '" + l.name + "'", nullptr, m.id)
        ->handle<AEGP_MaskRefH>();
}

A_Err GetLayerNumMasks(AEGP_LayerH layerH, A_long* numP) {
    return hostCall("AEGP_GetLayerNumMasks", [&](Host& h) {
        requireOut(numP, "mask count");
        Layer& l = h.layerOf(layerH);
        *numP = static_cast<A_long>(l.masks.size());
        args(h, "layer", l.id, "->", *numP);
        return A_Err_NONE;
    });
}

A_Err GetLayerMaskByIndex(AEGP_LayerH layerH, AEGP_MaskIndex index, AEGP_MaskRefH* maskPH) {
    return hostCall("AEGP_GetLayerMaskByIndex", [&](Host& h) {
        requireOut(maskPH, "mask");
        *maskPH = nullptr;
        Layer& l = h.layerOf(layerH);
        args(h, "layer", l.id, "index", index);
        if (index < 0 || static_cast<size_t>(index) >= l.masks.size())
            throw HostError(A_Err_PARAMETER, "mask index " + std::to_string(index) +
                                                 " is outside a layer of " +
                                                 std::to_string(l.masks.size()) + " masks");
        *maskPH = newMaskRef(h, l, l.masks[static_cast<size_t>(index)]);
        return A_Err_NONE;
    });
}

A_Err DisposeMask(AEGP_MaskRefH maskH) {
    return hostCall("AEGP_DisposeMask", [&](Host& h) {
        // The mask itself may be gone (deleted or undone): the ref is released all the same.
        HandleRecord* r = h.record(maskH, HandleKind::Mask, "mask");
        args(h, "mask", r->id);
        h.handles().release(r);
        return A_Err_NONE;
    });
}

A_Err DeleteMaskFromLayer(AEGP_MaskRefH maskH) {
    return undoableCall("AEGP_DeleteMaskFromLayer", [&](Host& h) {
        MaskLocation at = maskOf(h, maskH);
        args(h, "mask", at.mask->id, "layer", at.layer->id);
        const bool wasSelected = at.mask->selected;
        at.layer->masks.erase(at.layer->masks.begin() + static_cast<std::ptrdiff_t>(at.index));
        if (wasSelected)
            for (Layer& l : at.comp->comp.layers)
                for (Mask& m : l.masks)
                    m.selected = false;
        return A_Err_NONE;
    });
}

// A mask named "Mask N" after the layer's last one, adding, with an empty closed outline (zero
// vertices); cameras and lights have no masks.
A_Err CreateNewMask(AEGP_LayerH layerH, AEGP_MaskRefH* maskPH, A_long* indexP) {
    return hostCall("AEGP_CreateNewMask", [&](Host& h) {
        requireOut(maskPH, "mask");
        *maskPH = nullptr;
        Layer& l = h.layerOf(layerH);
        args(h, "layer", l.id);
        if (l.kind == LayerKind::Camera || l.kind == LayerKind::Light)
            throw HostError(A_Err_PARAMETER, "layer '" + l.name + "' cannot have masks");
        Mask m;
        m.id = h.project().newId();
        m.name = "Mask " + std::to_string(l.masks.size() + 1);
        l.masks.push_back(m);
        if (indexP) *indexP = static_cast<A_long>(l.masks.size() - 1);
        *maskPH = newMaskRef(h, l, l.masks.back());
        return A_Err_NONE;
    });
}

// ---- Mask Outline suite ----

// Host indexing: N segments give vertex indices 0..N. A closed outline's vertex N is its vertex
// 0; an open outline of V vertices has V-1 segments, so its vertex N is its last vertex.
size_t vertexSlot(const MaskPath& path, AEGP_VertexIndex which) {
    const int segments = path.numSegments();
    if (path.vertices.empty() || which < 0 || which > segments)
        throw HostError(A_Err_PARAMETER, "vertex " + std::to_string(which) + " is outside 0.." +
                                             std::to_string(segments) + " of an outline of " +
                                             std::to_string(segments) + " segments");
    if (path.closed && which == segments) return 0;
    return static_cast<size_t>(which);
}

Vec2 tangentAt(const std::vector<Vec2>& tangents, size_t i) {
    return i < tangents.size() ? tangents[i] : Vec2{};
}

A_Err IsMaskOutlineOpen(AEGP_MaskOutlineValH outlineH, A_Boolean* openP) {
    return hostCall("AEGP_IsMaskOutlineOpen", [&](Host& h) {
        requireOut(openP, "flag");
        *openP = outlineOf(h, outlineH).closed ? 0 : 1;
        args(h, "->", int(*openP));
        return A_Err_NONE;
    });
}

A_Err SetMaskOutlineOpen(AEGP_MaskOutlineValH outlineH, A_Boolean open) {
    return hostCall("AEGP_SetMaskOutlineOpen", [&](Host& h) {
        args(h, int(open));
        outlineOf(h, outlineH).closed = !open;
        return A_Err_NONE;
    });
}

A_Err GetMaskOutlineNumSegments(AEGP_MaskOutlineValH outlineH, A_long* numP) {
    return hostCall("AEGP_GetMaskOutlineNumSegments", [&](Host& h) {
        requireOut(numP, "segment count");
        *numP = outlineOf(h, outlineH).numSegments();
        args(h, "->", *numP);
        return A_Err_NONE;
    });
}

A_Err GetMaskOutlineVertexInfo(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex which,
                               AEGP_MaskVertex* vertexP) {
    return hostCall("AEGP_GetMaskOutlineVertexInfo", [&](Host& h) {
        requireOut(vertexP, "vertex");
        const MaskPath& path = outlineOf(h, outlineH);
        args(h, "vertex", which);
        size_t i = vertexSlot(path, which);
        Vec2 in = tangentAt(path.inTangents, i), out = tangentAt(path.outTangents, i);
        *vertexP = {path.vertices[i].x, path.vertices[i].y, in.x, in.y, out.x, out.y};
        return A_Err_NONE;
    });
}

A_Err SetMaskOutlineVertexInfo(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex which,
                               const AEGP_MaskVertex* vertexP) {
    return hostCall("AEGP_SetMaskOutlineVertexInfo", [&](Host& h) {
        requireOut(vertexP, "vertex");
        MaskPath& path = outlineOf(h, outlineH);
        args(h, "vertex", which, vertexP->x, vertexP->y);
        size_t i = vertexSlot(path, which);
        // By default every vertex owns both its tangents, so writing one vertex touches no other.
        path.inTangents.resize(path.vertices.size());
        path.outTangents.resize(path.vertices.size());
        path.vertices[i] = {vertexP->x, vertexP->y};
        path.inTangents[i] = {vertexP->tan_in_x, vertexP->tan_in_y};
        path.outTangents[i] = {vertexP->tan_out_x, vertexP->tan_out_y};
        // The coupled reading of the host's note on vertex 0: its in-tangent is also written as
        // the out-tangent of the outline's last vertex.
        const size_t last = path.vertices.size() - 1;
        if (h.model().vertex0 == HostModel::Vertex0::Coupled && i == 0 && last > 0)
            path.outTangents[last] = {vertexP->tan_in_x, vertexP->tan_in_y};
        return A_Err_NONE;
    });
}

// A vertex at (0, 0) without tangents, inserted before `at` (at the end when `at` is the vertex
// count); the caller sets it.
A_Err CreateVertex(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex at) {
    return hostCall("AEGP_CreateVertex", [&](Host& h) {
        MaskPath& path = outlineOf(h, outlineH);
        args(h, "at", at);
        const size_t count = path.vertices.size();
        if (at < 0 || static_cast<size_t>(at) > count)
            throw HostError(A_Err_PARAMETER, "a vertex cannot be inserted at " +
                                                 std::to_string(at) + " of an outline of " +
                                                 std::to_string(count) + " vertices");
        path.inTangents.resize(count);
        path.outTangents.resize(count);
        const auto where = static_cast<std::ptrdiff_t>(at);
        path.vertices.insert(path.vertices.begin() + where, Vec2{});
        path.inTangents.insert(path.inTangents.begin() + where, Vec2{});
        path.outTangents.insert(path.outTangents.begin() + where, Vec2{});
        return A_Err_NONE;
    });
}

}  // namespace

void registerMaskSuites(Host& host) {
    static AEGP_MaskSuite5 mask = [] {
        AEGP_MaskSuite5 s{};
        s.AEGP_GetLayerNumMasks = entry<kMaskSuite, GetLayerNumMasks>;
        s.AEGP_GetLayerMaskByIndex = entry<kMaskSuite, GetLayerMaskByIndex>;
        s.AEGP_DisposeMask = entry<kMaskSuite, DisposeMask>;
        s.AEGP_CreateNewMask = entry<kMaskSuite, CreateNewMask>;
        s.AEGP_DeleteMaskFromLayer = entry<kMaskSuite, DeleteMaskFromLayer>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    static AEGP_MaskOutlineSuite2 outline = [] {
        AEGP_MaskOutlineSuite2 s{};
        setSlot(s.AEGP_IsMaskOutlineOpen, entry<kMaskOutlineSuite, IsMaskOutlineOpen>);
        setSlot(s.AEGP_SetMaskOutlineOpen, entry<kMaskOutlineSuite, SetMaskOutlineOpen>);
        s.AEGP_GetMaskOutlineNumSegments = entry<kMaskOutlineSuite, GetMaskOutlineNumSegments>;
        s.AEGP_GetMaskOutlineVertexInfo = entry<kMaskOutlineSuite, GetMaskOutlineVertexInfo>;
        s.AEGP_SetMaskOutlineVertexInfo = entry<kMaskOutlineSuite, SetMaskOutlineVertexInfo>;
        s.AEGP_CreateVertex = entry<kMaskOutlineSuite, CreateVertex>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    host.addSuite(kAEGPMaskSuite, kAEGPMaskSuiteVersion5, &mask);
    host.addSuite(kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion2, &outline);
}

}  // namespace layersuites
}  // namespace sim
