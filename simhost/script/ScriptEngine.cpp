// The scripting heap: the prelude, running a script, and its outcome as the host reports it.
#include "ScriptEngine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "Engine.h"

namespace sim::script {

namespace {

// The file name scripts run under; error lines are looked up in frames of this file.
const char* const kScriptFile = "script";

// Only an internal failure (memory exhausted, a Duktape bug) gets here; nothing can continue.
void fatalError(void*, const char* message) {
    std::fprintf(stderr, "zentrim script engine: fatal error: %s\n", message ? message : "");
    std::abort();
}

// The line of the innermost frame of the script's own code, from Duktape's traceback text
// ("    at name (script:12)"); 0 when none.
long scriptLine(const std::string& stack) {
    std::string marker = std::string("(") + kScriptFile + ":";
    size_t at = stack.find(marker);
    if (at == std::string::npos) return 0;
    return std::strtol(stack.c_str() + at + marker.size(), nullptr, 10);
}

duk_ret_t readStack(duk_context* ctx, void*) {
    duk_get_prop_string(ctx, 0, "stack");
    return 1;
}

// The message of the value a script threw, with the script's line when known.
std::string describeError(duk_context* ctx) {
    std::string text = argText(ctx, -1);
    if (!duk_is_error(ctx, -1)) return text;
    duk_dup(ctx, -1);  // the stack is read in a protected call: a script may have replaced it
    bool read = duk_safe_call(ctx, readStack, nullptr, 1, 1) == 0 && duk_is_string(ctx, -1);
    std::string stack = read ? duk_get_string(ctx, -1) : "";
    duk_pop(ctx);
    long line = scriptLine(stack);
    if (line > 0 && text.find("(line ") == std::string::npos)
        text += " (line " + std::to_string(line) + ")";
    std::string hint = missingBuiltInHint(text);
    if (!hint.empty()) text += ": " + hint;
    return text;
}

// The script's value as the host hands it back: booleans as true/false, numbers as ES ToString,
// undefined and null as nothing.
std::string resultText(duk_context* ctx) {
    if (duk_is_undefined(ctx, -1) || duk_is_null(ctx, -1)) return "";
    return argText(ctx, -1);
}

}  // namespace

Engine& engineOf(duk_context* ctx) {
    duk_memory_functions funcs;
    duk_get_memory_functions(ctx, &funcs);
    return *static_cast<Engine*>(funcs.udata);
}

std::string argText(duk_context* ctx, duk_idx_t i) {
    duk_dup(ctx, i);
    std::string text = duk_safe_to_string(ctx, -1);
    duk_pop(ctx);
    return text;
}

void pushText(duk_context* ctx, const std::string& text) {
    duk_push_lstring(ctx, text.data(), text.size());
}

Engine::Engine(Host& h, std::shared_ptr<SimulatedUser> u, ScriptOptions o)
    : host(h), user(std::move(u)), options(std::move(o)), files(options.fs, options.sandboxDir) {
    if (!user) user = std::make_shared<SimulatedUser>();
    ctx_ = duk_create_heap(nullptr, nullptr, nullptr, this, fatalError);
    if (!ctx_) throw std::runtime_error("cannot create the scripting heap");
    duk_push_object(ctx_);
    addHostNatives(ctx_);
    addFileNatives(ctx_);
    addDialogNatives(ctx_);
    duk_idx_t natives = duk_get_top_index(ctx_);
    for (int i = 0; i < kPreludeFileCount; ++i) {
        const PreludeFile& f = kPreludeFiles[i];
        duk_push_string(ctx_, f.name);
        bool ok = duk_pcompile_string_filename(ctx_, 0, f.source) == 0 && duk_pcall(ctx_, 0) == 0;
        if (ok) {
            duk_dup(ctx_, natives);
            duk_push_global_object(ctx_);
            ok = duk_pcall(ctx_, 2) == 0;
        }
        if (!ok) {
            std::string message = std::string(f.name) + ": " + duk_safe_to_string(ctx_, -1);
            duk_destroy_heap(ctx_);
            throw std::logic_error("the script prelude does not run: " + message);
        }
        duk_pop(ctx_);
    }
    // The prelude's native side stays reachable for callPrelude, out of the scripts' sight.
    duk_push_global_stash(ctx_);
    duk_dup(ctx_, natives);
    duk_put_prop_string(ctx_, -2, "natives");
    duk_pop_2(ctx_);
    removeLaterBuiltIns(ctx_);
}

Engine::~Engine() {
    duk_destroy_heap(ctx_);
}

// The value (or the error) at the top of the stack as the host reports it; pops it.
ScriptOutcome Engine::finish(bool ok) {
    ScriptOutcome out;
    if (ok) {
        out.value = resultText(ctx_);
    } else {
        out.ok = false;
        out.error = describeError(ctx_);
    }
    duk_pop(ctx_);
    return out;
}

ScriptOutcome Engine::run(const std::string& script) {
    duk_push_string(ctx_, kScriptFile);
    bool ok = duk_pcompile_lstring_filename(ctx_, 0, script.data(), script.size()) == 0 &&
              duk_pcall(ctx_, 0) == 0;
    return finish(ok);
}

ScriptOutcome Engine::runWithThis(const std::string& script, const char* make,
                                  const std::string& argument) {
    duk_push_string(ctx_, kScriptFile);
    if (duk_pcompile_lstring_filename(ctx_, 0, script.data(), script.size()) != 0)
        return finish(false);
    // [script] -> [script, this]: the global code runs with `this` bound, as a method would.
    duk_push_global_stash(ctx_);
    duk_get_prop_string(ctx_, -1, "natives");
    duk_get_prop_string(ctx_, -1, make);
    pushText(ctx_, argument);
    if (duk_pcall(ctx_, 1) != 0) {
        ScriptOutcome out = finish(false);
        duk_pop_3(ctx_);
        return out;
    }
    duk_swap_top(ctx_, -3);  // [script, result, natives, stash]
    duk_pop_2(ctx_);
    return finish(duk_pcall_method(ctx_, 0) == 0);
}

ScriptOutcome Engine::callPrelude(const char* name, const std::vector<std::string>& arguments) {
    duk_push_global_stash(ctx_);
    duk_get_prop_string(ctx_, -1, "natives");
    duk_get_prop_string(ctx_, -1, name);
    for (const std::string& a : arguments)
        pushText(ctx_, a);
    ScriptOutcome out = finish(duk_pcall(ctx_, static_cast<duk_idx_t>(arguments.size())) == 0);
    duk_pop_2(ctx_);
    return out;
}

}  // namespace sim::script

namespace sim {

std::shared_ptr<ScriptSession> startScripting(Host& host, std::shared_ptr<SimulatedUser> user,
                                              ScriptOptions options) {
    host.platform().scriptRunner = nullptr;  // the previous engine goes first, with its sandbox
    auto engine = std::make_shared<script::Engine>(host, std::move(user), std::move(options));
    host.platform().scriptRunner = [engine](const std::string& text) { return engine->run(text); };
    return std::make_shared<ScriptSession>(engine);
}

std::string installScriptEngine(Host& host, UserAnswers answers, ScriptOptions options) {
    auto user = std::make_shared<SimulatedUser>();
    user->answers = std::move(answers);
    return startScripting(host, user, std::move(options))->sandbox();
}

}  // namespace sim
