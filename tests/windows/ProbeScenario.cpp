// The Host Check as a Windows user runs it: loaded with LoadLibrary, its entry point called, its
// command chosen under the simulator's defaults and under one alternative; each time the report
// must be written and read back with every check as played, and the project left as it was.
#include "ProbeScenario.h"

#include <cstring>

#include "Checks.h"
#include "ProbeSession.h"
#include "ProjectFile.h"

namespace wintest {

namespace {

const char* const kProject = R"({
  "format": "zentrim-project", "version": 1, "bitsPerChannel": 8,
  "activeItem": "Main", "selectedItems": [],
  "items": [
    {"type": "folder", "name": "Precomps"},
    {"type": "solid", "name": "Red", "width": 200, "height": 100, "color": [0.9, 0.2, 0.1, 1]},
    {"type": "comp", "name": "Logo", "folder": "Precomps", "width": 640, "height": 360,
     "frameRate": 10, "duration": 1,
     "layers": [{"name": "Red", "source": "Red", "anchorPoint": [100, 50, 0],
                 "position": [450, 100, 0]}]},
    {"type": "comp", "name": "Main", "width": 640, "height": 360, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Logo", "source": "Logo", "selected": true,
                 "anchorPoint": [320, 180, 0], "position": [320, 180, 0]}]}
  ]
})";

void checkRun(Bench& b, const std::string& run, const char* played, const char* value) {
    b.host.project() = sim::parseProject(kProject, "windows-probe.json", "");
    sim::ProbeOutcome o = sim::runProbe(b.host, b.sandbox);
    check(o.found && o.enabled, run + ": the File menu has an enabled 'Zentrim Host Check'");
    check(o.result == A_Err_NONE, run + ": the command returns 0, got " + std::to_string(o.result));
    if (!check(o.report.has_value(), run + ": the report is read back: " + o.reportError)) return;
    check(o.reportPath == "~/Documents/Zentrim Host Check report.txt",
          run + ": the report is in the user's Documents folder, got " + o.reportPath);
    check(o.reportText.find("\r\n") != std::string::npos,
          run + ": the report has Windows line ends");
    check(o.report->checks.size() == 12, run + ": 12 checks");
    for (const sim::ProbeCheck& c : o.report->checks) {
        const std::string expected = *played && c.key == played ? value : c.simulated;
        check(c.matches == expected,
              run + ": " + c.name + " matches " + expected + ", got " + c.matches);
    }
    check(o.alerts.size() == 1 &&
              o.alerts[0].text.find("C:\\Users\\user\\Documents\\Zentrim Host Check report.txt") !=
                  std::string::npos,
          run + ": one alert names the report's place");
    check(o.projectDifference.empty(), run + ": the project is as it was: " + o.projectDifference);
    check(o.undoRestored, run + ": undoing its step leaves the project as it was");
    check(o.undoSteps.size() == 1 && o.undoSteps[0] == "Zentrim Host Check",
          run + ": one undo step, 'Zentrim Host Check'");
    check(o.prefsRestored, run + ": the preferences are as they were");
    check(o.leaks.empty(), run + ": nothing leaks");
}

}  // namespace

void runProbeScenario(Bench& b, const std::string& probePath) {
    HMODULE module = LoadLibraryA(probePath.c_str());
    if (!check(module != NULL, probePath + ": LoadLibrary")) return;
    FARPROC proc = GetProcAddress(module, "EntryPointFunc");
    if (!check(proc != NULL, probePath + ": EntryPointFunc exported under its plain name")) return;
    AEGP_PluginInitFunc entry = nullptr;
    std::memcpy(&entry, &proc, sizeof proc);
    AEGP_GlobalRefcon refcon = nullptr;
    A_Err err = entry(b.host.basicSuite(), 23, 0, 3, &refcon);
    if (!check(err == A_Err_NONE, probePath + ": the entry point returns 0")) return;
    const std::vector<sim::MenuEntry>& file = b.host.menus().entries[AEGP_Menu_FILE];
    check(file.size() >= 2 && file[file.size() - 2].name == "-" &&
              file.back().name == "Zentrim Host Check",
          probePath + ": the File menu ends with '-' and 'Zentrim Host Check'");

    checkRun(b, "Host Check", "", "");
    b.host.model().vertex0 = sim::HostModel::Vertex0::Coupled;
    checkRun(b, "Host Check, vertex0=coupled", "vertex0", "coupled");
    b.host.model() = sim::HostModel();
}

}  // namespace wintest
