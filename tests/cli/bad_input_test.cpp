// zentrim-host against bad input, run as a user runs it: every case must exit with status 2, print
// one message on stderr naming the file or option, the field and what was expected, print nothing
// on stdout, and write nothing (no --out, -o, --render or --prefs file, not even half of one).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "SmallProject.h"

namespace {

namespace fs = std::filesystem;

using hosttest::kSmallProject;

const char* const kPrefs = R"({"Zentrim": {"Padding": true, "PaddingAmount": 4}})";

// A project whose one item or layer is given: `item` is the text of items[0].
std::string withItem(const std::string& item) {
    return R"({"format": "zentrim-project", "version": 1, "items": [)" + item + "]}";
}
std::string compWithLayers(const std::string& layers, const std::string& more = "") {
    return withItem(R"({"type": "comp", "name": "A", "width": 10, "height": 10, "frameRate": 30,
        "duration": 1)" +
                    more + R"(, "layers": [)" + layers + "]}");
}
std::string solidWithWidth(const std::string& width) {
    return withItem(R"({"type": "solid", "name": "S", "width": )" + width +
                    R"(, "height": 10, "color": [1, 0, 0, 1]})");
}

struct Case {
    std::string name;
    std::string args;  // after the program; "@" is the case's folder, "@noentry" a module
    std::map<std::string, std::string> files;  // written into the case's folder first
    std::vector<std::string> expected;         // fragments the message must hold
};

// Outputs every run case asks for, so that a case that wrote anything is caught.
const std::string kOutputs = " --out @/out.json --render @/render";
// How most cases start: a good project and preferences, and every output.
const std::string kRunPrefix = "run @/p.json --prefs @/prefs.json" + kOutputs;

