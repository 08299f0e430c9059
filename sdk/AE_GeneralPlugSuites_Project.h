// AEGP suite tables for project items, projects and compositions (each version the plug-in uses).
#ifndef ZENTRIM_SDK_AE_GENERALPLUGSUITES_PROJECT_H
#define ZENTRIM_SDK_AE_GENERALPLUGSUITES_PROJECT_H

// Members typed AEGP_UndeclaredFunc are unused slots kept only so later members line up.
#include "AE_GeneralPlug.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 8)

/* ---- Item Suite ---- */

#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion1 3
#define kAEGPItemSuiteVersion6 10
#define kAEGPItemSuiteVersion8 13

// Oldest form: no project iteration, 8-bit names in AEGP_MAX_ITEM_NAME_SIZE buffers, no setter.
typedef struct {
    AEGP_UndeclaredFunc AEGP_GetNextItem;
    A_Err(SPAPI* AEGP_GetActiveItem)(AEGP_ItemH* itemPH);
    A_Err(SPAPI* AEGP_IsItemSelected)(AEGP_ItemH itemH, A_Boolean* selectedPB);
    AEGP_UndeclaredFunc AEGP_SelectItem;
    A_Err(SPAPI* AEGP_GetItemType)(AEGP_ItemH itemH, AEGP_ItemType* item_typeP);
    AEGP_UndeclaredFunc AEGP_GetTypeName;
    A_Err(SPAPI* AEGP_GetItemName)(AEGP_ItemH itemH, A_char* nameZ);
    A_Err(SPAPI* AEGP_GetItemID)(AEGP_ItemH itemH, A_long* item_idPL);
    AEGP_UndeclaredFunc AEGP_GetItemFlags;
    AEGP_UndeclaredFunc AEGP_SetItemUseProxy;
    AEGP_UndeclaredFunc AEGP_GetItemParentFolder;
    A_Err(SPAPI* AEGP_GetItemDuration)(AEGP_ItemH itemH, A_Time* durationPT);
    A_Err(SPAPI* AEGP_GetItemCurrentTime)(AEGP_ItemH itemH, A_Time* curr_timePT);
    A_Err(SPAPI* AEGP_GetItemDimensions)(AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL);
    A_Err(SPAPI* AEGP_GetItemPixelAspectRatio)(AEGP_ItemH itemH, A_Ratio* pix_aspect_ratioPRt);
    A_Err(SPAPI* AEGP_DeleteItem)(AEGP_ItemH itemH);
    AEGP_UndeclaredFunc AEGP_GetItemSolidColor;
    AEGP_UndeclaredFunc AEGP_CreateNewFolder;
    A_Err(SPAPI* AEGP_SetItemCurrentTime)(AEGP_ItemH itemH, const A_Time* new_timePT);
    AEGP_UndeclaredFunc AEGP_RenderNewItemSoundData;
} AEGP_ItemSuite1;

// Adds project iteration and an 8-bit name setter.
typedef struct {
    A_Err(SPAPI* AEGP_GetFirstProjItem)(AEGP_ProjectH projectH, AEGP_ItemH* itemPH);
    A_Err(SPAPI* AEGP_GetNextProjItem)(AEGP_ProjectH projectH, AEGP_ItemH itemH,
                                       AEGP_ItemH* next_itemPH);
    A_Err(SPAPI* AEGP_GetActiveItem)(AEGP_ItemH* itemPH);
    A_Err(SPAPI* AEGP_IsItemSelected)(AEGP_ItemH itemH, A_Boolean* selectedPB);
    AEGP_UndeclaredFunc AEGP_SelectItem;
    A_Err(SPAPI* AEGP_GetItemType)(AEGP_ItemH itemH, AEGP_ItemType* item_typeP);
    AEGP_UndeclaredFunc AEGP_GetTypeName;
    A_Err(SPAPI* AEGP_GetItemName)(AEGP_ItemH itemH, A_char* nameZ);
    A_Err(SPAPI* AEGP_SetItemName)(AEGP_ItemH itemH, const A_char* nameZ);
    A_Err(SPAPI* AEGP_GetItemID)(AEGP_ItemH itemH, A_long* item_idPL);
    AEGP_UndeclaredFunc AEGP_GetItemFlags;
    AEGP_UndeclaredFunc AEGP_SetItemUseProxy;
    AEGP_UndeclaredFunc AEGP_GetItemParentFolder;
    AEGP_UndeclaredFunc AEGP_SetItemParentFolder;
    A_Err(SPAPI* AEGP_GetItemDuration)(AEGP_ItemH itemH, A_Time* durationPT);
    A_Err(SPAPI* AEGP_GetItemCurrentTime)(AEGP_ItemH itemH, A_Time* curr_timePT);
    A_Err(SPAPI* AEGP_GetItemDimensions)(AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL);
    A_Err(SPAPI* AEGP_GetItemPixelAspectRatio)(AEGP_ItemH itemH, A_Ratio* pix_aspect_ratioPRt);
    A_Err(SPAPI* AEGP_DeleteItem)(AEGP_ItemH itemH);
    AEGP_UndeclaredFunc AEGP_CreateNewFolder;
    A_Err(SPAPI* AEGP_SetItemCurrentTime)(AEGP_ItemH itemH, const A_Time* new_timePT);
    AEGP_UndeclaredFunc AEGP_GetItemCommentLength;
    AEGP_UndeclaredFunc AEGP_GetItemComment;
    AEGP_UndeclaredFunc AEGP_SetItemComment;
    AEGP_UndeclaredFunc AEGP_GetItemLabel;
    AEGP_UndeclaredFunc AEGP_SetItemLabel;
} AEGP_ItemSuite6;

