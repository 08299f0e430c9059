// Running host scripts and reading the answers of dialog scripts.
#include <cstdlib>
#include <cstring>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Util/HostHold.h"
#include "cropUtil.h"

namespace cropUtil {

namespace {

// Copies the start of a text handle (terminated text, read no further than the handle's own size)
// into `out`, always terminated, and frees the handle. `err` is the caller's error so far: while it
// is set nothing is read, but the handle is still freed; the first error is returned.
A_Err TakeText(AEGP_MemorySuite1* memory, AEGP_MemHandle textH, char* out, size_t outSize,
               A_Err err) {
    void* textP = NULL;
    auto heldText = HoldMemHandle(memory, textH);
    auto heldLock = HoldMemLock(memory, textH, textP);
    AEGP_MemSize size = 0;
    ERR(memory->AEGP_GetMemHandleSize(textH, &size));
    ERR(memory->AEGP_LockMemHandle(textH, &textP));
    if (!err && textP && out && outSize) {
        size_t limit = size < outSize - 1 ? size : outSize - 1;
        const char* text = static_cast<const char*>(textP);
        size_t i = 0;
        for (; i < limit && text[i] != '\0'; ++i)
            out[i] = text[i];
        out[i] = '\0';
    }
    heldLock.release(&err);
    heldText.release(&err);
    return err;
}

// Whether the script's error text, when the host gave one, says something; the handle is freed
// either way. Some hosts answer a script that threw with success and keep the error only in this
// text, so a non-empty text is the script's failure whatever the call returned.
A_Err TakeScriptError(AEGP_SuiteHandler& suites, AEGP_MemHandle errorH, bool* failedP) {
    *failedP = false;
    if (!errorH) return A_Err_NONE;
    char first[2] = "";
    A_Err err = TakeText(suites.MemorySuite1(), errorH, first, sizeof first, A_Err_NONE);
    *failedP = !err && first[0] != '\0';
    return err;
}

// Runs a script and asks for its error text; a script that failed is an error even when the host
// answered with success.
A_Err RunScript(AEGP_SuiteHandler& suites, AEGP_PluginID pluginId, const char* script,
                AEGP_MemHandle* resultPH) {
    suites.MemorySuite1();  // acquired before any handle exists, so a missing suite cannot leak it
    AEGP_MemHandle errorH = NULL;
    A_Err err =
        suites.UtilitySuite5()->AEGP_ExecuteScript(pluginId, script, false, resultPH, &errorH);
    bool failed = false;
    ERR2(TakeScriptError(suites, errorH, &failed));
    if (!err && failed) err = A_Err_GENERIC;
    return err;
}

}  // namespace

A_Err RunAlertScript(SPBasicSuite* basic, AEGP_PluginID pluginId, const char* script) {
    AEGP_SuiteHandler suites(basic);
    return RunScript(suites, pluginId, script, NULL);
}

A_Err RunDialogScript(SPBasicSuite* basic, AEGP_PluginID pluginId, const char* script, char* answer,
                      size_t answerSize) {
    A_Err err = A_Err_NONE;
    if (answer && answerSize) answer[0] = '\0';
    AEGP_SuiteHandler suites(basic);
    AEGP_MemHandle resultH = NULL;
    err = RunScript(suites, pluginId, script, &resultH);
    if (!resultH) return err;

    return TakeText(suites.MemorySuite1(), resultH, answer, answerSize, err);
}

int DigitAnswer(const char* text) {
    if (!text || text[0] == '\0') return -1;
    return static_cast<unsigned char>(text[0]) - '0';
}

bool BooleanAnswer(const char* text) {
    return text && text[0] == 't';
}

long IntegerAnswer(const char* text) {
    if (!text) return 0;
    char* end = NULL;
    long value = std::strtol(text, &end, 10);
    return end == text ? 0 : value;
}

}  // namespace cropUtil
