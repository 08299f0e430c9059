// AEGP suite tables for layers, masks, mask outlines, streams and keyframes.
#ifndef ZENTRIM_SDK_AE_GENERALPLUGSUITES_LAYER_H
#define ZENTRIM_SDK_AE_GENERALPLUGSUITES_LAYER_H

// Members typed AEGP_UndeclaredFunc are unused slots kept only so later members line up.
#include "AE_GeneralPlug.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 8)

/* ---- Layer Suite ---- */

#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion5 11
#define kAEGPLayerSuiteVersion7 13

typedef struct {
    A_Err(SPAPI* AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    A_Err(SPAPI* AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL,
                                           AEGP_LayerH* layerPH);
    // Non-null only when exactly one layer is selected.
    A_Err(SPAPI* AEGP_GetActiveLayer)(AEGP_LayerH* layerPH);
    // 0 is the topmost layer.
    A_Err(SPAPI* AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);
    A_Err(SPAPI* AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);
    AEGP_UndeclaredFunc AEGP_GetLayerSourceItemID;
    A_Err(SPAPI* AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    AEGP_UndeclaredFunc AEGP_GetLayerName;
    AEGP_UndeclaredFunc AEGP_GetLayerQuality;
    AEGP_UndeclaredFunc AEGP_SetLayerQuality;
    A_Err(SPAPI* AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    AEGP_UndeclaredFunc AEGP_SetLayerFlag;
    AEGP_UndeclaredFunc AEGP_IsLayerVideoReallyOn;
    AEGP_UndeclaredFunc AEGP_IsLayerAudioReallyOn;
    A_Err(SPAPI* AEGP_GetLayerCurrentTime)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                           A_Time* curr_timePT);
    A_Err(SPAPI* AEGP_GetLayerInPoint)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                       A_Time* in_pointPT);
    A_Err(SPAPI* AEGP_GetLayerDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                        A_Time* durationPT);
    AEGP_UndeclaredFunc AEGP_SetLayerInPointAndDuration;
    AEGP_UndeclaredFunc AEGP_GetLayerOffset;
    AEGP_UndeclaredFunc AEGP_SetLayerOffset;
    AEGP_UndeclaredFunc AEGP_GetLayerStretch;
    AEGP_UndeclaredFunc AEGP_SetLayerStretch;
    AEGP_UndeclaredFunc AEGP_GetLayerTransferMode;
    AEGP_UndeclaredFunc AEGP_SetLayerTransferMode;
    A_Err(SPAPI* AEGP_IsAddLayerValid)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                       A_Boolean* validPB);
    // Adds above all other layers.
    A_Err(SPAPI* AEGP_AddLayer)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                AEGP_LayerH* added_layerPH0);
    A_Err(SPAPI* AEGP_ReorderLayer)(AEGP_LayerH layerH, A_long layer_indexL);
    A_Err(SPAPI* AEGP_GetLayerMaskedBounds)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                            const A_Time* timePT, A_FloatRect* boundsPR);
    A_Err(SPAPI* AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    A_Err(SPAPI* AEGP_IsLayer3D)(AEGP_LayerH layerH, A_Boolean* is_3DPB);
    AEGP_UndeclaredFunc AEGP_IsLayer2D;
    AEGP_UndeclaredFunc AEGP_IsVideoActive;
    AEGP_UndeclaredFunc AEGP_IsLayerUsedAsTrackMatte;
    AEGP_UndeclaredFunc AEGP_DoesLayerHaveTrackMatte;
    AEGP_UndeclaredFunc AEGP_ConvertCompToLayerTime;
    AEGP_UndeclaredFunc AEGP_ConvertLayerToCompTime;
    AEGP_UndeclaredFunc AEGP_GetLayerDancingRandValue;
    AEGP_UndeclaredFunc AEGP_GetLayerID;
    AEGP_UndeclaredFunc AEGP_GetLayerToWorldXform;
    AEGP_UndeclaredFunc AEGP_GetLayerToWorldXformFromView;
    AEGP_UndeclaredFunc AEGP_SetLayerName;
    // Yields null when the layer has no parent; SetLayerParent accepts null to clear it.
    A_Err(SPAPI* AEGP_GetLayerParent)(const AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH);
    A_Err(SPAPI* AEGP_SetLayerParent)(AEGP_LayerH layerH, const AEGP_LayerH parent_layerH0);
    A_Err(SPAPI* AEGP_DeleteLayer)(AEGP_LayerH layerH);
    AEGP_UndeclaredFunc AEGP_DuplicateLayer;
    AEGP_UndeclaredFunc AEGP_GetLayerFromLayerID;
} AEGP_LayerSuite5;

