// The host's binary layout, checked when the sdk target compiles: sizes, offsets, enum widths,
// each suite's member count and slots, and the constants the plug-in and the host exchange. A
// declaration that drifts from the host's layout stops the build.
#pragma once

#include <cstddef>

#include "AEConfig.h"
#include "entry.h"
#include "AE_GeneralPlug.h"

// Suite tables are read by the host as arrays of pointers, so each slot is 8 bytes.
static_assert(sizeof(void*) == 8, "layout figures below assume 64-bit pointers");

#define ZT_SIZE(T, n) static_assert(sizeof(T) == (n), #T " size")
#define ZT_OFFSET(T, m, n) static_assert(offsetof(T, m) == (n), #T "." #m " offset")
#define ZT_SUITE_SIZE(S, count) static_assert(sizeof(S) == 8 * (count), #S " member count")
#define ZT_SLOT(S, m, index) static_assert(offsetof(S, m) == 8 * (index), #S "::" #m " slot")

// Scalar types.
ZT_SIZE(A_long, 4);
ZT_SIZE(A_u_long, 4);
ZT_SIZE(A_short, 2);
ZT_SIZE(A_u_short, 2);
ZT_SIZE(A_char, 1);
ZT_SIZE(A_u_char, 1);
ZT_SIZE(A_Boolean, 1);
ZT_SIZE(A_FpLong, 8);
ZT_SIZE(A_FpShort, 4);
ZT_SIZE(A_Err, 4);
ZT_SIZE(A_Handle, 8);
ZT_SIZE(A_UTF16Char, 2);
ZT_SIZE(A_intptr_t, 8);
ZT_SIZE(AEGP_MemHandle, 8);
ZT_SIZE(PF_Err, 4);
ZT_SIZE(SPErr, 4);
static_assert(static_cast<A_u_long>(-1) > 0, "A_u_long is unsigned");
static_assert(static_cast<A_UTF16Char>(-1) > 0, "A_UTF16Char is unsigned");
#ifdef _WIN32
// Width of the Windows (MSVC-built) host, whatever compiler builds this module.
ZT_SIZE(A_LegacyEnumType, 4);
ZT_SIZE(SPBoolean, 4);
#else
ZT_SIZE(A_LegacyEnumType, 1);
ZT_SIZE(SPBoolean, 1);
#endif
static_assert(sizeof(AEGP_MenuID) == sizeof(A_LegacyEnumType), "AEGP_MenuID width");

// Enum widths.
ZT_SIZE(AEGP_ItemType, 2);
ZT_SIZE(AEGP_LTimeMode, 2);
ZT_SIZE(AEGP_ObjectType, 4);
ZT_SIZE(AEGP_WorldType, 4);
ZT_SIZE(AEGP_LayerFlags, 4);
ZT_SIZE(AEGP_KeyframeInterpolationType, 4);
ZT_SIZE(AEGP_LayerStream, 4);
ZT_SIZE(AEGP_MaskStream, 4);
ZT_SIZE(AEGP_HookPriority, 4);
ZT_SIZE(AEGP_Command, 4);
ZT_SIZE(AEGP_MemFlag, 4);
ZT_SIZE(AEGP_MemSize, 4);
ZT_SIZE(AEGP_PluginID, 4);
ZT_SIZE(AEGP_MaskIndex, 4);
ZT_SIZE(AEGP_VertexIndex, 4);
ZT_SIZE(AEGP_KeyframeIndex, 4);
ZT_SIZE(AEGP_EffectIndex, 4);
#ifdef _WIN32
ZT_SIZE(AEGP_MenuID, 4);
ZT_SIZE(AEGP_WindowType, 4);
ZT_SIZE(AEGP_CollectionItemType, 4);
#else
ZT_SIZE(AEGP_MenuID, 1);
ZT_SIZE(AEGP_WindowType, 1);
ZT_SIZE(AEGP_CollectionItemType, 1);
#endif