// The only version with UTF-16 names of unlimited length.
typedef struct {
    A_Err(SPAPI* AEGP_GetFirstProjItem)(AEGP_ProjectH projectH, AEGP_ItemH* itemPH);
    A_Err(SPAPI* AEGP_GetNextProjItem)(AEGP_ProjectH projectH, AEGP_ItemH itemH,
                                       AEGP_ItemH* next_itemPH);
    A_Err(SPAPI* AEGP_GetActiveItem)(AEGP_ItemH* itemPH);
    A_Err(SPAPI* AEGP_IsItemSelected)(AEGP_ItemH itemH, A_Boolean* selectedPB);
    AEGP_UndeclaredFunc AEGP_SelectItem;
    A_Err(SPAPI* AEGP_GetItemType)(AEGP_ItemH itemH, AEGP_ItemType* item_typeP);
    AEGP_UndeclaredFunc AEGP_GetTypeName;
    // New handle with a null-terminated A_UTF16Char string; free it with AEGP_FreeMemHandle.
    A_Err(SPAPI* AEGP_GetItemName)(AEGP_PluginID pluginID, AEGP_ItemH itemH,
                                   AEGP_MemHandle* unicode_namePH);
    A_Err(SPAPI* AEGP_SetItemName)(AEGP_ItemH itemH, const A_UTF16Char* nameZ);
    A_Err(SPAPI* AEGP_GetItemID)(AEGP_ItemH itemH, A_long* item_idPL);
    AEGP_UndeclaredFunc AEGP_GetItemFlags;
    AEGP_UndeclaredFunc AEGP_SetItemUseProxy;
    AEGP_UndeclaredFunc AEGP_GetItemParentFolder;
    AEGP_UndeclaredFunc AEGP_SetItemParentFolder;
    A_Err(SPAPI* AEGP_GetItemDuration)(AEGP_ItemH itemH, A_Time* durationPT);
    A_Err(SPAPI* AEGP_GetItemCurrentTime)(AEGP_ItemH itemH, A_Time* curr_timePT);
    A_Err(SPAPI* AEGP_GetItemDimensions)(AEGP_ItemH itemH, A_long* widthPL, A_long* heightPL);
    A_Err(SPAPI* AEGP_GetItemPixelAspectRatio)(AEGP_ItemH itemH, A_Ratio* pix_aspect_ratioPRt);
    A_Err(SPAPI* AEGP_DeleteItem)(AEGP_ItemH itemH);
    // A new, empty folder in the given folder (null: the project's root).
    A_Err(SPAPI* AEGP_CreateNewFolder)(const A_UTF16Char* nameZ, AEGP_ItemH parent_folderH0,
                                       AEGP_ItemH* new_folderPH);
    A_Err(SPAPI* AEGP_SetItemCurrentTime)(AEGP_ItemH itemH, const A_Time* new_timePT);
    AEGP_UndeclaredFunc AEGP_GetItemCommentLength;
    AEGP_UndeclaredFunc AEGP_GetItemComment;
    AEGP_UndeclaredFunc AEGP_SetItemComment;
    AEGP_UndeclaredFunc AEGP_GetItemLabel;
    AEGP_UndeclaredFunc AEGP_SetItemLabel;
    AEGP_UndeclaredFunc AEGP_GetItemMRUView;
} AEGP_ItemSuite8;