// Same as version 5 plus the label accessors at the end.
typedef struct {
    A_Err(SPAPI* AEGP_GetCompNumLayers)(AEGP_CompH compH, A_long* num_layersPL);
    A_Err(SPAPI* AEGP_GetCompLayerByIndex)(AEGP_CompH compH, A_long layer_indexL,
                                           AEGP_LayerH* layerPH);
    // Non-null only when exactly one layer is selected.
    A_Err(SPAPI* AEGP_GetActiveLayer)(AEGP_LayerH* layerPH);
    // 0 is the topmost layer.
    A_Err(SPAPI* AEGP_GetLayerIndex)(AEGP_LayerH layerH, A_long* layer_indexPL);
    A_Err(SPAPI* AEGP_GetLayerSourceItem)(AEGP_LayerH layerH, AEGP_ItemH* source_itemPH);
    AEGP_UndeclaredFunc AEGP_GetLayerSourceItemID;
    A_Err(SPAPI* AEGP_GetLayerParentComp)(AEGP_LayerH layerH, AEGP_CompH* compPH);
    AEGP_UndeclaredFunc AEGP_GetLayerName;
    AEGP_UndeclaredFunc AEGP_GetLayerQuality;
    AEGP_UndeclaredFunc AEGP_SetLayerQuality;
    A_Err(SPAPI* AEGP_GetLayerFlags)(AEGP_LayerH layerH, AEGP_LayerFlags* layer_flagsP);
    AEGP_UndeclaredFunc AEGP_SetLayerFlag;
    AEGP_UndeclaredFunc AEGP_IsLayerVideoReallyOn;
    AEGP_UndeclaredFunc AEGP_IsLayerAudioReallyOn;
    A_Err(SPAPI* AEGP_GetLayerCurrentTime)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                           A_Time* curr_timePT);
    A_Err(SPAPI* AEGP_GetLayerInPoint)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                       A_Time* in_pointPT);
    A_Err(SPAPI* AEGP_GetLayerDuration)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                        A_Time* durationPT);
    AEGP_UndeclaredFunc AEGP_SetLayerInPointAndDuration;
    AEGP_UndeclaredFunc AEGP_GetLayerOffset;
    AEGP_UndeclaredFunc AEGP_SetLayerOffset;
    AEGP_UndeclaredFunc AEGP_GetLayerStretch;
    AEGP_UndeclaredFunc AEGP_SetLayerStretch;
    AEGP_UndeclaredFunc AEGP_GetLayerTransferMode;
    AEGP_UndeclaredFunc AEGP_SetLayerTransferMode;
    A_Err(SPAPI* AEGP_IsAddLayerValid)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                       A_Boolean* validPB);
    // Adds above all other layers.
    A_Err(SPAPI* AEGP_AddLayer)(AEGP_ItemH item_to_addH, AEGP_CompH into_compH,
                                AEGP_LayerH* added_layerPH0);
    A_Err(SPAPI* AEGP_ReorderLayer)(AEGP_LayerH layerH, A_long layer_indexL);
    A_Err(SPAPI* AEGP_GetLayerMaskedBounds)(AEGP_LayerH layerH, AEGP_LTimeMode time_mode,
                                            const A_Time* timePT, A_FloatRect* boundsPR);
    A_Err(SPAPI* AEGP_GetLayerObjectType)(AEGP_LayerH layerH, AEGP_ObjectType* object_type);
    A_Err(SPAPI* AEGP_IsLayer3D)(AEGP_LayerH layerH, A_Boolean* is_3DPB);
    AEGP_UndeclaredFunc AEGP_IsLayer2D;
    AEGP_UndeclaredFunc AEGP_IsVideoActive;
    AEGP_UndeclaredFunc AEGP_IsLayerUsedAsTrackMatte;
    AEGP_UndeclaredFunc AEGP_DoesLayerHaveTrackMatte;
    AEGP_UndeclaredFunc AEGP_ConvertCompToLayerTime;
    AEGP_UndeclaredFunc AEGP_ConvertLayerToCompTime;
    AEGP_UndeclaredFunc AEGP_GetLayerDancingRandValue;
    AEGP_UndeclaredFunc AEGP_GetLayerID;
    AEGP_UndeclaredFunc AEGP_GetLayerToWorldXform;
    AEGP_UndeclaredFunc AEGP_GetLayerToWorldXformFromView;
    AEGP_UndeclaredFunc AEGP_SetLayerName;
    // Yields null when the layer has no parent; SetLayerParent accepts null to clear it.
    A_Err(SPAPI* AEGP_GetLayerParent)(const AEGP_LayerH layerH, AEGP_LayerH* parent_layerPH);
    A_Err(SPAPI* AEGP_SetLayerParent)(AEGP_LayerH layerH, const AEGP_LayerH parent_layerH0);
    A_Err(SPAPI* AEGP_DeleteLayer)(AEGP_LayerH layerH);
    AEGP_UndeclaredFunc AEGP_DuplicateLayer;
    AEGP_UndeclaredFunc AEGP_GetLayerFromLayerID;
    AEGP_UndeclaredFunc AEGP_GetLayerLabel;
    AEGP_UndeclaredFunc AEGP_SetLayerLabel;
} AEGP_LayerSuite7;

