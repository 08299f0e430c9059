// The host's scripting language is ECMAScript 3: what Duktape has beyond it is taken away from
// scripts, and an error one of them caused names it.
#include <cstring>

#include "Engine.h"

namespace sim::script {

namespace {

// The library additions of ECMAScript 5 and later (and Duktape's own objects) that Duktape
// offers and the host's engine lacks. Number.EPSILON, MAX_SAFE_INTEGER and MIN_SAFE_INTEGER stay:
// the language makes them permanent, and they are plain numbers no script calls.
const char* const kLaterBuiltIns[] = {
    // globals
    "JSON", "globalThis", "Reflect", "Proxy", "Symbol", "Duktape", "CBOR", "Buffer", "ArrayBuffer",
    "DataView", "Int8Array", "Uint8Array", "Uint8ClampedArray", "Int16Array", "Uint16Array",
    "Int32Array", "Uint32Array", "Float32Array", "Float64Array", "TextEncoder", "TextDecoder",
    "performance",
    // Object
    "Object.keys", "Object.create", "Object.defineProperty", "Object.defineProperties",
    "Object.getPrototypeOf", "Object.setPrototypeOf", "Object.getOwnPropertyDescriptor",
    "Object.getOwnPropertyNames", "Object.getOwnPropertySymbols", "Object.assign", "Object.is",
    "Object.freeze", "Object.isFrozen", "Object.seal", "Object.isSealed",
    "Object.preventExtensions", "Object.isExtensible",
    // Array
    "Array.isArray", "Array.prototype.indexOf", "Array.prototype.lastIndexOf",
    "Array.prototype.every", "Array.prototype.some", "Array.prototype.forEach",
    "Array.prototype.map", "Array.prototype.filter", "Array.prototype.reduce",
    "Array.prototype.reduceRight",
    // String
    "String.fromCodePoint", "String.prototype.trim", "String.prototype.codePointAt",
    "String.prototype.repeat", "String.prototype.startsWith", "String.prototype.endsWith",
    "String.prototype.includes",
    // Function, Date, Number, Math
    "Function.prototype.bind", "Date.now", "Date.prototype.toISOString", "Date.prototype.toJSON",
    "Number.parseInt", "Number.parseFloat", "Number.isFinite", "Number.isInteger", "Number.isNaN",
    "Number.isSafeInteger", "Math.cbrt", "Math.clz32", "Math.hypot", "Math.imul", "Math.log2",
    "Math.log10", "Math.sign", "Math.trunc"};
// RegExp.prototype.flags stays although it is later than ECMAScript 3: Duktape reads it to split
// a string at a regular expression, which the host's language has.

std::string lastPart(const std::string& path) {
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(dot + 1);
}

// The quoted name after `marker` in `message` ("... (property 'indexOf' of ..."), or empty.
std::string quotedAfter(const std::string& message, const std::string& marker) {
    size_t at = message.find(marker);
    if (at == std::string::npos) return "";
    size_t begin = at + marker.size(), end = message.find('\'', begin);
    return end == std::string::npos ? "" : message.substr(begin, end - begin);
}

// Whether the receiver Duktape names ("[object Array]", "'text'") is what the built-in at `path`
// is called on, so that a script's own object without such a method gets no hint.
bool receiverFits(const std::string& path, const std::string& receiver) {
    size_t proto = path.find(".prototype.");
    if (proto != std::string::npos) {
        std::string owner = path.substr(0, proto);
        if (owner == "String") return receiver.rfind("'", 0) == 0 || receiver == "[object String]";
        return receiver == "[object " + owner + "]";
    }
    if (path.rfind("Math.", 0) == 0) return receiver == "[object Math]";
    return receiver == "[object Function]";
}

}  // namespace

void removeLaterBuiltIns(duk_context* ctx) {
    for (const char* path : kLaterBuiltIns) {
        std::string rest = path;
        duk_push_global_object(ctx);
        int pushed = 1;
        bool reachable = true;
        for (size_t dot = rest.find('.'); dot != std::string::npos; dot = rest.find('.')) {
            duk_get_prop_string(ctx, -1, rest.substr(0, dot).c_str());
            ++pushed;
            rest = rest.substr(dot + 1);
            if (!duk_is_object(ctx, -1)) {
                reachable = false;
                break;
            }
        }
        if (reachable) duk_del_prop_string(ctx, -1, rest.c_str());
        duk_pop_n(ctx, pushed);
    }
}

std::string missingBuiltInHint(const std::string& message) {
    // Duktape's words: "undefined not callable (property 'indexOf' of [object Array])" for a
    // method, "identifier 'JSON' undefined" for a global.
    std::string method = quotedAfter(message, "not callable (property '");
    std::string global = quotedAfter(message, "identifier '");
    if (method.empty() && global.empty()) return "";
    std::string receiver;
    if (!method.empty()) {
        std::string marker = "(property '" + method + "' of ";
        size_t begin = message.find(marker) + marker.size();
        // A string is quoted ('text'), anything else bracketed ([object Array]).
        size_t end = begin < message.size() && message[begin] == '\''
                         ? message.find('\'', begin + 1)
                         : message.find(']', begin);
        if (end != std::string::npos) receiver = message.substr(begin, end + 1 - begin);
    }
    std::string names;
    for (const char* path : kLaterBuiltIns) {
        bool isGlobal = std::strchr(path, '.') == nullptr;
        bool matches =
            isGlobal ? path == global : lastPart(path) == method && receiverFits(path, receiver);
        if (!matches) continue;
        names += (names.empty() ? "" : " or ") + std::string(path);
    }
    if (names.empty()) return "";
    return names + " is not in the host's scripting language (ECMAScript 3)";
}

}  // namespace sim::script
