// Pixel comparison of rendered frames, with a diff picture on failure.
#include "SimFixture.h"

#include "FaultRules.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "Png.h"
#include "World.h"

namespace simtest {

sim::HostModel hostModelOfTheRun() {
    static const sim::HostModel model = [] {
        sim::HostModel m;
        const char* text = std::getenv("ZENTRIM_HOST_MODEL");
        std::string rest = text ? text : "";
        while (!rest.empty()) {
            size_t comma = rest.find(',');
            std::string setting = rest.substr(0, comma);
            rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
            std::string error;
            if (!sim::setHostModel(m, setting, &error)) {
                std::fprintf(stderr, "ZENTRIM_HOST_MODEL: %s\n", error.c_str());
                std::exit(2);
            }
        }
        return m;
    }();
    return model;
}

::testing::AssertionResult samePixels(const sim::World& expected, const sim::World& actual, int dx,
                                      int dy, const std::string& name) {
    if (expected.type != actual.type) return ::testing::AssertionFailure() << "depths differ";
    size_t bytes = sim::bytesPerPixel(actual.type);
    int differing = 0;
    std::ostringstream first;
    std::vector<uint8_t> diff(static_cast<size_t>(actual.width) * actual.height * 4, 0);
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            int ex = x + dx, ey = y + dy;
            const uint8_t* a = sim::pixelAddress(actual, x, y);
            static const uint8_t kTransparent[16] = {};
            const uint8_t* e = (ex >= 0 && ey >= 0 && ex < expected.width && ey < expected.height)
                                   ? sim::pixelAddress(expected, ex, ey)
                                   : kTransparent;
            bool same = std::memcmp(a, e, bytes) == 0;
            uint8_t* d = &diff[(static_cast<size_t>(y) * actual.width + x) * 4];
            d[0] = same ? 0 : 255;
            d[3] = 255;
            if (!same && differing++ == 0) {
                sim::PixelF pa = sim::readPixel(actual, x, y);
                first << "first at (" << x << ", " << y << "): alpha " << pa.alpha
                      << ", expected alpha "
                      << (e == kTransparent ? 0.0f : sim::readPixel(expected, ex, ey).alpha);
            }
        }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    std::string path = std::string(ZENTRIM_BINARY_DIR) + "/" + name + ".png";
    try {
        sim::writePng(path, actual.width, actual.height, diff.data());
    } catch (...) {
    }
    return ::testing::AssertionFailure()
           << differing << " pixels differ; " << first.str() << "; diff in " << path;
}

}  // namespace simtest

namespace simtest {

int faultSweep(const std::function<void(Sim&)>& prepare, const std::function<A_Err(Sim&)>& run,
               A_Err error) {
    int calls = 0;
    {
        Sim clean;
        prepare(clean);
        clean.host.log().clear();
        EXPECT_EQ(run(clean), A_Err_NONE) << "the clean run must succeed";
        calls = static_cast<int>(clean.host.log().calls().size());
    }
    for (int n = 0; n < calls; ++n) {
        Sim sim;
        prepare(sim);
        sim::Project before = sim.host.project();
        sim.host.log().clear();
        sim.host.log().faults.failAt = n;
        sim.host.log().faults.error = error;
        sim.host.startUndoGroup("sweep");
        A_Err result = run(sim);
        sim.host.endUndoGroup();

        const sim::CallRecord& failed = sim.host.log().calls().at(n);
        SCOPED_TRACE("failing call " + std::to_string(n) + " " + failed.name + " " + failed.args);
        bool ignoredByDesign = sim::isSuiteRelease(failed.name);
        A_Err expected = sim::isSuiteAcquisition(failed.name) ? 516 : ignoredByDesign ? 0 : error;
        EXPECT_EQ(result, expected);
        for (const sim::CallRecord& c : sim.host.log().calls()) {
            if (c.index <= n || ignoredByDesign) continue;
            if (c.name == "AEGP_EndUndoGroup" && c.args.empty()) continue;
            EXPECT_TRUE(sim::givesBackOrCloses(c.name))
                << "call after the failure: " << c.name << " " << c.args;
        }
        // A release the host itself refused leaves its object behind; anything else must be given
        // back.
        if (!sim::givesBackOrCloses(failed.name)) {
            EXPECT_TRUE(sim.host.handles().leaks().empty()) << sim.host.handles().leaks().front();
            EXPECT_TRUE(sim.host.unbalancedSuites().empty());
        }
        if (!sim.host.undo()) {
            ADD_FAILURE() << "no undo step was made";
            continue;
        }
        EXPECT_EQ(sim::describeDifference(before, sim.host.project()), "");
    }
    return calls;
}

}  // namespace simtest
