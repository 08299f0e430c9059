// The user's steps with the loaded plug-in and what each must leave behind: a standard crop, crops
// over the duration with the progress window (a first run that fails in its setup, first and later
// runs, cancelled, without a window, without a main window), and a failed class registration in a
// second copy of the module.
#include "Scenarios.h"

#include <commctrl.h>

#include <cstring>

#include "Checks.h"
#include "HostWindow.h"
#include "ImportHooks.h"
#include "ProgressChecks.h"
#include "ProjectFile.h"
#include "Renderer.h"

namespace wintest {

namespace {

// A red solid off-centre in "Still"; the same solid moving down in "Moving" (10 frames at 10 fps,
// y from 100 to 280 in the frames rendered); both used, centred, in "Main".
std::string projectText(bool stillSelected) {
    std::string text = R"({
  "format": "zentrim-project", "version": 1, "bitsPerChannel": 8,
  "activeItem": "Main", "selectedItems": [],
  "items": [
    {"type": "solid", "name": "Red", "width": 200, "height": 100, "color": [0.9, 0.2, 0.1, 1]},
    {"type": "comp", "name": "Still", "width": 640, "height": 360, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Red", "source": "Red", "anchorPoint": [100, 50, 0],
                 "position": [450, 100, 0]}]},
    {"type": "comp", "name": "Moving", "width": 640, "height": 360, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Red", "source": "Red", "anchorPoint": [100, 50, 0],
                 "position": {"keyframes": [{"time": 0, "value": [450, 100, 0]},
                                            {"time": 1, "value": [450, 300, 0]}]}}]},
    {"type": "comp", "name": "Main", "width": 640, "height": 360, "frameRate": 10, "duration": 1,
     "layers": [
       {"name": "Still", "source": "Still", "selected": STILL,
        "anchorPoint": [320, 180, 0], "position": [320, 180, 0]},
       {"name": "Moving", "source": "Moving", "selected": MOVING,
        "anchorPoint": [320, 180, 0], "position": [320, 180, 0]}
     ]}
  ]
})";
    auto put = [&](const char* key, bool value) {
        text.replace(text.find(key), std::strlen(key), value ? "true" : "false");
    };
    put("STILL", stillSelected);
    put("MOVING", !stillSelected);
    return text;
}

const sim::Rational kSampleTimes[] = {sim::Rational(0), sim::Rational(1, 2), sim::Rational(9, 10)};

std::string num(long long v) {
    return std::to_string(v);
}

sim::Item& item(Bench& b, const char* name) {
    sim::Item* it = b.host.project().findItemByName(name);
    if (!it) throw std::runtime_error(std::string("no item ") + name);
    return *it;
}

bool sameWorld(const sim::World& a, const sim::World& b) {
    return a.width == b.width && a.height == b.height && a.data == b.data;
}

struct Renders {
    sim::World frames[3];
};

Renders renderMain(Bench& b) {
    Renders r;
    for (int i = 0; i < 3; ++i)
        r.frames[i] = sim::renderComp(b.host.project(), item(b, "Main").id, kSampleTimes[i], 1, 1);
    return r;
}

// A new project, the log and the recorders emptied, as before a user's command.
void freshProject(Bench& b, bool stillSelected) {
    b.host.project() = sim::parseProject(projectText(stillSelected), "windows-test.json", "");
    b.host.log().clear();
    b.host.events().resizes.clear();
    importLog().clear();
    b.frames = 0;
    b.onFrame = nullptr;
}

bool g_ctrl = false, g_shift = false;

bool holdKeys(Bench& b, bool ctrl, bool shift) {
    bool ok = true;
    if (ctrl != g_ctrl) ok = sendKey(b.workFolder, VK_CONTROL, ctrl) && ok;
    if (shift != g_shift) ok = sendKey(b.workFolder, VK_SHIFT, shift) && ok;
    g_ctrl = ctrl;
    g_shift = shift;
    return ok;
}

struct MenuState {
    std::string nameAfterIdle, name;
    bool enabled = false;
};

const sim::MenuEntry* entry(Bench& b, AEGP_Command command) {
    return b.host.menuEntry(command);
}

