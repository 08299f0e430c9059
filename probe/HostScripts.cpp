// Running scripts through AEGP_ExecuteScript and reading back the texts the host hands over.
#include "HostScripts.h"

#include "AEGP_SuiteHandler.h"
#include "ErrorChain.h"

namespace hostcheck {

namespace {

// The text of a memory handle the host made (terminated, but read no further than its size),
// and the handle freed.
A_Err takeText(AEGP_MemorySuite1* memory, AEGP_MemHandle handle, std::string* out) {
    A_Err err = A_Err_NONE;
    void* data = NULL;
    AEGP_MemSize size = 0;
    ERR(memory->AEGP_GetMemHandleSize(handle, &size));
    ERR(memory->AEGP_LockMemHandle(handle, &data));
    if (!err && data && out) {
        const char* text = static_cast<const char*>(data);
        size_t length = 0;
        while (length < size && text[length] != '\0')
            ++length;
        out->assign(text, length);
    }
    if (data) ERR2(memory->AEGP_UnlockMemHandle(handle));
    ERR2(memory->AEGP_FreeMemHandle(handle));
    return err;
}

}  // namespace

A_Err runScript(const Probe& p, const std::string& script, std::string* result,
                std::string* error) {
    AEGP_SuiteHandler suites(p.basic);
    // Acquired before the handles exist, so that a missing suite cannot leak them.
    AEGP_MemorySuite1* memory = suites.MemorySuite1();
    AEGP_MemHandle resultH = NULL, errorH = NULL;
    if (result) result->clear();
    if (error) error->clear();
    A_Err err =
        suites.UtilitySuite5()->AEGP_ExecuteScript(p.id, script.c_str(), false, &resultH, &errorH);
    A_Err taken = A_Err_NONE;
    if (resultH) taken = takeText(memory, resultH, result);
    if (errorH) {
        A_Err second = takeText(memory, errorH, error);
        if (!taken) taken = second;
    }
    return err ? err : taken;
}

std::string scriptString(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const unsigned char u = static_cast<unsigned char>(c);
        // U+2028 and U+2029 end a script line as a line feed does.
        const bool lineSeparator = u == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
                                   (text[i + 2] == '\xA8' || text[i + 2] == '\xA9');
        if (lineSeparator) {
            out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
            i += 2;
        } else if (c == '\\' || c == '\'' || c == '"') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xF];
        } else {
            out += c;  // other UTF-8 passes as it is: the script is handed over as UTF-8
        }
    }
    return out;
}

}  // namespace hostcheck
