// Running host scripts and reading the answers of dialog scripts.
#include <cstdlib>
#include <cstring>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "cropUtil.h"

namespace cropUtil {

A_Err RunAlertScript(SPBasicSuite* basic, AEGP_PluginID pluginId, const char* script) {
    AEGP_SuiteHandler suites(basic);
    return suites.UtilitySuite5()->AEGP_ExecuteScript(pluginId, script, false, NULL, NULL);
}

A_Err RunDialogScript(SPBasicSuite* basic, AEGP_PluginID pluginId, const char* script, char* answer,
                      size_t answerSize) {
    A_Err err = A_Err_NONE;
    if (answer && answerSize) answer[0] = '\0';
    AEGP_SuiteHandler suites(basic);
    suites.MemorySuite1();  // acquired before the result exists, so a missing suite cannot leak it
    AEGP_MemHandle resultH = NULL;
    ERR(suites.UtilitySuite5()->AEGP_ExecuteScript(pluginId, script, false, &resultH, NULL));
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
