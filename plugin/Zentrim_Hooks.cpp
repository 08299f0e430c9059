// The hooks: the mode switch and the panel poll at every idle call, the availability check before
// the menu is shown, and the command itself.
#include "Util/AEGP_SuiteHandler.h"
#include "Util/ErrorChain.h"
#include "Util/HostBoundary.h"
#include "Util/HostHold.h"
#include "Win/Crop.h"
#include "Win/cropUtil.h"
#include "Zentrim.h"
#include "Zentrim_Globals.h"
#include "Zentrim_Scripts.h"
#include "Zentrim_Strings.h"
#include "platform/ModifierKeys.h"

bool cropDurationActive = false, maskCropActive = false, preferencesActive = false;
bool zentrimStandard = false, zentrimDuration = false, maskCrop = false;
A_short durationMenuNameIndex = StrID_Duration;
bool registerClass = true;

namespace {

// Walks the project's items in order and calls `visit(item, &stop)` for each selected
// composition, until the end, the first error, or `stop`.
template <typename Visit>
A_Err forEachSelectedComp(AEGP_SuiteHandler& suites, Visit visit) {
    A_Err err = A_Err_NONE;
    AEGP_ItemSuite8* items = suites.ItemSuite8();
    AEGP_ProjectH project = NULL;
    AEGP_ItemH current = NULL;
    ERR(suites.ProjSuite6()->AEGP_GetProjectByIndex(0, &project));
    ERR(items->AEGP_GetFirstProjItem(project, &current));
    bool stop = false;
    while (!err && current && !stop) {
        A_Boolean selected = 0;
        AEGP_ItemType type = AEGP_ItemType_NONE;
        ERR(items->AEGP_IsItemSelected(current, &selected));
        ERR(items->AEGP_GetItemType(current, &type));
        if (!err && selected && type == AEGP_ItemType_COMP) err = visit(current, &stop);
        if (stop) break;
        AEGP_ItemH next = NULL;
        ERR(items->AEGP_GetNextProjItem(project, current, &next));
        current = next;
    }
    return err;
}

// Which crops the selection allows: counted from the active composition's selection, or, with no
// active item, from the compositions selected in the project.
A_Err checkAvailability(AEGP_SuiteHandler& suites, bool* enableP, AEGP_Collection2H* collectionP) {
    A_Err err = A_Err_NONE;
    AEGP_ItemSuite8* items = suites.ItemSuite8();
    AEGP_CollectionSuite2* collections = suites.CollectionSuite2();
    A_short precomps = 0, masks = 0;
    AEGP_ItemH item = NULL;
    ERR(items->AEGP_GetActiveItem(&item));
    if (!err && item) {
        AEGP_ItemType type = AEGP_ItemType_NONE;
        AEGP_CompH comp = NULL;
        ERR(items->AEGP_GetItemType(item, &type));
        if (!err && type == AEGP_ItemType_COMP)
            ERR(suites.CompSuite9()->AEGP_GetCompFromItem(item, &comp));
        if (!err && comp) {
            A_u_long count = 0;
            ERR(suites.CompSuite9()->AEGP_GetNewCollectionFromCompSelection(S_my_id, comp,
                                                                            collectionP));
            ERR(collections->AEGP_GetCollectionNumItems(*collectionP, &count));
            for (A_u_long i = 0; i < count && !err; ++i) {
                AEGP_CollectionItemV2 entry = {};
                ERR(collections->AEGP_GetCollectionItemByIndex(*collectionP, i, &entry));
                if (err) break;
                A_long kind = cropUtil::CollectionItemKind(entry);
                if (kind == AEGP_CollectionItemType_LAYER &&
                    cropUtil::LayerIsPrecomp(sP, entry.u.layer.layerH)) {
                    ++precomps;
                    *enableP = true;
                    zentrimStandard = true;
                    if (count == 1) {
                        A_long numMasks = 0;
                        zentrimDuration = true;
                        ERR(suites.MaskSuite5()->AEGP_GetLayerNumMasks(entry.u.layer.layerH,
                                                                       &numMasks));
                        maskCrop = numMasks > 0;
                    } else {
                        maskCrop = false;
                        zentrimDuration = false;
                        durationMenuNameIndex = StrID_MultipleLayers;
                    }
                } else if (kind == AEGP_CollectionItemType_MASK) {
                    ++masks;
                }
                // Once a precomposition layer is found, at most the first twelve items are looked
                // at.
                if (*enableP && i > 10) break;
            }
            if (!err && count == 0) {
                A_long numLayers = 0;
                ERR(suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &numLayers));
                if (!err && numLayers > 0) *enableP = zentrimStandard = zentrimDuration = true;
            }
        }
    } else if (!err) {
        err = forEachSelectedComp(suites, [&](AEGP_ItemH, bool* stop) {
            *enableP = zentrimStandard = true;
            *stop = true;
            return A_Err_NONE;
        });
    }
    if (precomps == 1 && masks == 1) *enableP = maskCrop = true;
    return err;
}

