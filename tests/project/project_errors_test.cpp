// The project file's checks: each bad input is refused with the field's path and what was expected.
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ProjectFile.h"
#include "TempDir.h"

namespace {

using Json = nlohmann::ordered_json;

// items: [0] folder, [1] solid "Red", [2] comp "Pre", [3] comp "Main" (layers Pre, Red).
Json validProject() {
    return Json::parse(R"({
      "format": "zentrim-project", "version": 1, "bitsPerChannel": 8,
      "activeItem": "Main", "selectedItems": [],
      "items": [
        {"type": "folder", "name": "Folder"},
        {"type": "solid", "name": "Red", "folder": "Folder", "width": 200, "height": 100,
         "color": [1, 0, 0, 1]},
        {"type": "comp", "name": "Pre", "width": 400, "height": 300, "frameRate": 30,
         "duration": 10, "layers": [{"name": "Red", "source": "Red"}]},
        {"type": "comp", "name": "Main", "width": 1920, "height": 1080, "frameRate": 30,
         "duration": 10, "layers": [
           {"name": "Pre", "source": "Pre",
            "position": {"keyframes": [{"time": 0, "value": [0, 0]},
                                       {"time": 1, "value": [10, 10]}]}},
           {"name": "Red", "source": "Red",
            "masks": [{"name": "M", "path": {"vertices": [[0, 0], [1, 0], [1, 1]],
                                             "inTangents": [[0, 0], [0, 0], [0, 0]],
                                             "outTangents": [[0, 0], [0, 0], [0, 0]]}}]}]}
      ]})");
}

std::string errorFor(const std::string& text, const std::string& baseDir = "") {
    try {
        sim::parseProject(text, "bad.json", baseDir);
    } catch (const sim::ProjectError& error) {
        return error.what();
    }
    return "(accepted)";
}

struct BadCase {
    const char* name;
    std::function<void(Json&)> change;
    std::string message;
};

// Shorthands into validProject().
Json& main(Json& p) {
    return p["items"][3];
}
Json& preLayer(Json& p) {
    return main(p)["layers"][0];
}
Json& redLayer(Json& p) {
    return main(p)["layers"][1];
}
Json& maskPath(Json& p) {
    return redLayer(p)["masks"][0]["path"];
}