/* ---- Mask Suite ---- */

#define kAEGPMaskSuite "AEGP Layer Mask Suite"
#define kAEGPMaskSuiteVersion5 6

typedef struct {
    A_Err(SPAPI* AEGP_GetLayerNumMasks)(AEGP_LayerH aegp_layerH, A_long* num_masksPL);
    // The ref must be released with AEGP_DisposeMask, even after AEGP_DeleteMaskFromLayer.
    A_Err(SPAPI* AEGP_GetLayerMaskByIndex)(AEGP_LayerH aegp_layerH, AEGP_MaskIndex mask_indexL,
                                           AEGP_MaskRefH* maskPH);
    A_Err(SPAPI* AEGP_DisposeMask)(AEGP_MaskRefH mask_refH);
    AEGP_UndeclaredFunc AEGP_GetMaskInvert;
    AEGP_UndeclaredFunc AEGP_SetMaskInvert;
    AEGP_UndeclaredFunc AEGP_GetMaskMode;
    AEGP_UndeclaredFunc AEGP_SetMaskMode;
    AEGP_UndeclaredFunc AEGP_GetMaskMotionBlurState;
    AEGP_UndeclaredFunc AEGP_SetMaskMotionBlurState;
    AEGP_UndeclaredFunc AEGP_GetMaskID;
    // A new mask on the layer, with zero vertices; the ref is released with AEGP_DisposeMask.
    A_Err(SPAPI* AEGP_CreateNewMask)(AEGP_LayerH layerH, AEGP_MaskRefH* mask_refPH,
                                     A_long* mask_indexPL0);
    A_Err(SPAPI* AEGP_DeleteMaskFromLayer)(AEGP_MaskRefH mask_refH);
    AEGP_UndeclaredFunc AEGP_GetMaskColor;
    AEGP_UndeclaredFunc AEGP_SetMaskColor;
    AEGP_UndeclaredFunc AEGP_GetMaskLockState;
    AEGP_UndeclaredFunc AEGP_SetMaskLockState;
    AEGP_UndeclaredFunc AEGP_GetMaskIsRotoBezier;
    AEGP_UndeclaredFunc AEGP_SetMaskIsRotoBezier;
    AEGP_UndeclaredFunc AEGP_DuplicateMask;
} AEGP_MaskSuite5;

