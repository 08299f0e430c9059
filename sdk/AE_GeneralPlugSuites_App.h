// AEGP suite tables for commands, hooks, utilities, prefs, memory, collections and rendering.
#ifndef ZENTRIM_SDK_AE_GENERALPLUGSUITES_APP_H
#define ZENTRIM_SDK_AE_GENERALPLUGSUITES_APP_H

// Members typed AEGP_UndeclaredFunc are unused slots kept only so later members line up.
#include "AE_GeneralPlug.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 8)

/* ---- Command Suite ---- */

#define kAEGPCommandSuite "AEGP Command Suite"
#define kAEGPCommandSuiteVersion1 1

typedef struct {
    A_Err(SPAPI* AEGP_GetUniqueCommand)(AEGP_Command* unique_commandP);
    // nameZ "-" inserts a separator.
    A_Err(SPAPI* AEGP_InsertMenuCommand)(AEGP_Command command, const A_char* nameZ,
                                         AEGP_MenuID menu_id, A_long after_itemL);
    AEGP_UndeclaredFunc AEGP_RemoveMenuCommand;
    A_Err(SPAPI* AEGP_SetMenuCommandName)(AEGP_Command command, const A_char* nameZ);
    A_Err(SPAPI* AEGP_EnableCommand)(AEGP_Command command);
    A_Err(SPAPI* AEGP_DisableCommand)(AEGP_Command command);
    AEGP_UndeclaredFunc AEGP_CheckMarkMenuCommand;
    A_Err(SPAPI* AEGP_DoCommand)(AEGP_Command command);
} AEGP_CommandSuite1;

/* ---- Register Suite ---- */

#define kAEGPRegisterSuite "AEGP Register Suite"
#define kAEGPRegisterSuiteVersion5 6

typedef struct {
    A_Err(SPAPI* AEGP_RegisterCommandHook)(AEGP_PluginID aegp_plugin_id,
                                           AEGP_HookPriority hook_priority, AEGP_Command command,
                                           AEGP_CommandHook command_hook_func,
                                           AEGP_CommandRefcon refconP);
    A_Err(SPAPI* AEGP_RegisterUpdateMenuHook)(AEGP_PluginID plugin_id,
                                              AEGP_UpdateMenuHook update_menu_hook_func,
                                              AEGP_UpdateMenuRefcon refconP);
    AEGP_UndeclaredFunc AEGP_RegisterDeathHook;
    AEGP_UndeclaredFunc AEGP_RegisterVersionHook;
    AEGP_UndeclaredFunc AEGP_RegisterAboutStringHook;
    AEGP_UndeclaredFunc AEGP_RegisterAboutHook;
    AEGP_UndeclaredFunc AEGP_RegisterArtisan;
    AEGP_UndeclaredFunc AEGP_RegisterIO;
    A_Err(SPAPI* AEGP_RegisterIdleHook)(AEGP_PluginID aegp_plugin_id, AEGP_IdleHook idle_hook_func,
                                        AEGP_IdleRefcon refconP);
    AEGP_UndeclaredFunc AEGP_RegisterTracker;
    AEGP_UndeclaredFunc AEGP_RegisterInteractiveArtisan;
    AEGP_UndeclaredFunc AEGP_RegisterPresetLocalizationString;
} AEGP_RegisterSuite5;

/* ---- Utility Suite ---- */

#define kAEGPUtilitySuite "AEGP Utility Suite"
#define kAEGPUtilitySuiteVersion5 11

