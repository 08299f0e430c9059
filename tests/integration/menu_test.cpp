// The menu command as the user sees it: its name follows the keys, and each crop is offered only
// for selections it can crop.
#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::scene;

TEST(Menu, NameFollowsTheKeysAtTheNextIdleCall) {
    Command c(scene(false));
    struct Step {
        const char* keys;
        const char* name;
    } steps[] = {{"none", "Zentrim"},
                 {"shift", "Zentrim Preferences"},
                 {"cmd", "Zentrim Duration"},
                 {"shift+cmd", "Mask Crop"},
                 {"none", "Zentrim"}};
    for (const Step& s : steps)
        EXPECT_EQ(c.menu(s.keys).name, s.name) << s.keys;
}

TEST(Menu, PreferencesAreOfferedEvenWithNothingToCrop) {
    Command c(R"({"format": "zentrim-project", "version": 1, "items": []})");
    EXPECT_FALSE(c.menu("none").enabled);
    sim::MenuEntry prefs = c.menu("shift");
    EXPECT_EQ(prefs.name, "Zentrim Preferences");
    EXPECT_TRUE(prefs.enabled);
}

// Which crops each selection allows: standard (no key), duration (Command), mask (Shift+Command).
TEST(Menu, AvailabilityFollowsTheSelection) {
    const std::string masked = R"({"name": "Masked Use", "source": "P", "selected": true,
        "masks": [{"name": "M", "selected": false, "path": {"vertices": [[0, 0], [10, 0], [10, 10]],
                   "inTangents": [[0, 0], [0, 0], [0, 0]], "outTangents": [[0, 0], [0, 0], [0, 0]]}}]},)";
    const std::string maskSelected = R"({"name": "Masked Use", "source": "P", "selected": true,
        "masks": [{"name": "M", "selected": true, "path": {"vertices": [[0, 0], [10, 0], [10, 10]],
                   "inTangents": [[0, 0], [0, 0], [0, 0]], "outTangents": [[0, 0], [0, 0], [0, 0]]}}]},)";
    struct Case {
        const char* what;
        std::string project;
        bool standard, duration, mask;
        const char* durationName;
    } cases[] = {
        {"composition with layers, nothing selected", scene(false), true, true, false,
         "Zentrim Duration"},
        {"one precomposition layer without masks", scene(true), true, true, false,
         "Zentrim Duration"},
        {"only a solid layer selected",
         scene(false, R"({"name": "Solid", "source": "Red", "selected": true},)"), false, false,
         false, "Zentrim Duration"},
        {"one precomposition layer with a mask", scene(false, masked), true, true, true,
         "Zentrim Duration"},
        {"two precomposition layers",
         scene(true, R"({"name": "Second", "source": "P", "selected": true},)"), true, false, false,
         "Multiple layers not allowed"},
        {"a precomposition layer and one of its masks", scene(false, maskSelected), true, false,
         true, "Multiple layers not allowed"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Command c(k.project);
        EXPECT_EQ(c.menu("none").enabled, k.standard);
        sim::MenuEntry duration = c.menu("cmd");
        EXPECT_EQ(duration.enabled, k.duration);
        EXPECT_EQ(duration.name, k.durationName);
        EXPECT_EQ(c.menu("shift+cmd").enabled, k.mask);
        EXPECT_TRUE(c.host().handles().leaks().empty());
    }
}

TEST(Menu, OtherCommandsAreLeftToTheHost) {
    Command c(scene(true));
    c.menu("none");
    const sim::MenuEntry* ours = c.session->command();
    ASSERT_NE(ours, nullptr);
    EXPECT_EQ(c.host().doCommand(ours->command + 100), A_Err_NONE);
    EXPECT_TRUE(c.host().events().resizes.empty());
    EXPECT_TRUE(c.host().undoSteps().empty());
}

TEST(Menu, NoActiveItemOffersTheStandardCropForSelectedCompositions) {
    std::string project = scene(false);
    project.replace(project.find(R"("activeItem": "Main")"), 20,
                    R"("activeItem": null, "selectedItems": ["P"])");
    Command c(project);
    EXPECT_TRUE(c.menu("none").enabled);
    EXPECT_FALSE(c.menu("cmd").enabled);
}

}  // namespace