/* ---- Mask Outline Suite ---- */

#define kAEGPMaskOutlineSuite "AEGP Mask Outline Suite"
#define kAEGPMaskOutlineSuiteVersion2 3

// N segments have vertices 0..N; on a closed outline vertex N repeats vertex 0.
typedef struct {
    A_Err(SPAPI* AEGP_IsMaskOutlineOpen)(AEGP_MaskOutlineValH mask_outlineH, A_Boolean* openPB);
    A_Err(SPAPI* AEGP_SetMaskOutlineOpen)(AEGP_MaskOutlineValH mask_outlineH, A_Boolean openB);
    A_Err(SPAPI* AEGP_GetMaskOutlineNumSegments)(AEGP_MaskOutlineValH mask_outlineH,
                                                 A_long* num_segmentsPL);
    A_Err(SPAPI* AEGP_GetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH mask_outlineH,
                                                AEGP_VertexIndex which_pointL,
                                                AEGP_MaskVertex* vertexP);
    // Setting vertex 0 also sets the last vertex's out-tangent from vertex 0's in-tangent.
    A_Err(SPAPI* AEGP_SetMaskOutlineVertexInfo)(AEGP_MaskOutlineValH mask_outlineH,
                                                AEGP_VertexIndex which_pointL,
                                                const AEGP_MaskVertex* vertexP);
    // Inserts a vertex at the index; the vertices from there on move up by one.
    A_Err(SPAPI* AEGP_CreateVertex)(AEGP_MaskOutlineValH mask_outlineH,
                                    AEGP_VertexIndex insert_position);
    AEGP_UndeclaredFunc AEGP_DeleteVertex;
} AEGP_MaskOutlineSuite2;

/* ---- Stream Suite ---- */

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion4 9

// Streams and values obtained through GetNew* are disposed by the caller.
typedef struct {
    AEGP_UndeclaredFunc AEGP_IsStreamLegal;
    AEGP_UndeclaredFunc AEGP_CanVaryOverTime;
    AEGP_UndeclaredFunc AEGP_GetValidInterpolations;
    A_Err(SPAPI* AEGP_GetNewLayerStream)(AEGP_PluginID aegp_plugin_id, AEGP_LayerH layerH,
                                         AEGP_LayerStream which_stream, AEGP_StreamRefH* streamPH);
    AEGP_UndeclaredFunc AEGP_GetEffectNumParamStreams;
    AEGP_UndeclaredFunc AEGP_GetNewEffectStreamByIndex;
    A_Err(SPAPI* AEGP_GetNewMaskStream)(AEGP_PluginID aegp_plugin_id, AEGP_MaskRefH mask_refH,
                                        AEGP_MaskStream which_stream,
                                        AEGP_StreamRefH* mask_streamPH);
    A_Err(SPAPI* AEGP_DisposeStream)(AEGP_StreamRefH streamH);
    AEGP_UndeclaredFunc AEGP_GetStreamName;
    AEGP_UndeclaredFunc AEGP_GetStreamUnitsText;
    AEGP_UndeclaredFunc AEGP_GetStreamProperties;
    AEGP_UndeclaredFunc AEGP_IsStreamTimevarying;
    AEGP_UndeclaredFunc AEGP_GetStreamType;
    A_Err(SPAPI* AEGP_GetNewStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                         AEGP_LTimeMode time_mode, const A_Time* timePT,
                                         A_Boolean pre_expressionB, AEGP_StreamValue2* valueP);
    A_Err(SPAPI* AEGP_DisposeStreamValue)(AEGP_StreamValue2* valueP);
    // Only legal on streams without keyframes.
    A_Err(SPAPI* AEGP_SetStreamValue)(AEGP_PluginID aegp_plugin_id, AEGP_StreamRefH streamH,
                                      AEGP_StreamValue2* valueP);
    AEGP_UndeclaredFunc AEGP_GetLayerStreamValue;
    AEGP_UndeclaredFunc AEGP_GetExpressionState;
    AEGP_UndeclaredFunc AEGP_SetExpressionState;
    AEGP_UndeclaredFunc AEGP_GetExpression;
    AEGP_UndeclaredFunc AEGP_SetExpression;
    AEGP_UndeclaredFunc AEGP_DuplicateStreamRef;
} AEGP_StreamSuite4;