typedef struct {
    A_Err(SPAPI* AEGP_ReportInfo)(AEGP_PluginID aegp_plugin_id, const A_char* info_stringZ);
    AEGP_UndeclaredFunc AEGP_GetDriverPluginInitFuncVersion;
    AEGP_UndeclaredFunc AEGP_GetDriverImplementationVersion;
    AEGP_UndeclaredFunc AEGP_StartQuietErrors;
    AEGP_UndeclaredFunc AEGP_EndQuietErrors;
    AEGP_UndeclaredFunc AEGP_GetLastErrorMessage;
    // Must be balanced by AEGP_EndUndoGroup.
    A_Err(SPAPI* AEGP_StartUndoGroup)(const A_char* undo_nameZ);
    A_Err(SPAPI* AEGP_EndUndoGroup)(void);
    AEGP_UndeclaredFunc AEGP_RegisterWithAEGP;
    // main_hwnd points at storage for an HWND, which is written through it.
    A_Err(SPAPI* AEGP_GetMainHWND)(void* main_hwnd);
    AEGP_UndeclaredFunc AEGP_ShowHideAllFloaters;
    AEGP_UndeclaredFunc AEGP_PaintPalGetForeColor;
    AEGP_UndeclaredFunc AEGP_PaintPalGetBackColor;
    AEGP_UndeclaredFunc AEGP_PaintPalSetForeColor;
    AEGP_UndeclaredFunc AEGP_PaintPalSetBackColor;
    AEGP_UndeclaredFunc AEGP_CharPalGetFillColor;
    AEGP_UndeclaredFunc AEGP_CharPalGetStrokeColor;
    AEGP_UndeclaredFunc AEGP_CharPalSetFillColor;
    AEGP_UndeclaredFunc AEGP_CharPalSetStrokeColor;
    AEGP_UndeclaredFunc AEGP_CharPalIsFillColorUIFrontmost;
    AEGP_UndeclaredFunc AEGP_ConvertFpLongToHSFRatio;
    AEGP_UndeclaredFunc AEGP_ConvertHSFRatioToFpLong;
    AEGP_UndeclaredFunc AEGP_CauseIdleRoutinesToBeCalled;
    AEGP_UndeclaredFunc AEGP_GetSuppressInteractiveUI;
    AEGP_UndeclaredFunc AEGP_WriteToOSConsole;
    AEGP_UndeclaredFunc AEGP_WriteToDebugLog;
    A_Err(SPAPI* AEGP_IsScriptingAvailable)(A_Boolean* outAvailablePB);
    // Result and error text come back in the encoding chosen by platform_encodingB
    // (UTF-8 when false); both out-handles are optional.
    A_Err(SPAPI* AEGP_ExecuteScript)(AEGP_PluginID inPlugin_id, const A_char* inScriptZ,
                                     const A_Boolean platform_encodingB,
                                     AEGP_MemHandle* outResultPH0,
                                     AEGP_MemHandle* outErrorStringPH0);
    AEGP_UndeclaredFunc AEGP_HostIsActivated;
    AEGP_UndeclaredFunc AEGP_GetPluginPlatformRef;
    AEGP_UndeclaredFunc AEGP_UpdateFontList;
} AEGP_UtilitySuite5;

/* ---- Persistent Data Suite ---- */

#define kAEGPPersistentDataSuite "AEGP Persistent Data Suite"
#define kAEGPPersistentDataSuiteVersion3 3

typedef struct {
    A_Err(SPAPI* AEGP_GetApplicationBlob)(AEGP_PersistentBlobH* blobPH);
    AEGP_UndeclaredFunc AEGP_GetNumSections;
    AEGP_UndeclaredFunc AEGP_GetSectionKeyByIndex;
    AEGP_UndeclaredFunc AEGP_DoesKeyExist;
    AEGP_UndeclaredFunc AEGP_GetNumKeys;
    AEGP_UndeclaredFunc AEGP_GetValueKeyByIndex;
    AEGP_UndeclaredFunc AEGP_GetDataHandle;
    // The default is used when the stored entry is not data_sizeLu bytes; null means zeros.
    A_Err(SPAPI* AEGP_GetData)(AEGP_PersistentBlobH blobH, const A_char* section_keyZ,
                               const A_char* value_keyZ, A_u_long data_sizeLu,
                               const void* defaultPV0, void* bufPV);
    AEGP_UndeclaredFunc AEGP_GetString;
    A_Err(SPAPI* AEGP_GetLong)(AEGP_PersistentBlobH blobH, const A_char* section_keyZ,
                               const A_char* value_keyZ, A_long defaultL, A_long* valuePL);
    AEGP_UndeclaredFunc AEGP_GetFpLong;
    AEGP_UndeclaredFunc AEGP_SetDataHandle;
    AEGP_UndeclaredFunc AEGP_SetData;
    AEGP_UndeclaredFunc AEGP_SetString;
    AEGP_UndeclaredFunc AEGP_SetLong;
    AEGP_UndeclaredFunc AEGP_SetFpLong;
    // Not an error when the entry does not exist.
    A_Err(SPAPI* AEGP_DeleteEntry)(AEGP_PersistentBlobH blobH, const A_char* section_keyZ,
                                   const A_char* value_keyZ);
    AEGP_UndeclaredFunc AEGP_GetPrefsDirectory;
} AEGP_PersistentDataSuite3;