// Saves the active item's current time, runs one crop command, and puts the time back.
template <typename Crop>
A_Err keepingCurrentTime(AEGP_SuiteHandler& suites, AEGP_ItemH item, Crop crop) {
    A_Err err = A_Err_NONE;
    A_Time saved = {0, 1};
    ERR(suites.ItemSuite8()->AEGP_GetItemCurrentTime(item, &saved));
    if (!err) err = crop();
    ERR(suites.ItemSuite8()->AEGP_SetItemCurrentTime(item, &saved));
    return err;
}

// A positive expand amount as the 16 bits the crop takes, saturated: a larger amount must not wrap
// into one of the other sign, which would shrink the composition instead.
short expandAmount(A_long amount) {
    return amount > 32767 ? 32767 : static_cast<short>(amount);
}

// With an active item: the expand pass when the preferences ask for it, then the crop.
A_Err cropActiveItem() {
    A_Err err = A_Err_NONE;
    A_Boolean expand = 0;
    A_long amount = 0;
    err = cropUtil::ReadPrefFlag(sP, GetStringPtr(StrID_PrefExpand), &expand);
    if (!err && expand)
        err = cropUtil::ReadPrefLong(sP, GetStringPtr(StrID_PrefExpandAmount), 0, &amount);
    // An amount of zero or less asks for no enlargement.
    if (!err && amount > 0) err = crop::standardCrop(sP, S_my_id, NULL, expandAmount(amount));
    // An enlargement the host cannot take was refused, or there was nothing to enlarge; the user
    // was told, and the command ends there.
    if (err == crop::kCropRefused || err == crop::kNothingToCrop) return A_Err_NONE;
    if (!err) err = crop::standardCrop(sP, S_my_id, NULL, 0);
    return err;
}

A_Err runStandardCrop(AEGP_SuiteHandler& suites) {
    A_Err err = A_Err_NONE;
    AEGP_ItemSuite8* items = suites.ItemSuite8();
    AEGP_UtilitySuite5* utility = suites.UtilitySuite5();
    AEGP_PersistentBlobH blobH = NULL;
    ERR(suites.PersistentDataSuite3()->AEGP_GetApplicationBlob(&blobH));
    // The group this command opens is closed on every path; the first error is kept.
    auto heldUndo = HoldUndoGroup(utility, GetStringPtr(StrID_Name), &err);
    AEGP_ItemH item = NULL;
    ERR(items->AEGP_GetActiveItem(&item));
    if (!err && item) {
        err = keepingCurrentTime(suites, item, [&]() { return cropActiveItem(); });
    } else if (!err) {
        err = forEachSelectedComp(suites, [&](AEGP_ItemH selected, bool*) {
            return keepingCurrentTime(suites, selected, [&]() {
                A_Err e = crop::standardCrop(sP, S_my_id, selected, 0);
                return e == crop::kCropRefused ? A_Err_NONE : e;
            });
        });
    }
    heldUndo.release(&err);
    return err;
}

// The dialog saves what it needs itself; its result is only given back.
A_Err runPreferences(AEGP_SuiteHandler& suites) {
    A_Err err = A_Err_NONE;
    AEGP_MemorySuite1* memory = suites.MemorySuite1();
    AEGP_MemHandle resultH = NULL;
    auto heldResult = HoldMemHandle(memory, resultH);
    ERR(suites.UtilitySuite5()->AEGP_ExecuteScript(S_my_id, kPreferencesDialog, false, &resultH,
                                                   NULL));
    heldResult.release(&err);
    return err;
}