// Structs.
ZT_SIZE(A_Time, 8);
ZT_OFFSET(A_Time, scale, 4);
ZT_SIZE(A_Ratio, 8);
ZT_OFFSET(A_Ratio, den, 4);
ZT_SIZE(A_FloatPoint, 16);
ZT_SIZE(A_FloatPoint3, 24);
ZT_SIZE(A_FloatRect, 32);
ZT_OFFSET(A_FloatRect, bottom, 24);
ZT_SIZE(A_LRect, 16);
ZT_SIZE(A_Rect, 16);
ZT_SIZE(A_Version, 4);

ZT_SIZE(AEGP_ThreeDVal, 24);
ZT_SIZE(AEGP_TwoDVal, 16);
ZT_SIZE(AEGP_OneDVal, 8);
ZT_SIZE(AEGP_FourDVal, 32);
ZT_SIZE(AEGP_ColorVal, 32);
ZT_OFFSET(AEGP_ColorVal, blueF, 24);
ZT_SIZE(AEGP_StreamVal2, 32);
ZT_SIZE(AEGP_StreamValue2, 40);
ZT_OFFSET(AEGP_StreamValue2, val, 8);
ZT_SIZE(AEGP_MaskVertex, 48);
ZT_OFFSET(AEGP_MaskVertex, tan_in_x, 16);
ZT_OFFSET(AEGP_MaskVertex, tan_out_y, 40);
ZT_SIZE(AEGP_DownsampleFactor, 4);
ZT_OFFSET(AEGP_DownsampleFactor, yS, 2);

ZT_SIZE(AEGP_LayerCollectionItem, 8);
ZT_SIZE(AEGP_MaskCollectionItem, 16);
ZT_OFFSET(AEGP_MaskCollectionItem, index, 8);
ZT_SIZE(AEGP_EffectCollectionItem, 16);
ZT_SIZE(AEGP_LayerStreamCollectionItem, 16);
ZT_SIZE(AEGP_MaskStreamCollectionItem, 24);
ZT_OFFSET(AEGP_MaskStreamCollectionItem, mask_stream, 16);
ZT_SIZE(AEGP_EffectStreamCollectionItem, 24);
ZT_SIZE(AEGP_StreamCollectionItem, 32);
ZT_OFFSET(AEGP_StreamCollectionItem, u, 8);
ZT_SIZE(AEGP_MaskVertexCollectionItem, 24);
ZT_OFFSET(AEGP_MaskVertexCollectionItem, index, 16);
ZT_SIZE(AEGP_KeyframeCollectionItem, 40);
ZT_OFFSET(AEGP_KeyframeCollectionItem, index, 32);
ZT_SIZE(AEGP_CollectionItemV2, 56);
ZT_OFFSET(AEGP_CollectionItemV2, u, 8);
ZT_OFFSET(AEGP_CollectionItemV2, u.mask.index, 16);
ZT_OFFSET(AEGP_CollectionItemV2, stream_refH, 48);

ZT_SIZE(PF_Pixel, 4);
ZT_SIZE(PF_Pixel8, 4);
ZT_OFFSET(PF_Pixel8, alpha, 0);
ZT_OFFSET(PF_Pixel8, blue, 3);
ZT_SIZE(PF_Pixel16, 8);
ZT_OFFSET(PF_Pixel16, blue, 6);
ZT_SIZE(PF_PixelFloat, 16);
ZT_SIZE(PF_Pixel32, 16);
ZT_OFFSET(PF_Pixel32, blue, 12);

ZT_SIZE(SPBasicSuite, 7 * 8);
ZT_OFFSET(SPBasicSuite, AcquireSuite, 0);
ZT_OFFSET(SPBasicSuite, ReleaseSuite, 8);
ZT_OFFSET(SPBasicSuite, Undefined, 48);

