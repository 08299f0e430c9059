// A crop whose size the host cannot take, through the built program: a huge padding from the
// preferences file, or a mask far outside the frame (also with "DeleteMask" on), ends with the
// plug-in's alert and exit status 0, and the project written afterwards is the project read.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "HostProcess.h"
#include "ProjectFile.h"

namespace {

using Json = nlohmann::json;

// P (400 x 300) with a red box, used by the selected layer "Use" of Main, which may carry masks.
std::string project(const std::string& useMasks) {
    return R"({"format": "zentrim-project", "version": 1, "bitsPerChannel": 8, "activeItem": "Main",
 "items": [
  {"type": "solid", "name": "Red", "width": 60, "height": 40, "color": [1, 0, 0, 1]},
  {"type": "comp", "name": "P", "width": 400, "height": 300, "frameRate": 30, "duration": 2,
   "layers": [{"name": "Box", "source": "Red", "position": [150, 120, 0]}]},
  {"type": "comp", "name": "Main", "width": 800, "height": 600, "frameRate": 30, "duration": 2,
   "layers": [{"name": "Use", "source": "P", "position": [400, 300, 0], "selected": true,
               "masks": [)" +
           useMasks + "]}]}]}";
}

const char* kFarMask = R"({"name": "Far", "path": {
    "vertices": [[-1e300, -1e300], [1e300, -1e300], [1e300, 1e300], [-1e300, 1e300]],
    "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]], "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}})";

TEST(RefusedCrop, HugePaddingOrAFarMaskEndsWithTheAlertAndTheProjectUnchanged) {
    struct Case {
        const char* what;
        std::string project, keys, prefs;
        const char* size;
    } cases[] = {
        {"PaddingAmount 1e12", project(""), "none",
         R"({"Zentrim": {"Padding": true, "PaddingAmount": 1e12}})", "4294967354 x 4294967334"},
        {"a mask at 1e300", project(kFarMask), "shift+cmd", "", "2e+300 x 2e+300"},
        {"a mask at 1e300, DeleteMask on", project(kFarMask), "shift+cmd",
         R"({"Zentrim": {"DeleteMask": true}})", "2e+300 x 2e+300"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        simtest::TempFolder dir("refused-crop");
        simtest::writeFile(dir.path() / "p.json", k.project);
        std::vector<std::string> args = {"run",   "p.json",   "--keys", k.keys,
                                         "--out", "out.json", "--json"};
        if (!k.prefs.empty()) {
            simtest::writeFile(dir.path() / "prefs.json", k.prefs);
            args.insert(args.end(), {"--prefs", "prefs.json"});
        }
        simtest::Outcome o = simtest::runHost(args, dir.path(), 120, dir.path());
        ASSERT_EQ(o.status, 0) << o.err;
        Json report = Json::parse(o.out);
        ASSERT_EQ(report["alerts"].size(), 1u);
        EXPECT_EQ(report["alerts"][0]["title"], "Size Out of Range");
        EXPECT_NE(report["alerts"][0]["text"].get<std::string>().find(
                      std::string("\"P\" would be ") + k.size + " pixels"),
                  std::string::npos)
            << report["alerts"][0]["text"];
        EXPECT_TRUE(report["resized"].empty());
        EXPECT_EQ(sim::describeDifference(sim::loadProject((dir.path() / "p.json").string()),
                                          sim::loadProject((dir.path() / "out.json").string())),
                  "");
    }
}

}  // namespace