// The crop opens its own undo group; this one, of the same name, also holds the current time put
// back afterwards, which the host would otherwise make an undo step of its own, so that one undo
// still takes back the whole command.
template <typename Crop>
A_Err runInUndoGroup(AEGP_SuiteHandler& suites, A_short name, Crop crop) {
    A_Err err = A_Err_NONE;
    auto heldUndo = HoldUndoGroup(suites.UtilitySuite5(), GetStringPtr(name), &err);
    AEGP_ItemH item = NULL;
    ERR(suites.ItemSuite8()->AEGP_GetActiveItem(&item));
    if (!err) err = keepingCurrentTime(suites, item, crop);
    heldUndo.release(&err);
    return err;
}

A_Err runDurationCrop(AEGP_SuiteHandler& suites) {
    return runInUndoGroup(suites, StrID_Duration,
                          [] { return crop::cropDuration(sP, S_my_id, &registerClass); });
}

A_Err runMaskCrop(AEGP_SuiteHandler& suites) {
    return runInUndoGroup(suites, StrID_MaskCrop, [] { return crop::maskCrop(sP, S_my_id); });
}

// The names of the modes whose name never changes; the duration crop's name is the global
// durationMenuNameIndex, which the menu update sets for the selection.
const A_short kStandardName = StrID_Name, kMaskCropName = StrID_MaskCrop,
              kPreferencesName = StrID_Preferences;

// One of the command's actions: what chooses it, what it is called, when it can run, and what it
// runs.
struct Action {
    bool shift, command;      // the keys held that choose it
    bool* mode;               // its mode flag; null for the standard crop, which is no flag set
    const A_short* menuName;  // the string of the name the command shows in this mode
    const bool* available;    // whether the selection allows it; null: always
    A_long panelRequest;      // the number the companion panel asks for it by
    A_Err (*run)(AEGP_SuiteHandler& suites);
};

const Action kActions[] = {
    {false, false, NULL, &kStandardName, &zentrimStandard, 1, runStandardCrop},
    {false, true, &cropDurationActive, &durationMenuNameIndex, &zentrimDuration, 2,
     runDurationCrop},
    {true, true, &maskCropActive, &kMaskCropName, &maskCrop, 3, runMaskCrop},
    {true, false, &preferencesActive, &kPreferencesName, NULL, 4, runPreferences},
};
const Action& kStandardAction = kActions[0];

// The action the mode flags stand for.
const Action& currentAction() {
    for (const Action& a : kActions)
        if (a.mode && *a.mode) return a;
    return kStandardAction;
}

// Sets the mode flags for `action`: its own flag alone, or none for the standard crop.
void setMode(const Action& action) {
    for (const Action& a : kActions)
        if (a.mode) *a.mode = &a == &action;
}

const Action& actionForKeys(bool shift, bool command) {
    for (const Action& a : kActions)
        if (a.shift == shift && a.command == command) return a;
    return kStandardAction;
}

// The action the panel asks for by `request`; null for a number no action has.
const Action* actionForRequest(A_long request) {
    for (const Action& a : kActions)
        if (a.panelRequest == request) return &a;
    return NULL;
}

// Whether the selection, as the latest menu update found it, allows the action.
bool isAvailable(const Action& a) {
    return !a.available || *a.available;
}

// Renames and enables the command when the keys held call for another mode; while the mode stays,
// the menu is left as it is.
A_Err switchMode(AEGP_SuiteHandler& suites) {
    A_Err err = A_Err_NONE;
    AEGP_CommandSuite1* commands = suites.CommandSuite1();
    bool shift = false, command = false;
    cropUtil::ReadModifierKeys(&shift, &command);
    const Action& wanted = actionForKeys(shift, command);
    if (&wanted == &currentAction()) return err;
    setMode(wanted);
    ERR(commands->AEGP_SetMenuCommandName(S_Zentrim_cmd, GetStringPtr(*wanted.menuName)));
    cropUtil::EnableDisableMenu(sP, S_Zentrim_cmd, isAvailable(wanted));
    return err;
}

