// Correcting every layer that uses a cropped composition, and the layers parented to those uses.
// What the correction rewrites is read before the composition is resized and written back after,
// moved by the crop's offset: the result does not depend on what the host's resize does to the
// uses (rescale them or leave them alone), and whole-pixel values stay whole.
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "Crop.h"
#include "cropUtil.h"

namespace crop {

namespace {

// Calls `read(key, time, value)` with the stream's single value (key -1, at `unkeyedTime`) or with
// every keyframe's value at its own time, in layer time; each value is given back after its read.
template <typename Read>
A_Err forEachValue(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_StreamRefH streamH,
                   A_Time unkeyedTime, Read read) {
    A_Err err = A_Err_NONE;
    AEGP_KeyframeSuite4* keyframes = suites.KeyframeSuite4();
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    auto readAt = [&](A_long key, A_Time time) {
        AEGP_StreamValue2 value = {};
        bool have = false;
        auto heldValue = HoldStreamValue(streams, value, have);
        A_Err e = streams->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_LayerTime,
                                                  &time, true, &value);
        have = !e;
        if (!e) e = read(key, time, value);
        heldValue.release(&e);
        return e;
    };
    A_long numKeys = 0;
    ERR(keyframes->AEGP_GetStreamNumKFs(streamH, &numKeys));
    if (!err && numKeys == 0) err = readAt(-1, unkeyedTime);
    for (A_long k = 0; k < numKeys && !err; ++k) {
        A_Time keyTime = {0, 1};
        ERR(keyframes->AEGP_GetKeyframeTime(streamH, k, AEGP_LTimeMode_LayerTime, &keyTime));
        if (!err) err = readAt(k, keyTime);
    }
    return err;
}

// A layer's Anchor Point or Position, unkeyed (read at time 0) or at every keyframe.
A_Err readPoints(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer,
                 AEGP_LayerStream which, UsesBefore* before) {
    A_Err err = A_Err_NONE;
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_StreamRefH streamH = NULL;
    auto heldStream = HoldStream(streams, streamH);
    PointStreamBefore points = {layer, which, {}};
    ERR(streams->AEGP_GetNewLayerStream(pluginId, layer, which, &streamH));
    if (!err) {
        err = forEachValue(suites, pluginId, streamH, A_Time{0, 1},
                           [&](A_long key, A_Time time, const AEGP_StreamValue2& value) {
                               points.values.push_back(PointBefore{key, time, value.val.three_d});
                               return A_Err_NONE;
                           });
    }
    if (!err) before->points.push_back(std::move(points));
    heldStream.release(&err);
    return err;
}

// Every vertex of an outline value, both tangents included. An open outline of N segments has
// N + 1 vertices (indices 0 to N); a closed one has N, its index N being vertex 0 again.
A_Err readVertices(AEGP_SuiteHandler& suites, AEGP_MaskOutlineValH outlineH,
                   std::vector<AEGP_MaskVertex>* vertices) {
    A_Err err = A_Err_NONE;
    AEGP_MaskOutlineSuite2* outlines = suites.MaskOutlineSuite2();
    A_long segments = 0;
    A_Boolean open = 0;
    ERR(outlines->AEGP_GetMaskOutlineNumSegments(outlineH, &segments));
    ERR(outlines->AEGP_IsMaskOutlineOpen(outlineH, &open));
    const A_long count = segments == 0 ? 0 : (open ? segments + 1 : segments);
    for (A_long i = 0; i < count && !err; ++i) {
        AEGP_MaskVertex v = {};
        ERR(outlines->AEGP_GetMaskOutlineVertexInfo(outlineH, i, &v));
        if (!err) vertices->push_back(v);
    }
    return err;
}

// Opens mask `index` of `layer` and its outline stream, runs `body(streamH)` when both are open,
// and gives both back.
template <typename Body>
A_Err withOutlineStream(AEGP_MaskSuite5* masks, AEGP_StreamSuite4* streams, AEGP_PluginID pluginId,
                        AEGP_LayerH layer, A_long index, Body body) {
    A_Err err = A_Err_NONE;
    AEGP_MaskRefH maskH = NULL;
    AEGP_StreamRefH streamH = NULL;
    auto heldMask = HoldMask(masks, maskH);
    auto heldStream = HoldStream(streams, streamH);
    ERR(masks->AEGP_GetLayerMaskByIndex(layer, index, &maskH));
    ERR(streams->AEGP_GetNewMaskStream(pluginId, maskH, AEGP_MaskStream_OUTLINE, &streamH));
    if (!err) err = body(streamH);
    heldStream.release(&err);
    heldMask.release(&err);
    return err;
}

// One mask of a use: its outline unkeyed (read at `time`) or at every keyframe.
A_Err readMask(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, AEGP_LayerH layer, A_long index,
               A_Time time, UsesBefore* before) {
    AEGP_MaskSuite5* masks = suites.MaskSuite5();
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    MaskBefore mask = {layer, index, {}};
    A_Err err =
        withOutlineStream(masks, streams, pluginId, layer, index, [&](AEGP_StreamRefH streamH) {
            return forEachValue(suites, pluginId, streamH, time,
                                [&](A_long key, A_Time at, const AEGP_StreamValue2& value) {
                                    OutlineBefore outline = {key, at, {}};
                                    A_Err e =
                                        readVertices(suites, value.val.mask, &outline.vertices);
                                    if (!e) mask.outlines.push_back(std::move(outline));
                                    return e;
                                });
        });
    if (!err) before->masks.push_back(std::move(mask));
    return err;
}

// The layers parented to one of the uses (children of children are not): each composition that
// holds a use is walked once.
A_Err findChildren(AEGP_SuiteHandler& suites, const std::vector<AEGP_LayerH>& uses,
                   std::vector<AEGP_LayerH>* children) {
    A_Err err = A_Err_NONE;
    AEGP_LayerSuite7* layers = suites.LayerSuite7();
    std::vector<AEGP_CompH> holders;  // in the order found
    for (AEGP_LayerH use : uses) {
        AEGP_CompH comp = NULL;
        ERR(layers->AEGP_GetLayerParentComp(use, &comp));
        if (err) return err;
        if (std::find(holders.begin(), holders.end(), comp) == holders.end())
            holders.push_back(comp);
    }
    std::vector<AEGP_LayerH> sortedUses(uses);
    std::sort(sortedUses.begin(), sortedUses.end(), std::less<AEGP_LayerH>());
    for (AEGP_CompH comp : holders) {
        A_long numLayers = 0;
        ERR(layers->AEGP_GetCompNumLayers(comp, &numLayers));
        for (A_long i = 0; i < numLayers && !err; ++i) {
            AEGP_LayerH layer = NULL, parent = NULL;
            ERR(layers->AEGP_GetCompLayerByIndex(comp, i, &layer));
            ERR(layers->AEGP_GetLayerParent(layer, &parent));
            if (!err && parent &&
                std::binary_search(sortedUses.begin(), sortedUses.end(), parent,
                                   std::less<AEGP_LayerH>()))
                children->push_back(layer);
        }
    }
    return err;
}

// A point stream written back, moved by the crop's offset; keyframes keep their interpolation
// (linear while the value is written, then put back).
A_Err writePoints(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, const PointStreamBefore& p,
                  double left, double top) {
    A_Err err = A_Err_NONE;
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_KeyframeSuite4* keyframes = suites.KeyframeSuite4();
    AEGP_StreamRefH streamH = NULL;
    auto heldStream = HoldStream(streams, streamH);
    ERR(streams->AEGP_GetNewLayerStream(pluginId, p.layer, p.stream, &streamH));
    for (const PointBefore& v : p.values) {
        if (err) break;
        AEGP_StreamValue2 value = {};
        value.streamH = streamH;
        value.val.three_d = pointAfterCrop(v.value, left, top);
        if (v.key < 0) {
            ERR(streams->AEGP_SetStreamValue(pluginId, streamH, &value));
            continue;
        }
        AEGP_KeyframeInterpolationType in = AEGP_KeyInterp_NONE, out = AEGP_KeyInterp_NONE;
        ERR(keyframes->AEGP_GetKeyframeInterpolation(streamH, v.key, &in, &out));
        ERR(keyframes->AEGP_SetKeyframeInterpolation(streamH, v.key, AEGP_KeyInterp_LINEAR,
                                                     AEGP_KeyInterp_LINEAR));
        ERR(keyframes->AEGP_SetKeyframeValue(streamH, v.key, &value));
        ERR(keyframes->AEGP_SetKeyframeInterpolation(streamH, v.key, in, out));
    }
    heldStream.release(&err);
    return err;
}

// One outline written back as it was read (the stream's value, or its keyframe's), moved by the
// crop's offset. Every vertex is written after all were read (before the resize), in ascending
// order, so that a host that also sets the last vertex's out-tangent when vertex 0 is written ends
// with the last vertex's own.
A_Err writeOutline(AEGP_SuiteHandler& suites, AEGP_MaskOutlineSuite2* outlines,
                   AEGP_PluginID pluginId, AEGP_StreamRefH streamH, const OutlineBefore& o,
                   double left, double top) {
    A_Err err = A_Err_NONE;
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_StreamValue2 value = {};
    bool have = false;
    auto heldValue = HoldStreamValue(streams, value, have);
    A_Time at = o.time;
    ERR(streams->AEGP_GetNewStreamValue(pluginId, streamH, AEGP_LTimeMode_LayerTime, &at, true,
                                        &value));
    have = !err;
    for (size_t i = 0; i < o.vertices.size() && !err; ++i) {
        AEGP_MaskVertex v = vertexAfterCrop(o.vertices[i], left, top);
        ERR(outlines->AEGP_SetMaskOutlineVertexInfo(value.val.mask,
                                                    static_cast<AEGP_VertexIndex>(i), &v));
    }
    if (o.key < 0) {
        ERR(streams->AEGP_SetStreamValue(pluginId, streamH, &value));
    } else {
        ERR(suites.KeyframeSuite4()->AEGP_SetKeyframeValue(streamH, o.key, &value));
    }
    heldValue.release(&err);
    return err;
}

// A mask's outlines written back, moved by the crop's offset.
A_Err writeMask(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, const MaskBefore& m, double left,
                double top) {
    AEGP_MaskSuite5* masks = suites.MaskSuite5();
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_MaskOutlineSuite2* outlines = suites.MaskOutlineSuite2();
    return withOutlineStream(
        masks, streams, pluginId, m.layer, m.index, [&](AEGP_StreamRefH streamH) {
            A_Err err = A_Err_NONE;
            for (size_t k = 0; k < m.outlines.size() && !err; ++k)
                err = writeOutline(suites, outlines, pluginId, streamH, m.outlines[k], left, top);
            return err;
        });
}

}  // namespace

