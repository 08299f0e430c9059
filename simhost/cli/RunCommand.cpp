// zentrim-host run and menu: a project, the plug-in, the user's keys and answers.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <ostream>

#include "Commands.h"
#include "OutputPaths.h"
#include "Pictures.h"
#include "ProjectFile.h"
#include "Report.h"
#include "ScriptEngine.h"
#include "Session.h"

namespace sim {

namespace {

Project loadInputProject(const std::string& path) {
    try {
        return loadProject(path);
    } catch (const std::exception& e) {
        throw BadInput(e.what());
    }
}

Preferences loadInputPrefs(const std::string& path) {
    if (path.empty()) return Preferences();
    std::ifstream probe(path);
    if (!probe) return Preferences();  // created when a dialog saves
    try {
        return Preferences::load(path);
    } catch (const std::runtime_error& e) {
        throw BadInput(e.what());
    } catch (const std::exception& e) {
        // The JSON library's own errors (a number beyond a double's range) carry no file name.
        std::string what = e.what();
        size_t tag = what.find("] ");
        if (what.rfind("[json.exception", 0) == 0 && tag != std::string::npos)
            what = what.substr(tag + 2);
        throw BadInput(path + ": not valid JSON: " + what);
    }
}

UserAnswers loadInputAnswers(const std::string& path) {
    if (path.empty()) {
        UserAnswers answers;
        answers.askOnTerminal = isatty(STDIN_FILENO) != 0;
        return answers;
    }
    try {
        return loadUserAnswers(path);
    } catch (const std::exception& e) {
        throw BadInput(e.what());
    }
}

std::string folderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// A progress bar on the terminal, redrawn in place.
void drawProgress(const ProgressEvent& e) {
    if (e.kind == ProgressEvent::Open) {
        std::fprintf(stderr,
                     "Zentrim Duration - Progress: hold Shift + Command (--keys) to cancel\n");
    } else if (e.kind == ProgressEvent::Percent) {
        int filled = e.value * 40 / 100;
        std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled,
                     "########################################", 40 - filled, "", e.value);
    } else {
        std::fprintf(stderr, "\n");
    }
    std::fflush(stderr);
}

}  // namespace

int runCommand(const CliOptions& o, std::ostream& out) {
    Project project = loadInputProject(o.project);
    // A preferences file is written only when a dialog saves: its folder need not be writable.
    if (!o.prefs.empty()) checkOutputFile("--prefs", o.prefs, false);
    Preferences prefs = loadInputPrefs(o.prefs);
    UserAnswers answers = loadInputAnswers(o.ui);
    bool shift = false, command = false;
    parseKeys(o.keys, &shift, &command);
    // Every destination is checked before the plug-in runs, so that none is half-written.
    if (!o.out.empty()) checkOutputFile("--out", o.out);
    if (!o.renderDir.empty()) checkOutputFolder("--render", o.renderDir);

    Session session(project, o.plugin);
    session.host.log.setRecording(false);  // counts and problems only: memory stays flat
    session.host.prefs = prefs;
    installScriptEngine(session.host, answers);
    if (!o.json && isatty(STDERR_FILENO)) session.host.progressListener = drawProgress;
    if (session.startResult) {
        std::cerr << "zentrim-host: the plug-in's entry point returned error "
                  << session.startResult << "\n";
        return 1;
    }
    int savesBefore = session.host.prefs.savesToDisk;
    Preferences prefsBefore = session.host.prefs;

    SessionOptions options;
    options.shift = shift;
    options.command = command;
    options.panel = o.panel;
    options.undo = o.undo;
    SessionReport report = session.play(options);

    if (!o.out.empty()) {
        Project result = session.host.project;
        rebaseFootagePaths(result, folderOf(o.project), folderOf(o.out));
        saveProject(result, o.out);
    }
    if (!o.renderDir.empty())
        writeChangedPictures(session.before, session.host.project, report.resized, o.renderDir);
    if (!o.prefs.empty() && (session.host.prefs.savesToDisk != savesBefore ||
                             session.host.prefs.serialize() != prefsBefore.serialize()))
        session.host.prefs.save(o.prefs);

    if (o.json) {
        out << reportJson(report);
    } else {
        printReport(report, out);
    }
    bool failed = !report.chosen || report.result != A_Err_NONE;
    return failed ? 1 : 0;
}

int menuCommand(const CliOptions& o, std::ostream& out) {
    Project project = loadInputProject(o.project);
    if (!o.prefs.empty()) checkOutputFile("--prefs", o.prefs, false);
    Preferences prefs = loadInputPrefs(o.prefs);
    bool shift = false, command = false;
    parseKeys(o.keys, &shift, &command);
    Session session(project, o.plugin);
    session.host.log.setRecording(false);
    session.host.prefs = prefs;
    installScriptEngine(session.host, UserAnswers());
    if (session.startResult) {
        std::cerr << "zentrim-host: the plug-in's entry point returned error "
                  << session.startResult << "\n";
        return 1;
    }
    session.openMenu(shift, command);
    const std::vector<MenuEntry>& menu = session.host.menus[AEGP_Menu_LAYER];
    size_t first = menu.size() > 3 ? menu.size() - 3 : 0;
    out << "Layer menu (last entries):\n";
    for (size_t i = first; i < menu.size(); ++i) {
        if (menu[i].name == "-") {
            out << "  ----------------\n";
        } else {
            out << "  " << menu[i].name << (menu[i].enabled ? "" : "  (disabled)") << "\n";
        }
    }
    return 0;
}

}  // namespace sim
