// zentrim-host run and menu: a project, the plug-in, the user's keys and answers.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>

#include "AtomicFile.h"
#include "Commands.h"
#include "InputText.h"
#include "Interrupt.h"
#include "OutputPaths.h"
#include "Pictures.h"
#include "ProjectFile.h"
#include "Report.h"
#include "ScriptEngine.h"
#include "Session.h"
#include "Trace.h"

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
    std::string text;
    try {
        // A file that is not there yet is created when a dialog saves; one that is there must be
        // a regular file (opening a FIFO would wait for a writer).
        if (checkInputFile(path, kPreferencesFileKind) == 0) return Preferences();
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

// Every file the run reads and writes, checked before the plug-in runs: no destination is a
// link or special file, and none is another output or an input (the project, its footage, the
// answers, the preferences, the module).
void checkFiles(const CliOptions& o, const Project& project, const PictureNames& names) {
    OutputPlan plan;
    plan.input("the project", o.project);
    for (const Item& item : project.items) {
        if (item.type != ItemType::Image) continue;
        std::filesystem::path file(item.path);
        if (file.is_relative()) file = std::filesystem::path(folderOf(o.project)) / file;
        plan.input("the footage \"" + item.name + "\"", file.string());
    }
    plan.input("--ui", o.ui);
    plan.input("--plugin", o.plugin.empty() ? PluginModule::defaultPath() : o.plugin);
    // A preferences file is written only when a dialog saves: its folder need not be writable.
    if (!o.prefs.empty()) plan.inputAndOutput("--prefs", o.prefs);
    if (!o.out.empty()) plan.file("--out", o.out);
    if (!o.trace.empty()) plan.file("--trace", o.trace);
    if (!o.renderDir.empty()) {
        plan.folder("--render", o.renderDir);
        plan.pictures("--render", o.renderDir, [&names](const std::string& fileName) {
            return names.pictureOwner(fileName);
        });
    }
    plan.check();
    if (!o.renderDir.empty()) checkPictureDestinations(names, project, o.renderDir);
}

// A progress bar on the terminal, redrawn in place.
void drawProgress(const ProgressEvent& e) {
    if (e.kind == ProgressEvent::Open) {
        std::fprintf(stderr,
                     "Zentrim Duration - Progress: press Ctrl-C (or hold Shift + Command with "
                     "--keys) to cancel\n");
    } else if (e.kind == ProgressEvent::Percent) {
        int filled = e.value * 40 / 100;
        bool held = CancelChordOnInterrupt::held().load();
        std::fprintf(stderr, "\r[%.*s%*s] %3d%%%s", filled,
                     "########################################", 40 - filled, "", e.value,
                     held ? " cancelling (Ctrl-C)" : "");
    } else {
        std::fprintf(stderr, "\n");
    }
    std::fflush(stderr);
}

}  // namespace

int runCommand(const CliOptions& o, std::ostream& out) {
    return playSession(o, out, nullptr);
}

