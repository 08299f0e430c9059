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
