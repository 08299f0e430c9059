// The command line of zentrim-host: verbs, options and their defaults.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "HostModel.h"

namespace sim {

struct CliOptions {
    std::string verb;           // demo, run, panel, menu, render, models, probe
    std::string project;        // PROJECT.json for run, panel, menu and render
    std::string keys = "none";  // none, cmd (ctrl), shift, shift+cmd
    std::optional<int> panel;
    std::string prefs;      // --prefs FILE
    std::string ui;         // --ui FILE
    std::string out;        // run: --out FILE; demo: --out DIR
    std::string renderDir;  // run: --render DIR
    bool undo = false;
    bool json = false;
    bool verify = false;    // run and panel: --verify
    bool diff = false;      // run and panel: --diff
    std::string trace;      // run and panel: --trace FILE
    std::string plugin;     // --plugin PATH; empty: the module built beside zentrim-host
    std::string comp;       // render: --comp ID (or NAME)
    std::string time;       // render: --time SECONDS; empty: the composition's current time
    std::string png;        // render: -o FILE.png
    std::string script;     // panel: --script FILE; empty: the panel of the source tree
    bool floating = false;  // panel: --floating (run as a script: a palette, not docked)
    std::vector<std::string> hostModelSettings;  // run, panel: --host-model KEY=VALUE ...
    HostModel hostModel;                         // what they choose
};

// zentrim-host's exit statuses, as --help lists them.
enum ExitStatus {
    kExitRan = 0,          // the command ran (even when it showed an alert)
    kExitPluginError = 1,  // the plug-in returned an error, the command was disabled, a dialog
                           // went unanswered, or --verify found pixels that moved
    kExitBadInput = 2,     // bad input: nothing was run or written
    kExitInternal = 3,     // the host itself failed (an internal error, or an output that could
                           // not be written although it was checked)
};
extern const char* const kExitStatusHelp;

// Bad usage: the message says which option or argument was wrong. Exit status 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// --help: the text to print. Exit status 0.
struct HelpRequested {
    std::string text;
};

// Parses argv (argv[0] is the program). Throws UsageError or HelpRequested.
CliOptions parseCommandLine(int argc, const char* const* argv);

// Whether --keys names the Shift and the Command (Ctrl) key.
void parseKeys(const std::string& keys, bool* shift, bool* command);

}  // namespace sim
