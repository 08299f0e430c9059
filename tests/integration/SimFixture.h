// Test support: a simulated host with a project from JSON text, the plug-in module loaded into it,
// and pixel comparison of rendered frames.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Host.h"
#include "PluginModule.h"
#include "ProjectFile.h"
#include "Renderer.h"

namespace simtest {

// What the host does where its documentation is silent, for every host of this test run: the
// defaults, or what ZENTRIM_HOST_MODEL chooses ("KEY=VALUE", several separated by commas), so that
// CTest can run the tests that prove nothing moves once more under each alternative. A bad setting
// ends the run.
sim::HostModel hostModelOfTheRun();

// Text of a project (image paths relative to examples/) as the fixtures load it.
inline sim::Project parseTestProject(const std::string& json) {
    return sim::parseProject(json, "test.json", std::string(ZENTRIM_SOURCE_DIR) + "/examples");
}

// The base of the fixtures: items and layers of their host's project by name, and its frames.
struct ProjectFixture {
    virtual ~ProjectFixture() = default;
    virtual sim::Project& project() = 0;

    sim::Item& item(const std::string& name) {
        sim::Item* it = project().findItemByName(name);
        if (!it) throw std::runtime_error("no item " + name);
        return *it;
    }
    sim::Layer& layer(const std::string& comp, const std::string& name) {
        for (sim::Layer& l : item(comp).comp.layers)
            if (l.name == name) return l;
        throw std::runtime_error("no layer " + name + " in " + comp);
    }
    sim::World render(const std::string& comp, sim::Rational time = sim::Rational(0)) {
        return sim::renderComp(project(), item(comp).id, time, 1, 1);
    }
};

struct Sim : ProjectFixture {
    sim::Host host;
    std::unique_ptr<sim::PluginModule> module;

    Sim() { host.model() = hostModelOfTheRun(); }
    sim::Project& project() override { return host.project(); }

    // Loads a project from JSON text (image paths relative to examples/).
    void load(const std::string& json) { host.project() = parseTestProject(json); }
    // Loads a private copy of the built module and calls its entry point.
    A_Err start() {
        module = std::make_unique<sim::PluginModule>(sim::PluginModule::defaultPath(), true);
        return module->start(host);
    }

    AEGP_ItemH itemH(const std::string& name) { return host.itemHandle(item(name).id); }
    // A suite as the plug-in gets it (the test releases it with release()).
    template <typename Suite>
    Suite* suite(const char* name, int version) {
        const void* table = nullptr;
        EXPECT_EQ(host.basicSuite()->AcquireSuite(name, version, &table), 0) << name;
        return static_cast<Suite*>(const_cast<void*>(table));
    }
    void release(const char* name, int version) { host.basicSuite()->ReleaseSuite(name, version); }
};

// Pixels of `actual` against `expected` at an offset: actual(x, y) == expected(x + dx, y + dy)
// for every pixel of `actual`, colour and alpha at the world's depth. On failure the number of
// differing pixels and the first one are reported, and a diff picture is written to the build
// tree.
::testing::AssertionResult samePixels(const sim::World& expected, const sim::World& actual,
                                      int dx = 0, int dy = 0, const std::string& name = "diff");

}  // namespace simtest
