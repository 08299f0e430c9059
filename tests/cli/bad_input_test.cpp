// zentrim-host against bad input, run as a user runs it, one test per kind of input: every case
// must exit with status 2, print one message on stderr naming the file or option, the field and
// what was expected, print nothing on stdout, and write nothing (no --out, -o, --render or --prefs
// file, not even half of one). What the project reader refuses field by field is pinned by its own
// table (tests/project); here the project cases are those of the file and of the command's path.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "HostProcess.h"
#include "SmallProject.h"

namespace {

namespace fs = std::filesystem;

using simtest::kSmallProject;
using simtest::replaceAll;

const char* const kPrefs = R"({"Zentrim": {"Padding": true, "PaddingAmount": 4}})";

// A project whose one item is given: `item` is the text of items[0].
std::string withItem(const std::string& item) {
    return R"({"format": "zentrim-project", "version": 1, "items": [)" + item + "]}";
}
std::string compWithLayers(const std::string& layers) {
    return withItem(R"({"type": "comp", "name": "A", "width": 10, "height": 10, "frameRate": 30,
        "duration": 1, "layers": [)" +
                    layers + "]}");
}
std::string solidWithWidth(const std::string& width) {
    return withItem(R"({"type": "solid", "name": "S", "width": )" + width +
                    R"(, "height": 10, "color": [1, 0, 0, 1]})");
}

using Files = std::map<std::string, std::string>;

struct Case {
    std::string name;
    std::string args;  // after the program, split at spaces; "@" is the case's folder,
                       // "@noentry" a module without the entry point
    Files files;       // written into the case's folder over the good project and preferences
    std::vector<std::string> expected;  // fragments the message must hold
};

// Outputs every run case asks for, so that a case that wrote anything is caught.
const std::string kOutputs = " --out @/out.json --render @/render";
// How most cases start: a good project and preferences, and every output.
const std::string kRun = "run @/p.json --prefs @/prefs.json" + kOutputs;

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

// Runs every case in a folder of its own and checks the refusal; writes the table of the cases
// (command line and message, the case's folder written as DIR) to cli-bad-input-<kind>.md in the
// build tree.
void expectEachRefused(const std::string& kind, const std::vector<Case>& cases) {
    simtest::TempFolder root("bad-" + kind);
    std::ostringstream table;
    table << "| bad input | command | message on stderr |\n| --- | --- | --- |\n";
    int index = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        fs::path folder = root.path() / ("case" + std::to_string(index++));
        fs::create_directories(folder);
        Files files = {{"p.json", kSmallProject}, {"prefs.json", kPrefs}};
        for (const auto& [name, text] : k.files)
            files[name] = text;
        for (const auto& [name, text] : files)
            simtest::writeFile(folder / name, text);
        auto before = simtest::snapshot(folder);

        std::string line = replaceAll(k.args, "@noentry", ZENTRIM_NO_ENTRY_MODULE);
        simtest::Outcome o =
            simtest::runHost(simtest::substituted(words(line), folder), root.path() / "cap");
        EXPECT_EQ(o.status, 2) << o.err;
        EXPECT_EQ(o.out, "") << "nothing on stdout";
        ASSERT_FALSE(o.err.empty());
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << "one line on stderr: " << o.err;
        EXPECT_EQ(o.err.rfind("zentrim-host: ", 0), 0u) << o.err;
        for (const std::string& fragment : k.expected)
            EXPECT_NE(o.err.find(fragment), std::string::npos)
                << "the message should name \"" << fragment << "\": " << o.err;
        EXPECT_EQ(simtest::snapshot(folder), before) << "a file was written, changed or left";

        std::string message = replaceAll(o.err.substr(0, o.err.find('\n')), folder.string(), "DIR");
        message = replaceAll(message, ZENTRIM_NO_ENTRY_MODULE, "DIR/no-entry-point.so");
        // "run P" stands for the full command line most run cases start with.
        std::string shown = replaceAll(k.args, kRun, "run P");
        table << "| " << k.name << " | `zentrim-host "
              << replaceAll(replaceAll(shown, "@noentry", "DIR/no-entry-point.so"), "@", "DIR")
              << "` | " << replaceAll(message, "|", "\\|") << " |\n";
        fs::remove_all(folder);
    }
    simtest::writeFile(fs::path(ZENTRIM_BINARY_DIR) / ("cli-bad-input-" + kind + ".md"),
                       table.str());
}

