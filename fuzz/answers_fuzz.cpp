// Fuzz target: the readers of dialog answers over arbitrary texts — the plug-in's readers of a
// script's result (and the copy of that result out of the host's memory handle), the simulated
// user's answers file (--ui, after the pre-scan its loader runs) and the actions typed at the
// terminal, and the preferences file (--prefs). The plug-in's readers never fail; the simulator's
// readers load or throw std::runtime_error, and nothing else.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <set>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "FuzzInput.h"
#include "InputText.h"
#include "ScriptEngine.h"
#include "cropUtil.h"
#if ZENTRIM_FUZZ_PREFERENCES
#include "Preferences.h"
#endif

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// A decimal integer at the start of the text after white space, with an optional sign; 0 when
// there is none; clamped to the range of long.
long referenceInteger(const char* text) {
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    if (*p < '0' || *p > '9') return 0;
    // Counted up to one past LONG_MAX, where it stops: enough to tell either limit.
    const unsigned long long cap = static_cast<unsigned long long>(LONG_MAX) + 1;
    unsigned long long magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        unsigned digit = static_cast<unsigned>(*p - '0');
        magnitude = magnitude > (cap - digit) / 10 ? cap : magnitude * 10 + digit;
    }
    if (negative)
        return magnitude > static_cast<unsigned long long>(LONG_MAX)
                   ? LONG_MIN
                   : -static_cast<long>(magnitude);
    return magnitude > static_cast<unsigned long long>(LONG_MAX) ? LONG_MAX
                                                                 : static_cast<long>(magnitude);
}

void checkReaders(const std::string& text) {
    const char* s = text.c_str();
    int digit = cropUtil::DigitAnswer(s);
    int wantDigit = s[0] == '\0' ? -1 : static_cast<unsigned char>(s[0]) - '0';
    if (digit != wantDigit) fail("DigitAnswer");
    if (cropUtil::BooleanAnswer(s) != (s[0] == 't')) fail("BooleanAnswer");
    if (cropUtil::IntegerAnswer(s) != referenceInteger(s))
        fail("IntegerAnswer of \"" + text + "\": " + std::to_string(cropUtil::IntegerAnswer(s)) +
             " instead of " + std::to_string(referenceInteger(s)));
    if (cropUtil::DigitAnswer(nullptr) != -1 || cropUtil::BooleanAnswer(nullptr) ||
        cropUtil::IntegerAnswer(nullptr) != 0)
        fail("a null text");
}

// A script's result as the plug-in copies it out of the host's memory handle into a buffer of
// any size: always terminated inside the buffer, the start of the text up to its first zero.
void checkDialogResult(fuzz::Input& in) {
    // A refused FreeMemHandle is left out: the stand-in host would then keep the handle for good.
    static const char* const kCalls[] = {"ExecuteScript", "GetMemHandleSize", "LockMemHandle",
                                         "UnlockMemHandle"};
    size_t bufferSize = static_cast<size_t>(in.range(0, 40));
    int64_t failing = in.range(-1, 4);
    FakeHost host;
    if (failing >= 0 && failing < 4) host.failCall = kCalls[failing];
    host.failWith = 9;
    if (failing == 4) host.missingSuite = kAEGPMemorySuite;
    host.scriptResult = in.rest();
    std::vector<char> buffer(bufferSize, 'x');
    char* answer = bufferSize ? buffer.data() : nullptr;
    A_Err err = 0;
    bool thrown = false;
    try {
        err = cropUtil::RunDialogScript(host.basic(), 1, "dialog()", answer, bufferSize);
    } catch (A_Err e) {
        if (e != 516 || host.missingSuite.empty()) fail("thrown " + std::to_string(e));
        thrown = true;
    }
    if (!host.missingSuite.empty() && !thrown) fail("a missing suite not reported");
    for (auto& [name, count] : host.acquired)
        if (host.released[name] != count) fail("suite not released: " + name);
    if (host.liveMemHandles != 0) fail("result handle kept");
    if (!bufferSize) return;
    size_t length = ::strnlen(buffer.data(), bufferSize);
    if (length == bufferSize) fail("answer not terminated");
    if (err || thrown) {
        if (host.failCall == "ExecuteScript" && length != 0) fail("answer after a failed script");
        if (thrown && length != 0) fail("answer after a missing suite");
        return;
    }
    std::string text = host.scriptResult.substr(0, host.scriptResult.find('\0'));
    std::string want = text.substr(0, bufferSize - 1);
    if (std::string(buffer.data(), length) != want)
        fail("answer \"" + std::string(buffer.data(), length) + "\" instead of \"" + want + "\"");
}

void checkUserAnswers(const std::string& text) {
    sim::UserAnswers answers;
    try {
        // As the loader does: the pre-scan of encoding and depth, then the parser.
        sim::checkJsonText(text, "ui.json");
        answers = sim::parseUserAnswers(text, "ui.json");
    } catch (const std::runtime_error&) {
        return;
    } catch (const std::exception& e) {
        fail(std::string("not a runtime_error: ") + e.what());
    }
    static const std::set<std::string> kinds = {"check",  "uncheck", "text",
                                                "select", "click",   "close"};
    for (const sim::DialogAnswer& d : answers.dialogs)
        for (const sim::DialogAction& a : d.actions)
            if (!kinds.count(a.kind) || a.index < 0 || a.item < 0) fail("action " + a.kind);
}

void checkActionLine(const std::string& text) {
    try {
        sim::DialogAction a = sim::parseActionLine(text);
        if (a.index < 0 || a.item < 0) fail("negative index");
    } catch (const std::runtime_error&) {
    } catch (const std::exception& e) {
        fail(std::string("not a runtime_error: ") + e.what());
    }
}

#if ZENTRIM_FUZZ_PREFERENCES
void checkPreferences(const std::string& text) {
    sim::Preferences prefs;
    try {
        prefs = sim::Preferences::parse(text, "prefs.json");
    } catch (const std::runtime_error&) {
        return;
    } catch (const std::exception& e) {
        fail(std::string("not a runtime_error: ") + e.what());
    }
    std::string saved = prefs.serialize();
    try {
        if (sim::Preferences::parse(saved, "saved.json").serialize() != saved)
            fail("preferences change when saved and loaded:\n" + saved);
    } catch (const std::exception& e) {
        fail(std::string("saved preferences do not load: ") + e.what() + "\n" + saved);
    }
}
#else
void checkPreferences(const std::string&) {}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    switch (in.take<uint8_t>() % 5) {
        case 0:
            checkReaders(in.rest());
            break;
        case 1:
            checkDialogResult(in);
            break;
        case 2:
            checkUserAnswers(in.rest());
            break;
        case 3:
            checkActionLine(in.rest());
            break;
        default:
            checkPreferences(in.rest());
            break;
    }
    return 0;
}
