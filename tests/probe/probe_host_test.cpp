// The Host Check in the simulated host, in-process: hosts that behave otherwise than the
// simulator's model (suite members replaced) are told apart, a check the host refuses or a missing
// suite stops that check only, a failed cleanup is reported, and whichever host call fails, the
// check leaks nothing, balances its suites and undo group, and says truly whether the project is
// as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "DemoProject.h"
#include "FaultRules.h"
#include "Host.h"
#include "PluginModule.h"
#include "ProbeSession.h"
#include "ProjectFile.h"
#include "ScriptEngine.h"

namespace {

using namespace sim;

class ProbeInHost : public ::testing::Test {
  public:
    Host host;
    std::string sandbox;
    Project original;
    std::unique_ptr<PluginModule> module;

    void SetUp() override {
        host.project() = parseProject(demoProjectText(), "demo project", "");
        original = host.project();
        sandbox = installScriptEngine(host, UserAnswers{});
        module = std::make_unique<PluginModule>(ZENTRIM_HOSTCHECK_MODULE, true);
        ASSERT_EQ(module->start(host), A_Err_NONE);
    }

    // A copy of a suite table the host serves, served in its place, for a test to change.
    template <typename Suite>
    Suite& alter(const char* name, int version) {
        const void* served = host.findSuite(name, version);
        auto copy = std::make_shared<Suite>(*static_cast<const Suite*>(served));
        altered_.push_back({name, version, served, copy});
        host.addSuite(name, version, copy.get());
        return *copy;
    }
    // Serves the host's own tables again.
    void restoreSuites() {
        for (const Altered& a : altered_)
            host.addSuite(a.name, a.version, a.served);
        altered_.clear();
    }

    // What the check leaves whatever happened: nothing held, suites and undo balanced (unless
    // the host itself refused to take something back).
    void expectNothingHeld(const ProbeOutcome& o, bool givingBackRefused = false) {
        if (givingBackRefused) {
            while (host.undoDepth() > 0)  // the next run starts outside any group
                host.endUndoGroup();
            return;
        }
        EXPECT_EQ(o.leaks, std::vector<std::string>{});
        for (const std::string& p : o.problems) {
            EXPECT_EQ(p.rfind("suite ", 0), std::string::npos) << p;
            EXPECT_EQ(p.find("undo group"), std::string::npos) << p;
        }
        EXPECT_EQ(host.undoDepth(), 0);
    }

