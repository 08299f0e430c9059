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
