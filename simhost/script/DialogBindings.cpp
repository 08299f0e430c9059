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
    return {{"kind", a.kind},
            {"label", a.label},
            {"index", a.index},
            {"value", a.value},
            {"item", a.item}};
}

// dialogShown(title): records the dialog and takes the first unused answer with its title, as
// a JSON array of actions; undefined when there is none.
duk_ret_t dialogShownNative(duk_context* ctx, Engine& e) {
    std::string title = argText(ctx, 0);
    e.host.dialogs.push_back(title);
    for (DialogAnswer& d : e.answers.dialogs) {
        if (d.used || d.title != title) continue;
        d.used = true;
        json actions = json::array();
        for (const DialogAction& a : d.actions)
            actions.push_back(toJson(a));
        pushText(ctx, actions.dump());
        return 1;
    }
    return 0;
}

std::istream* terminalIn(Engine& e) {
    if (e.options.terminalIn) return e.options.terminalIn;
    return ZENTRIM_ISATTY(0) ? &std::cin : nullptr;
}

std::ostream& terminalOut(Engine& e) {
    return e.options.terminalOut ? *e.options.terminalOut : std::cerr;
}

duk_ret_t canAskNative(duk_context* ctx, Engine& e) {
    duk_push_boolean(ctx, e.answers.askOnTerminal && terminalIn(e) != nullptr);
    return 1;
}

// ask(title, description): shows the description (when not empty), then reads lines until one
// is a well-formed action; gives it as JSON, or undefined at the end of the input.
duk_ret_t askNative(duk_context* ctx, Engine& e) {
    std::string title = argText(ctx, 0), description = argText(ctx, 1);
    std::istream* in = terminalIn(e);
    std::ostream& out = terminalOut(e);
    if (!in) return 0;
    if (!description.empty()) {
        out << "The dialog \"" << title << "\" is open:\n"
            << description
            << "Answer one action a line: check TEXT, uncheck TEXT, text N VALUE, "
               "select N ITEM, click TEXT, close.\n";
    }
    std::string line;
    while (true) {
        out << title << "> " << std::flush;
        if (!std::getline(*in, line)) return 0;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        try {
            pushText(ctx, toJson(parseActionLine(line)).dump());
            return 1;
        } catch (const std::exception& problem) {
            out << problem.what() << "\n";
        }
    }
}

// tell(message): a problem with what the person typed, shown before asking again.
duk_ret_t tellNative(duk_context* ctx, Engine& e) {
    terminalOut(e) << argText(ctx, 0) << "\n";
    return 0;
}

}  // namespace

void addDialogNatives(duk_context* ctx) {
    const duk_function_list_entry natives[] = {
        {"dialogShown", guarded<dialogShownNative>, 1},
        {"canAsk", guarded<canAskNative>, 0},
        {"ask", guarded<askNative>, 2},
        {"tell", guarded<tellNative>, 1},
        {nullptr, nullptr, 0},
    };
    duk_put_function_list(ctx, -1, natives);
}

}  // namespace sim::script
