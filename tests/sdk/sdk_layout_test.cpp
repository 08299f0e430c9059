// Our host API declarations against what the host does with them at run time; their sizes,
// offsets, enum widths and constants are checked at compile time (sdk/LayoutChecks.h).
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "AEConfig.h"
#include "entry.h"
#include "AE_GeneralPlug.h"

// A host fills a suite as an array of function pointers; the used member must read its slot.
TEST(SdkLayout, SuiteFilledAsPointerArray) {
    AEGP_UndeclaredFunc table[31] = {};
    AEGP_UtilitySuite5 suite;
    static_assert(sizeof(table) == sizeof(suite), "utility suite is 31 slots");
    for (int i = 0; i < 31; ++i) {
        table[i] = reinterpret_cast<AEGP_UndeclaredFunc>(static_cast<std::uintptr_t>(0x1000 + i));
    }
    std::memcpy(&suite, table, sizeof(suite));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(suite.AEGP_ExecuteScript), 0x1000u + 27);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(suite.AEGP_ReportInfo), 0x1000u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(suite.AEGP_UpdateFontList), 0x1000u + 30);
}

struct SuiteId {
    const char* name;
    A_long version;
    const char* expected_name;
    A_long expected_version;
};

TEST(SdkConstants, SuiteNamesAndVersions) {
    const SuiteId ids[] = {
        {kSPBasicSuite, kSPBasicSuiteVersion, "SP Basic Suite", 4},
        {kAEGPCommandSuite, kAEGPCommandSuiteVersion1, "AEGP Command Suite", 1},
        {kAEGPRegisterSuite, kAEGPRegisterSuiteVersion5, "AEGP Register Suite", 6},
        {kAEGPUtilitySuite, kAEGPUtilitySuiteVersion5, "AEGP Utility Suite", 11},
        {kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, "AEGP Persistent Data Suite",
         3},
        {kAEGPMemorySuite, kAEGPMemorySuiteVersion1, "AEGP Memory Suite", 1},
        {kAEGPItemSuite, kAEGPItemSuiteVersion1, "AEGP Item Suite", 3},
        {kAEGPItemSuite, kAEGPItemSuiteVersion6, "AEGP Item Suite", 10},
        {kAEGPItemSuite, kAEGPItemSuiteVersion8, "AEGP Item Suite", 13},
        {kAEGPProjSuite, kAEGPProjSuiteVersion5, "AEGP Proj Suite", 8},
        {kAEGPProjSuite, kAEGPProjSuiteVersion6, "AEGP Proj Suite", 9},
        {kAEGPRenderOptionsSuite, kAEGPRenderOptionsSuiteVersion3, "AEGP Render Options Suite", 3},
        {kAEGPWorldSuite, kAEGPWorldSuiteVersion3, "AEGP World Suite", 3},
        {kAEGPCompSuite, kAEGPCompSuiteVersion4, "AEGP Comp Suite", 9},
        {kAEGPCompSuite, kAEGPCompSuiteVersion7, "AEGP Comp Suite", 15},
        {kAEGPCompSuite, kAEGPCompSuiteVersion9, "AEGP Comp Suite", 19},
        {kAEGPLayerSuite, kAEGPLayerSuiteVersion5, "AEGP Layer Suite", 11},
        {kAEGPLayerSuite, kAEGPLayerSuiteVersion7, "AEGP Layer Suite", 13},
        {kAEGPMaskSuite, kAEGPMaskSuiteVersion5, "AEGP Layer Mask Suite", 6},
        {kAEGPMaskOutlineSuite, kAEGPMaskOutlineSuiteVersion2, "AEGP Mask Outline Suite", 3},
        {kAEGPStreamSuite, kAEGPStreamSuiteVersion4, "AEGP Stream Suite", 9},
        {kAEGPKeyframeSuite, kAEGPKeyframeSuiteVersion4, "AEGP Keyframe Suite", 4},
        {kAEGPCollectionSuite, kAEGPCollectionSuiteVersion2, "AEGP Collection Suite", 2},
        {kAEGPRenderSuite, kAEGPRenderSuiteVersion3, "AEGP Render Suite", 3},
    };
    for (const SuiteId& id : ids) {
        EXPECT_STREQ(id.name, id.expected_name);
        EXPECT_EQ(id.version, id.expected_version) << id.expected_name;
    }
}

// The hook and entry-point typedefs must accept functions with the host's parameter lists.
namespace {
A_Err InitFunc(struct SPBasicSuite*, A_long, A_long, AEGP_PluginID, AEGP_GlobalRefcon*) {
    return A_Err_NONE;
}
A_Err CommandHook(AEGP_GlobalRefcon, AEGP_CommandRefcon, AEGP_Command, AEGP_HookPriority, A_Boolean,
                  A_Boolean*) {
    return A_Err_NONE;
}
A_Err UpdateMenuHook(AEGP_GlobalRefcon, AEGP_UpdateMenuRefcon, AEGP_WindowType) {
    return A_Err_NONE;
}
A_Err IdleHook(AEGP_GlobalRefcon, AEGP_IdleRefcon, A_long*) {
    return A_Err_NONE;
}
A_Err DeathHook(AEGP_GlobalRefcon, AEGP_DeathRefcon) {
    return A_Err_NONE;
}
A_Err CheckForCancel(void*, A_Boolean*) {
    return A_Err_NONE;
}
}  // namespace

TEST(SdkConstants, HookTypes) {
    AEGP_PluginInitFunc init = InitFunc;
    AEGP_CommandHook command = CommandHook;
    AEGP_UpdateMenuHook update = UpdateMenuHook;
    AEGP_IdleHook idle = IdleHook;
    AEGP_DeathHook death = DeathHook;
    AEGP_RenderSuiteCheckForCancel cancel = CheckForCancel;
    EXPECT_EQ(init(nullptr, AEGP_INITFUNC_MAJOR_VERSION, AEGP_INITFUNC_MINOR_VERSION, 1, nullptr),
              A_Err_NONE);
    EXPECT_EQ(command(nullptr, nullptr, AEGP_Command_ALL, AEGP_HP_BeforeAE, 0, nullptr),
              A_Err_NONE);
    EXPECT_EQ(update(nullptr, nullptr, AEGP_WindType_COMP), A_Err_NONE);
    EXPECT_EQ(idle(nullptr, nullptr, nullptr), A_Err_NONE);
    EXPECT_EQ(death(nullptr, nullptr), A_Err_NONE);
    EXPECT_EQ(cancel(nullptr, nullptr), A_Err_NONE);
}