/* ---- Project Suite ---- */

#define kAEGPProjSuite "AEGP Proj Suite"
#define kAEGPProjSuiteVersion5 8
#define kAEGPProjSuiteVersion6 9

typedef struct {
    AEGP_UndeclaredFunc AEGP_GetNumProjects;
    A_Err(SPAPI* AEGP_GetProjectByIndex)(A_long proj_indexL, AEGP_ProjectH* projPH);
    AEGP_UndeclaredFunc AEGP_GetProjectName;
    AEGP_UndeclaredFunc AEGP_GetProjectPath;
    AEGP_UndeclaredFunc AEGP_GetProjectRootFolder;
    AEGP_UndeclaredFunc AEGP_SaveProjectToPath;
    AEGP_UndeclaredFunc AEGP_GetProjectTimeDisplay;
    AEGP_UndeclaredFunc AEGP_SetProjectTimeDisplay;
    AEGP_UndeclaredFunc AEGP_ProjectIsDirty;
    AEGP_UndeclaredFunc AEGP_SaveProjectAs;
    AEGP_UndeclaredFunc AEGP_NewProject;
    AEGP_UndeclaredFunc AEGP_OpenProjectFromPath;
    AEGP_UndeclaredFunc AEGP_GetProjectBitDepth;
    AEGP_UndeclaredFunc AEGP_SetProjectBitDepth;
} AEGP_ProjSuite5;

typedef struct {
    AEGP_UndeclaredFunc AEGP_GetNumProjects;
    A_Err(SPAPI* AEGP_GetProjectByIndex)(A_long proj_indexL, AEGP_ProjectH* projPH);
    AEGP_UndeclaredFunc AEGP_GetProjectName;
    AEGP_UndeclaredFunc AEGP_GetProjectPath;
    AEGP_UndeclaredFunc AEGP_GetProjectRootFolder;
    AEGP_UndeclaredFunc AEGP_SaveProjectToPath;
    AEGP_UndeclaredFunc AEGP_GetProjectTimeDisplay;
    AEGP_UndeclaredFunc AEGP_SetProjectTimeDisplay;
    AEGP_UndeclaredFunc AEGP_ProjectIsDirty;
    AEGP_UndeclaredFunc AEGP_SaveProjectAs;
    AEGP_UndeclaredFunc AEGP_NewProject;
    AEGP_UndeclaredFunc AEGP_OpenProjectFromPath;
    AEGP_UndeclaredFunc AEGP_GetProjectBitDepth;
    AEGP_UndeclaredFunc AEGP_SetProjectBitDepth;
} AEGP_ProjSuite6;

/* ---- Comp Suite ---- */

#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion4 9
#define kAEGPCompSuiteVersion7 15
#define kAEGPCompSuiteVersion9 19

// CreateNullInComp takes an 8-bit name in this version only.
typedef struct {
    A_Err(SPAPI* AEGP_GetCompFromItem)(AEGP_ItemH itemH, AEGP_CompH* compPH);
    A_Err(SPAPI* AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);
    AEGP_UndeclaredFunc AEGP_GetCompDownsampleFactor;
    AEGP_UndeclaredFunc AEGP_SetCompDownsampleFactor;
    AEGP_UndeclaredFunc AEGP_GetCompBGColor;
    AEGP_UndeclaredFunc AEGP_GetCompFlags;
    AEGP_UndeclaredFunc AEGP_GetCompFramerate;
    AEGP_UndeclaredFunc AEGP_SetCompFrameRate;
    AEGP_UndeclaredFunc AEGP_GetCompShutterAnglePhase;
    AEGP_UndeclaredFunc AEGP_GetCompShutterFrameRange;
    AEGP_UndeclaredFunc AEGP_GetCompWorkAreaStart;
    AEGP_UndeclaredFunc AEGP_GetCompWorkAreaDuration;
    AEGP_UndeclaredFunc AEGP_SetCompWorkAreaStartAndDuration;
    AEGP_UndeclaredFunc AEGP_CreateSolidInComp;
    AEGP_UndeclaredFunc AEGP_CreateCameraInComp;
    AEGP_UndeclaredFunc AEGP_CreateLightInComp;
    AEGP_UndeclaredFunc AEGP_CreateComp;
    // The caller disposes the new collection.
    A_Err(SPAPI* AEGP_GetNewCollectionFromCompSelection)(AEGP_PluginID plugin_id, AEGP_CompH compH,
                                                         AEGP_Collection2H* collectionPH);
    // The collection is not adopted.
    A_Err(SPAPI* AEGP_SetSelection)(AEGP_CompH compH, AEGP_Collection2H collectionH);
    AEGP_UndeclaredFunc AEGP_GetCompDisplayStartTime;
    AEGP_UndeclaredFunc AEGP_SetCompDisplayStartTime;
    AEGP_UndeclaredFunc AEGP_SetCompDuration;
    A_Err(SPAPI* AEGP_CreateNullInComp)(const A_char* nameZ, AEGP_CompH parent_compH,
                                        const A_Time* durationPT0, AEGP_LayerH* new_null_solidPH);
    A_Err(SPAPI* AEGP_SetCompPixelAspectRatio)(AEGP_CompH compH, const A_Ratio* pix_aspectratioPRt);
    AEGP_UndeclaredFunc AEGP_CreateTextLayerInComp;
    A_Err(SPAPI* AEGP_SetCompDimensions)(AEGP_CompH compH, A_long widthL, A_long heightL);
    A_Err(SPAPI* AEGP_DuplicateComp)(AEGP_CompH compH, AEGP_CompH* new_compPH);
    AEGP_UndeclaredFunc AEGP_GetCompFrameDuration;
} AEGP_CompSuite4;