TEST(BadInput, CommandLine) {
    const std::string two = R"({"format": "zentrim-project", "version": 1, "items": [
        {"type": "comp", "name": "Shot", "id": "a", "width": 8, "height": 8, "frameRate": 10,
         "duration": 1},
        {"type": "comp", "name": "Shot", "id": "b", "width": 8, "height": 8, "frameRate": 10,
         "duration": 1}]})";
    expectEachRefused(
        "command-line",
        {
            {"no command", "", {}, {"expected a command", "run"}},
            {"unknown command", "frobnicate @/p.json", {}, {"unknown command \"frobnicate\""}},
            {"unknown option", kRun + " --bogus", {}, {"--bogus"}},
            {"project missing from the command line", "run" + kOutputs, {}, {"project"}},
            {"--keys unknown",
             kRun + " --keys alt",
             {},
             {"--keys", "none, cmd (or ctrl), shift", "alt"}},
            {"--keys without a value", kRun + " --keys", {}, {"--keys"}},
            {"--panel not a number", kRun + " --panel two", {}, {"--panel", "whole number", "two"}},
            {"--host-model unknown key",
             kRun + " --host-model vertex1=coupled",
             {},
             {"--host-model", "vertex1", "resize-uses, resize-children, vertex0"}},
            {"--host-model unknown value",
             "panel @/p.json --host-model vertex0=loose" + kOutputs,
             {},
             {"--host-model", "vertex0", "loose", "independent, coupled"}},
            {"--host-model without a value",
             kRun + " --host-model script-error",
             {},
             {"--host-model", "KEY=VALUE", "script-error"}},
            {"render: two compositions of one name",
             "render @/two.json --comp Shot -o @/out.png",
             {{"two.json", two}},
             {"two.json", "--comp", "2 items are named \"Shot\"", "\"a\" and \"b\""}},
            {"render: a time at the end of the duration",
             "render @/p.json --comp Main --time 1 -o @/out.png",
             {},
             {"--time", "below the duration of \"Main\" (1 s)", "got 1"}},
            {"render: a time before 0",
             "render @/p.json --comp Main --time -1/10 -o @/out.png",
             {},
             {"--time", "from 0", "-1/10"}},
            {"render: no such composition",
             "render @/p.json --comp Nope -o @/out.png",
             {},
             {"p.json", "--comp", "Nope"}},
            {"render: not a composition",
             "render @/p.json --comp Red -o @/out.png",
             {},
             {"p.json", "--comp", "Red", "not a composition"}},
            {"render: time not a number",
             "render @/p.json --comp Main --time soon -o @/out.png",
             {},
             {"--time", "soon"}},
            {"menu: --keys unknown", "menu @/p.json --keys alt", {}, {"--keys", "alt"}},
        });
}

TEST(BadInput, Project) {
    auto project = [](const std::string& text) { return Files{{"p.json", text}}; };
    std::string comp = compWithLayers("");
    std::string nanDuration = comp, infiniteRate = comp;
    nanDuration.replace(comp.find("\"duration\": 1"), 13, "\"duration\": \"NaN\"");
    infiniteRate.replace(comp.find("\"frameRate\": 30"), 15, "\"frameRate\": \"Infinity\"");
    expectEachRefused(
        "project",
        {
            {"project file missing",
             "run @/missing.json" + kOutputs,
             {},
             {"missing.json", "cannot open"}},
            {"project is a folder", "run @" + kOutputs, {}, {"expected a project file", "folder"}},
            {"project empty", kRun, project(""), {"p.json", "the file is empty"}},
            {"unknown top-level field",
             kRun,
             project(R"({"format": "zentrim-project", "version": 1, "items": [], "colour": 1})"),
             {"p.json", "colour", "unknown field"}},
            {"unknown layer field",
             kRun,
             project(compWithLayers(R"({"name": "a", "colour": 1})")),
             {"p.json", "items[0].layers[0]", "colour"}},
            {"wrong type: layers not a list",
             kRun,
             project(withItem(R"({"type": "comp", "name": "A", "width": 10, "height": 10,
                 "frameRate": 30, "duration": 1, "layers": 3})")),
             {"p.json", "items[0].layers"}},
            {"wrong type: position not three numbers",
             kRun,
             project(compWithLayers(R"({"name": "a", "kind": "null", "position": [1, "x", 0]})")),
             {"p.json", "items[0].layers[0].position"}},
            {"footage not a picture",
             kRun,
             {{"p.json", withItem(R"({"type": "image", "name": "I", "path": "fake.png"})")},
              {"fake.png", "GIF89a, not a PNG"}},
             {"p.json", "items[0].path", "PNG", "fake.png"}},
            {"size not whole",
             kRun,
             project(solidWithWidth("12.5")),
             {"p.json", "items[0].width", "whole number", "12.5"}},
            {"size as the text NaN",
             kRun,
             project(solidWithWidth("\"NaN\"")),
             {"p.json", "items[0].width", "NaN"}},
            {"duration as the text NaN",
             kRun,
             project(nanDuration),
             {"p.json", "items[0].duration", "time", "NaN"}},
            {"frame rate as the text Infinity",
             kRun,
             project(infiniteRate),
             {"p.json", "items[0].frameRate", "Infinity"}},
            {"menu: bad project", "menu @/p.json", project("[]"), {"p.json"}},
        });
}