// The user's way to the command: the menu updates, the host idles with no key, the keys go down,
// the host idles (the mode switch), the user opens the Layer menu.
MenuState chooseMode(Bench& b, AEGP_Command command, bool ctrl, bool shift) {
    MenuState s;
    b.host.updateMenus();
    holdKeys(b, false, false);
    b.host.idle();
    check(holdKeys(b, ctrl, shift), "the keys reach the thread's key state");
    check((GetKeyState(VK_CONTROL) < 0) == ctrl && (GetKeyState(VK_SHIFT) < 0) == shift,
          "GetKeyState reports the held keys");
    b.host.idle();
    if (const sim::MenuEntry* e = entry(b, command)) s.nameAfterIdle = e->name;
    b.host.updateMenus();
    if (const sim::MenuEntry* e = entry(b, command)) {
        s.name = e->name;
        s.enabled = e->enabled;
    }
    return s;
}

// Nothing held, nothing left open, no protocol problem.
void checkClean(Bench& b, const std::string& run) {
    std::vector<std::string> leaks = b.host.handles().leaks();
    check(leaks.empty(), run + ": no leaked handle" + (leaks.empty() ? "" : " (" + leaks[0] + ")"));
    std::vector<std::string> suites = b.host.unbalancedSuites();
    check(suites.empty(),
          run + ": every suite released" + (suites.empty() ? "" : " (" + suites[0] + ")"));
    check(b.host.undoDepth() == 0, run + ": no undo group left open");
    std::vector<std::string> problems = b.host.log().problems();
    check(problems.empty(),
          run + ": no host problem" + (problems.empty() ? "" : " (" + problems[0] + ")"));
}

void checkSize(Bench& b, const std::string& run, const char* comp, int width, int height) {
    const sim::Item& it = item(b, comp);
    check(it.comp.width == width && it.comp.height == height,
          run + ": " + comp + " is " + num(it.comp.width) + "x" + num(it.comp.height) +
              ", expected " + num(width) + "x" + num(height));
}

void checkUnmoved(Bench& b, const std::string& run, const Renders& before) {
    Renders after = renderMain(b);
    for (int i = 0; i < 3; ++i)
        check(sameWorld(before.frames[i], after.frames[i]),
              run + ": Main looks the same at " + kSampleTimes[i].toString() + " s");
}

void checkLastUndo(Bench& b, const std::string& run, const char* name) {
    check(!b.host.undoSteps().empty() && b.host.undoSteps().back().name == name,
          run + ": undo step '" + name + "'");
}

