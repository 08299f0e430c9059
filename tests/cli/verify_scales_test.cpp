// --verify is to be trusted on everyday projects, through the built program: the use of
// examples/basic.json at scales from 10 % to 200 % and at several rotations, cropped and verified,
// never reports pixels that moved or were cut; every example and every golden case with its uses
// at the table's scales likewise; and the deliberately broken modules are still caught at every
// scale.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

const fs::path kSource = ZENTRIM_SOURCE_DIR;

const int kScales[] = {10, 25, 33, 50, 70, 75, 90, 100, 110, 125, 150, 175, 200};
const double kRotations[] = {0, 30, 90, -45};

Json readJson(const fs::path& path) {
    std::ifstream in(path);
    return Json::parse(in);
}

// Multiplies x and y of a static or keyframed 3D value by `factor`, or adds `offset` to a static or
// keyframed number; an absent stream starts from its default.
void scaleStream(Json& layer, const char* key, double factor) {
    if (!layer.contains(key)) layer[key] = Json::array({100, 100, 100});
    auto scaled = [factor](Json& v) {
        v[0] = v[0].get<double>() * factor;
        v[1] = v[1].get<double>() * factor;
    };
    if (layer[key].is_array())
        scaled(layer[key]);
    else
        for (Json& k : layer[key]["keyframes"])
            scaled(k["value"]);
}
void turnStream(Json& layer, const char* key, double degrees) {
    if (!layer.contains(key)) layer[key] = 0;
    if (layer[key].is_number())
        layer[key] = layer[key].get<double>() + degrees;
    else
        for (Json& k : layer[key]["keyframes"])
            k["value"] = k["value"].get<double>() + degrees;
}

// The project with every layer that shows a composition scaled by `percent` and turned by
// `degrees` more, written into `folder` (footage paths made absolute so that they still resolve).
fs::path withUsesAt(const fs::path& project, double percent, double degrees,
                    const fs::path& folder) {
    Json p = readJson(project);
    std::set<std::string> comps;
    for (Json& item : p["items"]) {
        if (item["type"] == "comp") {
            comps.insert(item["name"].get<std::string>());
            if (item.contains("id")) comps.insert(item["id"].dump());
        }
        if (item["type"] == "image" && fs::path(item["path"].get<std::string>()).is_relative())
            item["path"] = (project.parent_path() / item["path"].get<std::string>()).string();
    }
    for (Json& item : p["items"]) {
        if (item["type"] != "comp") continue;
        for (Json& layer : item["layers"]) {
            if (!layer.contains("source")) continue;
            const Json& source = layer["source"];
            if (!comps.count(source.is_string() ? source.get<std::string>() : source.dump()))
                continue;
            scaleStream(layer, "scale", percent / 100);
            turnStream(layer, "rotation", degrees);
        }
    }
    fs::path out = folder / project.filename();
    std::ofstream(out) << p.dump(1);
    return out;
}

struct Case {
    std::string name;
    fs::path project;
    std::vector<std::string> args;  // keys and answers
    int status = 0;                 // the exit status the case has
};

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

// Every example with the crops it is made for, and every golden case with its arguments.
std::vector<Case> everyCase() {
    std::vector<Case> cases;
    const std::vector<std::pair<std::string, const char*>> examples = {
        {"basic", "none"}, {"low-resolution", "none"}, {"low-resolution", "cmd"},
        {"masks", "none"}, {"masks", "shift+cmd"},     {"moving", "none"},
        {"moving", "cmd"}, {"moving", "shift+cmd"},    {"three-d", "none"},
    };
    for (const auto& [name, keys] : examples) {
        Case c{name + " --keys " + keys, kSource / "examples" / (name + ".json"), {"--keys", keys}};
        fs::path ui = kSource / "examples" / (name + ".ui.json");
        if (fs::exists(ui)) c.args.insert(c.args.end(), {"--ui", ui.string()});
        cases.push_back(c);
    }
    for (const auto& entry : fs::directory_iterator(kSource / "tests" / "golden")) {
        if (!fs::exists(entry.path() / "args")) continue;
        Case c{"golden " + entry.path().filename().string(), entry.path() / "project.json",
               words(simtest::readFile(entry.path() / "args"))};
        if (fs::exists(entry.path() / "ui.json"))
            c.args.insert(c.args.end(), {"--ui", (entry.path() / "ui.json").string()});
        c.status = std::stoi(simtest::readFile(entry.path() / "ref" / "exit"));
        cases.push_back(c);
    }
    return cases;
}