TEST(BadInput, Answers) {
    auto answers = [](const std::string& text) { return Files{{"ui.json", text}}; };
    const std::string ui = kRun + " --ui @/ui.json";
    expectEachRefused(
        "answers",
        {
            {"--ui missing", kRun + " --ui @/nothere.json", {}, {"nothere.json", "cannot be read"}},
            {"--ui a folder", kRun + " --ui @", {}, {"expected an answers file", "folder"}},
            {"--ui not JSON", ui, answers("click OK"), {"ui.json", "not valid JSON"}},
            {"--ui number beyond a double",
             ui,
             answers(R"({"dialogs": [1e999]})"),
             {"ui.json", "not valid JSON"}},
            {"--ui dialogs not a list",
             ui,
             answers(R"({"dialogs": 3})"),
             {"ui.json", "dialogs", "array"}},
            {"--ui unknown action",
             ui,
             answers(R"({"dialogs": [{"title": "T", "actions": [{"press": "OK"}]}]})"),
             {"ui.json", "dialogs[0].actions[0]", "press", "check, uncheck"}},
            {"--ui select index negative",
             ui,
             answers(R"({"dialogs": [{"title": "T", "actions": [{"select": [0, -1]}]}]})"),
             {"ui.json", "dialogs[0].actions[0].select", "item number"}},
        });
}

TEST(BadInput, Preferences) {
    auto prefs = [](const std::string& text) { return Files{{"prefs.json", text}}; };
    expectEachRefused(
        "preferences",
        {
            {"--prefs not JSON", kRun, prefs("Padding = true"), {"prefs.json", "not valid JSON"}},
            {"--prefs value of a wrong type",
             kRun,
             prefs(R"({"Zentrim": {"Padding": [1]}})"),
             {"prefs.json", "Zentrim.Padding", "boolean, a number or a string"}},
            {"--prefs number beyond a double",
             kRun,
             prefs(R"({"Zentrim": {"PaddingAmount": 1e999}})"),
             {"prefs.json", "not valid JSON", "1e999"}},
            {"--prefs a folder",
             "run @/p.json --prefs @" + kOutputs,
             {},
             {"--prefs", "expected a file, but it is a folder"}},
            {"--prefs in a missing folder",
             "run @/p.json --prefs @/no/prefs.json" + kOutputs,
             {},
             {"--prefs", "no/prefs.json", "does not exist"}},
        });
}

TEST(BadInput, PluginPath) {
    expectEachRefused(
        "plugin",
        {
            {"--plugin missing", kRun + " --plugin @/nothere.so", {}, {"--plugin", "nothere.so"}},
            {"--plugin not a module",
             kRun + " --plugin @/p.json",
             {},
             {"--plugin", "p.json", "cannot load the plug-in module"}},
            {"--plugin without EntryPointFunc",
             kRun + " --plugin @noentry",
             {},
             {"--plugin", "EntryPointFunc"}},
        });
}

TEST(BadInput, Destinations) {
    expectEachRefused(
        "destinations",
        {
            {"--out in a missing folder",
             "run @/p.json --out @/no/out.json",
             {},
             {"--out", "no/out.json", "does not exist"}},
            {"--out a folder", "run @/p.json --out @", {}, {"--out", "it is a folder"}},
            {"--render a file",
             "run @/p.json --out @/out.json --render @/p.json",
             {},
             {"--render", "p.json", "expected a folder"}},
            {"--out named as a picture of --render",
             "run @/p.json --render @ --out @/Main-before.png",
             {},
             {"--out", "Main-before.png", "--render", "writes a picture of \"Main\""}},
            {"--trace named as a picture of --render, in another case",
             "run @/p.json --render @ --trace @/p-AFTER.png",
             {},
             {"--trace", "p-AFTER.png", "--render", "writes a picture of \"P\""}},
            {"--prefs named as a diff picture of --render",
             "run @/p.json --render @ --prefs @/Main-diff-1_10.png",
             {},
             {"--prefs", "Main-diff-1_10.png", "writes a picture of \"Main\""}},
            {"render: -o in a missing folder",
             "render @/p.json --comp Main -o @/no/out.png",
             {},
             {"-o", "no/out.png", "does not exist"}},
            {"demo: --out a file",
             "demo --out @/p.json",
             {},
             {"--out", "p.json", "expected a folder"}},
        });
}

// The same program with good input runs and writes what it is asked to: the cases above fail for
// their bad part, not for the rest of their command line.
TEST(BadInput, TheGoodCommandLineOfTheCasesRunsAndWrites) {
    simtest::TempFolder folder("bad-good");
    simtest::writeFile(folder.path() / "p.json", kSmallProject);
    simtest::writeFile(folder.path() / "prefs.json", kPrefs);
    simtest::Outcome o =
        simtest::runHost(simtest::substituted(words(kRun), folder.path()), folder.path() / "cap");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(fs::exists(folder.path() / "out.json"));
    EXPECT_TRUE(fs::is_directory(folder.path() / "render"));
    EXPECT_EQ(simtest::readFile(folder.path() / "prefs.json"), kPrefs) << "no dialog saved";
}

}  // namespace
