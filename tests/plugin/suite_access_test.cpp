// Suite acquisition and release, and running scripts whose answers are read back.
#include <gtest/gtest.h>

#include "AEGP_SuiteHandler.h"
#include "FakeHost.h"
#include "cropUtil.h"

namespace {

TEST(SuiteHandler, AcquiresOnFirstUseAndReleasesEachSuiteOnce) {
    FakeHost host;
    {
        AEGP_SuiteHandler suites(host.basic());
        EXPECT_TRUE(host.acquired.empty()) << "nothing is acquired before it is used";
        AEGP_WorldSuite3* a = suites.WorldSuite3();
        AEGP_WorldSuite3* b = suites.WorldSuite3();
        EXPECT_EQ(a, b);
        suites.UtilitySuite5();
        EXPECT_EQ(host.acquired[kAEGPWorldSuite], 1);
        EXPECT_TRUE(host.released.empty());
    }
    EXPECT_EQ(host.released[kAEGPWorldSuite], 1);
    EXPECT_EQ(host.released[kAEGPUtilitySuite], 1);
}

TEST(SuiteHandler, MissingSuiteThrows516) {
    FakeHost host;
    host.missingSuite = kAEGPWorldSuite;
    AEGP_SuiteHandler suites(host.basic());
    try {
        suites.WorldSuite3();
        FAIL() << "expected the missing-suite error";
    } catch (A_Err e) {
        EXPECT_EQ(e, 516);
    }
    // A suite the host does not serve at all behaves the same.
    EXPECT_THROW(suites.CompSuite9(), A_Err);
    try {
        AEGP_SuiteHandler none(nullptr);
        FAIL() << "a null basic suite must be refused";
    } catch (A_Err e) {
        EXPECT_EQ(e, 516);
    }
}

TEST(DialogScripts, AnswerIsReadAndTheHandleAlwaysReleased) {
    struct Case {
        const char* result;
        const char* read;
    } cases[] = {{"1", "1"}, {"true", "true"}, {"", ""}, {"a long answer text", "a long "}};
    for (const Case& c : cases) {
        FakeHost host;
        host.scriptResult = c.result;
        char answer[8];
        EXPECT_EQ(cropUtil::RunDialogScript(host.basic(), 7, "dialog()", answer, sizeof answer),
                  A_Err_NONE);
        EXPECT_STREQ(answer, c.read);
        EXPECT_EQ(host.liveMemHandles, 0) << c.result;
    }
}

TEST(DialogScripts, ScriptErrorIsReturnedAndNothingRead) {
    char answer[8] = "stale";
    {
        FakeHost host;
        host.scriptError = 42;
        EXPECT_EQ(cropUtil::RunDialogScript(host.basic(), 7, "dialog()", answer, sizeof answer),
                  42);
        EXPECT_STREQ(answer, "");
        EXPECT_EQ(host.liveMemHandles, 0);
    }
    // A failure while reading the result still frees the handle.
    FakeHost host2;
    host2.scriptResult = "2";
    host2.failCall = "LockMemHandle";
    EXPECT_EQ(cropUtil::RunDialogScript(host2.basic(), 7, "dialog()", answer, sizeof answer),
              A_Err_GENERIC);
    EXPECT_EQ(host2.liveMemHandles, 0);
}

TEST(AlertScripts, RunWithoutResultAndReturnTheScriptError) {
    FakeHost host;
    EXPECT_EQ(cropUtil::RunAlertScript(host.basic(), 7, "alert('x', 'y');"), A_Err_NONE);
    ASSERT_EQ(host.scripts.size(), 1u);
    EXPECT_EQ(host.scripts[0], "alert('x', 'y');");
    EXPECT_EQ(host.liveMemHandles, 0);
    host.scriptError = 9;
    EXPECT_EQ(cropUtil::RunAlertScript(host.basic(), 7, "alert('x');"), 9);
}

}  // namespace
