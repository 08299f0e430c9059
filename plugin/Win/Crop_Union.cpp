// Rectangles met over time: the running union of the frames' content bounds and of the masks'
// bounds, and the masks' limit applied to the union afterwards.
#include <cmath>

#include "Crop.h"
#include "cropUtil.h"

namespace crop {

namespace {

// The smaller/larger of two edges; a value that is not a number loses to the other.
double smaller(double a, double b) {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return b < a ? b : a;
}
double larger(double a, double b) {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return b > a ? b : a;
}

// A mask edge taken into the crop: rounded down to a whole 32-bit number.
double wholeEdge(double v) {
    return static_cast<double>(cropUtil::FloorToInt32(v));
}

}  // namespace

void mergeBounds(CroppingBounds* unionP, const CroppingBounds& frame, bool* firstP) {
    if (*firstP) {
        *unionP = frame;
        *firstP = false;
        return;
    }
    unionP->top = smaller(unionP->top, frame.top);
    unionP->left = smaller(unionP->left, frame.left);
    unionP->bottom = larger(unionP->bottom, frame.bottom);
    unionP->right = larger(unionP->right, frame.right);
}

// On the right and bottom -1 loses to any real edge anyway.
void mergeMaskBounds(A_FloatRect* unionP, const A_FloatRect& frame) {
    unionP->top = unionP->top == -1 ? frame.top : smaller(unionP->top, frame.top);
    unionP->left = unionP->left == -1 ? frame.left : smaller(unionP->left, frame.left);
    unionP->bottom = larger(unionP->bottom, frame.bottom);
    unionP->right = larger(unionP->right, frame.right);
}

CroppingBounds wholeFrameBounds(const Measurement& m, A_long padding) {
    const A_long h = m.fullResolution || m.hFactor < 1 ? 1 : m.hFactor;
    const A_long v = m.fullResolution || m.vFactor < 1 ? 1 : m.vFactor;
    // The last frame pixel the measurement keeps, in full-resolution pixels.
    const double right = static_cast<double>((m.width - 1) / h) * h;
    const double bottom = static_cast<double>((m.height - 1) / v) * v;
    return CroppingBounds{-static_cast<double>(padding),
                          bottom + padding,
                          -static_cast<double>(padding),
                          right + padding,
                          m.width,
                          m.height};
}

bool covers(const CroppingBounds& u, const CroppingBounds& whole) {
    return u.top <= whole.top && u.left <= whole.left && u.bottom >= whole.bottom &&
           u.right >= whole.right;
}

void clipToMasks(CroppingBounds* b, const A_FloatRect& masks) {
    if (masks.top > b->top) b->top = wholeEdge(masks.top);
    if (b->bottom > masks.bottom) b->bottom = wholeEdge(masks.bottom);
    if (masks.left > b->left) b->left = wholeEdge(masks.left);
    if (b->right > masks.right) b->right = wholeEdge(masks.right);
}

}  // namespace crop