typedef struct {
    A_Err(SPAPI* AEGP_GetCompFromItem)(AEGP_ItemH itemH, AEGP_CompH* compPH);
    A_Err(SPAPI* AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);
    A_Err(SPAPI* AEGP_GetCompDownsampleFactor)(AEGP_CompH compH, AEGP_DownsampleFactor* dsfP);
    A_Err(SPAPI* AEGP_SetCompDownsampleFactor)(AEGP_CompH compH, const AEGP_DownsampleFactor* dsfP);
    AEGP_UndeclaredFunc AEGP_GetCompBGColor;
    AEGP_UndeclaredFunc AEGP_SetCompBGColor;
    AEGP_UndeclaredFunc AEGP_GetCompFlags;
    AEGP_UndeclaredFunc AEGP_GetCompFramerate;
    AEGP_UndeclaredFunc AEGP_SetCompFrameRate;
    AEGP_UndeclaredFunc AEGP_GetCompShutterAnglePhase;
    AEGP_UndeclaredFunc AEGP_GetCompShutterFrameRange;
    AEGP_UndeclaredFunc AEGP_GetCompSuggestedMotionBlurSamples;
    AEGP_UndeclaredFunc AEGP_SetCompSuggestedMotionBlurSamples;
    AEGP_UndeclaredFunc AEGP_GetCompWorkAreaStart;
    AEGP_UndeclaredFunc AEGP_GetCompWorkAreaDuration;
    AEGP_UndeclaredFunc AEGP_SetCompWorkAreaStartAndDuration;
    AEGP_UndeclaredFunc AEGP_CreateSolidInComp;
    AEGP_UndeclaredFunc AEGP_CreateCameraInComp;
    AEGP_UndeclaredFunc AEGP_CreateLightInComp;
    // A new composition in the given folder (null: the project's root).
    A_Err(SPAPI* AEGP_CreateComp)(AEGP_ItemH parent_folderH0, const A_UTF16Char* utf_nameZ,
                                  A_long widthL, A_long heightL,
                                  const A_Ratio* pixel_aspect_ratioPRt, const A_Time* durationPT,
                                  const A_Ratio* frameratePRt, AEGP_CompH* new_compPH);
    A_Err(SPAPI* AEGP_GetNewCollectionFromCompSelection)(AEGP_PluginID plugin_id, AEGP_CompH compH,
                                                         AEGP_Collection2H* collectionPH);
    A_Err(SPAPI* AEGP_SetSelection)(AEGP_CompH compH, AEGP_Collection2H collectionH);
    AEGP_UndeclaredFunc AEGP_GetCompDisplayStartTime;
    AEGP_UndeclaredFunc AEGP_SetCompDisplayStartTime;
    AEGP_UndeclaredFunc AEGP_SetCompDuration;
    A_Err(SPAPI* AEGP_CreateNullInComp)(const A_UTF16Char* utf_nameZ, AEGP_CompH parent_compH,
                                        const A_Time* durationPT0, AEGP_LayerH* new_null_solidPH);
    A_Err(SPAPI* AEGP_SetCompPixelAspectRatio)(AEGP_CompH compH, const A_Ratio* pix_aspectratioPRt);
    AEGP_UndeclaredFunc AEGP_CreateTextLayerInComp;
    A_Err(SPAPI* AEGP_SetCompDimensions)(AEGP_CompH compH, A_long widthL, A_long heightL);
    A_Err(SPAPI* AEGP_DuplicateComp)(AEGP_CompH compH, AEGP_CompH* new_compPH);
    AEGP_UndeclaredFunc AEGP_GetCompFrameDuration;
    AEGP_UndeclaredFunc AEGP_GetMostRecentlyUsedComp;
    AEGP_UndeclaredFunc AEGP_CreateVectorLayerInComp;
    AEGP_UndeclaredFunc AEGP_GetNewCompMarkerStream;
} AEGP_CompSuite7;