const BadCase kBadCases[] = {
    // The envelope
    {"BadFormat", [](Json& p) { p["format"] = "other"; },
     R"(bad.json: format: expected "zentrim-project", got "other")"},
    {"BadVersion", [](Json& p) { p["version"] = 2; }, "bad.json: version: expected 1, got 2"},
    {"BadDepth", [](Json& p) { p["bitsPerChannel"] = 10; },
     "bad.json: bitsPerChannel: expected 8, 16 or 32, got 10"},
    // Fields and types
    {"UnknownItemField",
     [](Json& p) {
         p["items"][1]["colour"] = Json::array({1, 0, 0});
     },
     "bad.json: items[1].colour: unknown field; expected one of type, name, id, folder, width, "
     "height, color"},
    {"WrongType", [](Json& p) { p["items"][1]["width"] = "200"; },
     R"(bad.json: items[1].width: expected a whole number from 1 to 30000, got "200")"},
    {"SizeZero", [](Json& p) { p["items"][1]["width"] = 0; },
     "bad.json: items[1].width: expected a whole number from 1 to 30000, got 0"},
    {"SizeNegative", [](Json& p) { main(p)["height"] = -1; },
     "bad.json: items[3].height: expected a whole number from 1 to 30000, got -1"},
    {"SizeTooLarge", [](Json& p) { main(p)["height"] = 30001; },
     "bad.json: items[3].height: expected a whole number from 1 to 30000, got 30001"},
    {"MissingField", [](Json& p) { main(p).erase("frameRate"); },
     "bad.json: items[3].frameRate: missing; this field is required"},
    {"FrameRateZero", [](Json& p) { main(p)["frameRate"] = 0; },
     "bad.json: items[3].frameRate: expected a number of frames per second from 1 to 999, got 0"},
    // The host's limits
    {"FrameRateTiny", [](Json& p) { main(p)["frameRate"] = 1e-300; },
     "bad.json: items[3].frameRate: expected a number of frames per second from 1 to 999, got "
     "1e-300"},
    {"FrameRateAboveTheHost", [](Json& p) { main(p)["frameRate"] = 1000; },
     "bad.json: items[3].frameRate: expected a number of frames per second from 1 to 999, got "
     "1000"},
    {"CurrentTimeAfterTheDuration", [](Json& p) { main(p)["currentTime"] = 11; },
     "bad.json: items[3].currentTime: expected a time from 0 to the duration (10), got 11"},
    {"CurrentTimeNegative", [](Json& p) { main(p)["currentTime"] = "-1/30"; },
     "bad.json: items[3].currentTime: expected a time from 0 to the duration (10), got "
     "\"-1/30\""},
    {"TimeTheHostCannotHold", [](Json& p) { redLayer(p)["startTime"] = "1/8589934592"; },
     "bad.json: items[3].layers[1].startTime: expected a time the host can hold (a fraction whose "
     "numerator and denominator fit 32 bits), got \"1/8589934592\" (1/8589934592)"},
    {"HugePosition",
     [](Json& p) {
         redLayer(p)["position"] = Json::array({1e300, 0});
     },
     "bad.json: items[3].layers[1].position[0]: expected a number from -10000000 to 10000000, got "
     "1e+300"},
    // Mask points may lie anywhere a double reaches (a mask drawn far outside the frame); only
    // what is no number is refused.
    {"MaskVertexNotANumber", [](Json& p) { maskPath(p)["vertices"][1][1] = "far"; },
     "bad.json: items[3].layers[1].masks[0].path.vertices[1][1]: expected a finite number, got "
     "\"far\""},
    {"HugeScaleKeyframe",
     [](Json& p) {
         redLayer(p)["scale"] =
             Json::parse(R"({"keyframes": [{"time": 0, "value": [1e20, 100]}]})");
     },
     "bad.json: items[3].layers[1].scale.keyframes[0].value[0]: expected a number from -10000000 "
     "to 10000000, got 1e+20"},
    {"UnknownItemType", [](Json& p) { p["items"][0]["type"] = "bin"; },
     R"(bad.json: items[0].type: expected "folder", "solid", "image", "comp" or "null", got "bin")"},
    {"BadTimeString", [](Json& p) { main(p)["duration"] = "3/0"; },
     "bad.json: items[3].duration: expected a time: seconds as a number or an exact fraction "
     R"(such as "45/30", got "3/0")"},
    {"TimeOutOfRange", [](Json& p) { main(p)["currentTime"] = 1e12; },
     "bad.json: items[3].currentTime: expected a time from -10000000 to 10000000 seconds, got "
     "1000000000000.0"},
    {"OutBeforeIn", [](Json& p) { redLayer(p)["inPoint"] = 4, redLayer(p)["outPoint"] = "7/2"; },
     "bad.json: items[3].layers[1].outPoint: expected a time after the in point (4), got "
     "\"7/2\""},
    {"ShortVector", [](Json& p) { redLayer(p)["position"] = Json::array({1}); },
     "bad.json: items[3].layers[1].position: expected [x, y] or [x, y, z], got an array [1]"},
    {"OpacityTooHigh", [](Json& p) { redLayer(p)["opacity"] = 150; },
     "bad.json: items[3].layers[1].opacity: expected a number from 0 to 100, got 150"},
    {"BadMaskMode", [](Json& p) { redLayer(p)["masks"][0]["mode"] = "multiply"; },
     "bad.json: items[3].layers[1].masks[0].mode: expected \"none\", \"add\", \"subtract\" or "
     "\"intersect\", got \"multiply\""},
    // References
    {"DanglingSource", [](Json& p) { redLayer(p)["source"] = "Blue"; },
     "bad.json: items[3].layers[1].source: expected the id or name of a solid, image, comp or "
     "null item, got \"Blue\" (no item has this id or name)"},
    {"MissingSource", [](Json& p) { redLayer(p).erase("source"); },
     "bad.json: items[3].layers[1].source: missing; an av layer needs a source"},
    {"FolderAsSource", [](Json& p) { redLayer(p)["source"] = "Folder"; },
     "bad.json: items[3].layers[1].source: expected the id or name of a solid, image, comp or "
     "null item, got \"Folder\" (a folder)"},
    {"CameraWithSource", [](Json& p) { redLayer(p)["kind"] = "camera"; },
     "bad.json: items[3].layers[1].source: expected null (a camera layer has no source), got "
     "\"Red\""},
    {"DanglingFolder", [](Json& p) { p["items"][1]["folder"] = "Nope"; },
     "bad.json: items[1].folder: expected null or the id or name of a folder item, got \"Nope\" "
     "(no item has this id or name)"},
    {"FolderNotAFolder", [](Json& p) { p["items"][1]["folder"] = "Pre"; },
     "bad.json: items[1].folder: expected null or the id or name of a folder item, got \"Pre\" "
     "(a comp item)"},
    {"DanglingActiveItem", [](Json& p) { p["activeItem"] = "Gone"; },
     "bad.json: activeItem: expected null or the id or name of an item, got \"Gone\" (no item has "
     "this id or name)"},
    {"DanglingSelection",
     [](Json& p) {
         p["selectedItems"] = Json::array({"Pre", "Gone"});
     },
     "bad.json: selectedItems[1]: expected the id or name of an item, got \"Gone\" (no item has "
     "this id or name)"},
    {"SelectedTwice",
     [](Json& p) {
         p["selectedItems"] = Json::array({"Pre", "Pre"});
     },
     "bad.json: selectedItems[1]: expected each item listed once, got \"Pre\" (also "
     "selectedItems[0])"},
    {"DuplicateNames", [](Json& p) { p["items"][2]["name"] = "Red"; },
     "bad.json: items[2].name: expected a name no other item has, or an \"id\", got \"Red\" (also "
     "the name or id of items[1])"},
    {"IdClashesWithName", [](Json& p) { p["items"][2]["id"] = "Main"; },
     "bad.json: items[3].name: expected a name no other item has, or an \"id\", got \"Main\" "
     "(also the name or id of items[2])"},
    {"ParentOutOfRange", [](Json& p) { preLayer(p)["parent"] = 2; },
     "bad.json: items[3].layers[0].parent: expected null or a layer index from 0 to 1, got 2"},
    {"SelfParent", [](Json& p) { preLayer(p)["parent"] = 0; },
     "bad.json: items[3].layers[0].parent: expected the index of another layer, got 0 (the layer "
     "itself)"},
    // Cycles
    {"ParentCycle", [](Json& p) { preLayer(p)["parent"] = 1, redLayer(p)["parent"] = 0; },
     "bad.json: items[3].layers[0].parent: expected a parent that is not this layer's own child, "
     "got a cycle layers[0] -> layers[1] -> layers[0]"},
    {"FolderInItself", [](Json& p) { p["items"][0]["folder"] = "Folder"; },
     "bad.json: items[0].folder: expected a folder that is not inside this item, got a cycle "
     "\"Folder\" -> \"Folder\""},
    {"CompInItself", [](Json& p) { redLayer(p)["source"] = "Main"; },
     "bad.json: items[3].layers[1].source: expected a comp that does not contain this one, got a "
     "cycle \"Main\" -> \"Main\""},
    {"CompCycle",
     [](Json& p) {
         p["items"][2]["layers"].push_back({{"name", "Main"}, {"source", "Main"}});
     },
     "bad.json: items[3].layers[0].source: expected a comp that does not contain this one, got a "
     "cycle \"Pre\" -> \"Main\" -> \"Pre\""},
    // Masks and keyframes
    {"UnequalMaskArrays", [](Json& p) { maskPath(p)["inTangents"].erase(2); },
     "bad.json: items[3].layers[1].masks[0].path.inTangents: expected one point per vertex (3), "
     "got 2 points"},
    {"KeyframesNotIncreasing", [](Json& p) { preLayer(p)["position"]["keyframes"][1]["time"] = 0; },
     "bad.json: items[3].layers[0].position.keyframes[1].time: expected a time later than "
     "keyframes[0] (0), got 0"},
    {"NoKeyframes", [](Json& p) { preLayer(p)["position"]["keyframes"] = Json::array(); },
     "bad.json: items[3].layers[0].position.keyframes: expected a non-empty array of keyframes, "
     "got an empty array"},
    {"BadInterpolation", [](Json& p) { preLayer(p)["position"]["keyframes"][0]["out"] = "ease"; },
     "bad.json: items[3].layers[0].position.keyframes[0].out: expected \"linear\", \"hold\" or "
     "\"bezier\", got \"ease\""},
    {"UnknownKeyframeField", [](Json& p) { preLayer(p)["position"]["keyframes"][0]["speed"] = 1; },
     "bad.json: items[3].layers[0].position.keyframes[0].speed: unknown field; expected one of "
     "time, value, in, out"},
};