// A request the companion panel left in the preferences: run it once, if the selection allows.
A_Err pollPanel(AEGP_SuiteHandler& suites, A_Err err) {
    if (err) return err;  // the mode switch failed: no further host call
    AEGP_PersistentDataSuite3* data = suites.PersistentDataSuite3();
    const char* section = GetStringPtr(StrID_PrefSection);
    AEGP_PersistentBlobH blobH = NULL;
    A_long request = 0, command = 0;
    ERR(data->AEGP_GetApplicationBlob(&blobH));
    ERR(data->AEGP_GetLong(blobH, section, GetStringPtr(StrID_PrefPanelRun), 0, &request));
    ERR(data->AEGP_DeleteEntry(blobH, section, GetStringPtr(StrID_PrefPanelRun)));
    if (err || request == 0) return err;

    ERR(data->AEGP_GetLong(blobH, section, GetStringPtr(StrID_PrefMenuCmd), 0, &command));
    ERR(data->AEGP_DeleteEntry(blobH, section, GetStringPtr(StrID_PrefMenuCmd)));
    if (err) return err;
    if (command == 0) return cropUtil::RunAlertScript(sP, S_my_id, kPanelRequestFailedAlert);

    // A number no action has sets the standard mode and is refused as an invalid selection.
    const Action* requested = actionForRequest(request);
    setMode(requested ? *requested : kStandardAction);
    UpdateMenuHook(NULL, NULL, 0);
    // The command is named after the mode just set, whatever keys are held: a menu never reads one
    // action while it runs another.
    ERR(suites.CommandSuite1()->AEGP_SetMenuCommandName(S_Zentrim_cmd,
                                                        GetStringPtr(*currentAction().menuName)));
    const bool allowed = requested && isAvailable(*requested);
    if (!err)
        err = allowed ? suites.CommandSuite1()->AEGP_DoCommand(command)
                      : cropUtil::RunAlertScript(sP, S_my_id, kInvalidSelectionAlert);
    // The host's next menu update enables the command again for the selection it then finds.
    cropUtil::EnableDisableMenu(sP, S_Zentrim_cmd, false);
    return err;
}

}  // namespace

A_Err CommandHook(AEGP_GlobalRefcon plugin_refconP, AEGP_CommandRefcon refconP,
                  AEGP_Command command, AEGP_HookPriority hook_priority, A_Boolean already_handledB,
                  A_Boolean* handledPB) {
    if (command != S_Zentrim_cmd || already_handledB) return A_Err_NONE;
    // The answers a command is given hold for that command alone, however it ends.
    crop::forgetCommand();
    A_Err err = AtHostBoundary([] {
        AEGP_SuiteHandler suites(sP);
        return currentAction().run(suites);
    });
    crop::forgetCommand();
    *handledPB = 1;
    return err;
}

A_Err UpdateMenuHook(AEGP_GlobalRefcon plugin_refconP, AEGP_UpdateMenuRefcon refconP,
                     AEGP_WindowType active_window) {
    return AtHostBoundary([] {
        AEGP_SuiteHandler suites(sP);
        AEGP_CollectionSuite2* collections = suites.CollectionSuite2();
        zentrimStandard = zentrimDuration = maskCrop = false;
        durationMenuNameIndex = StrID_Duration;
        bool enable = false;
        AEGP_Collection2H collection = NULL;
        auto heldCollection = HoldCollection(collections, collection);
        // A suite missing half-way ends the check with its code, but not before the command has
        // been set for what was found and the collection given back.
        A_Err err = AtHostBoundary([&] { return checkAvailability(suites, &enable, &collection); });
        // The command follows what was found also after a host error, so that a failed check
        // cannot leave it enabled; the call's own result is not the check's and is dropped.
        const Action& action = currentAction();
        const bool on = !action.available || (enable && *action.available);
        (void)AtHostBoundary([on] { return cropUtil::EnableDisableMenu(sP, S_Zentrim_cmd, on); });
        heldCollection.release(&err);
        return err;
    });
}

A_Err IdleHookCmd(AEGP_GlobalRefcon plugin_refconP, AEGP_IdleRefcon refconP, A_long* max_sleepPL) {
    return AtHostBoundary([] {
        AEGP_SuiteHandler suites(sP);
        A_Err err = switchMode(suites);
        return pollPanel(suites, err);
    });
}