Json verifyOf(const Outcome& o) {
    return simtest::parsedJson(o).value("verify", Json::object());
}

Outcome verified(const fs::path& project, std::vector<std::string> args,
                 const simtest::TempFolder& tmp) {
    std::vector<std::string> all = {"run", project.string(), "--verify", "--json"};
    all.insert(all.end(), args.begin(), args.end());
    return simtest::runHost(all, tmp.path() / "cap");
}

class VerifyAtScale : public ::testing::TestWithParam<int> {};

TEST_P(VerifyAtScale, TheBasicUseAtEveryRotationNeverReportsMovedOrCutPixels) {
    const int scale = GetParam();
    simtest::TempFolder tmp("verify-scale");
    for (double rotation : kRotations) {
        SCOPED_TRACE("scale " + std::to_string(scale) + " %, rotation " + std::to_string(rotation));
        fs::path project =
            withUsesAt(kSource / "examples" / "basic.json", scale, rotation, tmp.path());
        Outcome o = verified(project, {}, tmp);
        Json v = verifyOf(o);
        EXPECT_EQ(o.status, 0) << v.dump(1) << o.err;
        EXPECT_EQ(v["differingPixels"], 0) << v["summary"];
        EXPECT_EQ(v["cutPixels"], 0) << v["summary"];
        EXPECT_GT(v["frames"].get<int>(), 0);
    }
}

TEST_P(VerifyAtScale, EveryExampleAndGoldenCaseNeverReportsMovedOrCutPixels) {
    const int scale = GetParam();
    simtest::TempFolder tmp("verify-scale-cases");
    std::set<std::string> seen;
    int compared = 0;
    for (const Case& c : everyCase()) {
        SCOPED_TRACE(c.name + " at " + std::to_string(scale) + " %");
        seen.insert(c.project.string());
        Outcome o = verified(withUsesAt(c.project, scale, 0, tmp.path()), c.args, tmp);
        Json v = verifyOf(o);
        EXPECT_EQ(o.status, c.status) << v.dump(1) << o.err;
        EXPECT_EQ(v["differingPixels"], 0) << v["summary"];
        EXPECT_EQ(v["cutPixels"], 0) << v["summary"];
        compared += v["frames"].get<int>() > 0;
    }
    EXPECT_GE(compared, 12) << "the cases should crop compositions that others show";
    for (const auto& entry : fs::directory_iterator(kSource / "examples")) {
        std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".json" || file.find(".ui.json") != std::string::npos)
            continue;
        EXPECT_TRUE(seen.count(entry.path().string())) << "not verified: " << file;
    }
}

TEST_P(VerifyAtScale, TheDeliberatelyBrokenModulesAreStillCaught) {
    const int scale = GetParam();
    simtest::TempFolder tmp("verify-scale-broken");
    fs::path project = withUsesAt(kSource / "examples" / "basic.json", scale, 0, tmp.path());
    Outcome moved = verified(project, {"--plugin", ZENTRIM_BROKEN_MODULE}, tmp);
    EXPECT_EQ(moved.status, 1);
    EXPECT_GT(verifyOf(moved)["differingPixels"].get<long>(), 0) << "a use one pixel off moves";
    Outcome cut = verified(project, {"--plugin", ZENTRIM_CUTTING_MODULE}, tmp);
    EXPECT_EQ(cut.status, 1);
    EXPECT_GT(verifyOf(cut)["cutPixels"].get<long>(), 0) << "a column short is cut";
}

INSTANTIATE_TEST_SUITE_P(Scales, VerifyAtScale, ::testing::ValuesIn(kScales),
                         [](const ::testing::TestParamInfo<int>& scaleParam) {
                             return "percent_" + std::to_string(scaleParam.param);
                         });

}  // namespace
