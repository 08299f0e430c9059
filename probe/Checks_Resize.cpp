// What resizing a composition does to the layers of another composition that show it: the uses'
// anchor points and mask points, and the positions of the uses' children.
#include "Checks.h"
#include "Report.h"
#include "Scratch.h"

namespace hostcheck {

namespace {

// An odd size made smaller, as a crop does: the ratios are not round numbers.
const A_long kOldWidth = 401, kOldHeight = 301, kNewWidth = 201, kNewHeight = 101;
const double kRatioX = double(kNewWidth) / kOldWidth, kRatioY = double(kNewHeight) / kOldHeight;
const char* const kResized = "a composition of 401 x 301 used in another, resized to 201 x 101";

}  // namespace

// Two uses: one with its anchor at the source's centre and a mask reaching the far corner with a
// tangent, one with a moved anchor and a depth.
void checkResizeUses(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_CompH source = makeComp(p, s, "Resized, with uses", kOldWidth, kOldHeight);
    AEGP_CompH shots = makeComp(p, s, "Uses", 800, 600);
    AEGP_LayerH centred = addUse(p, s, source, shots);
    AEGP_LayerH moved = addUse(p, s, source, shots);
    const AEGP_ThreeDVal centre = {200.5, 150.5, 0}, elsewhere = {100, 80, 50};
    const AEGP_MaskVertex corner = {401, 301, 40, 30, 0, 0};
    writePoint(p, s, centred, AEGP_LayerStream_ANCHORPOINT, centre);
    writePoint(p, s, moved, AEGP_LayerStream_ANCHORPOINT, elsewhere);
    addMask(p, s, centred,
            {{0, 0, 0, 0, 0, 0}, {401, 0, 0, 0, 0, 0}, corner, {0, 301, 0, 0, 0, 0}});
    resizeComp(p, s, source, kNewWidth, kNewHeight);
    const AEGP_ThreeDVal a = readPoint(p, s, centred, AEGP_LayerStream_ANCHORPOINT);
    const AEGP_ThreeDVal b = readPoint(p, s, moved, AEGP_LayerStream_ANCHORPOINT);
    const AEGP_MaskVertex v = readMaskVertex(p, s, centred, 0, 2);
    if (!s.ok()) return;

    const bool proportional = near(a, centre.x * kRatioX, centre.y * kRatioY) &&
                              near(b, elsewhere.x * kRatioX, elsewhere.y * kRatioY) &&
                              near(v.x, corner.x * kRatioX) && near(v.y, corner.y * kRatioY) &&
                              near(v.tan_in_x, corner.tan_in_x * kRatioX) &&
                              near(v.tan_in_y, corner.tan_in_y * kRatioY);
    const bool unchanged = near(a, centre.x, centre.y) && near(b, elsewhere.x, elsewhere.y) &&
                           near(v.x, corner.x) && near(v.y, corner.y) &&
                           near(v.tan_in_x, corner.tan_in_x) && near(v.tan_in_y, corner.tan_in_y);
    r->matches = proportional ? "proportional" : unchanged ? "unchanged" : "none";
    // The depth is reported, not matched: a 2D layer may keep no depth at all.
    const std::string depth = near(b.z, elsewhere.z * kRatioY) ? "followed the height"
                              : near(b.z, elsewhere.z)         ? "was kept"
                                                               : "changed otherwise";
    r->observed = std::string(kResized) + ": the uses' anchor points " + point(centre) + " -> " +
                  point(a) + " and " + point(elsewhere) + " -> " + point(b) + " (the depth " +
                  depth + "); a mask vertex " + point(corner.x, corner.y) + " with in-tangent " +
                  point(corner.tan_in_x, corner.tan_in_y) + " -> " + point(v.x, v.y) + " with " +
                  point(v.tan_in_x, v.tan_in_y);
}

// A null parented to a use, moved to (30, 40).
void checkResizeChildren(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_CompH source = makeComp(p, s, "Resized, with a use's child", kOldWidth, kOldHeight);
    AEGP_CompH shots = makeComp(p, s, "Use with a child", 800, 600);
    AEGP_LayerH use = addUse(p, s, source, shots);
    AEGP_LayerH child = makeNull(p, s, shots, "Child of a use");
    setParent(p, s, child, use);
    const AEGP_ThreeDVal at = {30, 40, 0};
    writePoint(p, s, child, AEGP_LayerStream_POSITION, at);
    resizeComp(p, s, source, kNewWidth, kNewHeight);
    const AEGP_ThreeDVal after = readPoint(p, s, child, AEGP_LayerStream_POSITION);
    if (!s.ok()) return;

    r->matches = near(after, at.x, at.y)                       ? "unchanged"
                 : near(after, at.x * kRatioX, at.y * kRatioY) ? "proportional"
                                                               : "none";
    r->observed = std::string(kResized) + ": the position of a child of a use " + point(at) +
                  " -> " + point(after);
}

}  // namespace hostcheck