// Suite member counts.
ZT_SUITE_SIZE(AEGP_CommandSuite1, 8);
ZT_SUITE_SIZE(AEGP_RegisterSuite5, 12);
ZT_SUITE_SIZE(AEGP_UtilitySuite5, 31);
ZT_SUITE_SIZE(AEGP_PersistentDataSuite3, 18);
ZT_SUITE_SIZE(AEGP_MemorySuite1, 8);
ZT_SUITE_SIZE(AEGP_ItemSuite1, 20);
ZT_SUITE_SIZE(AEGP_ItemSuite6, 26);
ZT_SUITE_SIZE(AEGP_ItemSuite8, 27);
ZT_SUITE_SIZE(AEGP_ProjSuite5, 14);
ZT_SUITE_SIZE(AEGP_ProjSuite6, 14);
ZT_SUITE_SIZE(AEGP_RenderOptionsSuite3, 21);
ZT_SUITE_SIZE(AEGP_WorldSuite3, 13);
ZT_SUITE_SIZE(AEGP_CompSuite4, 28);
ZT_SUITE_SIZE(AEGP_CompSuite7, 34);
ZT_SUITE_SIZE(AEGP_CompSuite9, 37);
ZT_SUITE_SIZE(AEGP_LayerSuite5, 46);
ZT_SUITE_SIZE(AEGP_LayerSuite7, 48);
ZT_SUITE_SIZE(AEGP_MaskSuite5, 19);
ZT_SUITE_SIZE(AEGP_MaskOutlineSuite2, 7);
ZT_SUITE_SIZE(AEGP_StreamSuite4, 22);
ZT_SUITE_SIZE(AEGP_KeyframeSuite4, 20);
ZT_SUITE_SIZE(AEGP_CollectionSuite2, 6);
ZT_SUITE_SIZE(AEGP_RenderSuite3, 11);