A_Err findAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item, A_Time time,
                  UsesBefore* before) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    ERR(cropUtil::FindAllCompUses(basic, pluginId, item, &before->uses));
    std::vector<AEGP_LayerH> children;
    if (!err) err = findChildren(suites, before->uses, &children);
    for (AEGP_LayerH use : before->uses) {
        if (err) break;
        err = readPoints(suites, pluginId, use, AEGP_LayerStream_ANCHORPOINT, before);
        A_long numMasks = 0;
        ERR(suites.MaskSuite5()->AEGP_GetLayerNumMasks(use, &numMasks));
        for (A_long m = 0; m < numMasks && !err; ++m)
            err = readMask(suites, pluginId, use, m, time, before);
    }
    for (AEGP_LayerH child : children) {
        if (err) break;
        err = readPoints(suites, pluginId, child, AEGP_LayerStream_POSITION, before);
    }
    return err;
}

A_Err correctAllUses(SPBasicSuite* basic, AEGP_PluginID pluginId, const UsesBefore& before,
                     CroppingBounds bounds) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    for (const PointStreamBefore& p : before.points) {
        if (err) break;
        err = writePoints(suites, pluginId, p, bounds.left, bounds.top);
    }
    for (const MaskBefore& m : before.masks) {
        if (err) break;
        err = writeMask(suites, pluginId, m, bounds.left, bounds.top);
    }
    return err;
}

}  // namespace crop
