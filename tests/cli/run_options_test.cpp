// zentrim-host run's reports for people who script it, through the built program: --verify on
// every example and against a module with a deliberate fault, --trace, --diff, the panel's action,
// unique picture names, --plugin NAME, errors as JSON and the exit statuses in --help.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "HostProcess.h"
#include "OutcomeJson.h"

namespace {

namespace fs = std::filesystem;
using simtest::Outcome;
using Json = nlohmann::json;

const std::string kExamples = ZENTRIM_SOURCE_DIR "/examples/";

Json parsed(const Outcome& o) {
    return simtest::parsedJson(o);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Each example with the crops it is made for (as the README runs them) and the standard crop:
// every call the trace lists is named with its suite. (verify_scales_test.cpp verifies them.)
TEST(RunTrace, EveryExampleNamesTheSuiteOfEveryCall) {
    simtest::TempFolder tmp("trace-examples");
    const std::vector<std::pair<std::string, const char*>> runs = {
        {"basic", "none"}, {"low-resolution", "none"}, {"low-resolution", "cmd"},
        {"masks", "none"}, {"masks", "shift+cmd"},     {"moving", "none"},
        {"moving", "cmd"}, {"moving", "shift+cmd"},    {"three-d", "none"},
    };
    for (const auto& [name, keys] : runs) {
        SCOPED_TRACE(name + " --keys " + keys);
        fs::path project = kExamples + name + ".json", ui = kExamples + name + ".ui.json";
        std::vector<std::string> args = {"run",     project.string(),
                                         "--keys",  keys,
                                         "--trace", (tmp.path() / "trace.txt").string()};
        if (fs::exists(ui)) args.insert(args.end(), {"--ui", ui.string()});
        Outcome o = simtest::runHost(args, tmp.path() / "cap");
        ASSERT_EQ(o.status, 0) << o.err;
        std::vector<std::string> traced = lines(simtest::readFile(tmp.path() / "trace.txt"));
        EXPECT_GT(traced.size(), 20u);
        for (const std::string& line : traced)
            EXPECT_EQ(line.find(" ? "), std::string::npos) << "unknown suite: " << line;
    }
}

TEST(RunVerify, ADeliberateErrorInTheCorrectionOfUsesIsReportedWithDiffPictures) {
    simtest::TempFolder tmp("verify-broken");
    fs::path render = tmp.path() / "render";
    for (const char* keys : {"none", "cmd"}) {
        SCOPED_TRACE(keys);
        std::string project =
            kExamples + (std::string(keys) == "cmd" ? "moving.json" : "basic.json");
        Outcome o =
            simtest::runHost({"run", project, "--keys", keys, "--verify", "--json", "--render",
                              render.string(), "--plugin", ZENTRIM_BROKEN_MODULE},
                             tmp.path() / "cap");
        EXPECT_EQ(o.status, 1) << "moved pixels are a plug-in error: " << o.err;
        Json report = parsed(o);
        ASSERT_TRUE(report.contains("verify"));
        const Json& verify = report["verify"];
        EXPECT_FALSE(verify["nothingMoved"].get<bool>());
        EXPECT_GT(verify["differingPixels"].get<long>(), 0);
        ASSERT_FALSE(verify["differences"].empty());
        std::set<std::string> pictures;
        for (const Json& p : report["pictures"])
            pictures.insert(p.get<std::string>());
        for (const Json& d : verify["differences"]) {
            EXPECT_EQ(d["comp"], "Main");
            EXPECT_GT(d["pixels"].get<long>(), 0);
            std::string picture = d["picture"].get<std::string>();
            EXPECT_TRUE(fs::is_regular_file(render / picture)) << picture;
            EXPECT_TRUE(pictures.count(picture)) << "the report lists " << picture;
        }
        EXPECT_EQ(verify["summary"].get<std::string>().rfind("MOVED: ", 0), 0u);
        if (std::string(keys) == "cmd") {
            EXPECT_EQ(verify["frames"], 48) << "every frame of Main and of Flight itself";
        }
    }
    // The same module's report as text names each frame.
    Outcome text = simtest::runHost(
        {"run", kExamples + "basic.json", "--verify", "--plugin", ZENTRIM_BROKEN_MODULE},
        tmp.path() / "cap");
    EXPECT_NE(text.out.find("verify: MOVED: "), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("  \"Main\" at 0 s: "), std::string::npos) << text.out;
}

TEST(RunVerify, ContentVisibleAtTheMeasuredTimeThatACropCutsIsReportedWithPictures) {
    simtest::TempFolder tmp("verify-cut");
    fs::path render = tmp.path() / "render";
    for (const char* keys : {"none", "cmd"}) {
        SCOPED_TRACE(keys);
        std::string project =
            kExamples + (std::string(keys) == "cmd" ? "moving.json" : "basic.json");
        Outcome o =
            simtest::runHost({"run", project, "--keys", keys, "--verify", "--json", "--render",
                              render.string(), "--plugin", ZENTRIM_CUTTING_MODULE},
                             tmp.path() / "cap");
        EXPECT_EQ(o.status, 1) << "cut content is a plug-in error: " << o.err;
        Json report = parsed(o);
        const Json& verify = report["verify"];
        EXPECT_TRUE(verify["nothingMoved"].get<bool>()) << verify["summary"];
        EXPECT_FALSE(verify["nothingCut"].get<bool>());
        EXPECT_GT(verify["cutPixels"].get<long>(), 0);
        EXPECT_EQ(verify["summary"].get<std::string>().rfind("CUT: ", 0), 0u) << verify["summary"];
        std::set<std::string> pictures;
        for (const Json& p : report["pictures"])
            pictures.insert(p.get<std::string>());
        std::set<std::string> comps;
        for (const Json& d : verify["cut"]) {
            comps.insert(d["comp"].get<std::string>());
            std::string picture = d["picture"].get<std::string>();
            EXPECT_NE(picture.find("-cut-"), std::string::npos) << picture;
            EXPECT_TRUE(fs::is_regular_file(render / picture)) << picture;
            EXPECT_TRUE(pictures.count(picture)) << "the report lists " << picture;
        }
        // Seen where the cropped composition is shown, and in the composition itself.
        EXPECT_TRUE(comps.count("Main")) << verify.dump(1);
        EXPECT_EQ(comps.size(), 2u) << verify.dump(1);
    }
    Outcome text = simtest::runHost(
        {"run", kExamples + "basic.json", "--verify", "--plugin", ZENTRIM_CUTTING_MODULE},
        tmp.path() / "cap");
    EXPECT_NE(text.out.find("verify: CUT: 40 pixels visible at the measured time are gone in 2 "
                            "frames"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("  \"Main\" at 0 s: 20 pixels visible at the measured time cut"),
              std::string::npos)
        << text.out;
}

TEST(RunVerify, ContentACropCutsAwayIsToldApartFromWhatMoved) {
    // The standard crop of the moving example measures at 0 s; at the use's last frame the plane
    // has flown outside the crop: nothing moved, some content is no longer shown.
    simtest::TempFolder tmp("verify-cropped");
    Outcome o = simtest::runHost({"run", kExamples + "moving.json", "--verify", "--json"},
                                 tmp.path() / "cap");
    EXPECT_EQ(o.status, 0) << o.err;
    Json verify = parsed(o)["verify"];
    EXPECT_EQ(verify["differingPixels"], 0);
    EXPECT_GT(verify["croppedAwayPixels"].get<long>(), 0);
    EXPECT_EQ(verify["croppedAway"][0]["time"], "23/12");
}

TEST(RunTrace, EveryHostCallOneLineInOrderWithStepsAndResults) {
    simtest::TempFolder tmp("trace");
    fs::path trace = tmp.path() / "calls.txt";
    Outcome o = simtest::runHost({"run", kExamples + "masks.json", "--keys", "shift+cmd", "--ui",
                                  kExamples + "masks.ui.json", "--trace", trace.string()},
                                 tmp.path() / "cap");
    ASSERT_EQ(o.status, 0) << o.err;
    std::vector<std::string> all = lines(simtest::readFile(trace));
    ASSERT_GT(all.size(), 50u);
    EXPECT_EQ(all[0].rfind("# zentrim-host trace", 0), 0u);
    const std::regex call(R"(^(\d+) (\w+Suite|SPBasic) (\w+)\((.*)\) -> (-?\d+)( \w+)?.*$)");
    std::vector<std::string> steps;
    long expected = 1;
    std::string text = simtest::readFile(trace);
    for (const std::string& line : all) {
        if (line[0] == '#') continue;
        if (line.rfind("== ", 0) == 0) {
            steps.push_back(line.substr(3));
            continue;
        }
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, call)) << line;
        EXPECT_EQ(std::stol(m[1]), expected++) << "numbered in order";
    }
    EXPECT_EQ(steps.front(), "entry point");
    EXPECT_NE(std::find(steps.begin(), steps.end(), "command \"Mask Crop\""), steps.end());
    for (const char* needle :
         {"SPBasic AcquireSuite(AEGP Command Suite v1) -> 0 ok",
          "CommandSuite AEGP_InsertMenuCommand(", "UtilitySuite AEGP_ExecuteScript(",
          "CompSuite AEGP_SetCompDimensions(", "MaskOutlineSuite AEGP_SetMaskOutlineVertexInfo(",
          "UtilitySuite AEGP_EndUndoGroup("})
        EXPECT_NE(text.find(needle), std::string::npos) << needle;
    EXPECT_LT(text.find("== entry point"), text.find("AEGP_InsertMenuCommand"));
    EXPECT_LT(text.find("== command"), text.find("AEGP_SetCompDimensions"));
}

TEST(RunTrace, ARunThatFailsKeepsItsTraceWithTheFailingCall) {
    // Without --ui the Low Resolution dialog has no answer: the script fails, the run exits 1.
    simtest::TempFolder tmp("trace-failed");
    fs::path trace = tmp.path() / "calls.txt";
    Outcome o = simtest::runHost(
        {"run", kExamples + "low-resolution.json", "--trace", trace.string()}, tmp.path() / "cap");
    EXPECT_EQ(o.status, 1) << o.err;
    std::string text = simtest::readFile(trace);
    std::smatch m;
    EXPECT_TRUE(
        std::regex_search(text, m, std::regex(R"(UtilitySuite AEGP_ExecuteScript\(.*\) -> [1-9])")))
        << text.substr(0, 2000);
    for (const auto& entry : fs::directory_iterator(tmp.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << "no temporary file is left: " << entry.path();
}

TEST(RunDiff, ListsTheValuesTheCommandChanged) {
    simtest::TempFolder tmp("diff");
    Outcome o = simtest::runHost({"run", kExamples + "masks.json", "--keys", "shift+cmd", "--ui",
                                  kExamples + "masks.ui.json", "--diff"},
                                 tmp.path() / "cap");
    ASSERT_EQ(o.status, 0) << o.err;
    for (const char* line :
         {"  comp \"Badge\": size: 1920x1080 -> 257x129\n",
          "  layer \"Logo\" in \"Badge\": position: (960, 540, 0) -> (128, 128, 0)\n",
          "  layer \"Badge\" in \"Main\": anchor point: (960, 540, 0) -> (128, 128, 0)\n",
          "  layer \"Badge\" in \"Main\": mask \"Top half\" vertex 1: (1088, 412) -> (256, 0)\n"})
        EXPECT_NE(o.out.find(line), std::string::npos) << line << "\n" << o.out;
    Outcome j =
        simtest::runHost({"run", kExamples + "moving.json", "--keys", "cmd", "--diff", "--json"},
                         tmp.path() / "cap");
    Json changes = parsed(j)["changes"];
    bool keyframe = false;
    for (const Json& c : changes)
        keyframe =
            keyframe || (c["where"] == "layer \"Plane\" in \"Flight\"" &&
                         c["what"].get<std::string>().rfind("position keyframe 1 at 1 s", 0) == 0);
    EXPECT_TRUE(keyframe) << changes.dump(1);
}

TEST(RunPanel, TheReportNamesTheActionThatRan) {
    simtest::TempFolder tmp("panel");
    Outcome ran =
        simtest::runHost({"run", kExamples + "basic.json", "--panel", "1"}, tmp.path() / "cap");
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_NE(ran.out.find("panel request: 1 (Zentrim)\naction: Zentrim (the plug-in ran the "
                           "command)\n"),
              std::string::npos)
        << ran.out;
    EXPECT_NE(ran.out.find("resized "), std::string::npos);
    Outcome json = simtest::runHost({"run", kExamples + "moving.json", "--panel", "2", "--json"},
                                    tmp.path() / "cap");
    Json report = parsed(json);
    EXPECT_EQ(report["action"], "Zentrim Duration");
    EXPECT_EQ(report["panelRequest"], 2);
    // A mask crop needs a selected mask: the plug-in refuses the request with an alert.
    Outcome refused = simtest::runHost({"run", kExamples + "basic.json", "--panel", "3", "--json"},
                                       tmp.path() / "cap");
    EXPECT_EQ(refused.status, 1);
    Json none = parsed(refused);
    EXPECT_TRUE(none["action"].is_null());
    EXPECT_FALSE(none["alerts"].empty());
}

TEST(RunRender, PicturesOfCompositionsWithClashingNamesGetNamesOfTheirOwn) {
    simtest::TempFolder tmp("render-names");
    simtest::writeFile(tmp.path() / "p.json", R"({"format": "zentrim-project", "version": 1,
      "activeItem": "Use 1", "items": [
        {"type": "solid", "name": "Red", "width": 12, "height": 8, "color": [1, 0, 0, 1]},
        {"type": "comp", "name": "P", "width": 64, "height": 48, "frameRate": 10, "duration": 1,
         "layers": [{"name": "Box", "source": "Red", "position": [30, 20, 0]}]},
        {"type": "comp", "name": "Use 1", "width": 80, "height": 60, "frameRate": 10, "duration": 1,
         "layers": [{"name": "A", "source": "P", "selected": true}]},
        {"type": "comp", "name": "use_1", "width": 80, "height": 60, "frameRate": 10, "duration": 1,
         "layers": [{"name": "B", "source": "P"}]}]})");
    fs::path render = tmp.path() / "render";
    Outcome o = simtest::runHost(
        {"run", (tmp.path() / "p.json").string(), "--render", render.string(), "--json"},
        tmp.path() / "cap");
    ASSERT_EQ(o.status, 0) << o.err;
    std::vector<std::string> listed = parsed(o)["pictures"];
    EXPECT_EQ(listed, (std::vector<std::string>{"P-before.png", "P-after.png", "Use_1-before.png",
                                                "Use_1-after.png", "use_1-2-before.png",
                                                "use_1-2-after.png"}));
    for (const std::string& name : listed)
        EXPECT_TRUE(fs::is_regular_file(render / name)) << name;
    EXPECT_EQ(std::distance(fs::directory_iterator(render), fs::directory_iterator()), 6);
}

TEST(RunPlugin, ANameWithoutAFolderIsTheFileInTheCurrentFolder) {
    simtest::TempFolder tmp("plugin-name");
    fs::copy_file(ZENTRIM_PLUGIN_MODULE, tmp.path() / "Zentrim.so");
    Outcome here = simtest::runHost({"run", kExamples + "basic.json", "--plugin", "Zentrim.so"},
                                    tmp.path() / "cap", 120, tmp.path());
    EXPECT_EQ(here.status, 0) << here.err;
    // The loader would find this one on its library path; as a file name it is not here.
    Outcome library = simtest::runHost({"run", kExamples + "basic.json", "--plugin", "libc.so.6"},
                                       tmp.path() / "cap", 120, tmp.path());
    EXPECT_EQ(library.status, 2);
    EXPECT_NE(library.err.find("--plugin: ./libc.so.6: cannot load the plug-in module"),
              std::string::npos)
        << library.err;
}

TEST(RunErrors, WithJsonAnErrorIsAJsonObjectOnStdoutToo) {
    simtest::TempFolder tmp("json-errors");
    struct Case {
        std::vector<std::string> args;
        const char* fragment;
    } cases[] = {
        {{"run", (tmp.path() / "missing.json").string(), "--json"}, "cannot open the project file"},
        {{"run", kExamples + "basic.json", "--json", "--keys", "alt"}, "--keys"},
        {{"run", "--json"}, "project"},
    };
    for (const Case& c : cases) {
        Outcome o = simtest::runHost(c.args, tmp.path() / "cap");
        EXPECT_EQ(o.status, 2);
        Json error = parsed(o);
        EXPECT_EQ(error["error"], "bad input");
        EXPECT_EQ(error["status"], 2);
        std::string message = error["message"];
        EXPECT_NE(message.find(c.fragment), std::string::npos) << message;
        EXPECT_EQ(o.err, "zentrim-host: " + message + "\n") << "the same message on stderr";
    }
}

TEST(RunHelp, ListsTheExitStatuses) {
    simtest::TempFolder tmp("help");
    for (std::vector<std::string> args :
         {std::vector<std::string>{"--help"}, {"run", "--help"}, {"render", "--help"}}) {
        Outcome o = simtest::runHost(args, tmp.path() / "cap");
        EXPECT_EQ(o.status, 0);
        for (const char* status :
             {"Exit status: 0 the command ran", "; 1 the plug-in returned an error",
              "; 2 bad input", "; 3 the host itself failed"})
            EXPECT_NE(o.out.find(status), std::string::npos) << status << "\n" << o.out;
    }
}

// zentrim-host models lists every question of the host model with its values, the default first;
// a run under alternatives names them in its report.
TEST(Models, ListEveryKeyWithItsValuesAndARunNamesTheAlternativesItPlayed) {
    simtest::TempFolder tmp("models");
    Outcome o = simtest::runHost({"models", "--json"}, tmp.path() / "cap");
    ASSERT_EQ(o.status, 0) << o.err;
    const Json expected = Json::parse(R"([
      {"key": "resize-uses", "values": ["proportional", "unchanged"], "default": "proportional"},
      {"key": "resize-children", "values": ["unchanged", "proportional"], "default": "unchanged"},
      {"key": "vertex0", "values": ["independent", "coupled"], "default": "independent"},
      {"key": "render-downsample", "values": ["preview", "full"], "default": "preview"},
      {"key": "float-as-long", "values": ["truncate", "zero"], "default": "truncate"},
      {"key": "script-error", "values": ["error", "silent"], "default": "error"}])");
    EXPECT_EQ(parsed(o), expected);
    Outcome text = simtest::runHost({"models"}, tmp.path() / "cap");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("  vertex0: independent (default) | coupled\n"), std::string::npos)
        << text.out;

    Outcome run = simtest::runHost(
        {"run", kExamples + "basic.json", "--json", "--host-model", "script-error=silent",
         "--host-model", "vertex0=coupled", "--host-model", "script-error=error"},
        tmp.path() / "cap");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(parsed(run)["hostModel"], Json::parse(R"(["vertex0=coupled"])"))
        << "the last setting of a key wins; defaults are not listed";
}
}  // namespace
