// Uses of a cropped composition, and the layers parented to them, stay exactly where they were:
// odd sizes, anchors at half pixels, scaled uses, curved masks, children with keyframes, all three
// crop commands, and every alternative of what the host does to uses when a composition is
// resized. Proven by rendering the composition that shows the cropped one before and after.
#include <functional>
#include <sstream>

#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::expectClean;
using simtest::samePixels;

// P (W x H) shows a red box at x 120..179, y 100..139 and, for `wide`, a second one at
// x 224..283, so that it crops to 164 x 40 from (120, 100). "Use" in Main takes `useExtra`;
// `children` are Main layers placed before the backdrop (index 0 is Use).
std::string project(int width, int height, const std::string& useExtra,
                    const std::string& children = "", bool wide = false) {
    std::string text = simtest::scene(true, children);
    const std::string size = R"("width": 400, "height": 300)";
    text.replace(
        text.find(size), size.size(),
        R"("width": )" + std::to_string(width) + R"(, "height": )" + std::to_string(height));
    const std::string box = R"({"name": "Box", "source": "Red", "position": [150, 120, 0]})";
    if (wide)
        text.replace(text.find(box), box.size(),
                     box + R"(, {"name": "Far", "source": "Red", "position": [254, 120, 0]})");
    // A position given in `useExtra` replaces Use's own.
    const std::string use = R"("position": [400, 300, 0], "selected": true)";
    const bool placed = useExtra.find(R"("position")") != std::string::npos;
    text.replace(text.find(use), use.size(),
                 (placed ? std::string(R"("selected": true)") : use) + useExtra);
    return text;
}

std::string path(std::initializer_list<std::array<double, 6>> vertices) {
    std::ostringstream v, in, out;
    const char* sep = "";
    for (const auto& p : vertices) {
        v << sep << "[" << p[0] << ", " << p[1] << "]";
        in << sep << "[" << p[2] << ", " << p[3] << "]";
        out << sep << "[" << p[4] << ", " << p[5] << "]";
        sep = ", ";
    }
    return R"({"vertices": [)" + v.str() + R"(], "inTangents": [)" + in.str() +
           R"(], "outTangents": [)" + out.str() + "]}";
}

// A closed curved window over the box whose first in-tangent and last out-tangent differ, so that
// a host that couples them shows any slip.
const std::string kCurvedMask = R"(, "masks": [{"name": "Lens", "path": )" +
                                path({{125, 120, 0, 10, 0, -8},
                                      {150, 103, -10, 0, 10, 0},
                                      {175, 120, 0, -8, 0, 8},
                                      {150, 137, 10, 0, -12, 0}}) +
                                "}]";

// Layers parented to Use: a static label, one with keyframed position, and a child of that one.
const std::string kChildren =
    R"({"name": "Label", "source": "Red", "parent": 0, "position": [185, 95, 0], "scale": [20, 20, 100]},
       {"name": "Moving", "source": "Red", "parent": 0, "scale": [10, 10, 100],
        "position": {"keyframes": [{"time": 0, "value": [110, 150, 0], "out": "bezier"},
                                   {"time": 1, "value": [200, 160, 0], "in": "bezier", "out": "hold"},
                                   {"time": 1.5, "value": [210, 90, 0]}]}},
       {"name": "Grandchild", "source": "Red", "parent": 2, "position": [40, 10, 0], "scale": [50, 50, 100]},)";

const std::string kAroundTheBox = R"(, "masks": [{"name": "Around", "path": )" +
                                  path({{100, 80, 0, 0, 0, 0},
                                        {200, 80, 0, 0, 0, 0},
                                        {200, 160, 0, 0, 0, 0},
                                        {100, 160, 0, 0, 0, 0}}) +
                                  "}]";

TEST(UsesStayPut, EveryUseAndItsChildrenShowTheSamePixels) {
    using Model = sim::HostModel;
    struct Case {
        const char* what;
        std::string project;
        std::string keys = "none";
        std::function<void(Command&)> setUp = nullptr;
    } cases[] = {
        {"odd width and height, centred anchor", project(401, 301, "")},
        {"odd height", project(400, 301, "")},
        {"anchor at half pixels", project(401, 301, R"(, "anchorPoint": [100.5, 80.5, 0])")},
        {"an anchor whose ratio does not come back exactly, scaled 150 %",
         project(
             400, 300,
             R"(, "anchorPoint": [220, 120, 0], "scale": [150, 150, 100], "position": [400.5, 300.5, 0])",
             "", true)},
        {"the expand pass makes every size odd",
         project(400, 300, R"(, "anchorPoint": [100.5, 80.5, 0])"), "none",
         [](Command& c) {
             c.host().prefs().set("Zentrim", "Expand", true);
             c.host().prefs().set("Zentrim", "ExpandAmount", 7L);
         }},
        {"children, standard crop", project(400, 300, "", kChildren)},
        {"children, crop over the duration", project(400, 300, "", kChildren), "cmd"},
        {"children, mask crop", project(400, 300, kAroundTheBox, kChildren), "shift+cmd"},
        {"a 3D use with children",
         project(400, 300, R"(, "threeD": true, "anchorPoint": [200, 150, 40])", kChildren)},
        {"a curved mask, vertex 0 coupled", project(400, 300, kCurvedMask), "none",
         [](Command& c) { c.host().model().vertex0 = Model::Vertex0::Coupled; }},
        {"children, resized with their use", project(400, 300, "", kChildren), "none",
         [](Command& c) { c.host().model().resizeChildren = Model::ResizeChildren::Proportional; }},
        {"a half-resolution source rendered at full resolution from the start",
         project(401, 301, "", kChildren), "none",
         [](Command& c) {
             c.edit([](sim::Project& p) {
                 p.findItemByName("P")->comp.resolutionH = 2;
                 p.findItemByName("P")->comp.resolutionV = 2;
             });
             c.host().model().renderDownsample = Model::RenderDownsample::Full;
         }},
        {"uses left alone by the resize", project(401, 301, kCurvedMask, kChildren), "none",
         [](Command& c) { c.host().model().resizeUses = Model::ResizeUses::Unchanged; }},
    };
    const sim::Rational times[] = {sim::Rational(0), sim::Rational(1, 2), sim::Rational(6, 5)};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Command c(k.project);
        if (k.setUp) k.setUp(c);
        std::vector<sim::World> before;
        for (sim::Rational t : times)
            before.push_back(c.render("Main", t));
        sim::SessionReport r = c.run(k.keys);
        ASSERT_EQ(r.result, A_Err_NONE);
        ASSERT_FALSE(r.resized.empty());
        EXPECT_EQ(r.resized.back().name, "P");
        for (size_t i = 0; i < before.size(); ++i)
            EXPECT_TRUE(samePixels(before[i], c.render("Main", times[i]), 0, 0, "uses_stay_put"))
                << "at " << times[i].toString() << " s";
        expectClean(r);
    }
}

}  // namespace
