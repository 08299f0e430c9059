// Parsing zentrim-host's command line with CLI11.
#include "CliOptions.h"

#include "ProbeOptions.h"

#include <CLI/CLI.hpp>
#include <climits>
#include <string>

#include "HostModelOption.h"

namespace sim {

void parseKeys(const std::string& keys, bool* shift, bool* command) {
    // "ctrl" is the Command key's name on Windows.
    if (keys == "none") {
        *shift = false;
        *command = false;
    } else if (keys == "cmd" || keys == "ctrl") {
        *shift = false;
        *command = true;
    } else if (keys == "shift") {
        *shift = true;
        *command = false;
    } else if (keys == "shift+cmd" || keys == "cmd+shift" || keys == "shift+ctrl" ||
               keys == "ctrl+shift") {
        *shift = true;
        *command = true;
    } else {
        throw UsageError("--keys: expected none, cmd (or ctrl), shift or shift+cmd, got \"" + keys +
                         "\"");
    }
}

const char* const kExitStatusHelp =
    "Exit status: 0 the command ran (even when it showed an alert); 1 the plug-in returned an "
    "error, the command was disabled, a dialog went unanswered, or --verify found pixels that "
    "moved; 2 bad input (one message names the file, the field and what was expected; nothing "
    "is written); 3 the host itself failed (an internal error, or an output that could not be "
    "written). With --json an error is also a JSON object on stdout.";

namespace {

const char* const kVerbs = "demo, run, panel, menu, render, models or probe";

// A module named without a folder is the file in the current folder, as for every other file
// name here; the dynamic loader would search its library path for it instead.
std::string modulePath(const std::string& path) {
    return path.empty() || path.find('/') != std::string::npos ? path : "./" + path;
}

// The panel's request: a whole number (1 Zentrim, 2 Duration, 3 Mask Crop, 4 Preferences; others
// reach the plug-in as they are).
int parsePanel(const std::string& text) {
    size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < INT_MIN || value > INT_MAX)
        throw UsageError(
            "--panel: expected a whole number (1 Zentrim, 2 Duration, 3 Mask Crop, "
            "4 Preferences), got \"" +
            text + "\"");
    return static_cast<int>(value);
}

}  // namespace

