// The scripting heap and what its native functions share (internal to the script library).
#pragma once

#include <exception>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "FileSandbox.h"
#include "ScriptEngine.h"
#include "duktape.h"

namespace sim::script {

// One scripting heap for a host's life: the prelude, then every script the host runs.
class Engine {
  public:
    Engine(Host& host, std::shared_ptr<SimulatedUser> user, ScriptOptions options);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    ScriptOutcome run(const std::string& script);
    // Runs the script with `this` bound to the value the prelude's native function `make` gives
    // for `argument` (a docked panel).
    ScriptOutcome runWithThis(const std::string& script, const char* make,
                              const std::string& argument);
    // Calls one of the prelude's native-side functions (native.NAME) with text arguments: its
    // result as text (undefined gives an empty outcome value), or the error it threw.
    ScriptOutcome callPrelude(const char* name, const std::vector<std::string>& arguments);

    // Whether a person at the terminal answers dialogs (no answers file, a terminal at hand).
    bool asksTerminal();
    std::istream* terminalIn();
    std::ostream& terminalOut();

    Host& host;
    std::shared_ptr<SimulatedUser> user;
    ScriptOptions options;
    FileSandbox files;

  private:
    ScriptOutcome finish(bool ok);
    duk_context* ctx_ = nullptr;
};

Engine& engineOf(duk_context* ctx);

// Duktape reports errors by longjmp, which must not cross a C++ frame holding objects, and a C++
// exception must not cross Duktape's C frames. So a native body uses only Duktape calls that
// cannot throw (reads, pushes, duk_safe_to_string) and may throw C++ exceptions, which this
// wrapper turns into a script Error after every C++ object is gone.
template <duk_ret_t (*Body)(duk_context*, Engine&)>
duk_ret_t guarded(duk_context* ctx) {
    {
        std::string message;
        try {
            return Body(ctx, engineOf(ctx));
        } catch (const std::exception& e) {
            message = e.what();
        }
        duk_push_error_object(ctx, DUK_ERR_ERROR, "%s", message.c_str());
    }
    return duk_throw(ctx);
}

// Argument i as text (ToString; an error in a toString() gives its message instead).
std::string argText(duk_context* ctx, duk_idx_t i);
void pushText(duk_context* ctx, const std::string& text);

// Each adds its native functions to the object at the top of the stack.
void addHostNatives(duk_context* ctx);    // alert, console, preferences, project
void addFileNatives(duk_context* ctx);    // the File sandbox
void addDialogNatives(duk_context* ctx);  // the simulated user

// The host's scripting language is ECMAScript 3: the library additions of later editions that
// Duktape has are removed once the prelude has run, so a script that leans on one fails here as
// it would in the host.
void removeLaterBuiltIns(duk_context* ctx);
// For the message of a script error that a removed built-in caused, the sentence naming it
// ("Array.prototype.indexOf is not in ..."); empty otherwise.
std::string missingBuiltInHint(const std::string& message);

// A simulated user's action as the prelude reads it (JSON).
std::string actionJson(const DialogAction& action);

// A line the person at the terminal typed, read until it is an action (as JSON), the word list,
// or the end: help is answered here, and problems with the line are told and asked again. The
// words in `extra` (e.g. done) are given back as {"kind": WORD}. Empty at the end of the input.
std::string readTerminalAction(Engine& e, const std::string& title,
                               const std::vector<std::string>& extra = {});

// The prelude's sources, in the order they run; each evaluates to function (native, global).
struct PreludeFile {
    const char* name;
    const char* source;
};
extern const PreludeFile kPreludeFiles[];
extern const int kPreludeFileCount;

}  // namespace sim::script