RECT windowRect(HWND hwnd) {
    RECT r = {};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT workArea() {
    RECT r = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

void standardCrop(Bench& b, AEGP_Command command) {
    const std::string run = "standard crop";
    freshProject(b, true);
    Renders before = renderMain(b);
    MenuState m = chooseMode(b, command, false, false);
    check(m.name == "Zentrim" && m.enabled, run + ": menu shows 'Zentrim' enabled, got '" + m.name +
                                                "' " + (m.enabled ? "enabled" : "disabled"));
    check(b.host.doCommand(command) == A_Err_NONE, run + ": the command succeeds");
    checkSize(b, run, "Still", 200, 100);
    checkSize(b, run, "Moving", 640, 360);
    checkUnmoved(b, run, before);
    checkLastUndo(b, run, "Zentrim");
    check(importLog().windows.empty() && importLog().registrations.empty(),
          run + ": no progress window");
    checkClean(b, run);
}

// One crop over the duration of "Moving" with Ctrl held; checks the window at its first frame
// and the bar before every frame. Returns the label brush seen (null without a window).
HBRUSH durationCrop(Bench& b, AEGP_Command command, const std::string& run, HWND owner,
                    const RECT& area, bool expectWindow, bool screenshot = false) {
    freshProject(b, false);
    Renders before = renderMain(b);
    MenuState m = chooseMode(b, command, true, false);
    check(m.nameAfterIdle == "Zentrim Duration",
          run + ": holding Ctrl renames the command, got '" + m.nameAfterIdle + "'");
    check(m.name == "Zentrim Duration" && m.enabled, run + ": 'Zentrim Duration' is enabled");

    OpenWindow w;
    b.onFrame = [&](int frame) {
        if (frame == 0 && expectWindow) w = checkOpenedWindow(run, owner, area);
        if (!w.window) return;
        int expected = frame == 0 ? 0 : (frame - 1) * 10 + 1;
        check(barPosition(w) == expected, run + ": before frame " + num(frame) + " the bar is at " +
                                              num(barPosition(w)) + ", expected " + num(expected));
        if (frame == 5 && screenshot)
            check(requestScreenshot(b.workFolder, 30000), run + ": screenshot taken");
    };
    check(b.host.doCommand(command) == A_Err_NONE, run + ": the command succeeds");
    b.onFrame = nullptr;
    check(b.frames == 10,
          run + ": 10 frames measured (Ctrl alone does not cancel), got " + num(b.frames));
    if (w.window) check(!IsWindow(w.window), run + ": the window is closed at the end");
    checkSize(b, run, "Moving", 200, 280);
    checkUnmoved(b, run, before);
    checkLastUndo(b, run, "Zentrim Duration");
    checkClean(b, run);
    return w.labelBrush;
}

// The session's first duration run fails in its setup: it shows no window and registers nothing,
// so the window class is still registered by the next run that opens a window.
void failedSetupCrop(Bench& b, AEGP_Command command) {
    const std::string run = "duration crop that fails in its setup";
    freshProject(b, false);
    MenuState m = chooseMode(b, command, true, false);
    check(m.name == "Zentrim Duration" && m.enabled, run + ": 'Zentrim Duration' is enabled");
    b.host.log().faults.failName = "AEGP_NewFromItem";
    b.host.log().faults.error = 99;
    A_Err result = b.host.doCommand(command);
    b.host.log().faults = sim::FaultPlan{};
    check(result == 99, run + ": the host's error is returned, got " + num(result));
    check(importLog().registrations.empty() && importLog().windows.empty() &&
              importLog().messageBoxes.empty(),
          run + ": no window, no class registration, no message box");
    checkSize(b, run, "Moving", 640, 360);
    checkClean(b, run);
}

void cancelledCrop(Bench& b, AEGP_Command command) {
    const std::string run = "cancelled duration crop";
    freshProject(b, false);
    MenuState m = chooseMode(b, command, true, false);
    check(m.name == "Zentrim Duration" && m.enabled, run + ": 'Zentrim Duration' is enabled");
    HWND window = NULL;
    b.onFrame = [&](int frame) {
        if (frame == 0) {
            std::vector<WindowCreation> made = importLog().created("myWindowClass");
            if (!made.empty()) window = made.back().result;
        }
        // Shift joins Ctrl while frame 3 renders: the run stops once that frame is measured.
        if (frame == 3) check(holdKeys(b, true, true), run + ": Ctrl + Shift held");
    };
    check(b.host.doCommand(command) == A_Err_NONE, run + ": the command ends without error");
    b.onFrame = nullptr;
    holdKeys(b, true, false);
    check(b.frames == 4, run + ": stopped after frame 3, " + num(b.frames) + " frames rendered");
    check(window && !IsWindow(window), run + ": the window is closed");
    checkSize(b, run, "Moving", 640, 360);
    check(b.host.events().resizes.empty(), run + ": nothing resized");
    checkClean(b, run);
}

void noWindowCrop(Bench& b, AEGP_Command command) {
    const std::string run = "duration crop without a window";
    freshProject(b, false);
    chooseMode(b, command, true, false);
    importLog().failProgressWindow = true;
    check(b.host.doCommand(command) == A_Err_NONE, run + ": the command succeeds");
    const std::vector<MessageBoxCall>& boxes = importLog().messageBoxes;
    if (check(boxes.size() == 1, run + ": one message box, got " + num(boxes.size()))) {
        check(boxes[0].owner == b.mainWindow, run + ": owned by the main window");
        check(boxes[0].text == "Error 138" && boxes[0].caption == "Zentrim Error",
              run + ": 'Error 138' / 'Zentrim Error', got '" + boxes[0].text + "' / '" +
                  boxes[0].caption + "'");
        check(boxes[0].type == MB_ICONWARNING, run + ": warning icon");
    }
    check(b.frames == 10, run + ": every frame measured");
    checkSize(b, run, "Moving", 200, 280);
    checkClean(b, run);
}

void failedRegistration(Bench& b) {
    const std::string run = "second module, failed class registration";
    // A second copy of the module has its own globals: its next duration run is its first.
    std::string copy = b.workFolder + "/Zentrim-second.aex";
    if (!check(CopyFileA(b.pluginPath.c_str(), copy.c_str(), FALSE) != 0, run + ": module copied"))
        return;
    LoadedPlugin second;
    if (!loadPlugin(b, copy, 2, &second)) return;
    const std::vector<sim::MenuEntry>& layerMenu = b.host.menus().entries[AEGP_Menu_LAYER];
    AEGP_Command command = layerMenu.back().command;

    freshProject(b, false);
    MenuState m = chooseMode(b, command, true, false);
    check(m.name == "Zentrim Duration" && m.enabled, run + ": 'Zentrim Duration' is enabled");
    importLog().failRegistration = true;
    check(b.host.doCommand(command) == A_Err_NONE, run + ": the command succeeds");
    const ImportLog& log = importLog();
    check(log.registrations.size() == 1 && !log.registrations[0].succeeded,
          run + ": one failed registration");
    if (check(log.messageBoxes.size() == 1, run + ": one message box")) {
        const MessageBoxCall& box = log.messageBoxes[0];
        check(box.owner == NULL && box.text == "Error 137" && box.caption == "Zentrim Error" &&
                  box.type == MB_OK,
              run + ": 'Error 137' / 'Zentrim Error', MB_OK, no owner; got '" + box.text + "'");
    }
    // The class the first module registered serves this window too.
    std::vector<WindowCreation> made = log.created("myWindowClass");
    check(made.size() == 1 && made[0].result, run + ": the window is still made");
    checkSize(b, run, "Moving", 200, 280);
    checkClean(b, run);
}

}  // namespace

bool loadPlugin(Bench& b, const std::string& path, AEGP_PluginID id, LoadedPlugin* out) {
    out->module = LoadLibraryA(path.c_str());
    if (!check(out->module != NULL, path + ": LoadLibrary (error " + num(GetLastError()) + ")"))
        return false;
    FARPROC proc = GetProcAddress(out->module, "EntryPointFunc");
    if (!check(proc != NULL, path + ": EntryPointFunc exported under its plain name")) return false;
    std::memcpy(&out->entry, &proc, sizeof proc);
    std::string why;
    if (!check(watchImports(out->module, &why), path + ": imports watched: " + why)) return false;
    out->id = id;
    AEGP_GlobalRefcon refcon = nullptr;
    A_Err err = out->entry(b.host.basicSuite(), 23, 0, id, &refcon);
    check(err == A_Err_NONE, path + ": the entry point returns 0, got " + num(err));
    const std::vector<sim::MenuEntry>& menu = b.host.menus().entries[AEGP_Menu_LAYER];
    check(menu.size() >= 2 && menu[menu.size() - 2].name == "-" && menu.back().name == "Zentrim",
          path + ": the Layer menu ends with '-' and 'Zentrim'");
    return err == A_Err_NONE && menu.size() >= 2;
}

void runScenarios(Bench& b, const LoadedPlugin& plugin) {
    AEGP_Command command = b.host.menus().entries[AEGP_Menu_LAYER].back().command;

    // What the plug-in gets for the host's main window: this process's visible top-level window.
    HWND given = NULL;
    {
        const void* table = nullptr;
        b.host.basicSuite()->AcquireSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, &table);
        auto* utility = static_cast<const AEGP_UtilitySuite5*>(table);
        if (utility) utility->AEGP_GetMainHWND(&given);
        b.host.basicSuite()->ReleaseSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5);
    }
    DWORD process = 0;
    GetWindowThreadProcessId(given, &process);
    check(given == b.mainWindow && IsWindowVisible(given) && GetAncestor(given, GA_ROOT) == given &&
              process == GetCurrentProcessId(),
          "AEGP_GetMainHWND gives the test host's visible top-level window");

    standardCrop(b, command);
    failedSetupCrop(b, command);

    HBRUSH first = durationCrop(b, command, "first duration crop", b.mainWindow,
                                windowRect(b.mainWindow), true, b.screenshot);
    checkClassRegistration("first duration crop");
    check(importLog().messageBoxes.empty(), "first duration crop: no message box");

    HBRUSH second = durationCrop(b, command, "second duration crop", b.mainWindow,
                                 windowRect(b.mainWindow), true);
    check(importLog().registrations.empty(),
          "second duration crop: the class is not registered again");
    check(importLog().messageBoxes.empty(), "second duration crop: no message box");
    check(first && first == second, "the label brush is made once for the process");

    cancelledCrop(b, command);
    noWindowCrop(b, command);

    // A host without a main window: the window is centred on the work area, with no owner.
    b.host.platform().mainWindow = nullptr;
    durationCrop(b, command, "duration crop without a main window", NULL, workArea(), true);
    b.host.platform().mainWindow = b.mainWindow;

    failedRegistration(b);
    holdKeys(b, false, false);
}

}  // namespace wintest
