// zentrim-host against inputs and destinations built to break it: deep nesting, a PNG header bomb,
// 10^300 numbers, non-UTF-8 text, empty and 200 MB files, FIFOs, symbolic links and device nodes
// as outputs, outputs that clash with each other or with an input. Each case must exit with
// status 2 (no crash, no hang), print one message, write nothing, and stay within a fixed margin
// of the memory a good run takes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "HostProcess.h"
#include "PngHeaderOnly.h"
#include "SmallProject.h"

namespace {

namespace fs = std::filesystem;
using simtest::Outcome;

using simtest::kSmallProject;
const char* const kPrefs = R"({"Zentrim": {"Padding": true}})";
const char* const kAnswers = R"({"dialogs": []})";

// kSmallProject with one piece of text replaced.
std::string projectWith(const std::string& from, const std::string& to) {
    std::string text = kSmallProject;
    text.replace(text.find(from), from.size(), to);
    return text;
}

std::string deepArrays(int depth) {
    return std::string(static_cast<size_t>(depth), '[') +
           std::string(static_cast<size_t>(depth), ']');
}

struct Case {
    std::string name;
    std::vector<std::string> args;                 // "@" stands for the case's folder
    std::function<void(const fs::path&)> prepare;  // makes the case's files
    std::vector<std::string> expected;             // fragments of the message
};

// The good files every case starts from.
void goodFiles(const fs::path& dir) {
    simtest::writeFile(dir / "p.json", kSmallProject);
    simtest::writeFile(dir / "prefs.json", kPrefs);
    simtest::writeFile(dir / "ui.json", kAnswers);
}

std::function<void(const fs::path&)> file(const std::string& name, const std::string& text) {
    return [=](const fs::path& dir) { simtest::writeFile(dir / name, text); };
}

std::function<void(const fs::path&)> sparse(const std::string& name, uintmax_t bytes) {
    return [=](const fs::path& dir) {
        simtest::writeFile(dir / name, "");
        fs::resize_file(dir / name, bytes);
    };
}

std::function<void(const fs::path&)> fifo(const std::string& name) {
    return [=](const fs::path& dir) {
        fs::remove(dir / name);
        ASSERT_EQ(mkfifo((dir / name).c_str(), 0600), 0);
    };
}

std::vector<Case> cases() {
    // Every input and output; clash cases name their own outputs instead.
    const std::vector<std::string> base = {"run",          "@/p.json", "--prefs",
                                           "@/prefs.json", "--ui",     "@/ui.json"};
    auto runWith = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = base;
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    const std::vector<std::string> run =
        runWith({"--out", "@/out.json", "--render", "@/render", "--trace", "@/trace.txt"});
    const std::string utf8Project = projectWith("\"Box\"", "\"B\xF8x\"");
    return {
        // Inputs the host cannot hold.
        {"project nested 10^5 deep",
         run,
         file("p.json", deepArrays(100000)),
         {"p.json", "at most 64 levels"}},
        {"answers nested 10^5 deep",
         run,
         file("ui.json", "{\"dialogs\": " + deepArrays(100000) + "}"),
         {"ui.json", "dialogs", "at most 64 levels"}},
        {"preferences nested 10^5 deep",
         run,
         file("prefs.json", "{\"Zentrim\": " + deepArrays(100000) + "}"),
         {"prefs.json", "Zentrim", "at most 64 levels"}},
        {"PNG header bomb (69 bytes claiming 30000x30000)",
         run,
         [](const fs::path& dir) {
             simtest::writeFile(dir / "bomb.png", simtest::pngHeaderOnly(30000, 30000));
             simtest::writeFile(
                 dir / "p.json",
                 projectWith("{\"type\": \"solid\", \"name\": \"Red\"",
                             "{\"type\": \"image\", \"name\": \"Bomb\", \"path\": \"bomb.png\"}, "
                             "{\"type\": \"solid\", \"name\": \"Red\""));
         },
         {"p.json", "items[0].path", "bomb.png", "30000x30000"}},
        {"PNG header bomb (69 bytes claiming 8000x8000)",
         run,
         [](const fs::path& dir) {
             simtest::writeFile(dir / "bomb.png", simtest::pngHeaderOnly(8000, 8000));
             simtest::writeFile(
                 dir / "p.json",
                 projectWith("{\"type\": \"solid\", \"name\": \"Red\"",
                             "{\"type\": \"image\", \"name\": \"Bomb\", \"path\": \"bomb.png\"}, "
                             "{\"type\": \"solid\", \"name\": \"Red\""));
         },
         {"p.json", "items[0].path", "more than a file of 69 bytes can hold"}},
        {"position 10^300",
         run,
         file("p.json", projectWith("[30, 20, 0]", "[1e300, 20, 0]")),
         {"p.json", "items[1].layers[0].position[0]", "from -10000000 to 10000000"}},
        {"width as a 301-digit whole number",
         run,
         file("p.json", projectWith("\"width\": 12", "\"width\": 1" + std::string(300, '0'))),
         {"p.json", "items[0].width", "1 to 30000"}},
        {"frame rate 1e-300",
         run,
         file("p.json", projectWith("\"frameRate\": 10", "\"frameRate\": 1e-300")),
         {"p.json", "items[1].frameRate", "from 1 to 999"}},
        {"current time outside the duration",
         run,
         file("p.json", projectWith("\"duration\": 1,\n     \"layers\": [{\"name\": \"Use\"",
                                    "\"duration\": 1, \"currentTime\": 5,\n     \"layers\": "
                                    "[{\"name\": \"Use\"")),
         {"p.json", "items[2].currentTime", "from 0 to the duration (1)", "5"}},
        {"preferences whole number 10^19",
         run,
         file("prefs.json", "{\"Zentrim\": {\"PaddingAmount\": 1" + std::string(19, '0') + "}}"),
         {"prefs.json", "Zentrim.PaddingAmount", "whole number from -2147483648 to 2147483647"}},
        {"project not UTF-8",
         run,
         file("p.json", utf8Project),
         {"p.json", "items[1].layers[0].name", "UTF-8", "0xF8"}},
        {"answers not UTF-8",
         run,
         file("ui.json", "{\"dialogs\": [{\"title\": \"Caf\xE9\", \"actions\": []}]}"),
         {"ui.json", "dialogs[0].title", "UTF-8", "0xE9"}},
        {"preferences not UTF-8",
         run,
         file("prefs.json", "{\"Zentrim\": {\"Name\": \"\xFF\"}}"),
         {"prefs.json", "Zentrim.Name", "UTF-8", "0xFF"}},
        {"project of 0 bytes", run, file("p.json", ""), {"p.json", "the file is empty"}},
        {"answers of 0 bytes", run, file("ui.json", ""), {"ui.json", "the file is empty"}},
        {"preferences of 0 bytes",
         run,
         file("prefs.json", ""),
         {"prefs.json", "the file is empty"}},
        {"project of 200 MB",
         run,
         sparse("p.json", 200u << 20),
         {"p.json", "at most 64 MiB", "209715200 bytes"}},
        {"answers of 200 MB",
         run,
         sparse("ui.json", 200u << 20),
         {"ui.json", "at most 1 MiB", "209715200 bytes"}},
        {"footage of 200 MB",
         run,
         [](const fs::path& dir) {
             sparse("big.png", 200u << 20)(dir);
             simtest::writeFile(
                 dir / "p.json",
                 projectWith("{\"type\": \"solid\", \"name\": \"Red\"",
                             "{\"type\": \"image\", \"name\": \"Big\", \"path\": \"big.png\"}, "
                             "{\"type\": \"solid\", \"name\": \"Red\""));
         },
         {"p.json", "items[0].path", "big.png", "not a PNG file"}},
        {"footage of 300 MB",
         run,
         [](const fs::path& dir) {
             sparse("big.png", 300u << 20)(dir);
             simtest::writeFile(
                 dir / "p.json",
                 projectWith("{\"type\": \"solid\", \"name\": \"Red\"",
                             "{\"type\": \"image\", \"name\": \"Big\", \"path\": \"big.png\"}, "
                             "{\"type\": \"solid\", \"name\": \"Red\""));
         },
         {"p.json", "items[0].path", "at most 256 MiB"}},
        {"project a FIFO", run, fifo("p.json"), {"p.json", "it is a FIFO"}},
        {"answers a FIFO", run, fifo("ui.json"), {"ui.json", "it is a FIFO"}},
        {"preferences a FIFO", run, fifo("prefs.json"), {"--prefs", "prefs.json", "a FIFO"}},
        // Destinations that are not regular files.
        {"--out a FIFO", run, fifo("out.json"), {"--out", "out.json", "it is a FIFO"}},
        {"--trace a FIFO", run, fifo("trace.txt"), {"--trace", "trace.txt", "it is a FIFO"}},
        {"--out a symbolic link",
         run,
         [](const fs::path& dir) {
             simtest::writeFile(dir / "kept.json", "keep me");
             fs::create_symlink("kept.json", dir / "out.json");
         },
         {"--out", "out.json", "it is a symbolic link"}},
        {"--trace a symbolic link to a missing file",
         run,
         [](const fs::path& dir) { fs::create_symlink("nowhere.txt", dir / "trace.txt"); },
         {"--trace", "trace.txt", "it is a symbolic link"}},
        {"--render picture a FIFO",
         run,
         [](const fs::path& dir) {
             fs::create_directories(dir / "render");
             ASSERT_EQ(mkfifo((dir / "render/Main-after.png").c_str(), 0600), 0);
         },
         {"--render", "Main-after.png", "it is a FIFO"}},
        {"render -o a FIFO",
         {"render", "@/p.json", "--comp", "Main", "-o", "@/pic.png"},
         fifo("pic.png"),
         {"-o", "pic.png", "it is a FIFO"}},
        {"demo --out holding a FIFO",
         {"demo", "--out", "@/demo"},
         [](const fs::path& dir) {
             fs::create_directories(dir / "demo");
             ASSERT_EQ(mkfifo((dir / "demo/after.png").c_str(), 0600), 0);
         },
         {"--out", "after.png", "it is a FIFO"}},
        // Outputs that clash with each other or with an input.
        {"--out the same file as --prefs",
         runWith({"--out", "@/prefs.json"}),
         nullptr,
         {"--prefs", "same file as --out"}},
        {"--out the same file as --ui",
         runWith({"--out", "@/ui.json"}),
         nullptr,
         {"--out", "same file as --ui"}},
        {"--out the project itself",
         runWith({"--out", "@/p.json"}),
         nullptr,
         {"--out", "same file as the project"}},
        {"--out a hard link of the project",
         runWith({"--out", "@/link.json"}),
         [](const fs::path& dir) { fs::create_hard_link(dir / "p.json", dir / "link.json"); },
         {"--out", "link.json", "same file as the project"}},
        {"--out the same file as --trace",
         runWith({"--out", "@/trace.txt", "--trace", "@/trace.txt"}),
         nullptr,
         {"same file as --trace"}},
        {"--out x --render x",
         runWith({"--out", "@/both", "--render", "@/both"}),
         nullptr,
         {"--render", "both", "names it as a file"}},
        {"--render inside the --out file",
         runWith({"--out", "@/out.json", "--render", "@/out.json/pictures"}),
         nullptr,
         {"--render", "out.json/pictures", "names it as a file"}},
        {"--out onto the project's footage",
         runWith({"--out", "@/logo.png"}),
         [](const fs::path& dir) {
             fs::copy_file(ZENTRIM_SOURCE_DIR "/examples/logo.png", dir / "logo.png");
             simtest::writeFile(
                 dir / "p.json",
                 projectWith("{\"type\": \"solid\", \"name\": \"Red\"",
                             "{\"type\": \"image\", \"name\": \"Logo\", \"path\": \"logo.png\"}, "
                             "{\"type\": \"solid\", \"name\": \"Red\""));
         },
         {"--out", "logo.png", "same file as the footage \"Logo\""}},
        {"--trace the same file as --ui",
         runWith({"--trace", "@/ui.json"}),
         nullptr,
         {"--trace", "same file as --ui"}},
        {"--prefs the plug-in module",
         {"run", "@/p.json", "--plugin", "@/module.so", "--prefs", "@/module.so"},
         [](const fs::path& dir) { simtest::writeFile(dir / "module.so", "not loaded"); },
         {"--prefs", "module.so", "same file as --plugin"}},
        {"render -o the project",
         {"render", "@/p.json", "--comp", "Main", "-o", "@/p.json"},
         nullptr,
         {"-o", "p.json", "same file as the project"}},
    };
}

using simtest::replaceAll;
using simtest::substituted;

// Peak memory a refused input may take beyond what a good run takes: far below any of the
// sizes the inputs claim (200 MB files, a 3.6 GB image).
constexpr long kMarginKb = 32 * 1024;

TEST(HostileInput, EveryCaseExitsWithTwoOneMessageNothingWrittenAndBoundedMemory) {
    simtest::TempFolder root("hostile");
    // What a good run of the same command line takes.
    fs::path good = root.path() / "good";
    fs::create_directories(good);
    goodFiles(good);
    Outcome baseline = simtest::runHost(substituted(cases()[0].args, good), root.path() / "cap");
    ASSERT_EQ(baseline.status, 0) << baseline.err;
    ASSERT_GT(baseline.peakKb, 0);

    std::ostringstream table;
    table << "| hostile input | exit | peak memory | message on stderr |\n| --- | --- | --- | --- "
             "|\n";
    int index = 0;
    for (const Case& k : cases()) {
        SCOPED_TRACE(k.name);
        fs::path dir = root.path() / ("case" + std::to_string(index++));
        fs::create_directories(dir);
        goodFiles(dir);
        if (k.prepare) k.prepare(dir);
        auto before = simtest::snapshot(dir);

        Outcome o = simtest::runHost(substituted(k.args, dir), root.path() / "cap", 60);
        EXPECT_FALSE(o.timedOut) << "the host hung";
        EXPECT_EQ(o.signal, 0) << "the host crashed";
        EXPECT_EQ(o.status, 2) << o.err;
        EXPECT_EQ(o.out, "");
        ASSERT_FALSE(o.err.empty());
        EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << "one line on stderr: " << o.err;
        for (const std::string& fragment : k.expected)
            EXPECT_NE(o.err.find(fragment), std::string::npos)
                << "the message should name \"" << fragment << "\": " << o.err;
        EXPECT_EQ(simtest::snapshot(dir), before) << "something was written, changed or left";
        EXPECT_LE(o.peakKb, baseline.peakKb + kMarginKb)
            << "peak memory " << o.peakKb << " KB against " << baseline.peakKb << " KB";

        std::string message = replaceAll(o.err.substr(0, o.err.find('\n')), dir.string(), "DIR");
        table << "| " << k.name << " | " << o.status << " | " << o.peakKb / 1024 << " MB | "
              << replaceAll(message, "|", "\\|") << " |\n";
        fs::remove_all(dir);
    }
    table << "\nA good run of the same command line peaks at " << baseline.peakKb / 1024
          << " MB.\n";
    simtest::writeFile(fs::path(ZENTRIM_BINARY_DIR) / "cli-hostile-input.md", table.str());
}

// A device node as a destination, made in the test's own folder (a second null device), so that a
// host that replaced it would only replace that node. Needs the right to make device nodes.
TEST(HostileInput, ADeviceNodeAsOutputIsRefusedAndKept) {
    simtest::TempFolder root("device");
    goodFiles(root.path());
    fs::path device = root.path() / "out.json";
    if (mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make a device node here";
    Outcome o = simtest::runHost(
        substituted({"run", "@/p.json", "--out", "@/out.json"}, root.path()), root.path() / "cap");
    EXPECT_EQ(o.status, 2) << o.err;
    EXPECT_NE(o.err.find("it is a device"), std::string::npos) << o.err;
    EXPECT_TRUE(fs::is_character_file(fs::symlink_status(device))) << "the node was replaced";
}

}  // namespace
