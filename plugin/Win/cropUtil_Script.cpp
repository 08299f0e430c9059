// Running host scripts and reading the answers of dialog scripts.
#include <cstdlib>
#include <cstring>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "cropUtil.h"

namespace cropUtil {

namespace {

// Whether the script's error text, when the host gave one, says something; the handle is freed
// either way. Some hosts answer a script that threw with success and keep the error only in this
// text, so a non-empty text is the script's failure whatever the call returned.
A_Err TakeScriptError(AEGP_SuiteHandler& suites, AEGP_MemHandle errorH, bool* failedP) {
    A_Err err = A_Err_NONE;
    *failedP = false;
    if (!errorH) return err;
    void* textP = NULL;
    AEGP_MemSize size = 0;
    ERR(suites.MemorySuite1()->AEGP_GetMemHandleSize(errorH, &size));
    ERR(suites.MemorySuite1()->AEGP_LockMemHandle(errorH, &textP));
    if (!err && textP && size > 0) *failedP = static_cast<const char*>(textP)[0] != '\0';
    if (textP) ERR2(suites.MemorySuite1()->AEGP_UnlockMemHandle(errorH));
    ERR2(suites.MemorySuite1()->AEGP_FreeMemHandle(errorH));
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

    void* textP = NULL;
    AEGP_MemSize size = 0;
    ERR(suites.MemorySuite1()->AEGP_GetMemHandleSize(resultH, &size));
    ERR(suites.MemorySuite1()->AEGP_LockMemHandle(resultH, &textP));
    if (!err && textP && answer && answerSize) {
        // The result is terminated text, but read no further than the handle's own size.
        size_t limit = size < answerSize - 1 ? size : answerSize - 1;
        const char* text = static_cast<const char*>(textP);
        size_t i = 0;
        for (; i < limit && text[i] != '\0'; ++i)
            answer[i] = text[i];
        answer[i] = '\0';
    }
    if (textP) ERR2(suites.MemorySuite1()->AEGP_UnlockMemHandle(resultH));
    ERR2(suites.MemorySuite1()->AEGP_FreeMemHandle(resultH));
    return err;
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
