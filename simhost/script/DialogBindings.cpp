// Native functions behind the simulated user: a dialog's answers, or the person at the terminal.
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "Engine.h"

#if defined(_WIN32)
#include <io.h>
#define ZENTRIM_ISATTY _isatty
#else
#include <unistd.h>
#define ZENTRIM_ISATTY isatty
#endif

namespace sim::script {

namespace {

using nlohmann::json;

json toJson(const DialogAction& a) {
    return {{"kind", a.kind},   {"label", a.label}, {"index", a.index},
            {"value", a.value}, {"item", a.item},   {"itemText", a.itemText}};
}

// dialogShown(title): records the dialog and takes the first unused answer with its title, as
// JSON {entry, actions}; undefined when there is none.
duk_ret_t dialogShownNative(duk_context* ctx, Engine& e) {
    std::string title = argText(ctx, 0);
    e.host.events().dialogs.push_back(title);
    std::vector<DialogAnswer>& dialogs = e.user->answers.dialogs;
    for (size_t i = 0; i < dialogs.size(); ++i) {
        DialogAnswer& d = dialogs[i];
        if (d.used || d.title != title) continue;
        d.used = true;
        json actions = json::array();
        for (const DialogAction& a : d.actions)
            actions.push_back(toJson(a));
        pushText(ctx, json{{"entry", i}, {"actions", actions}}.dump());
        return 1;
    }
    return 0;
}

// answerApplied(entry, count): how many of the answer's actions have been applied.
duk_ret_t answerAppliedNative(duk_context* ctx, Engine& e) {
    double entry = duk_get_number_default(ctx, 0, -1), count = duk_get_number_default(ctx, 1, 0);
    std::vector<DialogAnswer>& dialogs = e.user->answers.dialogs;
    if (entry >= 0 && entry < static_cast<double>(dialogs.size()))
        dialogs[static_cast<size_t>(entry)].applied = static_cast<size_t>(count);
    return 0;
}

duk_ret_t unansweredNative(duk_context* ctx, Engine& e) {
    e.user->unanswered.push_back(argText(ctx, 0));
    return 0;
}

duk_ret_t tickedNative(duk_context* ctx, Engine& e) {
    e.user->ticked.emplace_back(argText(ctx, 0), argText(ctx, 1));
    return 0;
}

duk_ret_t canAskNative(duk_context* ctx, Engine& e) {
    duk_push_boolean(ctx, e.asksTerminal());
    return 1;
}

// ask(title, description): shows the description (when not empty), then reads a line until it is
// an action; gives it as JSON, or undefined at the end of the input.
duk_ret_t askNative(duk_context* ctx, Engine& e) {
    std::string title = argText(ctx, 0), description = argText(ctx, 1);
    if (!e.terminalIn()) return 0;
    if (!description.empty()) {
        e.terminalOut() << "The dialog \"" << title << "\" is open:\n"
                        << description << "Type one action a line (help lists them).\n";
    }
    std::string action = readTerminalAction(e, title);
    if (action.empty()) return 0;
    pushText(ctx, action);
    return 1;
}

// tell(message): what an action did, or a problem with what the person typed.
duk_ret_t tellNative(duk_context* ctx, Engine& e) {
    e.terminalOut() << argText(ctx, 0) << "\n";
    return 0;
}

void printHelp(std::ostream& out, const std::vector<std::string>& extra) {
    out << "Actions, one a line; a control's text may be quoted as the list shows it:\n"
           "  check \"TEXT\"     tick the checkbox (or radio button) TEXT\n"
           "  uncheck \"TEXT\"   untick it\n"
           "  text N \"VALUE\"   type VALUE into the edit field N (counted from 0)\n"
           "  select N ITEM    pick ITEM (its number from 0, or its quoted text) in the list N\n"
           "  click \"TEXT\"     click the button TEXT\n"
           "  close            the window's close box\n"
           "  list             show the window's controls again\n"
           "  help             this text\n";
    for (const std::string& word : extra)
        if (word == "done") out << "  done             leave the window open and end\n";
}

}  // namespace

std::string actionJson(const DialogAction& a) {
    return toJson(a).dump();
}

bool Engine::asksTerminal() {
    return user->answers.askOnTerminal && terminalIn() != nullptr;
}

std::istream* Engine::terminalIn() {
    if (options.terminalIn) return options.terminalIn;
    return ZENTRIM_ISATTY(0) ? &std::cin : nullptr;
}

std::ostream& Engine::terminalOut() {
    return options.terminalOut ? *options.terminalOut : std::cerr;
}

std::string readTerminalAction(Engine& e, const std::string& title,
                               const std::vector<std::string>& extra) {
    std::istream* in = e.terminalIn();
    std::ostream& out = e.terminalOut();
    if (!in) return "";
    std::string line;
    while (true) {
        out << title << "> " << std::flush;
        if (!std::getline(*in, line)) return "";
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t b = line.find_first_not_of(" \t"), end = line.find_last_not_of(" \t");
        if (b == std::string::npos) continue;
        std::string word = line.substr(b, end - b + 1);
        if (word == "help") {
            printHelp(out, extra);
            continue;
        }
        if (word == "list") return json{{"kind", "list"}}.dump();
        for (const std::string& w : extra)
            if (word == w) return json{{"kind", w}}.dump();
        try {
            return actionJson(parseActionLine(line));
        } catch (const std::exception& problem) {
            out << problem.what() << " (help lists the actions)\n";
        }
    }
}

void addDialogNatives(duk_context* ctx) {
    const duk_function_list_entry natives[] = {
        {"dialogShown", guarded<dialogShownNative>, 1},
        {"answerApplied", guarded<answerAppliedNative>, 2},
        {"unanswered", guarded<unansweredNative>, 1},
        {"ticked", guarded<tickedNative>, 2},
        {"canAsk", guarded<canAskNative>, 0},
        {"ask", guarded<askNative>, 2},
        {"tell", guarded<tellNative>, 1},
        {nullptr, nullptr, 0},
    };
    duk_put_function_list(ctx, -1, natives);
}

}  // namespace sim::script