  private:
    struct Altered {
        const char* name;
        int version;
        const void* served;
        std::shared_ptr<void> copy;
    };
    std::vector<Altered> altered_;
};

// ---- hosts that behave otherwise: each replaces one suite member ----

A_Err (*g_setLayerParent)(AEGP_LayerH, const AEGP_LayerH) = nullptr;
A_Err (*g_deleteLayer)(AEGP_LayerH) = nullptr;
A_Err (*g_createNull)(const A_UTF16Char*, AEGP_CompH, const A_Time*, AEGP_LayerH*) = nullptr;
A_Err (*g_maskedBounds)(AEGP_LayerH, AEGP_LTimeMode, const A_Time*, A_FloatRect*) = nullptr;
A_Err (*g_setStreamValue)(AEGP_PluginID, AEGP_StreamRefH, AEGP_StreamValue2*) = nullptr;
A_Err (*g_getLong)(AEGP_PersistentBlobH, const A_char*, const A_char*, A_long, A_long*) = nullptr;

// Parenting that keeps the child in place: its position becomes relative to the parent's.
A_Err compensatingParent(AEGP_LayerH layer, const AEGP_LayerH parent) {
    A_Err err = g_setLayerParent(layer, parent);
    if (!err && parent) {
        Host& h = Host::current();
        const Vec3 at = h.layerOf(parent).position.value;
        Vec3& p = h.layerOf(layer).position.value;
        p = {p.x - at.x, p.y - at.y, p.z - at.z};
    }
    return err;
}

// Deleting a parent that lets its children jump: they lose it first, so nothing is folded.
A_Err deleteWithoutFolding(AEGP_LayerH layer) {
    Host& h = Host::current();
    Item* comp = nullptr;
    const Id id = h.layerOf(layer, &comp).id;
    for (Layer& l : comp->comp.layers)
        if (l.parent == id) l.parent = 0;
    return g_deleteLayer(layer);
}

A_Err nullAnchoredAtItsCentre(const A_UTF16Char* name, AEGP_CompH comp, const A_Time* duration,
                              AEGP_LayerH* layer) {
    A_Err err = g_createNull(name, comp, duration, layer);
    if (!err) Host::current().layerOf(*layer).anchorPoint.value = {50, 50, 0};
    return err;
}

// Masked bounds carried into the composition by the layer's anchor point, scale and position.
A_Err boundsInTheComposition(AEGP_LayerH layer, AEGP_LTimeMode mode, const A_Time* t,
                             A_FloatRect* bounds) {
    A_Err err = g_maskedBounds(layer, mode, t, bounds);
    const Layer& l = Host::current().layerOf(layer);
    const Vec3 a = l.anchorPoint.value, s = l.scale.value, p = l.position.value;
    auto x = [&](double v) { return (v - a.x) * s.x / 100 + p.x; };
    auto y = [&](double v) { return (v - a.y) * s.y / 100 + p.y; };
    *bounds = {x(bounds->left), y(bounds->top), x(bounds->right), y(bounds->bottom)};
    return err;
}

// Setting a keyed value answers success (and changes nothing).
A_Err keyedValueAccepted(AEGP_PluginID id, AEGP_StreamRefH stream, AEGP_StreamValue2* value) {
    A_Err err = g_setStreamValue(id, stream, value);
    return err == A_Err_PARAMETER ? A_Err_NONE : err;
}

// A one-byte read that writes nothing at all.
A_Err oneByteLeftAlone(AEGP_PersistentBlobH, const A_char*, const A_char*, A_u_long size,
                       const void*, void*) {
    return size == 1 ? A_Err_NONE : A_Err_GENERIC;
}

// A number saved as floating point read as the nearest whole number.
A_Err floatsRounded(AEGP_PersistentBlobH blob, const A_char* section, const A_char* key,
                    A_long fallback, A_long* value) {
    A_Err err = g_getLong(blob, section, key, fallback, value);
    const PrefValue* stored = Host::current().prefs().find(section, key);
    if (!err && stored && std::holds_alternative<double>(*stored))
        *value = static_cast<A_long>(std::lround(std::get<double>(*stored)));
    return err;
}

TEST_F(ProbeInHost, TellsHostsThatBehaveOtherwiseApart) {
    struct Case {
        const char* what;
        const char* check;  // the one check that must then match no modelled behaviour
        const char* observed;
        void (*alterHost)(ProbeInHost&);
    };
    const Case cases[] = {
        {"parenting compensates", "parent-keeps-values", "(-100, -100, 0)",
         [](ProbeInHost& t) {
             auto& s = t.alter<AEGP_LayerSuite7>(kAEGPLayerSuite, kAEGPLayerSuiteVersion7);
             g_setLayerParent = s.AEGP_SetLayerParent;
             s.AEGP_SetLayerParent = compensatingParent;
         }},
        {"deleting a parent lets children jump", "delete-parent-folds",
         "(300, 200, 0), without a parent (it appeared at (800, 300))",
         [](ProbeInHost& t) {
             auto& s = t.alter<AEGP_LayerSuite7>(kAEGPLayerSuite, kAEGPLayerSuiteVersion7);
             g_deleteLayer = s.AEGP_DeleteLayer;
             s.AEGP_DeleteLayer = deleteWithoutFolding;
         }},
        {"a new null is anchored at its centre", "null-layer", "anchor point (50, 50, 0)",
         [](ProbeInHost& t) {
             auto& s = t.alter<AEGP_CompSuite7>(kAEGPCompSuite, kAEGPCompSuiteVersion7);
             g_createNull = s.AEGP_CreateNullInComp;
             s.AEGP_CreateNullInComp = nullAnchoredAtItsCentre;
         }},
        {"masked bounds are in the composition", "masked-bounds-space",
         "(420, 340) - (620, 440), the mask in the composition's pixels",
         [](ProbeInHost& t) {
             auto& s = t.alter<AEGP_LayerSuite7>(kAEGPLayerSuite, kAEGPLayerSuiteVersion7);
             g_maskedBounds = s.AEGP_GetLayerMaskedBounds;
             s.AEGP_GetLayerMaskedBounds = boundsInTheComposition;
         }},
        {"a keyed value can be set", "keyed-set-stream-value", "succeeded",
         [](ProbeInHost& t) {
             auto& s = t.alter<AEGP_StreamSuite4>(kAEGPStreamSuite, kAEGPStreamSuiteVersion4);
             g_setStreamValue = s.AEGP_SetStreamValue;
             s.AEGP_SetStreamValue = keyedValueAccepted;
         }},
        {"a saved bool is no byte", "bool-pref", "nothing (the buffer was left as it was)",
         [](ProbeInHost& t) {
             auto& s = t.alter<AEGP_PersistentDataSuite3>(kAEGPPersistentDataSuite,
                                                          kAEGPPersistentDataSuiteVersion3);
             s.AEGP_GetData = oneByteLeftAlone;
         }},
        {"floats are rounded", "float-as-long", "as 3 (default 0) and 3 (default -7)",
         [](ProbeInHost& t) {
             auto& s = t.alter<AEGP_PersistentDataSuite3>(kAEGPPersistentDataSuite,
                                                          kAEGPPersistentDataSuiteVersion3);
             g_getLong = s.AEGP_GetLong;
             s.AEGP_GetLong = floatsRounded;
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        host.project() = original;
        k.alterHost(*this);
        ProbeOutcome o = runProbe(host, sandbox);
        ASSERT_TRUE(o.report) << o.reportError;
        EXPECT_EQ(o.result, A_Err_NONE);
        for (const ProbeCheck& c : o.report->checks) {
            const bool altered = c.name == k.check;
            EXPECT_EQ(c.matches, altered ? "none" : c.simulated) << c.name << ": " << c.observed;
            if (altered) {
                EXPECT_NE(c.observed.find(k.observed), std::string::npos) << c.observed;
            }
        }
        EXPECT_EQ(o.projectDifference, "");
        expectNothingHeld(o);
        restoreSuites();
    }
}

TEST_F(ProbeInHost, AHostCallThatFailsStopsOnlyTheChecksThatNeedIt) {
    host.log().faults.failName = "AEGP_CreateComp";
    host.log().faults.onlyOnce = false;
    host.log().faults.error = A_Err_PARAMETER;
    ProbeOutcome o = runProbe(host, sandbox);
    ASSERT_TRUE(o.report) << o.reportError;
    EXPECT_EQ(o.result, A_Err_NONE);
    for (const ProbeCheck& c : o.report->checks) {
        const bool needsNoComposition =
            c.name == "float-as-long" || c.name == "bool-pref" || c.name == "script-error";
        EXPECT_EQ(c.matches, needsNoComposition ? c.simulated : "none") << c.name;
        if (!needsNoComposition) {
            EXPECT_EQ(c.observed, "the check could not be made: AEGP_CreateComp returned error 3");
        }
    }
    EXPECT_EQ(o.projectDifference, "");
    EXPECT_TRUE(o.undoRestored);
    EXPECT_EQ(o.undoSteps, std::vector<std::string>{"Zentrim Host Check"});
    expectNothingHeld(o);
}

TEST_F(ProbeInHost, AMissingSuiteStopsTheChecksThatNeedIt) {
    host.addSuite(kAEGPCompSuite, kAEGPCompSuiteVersion7, nullptr);
    ProbeOutcome o = runProbe(host, sandbox);
    ASSERT_TRUE(o.report) << o.reportError;
    int stopped = 0;
    for (const ProbeCheck& c : o.report->checks) {
        if (c.matches == c.simulated) continue;
        ++stopped;
        EXPECT_EQ(c.observed, "the check stopped: the host lacks a suite it needs (error 516)");
    }
    EXPECT_EQ(stopped, 9);
    EXPECT_EQ(o.projectDifference, "");
    expectNothingHeld(o);
}

TEST_F(ProbeInHost, WhenTheChecksCannotStartTheReportSaysWhy) {
    host.log().faults.failName = "AEGP_CreateNewFolder";
    ProbeOutcome o = runProbe(host, sandbox);
    ASSERT_TRUE(o.report) << o.reportError;
    EXPECT_EQ(o.result, A_Err_GENERIC);
    EXPECT_EQ(o.report->header["status"], "AEGP_CreateNewFolder returned error 1");
    EXPECT_TRUE(o.report->checks.empty());
    ASSERT_EQ(o.alerts.size(), 1u);
    EXPECT_EQ(o.alerts[0].text.rfind("Zentrim Host Check: the checks could not start: "
                                     "AEGP_CreateNewFolder returned error 1. The project is as "
                                     "it was",
                                     0),
              0u)
        << o.alerts[0].text;
    EXPECT_EQ(o.projectDifference, "");
    expectNothingHeld(o);
}

TEST_F(ProbeInHost, WhatTheCleanupCouldNotRemoveIsReportedAndTheUserToldToDeleteIt) {
    host.log().faults.failName = "AEGP_DeleteItem";
    ProbeOutcome o = runProbe(host, sandbox);
    ASSERT_TRUE(o.report) << o.reportError;
    EXPECT_EQ(o.result, A_Err_GENERIC);
    const std::string cleanup = o.report->header["cleanup"];
    EXPECT_NE(cleanup.find(" items could not be removed: "), std::string::npos) << cleanup;
    EXPECT_NE(cleanup.find("Zentrim Host Check (temporary)"), std::string::npos) << cleanup;
    EXPECT_NE(cleanup.find("(AEGP_DeleteItem returned error 1)"), std::string::npos) << cleanup;
    ASSERT_EQ(o.alerts.size(), 1u);
    EXPECT_NE(o.alerts[0].text.find("please delete the folder \"Zentrim Host Check (temporary)\""),
              std::string::npos)
        << o.alerts[0].text;
    EXPECT_NE(o.projectDifference, "");
    expectNothingHeld(o);
}

// Where the report goes when the user's Documents folder cannot be written (a file stands in the
// way here), and what the user is told when no folder can.
TEST_F(ProbeInHost, TheReportFallsBackToTheTemporaryFolderAndElseTheAlertCarriesTheFindings) {
    std::ofstream(sandbox + "/Documents") << "not a folder";
    ProbeOutcome o = runProbe(host, sandbox);
    ASSERT_TRUE(o.report) << o.reportError;
    EXPECT_EQ(o.reportPath, "~/Temp/Zentrim Host Check report.txt");
    ASSERT_EQ(o.alerts.size(), 1u);
    EXPECT_NE(o.alerts[0].text.find("The report is in\n/home/user/Temp/Zentrim Host Check "
                                    "report.txt"),
              std::string::npos)
        << o.alerts[0].text;

    std::filesystem::remove_all(sandbox + "/Temp");
    std::ofstream(sandbox + "/Temp") << "not a folder either";
    o = runProbe(host, sandbox);
    EXPECT_FALSE(o.report);
    EXPECT_EQ(o.result, A_Err_NONE);
    ASSERT_EQ(o.alerts.size(), 1u);
    EXPECT_TRUE(o.alerts[0].errorIcon);
    for (const char* words :
         {"12 checks, 12 as the simulator plays them by default.",
          "The report could not be written into your Documents folder or the temporary folder.",
          "\"Allow Scripts to Write Files and Access Network\"",
          "host-model: resize-uses=proportional resize-children=unchanged vertex0=independent "
          "render-downsample=preview float-as-long=truncate script-error=error"})
        EXPECT_NE(o.alerts[0].text.find(words), std::string::npos) << o.alerts[0].text;
    EXPECT_EQ(o.projectDifference, "");
    expectNothingHeld(o);
}

// Every host call failing in turn: never a crash, a leak, an open undo group or an unbalanced
// suite, and what the report says about the cleanup is true.
TEST_F(ProbeInHost, WhicheverCallFailsNothingIsHeldAndTheCleanupLineIsTrue) {
    ProbeOutcome clean = runProbe(host, sandbox);
    ASSERT_TRUE(clean.report);
    const int calls = static_cast<int>(host.log().callCount());
    ASSERT_GT(calls, 300);
    // The calls as they come up to the one that fails: the names of the clean run's. Not
    // recording them again keeps the runs short.
    std::vector<std::string> names;
    for (const CallRecord& call : host.log().calls())
        names.push_back(call.name);
    host.log().setRecording(false);
    int reported = 0;
    for (int n = 0; n < calls; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        host.project() = original;
        host.log().faults.failAt = n;
        ProbeOutcome o = runProbe(host, sandbox);
        host.log().faults.failAt = -1;
        const std::string failed =
            n < static_cast<int>(names.size()) ? names[static_cast<size_t>(n)] : "";
        expectNothingHeld(o, givesBackOrCloses(failed) || isSuiteRelease(failed));
        if (!o.report) {
            // No report: the command failed, or never ran (the menu update failed).
            EXPECT_TRUE(o.result != A_Err_NONE || !o.enabled) << o.reportError;
            continue;
        }
        ++reported;
        // What the report claims is so; a project left changed is never claimed restored.
        const std::string cleanup = o.report->header["cleanup"];
        if (cleanup == "every item the checks made was removed") {
            EXPECT_EQ(o.projectDifference, "");
        } else {
            EXPECT_TRUE(cleanup.find(" could not be removed: ") != std::string::npos ||
                        cleanup.find(" is not known (") != std::string::npos)
                << cleanup;
        }
    }
    EXPECT_GT(reported, 0);
}

}  // namespace
