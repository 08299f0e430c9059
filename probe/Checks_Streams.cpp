// What the host does with the values the plug-in reads and writes: a mask's vertex 0, a value with
// keyframes, and the bounds a layer's masks leave visible.
#include "AEGP_SuiteHandler.h"
#include "Checks.h"
#include "HostHold.h"
#include "Report.h"
#include "Scratch.h"

namespace hostcheck {

namespace {

bool same(const AEGP_MaskVertex& a, const AEGP_MaskVertex& b) {
    return near(a.x, b.x) && near(a.y, b.y) && near(a.tan_in_x, b.tan_in_x) &&
           near(a.tan_in_y, b.tan_in_y) && near(a.tan_out_x, b.tan_out_x) &&
           near(a.tan_out_y, b.tan_out_y);
}

std::string vertexText(const AEGP_MaskVertex& v) {
    return point(v.x, v.y) + " in " + point(v.tan_in_x, v.tan_in_y) + " out " +
           point(v.tan_out_x, v.tan_out_y);
}

// A layer showing a small composition, in a composition of its own.
AEGP_LayerH layerToMask(const Probe& p, Steps& s, const char* name) {
    AEGP_CompH source = makeComp(p, s, (std::string(name) + " source").c_str(), 200, 100);
    AEGP_CompH comp = makeComp(p, s, name, 800, 600);
    return addUse(p, s, source, comp);
}

}  // namespace

// A closed outline of four vertices whose last one has an out-tangent of its own: read, vertex 0
// written back as it was read, the last vertex read again.
void checkVertex0(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_LayerH layer = layerToMask(p, s, "Vertex 0");
    addMask(p, s, layer,
            {{20, 10, -7, -8, 7, 8},
             {180, 10, 0, 0, 0, 0},
             {180, 90, 0, 0, 0, 0},
             {20, 90, 0, 0, 5, 6}});
    AEGP_MaskVertex first = {}, lastBefore = {}, lastAfter = {};
    withMaskOutline(p, s, layer, 0, [&](AEGP_MaskOutlineValH outline) {
        AEGP_SuiteHandler suites(p.basic);
        AEGP_MaskOutlineSuite2* outlines = suites.MaskOutlineSuite2();
        STEP(s, outlines, AEGP_GetMaskOutlineVertexInfo, outline, 0, &first);
        STEP(s, outlines, AEGP_GetMaskOutlineVertexInfo, outline, 3, &lastBefore);
        STEP(s, outlines, AEGP_SetMaskOutlineVertexInfo, outline, 0, &first);
        STEP(s, outlines, AEGP_GetMaskOutlineVertexInfo, outline, 3, &lastAfter);
    });
    if (!s.ok()) return;

    AEGP_MaskVertex coupled = lastBefore;
    coupled.tan_out_x = first.tan_in_x;
    coupled.tan_out_y = first.tan_in_y;
    r->matches = same(lastAfter, lastBefore) ? "independent"
                 : same(lastAfter, coupled)  ? "coupled"
                                             : "none";
    r->observed = "a closed outline of 4 vertices, vertex 0 " + vertexText(first) + ": vertex 3 " +
                  vertexText(lastBefore) + " read, after vertex 0 was written back unchanged, " +
                  vertexText(lastAfter);
}

// A position with keyframes at 0 s and 1 s, then AEGP_SetStreamValue on it.
void checkKeyedSetStreamValue(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_CompH comp = makeComp(p, s, "Keyframes", 400, 300);
    AEGP_LayerH layer = makeNull(p, s, comp, "Keyframed");
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_KeyframeSuite4* keys = suites.KeyframeSuite4();
    AEGP_StreamRefH stream = NULL;
    AEGP_StreamValue2 value = {}, after = {};
    bool obtained = false, obtainedAfter = false;
    auto streamHold =
        HoldHandle(stream, [streams](AEGP_StreamRefH h) { return streams->AEGP_DisposeStream(h); });
    auto valueHold = HoldStreamValue(streams, value, obtained);
    auto afterHold = HoldStreamValue(streams, after, obtainedAfter);
    const A_Time zero = {0, 1}, one = {1, 1};
    AEGP_KeyframeIndex first = 0, second = 0;
    A_long count = 0;
    STEP(s, streams, AEGP_GetNewLayerStream, p.id, layer, AEGP_LayerStream_POSITION, &stream);
    STEP(s, keys, AEGP_InsertKeyframe, stream, AEGP_LTimeMode_LayerTime, &zero, &first);
    STEP(s, keys, AEGP_InsertKeyframe, stream, AEGP_LTimeMode_LayerTime, &one, &second);
    STEP(s, streams, AEGP_GetNewStreamValue, p.id, stream, AEGP_LTimeMode_LayerTime, &zero, false,
         &value);
    obtained = s.ok();
    const AEGP_ThreeDVal keyed = {100, 100, 0}, whole = {300, 300, 0};
    value.val.three_d = keyed;
    STEP(s, keys, AEGP_SetKeyframeValue, stream, first, &value);
    value.val.three_d = {200, 100, 0};
    STEP(s, keys, AEGP_SetKeyframeValue, stream, second, &value);
    A_Err set = A_Err_NONE;
    if (s.ok()) {
        value.val.three_d = whole;
        // The host is expected to refuse this: its answer is the observation, not a failure.
        set = streams->AEGP_SetStreamValue(p.id, stream, &value);
    }
    STEP(s, keys, AEGP_GetStreamNumKFs, stream, &count);
    STEP(s, streams, AEGP_GetNewStreamValue, p.id, stream, AEGP_LTimeMode_LayerTime, &zero, false,
         &after);
    obtainedAfter = s.ok();
    const AEGP_ThreeDVal at0 = after.val.three_d;
    A_Err given = A_Err_NONE;
    afterHold.release(&given);
    valueHold.release(&given);
    streamHold.release(&given);
    s.note("giving back the stream and its values", given);
    if (!s.ok()) return;

    const bool refused = set != A_Err_NONE && count == 2 && near(at0, keyed.x, keyed.y);
    r->matches = refused ? "refused" : "none";
    r->observed = "AEGP_SetStreamValue of " + point(whole) +
                  " on a position keyed at 0 s and 1 s " +
                  (set ? "returned error " + std::to_string(set) : std::string("succeeded")) +
                  "; the position then has " + std::to_string(count) + " keyframes and is " +
                  point(at0) + " at 0 s";
}

// A layer moved, scaled 200 % and masked to a rectangle of its source: the masked bounds in the
// source's pixels, or in the composition's?
void checkMaskedBoundsSpace(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_LayerH layer = layerToMask(p, s, "Masked bounds");
    const AEGP_ThreeDVal anchor = {100, 50, 0}, position = {600, 400, 0}, scale = {200, 200, 100};
    writePoint(p, s, layer, AEGP_LayerStream_ANCHORPOINT, anchor);
    writePoint(p, s, layer, AEGP_LayerStream_POSITION, position);
    writePoint(p, s, layer, AEGP_LayerStream_SCALE, scale);
    addMask(
        p, s, layer,
        {{10, 20, 0, 0, 0, 0}, {110, 20, 0, 0, 0, 0}, {110, 70, 0, 0, 0, 0}, {10, 70, 0, 0, 0, 0}});
    AEGP_SuiteHandler suites(p.basic);
    const A_Time zero = {0, 1};
    A_FloatRect bounds = {0, 0, 0, 0};
    STEP(s, suites.LayerSuite7(), AEGP_GetLayerMaskedBounds, layer, AEGP_LTimeMode_LayerTime, &zero,
         &bounds);
    if (!s.ok()) return;

    auto is = [&](double left, double top, double right, double bottom) {
        return near(bounds.left, left) && near(bounds.top, top) && near(bounds.right, right) &&
               near(bounds.bottom, bottom);
    };
    const bool inComp = is(420, 340, 620, 440);
    r->matches = is(10, 20, 110, 70) ? "source" : "none";
    r->observed = "a layer of a 200 x 100 composition with anchor point " + point(anchor) + " at " +
                  point(position) + ", scaled 200 %, masked to " + point(10, 20) + " - " +
                  point(110, 70) + " of its source: masked bounds " +
                  point(bounds.left, bounds.top) + " - " + point(bounds.right, bounds.bottom) +
                  (inComp ? ", the mask in the composition's pixels" : "");
}

}  // namespace hostcheck
