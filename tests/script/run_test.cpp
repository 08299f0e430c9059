// Running scripts: their values, their errors, globals kept between runs, alerts and the console.
#include "ScriptFixture.h"

namespace sim::testing {
namespace {

class RunTest : public ScriptTest {};

TEST_F(RunTest, LastValueComesBackAsText) {
    EXPECT_EQ(ok("true"), "true");
    EXPECT_EQ(ok("1 > 2"), "false");
    EXPECT_EQ(ok("1 + 1"), "2");
    EXPECT_EQ(ok("0.1 + 0.2"), "0.30000000000000004");
    EXPECT_EQ(ok("1e21"), "1e+21");
    EXPECT_EQ(ok("'x'"), "x");
    EXPECT_EQ(ok("undefined"), "");
    EXPECT_EQ(ok("null"), "");
    EXPECT_EQ(ok("var unused = 3;"), "");
    EXPECT_EQ(ok("if (true) { 'inner'; }"), "inner");
    EXPECT_EQ(ok("[1, 2]"), "1,2");
}

TEST_F(RunTest, UnicodeTextPassesThroughAsUtf8) {
    EXPECT_EQ(ok("'\xC3\xA9t\xC3\xA9'"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(ok("'\\u00e9'.length"), "1");
}

TEST_F(RunTest, ThrownErrorsFailWithMessageAndLine) {
    EXPECT_EQ(fails("var a = 1;\n\nthrow new Error('boom');"), "Error: boom (line 3)");
    EXPECT_EQ(fails("function f() { return null.x; }\nf();"),
              "TypeError: cannot read property 'x' of null (line 1)");
    EXPECT_EQ(fails("throw 'plain';"), "plain");
    EXPECT_EQ(fails("undefinedName + 1"),
              "ReferenceError: identifier 'undefinedName' undefined (line 1)");
}

// AEGP_ExecuteScript with both handles: a script that throws is an error with its text in the
// error handle; in the host that answers such a script with success, the result is empty and the
// text is only in the error handle. A script that runs gives its value and no error text.
TEST_F(RunTest, ExecuteScriptAnswersAThrowingScriptAsTheHostModelSays) {
    const void* p = nullptr;
    ASSERT_EQ(host.basicSuite()->AcquireSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, &p),
              A_Err_NONE);
    auto* utility = static_cast<const AEGP_UtilitySuite5*>(p);
    ASSERT_EQ(host.basicSuite()->AcquireSuite(kAEGPMemorySuite, kAEGPMemorySuiteVersion1, &p),
              A_Err_NONE);
    auto* memory = static_cast<const AEGP_MemorySuite1*>(p);
    auto text = [&](AEGP_MemHandle h) -> std::string {
        if (!h) return "(none)";
        void* bytes = nullptr;
        EXPECT_EQ(memory->AEGP_LockMemHandle(h, &bytes), A_Err_NONE);
        std::string out = static_cast<const char*>(bytes);
        EXPECT_EQ(memory->AEGP_UnlockMemHandle(h), A_Err_NONE);
        EXPECT_EQ(memory->AEGP_FreeMemHandle(h), A_Err_NONE);
        return out;
    };
    struct Case {
        HostModel::ScriptError model;
        const char* script;
        A_Err err;
        const char *result, *error;
    } cases[] = {
        {HostModel::ScriptError::Error, "throw new Error('boom');", A_Err_GENERIC, "(none)",
         "Error: boom (line 1)"},
        {HostModel::ScriptError::Silent, "throw new Error('boom');", A_Err_NONE, "",
         "Error: boom (line 1)"},
        {HostModel::ScriptError::Error, "1 + 1", A_Err_NONE, "2", "(none)"},
        {HostModel::ScriptError::Silent, "1 + 1", A_Err_NONE, "2", "(none)"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(
            std::string(k.model == HostModel::ScriptError::Silent ? "silent: " : "error: ") +
            k.script);
        host.model().scriptError = k.model;
        AEGP_MemHandle result = nullptr, error = nullptr;
        EXPECT_EQ(utility->AEGP_ExecuteScript(1, k.script, false, &result, &error), k.err);
        EXPECT_EQ(text(result), k.result);
        EXPECT_EQ(text(error), k.error);
    }
    EXPECT_TRUE(host.handles().leaks().empty());
}

TEST_F(RunTest, SyntaxErrorsFailWithTheirLine) {
    std::string error = fails("var ok = 1;\nvar s = 'unterminated;");
    EXPECT_NE(error.find("SyntaxError"), std::string::npos) << error;
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST_F(RunTest, ErrorsInsideTheEnvironmentNameTheScriptsLine) {
    EXPECT_EQ(fails("\napp.preferences.getPrefAsLong('Nowhere', 'Nothing');"),
              "Error: preference \"Nothing\" not found in section \"Nowhere\" (line 2)");
}

TEST_F(RunTest, GlobalsAndFunctionsStayForLaterScripts) {
    ok("var counter = 41; function next() { return ++counter; }");
    EXPECT_EQ(ok("next()"), "42");
    EXPECT_EQ(ok("counter"), "42");
    EXPECT_FALSE(host.platform().scriptRunner("throw new Error('x')").ok);
    EXPECT_EQ(ok("next()"), "43");  // a failed script leaves the heap usable
}

TEST_F(RunTest, AlertsAreRecordedWithTitleAndIcon) {
    EXPECT_EQ(ok("alert('Nothing to crop', 'Zentrim', true); alert(12); 'after'"), "after");
    ASSERT_EQ(host.events().alerts.size(), 2u);
    EXPECT_EQ(host.events().alerts[0].text, "Nothing to crop");
    EXPECT_EQ(host.events().alerts[0].title, "Zentrim");
    EXPECT_TRUE(host.events().alerts[0].errorIcon);
    EXPECT_EQ(host.events().alerts[1].text, "12");
    EXPECT_EQ(host.events().alerts[1].title, "");
    EXPECT_FALSE(host.events().alerts[1].errorIcon);
}

TEST_F(RunTest, ConsoleLinesAndSleep) {
    ok("$.writeln('a', 1, true); $.sleep(5000); $.writeln('b')");
    EXPECT_EQ(host.events().console, (std::vector<std::string>{"a1true", "b"}));
}

TEST_F(RunTest, OsFollowsTheFileSystemOption) {
    EXPECT_EQ(ok("$.os"), "Linux");
    ScriptOptions windows;
    windows.fs = "Windows";
    install({}, windows);
    EXPECT_EQ(ok("$.os.indexOf('Windows') === 0"), "true");
}

TEST_F(RunTest, UnknownFileSystemIsRefused) {
    ScriptOptions bad;
    bad.fs = "Amiga";
    EXPECT_THROW(install({}, bad), std::invalid_argument);
}

TEST_F(RunTest, ReinstallingStartsAFreshHeap) {
    ok("var kept = 1;");
    install();
    EXPECT_EQ(ok("typeof kept"), "undefined");
}

}  // namespace
}  // namespace sim::testing
