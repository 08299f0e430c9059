// Small arithmetic the crops share: edges rounded down to whole pixels, and times compared and
// added as rationals.
#include <algorithm>
#include <cmath>
#include <limits>

#include "cropUtil.h"

namespace cropUtil {

int32_t FloorToInt32(double v) {
    if (std::isnan(v)) return 0;
    double f = std::floor(v);
    if (f <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (f >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(f);
}

int CompareTimes(const A_Time& a, const A_Time& b) {
    long long l = static_cast<long long>(a.value) * static_cast<long long>(b.scale);
    long long r = static_cast<long long>(b.value) * static_cast<long long>(a.scale);
    return l < r ? -1 : (l > r ? 1 : 0);
}

A_Time AddTimes(const A_Time& a, const A_Time& b) {
    long long value = 0, scale = 0;
    if (a.scale == b.scale) {
        value = static_cast<long long>(a.value) + b.value;
        scale = a.scale;
    } else {
        value =
            static_cast<long long>(a.value) * b.scale + static_cast<long long>(b.value) * a.scale;
        scale = static_cast<long long>(a.scale) * b.scale;
    }
    while ((value > 0x7fffffffLL || value < -0x7fffffffLL || scale > 0xffffffffLL) && scale > 1) {
        value /= 2;
        scale /= 2;
    }
    // A whole-second sum beyond the value's range stays the largest time there is, not a wrap.
    if (value > 0x7fffffffLL) value = 0x7fffffffLL;
    if (value < -0x7fffffffLL) value = -0x7fffffffLL;
    return A_Time{static_cast<A_long>(value), static_cast<A_u_long>(scale ? scale : 1)};
}

A_Time SecondsToTime(double seconds, const A_Time& frame) {
    // A scale of at least a thousand steps per frame; a frame that says nothing gets milliseconds.
    long long scale = 1000;
    if (frame.value > 0 && frame.scale > 0)
        scale = (1000LL * frame.scale + frame.value - 1) / frame.value;
    if (!std::isfinite(seconds)) seconds = 0;
    const double limit = 2147483647.0;
    scale = std::min(scale, 0x7fffffffLL);
    while (scale > 1 && std::fabs(std::nearbyint(seconds * static_cast<double>(scale))) > limit)
        scale /= 2;
    double value = std::nearbyint(seconds * static_cast<double>(scale));
    value = std::max(-limit, std::min(limit, value));  // beyond the range even in whole seconds
    return A_Time{static_cast<A_long>(value), static_cast<A_u_long>(scale)};
}

}  // namespace cropUtil
