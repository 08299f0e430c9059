// Parsing zentrim-host's command line with CLI11.
#include "CliOptions.h"

#include <CLI/CLI.hpp>

namespace sim {

void parseKeys(const std::string& keys, bool* shift, bool* command) {
    if (keys == "none") {
        *shift = false;
        *command = false;
    } else if (keys == "cmd") {
        *shift = false;
        *command = true;
    } else if (keys == "shift") {
        *shift = true;
        *command = false;
    } else if (keys == "shift+cmd" || keys == "cmd+shift") {
        *shift = true;
        *command = true;
    } else {
        throw UsageError("--keys: expected none, cmd, shift or shift+cmd, got \"" + keys + "\"");
    }
}

CliOptions parseCommandLine(int argc, const char* const* argv) {
    CliOptions o;
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
    run->add_option(
        "--keys", o.keys,
        "Keys held: none, cmd, shift or shift+cmd (default: none; cmd is Ctrl on Windows)");
    run->add_option(
        "--panel", o.panel,
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
    run->add_option("--plugin", o.plugin,
                    "Plug-in module to load (default: the one built beside zentrim-host)");

    CLI::App* menu =
        app.add_subcommand("menu", "Show the last entries of the Layer menu as the user sees them");
    menu->add_option("project", o.project, "Project file (JSON)")->required();
    menu->add_option("--keys", o.keys, "Keys held: none, cmd, shift or shift+cmd (default: none)");
    menu->add_option("--prefs", o.prefs,
                     "Application preferences file (default: factory preferences)");
    menu->add_option("--plugin", o.plugin,
                     "Plug-in module to load (default: the one built beside zentrim-host)");

    CLI::App* render =
        app.add_subcommand("render", "Render a composition to an 8-bit RGBA PNG (straight alpha)");
    render->add_option("project", o.project, "Project file (JSON)")->required();
    render->add_option("--comp", o.comp, "Composition to render")->required();
    render->add_option(
        "--time", o.time,
        "Composition time in seconds, or an exact fraction such as 45/30 (default: 0)");
    render->add_option("-o,--output", o.png, "PNG file to write")->required();

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
    if (o.verb == "demo" && o.out.empty()) o.out = "zentrim-demo";
    if (o.verb == "run" || o.verb == "menu") {
        bool shift = false, command = false;
        parseKeys(o.keys, &shift, &command);
    }
    return o;
}

}  // namespace sim
