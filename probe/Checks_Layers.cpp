// What the host does with layers the crop relies on: parenting, deleting a parent, a new null.
#include "AEGP_SuiteHandler.h"
#include "Checks.h"
#include "Report.h"
#include "Scratch.h"

namespace hostcheck {

namespace {

const AEGP_ThreeDVal kChildAt = {300, 200, 0};

std::string seconds(const A_Time& t) {
    return t.scale ? num(double(t.value) / t.scale) + " s" : "(no time: scale 0)";
}

}  // namespace

// A layer parented to a new null as the host makes it, and another to a null that was moved,
// scaled and rotated first: does each keep its own position?
void checkParentKeepsValues(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_CompH comp = makeComp(p, s, "Parenting", 800, 600);
    AEGP_LayerH fresh = makeNull(p, s, comp, "New parent");
    AEGP_LayerH moved = makeNull(p, s, comp, "Moved parent");
    const AEGP_ThreeDVal movedTo = {500, 100, 0}, doubled = {200, 200, 100};
    writePoint(p, s, moved, AEGP_LayerStream_POSITION, movedTo);
    writePoint(p, s, moved, AEGP_LayerStream_SCALE, doubled);
    writeNumber(p, s, moved, AEGP_LayerStream_ROTATION, 30);
    AEGP_LayerH first = makeNull(p, s, comp, "Child of the new parent");
    AEGP_LayerH second = makeNull(p, s, comp, "Child of the moved parent");
    writePoint(p, s, first, AEGP_LayerStream_POSITION, kChildAt);
    writePoint(p, s, second, AEGP_LayerStream_POSITION, kChildAt);
    const AEGP_ThreeDVal freshAt = readPoint(p, s, fresh, AEGP_LayerStream_POSITION);
    setParent(p, s, first, fresh);
    setParent(p, s, second, moved);
    const AEGP_ThreeDVal a = readPoint(p, s, first, AEGP_LayerStream_POSITION);
    const AEGP_ThreeDVal b = readPoint(p, s, second, AEGP_LayerStream_POSITION);
    if (!s.ok()) return;

    const bool keeps = near(a, kChildAt.x, kChildAt.y) && near(b, kChildAt.x, kChildAt.y);
    r->matches = keeps ? "keeps" : "none";
    r->observed = "a layer at " + point(kChildAt) + " parented to a new null at " + point(freshAt) +
                  ": " + point(a) + "; parented to a null moved to " + point(movedTo) +
                  ", scaled 200 % and rotated 30 degrees: " + point(b);
}

// A child of a null that only moves: after the null is deleted, is the child where it appeared,
// without a parent?
void checkDeleteParentFolds(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_CompH comp = makeComp(p, s, "Deleting a parent", 800, 600);
    AEGP_LayerH parent = makeNull(p, s, comp, "Parent");
    AEGP_LayerH child = makeNull(p, s, comp, "Child");
    const AEGP_ThreeDVal parentAt = {500, 100, 0};
    writePoint(p, s, parent, AEGP_LayerStream_POSITION, parentAt);
    writePoint(p, s, child, AEGP_LayerStream_POSITION, kChildAt);
    setParent(p, s, child, parent);
    // Where the child appears follows from its value once parented and the parent's own anchor
    // point, whatever parenting and a new null do in this host.
    const AEGP_ThreeDVal anchor = readPoint(p, s, parent, AEGP_LayerStream_ANCHORPOINT);
    const AEGP_ThreeDVal parented = readPoint(p, s, child, AEGP_LayerStream_POSITION);
    AEGP_SuiteHandler suites(p.basic);
    AEGP_LayerH parentAfter = NULL;
    STEP(s, suites.LayerSuite7(), AEGP_DeleteLayer, parent);
    const AEGP_ThreeDVal after = readPoint(p, s, child, AEGP_LayerStream_POSITION);
    STEP(s, suites.LayerSuite7(), AEGP_GetLayerParent, child, &parentAfter);
    if (!s.ok()) return;

    const double x = parented.x - anchor.x + parentAt.x, y = parented.y - anchor.y + parentAt.y;
    r->matches = near(after, x, y) && !parentAfter ? "folds" : "none";
    r->observed = "a child at " + point(parented) + " of a null at " + point(parentAt) +
                  " with its anchor point at " + point(anchor) + ": once the null is deleted, " +
                  point(after) + (parentAfter ? ", still with a parent" : ", without a parent") +
                  " (it appeared at " + point(x, y) + ")";
}

// A null made without a duration in a composition of 640 x 360 lasting four seconds.
void checkNullLayer(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_CompH comp = makeComp(p, s, "New null", 640, 360);
    AEGP_LayerH null = makeNull(p, s, comp, "Null");
    AEGP_SuiteHandler suites(p.basic);
    AEGP_ItemH source = NULL;
    A_long width = 0, height = 0;
    A_Time duration = {0, 1};
    STEP(s, suites.LayerSuite7(), AEGP_GetLayerSourceItem, null, &source);
    STEP(s, suites.ItemSuite8(), AEGP_GetItemDimensions, source, &width, &height);
    STEP(s, suites.LayerSuite7(), AEGP_GetLayerDuration, null, AEGP_LTimeMode_LayerTime, &duration);
    const AEGP_ThreeDVal anchor = readPoint(p, s, null, AEGP_LayerStream_ANCHORPOINT);
    const AEGP_ThreeDVal position = readPoint(p, s, null, AEGP_LayerStream_POSITION);
    if (!s.ok()) return;

    const bool standard = width == 100 && height == 100 && near(anchor, 0, 0) &&
                          near(anchor.z, 0) && near(position, 320, 180) && near(position.z, 0);
    r->matches = standard ? "standard" : "none";
    // The duration is reported, not matched: the crop deletes its null before anything renders.
    r->observed =
        "a null made without a duration in a composition of 640 x 360 lasting 4 s: "
        "source " +
        std::to_string(width) + " x " + std::to_string(height) + ", anchor point " + point(anchor) +
        ", position " + point(position) + ", duration " + seconds(duration);
}

}  // namespace hostcheck