// Suite member slots.
ZT_SLOT(AEGP_CommandSuite1, AEGP_GetUniqueCommand, 0);
ZT_SLOT(AEGP_CommandSuite1, AEGP_InsertMenuCommand, 1);
ZT_SLOT(AEGP_CommandSuite1, AEGP_SetMenuCommandName, 3);
ZT_SLOT(AEGP_CommandSuite1, AEGP_EnableCommand, 4);
ZT_SLOT(AEGP_CommandSuite1, AEGP_DisableCommand, 5);
ZT_SLOT(AEGP_CommandSuite1, AEGP_DoCommand, 7);
ZT_SLOT(AEGP_RegisterSuite5, AEGP_RegisterCommandHook, 0);
ZT_SLOT(AEGP_RegisterSuite5, AEGP_RegisterUpdateMenuHook, 1);
ZT_SLOT(AEGP_RegisterSuite5, AEGP_RegisterIdleHook, 8);
ZT_SLOT(AEGP_UtilitySuite5, AEGP_ReportInfo, 0);
ZT_SLOT(AEGP_UtilitySuite5, AEGP_StartUndoGroup, 6);
ZT_SLOT(AEGP_UtilitySuite5, AEGP_EndUndoGroup, 7);
ZT_SLOT(AEGP_UtilitySuite5, AEGP_GetMainHWND, 9);
ZT_SLOT(AEGP_UtilitySuite5, AEGP_ExecuteScript, 27);
ZT_SLOT(AEGP_PersistentDataSuite3, AEGP_GetApplicationBlob, 0);
ZT_SLOT(AEGP_PersistentDataSuite3, AEGP_GetData, 7);
ZT_SLOT(AEGP_PersistentDataSuite3, AEGP_GetLong, 9);
ZT_SLOT(AEGP_PersistentDataSuite3, AEGP_DeleteEntry, 16);
ZT_SLOT(AEGP_MemorySuite1, AEGP_FreeMemHandle, 1);
ZT_SLOT(AEGP_MemorySuite1, AEGP_LockMemHandle, 2);
ZT_SLOT(AEGP_MemorySuite1, AEGP_UnlockMemHandle, 3);
ZT_SLOT(AEGP_ItemSuite1, AEGP_GetActiveItem, 1);
ZT_SLOT(AEGP_ItemSuite1, AEGP_IsItemSelected, 2);
ZT_SLOT(AEGP_ItemSuite1, AEGP_GetItemType, 4);
ZT_SLOT(AEGP_ItemSuite1, AEGP_GetItemName, 6);
ZT_SLOT(AEGP_ItemSuite1, AEGP_GetItemID, 7);
ZT_SLOT(AEGP_ItemSuite1, AEGP_GetItemDuration, 11);
ZT_SLOT(AEGP_ItemSuite1, AEGP_GetItemCurrentTime, 12);
ZT_SLOT(AEGP_ItemSuite1, AEGP_GetItemDimensions, 13);
ZT_SLOT(AEGP_ItemSuite1, AEGP_GetItemPixelAspectRatio, 14);
ZT_SLOT(AEGP_ItemSuite1, AEGP_DeleteItem, 15);
ZT_SLOT(AEGP_ItemSuite1, AEGP_SetItemCurrentTime, 18);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetFirstProjItem, 0);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetNextProjItem, 1);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetActiveItem, 2);
ZT_SLOT(AEGP_ItemSuite6, AEGP_IsItemSelected, 3);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetItemType, 5);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetItemName, 7);
ZT_SLOT(AEGP_ItemSuite6, AEGP_SetItemName, 8);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetItemID, 9);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetItemDuration, 14);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetItemCurrentTime, 15);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetItemDimensions, 16);
ZT_SLOT(AEGP_ItemSuite6, AEGP_GetItemPixelAspectRatio, 17);
ZT_SLOT(AEGP_ItemSuite6, AEGP_DeleteItem, 18);
ZT_SLOT(AEGP_ItemSuite6, AEGP_SetItemCurrentTime, 20);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetFirstProjItem, 0);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetNextProjItem, 1);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetActiveItem, 2);
ZT_SLOT(AEGP_ItemSuite8, AEGP_IsItemSelected, 3);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetItemType, 5);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetItemName, 7);
ZT_SLOT(AEGP_ItemSuite8, AEGP_SetItemName, 8);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetItemID, 9);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetItemDuration, 14);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetItemCurrentTime, 15);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetItemDimensions, 16);
ZT_SLOT(AEGP_ItemSuite8, AEGP_GetItemPixelAspectRatio, 17);
ZT_SLOT(AEGP_ItemSuite8, AEGP_DeleteItem, 18);
ZT_SLOT(AEGP_ItemSuite8, AEGP_CreateNewFolder, 19);
ZT_SLOT(AEGP_ItemSuite8, AEGP_SetItemCurrentTime, 20);
ZT_SLOT(AEGP_ProjSuite5, AEGP_GetProjectByIndex, 1);
ZT_SLOT(AEGP_ProjSuite6, AEGP_GetProjectByIndex, 1);
ZT_SLOT(AEGP_RenderOptionsSuite3, AEGP_NewFromItem, 0);
ZT_SLOT(AEGP_RenderOptionsSuite3, AEGP_Dispose, 2);
ZT_SLOT(AEGP_RenderOptionsSuite3, AEGP_SetTime, 3);
ZT_SLOT(AEGP_RenderOptionsSuite3, AEGP_GetTimeStep, 6);
ZT_SLOT(AEGP_RenderOptionsSuite3, AEGP_SetDownsampleFactor, 11);
ZT_SLOT(AEGP_RenderOptionsSuite3, AEGP_GetDownsampleFactor, 12);
ZT_SLOT(AEGP_WorldSuite3, AEGP_Dispose, 1);
ZT_SLOT(AEGP_WorldSuite3, AEGP_GetType, 2);
ZT_SLOT(AEGP_WorldSuite3, AEGP_GetSize, 3);
ZT_SLOT(AEGP_WorldSuite3, AEGP_GetRowBytes, 4);
ZT_SLOT(AEGP_WorldSuite3, AEGP_GetBaseAddr8, 5);
ZT_SLOT(AEGP_WorldSuite3, AEGP_GetBaseAddr16, 6);
ZT_SLOT(AEGP_WorldSuite3, AEGP_GetBaseAddr32, 7);
ZT_SLOT(AEGP_CompSuite4, AEGP_GetCompFromItem, 0);
ZT_SLOT(AEGP_CompSuite4, AEGP_GetItemFromComp, 1);
ZT_SLOT(AEGP_CompSuite4, AEGP_GetNewCollectionFromCompSelection, 17);
ZT_SLOT(AEGP_CompSuite4, AEGP_SetSelection, 18);
ZT_SLOT(AEGP_CompSuite4, AEGP_CreateNullInComp, 22);
ZT_SLOT(AEGP_CompSuite4, AEGP_SetCompPixelAspectRatio, 23);
ZT_SLOT(AEGP_CompSuite4, AEGP_SetCompDimensions, 25);
ZT_SLOT(AEGP_CompSuite4, AEGP_DuplicateComp, 26);
ZT_SLOT(AEGP_CompSuite7, AEGP_GetCompFromItem, 0);
ZT_SLOT(AEGP_CompSuite7, AEGP_GetItemFromComp, 1);
ZT_SLOT(AEGP_CompSuite7, AEGP_GetCompDownsampleFactor, 2);
ZT_SLOT(AEGP_CompSuite7, AEGP_SetCompDownsampleFactor, 3);
ZT_SLOT(AEGP_CompSuite7, AEGP_CreateComp, 19);
ZT_SLOT(AEGP_CompSuite7, AEGP_GetNewCollectionFromCompSelection, 20);
ZT_SLOT(AEGP_CompSuite7, AEGP_SetSelection, 21);
ZT_SLOT(AEGP_CompSuite7, AEGP_CreateNullInComp, 25);
ZT_SLOT(AEGP_CompSuite7, AEGP_SetCompPixelAspectRatio, 26);
ZT_SLOT(AEGP_CompSuite7, AEGP_SetCompDimensions, 28);
ZT_SLOT(AEGP_CompSuite7, AEGP_DuplicateComp, 29);
ZT_SLOT(AEGP_CompSuite9, AEGP_GetCompFromItem, 0);
ZT_SLOT(AEGP_CompSuite9, AEGP_GetItemFromComp, 1);
ZT_SLOT(AEGP_CompSuite9, AEGP_GetNewCollectionFromCompSelection, 20);
ZT_SLOT(AEGP_CompSuite9, AEGP_SetSelection, 21);
ZT_SLOT(AEGP_CompSuite9, AEGP_CreateNullInComp, 25);
ZT_SLOT(AEGP_CompSuite9, AEGP_SetCompPixelAspectRatio, 26);
ZT_SLOT(AEGP_CompSuite9, AEGP_SetCompDimensions, 29);
ZT_SLOT(AEGP_CompSuite9, AEGP_DuplicateComp, 30);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetCompNumLayers, 0);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetCompLayerByIndex, 1);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetActiveLayer, 2);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerIndex, 3);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerSourceItem, 4);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerParentComp, 6);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerFlags, 10);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerCurrentTime, 14);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerInPoint, 15);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerDuration, 16);
ZT_SLOT(AEGP_LayerSuite5, AEGP_AddLayer, 25);
ZT_SLOT(AEGP_LayerSuite5, AEGP_ReorderLayer, 26);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerMaskedBounds, 27);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerObjectType, 28);
ZT_SLOT(AEGP_LayerSuite5, AEGP_IsLayer3D, 29);
ZT_SLOT(AEGP_LayerSuite5, AEGP_GetLayerParent, 41);
ZT_SLOT(AEGP_LayerSuite5, AEGP_SetLayerParent, 42);
ZT_SLOT(AEGP_LayerSuite5, AEGP_DeleteLayer, 43);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetCompNumLayers, 0);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetCompLayerByIndex, 1);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetActiveLayer, 2);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerIndex, 3);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerSourceItem, 4);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerParentComp, 6);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerFlags, 10);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerCurrentTime, 14);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerInPoint, 15);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerDuration, 16);
ZT_SLOT(AEGP_LayerSuite7, AEGP_AddLayer, 25);
ZT_SLOT(AEGP_LayerSuite7, AEGP_ReorderLayer, 26);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerMaskedBounds, 27);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerObjectType, 28);
ZT_SLOT(AEGP_LayerSuite7, AEGP_IsLayer3D, 29);
ZT_SLOT(AEGP_LayerSuite7, AEGP_GetLayerParent, 41);
ZT_SLOT(AEGP_LayerSuite7, AEGP_SetLayerParent, 42);
ZT_SLOT(AEGP_LayerSuite7, AEGP_DeleteLayer, 43);
ZT_SLOT(AEGP_MaskSuite5, AEGP_GetLayerNumMasks, 0);
ZT_SLOT(AEGP_MaskSuite5, AEGP_GetLayerMaskByIndex, 1);
ZT_SLOT(AEGP_MaskSuite5, AEGP_DisposeMask, 2);
ZT_SLOT(AEGP_MaskSuite5, AEGP_CreateNewMask, 10);
ZT_SLOT(AEGP_MaskSuite5, AEGP_DeleteMaskFromLayer, 11);
ZT_SLOT(AEGP_MaskOutlineSuite2, AEGP_GetMaskOutlineNumSegments, 2);
ZT_SLOT(AEGP_MaskOutlineSuite2, AEGP_GetMaskOutlineVertexInfo, 3);
ZT_SLOT(AEGP_MaskOutlineSuite2, AEGP_SetMaskOutlineVertexInfo, 4);
ZT_SLOT(AEGP_MaskOutlineSuite2, AEGP_CreateVertex, 5);
ZT_SLOT(AEGP_StreamSuite4, AEGP_GetNewLayerStream, 3);
ZT_SLOT(AEGP_StreamSuite4, AEGP_GetNewMaskStream, 6);
ZT_SLOT(AEGP_StreamSuite4, AEGP_DisposeStream, 7);
ZT_SLOT(AEGP_StreamSuite4, AEGP_GetNewStreamValue, 13);
ZT_SLOT(AEGP_StreamSuite4, AEGP_DisposeStreamValue, 14);
ZT_SLOT(AEGP_StreamSuite4, AEGP_SetStreamValue, 15);
ZT_SLOT(AEGP_KeyframeSuite4, AEGP_GetStreamNumKFs, 0);
ZT_SLOT(AEGP_KeyframeSuite4, AEGP_GetKeyframeTime, 1);
ZT_SLOT(AEGP_KeyframeSuite4, AEGP_InsertKeyframe, 2);
ZT_SLOT(AEGP_KeyframeSuite4, AEGP_SetKeyframeValue, 5);
ZT_SLOT(AEGP_KeyframeSuite4, AEGP_GetKeyframeInterpolation, 14);
ZT_SLOT(AEGP_KeyframeSuite4, AEGP_SetKeyframeInterpolation, 15);
ZT_SLOT(AEGP_CollectionSuite2, AEGP_DisposeCollection, 1);
ZT_SLOT(AEGP_CollectionSuite2, AEGP_GetCollectionNumItems, 2);
ZT_SLOT(AEGP_CollectionSuite2, AEGP_GetCollectionItemByIndex, 3);
ZT_SLOT(AEGP_CollectionSuite2, AEGP_CollectionErase, 5);
ZT_SLOT(AEGP_RenderSuite3, AEGP_RenderAndCheckoutFrame, 0);
ZT_SLOT(AEGP_RenderSuite3, AEGP_CheckinFrame, 1);
ZT_SLOT(AEGP_RenderSuite3, AEGP_GetReceiptWorld, 2);

