// docs/dialogs.md tells --ui authors every dialog's controls: each listing there must be what the
// simulated user meets when the plug-in's script (or the panel) shows that window.
#include <fstream>
#include <sstream>

#include "Crop_Scripts.h"
#include "ProjectFile.h"
#include "ScriptFixture.h"
#include "Zentrim_Scripts.h"

namespace sim::testing {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The listings a person at the terminal is shown, in order, without the base indentation.
std::vector<std::string> listingsShown(const std::string& terminalText) {
    std::vector<std::string> found;
    const std::string open = " is open:\n", end = "Type one action";
    for (size_t at = terminalText.find(open); at != std::string::npos;
         at = terminalText.find(open, at + 1)) {
        size_t begin = at + open.size(), stop = terminalText.find(end, begin);
        std::istringstream lines(terminalText.substr(begin, stop - begin));
        std::string line, block;
        while (std::getline(lines, line))
            block += (line.rfind("  ", 0) == 0 ? line.substr(2) : line) + "\n";
        found.push_back(block);
    }
    return found;
}

class DialogsDocTest : public ::testing::Test {
  protected:
    // What the terminal lists when `script` runs and the person types `typed`.
    std::vector<std::string> listings(const std::string& script, const std::string& typed,
                                      bool docked = false) {
        std::istringstream in(typed);
        std::ostringstream out;
        auto user = std::make_shared<SimulatedUser>();
        user->answers.askOnTerminal = true;
        ScriptOptions options;
        options.terminalIn = &in;
        options.terminalOut = &out;
        auto scripting = startScripting(host, user, options);
        ScriptOutcome o = docked ? scripting->runDocked(script, "Zentrim Panel")
                                 : host.platform().scriptRunner(script);
        EXPECT_TRUE(o.ok) << o.error;
        if (docked) scripting->workIn("Zentrim Panel", [] {});
        return listingsShown(out.str());
    }

    void expectDocumented(const std::string& title, const std::string& listing) {
        static const std::string doc =
            readFile(std::string(ZENTRIM_SOURCE_DIR) + "/docs/dialogs.md");
        EXPECT_NE(doc.find("```text\n" + listing + "```"), std::string::npos)
            << "docs/dialogs.md lacks the listing of \"" << title << "\":\n"
            << listing;
    }

    Host host;
};

TEST_F(DialogsDocTest, ThePlugInsDialogsAreListedAsShown) {
    std::vector<std::string> prefs =
        listings(kPreferencesDialog, "click Panel\nclose\nclick Cancel\n");
    ASSERT_EQ(prefs.size(), 2u);
    expectDocumented("Zentrim Preferences", prefs[0]);
    expectDocumented("Zentrim Panel Preferences", prefs[1]);

    std::string lowRes(std::string(crop::kLowResolutionDialogFormat).size() + 8, '\0');
    std::snprintf(&lowRes[0], lowRes.size(), crop::kLowResolutionDialogFormat, "half");
    std::vector<std::string> low = listings(lowRes.c_str(), "click Fast\n");
    ASSERT_EQ(low.size(), 1u);
    expectDocumented("Low Resolution", low[0]);

    std::vector<std::string> threeD = listings(crop::kThreeDDialog, "click No\n");
    ASSERT_EQ(threeD.size(), 1u);
    expectDocumented("3D Layers", threeD[0]);

    host.project() = parseProject(R"({"format": "zentrim-project", "version": 1,
        "activeItem": "Main", "items": [
        {"type": "solid", "name": "S", "width": 4, "height": 4, "color": [1, 0, 0, 1]},
        {"type": "comp", "name": "Main", "width": 8, "height": 8, "frameRate": 30, "duration": 1,
         "layers": [{"name": "L", "source": "S", "selected": true, "masks": [
           {"name": "Mask 1", "path": {"vertices": [], "inTangents": [], "outTangents": []}},
           {"name": "Mask 2", "path": {"vertices": [], "inTangents": [], "outTangents": []}}]}]}]})",
                                  "doc.json", ".");
    std::vector<std::string> mask = listings(crop::kChooseMaskDialog, "click Cancel\n");
    ASSERT_EQ(mask.size(), 1u);
    expectDocumented("Choose Mask", mask[0]);
}

TEST_F(DialogsDocTest, ThePanelIsListedWithEverythingShown) {
    host.prefs().set(
        "Zentrim", "PanelDisplay",
        std::string("DELETE_MASK,PADDING,EXPAND,INCLUDE_MASKS,RESOLUTION,PRE_COMPOSE"));
    std::vector<std::string> panel = listings(
        readFile(std::string(ZENTRIM_SOURCE_DIR) + "/panel/Zentrim Panel.jsx"), "done\n", true);
    ASSERT_EQ(panel.size(), 1u);
    expectDocumented("Zentrim Panel", panel[0]);
}

}  // namespace
}  // namespace sim::testing