/* ---- Keyframe Suite ---- */

#define kAEGPKeyframeSuite "AEGP Keyframe Suite"
#define kAEGPKeyframeSuiteVersion4 4

typedef struct {
    A_Err(SPAPI* AEGP_GetStreamNumKFs)(AEGP_StreamRefH streamH, A_long* num_kfsPL);
    A_Err(SPAPI* AEGP_GetKeyframeTime)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                       AEGP_LTimeMode time_mode, A_Time* timePT);
    A_Err(SPAPI* AEGP_InsertKeyframe)(AEGP_StreamRefH streamH, AEGP_LTimeMode time_mode,
                                      const A_Time* timePT, AEGP_KeyframeIndex* key_indexP);
    AEGP_UndeclaredFunc AEGP_DeleteKeyframe;
    AEGP_UndeclaredFunc AEGP_GetNewKeyframeValue;
    // The value is not adopted; the caller still disposes it.
    A_Err(SPAPI* AEGP_SetKeyframeValue)(AEGP_StreamRefH streamH, AEGP_KeyframeIndex key_index,
                                        const AEGP_StreamValue2* valueP);
    AEGP_UndeclaredFunc AEGP_GetStreamValueDimensionality;
    AEGP_UndeclaredFunc AEGP_GetStreamTemporalDimensionality;
    AEGP_UndeclaredFunc AEGP_GetNewKeyframeSpatialTangents;
    AEGP_UndeclaredFunc AEGP_SetKeyframeSpatialTangents;
    AEGP_UndeclaredFunc AEGP_GetKeyframeTemporalEase;
    AEGP_UndeclaredFunc AEGP_SetKeyframeTemporalEase;
    AEGP_UndeclaredFunc AEGP_GetKeyframeFlags;
    AEGP_UndeclaredFunc AEGP_SetKeyframeFlag;
    // Both out-pointers are optional.
    A_Err(SPAPI* AEGP_GetKeyframeInterpolation)(AEGP_StreamRefH streamH,
                                                AEGP_KeyframeIndex key_index,
                                                AEGP_KeyframeInterpolationType* in_interpP0,
                                                AEGP_KeyframeInterpolationType* out_interpP0);
    A_Err(SPAPI* AEGP_SetKeyframeInterpolation)(AEGP_StreamRefH streamH,
                                                AEGP_KeyframeIndex key_index,
                                                AEGP_KeyframeInterpolationType in_interp,
                                                AEGP_KeyframeInterpolationType out_interp);
    AEGP_UndeclaredFunc AEGP_StartAddKeyframes;
    AEGP_UndeclaredFunc AEGP_AddKeyframes;
    AEGP_UndeclaredFunc AEGP_SetAddKeyframe;
    AEGP_UndeclaredFunc AEGP_EndAddKeyframes;
} AEGP_KeyframeSuite4;

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif  // ZENTRIM_SDK_AE_GENERALPLUGSUITES_LAYER_H
