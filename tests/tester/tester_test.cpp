// The simulator catches a plug-in that breaks the protocol: an undo group left open, a host handle
// kept, a suite never released. Each is reported by the session the way a real run's would be.
#include <gtest/gtest.h>

#include <string>

#include "Session.h"

namespace {

struct Broken {
    sim::Session session{sim::Project(), ZENTRIM_BROKEN_MODULE, true};

    AEGP_Command command(const std::string& name) {
        for (const sim::MenuEntry& e : session.host.menus().entries[AEGP_Menu_LAYER])
            if (e.name == name) return e.command;
        ADD_FAILURE() << "no command " << name;
        return 0;
    }
};

bool mentions(const std::vector<std::string>& lines, const std::string& what) {
    for (const std::string& l : lines)
        if (l.find(what) != std::string::npos) return true;
    return false;
}

TEST(TestTheTester, TheBrokenPluginLoadsCleanly) {
    Broken b;
    ASSERT_EQ(b.session.startResult, A_Err_NONE);
    EXPECT_EQ(b.session.host.undoDepth(), 0);
    EXPECT_TRUE(b.session.host.handles().leaks().empty());
    EXPECT_TRUE(b.session.host.unbalancedSuites().empty());
}

TEST(TestTheTester, AnUndoGroupLeftOpenIsReported) {
    Broken b;
    EXPECT_EQ(b.session.host.doCommand(b.command("Leave an Undo Group Open")), A_Err_NONE);
    EXPECT_EQ(b.session.host.undoDepth(), 1);
    EXPECT_TRUE(b.session.host.handles().leaks().empty());
    EXPECT_TRUE(b.session.host.unbalancedSuites().empty());
}

TEST(TestTheTester, AKeptHandleIsReportedAsALeak) {
    Broken b;
    EXPECT_EQ(b.session.host.doCommand(b.command("Keep a Handle")), A_Err_NONE);
    std::vector<std::string> leaks = b.session.host.handles().leaks();
    ASSERT_EQ(leaks.size(), 1u);
    EXPECT_NE(leaks[0].find("kept by the broken plug-in"), std::string::npos) << leaks[0];
    EXPECT_EQ(b.session.host.undoDepth(), 0);
    EXPECT_TRUE(b.session.host.unbalancedSuites().empty());
}

TEST(TestTheTester, ASuiteNeverReleasedIsReported) {
    Broken b;
    EXPECT_EQ(b.session.host.doCommand(b.command("Keep a Suite")), A_Err_NONE);
    std::vector<std::string> unbalanced = b.session.host.unbalancedSuites();
    ASSERT_EQ(unbalanced.size(), 1u);
    EXPECT_EQ(unbalanced[0], "AEGP Item Suite/13: acquired 1, released 0");
}

// The session's report, which zentrim-host prints, names the suite: the last Layer entry is the
// one the user chooses.
TEST(TestTheTester, TheSessionReportNamesWhatWasNotGivenBack) {
    Broken b;
    sim::SessionReport r = b.session.play(sim::SessionOptions());
    ASSERT_TRUE(r.chosen);
    EXPECT_EQ(r.menuName, "Keep a Suite");
    EXPECT_TRUE(mentions(r.problems, "suite AEGP Item Suite/13: acquired 1, released 0"));
}

}  // namespace