int playSession(const CliOptions& o, std::ostream& out,
                const std::function<A_Err(Session&, SessionReport&)>& instead) {
    Project project = loadInputProject(o.project);
    // Every picture's name is settled now, so that every destination is checked before anything
    // else is read or run: none is overwritten or half-written.
    PictureNames names(project);
    checkFiles(o, project, names);
    Preferences prefs = loadInputPrefs(o.prefs);
    UserAnswers answers = loadInputAnswers(o.ui);
    bool shift = false, command = false;
    parseKeys(o.keys, &shift, &command);

    std::unique_ptr<TraceWriter> trace;
    SessionObserver observer;
    if (!o.trace.empty()) {
        trace = std::make_unique<TraceWriter>(o.trace);
        observer.call = [&trace](const CallRecord& call) { trace->call(call); };
        observer.step = [&trace](const std::string& step) { trace->step(step); };
    }
    Session session(project, o.plugin, false, observer, o.hostModel);
    session.host.log().setRecording(false);  // counts and problems only: memory stays flat
    session.host.prefs() = prefs;
    auto user = std::make_shared<SimulatedUser>();
    user->answers = answers;
    session.scripting = startScripting(session.host, user);
    // During the crop over the duration Ctrl-C stands for the cancel chord.
    CancelChordOnInterrupt interrupt;
    session.host.platform().cancelChord = &CancelChordOnInterrupt::held();
    bool drawn = !o.json && isatty(STDERR_FILENO);
    // Every percent update, as runs of one value: the host keeps only the first ones of a long run.
    std::vector<std::pair<int, size_t>> progressRuns;
    session.host.platform().progressListener = [&interrupt, &progressRuns,
                                                drawn](const ProgressEvent& e) {
        if (e.kind == ProgressEvent::Open) interrupt.arm();
        if (e.kind == ProgressEvent::Percent) {
            if (progressRuns.empty() || progressRuns.back().first != e.value)
                progressRuns.emplace_back(e.value, 0);
            ++progressRuns.back().second;
        }
        if (drawn) drawProgress(e);
        if (e.kind == ProgressEvent::Close) interrupt.disarm();
    };
    if (session.startResult) {
        if (trace) trace->commit();
        std::cerr << "zentrim-host: the plug-in's entry point returned error "
                  << session.startResult << "\n";
        return kExitPluginError;
    }
    int savesBefore = session.host.prefs().savesToDisk;
    Preferences prefsBefore = session.host.prefs();

    SessionOptions options;
    options.shift = shift;
    options.command = command;
    options.panel = o.panel;
    options.undo = o.undo;
    options.instead = instead;
    options.keepsPrefs = !o.prefs.empty();
    SessionReport report = session.play(options);
    interrupt.disarm();
    report.interrupted = interrupt.happened();
    report.progressRuns = std::move(progressRuns);

    if (o.verify)
        report.verification = verifyCrop(session.before, session.host.project(), report.resized,
                                         cropCommandOf(report, prefsBefore), o.renderDir, names);
    if (o.diff) report.changes = diffProjects(session.before, session.host.project());

    if (!o.out.empty()) {
        Project result = session.host.project();
        rebaseFootagePaths(result, folderOf(o.project), folderOf(o.out));
        saveProject(result, o.out);
    }
    if (!o.renderDir.empty()) {
        std::vector<std::string> written = writeChangedPictures(
            session.before, session.host.project(), report.resized, o.renderDir, names);
        if (report.verification) {
            for (const FrameDifference& d : report.verification->differences)
                if (!d.picture.empty()) written.push_back(d.picture);
            for (const FrameDifference& d : report.verification->cut)
                if (!d.picture.empty()) written.push_back(d.picture);
        }
        report.pictures = written;
    }
    // Written when a dialog or script changed them; the defaults the plug-in's reads wrote go
    // along, as the host keeps them, but do not make a write of their own.
    if (!o.prefs.empty() &&
        (session.host.prefs().savesToDisk != savesBefore ||
         session.host.prefs().serializeChosen() != prefsBefore.serializeChosen())) {
        std::string text = session.host.prefs().serialize();
        writeFileAtomically(
            o.prefs, [&](std::FILE* file) { std::fwrite(text.data(), 1, text.size(), file); });
    }
    if (trace) trace->commit();

    if (o.json) {
        out << reportJson(report);
    } else {
        printReport(report, out);
    }
    bool failed = !report.chosen || report.result != A_Err_NONE || !report.unanswered.empty() ||
                  (report.verification && !report.verification->passed());
    return failed ? kExitPluginError : kExitRan;
}

int menuCommand(const CliOptions& o, std::ostream& out) {
    Project project = loadInputProject(o.project);
    if (!o.prefs.empty()) checkOutputFile("--prefs", o.prefs, false);
    Preferences prefs = loadInputPrefs(o.prefs);
    bool shift = false, command = false;
    parseKeys(o.keys, &shift, &command);
    Session session(project, o.plugin);
    session.host.log().setRecording(false);
    session.host.prefs() = prefs;
    installScriptEngine(session.host, UserAnswers());
    if (session.startResult) {
        std::cerr << "zentrim-host: the plug-in's entry point returned error "
                  << session.startResult << "\n";
        return kExitPluginError;
    }
    session.openMenu(shift, command);
    const std::vector<MenuEntry>& menu = session.host.menus().entries[AEGP_Menu_LAYER];
    size_t first = menu.size() > 3 ? menu.size() - 3 : 0;
    out << "Layer menu (last entries):\n";
    for (size_t i = first; i < menu.size(); ++i) {
        if (menu[i].name == "-") {
            out << "  ----------------\n";
        } else {
            out << "  " << menu[i].name << (menu[i].enabled ? "" : "  (disabled)") << "\n";
        }
    }
    return kExitRan;
}

}  // namespace sim