typedef struct {
    A_Err(SPAPI* AEGP_GetCompFromItem)(AEGP_ItemH itemH, AEGP_CompH* compPH);
    A_Err(SPAPI* AEGP_GetItemFromComp)(AEGP_CompH compH, AEGP_ItemH* itemPH);
    AEGP_UndeclaredFunc AEGP_GetCompDownsampleFactor;
    AEGP_UndeclaredFunc AEGP_SetCompDownsampleFactor;
    AEGP_UndeclaredFunc AEGP_GetCompBGColor;
    AEGP_UndeclaredFunc AEGP_SetCompBGColor;
    AEGP_UndeclaredFunc AEGP_GetCompFlags;
    AEGP_UndeclaredFunc AEGP_GetCompFramerate;
    AEGP_UndeclaredFunc AEGP_SetCompFrameRate;
    AEGP_UndeclaredFunc AEGP_GetCompShutterAnglePhase;
    AEGP_UndeclaredFunc AEGP_GetCompShutterFrameRange;
    AEGP_UndeclaredFunc AEGP_GetCompSuggestedMotionBlurSamples;
    AEGP_UndeclaredFunc AEGP_SetCompSuggestedMotionBlurSamples;
    AEGP_UndeclaredFunc AEGP_GetCompWorkAreaStart;
    AEGP_UndeclaredFunc AEGP_GetCompWorkAreaDuration;
    AEGP_UndeclaredFunc AEGP_SetCompWorkAreaStartAndDuration;
    AEGP_UndeclaredFunc AEGP_CreateSolidInComp;
    AEGP_UndeclaredFunc AEGP_CreateCameraInComp;
    AEGP_UndeclaredFunc AEGP_CreateLightInComp;
    AEGP_UndeclaredFunc AEGP_CreateComp;
    A_Err(SPAPI* AEGP_GetNewCollectionFromCompSelection)(AEGP_PluginID plugin_id, AEGP_CompH compH,
                                                         AEGP_Collection2H* collectionPH);
    A_Err(SPAPI* AEGP_SetSelection)(AEGP_CompH compH, AEGP_Collection2H collectionH);
    AEGP_UndeclaredFunc AEGP_GetCompDisplayStartTime;
    AEGP_UndeclaredFunc AEGP_SetCompDisplayStartTime;
    AEGP_UndeclaredFunc AEGP_SetCompDuration;
    A_Err(SPAPI* AEGP_CreateNullInComp)(const A_UTF16Char* utf_nameZ, AEGP_CompH parent_compH,
                                        const A_Time* durationPT0, AEGP_LayerH* new_null_solidPH);
    A_Err(SPAPI* AEGP_SetCompPixelAspectRatio)(AEGP_CompH compH, const A_Ratio* pix_aspectratioPRt);
    AEGP_UndeclaredFunc AEGP_CreateTextLayerInComp;
    AEGP_UndeclaredFunc AEGP_CreateBoxTextLayerInComp;
    A_Err(SPAPI* AEGP_SetCompDimensions)(AEGP_CompH compH, A_long widthL, A_long heightL);
    A_Err(SPAPI* AEGP_DuplicateComp)(AEGP_CompH compH, AEGP_CompH* new_compPH);
    AEGP_UndeclaredFunc AEGP_GetCompFrameDuration;
    AEGP_UndeclaredFunc AEGP_GetMostRecentlyUsedComp;
    AEGP_UndeclaredFunc AEGP_CreateVectorLayerInComp;
    AEGP_UndeclaredFunc AEGP_GetNewCompMarkerStream;
    AEGP_UndeclaredFunc AEGP_GetCompDisplayDropFrame;
    AEGP_UndeclaredFunc AEGP_SetCompDisplayDropFrame;
} AEGP_CompSuite9;

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif  // ZENTRIM_SDK_AE_GENERALPLUGSUITES_PROJECT_H
