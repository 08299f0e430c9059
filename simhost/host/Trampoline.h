// The one way into the simulator from the plug-in: every suite function counts itself in the
// call log (and records itself when the log keeps a record), answers the fault plan, checks its
// handles through the registry, and turns every C++ exception into an error code so that none
// crosses into the plug-in.
#pragma once

#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "Host.h"

namespace sim {

// A suite table's entry point for `Fn`: the call runs under the suite's name, which the call log
// records with it. Tables are filled with these: s.AEGP_GetItemName = entry<kItemSuite,
// GetItemName>.
template <const char* Suite, auto Fn>
struct SuiteEntry;
template <const char* Suite, typename R, typename... Args, R (*Fn)(Args...)>
struct SuiteEntry<Suite, Fn> {
    static R call(Args... args) {
        SuiteScope in(Suite);
        return Fn(args...);
    }
};
template <const char* Suite, auto Fn>
constexpr auto entry = &SuiteEntry<Suite, Fn>::call;

template <typename Body>
A_Err hostCall(const char* name, Body&& body) {
    if (!Host::exists()) return A_Err_GENERIC;
    Host& h = Host::current();
    A_Err injected = h.log().begin(name);
    if (injected) {
        h.log().end(injected);
        return injected;
    }
    A_Err err = A_Err_NONE;
    try {
        err = body(h);
    } catch (const HostError& e) {
        err = e.code;
        h.log().problem(e.what());
    } catch (const std::exception& e) {
        err = A_Err_GENERIC;
        h.log().problem(std::string("internal: ") + e.what());
    } catch (...) {
        err = A_Err_GENERIC;
        h.log().problem("internal: unknown exception");
    }
    h.log().end(err);
    return err;
}

// A call the host's header marks as undoable: made outside any undo group, it is an undo step of
// its own (named after the call) once it has succeeded; inside a group it is part of the group.
template <typename Body>
A_Err undoableCall(const char* name, Body&& body) {
    return hostCall(name, [&](Host& h) {
        std::optional<Project> before = h.projectOutsideGroups();
        A_Err err = body(h);
        if (!err && before) h.addUndoStep(name, std::move(*before));
        return err;
    });
}

// Builds the key-argument text of a call: args(h, "item", id, "time", t). Nothing is formatted when
// the log wants no detail; arguments costly to build can be passed as objects that format
// themselves with operator<< (see ItemSuites' labels).
inline void appendArgs(std::ostringstream&) {}
template <typename T, typename... Rest>
void appendArgs(std::ostringstream& o, const T& first, const Rest&... rest) {
    o << first;
    if constexpr (sizeof...(rest) > 0) o << " ";
    appendArgs(o, rest...);
}
// One stream for every call's text, set back to its defaults each time: making a stream (and its
// locale) per call would cost more than the rest of the call.
inline std::ostringstream& argsStream() {
    static std::ostringstream o;
    static const std::ios::fmtflags defaults = o.flags();
    o.str(std::string());
    o.clear();
    o.flags(defaults);
    o.precision(6);
    o.width(0);
    o.fill(' ');
    return o;
}
template <typename... T>
void args(Host& h, const T&... parts) {
    if (!h.log().wantsDetail()) return;
    std::ostringstream& o = argsStream();
    appendArgs(o, parts...);
    h.log().setArgs(o.str());
}

// Out-parameters must not be null: the host would crash, the simulator reports it.
template <typename P>
void requireOut(P* p, const char* what) {
    if (!p) throw HostError(A_Err_PARAMETER, std::string(what) + " is null");
}

}  // namespace sim