class BadProject : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadProject, IsRefusedWithFieldPathAndExpectation) {
    Json project = validProject();
    GetParam().change(project);
    EXPECT_EQ(errorFor(project.dump()), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(ProjectErrors, BadProject, ::testing::ValuesIn(kBadCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(ProjectErrors, TheValidBaseIsAccepted) {
    EXPECT_EQ(errorFor(validProject().dump()), "(accepted)");
}

TEST(ProjectErrors, AnIdTellsItemsWithTheSameNameApart) {
    Json p = validProject();
    p["items"][2]["name"] = "Red";
    p["items"][2]["id"] = "red-comp";
    main(p)["layers"][0]["source"] = "red-comp";
    sim::Project project = sim::parseProject(p.dump(), "ok.json", "");
    EXPECT_EQ(project.items[3].comp.layers[0].source, project.items[2].id);
    EXPECT_EQ(project.items[3].comp.layers[1].source, project.items[1].id);
}

TEST(ProjectErrors, TextThatIsNotJson) {
    EXPECT_EQ(errorFor("{\"format\": ").rfind("bad.json: not valid JSON (byte 12): ", 0), 0u)
        << errorFor("{\"format\": ");
    EXPECT_EQ(errorFor("[1e400]"), "bad.json: not valid JSON: number overflow parsing '1e400'");
    EXPECT_EQ(errorFor("[]"), "bad.json: expected a project object, got an empty array");
}

TEST(ProjectErrors, TextTheParserMustNotSeeIsRefusedFirst) {
    // 100,000 levels of arrays crashed the reader once (the describing of the value recursed).
    std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(errorFor(deep),
              "bad.json: [0][0][0][0][0][0][0][0][0][0][0][0]...[0][0][0][0][0][0]: expected at "
              "most 64 levels of nested arrays and objects, got more (byte 64)");
    Json p = validProject();
    redLayer(p)["name"] =
        "R\xC3\xA9"
        "d";  // UTF-8 is fine
    EXPECT_EQ(errorFor(p.dump()), "(accepted)");
    std::string latin1 = p.dump();
    latin1.replace(latin1.find("R\xC3\xA9"
                               "d"),
                   4,
                   "R\xE9"
                   "d");
    EXPECT_EQ(errorFor(latin1).rfind("bad.json: items[3].layers[1].name: expected UTF-8 text, got "
                                     "the byte 0xE9 (byte ",
                                     0),
              0u)
        << errorFor(latin1);
}

TEST(ProjectErrors, AFieldGivenTwiceIsRefused) {
    EXPECT_EQ(errorFor(R"({"items": [{"type": "folder", "name": "A", "name": "B"}]})"),
              "bad.json: items[0].name: this field appears twice in the same object");
}

TEST(ProjectErrors, MissingImageFileNamesTheImage) {
    TempDir tmp;
    Json p = validProject();
    p["items"].push_back({{"type", "image"}, {"name", "Logo"}, {"path", "nope.png"}});
    EXPECT_EQ(errorFor(p.dump(), tmp.dir()),
              "bad.json: items[4].path: expected a readable PNG image, got \"nope.png\" (" +
                  tmp.file("nope.png") + ": cannot open the image: No such file or directory)");
}

TEST(ProjectErrors, MissingProjectFile) {
    TempDir tmp;
    try {
        sim::loadProject(tmp.file("absent.json"));
        FAIL() << "loaded a missing file";
    } catch (const sim::ProjectError& error) {
        EXPECT_EQ(
            std::string(error.what()),
            tmp.file("absent.json") + ": cannot open the project file: No such file or directory");
    }
}

}  // namespace
