// What the host does beyond the project: where new render options start, how preferences a script
// saved read back, and what a failing script returns.
#include "AEGP_SuiteHandler.h"
#include "Checks.h"
#include "HostCheck_Texts.h"
#include "HostHold.h"
#include "HostScripts.h"
#include "Report.h"
#include "Scratch.h"

namespace hostcheck {

namespace {

// Saves one preference as a script does, as the plug-in's preferences dialog saves them.
void savePref(const Probe& p, Steps& s, const char* setter, const char* key, const char* value) {
    if (!s.ok()) return;
    const std::string script = std::string("app.preferences.") + setter + "('" +
                               scriptString(kPrefSection) + "', '" + key + "', " + value +
                               ");\napp.preferences.saveToDisk();\n'saved';\n";
    s.note("AEGP_ExecuteScript (saving a preference)", runScript(p, script, NULL, NULL));
}

// Removes the preference again, also from the file the host keeps them in.
void removePref(const Probe& p, Steps& s, AEGP_PersistentBlobH blob, const char* key) {
    AEGP_SuiteHandler suites(p.basic);
    STEP(s, suites.PersistentDataSuite3(), AEGP_DeleteEntry, blob, kPrefSection, key);
    if (s.ok())
        s.note("AEGP_ExecuteScript (saving the preferences)",
               runScript(p, "app.preferences.saveToDisk();\n'saved';\n", NULL, NULL));
}

}  // namespace

// A composition at half resolution, and render options made from it.
void checkRenderDownsample(const Probe& p, Steps& s, CheckResult* r) {
    AEGP_CompH comp = makeComp(p, s, "Half resolution", 400, 300);
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_RenderOptionsSuite3* render = suites.RenderOptionsSuite3();
    AEGP_RenderOptionsH options = NULL;
    auto optionsHold =
        HoldHandle(options, [render](AEGP_RenderOptionsH h) { return render->AEGP_Dispose(h); });
    const AEGP_DownsampleFactor half = {2, 2};
    AEGP_DownsampleFactor preview = {0, 0};
    AEGP_ItemH item = NULL;
    A_short x = 0, y = 0;
    STEP(s, suites.CompSuite7(), AEGP_SetCompDownsampleFactor, comp, &half);
    STEP(s, suites.CompSuite7(), AEGP_GetCompDownsampleFactor, comp, &preview);
    STEP(s, suites.CompSuite7(), AEGP_GetItemFromComp, comp, &item);
    STEP(s, render, AEGP_NewFromItem, p.id, item, &options);
    STEP(s, render, AEGP_GetDownsampleFactor, options, &x, &y);
    A_Err given = A_Err_NONE;
    optionsHold.release(&given);
    s.note("AEGP_Dispose", given);
    if (!s.ok()) return;

    r->matches = x == 2 && y == 2 ? "preview" : x == 1 && y == 1 ? "full" : "none";
    r->observed = "a composition set to half resolution (it reads " + std::to_string(preview.xS) +
                  " x " + std::to_string(preview.yS) +
                  "): render options made from it start with downsample factors " +
                  std::to_string(x) + " x " + std::to_string(y);
}

// 2.75 saved with savePrefAsFloat, read as the plug-in reads its amounts: AEGP_GetLong with the
// default 0, and once more with the default -7 to tell "0" from "the default".
void checkFloatAsLong(const Probe& p, Steps& s, CheckResult* r) {
    savePref(p, s, "savePrefAsFloat", "Float", "2.75");
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_PersistentDataSuite3* data = suites.PersistentDataSuite3();
    AEGP_PersistentBlobH blob = NULL;
    A_long asRead = -1, withOtherDefault = -1;
    STEP(s, data, AEGP_GetApplicationBlob, &blob);
    STEP(s, data, AEGP_GetLong, blob, kPrefSection, "Float", 0, &asRead);
    STEP(s, data, AEGP_GetLong, blob, kPrefSection, "Float", -7, &withOtherDefault);
    removePref(p, s, blob, "Float");
    if (!s.ok()) return;

    r->matches = asRead == 2 ? "truncate" : asRead == 0 ? "zero" : "none";
    r->observed = "2.75 saved by a script with savePrefAsFloat reads through AEGP_GetLong as " +
                  std::to_string(asRead) + " (default 0) and " + std::to_string(withOtherDefault) +
                  " (default -7)";
}

// true saved with savePrefAsBool, read as the plug-in reads its switches: one byte, no default.
void checkBoolPref(const Probe& p, Steps& s, CheckResult* r) {
    savePref(p, s, "savePrefAsBool", "Bool", "true");
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_PersistentDataSuite3* data = suites.PersistentDataSuite3();
    AEGP_PersistentBlobH blob = NULL;
    unsigned char byte = 0x5A;  // a mark: shows whether the host wrote the byte at all
    STEP(s, data, AEGP_GetApplicationBlob, &blob);
    STEP(s, data, AEGP_GetData, blob, kPrefSection, "Bool", 1, NULL, &byte);
    removePref(p, s, blob, "Bool");
    if (!s.ok()) return;

    r->matches = byte == 1 ? "one-byte" : "none";
    r->observed =
        "true saved by a script with savePrefAsBool reads through a one-byte "
        "AEGP_GetData as " +
        (byte == 0x5A ? std::string("nothing (the buffer was left as it was)")
                      : std::to_string(byte));
}

// A script that throws: what AEGP_ExecuteScript returns, and the texts it hands back.
void checkScriptError(const Probe& p, Steps& s, CheckResult* r) {
    if (!s.ok()) return;
    std::string result, error;
    const A_Err returned = runScript(
        p, "throw new Error('a deliberate error of the Zentrim Host Check');\n", &result, &error);
    r->matches = returned ? "error" : "silent";
    r->observed = "a script that throws: AEGP_ExecuteScript returned " +
                  (returned ? "error " + std::to_string(returned) : std::string("0 (success)")) +
                  ", the result \"" + result + "\", the error text \"" + error + "\"";
}

}  // namespace hostcheck