std::vector<Case> cases() {
    std::map<std::string, std::string> good = {{"p.json", kSmallProject}, {"prefs.json", kPrefs}};
    auto with = [&](std::map<std::string, std::string> extra) {
        std::map<std::string, std::string> files = good;
        for (auto& [name, text] : extra)
            files[name] = text;
        return files;
    };
    auto project = [&](const std::string& text) { return with({{"p.json", text}}); };
    const std::string run = kRunPrefix;
    return {
        // The command line itself.
        {"no command", "", good, {"expected a command", "run"}},
        {"unknown command", "frobnicate @/p.json", good, {"unknown command \"frobnicate\""}},
        {"unknown option", run + " --bogus", good, {"--bogus"}},
        {"project missing from the command line", "run" + kOutputs, good, {"project"}},
        {"--keys unknown",
         run + " --keys alt",
         good,
         {"--keys", "none, cmd (or ctrl), shift", "alt"}},
        {"--keys without a value", run + " --keys", good, {"--keys"}},
        {"--panel not a number", run + " --panel two", good, {"--panel", "whole number", "two"}},
        {"--host-model unknown key",
         run + " --host-model vertex1=coupled",
         good,
         {"--host-model", "vertex1", "resize-uses, resize-children, vertex0"}},
        {"--host-model unknown value",
         "panel @/p.json --host-model vertex0=loose" + kOutputs,
         good,
         {"--host-model", "vertex0", "loose", "independent, coupled"}},
        {"--host-model without a value",
         run + " --host-model script-error",
         good,
         {"--host-model", "KEY=VALUE", "script-error"}},
        // The project file.
        {"project file missing",
         "run @/missing.json" + kOutputs,
         good,
         {"missing.json", "cannot open"}},
        {"project is a folder", "run @" + kOutputs, good, {"expected a project file", "folder"}},
        {"project empty", run, project(""), {"p.json", "the file is empty"}},
        {"project not JSON", run, project("this is not JSON"), {"p.json", "not valid JSON"}},
        {"project wrong format",
         run,
         project(R"({"format": "other", "version": 1, "items": []})"),
         {"p.json", "format", "zentrim-project"}},
        {"project wrong version",
         run,
         project(R"({"format": "zentrim-project", "version": 2, "items": []})"),
         {"p.json", "version", "expected 1", "2"}},
        {"unknown top-level field",
         run,
         project(R"({"format": "zentrim-project", "version": 1, "items": [], "colour": 1})"),
         {"p.json", "colour", "unknown field"}},
        {"unknown layer field",
         run,
         project(compWithLayers(R"({"name": "a", "colour": 1})")),
         {"p.json", "items[0].layers[0]", "colour"}},
        {"field given twice",
         run,
         project(R"({"format": "zentrim-project", "version": 1, "version": 1, "items": []})"),
         {"p.json", "version", "twice"}},
        {"wrong type: width text",
         run,
         project(solidWithWidth("\"wide\"")),
         {"p.json", "items[0].width", "whole number", "wide"}},
        {"wrong type: layers not a list",
         run,
         project(withItem(R"({"type": "comp", "name": "A", "width": 10, "height": 10,
             "frameRate": 30, "duration": 1, "layers": 3})")),
         {"p.json", "items[0].layers"}},
        {"wrong type: position not three numbers",
         run,
         project(compWithLayers(R"({"name": "a", "kind": "null", "position": [1, "x", 0]})")),
         {"p.json", "items[0].layers[0].position"}},
        {"dangling active item",
         run,
         project(R"({"format": "zentrim-project", "version": 1, "activeItem": "Nope",
             "items": []})"),
         {"p.json", "activeItem", "Nope"}},
        {"dangling layer source",
         run,
         project(compWithLayers(R"({"name": "a", "source": "Ghost"})")),
         {"p.json", "items[0].layers[0].source", "Ghost"}},
        {"dangling parent index",
         run,
         project(compWithLayers(R"({"name": "a", "kind": "null", "parent": 5})")),
         {"p.json", "items[0].layers[0].parent", "5"}},
        {"parent cycle",
         run,
         project(compWithLayers(R"({"name": "a", "kind": "null", "parent": 1},
                                   {"name": "b", "kind": "null", "parent": 0})")),
         {"p.json", "parent", "cycle"}},
        {"composition nested in itself",
         run,
         project(compWithLayers(R"({"name": "a", "source": "A"})")),
         {"p.json", "items[0].layers[0].source", "cycle"}},
        {"footage missing",
         run,
         project(withItem(R"({"type": "image", "name": "I", "path": "nothere.png"})")),
         {"p.json", "items[0].path", "PNG", "nothere.png"}},
        {"footage not a picture",
         run,
         with({{"p.json", withItem(R"({"type": "image", "name": "I", "path": "fake.png"})")},
               {"fake.png", "GIF89a, not a PNG"}}),
         {"p.json", "items[0].path", "PNG", "fake.png"}},
        {"size 0",
         run,
         project(solidWithWidth("0")),
         {"p.json", "items[0].width", "1 to 30000", "0"}},
        {"size negative",
         run,
         project(solidWithWidth("-5")),
         {"p.json", "items[0].width", "1 to 30000", "-5"}},
        {"size over 30000",
         run,
         project(solidWithWidth("40000")),
         {"p.json", "items[0].width", "1 to 30000", "40000"}},
        {"size not whole",
         run,
         project(solidWithWidth("12.5")),
         {"p.json", "items[0].width", "whole number", "12.5"}},
        {"number beyond a double (1e999)",
         run,
         project(solidWithWidth("1e999")),
         {"p.json", "not valid JSON", "1e999"}},
        {"size as the text NaN",
         run,
         project(solidWithWidth("\"NaN\"")),
         {"p.json", "items[0].width", "NaN"}},
        {"duration as the text NaN",
         run,
         project(compWithLayers("").replace(compWithLayers("").find("\"duration\": 1"), 13,
                                            "\"duration\": \"NaN\"")),
         {"p.json", "items[0].duration", "time", "NaN"}},
        {"frame rate as the text Infinity",
         run,
         project(compWithLayers("").replace(compWithLayers("").find("\"frameRate\": 30"), 15,
                                            "\"frameRate\": \"Infinity\"")),
         {"p.json", "items[0].frameRate", "Infinity"}},
        {"bits per channel 12",
         run,
         project(R"({"format": "zentrim-project", "version": 1, "bitsPerChannel": 12,
             "items": []})"),
         {"p.json", "bitsPerChannel", "12"}},
        // The plug-in module.
        {"--plugin missing", run + " --plugin @/nothere.so", good, {"--plugin", "nothere.so"}},
        {"--plugin not a module",
         run + " --plugin @/p.json",
         good,
         {"--plugin", "p.json", "cannot load the plug-in module"}},
        {"--plugin without EntryPointFunc",
         run + " --plugin @noentry",
         good,
         {"--plugin", "EntryPointFunc"}},
        // The simulated user's answers.
        {"--ui missing", run + " --ui @/nothere.json", good, {"nothere.json", "cannot be read"}},
        {"--ui a folder", run + " --ui @", good, {"expected an answers file", "folder"}},
        {"--ui not JSON",
         run + " --ui @/ui.json",
         with({{"ui.json", "click OK"}}),
         {"ui.json", "not valid JSON"}},
        {"--ui number beyond a double",
         run + " --ui @/ui.json",
         with({{"ui.json", R"({"dialogs": [1e999]})"}}),
         {"ui.json", "not valid JSON"}},
        {"--ui dialogs not a list",
         run + " --ui @/ui.json",
         with({{"ui.json", R"({"dialogs": 3})"}}),
         {"ui.json", "dialogs", "array"}},
        {"--ui unknown action",
         run + " --ui @/ui.json",
         with({{"ui.json", R"({"dialogs": [{"title": "T", "actions": [{"press": "OK"}]}]})"}}),
         {"ui.json", "dialogs[0].actions[0]", "press", "check, uncheck"}},
        {"--ui select index negative",
         run + " --ui @/ui.json",
         with({{"ui.json", R"({"dialogs": [{"title": "T", "actions": [{"select": [0, -1]}]}]})"}}),
         {"ui.json", "dialogs[0].actions[0].select", "item number"}},
        // The application preferences.
        {"--prefs not JSON",
         run,
         with({{"prefs.json", "Padding = true"}}),
         {"prefs.json", "not valid JSON"}},
        {"--prefs value of a wrong type",
         run,
         with({{"prefs.json", R"({"Zentrim": {"Padding": [1]}})"}}),
         {"prefs.json", "Zentrim.Padding", "boolean, a number or a string"}},
        {"--prefs number beyond a double",
         run,
         with({{"prefs.json", R"({"Zentrim": {"PaddingAmount": 1e999}})"}}),
         {"prefs.json", "not valid JSON", "1e999"}},
        {"--prefs a folder",
         "run @/p.json --prefs @" + kOutputs,
         good,
         {"--prefs", "expected a file, but it is a folder"}},
        {"--prefs in a missing folder",
         "run @/p.json --prefs @/no/prefs.json" + kOutputs,
         good,
         {"--prefs", "no/prefs.json", "does not exist"}},
        // Where the results go.
        {"--out in a missing folder",
         "run @/p.json --out @/no/out.json",
         good,
         {"--out", "no/out.json", "does not exist"}},
        {"--out a folder", "run @/p.json --out @", good, {"--out", "it is a folder"}},
        {"--render a file",
         "run @/p.json --out @/out.json --render @/p.json",
         good,
         {"--render", "p.json", "expected a folder"}},
        {"--out named as a picture of --render",
         "run @/p.json --render @ --out @/Main-before.png",
         good,
         {"--out", "Main-before.png", "--render", "writes a picture of \"Main\""}},
        {"--trace named as a picture of --render, in another case",
         "run @/p.json --render @ --trace @/p-AFTER.png",
         good,
         {"--trace", "p-AFTER.png", "--render", "writes a picture of \"P\""}},
        {"--prefs named as a diff picture of --render",
         "run @/p.json --render @ --prefs @/Main-diff-1_10.png",
         good,
         {"--prefs", "Main-diff-1_10.png", "writes a picture of \"Main\""}},
        {"render: two compositions of one name",
         "render @/two.json --comp Shot -o @/out.png",
         with({{"two.json", R"({"format": "zentrim-project", "version": 1, "items": [
             {"type": "comp", "name": "Shot", "id": "a", "width": 8, "height": 8,
              "frameRate": 10, "duration": 1},
             {"type": "comp", "name": "Shot", "id": "b", "width": 8, "height": 8,
              "frameRate": 10, "duration": 1}]})"}}),
         {"two.json", "--comp", "2 items are named \"Shot\"", "\"a\" and \"b\""}},
        {"render: a time at the end of the duration",
         "render @/p.json --comp Main --time 1 -o @/out.png",
         good,
         {"--time", "below the duration of \"Main\" (1 s)", "got 1"}},
        {"render: a time before 0",
         "render @/p.json --comp Main --time -1/10 -o @/out.png",
         good,
         {"--time", "from 0", "-1/10"}},
        {"render: no such composition",
         "render @/p.json --comp Nope -o @/out.png",
         good,
         {"p.json", "--comp", "Nope"}},
        {"render: not a composition",
         "render @/p.json --comp Red -o @/out.png",
         good,
         {"p.json", "--comp", "Red", "not a composition"}},
        {"render: time not a number",
         "render @/p.json --comp Main --time soon -o @/out.png",
         good,
         {"--time", "soon"}},
        {"render: -o in a missing folder",
         "render @/p.json --comp Main -o @/no/out.png",
         good,
         {"-o", "no/out.png", "does not exist"}},
        {"demo: --out a file",
         "demo --out @/p.json",
         good,
         {"--out", "p.json", "expected a folder"}},
        {"menu: bad project", "menu @/p.json", project("[]"), {"p.json"}},
        {"menu: --keys unknown", "menu @/p.json --keys alt", good, {"--keys", "alt"}},
    };
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Every file under the folder, with its contents.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[fs::relative(entry.path(), folder).string()] =
            entry.is_directory() ? "(folder)" : readFile(entry.path());
    return files;
}