/* ---- Memory Suite ---- */

#define kAEGPMemorySuite "AEGP Memory Suite"
#define kAEGPMemorySuiteVersion1 1

typedef struct {
    A_Err(SPAPI* AEGP_NewMemHandle)(AEGP_PluginID plugin_id, const A_char* whatZ, AEGP_MemSize size,
                                    AEGP_MemFlag flags, AEGP_MemHandle* memPH);
    A_Err(SPAPI* AEGP_FreeMemHandle)(AEGP_MemHandle memH);
    // Locks nest.
    A_Err(SPAPI* AEGP_LockMemHandle)(AEGP_MemHandle memH, void** ptr_to_ptr);
    A_Err(SPAPI* AEGP_UnlockMemHandle)(AEGP_MemHandle memH);
    A_Err(SPAPI* AEGP_GetMemHandleSize)(AEGP_MemHandle memH, AEGP_MemSize* sizeP);
    AEGP_UndeclaredFunc AEGP_ResizeMemHandle;
    AEGP_UndeclaredFunc AEGP_SetMemReportingOn;
    AEGP_UndeclaredFunc AEGP_GetMemStats;
} AEGP_MemorySuite1;

/* ---- Collection Suite ---- */

#define kAEGPCollectionSuite "AEGP Collection Suite"
#define kAEGPCollectionSuiteVersion2 2

typedef struct {
    AEGP_UndeclaredFunc AEGP_NewCollection;
    A_Err(SPAPI* AEGP_DisposeCollection)(AEGP_Collection2H collectionH);
    A_Err(SPAPI* AEGP_GetCollectionNumItems)(AEGP_Collection2H collectionH, A_u_long* num_itemsPL);
    A_Err(SPAPI* AEGP_GetCollectionItemByIndex)(AEGP_Collection2H collectionH, A_u_long indexL,
                                                AEGP_CollectionItemV2* collection_itemP);
    AEGP_UndeclaredFunc AEGP_CollectionPushBack;
    // Removes the half-open range [index_firstL, index_lastL).
    A_Err(SPAPI* AEGP_CollectionErase)(AEGP_Collection2H collectionH, A_u_long index_firstL,
                                       A_u_long index_lastL);
} AEGP_CollectionSuite2;

/* ---- Render Options Suite ---- */

#define kAEGPRenderOptionsSuite "AEGP Render Options Suite"
#define kAEGPRenderOptionsSuiteVersion3 3

typedef struct {
    A_Err(SPAPI* AEGP_NewFromItem)(AEGP_PluginID plugin_id, AEGP_ItemH itemH,
                                   AEGP_RenderOptionsH* optionsPH);
    AEGP_UndeclaredFunc AEGP_Duplicate;
    A_Err(SPAPI* AEGP_Dispose)(AEGP_RenderOptionsH optionsH);
    A_Err(SPAPI* AEGP_SetTime)(AEGP_RenderOptionsH optionsH, A_Time time);
    AEGP_UndeclaredFunc AEGP_GetTime;
    AEGP_UndeclaredFunc AEGP_SetTimeStep;
    A_Err(SPAPI* AEGP_GetTimeStep)(AEGP_RenderOptionsH optionsH, A_Time* timePT);
    AEGP_UndeclaredFunc AEGP_SetFieldRender;
    AEGP_UndeclaredFunc AEGP_GetFieldRender;
    AEGP_UndeclaredFunc AEGP_SetWorldType;
    AEGP_UndeclaredFunc AEGP_GetWorldType;
    // 1 = full resolution, 2 = half, ...
    A_Err(SPAPI* AEGP_SetDownsampleFactor)(AEGP_RenderOptionsH optionsH, A_short x, A_short y);
    A_Err(SPAPI* AEGP_GetDownsampleFactor)(AEGP_RenderOptionsH optionsH, A_short* xP, A_short* yP);
    AEGP_UndeclaredFunc AEGP_SetRegionOfInterest;
    AEGP_UndeclaredFunc AEGP_GetRegionOfInterest;
    AEGP_UndeclaredFunc AEGP_SetMatteMode;
    AEGP_UndeclaredFunc AEGP_GetMatteMode;
    AEGP_UndeclaredFunc AEGP_SetChannelOrder;
    AEGP_UndeclaredFunc AEGP_GetChannelOrder;
    AEGP_UndeclaredFunc AEGP_GetRenderGuideLayers;
    AEGP_UndeclaredFunc AEGP_SetRenderGuideLayers;
} AEGP_RenderOptionsSuite3;

