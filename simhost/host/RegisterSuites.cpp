// Every suite table the simulator serves.
#include "Suites.h"

namespace sim {

void registerAllSuites(Host& host) {
    registerAppSuites(host);
    registerDataSuites(host);
    registerProjectSuites(host);
    registerLayerSuites(host);
    registerRenderSuites(host);
}

A_Time toATime(Rational t, A_u_long scale) {
    if (scale == 0) throw HostError(A_Err_PARAMETER, "time scale 0");
    A_Time out;
    out.value = static_cast<A_long>(t.inScale(scale));
    out.scale = scale;
    return out;
}

Rational fromATime(const A_Time& t) {
    if (t.scale == 0) throw HostError(A_Err_PARAMETER, "time with scale 0");
    return Rational(t.value, static_cast<int64_t>(t.scale));
}

}  // namespace sim