CliOptions parseCommandLine(int argc, const char* const* argv) {
    CliOptions o;
    // The verb comes first; CLI11 would only say that one is required.
    if (argc < 2) throw UsageError(std::string("expected a command: ") + kVerbs + " (see --help)");
    const std::string first = argv[1];
    if (first.empty() ||
        (first[0] != '-' && first != "demo" && first != "run" && first != "menu" &&
         first != "render" && first != "panel" && first != "models" && first != "probe"))
        throw UsageError("unknown command \"" + first + "\"; expected " + kVerbs);
    std::string panelText;
    CLI::App app{
        "zentrim-host: loads the Zentrim plug-in into a simulated host and drives it as the host "
        "would"};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Help for every command");

    CLI::App* demo = app.add_subcommand(
        "demo", "Crop the embedded sample project as a user would and write pictures");
    demo->add_option("--out", o.out,
                     "Folder for before.png, after.png and the project (default: zentrim-demo)");
    demo->add_option("--plugin", o.plugin,
                     "Plug-in module to load (default: the one built beside zentrim-host)");

    CLI::App* run = app.add_subcommand(
        "run", "Load a project and play the user's sequence: keys, menu, command");
    run->add_option("project", o.project, "Project file (JSON)")->required();
    run->add_option("--keys", o.keys,
                    "Keys held: none, cmd, shift or shift+cmd (default: none; cmd is Ctrl on "
                    "Windows, and ctrl may be written for it)");
    run->add_option(
        "--panel", panelText,
        "Request action N through the companion panel instead of the menu (default: off)");
    run->add_option(
        "--prefs", o.prefs,
        "Application preferences file, updated when a dialog saves (default: factory preferences)");
    run->add_option(
        "--ui", o.ui,
        "The simulated user's answers to dialogs (default: ask on a terminal, else fail)");
    run->add_option("--out", o.out,
                    "Write the project as the command left it (default: not written)");
    run->add_option("--render", o.renderDir,
                    "Write before/after pictures of changed compositions here (default: none)");
    run->add_flag("--undo", o.undo,
                  "Undo afterwards and check the project is restored (default: off)");
    run->add_flag("--json", o.json, "Machine-readable report on stdout (default: text)");
    run->add_flag("--verify", o.verify,
                  "Render every composition that shows a cropped one before and after, at the "
                  "times that matter, and compare the pixels (default: off)");
    run->add_flag("--diff", o.diff,
                  "Report every value the command changed, before -> after (default: off)");
    run->add_option("--trace", o.trace,
                    "Write every host call the plug-in made, one line each, to FILE (default: "
                    "none)");
    run->add_option("--plugin", o.plugin,
                    "Plug-in module to load (default: the one built beside zentrim-host)");
    addHostModelOption(*run, o.hostModelSettings);

    CLI::App* panel = app.add_subcommand(
        "panel",
        "Show the companion panel to the simulated user, who clicks its buttons and controls while "
        "the host idles");
    panel->add_option("project", o.project, "Project file (JSON)")->required();
    panel->add_option(
        "--prefs", o.prefs,
        "Application preferences file, updated when the panel or a dialog saves (default: factory "
        "preferences)");
    panel->add_option("--ui", o.ui,
                      "The simulated user's answers: the panel's (title \"Zentrim Panel\") and the "
                      "dialogs' (default: ask on a terminal, else fail)");
    panel->add_option("--script", o.script,
                      "The panel script (default: panel/Zentrim Panel.jsx of the source tree)");
    panel->add_flag("--floating", o.floating,
                    "Run the panel as a script, a floating palette (default: docked)");
    panel->add_option("--out", o.out,
                      "Write the project as the actions left it (default: not written)");
    panel->add_option("--render", o.renderDir,
                      "Write before/after pictures of changed compositions here (default: none)");
    panel->add_flag("--undo", o.undo,
                    "Undo afterwards and check the project is restored (default: off)");
    panel->add_flag("--json", o.json, "Machine-readable report on stdout (default: text)");
    panel->add_flag("--verify", o.verify,
                    "Render every composition that shows a cropped one before and after, at the "
                    "times that matter, and compare the pixels (default: off)");
    panel->add_flag("--diff", o.diff,
                    "Report every value the actions changed, before -> after (default: off)");
    panel->add_option("--trace", o.trace,
                      "Write every host call the plug-in made, one line each, to FILE (default: "
                      "none)");
    panel->add_option("--plugin", o.plugin,
                      "Plug-in module to load (default: the one built beside zentrim-host)");
    addHostModelOption(*panel, o.hostModelSettings);

    CLI::App* menu =
        app.add_subcommand("menu", "Show the last entries of the Layer menu as the user sees them");
    menu->add_option("project", o.project, "Project file (JSON)")->required();
    menu->add_option("--keys", o.keys,
                     "Keys held: none, cmd (or ctrl), shift or shift+cmd (default: none)");
    menu->add_option("--prefs", o.prefs,
                     "Application preferences file (default: factory preferences)");
    menu->add_option("--plugin", o.plugin,
                     "Plug-in module to load (default: the one built beside zentrim-host)");

    CLI::App* render =
        app.add_subcommand("render", "Render a composition to an 8-bit RGBA PNG (straight alpha)");
    render->add_option("project", o.project, "Project file (JSON)")->required();
    render
        ->add_option("--comp", o.comp,
                     "Composition to render: its id, or its name when it has none (as the "
                     "project file refers to items)")
        ->required();
    render->add_option("--time", o.time,
                       "Composition time in seconds, or an exact fraction such as 45/30, from 0 "
                       "to below the composition's duration (default: its current time)");
    render->add_option("-o,--output", o.png, "PNG file to write")->required();

    CLI::App* models = app.add_subcommand(
        "models",
        "List the alternatives the simulated host can play where the host's documentation is "
        "silent (--host-model KEY=VALUE)");
    models->add_flag("--json", o.json,
                     "A list of objects with key, values and default (default: text)");
    addProbeVerb(app, o);

    app.footer(kExitStatusHelp);
    for (CLI::App* sub : {demo, run, panel, menu, render, models})
        sub->footer(kExitStatusHelp);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::string text = app.help();
        for (CLI::App* sub : app.get_subcommands())
            text = sub->help();
        throw HelpRequested{text};
    } catch (const CLI::CallForAllHelp&) {
        throw HelpRequested{app.help("", CLI::AppFormatMode::All)};
    } catch (const CLI::ParseError& e) {
        std::string which;
        for (CLI::App* sub : app.get_subcommands())
            which = sub->get_name() + ": ";
        throw UsageError(which + e.what());
    }
    o.verb = app.get_subcommands().front()->get_name();
    if (!panelText.empty() || (o.verb == "run" && app.get_subcommands().front()->count("--panel")))
        o.panel = parsePanel(panelText);
    if (o.verb == "demo" && o.out.empty()) o.out = "zentrim-demo";
    o.plugin = modulePath(o.plugin);
    o.hostModel = hostModelFrom(o.hostModelSettings);
    if (o.verb == "run" || o.verb == "menu") {
        bool shift = false, command = false;
        parseKeys(o.keys, &shift, &command);
    }
    return o;
}

}  // namespace sim
