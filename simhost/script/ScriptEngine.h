// The simulator's scripting engine: runs the plug-in's scripts and answers their dialogs.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Host.h"

namespace sim {

// One step of the simulated user in a dialog. `kind` is check, uncheck, text, select, click or
// close; check/uncheck/click use `label` (the control's text), text uses `index` and `value`,
// select uses `index` and `item` (or `itemText`, the item's text, when not empty).
struct DialogAction {
    std::string kind;
    std::string label;
    int index = 0;
    std::string value;
    int item = 0;
    std::string itemText;
};

// The answers to one dialog, matched by its window title; used once.
struct DialogAnswer {
    std::string title;
    std::vector<DialogAction> actions;
    bool used = false;
    size_t applied = 0;  // actions applied; those after them were left when the window closed
};

struct UserAnswers {
    std::vector<DialogAnswer> dialogs;
    // A dialog without an answer asks the person at the terminal (when stdin is one) instead of
    // failing.
    bool askOnTerminal = false;
};

// The simulated user's answers file (zentrim-host --ui). Throws std::runtime_error naming the
// file, the field and what was expected.
UserAnswers loadUserAnswers(const std::string& path);
UserAnswers parseUserAnswers(const std::string& jsonText, const std::string& fileName);

// One action typed at the terminal, in the answers' vocabulary ("click OK", "text 0 12",
// "select 1 2", "check Remember My Choice", "close"). A control's text, a typed value and a list
// item may be quoted as the terminal lists them: click "OK", select 1 "Always Ask". Throws
// std::runtime_error when malformed.
DialogAction parseActionLine(const std::string& line);

// The simulated user as the engine plays them: the answers (marked as they are used) and what
// happened, for the caller's report.
struct SimulatedUser {
    UserAnswers answers;
    // Every dialog (or open window) the user could not close as told: no answer for it, answers
    // that leave it open or name a control it lacks, the terminal input ending. Scripts may catch
    // the error; this record stays.
    std::vector<std::string> unanswered;
    // (window title, checkbox text) of every box the user ticked.
    std::vector<std::pair<std::string, std::string>> ticked;
};

struct ScriptOptions {
    // What File.fs reports: "Unix", "Macintosh" or "Windows"; it also shapes File.fsName and $.os.
    std::string fs = "Unix";
    // Where "~/" paths of File objects lead. Empty: a fresh temporary folder, removed with the
    // engine. A folder given here is used as it is and kept.
    std::string sandboxDir;
    // Stands in for the terminal when a dialog has no answer and askOnTerminal is set (tests).
    // Null: stdin and stderr, used only when stdin is a terminal.
    std::istream* terminalIn = nullptr;
    std::ostream* terminalOut = nullptr;
};

namespace script {
class Engine;
}

// The script engine installed on a host, for callers that need more than
// host.platform().scriptRunner: the simulated user's record, and the windows that stay open after
// their script (palettes and docked panels), in which the user works between the host's idle calls.
class ScriptSession {
  public:
    explicit ScriptSession(std::shared_ptr<script::Engine> engine);

    // The folder that scripts' "~/" paths lead to.
    std::string sandbox() const;
    SimulatedUser& user();

    // Runs a script-panel file as the host runs one from its script-panels folder: `this` is a
    // Panel titled `title`, docked and open before the script runs and after it ends.
    ScriptOutcome runDocked(const std::string& script, const std::string& title);
    // Titles of the windows open after their script ended, in the order they opened.
    std::vector<std::string> openWindows();
    // The controls of the open window with this title, one a line as the terminal lists them;
    // empty when it is not open.
    std::vector<std::string> describeOpen(const std::string& title);
    // The simulated user works in the open window with this title: the first unused answer with
    // its title, one action at a time, or (without one, when the terminal may be asked) the person
    // at the terminal until they type done, close the window or the input ends. `afterEach` runs
    // after every action (the host idles there). Fails, recording the window as unanswered, when
    // there is no answer or an action does not fit the window.
    ScriptOutcome workIn(const std::string& title, const std::function<void()>& afterEach);

  private:
    std::shared_ptr<script::Engine> engine_;
};

// Sets host.platform().scriptRunner to run scripts in one scripting heap kept for the host's life,
// so globals one script defines are there for the next. Replaces any engine installed before.
std::shared_ptr<ScriptSession> startScripting(Host& host, std::shared_ptr<SimulatedUser> user,
                                              ScriptOptions options = {});

// The same, for callers that need nothing more: returns the sandbox folder that "~/" maps to (it
// lives as long as the runner).
std::string installScriptEngine(Host& host, UserAnswers answers, ScriptOptions options = {});

}  // namespace sim
