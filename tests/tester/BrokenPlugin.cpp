// A deliberately broken plug-in, for testing the tester: three Layer-menu commands, each of which
// breaks one rule of the host's protocol. The simulator must notice every one.
#include <cstring>

#include "AE_GeneralPlug.h"
#include "SPBasic.h"
#include "entry.h"

namespace {

SPBasicSuite* g_basic = nullptr;
AEGP_PluginID g_id = 0;
AEGP_Command g_openUndo = 0, g_keepHandle = 0, g_keepSuite = 0;

template <typename Suite>
Suite* acquire(const char* name, int version) {
    const void* suite = nullptr;
    g_basic->AcquireSuite(name, version, &suite);
    return static_cast<Suite*>(const_cast<void*>(suite));
}

A_Err brokenCommand(AEGP_GlobalRefcon, AEGP_CommandRefcon, AEGP_Command command, AEGP_HookPriority,
                    A_Boolean, A_Boolean* handled) {
    if (command == g_openUndo) {
        // Opens an undo group and never closes it.
        auto* utility = acquire<AEGP_UtilitySuite5>(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5);
        utility->AEGP_StartUndoGroup("Broken");
        g_basic->ReleaseSuite(kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5);
    } else if (command == g_keepHandle) {
        // Takes a memory handle from the host and never gives it back.
        auto* memory = acquire<AEGP_MemorySuite1>(kAEGPMemorySuite, kAEGPMemorySuiteVersion1);
        AEGP_MemHandle kept = nullptr;
        memory->AEGP_NewMemHandle(g_id, "kept by the broken plug-in", 16, AEGP_MemFlag_NONE, &kept);
        g_basic->ReleaseSuite(kAEGPMemorySuite, kAEGPMemorySuiteVersion1);
    } else if (command == g_keepSuite) {
        // Acquires a suite and never releases it.
        acquire<AEGP_ItemSuite8>(kAEGPItemSuite, kAEGPItemSuiteVersion8);
    } else {
        return A_Err_NONE;
    }
    *handled = 1;
    return A_Err_NONE;
}

}  // namespace

extern "C" DllExport A_Err EntryPointFunc(struct SPBasicSuite* basic, A_long, A_long,
                                          AEGP_PluginID id, AEGP_GlobalRefcon*) {
    g_basic = basic;
    g_id = id;
    auto* commands = acquire<AEGP_CommandSuite1>(kAEGPCommandSuite, kAEGPCommandSuiteVersion1);
    auto* registry = acquire<AEGP_RegisterSuite5>(kAEGPRegisterSuite, kAEGPRegisterSuiteVersion5);
    A_Err err = A_Err_NONE;
    struct {
        AEGP_Command* command;
        const char* name;
    } entries[] = {{&g_openUndo, "Leave an Undo Group Open"},
                   {&g_keepHandle, "Keep a Handle"},
                   {&g_keepSuite, "Keep a Suite"}};
    for (auto& e : entries) {
        if (!err) err = commands->AEGP_GetUniqueCommand(e.command);
        if (!err)
            err = commands->AEGP_InsertMenuCommand(*e.command, e.name, AEGP_Menu_LAYER,
                                                   AEGP_MENU_INSERT_AT_BOTTOM);
        if (!err) err = commands->AEGP_EnableCommand(*e.command);
    }
    if (!err)
        err = registry->AEGP_RegisterCommandHook(id, AEGP_HP_BeforeAE, AEGP_Command_ALL,
                                                 &brokenCommand, nullptr);
    g_basic->ReleaseSuite(kAEGPCommandSuite, kAEGPCommandSuiteVersion1);
    g_basic->ReleaseSuite(kAEGPRegisterSuite, kAEGPRegisterSuiteVersion5);
    return err;
}
