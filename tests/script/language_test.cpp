// Scripts run in the host's language, ECMAScript 3: the later editions' library is gone, a script
// that leans on it fails naming what it used, and one that tests for it first still works.
#include "ScriptFixture.h"

namespace sim::testing {
namespace {

class LanguageTest : public ScriptTest {};

TEST_F(LanguageTest, LaterLibraryCallsFailNamingWhatIsMissing) {
    struct Case {
        const char* script;
        const char* missing;
    } cases[] = {
        {"[1, 2, 3].indexOf(2)", "Array.prototype.indexOf"},
        {"var names = []; names.lastIndexOf('a')", "Array.prototype.lastIndexOf"},
        {"[1].forEach(function (x) {})", "Array.prototype.forEach"},
        {"[1].map(function (x) { return x; })", "Array.prototype.map"},
        {"[1].filter(function (x) { return x; })", "Array.prototype.filter"},
        {"[1].reduce(function (a, b) { return a + b; })", "Array.prototype.reduce"},
        {"[1].some(function (x) { return x; })", "Array.prototype.some"},
        {"Array.isArray([])", "Array.isArray"},
        {"JSON.stringify({a: 1})", "JSON"},
        {"JSON.parse('{}')", "JSON"},
        {"' padded '.trim()", "String.prototype.trim"},
        {"'abc'.startsWith('a')", "String.prototype.startsWith"},
        {"Object.keys({a: 1})", "Object.keys"},
        {"Object.create(null)", "Object.create"},
        {"Object.defineProperty({}, 'x', {value: 1})", "Object.defineProperty"},
        {"(function () {}).bind(null)", "Function.prototype.bind"},
        {"Date.now()", "Date.now"},
        {"new Date(0).toISOString()", "Date.prototype.toISOString"},
        {"Math.trunc(1.5)", "Math.trunc"},
        {"new Uint8Array(4)", "Uint8Array"},
    };
    for (const Case& c : cases) {
        std::string error = fails(c.script);
        EXPECT_NE(error.find(std::string(c.missing) +
                             " is not in the host's scripting language (ECMAScript 3)"),
                  std::string::npos)
            << c.script << " -> " << error;
        EXPECT_NE(error.find("(line 1)"), std::string::npos) << error;
    }
}

TEST_F(LanguageTest, EveryLaterAdditionIsAbsent) {
    EXPECT_EQ(ok("var gone = [typeof JSON, typeof Reflect, typeof Proxy, typeof Symbol,"
                 " typeof Duktape, typeof globalThis, typeof ArrayBuffer, typeof TextEncoder,"
                 " typeof [].indexOf, typeof [].forEach, typeof [].map, typeof [].every,"
                 " typeof [].reduceRight, typeof ''.trim, typeof ''.repeat, typeof ''.includes,"
                 " typeof Object.keys, typeof Object.getPrototypeOf, typeof Object.freeze,"
                 " typeof Function.prototype.bind, typeof Date.now, typeof Number.isInteger,"
                 " typeof Math.sign, typeof String.fromCodePoint];"
                 "var left = 0; for (var i = 0; i < gone.length; i++)"
                 "  if (gone[i] !== 'undefined') left++;"
                 "left"),
              "0");
}

TEST_F(LanguageTest, TheFirstEditionsLibraryStays) {
    EXPECT_EQ(ok("[[3, 1, 2].sort().join('-'), [1, 2, 3].slice(1).concat([4]).length,"
                 " 'a,b'.split(',').length, 'Zentrim'.indexOf('trim'), 'abc'.charAt(1),"
                 " parseFloat('12.5px'), isNaN('x'), Math.max(1, 4), (255).toString(16),"
                 " 'x'.replace(/x/g, 'y'), encodeURIComponent(' '), escape('a b'),"
                 " new Date(0).getTime(), typeof Object.prototype.hasOwnProperty].join('|')"),
              "1-2-3|3|2|3|b|12.5|true|4|ff|y|%20|a%20b|0|function");
}

TEST_F(LanguageTest, ScriptsThatTestBeforeUsingStillWork) {
    // The usual guard of scripts written for the host: supply the method when it is missing.
    EXPECT_EQ(ok("if (!Array.prototype.indexOf) {"
                 "  Array.prototype.indexOf = function (x) {"
                 "    for (var i = 0; i < this.length; i++) if (this[i] === x) return i;"
                 "    return -1;"
                 "  };"
                 "}"
                 "[4, 5, 6].indexOf(6)"),
              "2");
    EXPECT_EQ(ok("typeof JSON === 'undefined' ? 'no JSON' : 'JSON'"), "no JSON");
}

TEST_F(LanguageTest, AScriptsOwnMissingMethodGetsNoHint) {
    std::string error = fails("var list = {}; list.indexOf(1)");
    EXPECT_NE(error.find("not callable"), std::string::npos) << error;
    EXPECT_EQ(error.find("ECMAScript 3"), std::string::npos) << error;
    EXPECT_EQ(fails("throw new Error('keys')"), "Error: keys (line 1)");
}

TEST_F(LanguageTest, TheHostsObjectsStillWorkWithoutTheLaterLibrary) {
    // The prelude's own code runs while scripts do: windows, answers, preferences and the project
    // must not need what was taken away.
    installAnswers(
        R"({"dialogs": [{"title": "T", "actions": [{"check": "B"}, {"click": "OK"}]}]})");
    EXPECT_EQ(ok("var w = new Window('dialog', 'T'); var g = w.add('group');"
                 "var b = g.add('checkbox', undefined, 'B'); g.add('button', undefined, 'OK');"
                 "var gone = w.add('statictext', undefined, 'x'); w.remove(gone);"
                 "app.preferences.savePrefAsLong('S', 'K', 3);"
                 "w.show() + ',' + b.value + ',' + app.preferences.getPrefAsLong('S', 'K') + ','"
                 " + (app.project.activeItem === null)"),
              "1,true,3,true");
}

}  // namespace
}  // namespace sim::testing