// Error codes.
static_assert(A_Err_NONE == 0 && A_Err_GENERIC == 1 && A_Err_PARAMETER == 3, "A_Err");
static_assert(A_Err_ALLOC == 4 && A_Err_CONST_PROJECT_MODIFICATION == 6, "A_Err");
static_assert(A_Err_MISSING_SUITE == 13, "A_Err_MISSING_SUITE");
static_assert(A_Err_NOT_IN_CACHE_OR_COMPUTE_PENDING == 22, "A_Err");
static_assert(A_Err_EFFECT_APPLY_FATAL == 24 && A_Err_LAST == 25, "A_Err");
static_assert(PF_Err_NONE == 0 && PF_Err_OUT_OF_MEMORY == 4, "PF_Err");
static_assert(PF_FIRST_ERR == 512 && PF_Err_INTERNAL_STRUCT_DAMAGED == 512, "PF_Err");
static_assert(PF_Err_INVALID_INDEX == 513 && PF_Err_INVALID_CALLBACK == 515, "PF_Err");
static_assert(PF_Err_BAD_CALLBACK_PARAM == 516, "PF_Err_BAD_CALLBACK_PARAM");
static_assert(PF_Interrupt_CANCEL == 517 && PF_Err_CANNOT_PARSE_KEYFRAME_TEXT == 518, "PF");
static_assert(kSPNoError == 0, "kSPNoError");

