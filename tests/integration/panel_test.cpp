// Requests from the companion panel: two preference keys the idle hook picks up once.
#include "CommandFixture.h"
#include "Scenes.h"

namespace {

using simtest::Command;
using simtest::expectClean;
using simtest::scene;

std::string withActive(std::string project, const std::string& name) {
    project.replace(project.find(R"("activeItem": "Main")"), 20, R"("activeItem": )" + name);
    return project;
}

TEST(Panel, StandardCropRequestRunsOnceAndTheKeysAreGone) {
    Command c(scene(false));
    sim::SessionReport r = c.panel(1);
    ASSERT_EQ(r.result, A_Err_NONE);
    ASSERT_EQ(r.resized.size(), 1u);
    EXPECT_EQ(r.resized[0].name, "Main");
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "Panel_Run"));
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "Menu_Cmd"));
    EXPECT_EQ(c.host().idle(), A_Err_NONE);
    EXPECT_EQ(c.host().events().resizes.size(), 1u) << "the request runs once";
    expectClean(r);
}

TEST(Panel, RequestsTheSelectionDoesNotAllowGetInvalidSelection) {
    struct Case {
        const char* what;
        int request;
    } cases[] = {{"mask crop without a precomposition layer", 3}, {"an unknown action", 7}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Command c(scene(false));
        sim::SessionReport r = c.panel(k.request);
        EXPECT_EQ(r.result, A_Err_NONE);
        ASSERT_EQ(r.alerts.size(), 1u);
        EXPECT_EQ(r.alerts[0].title, "Invalid Selection");
        EXPECT_TRUE(r.resized.empty());
        EXPECT_FALSE(c.session->command()->enabled) << "disabled until the next menu update";
        expectClean(r);
    }
}

TEST(Panel, PreferencesRequestOpensTheDialogWithNothingOpen) {
    Command c(
        withActive(scene(false), "null"),
        R"({"dialogs": [{"title": "Zentrim Preferences", "actions": [{"click": "Cancel"}]}]})");
    sim::SessionReport r = c.panel(4);
    EXPECT_EQ(r.result, A_Err_NONE);
    EXPECT_EQ(r.dialogs, std::vector<std::string>{"Zentrim Preferences"});
    expectClean(r);
}

// Picking up a request sets the mode and names the command after it, so that keys held at that
// moment never leave a menu that reads one action and runs another.
TEST(Panel, TheRequestNamesTheCommandAfterItsAction) {
    struct Case {
        int request;
        bool shift, command;  // held while the request is picked up
        const char* name;
    } cases[] = {{1, true, false, "Zentrim"},
                 {2, true, false, "Zentrim Duration"},
                 {3, false, true, "Mask Crop"},
                 {4, false, true, "Zentrim Preferences"}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        std::string project = scene(true);
        const std::string use = R"("position": [400, 300, 0], "selected": true)";
        project.replace(project.find(use), use.size(), use + R"(, "masks": [{"name": "Window",
            "path": {"vertices": [[100, 90], [200, 90], [200, 150], [100, 150]],
                     "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
                     "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}}])");
        Command c(project, R"({"dialogs": [{"title": "Zentrim Preferences",
                                           "actions": [{"click": "Cancel"}]}]})");
        c.menu("none");
        const long command = static_cast<long>(c.session->command()->command);
        c.host().platform().shiftDown = k.shift;
        c.host().platform().commandDown = k.command;
        EXPECT_EQ(c.host().idle(), A_Err_NONE);
        c.host().prefs().set("Zentrim", "Panel_Run", static_cast<long>(k.request));
        c.host().prefs().set("Zentrim", "Menu_Cmd", command);
        EXPECT_EQ(c.host().idle(), A_Err_NONE);
        EXPECT_EQ(c.session->command()->name, k.name);
    }
}

TEST(Panel, RequestWithoutCommandNumberIsDroppedWithAnAlert) {
    Command c(scene(true));
    c.host().prefs().set("Zentrim", "Panel_Run", 2L);
    A_Err err = c.host().idle();
    EXPECT_EQ(err, A_Err_NONE);
    ASSERT_EQ(c.host().events().alerts.size(), 1u);
    EXPECT_EQ(c.host().events().alerts[0].title, "Could Not Run Zentrim From Panel");
    EXPECT_TRUE(c.host().events().alerts[0].errorIcon);
    EXPECT_FALSE(c.host().prefs().has("Zentrim", "Panel_Run"));
    EXPECT_EQ(c.host().idle(), A_Err_NONE);
    EXPECT_EQ(c.host().events().alerts.size(), 1u) << "the next idle call does nothing more";
    EXPECT_TRUE(c.host().events().resizes.empty());
}

TEST(Panel, AnotherCommandNumberRunsThatCommandNotOurs) {
    Command c(scene(true));
    c.menu("none");
    c.host().prefs().set("Zentrim", "Panel_Run", 1L);
    c.host().prefs().set("Zentrim", "Menu_Cmd",
                         static_cast<long>(c.session->command()->command + 1));
    EXPECT_EQ(c.host().idle(), A_Err_NONE);
    EXPECT_TRUE(c.host().events().resizes.empty());
    EXPECT_TRUE(c.host().undoSteps().empty());
}

}  // namespace