struct Outcome {
    int status = -1;
    std::string out, err;
};

Outcome runHost(const fs::path& folder, const fs::path& captures, const std::string& args) {
    std::string line = replaceAll(args, "@noentry", ZENTRIM_NO_ENTRY_MODULE);
    line = replaceAll(line, "@", folder.string());
    std::string command = "'" ZENTRIM_HOST "' " + line + " </dev/null >'" +
                          (captures / "stdout").string() + "' 2>'" +
                          (captures / "stderr").string() + "'";
    int raw = std::system(command.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.out = readFile(captures / "stdout");
    o.err = readFile(captures / "stderr");
    return o;
}

class BadInput : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("zentrim-cli-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(BadInput, EveryCaseExitsWithTwoOneMessageAndWritesNothing) {
    std::ostringstream table;
    table << "| bad input | command | message on stderr |\n| --- | --- | --- |\n";
    int index = 0;
    for (const Case& k : cases()) {
        SCOPED_TRACE(k.name);
        fs::path folder = root_ / ("case" + std::to_string(index++));
        fs::path captures = root_ / "captures";
        fs::create_directories(folder);
        fs::create_directories(captures);
        for (const auto& [name, text] : k.files)
            std::ofstream(folder / name, std::ios::binary) << text;
        std::map<std::string, std::string> before = snapshot(folder);

        Outcome o = runHost(folder, captures, k.args);
        EXPECT_EQ(o.status, 2) << o.err;
        EXPECT_EQ(o.out, "") << "nothing on stdout";
        ASSERT_FALSE(o.err.empty());
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << "one line on stderr: " << o.err;
        EXPECT_EQ(o.err.rfind("zentrim-host: ", 0), 0u) << o.err;
        for (const std::string& fragment : k.expected)
            EXPECT_NE(o.err.find(fragment), std::string::npos)
                << "the message should name \"" << fragment << "\": " << o.err;
        EXPECT_EQ(snapshot(folder), before) << "a file was written, changed or left behind";

        std::string message = o.err.substr(0, o.err.find('\n'));
        message = replaceAll(message, folder.string(), "DIR");
        message = replaceAll(message, ZENTRIM_NO_ENTRY_MODULE, "DIR/no-entry-point.so");
        // "run P" stands for the full command line every run case starts with.
        std::string shown = replaceAll(k.args, kRunPrefix, "run P");
        table << "| " << k.name << " | `zentrim-host "
              << replaceAll(replaceAll(shown, "@noentry", "DIR/no-entry-point.so"), "@", "DIR")
              << "` | " << replaceAll(message, "|", "\\|") << " |\n";
        fs::remove_all(folder);
    }
    // The table docs/reliability.md shows, with the case folders written as DIR.
    std::ofstream(std::string(ZENTRIM_BINARY_DIR) + "/cli-bad-input.md") << table.str();
}

// The same program with good input runs and writes what it is asked to: the cases above fail for
// their bad part, not for the rest of their command line.
TEST_F(BadInput, TheGoodCommandLineOfTheCasesRunsAndWrites) {
    fs::path folder = root_ / "good";
    fs::create_directories(folder);
    std::ofstream(folder / "p.json") << kSmallProject;
    std::ofstream(folder / "prefs.json") << kPrefs;
    Outcome o = runHost(folder, root_, "run @/p.json --prefs @/prefs.json" + kOutputs);
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_TRUE(fs::exists(folder / "out.json"));
    EXPECT_TRUE(fs::is_directory(folder / "render"));
    EXPECT_EQ(readFile(folder / "prefs.json"), kPrefs) << "no dialog saved";
}

}  // namespace
