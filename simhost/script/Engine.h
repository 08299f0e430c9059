// The scripting heap and what its native functions share (internal to the script library).
#pragma once

#include <exception>
#include <memory>
#include <string>

#include "FileSandbox.h"
#include "ScriptEngine.h"
#include "duktape.h"

namespace sim::script {

// One scripting heap for a host's life: the prelude, then every script the host runs.
class Engine {
  public:
    Engine(Host& host, UserAnswers answers, ScriptOptions options);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    ScriptOutcome run(const std::string& script);

    Host& host;
    UserAnswers answers;
    ScriptOptions options;
    FileSandbox files;

  private:
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

// The prelude's sources, in the order they run; each evaluates to function (native, global).
struct PreludeFile {
    const char* name;
    const char* source;
};
extern const PreludeFile kPreludeFiles[];
extern const int kPreludeFileCount;

}  // namespace sim::script
