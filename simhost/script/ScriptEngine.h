// The simulator's scripting engine: runs the plug-in's scripts and answers their dialogs.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "Host.h"

namespace sim {

// One step of the simulated user in a dialog. `kind` is check, uncheck, text, select, click or
// close; check/uncheck/click use `label` (the control's text), text uses `index` and `value`,
// select uses `index` and `item`.
struct DialogAction {
    std::string kind;
    std::string label;
    int index = 0;
    std::string value;
    int item = 0;
};

// The answers to one dialog, matched by its window title; used once.
struct DialogAnswer {
    std::string title;
    std::vector<DialogAction> actions;
    bool used = false;
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
// "select 1 2", "check Remember My Choice", "close"). Throws std::runtime_error when malformed.
DialogAction parseActionLine(const std::string& line);

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

// Sets host.scriptRunner to run scripts in one scripting heap kept for the host's life, so
// globals one script defines are there for the next. Returns the sandbox folder that "~/" maps to
// (it lives as long as the runner). Replaces any engine installed before.
std::string installScriptEngine(Host& host, UserAnswers answers, ScriptOptions options = {});

}  // namespace sim
