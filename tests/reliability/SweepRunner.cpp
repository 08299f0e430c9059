// Playing a prepared command scenario in a forked child, so that every run starts from the same
// session (module globals included) and a crash or a hang ends only that run.
#include "SweepRunner.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "FaultRules.h"
#include "ProjectFile.h"
#include "ScriptEngine.h"

namespace simtest {

namespace {

// A run that takes this long is stuck: no command on these small projects needs a second.
constexpr unsigned kWatchdogSeconds = 60;

// One record per line, fields separated by tabs; tabs, line breaks and backslashes escaped.
std::string escape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

std::string unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        char n = s[++i];
        out += n == 'n' ? '\n' : n == 't' ? '\t' : n;
    }
    return out;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(unescape(line.substr(start, tab - start)));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

std::string encode(const Outcome& o) {
    std::ostringstream out;
    out << "result\t" << o.result << "\n";
    out << "chosen\t" << o.chosen << "\n";
    out << "open\t" << o.openUndoGroups << "\n";
    out << "steps\t" << o.undoSteps << "\n";
    out << "undo\t" << escape(o.undoDifference) << "\n";
    for (const Call& c : o.calls)
        out << "call\t" << c.index << "\t" << c.result << "\t" << c.injected << "\t"
            << escape(c.name) << "\t" << escape(c.args) << "\t" << escape(c.problem) << "\n";
    for (const std::string& s : o.leaks)
        out << "leak\t" << escape(s) << "\n";
    for (const std::string& s : o.problems)
        out << "problem\t" << escape(s) << "\n";
    for (const std::string& s : o.unbalancedSuites)
        out << "suite\t" << escape(s) << "\n";
    for (const std::string& s : o.alerts)
        out << "alert\t" << escape(s) << "\n";
    out << "end\n";
    return out.str();
}

// Returns false when the text is cut short (the child died while writing, or before).
bool decode(const std::string& text, Outcome* o) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f = splitTabs(line);
        const std::string& kind = f[0];
        if (kind == "end") return true;
        if (f.size() < 2) return false;
        if (kind == "result") {
            o->result = std::stoi(f[1]);
        } else if (kind == "chosen") {
            o->chosen = f[1] == "1";
        } else if (kind == "open") {
            o->openUndoGroups = std::stoi(f[1]);
        } else if (kind == "steps") {
            o->undoSteps = std::stoi(f[1]);
        } else if (kind == "undo") {
            o->undoDifference = f[1];
        } else if (kind == "call" && f.size() == 7) {
            Call c;
            c.index = std::stoi(f[1]);
            c.result = std::stoi(f[2]);
            c.injected = f[3] == "1";
            c.name = f[4];
            c.args = f[5];
            c.problem = f[6];
            o->calls.push_back(c);
        } else if (kind == "leak") {
            o->leaks.push_back(f[1]);
        } else if (kind == "problem") {
            o->problems.push_back(f[1]);
        } else if (kind == "suite") {
            o->unbalancedSuites.push_back(f[1]);
        } else if (kind == "alert") {
            o->alerts.push_back(f[1]);
        }
    }
    return false;
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool isSuiteAcquisition(const Call& call) {
    return sim::isSuiteAcquisition(call.name);
}