/* ---- World Suite ---- */

#define kAEGPWorldSuite "AEGP World Suite"
#define kAEGPWorldSuiteVersion3 3

typedef struct {
    AEGP_UndeclaredFunc AEGP_New;
    // Only for worlds the plug-in allocated itself.
    A_Err(SPAPI* AEGP_Dispose)(AEGP_WorldH worldH);
    A_Err(SPAPI* AEGP_GetType)(AEGP_WorldH worldH, AEGP_WorldType* typeP);
    A_Err(SPAPI* AEGP_GetSize)(AEGP_WorldH worldH, A_long* widthPL, A_long* heightPL);
    A_Err(SPAPI* AEGP_GetRowBytes)(AEGP_WorldH worldH, A_u_long* row_bytesPL);
    // Each GetBaseAddrN fails unless the world has that bit depth.
    A_Err(SPAPI* AEGP_GetBaseAddr8)(AEGP_WorldH worldH, PF_Pixel8** base_addrP);
    A_Err(SPAPI* AEGP_GetBaseAddr16)(AEGP_WorldH worldH, PF_Pixel16** base_addrP);
    A_Err(SPAPI* AEGP_GetBaseAddr32)(AEGP_WorldH worldH, PF_PixelFloat** base_addrP);
    AEGP_UndeclaredFunc AEGP_FillOutPFEffectWorld;
    AEGP_UndeclaredFunc AEGP_FastBlur;
    AEGP_UndeclaredFunc AEGP_NewPlatformWorld;
    AEGP_UndeclaredFunc AEGP_DisposePlatformWorld;
    AEGP_UndeclaredFunc AEGP_NewReferenceFromPlatformWorld;
} AEGP_WorldSuite3;

/* ---- Render Suite ---- */

#define kAEGPRenderSuite "AEGP Render Suite"
#define kAEGPRenderSuiteVersion3 3

typedef struct {
    // Returns a receipt that must be checked in with AEGP_CheckinFrame to free the frame.
    A_Err(SPAPI* AEGP_RenderAndCheckoutFrame)(AEGP_RenderOptionsH optionsH,
                                              AEGP_RenderSuiteCheckForCancel cancel_functionP0,
                                              AEGP_CancelRefcon cancel_function_refconP0,
                                              AEGP_FrameReceiptH* receiptPH);
    A_Err(SPAPI* AEGP_CheckinFrame)(AEGP_FrameReceiptH receiptH);
    A_Err(SPAPI* AEGP_GetReceiptWorld)(AEGP_FrameReceiptH receiptH, AEGP_WorldH* worldPH);
    AEGP_UndeclaredFunc AEGP_GetRenderedRegion;
    AEGP_UndeclaredFunc AEGP_IsRenderedFrameSufficient;
    AEGP_UndeclaredFunc AEGP_RenderNewItemSoundData;
    AEGP_UndeclaredFunc AEGP_GetCurrentTimestamp;
    AEGP_UndeclaredFunc AEGP_HasItemChangedSinceTimestamp;
    AEGP_UndeclaredFunc AEGP_IsItemWorthwhileToRender;
    AEGP_UndeclaredFunc AEGP_CheckinRenderedFrame;
    AEGP_UndeclaredFunc AEGP_GetReceiptGuid;
} AEGP_RenderSuite3;

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif  // ZENTRIM_SDK_AE_GENERALPLUGSUITES_APP_H