// Enum values.
static_assert(AEGP_ItemType_FOLDER == 1 && AEGP_ItemType_COMP == 2, "item type");
static_assert(AEGP_ItemType_FOOTAGE == 4 && AEGP_ItemType_NUM_TYPES1 == 5, "item type");
static_assert(AEGP_ObjectType_NONE == -1 && AEGP_ObjectType_AV == 0, "object type");
static_assert(AEGP_ObjectType_TEXT == 3 && AEGP_ObjectType_NUM_TYPES == 10, "object type");
static_assert(AEGP_LTimeMode_LayerTime == 0 && AEGP_LTimeMode_CompTime == 1, "time mode");
static_assert(AEGP_LayerFlag_VIDEO_ACTIVE == 0x1 && AEGP_LayerFlag_LOCKED == 0x20, "flags");
static_assert(AEGP_LayerFlag_TIME_REMAPPING == 0x400, "time remap flag");
static_assert(AEGP_LayerFlag_LAYER_IS_3D == 0x800, "3D flag");
static_assert(AEGP_LayerFlag_NULL_LAYER == 0x10000, "null flag");
static_assert(AEGP_LayerFlag_ENVIRONMENT_LAYER == 0x200000, "environment flag");
static_assert(AEGP_KeyInterp_LINEAR == 1 && AEGP_KeyInterp_HOLD == 3, "interp");
static_assert(AEGP_Interp_NUM_VALUES == 4, "interp");
static_assert(AEGP_LayerStream_NONE == -1 && AEGP_LayerStream_ANCHORPOINT == 0, "stream");
static_assert(AEGP_LayerStream_POSITION == 1 && AEGP_LayerStream_OPACITY == 4, "stream");
static_assert(AEGP_LayerStream_ROTATE_Z == 3 && AEGP_LayerStream_TIME_REMAP == 7, "stream");
static_assert(AEGP_LayerStream_ORIENTATION == 10, "stream");
static_assert(AEGP_MaskStream_OUTLINE == 400 && AEGP_MaskStream_EXPANSION == 403, "mask");
static_assert(AEGP_CollectionItemType_LAYER == 1, "collection");
static_assert(AEGP_CollectionItemType_MASK_VERTEX == 6, "collection");
static_assert(AEGP_CollectionItemType_STREAMREF == 7, "collection");
static_assert(AEGP_CollectionItemType_END == 8, "collection");
static_assert(AEGP_WorldType_8 == 1 && AEGP_WorldType_32 == 3, "world type");
static_assert(AEGP_Menu_FILE == 2 && AEGP_Menu_COMPOSITION == 4, "menu");
static_assert(AEGP_Menu_LAYER == 5 && AEGP_Menu_NEW == 16, "menu");
static_assert(AEGP_WindType_COMP == 2 && AEGP_WindType_OTHER == 11, "window type");
static_assert(AEGP_HP_BeforeAE == 1 && AEGP_HP_AfterAE == 2, "hook priority");
static_assert(AEGP_MemFlag_CLEAR == 1 && AEGP_MemFlag_QUIET == 2, "mem flag");
static_assert(AEGP_Command_ALL == 0, "command all");
static_assert(AEGP_MENU_INSERT_SORTED == -2 && AEGP_MENU_INSERT_AT_BOTTOM == -1, "menu pos");
static_assert(AEGP_MENU_INSERT_AT_TOP == 0, "menu pos");
static_assert(AEGP_REORDER_LAYER_TO_END == -1, "reorder");
static_assert(AEGP_MAX_ITEM_NAME_SIZE == 32, "name size");
static_assert(AEGP_VertexIndex_END == 10922, "vertex end");
static_assert(AEGP_PLUGIN_TYPE == 0x41456778, "'AEgx'");
static_assert(AEGP_INITFUNC_MAJOR_VERSION == 1 && AEGP_INITFUNC_MINOR_VERSION == 9, "init");
static_assert(PF_MAX_CHAN8 == 255 && PF_MAX_CHAN16 == 32768, "channel max");

#undef ZT_SIZE
#undef ZT_OFFSET
#undef ZT_SUITE_SIZE
#undef ZT_SLOT