PreparedScenario::PreparedScenario(const Scenario& scenario) : scenario_(scenario) {
    sim::Project project = sim::parseProject(scenario.project, scenario.name + ".json",
                                             std::string(ZENTRIM_SOURCE_DIR) + "/examples");
    // A private copy of the module: its globals start fresh for every scenario of this process.
    // ZENTRIM_SWEEP_PLUGIN sweeps another build of it (a fix, before it lands).
    const char* plugin = std::getenv("ZENTRIM_SWEEP_PLUGIN");
    session_ = std::make_unique<sim::Session>(project, plugin ? plugin : "", true);
    if (session_->startResult != A_Err_NONE)
        throw std::runtime_error("the plug-in did not start: " +
                                 std::to_string(session_->startResult));
    sim::installScriptEngine(session_->host,
                             sim::parseUserAnswers(scenario.answers, scenario.name + ".ui.json"));
    if (scenario.prefs) scenario.prefs(session_->host.prefs());

    sim::Host& host = session_->host;
    if (scenario.hook == Scenario::Hook::MenuUpdate) {
        host.updateMenus();
        host.idle();
        enabled_ = true;
    } else if (scenario.hook == Scenario::Hook::KeysDown) {
        host.updateMenus();
        host.idle();
        host.updateMenus();
        host.platform().shiftDown = scenario.keys.find("shift") != std::string::npos;
        host.platform().commandDown = scenario.keys.find("cmd") != std::string::npos;
        enabled_ = true;
    } else if (scenario.panel) {
        // As zentrim-host --panel does: the menu is updated, then the panel writes its request.
        host.updateMenus();
        const sim::MenuEntry* cmd = session_->command();
        command_ = cmd ? cmd->command : 0;
        host.prefs().set("Zentrim", "Panel_Run", static_cast<long>(scenario.panel));
        host.prefs().set("Zentrim", "Menu_Cmd", static_cast<long>(command_));
        enabled_ = true;
    } else {
        session_->openMenu(scenario.keys.find("shift") != std::string::npos,
                           scenario.keys.find("cmd") != std::string::npos);
        const sim::MenuEntry* cmd = session_->command();
        command_ = cmd ? cmd->command : 0;
        enabled_ = cmd && cmd->enabled;
    }
}

PreparedScenario::~PreparedScenario() = default;

Outcome PreparedScenario::playHere(const sim::FaultPlan& plan) const {
    Outcome o;
    sim::Host& host = session_->host;
    size_t stepsBefore = host.undoSteps().size();
    int depthBefore = host.undoDepth();
    host.log().clear();
    host.log().faults = plan;
    if (scenario_.hook == Scenario::Hook::MenuUpdate) {
        o.chosen = true;
        o.result = host.updateMenus();
    } else if (scenario_.panel || scenario_.hook == Scenario::Hook::KeysDown) {
        o.chosen = true;
        o.result = host.idle();
    } else if (enabled_) {
        o.chosen = true;
        o.result = host.doCommand(command_);
    }
    host.log().faults = sim::FaultPlan{};  // what the host does next is not the plug-in's doing

    for (const sim::CallRecord& r : host.log().calls())
        o.calls.push_back(Call{r.index, r.name, r.args, r.problem, r.result, r.injected});
    o.leaks = host.handles().leaks();
    o.problems = host.log().problems();
    o.unbalancedSuites = host.unbalancedSuites();
    for (const sim::Alert& a : host.events().alerts)
        o.alerts.push_back(a.title + ": " + a.text);
    o.openUndoGroups = host.undoDepth() - depthBefore;
    // A group left open is closed on the host's side, so that undo can still be checked.
    while (host.undoDepth() > depthBefore)
        host.endUndoGroup();
    o.undoSteps = static_cast<int>(host.undoSteps().size() - stepsBefore);
    while (host.undoSteps().size() > stepsBefore)
        host.undo();
    o.undoDifference = sim::describeDifference(session_->before, host.project());
    return o;
}

Outcome PreparedScenario::play(const sim::FaultPlan& plan) const {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        close(fds[0]);
        alarm(kWatchdogSeconds);
        std::string text;
        try {
            text = encode(playHere(plan));
        } catch (const std::exception& e) {
            text = "problem\t" + escape(std::string("the run threw: ") + e.what()) + "\nend\n";
        }
        // _exit: the parent's atexit work (its module copies, the test framework) is not ours.
        _exit(writeAll(fds[1], text) ? 0 : 3);
    }
    close(fds[1]);
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    Outcome o;
    bool complete = decode(text, &o);
    if (WIFSIGNALED(status)) {
        o.crashed = true;
        o.signal = WTERMSIG(status);
        o.hung = o.signal == SIGALRM;
    } else if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        o.crashed = true;
    }
    return o;
}

}  // namespace simtest
