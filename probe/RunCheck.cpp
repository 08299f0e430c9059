// The command: the scratch folder inside the Host Check's own undo step, each check on its own
// (one that fails or stops does not stop the others), the cleanup, then the report.
#include "RunCheck.h"

#include "AEGP_SuiteHandler.h"
#include "Checks.h"
#include "HostBoundary.h"
#include "HostCheck_Texts.h"
#include "HostHold.h"
#include "HostScripts.h"
#include "Report.h"
#include "Scratch.h"

namespace hostcheck {

namespace {

// The host's version and system, as its scripting reports them.
std::string hostDescription(const Probe& p) {
    std::string text;
    const A_Err err = runScript(
        p, "(typeof app.version == 'string' ? app.version : 'version unknown') + ', ' + $.os;\n",
        &text, NULL);
    return err || text.empty() ? "unknown (its scripting did not answer)" : text;
}

CheckResult runOne(const Probe& p, const Check& check) {
    CheckResult r;
    r.name = check.name;
    r.key = check.key;
    r.simulated = check.simulated;
    Steps s;
    const A_Err thrown = AtHostBoundary([&] {
        check.run(p, s, &r);
        return A_Err_NONE;
    });
    if (thrown) {
        Steps stop;
        stop.stopped(thrown);
        r.observed = "the check stopped: " + stop.failed;
    } else if (!s.ok()) {
        r.observed = "the check could not be made: " + s.failed;
    }
    if (thrown || !s.ok()) {
        r.matches = "none";
        r.meaning = kCouldNotRun;
    } else {
        r.meaning = meaningOf(r.name, r.matches);
    }
    return r;
}

}  // namespace

const std::vector<Check>& allChecks() {
    static const std::vector<Check> checks = {
        {"resize-uses", "resize-uses", "proportional", checkResizeUses},
        {"resize-children", "resize-children", "unchanged", checkResizeChildren},
        {"parent-keeps-values", "", "keeps", checkParentKeepsValues},
        {"delete-parent-folds", "", "folds", checkDeleteParentFolds},
        {"null-layer", "", "standard", checkNullLayer},
        {"vertex0", "vertex0", "independent", checkVertex0},
        {"keyed-set-stream-value", "", "refused", checkKeyedSetStreamValue},
        {"masked-bounds-space", "", "source", checkMaskedBoundsSpace},
        {"render-downsample", "render-downsample", "preview", checkRenderDownsample},
        {"float-as-long", "float-as-long", "truncate", checkFloatAsLong},
        {"bool-pref", "", "one-byte", checkBoolPref},
        {"script-error", "script-error", "error", checkScriptError},
    };
    return checks;
}

A_Err runHostCheck(SPBasicSuite* basic, AEGP_PluginID id) {
    Probe p;
    p.basic = basic;
    p.id = id;
    AEGP_SuiteHandler suites(basic);
    RunSummary run;
    run.host = hostDescription(p);
    std::vector<CheckResult> results;
    Steps setup, cleanup;
    A_Err undoErr = A_Err_NONE;
    {
        // One step the user can see, named after the check; undoing it changes nothing, as
        // everything the checks make is removed before it ends.
        auto undo = HoldUndoGroup(suites.UtilitySuite5(), kName, &undoErr);
        setup.note("AEGP_StartUndoGroup", undoErr);
        // A suite missing on the way stops the step it is needed for, never the report.
        std::vector<A_long> before;
        bool known = false;
        setup.stopped(AtHostBoundary([&] {
            before = projectItems(p, setup);
            known = setup.ok();
            p.folder = makeFolder(p, setup, kFolderName);
            return A_Err_NONE;
        }));
        if (setup.ok())
            for (const Check& check : allChecks())
                results.push_back(runOne(p, check));
        if (known)
            cleanup.stopped(AtHostBoundary([&] {
                run.left = removeItemsSince(p, cleanup, before);
                return A_Err_NONE;
            }));
        A_Err ended = A_Err_NONE;
        undo.release(&ended);
        cleanup.note("AEGP_EndUndoGroup", ended);
    }
    run.status = setup.ok() ? "ran" : setup.failed;
    run.cleanupError = cleanup.failed;
    const std::string report = reportText(run, results);
    const A_Err reported = runScript(
        p, reportScript(report, outcomeOf(run, results), hostModelOf(results)), NULL, NULL);
    if (setup.err) return setup.err;
    return cleanup.err ? cleanup.err : reported;
}

}  // namespace hostcheck
