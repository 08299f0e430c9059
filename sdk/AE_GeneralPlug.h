// General plug-in (AEGP) API: handles, enums, collection/stream structs, hooks and suite tables.
#ifndef ZENTRIM_SDK_AE_GENERALPLUG_H
#define ZENTRIM_SDK_AE_GENERALPLUG_H

#include "A.h"
#include "AE_Effect.h"
#include "SPBasic.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 8)

/* ---- Opaque handles (pointer-to-pointer to host-private structs) ---- */

typedef struct _AEGP_Project** AEGP_ProjectH;
typedef struct _AEGP_Item** AEGP_ItemH;
typedef struct _AEGP_Comp** AEGP_CompH;
typedef struct _AEGP_Layer** AEGP_LayerH;
typedef struct _AEGP_Mask** AEGP_MaskRefH;
typedef struct _AEGPp_Stream** AEGP_StreamRefH;
typedef struct _AEGP_PersistentBlob** AEGP_PersistentBlobH;
typedef struct _AEGP_MaskOutline** AEGP_MaskOutlineValH;
typedef struct _AEGP_Collection2** AEGP_Collection2H;
typedef struct _AEGP_World** AEGP_WorldH;
typedef struct _AEGP_RenderOptions** AEGP_RenderOptionsH;
typedef struct _AEGP_FrameReceipt** AEGP_FrameReceiptH;
typedef struct _AEGP_TextDocument** AEGP_TextDocumentH;
typedef struct _AEGP_MarkerVal* AEGP_MarkerValP;

/* ---- Refcons: plug-in data passed back unchanged to hooks ---- */

typedef struct _AEGP_GlobalRefcon* AEGP_GlobalRefcon;
typedef struct _AEGP_CommandRefcon* AEGP_CommandRefcon;
typedef struct _AEGP_UpdateMenuRefcon* AEGP_UpdateMenuRefcon;
typedef struct _AEGP_IdleRefcon* AEGP_IdleRefcon;
typedef struct _AEGP_DeathRefcon* AEGP_DeathRefcon;
typedef struct _AEGP_CancelRefcon* AEGP_CancelRefcon;

/* ---- Index and id types ---- */

typedef A_long AEGP_PluginID;
typedef A_long AEGP_Index;
typedef A_long AEGP_MaskIndex;
typedef A_long AEGP_VertexIndex;
typedef A_long AEGP_KeyframeIndex;
typedef A_long AEGP_EffectIndex;
typedef A_long AEGP_LayerIDVal;
typedef A_long AEGP_MaskIDVal;
typedef A_Handle AEGP_ArbBlockVal;

#define AEGP_VertexIndex_END 10922

/* ---- Enumerations (typedef of the host's integer width, then the values) ---- */

typedef A_short AEGP_ItemType;
enum {
    AEGP_ItemType_NONE = 0,
    AEGP_ItemType_FOLDER = 1,
    AEGP_ItemType_COMP = 2,
    AEGP_ItemType_SOLID_defunct = 3,
    AEGP_ItemType_FOOTAGE = 4,
    AEGP_ItemType_NUM_TYPES1 = 5
};

typedef A_long AEGP_ObjectType;
enum {
    AEGP_ObjectType_NONE = -1,
    AEGP_ObjectType_AV = 0,
    AEGP_ObjectType_LIGHT = 1,
    AEGP_ObjectType_CAMERA = 2,
    AEGP_ObjectType_TEXT = 3,
    AEGP_ObjectType_VECTOR = 4,
    AEGP_ObjectType_RESERVED1 = 5,
    AEGP_ObjectType_RESERVED2 = 6,
    AEGP_ObjectType_RESERVED3 = 7,
    AEGP_ObjectType_RESERVED4 = 8,
    AEGP_ObjectType_RESERVED5 = 9,
    AEGP_ObjectType_NUM_TYPES = 10
};

typedef A_short AEGP_LTimeMode;
enum { AEGP_LTimeMode_LayerTime = 0, AEGP_LTimeMode_CompTime = 1 };

typedef A_long AEGP_LayerFlags;
enum {
    AEGP_LayerFlag_NONE = 0x00000000,
    AEGP_LayerFlag_VIDEO_ACTIVE = 0x00000001,
    AEGP_LayerFlag_AUDIO_ACTIVE = 0x00000002,
    AEGP_LayerFlag_EFFECTS_ACTIVE = 0x00000004,
    AEGP_LayerFlag_MOTION_BLUR = 0x00000008,
    AEGP_LayerFlag_FRAME_BLENDING = 0x00000010,
    AEGP_LayerFlag_LOCKED = 0x00000020,
    AEGP_LayerFlag_SHY = 0x00000040,
    AEGP_LayerFlag_COLLAPSE = 0x00000080,
    AEGP_LayerFlag_AUTO_ORIENT_ROTATION = 0x00000100,
    AEGP_LayerFlag_ADJUSTMENT_LAYER = 0x00000200,
    AEGP_LayerFlag_TIME_REMAPPING = 0x00000400,
    AEGP_LayerFlag_LAYER_IS_3D = 0x00000800,
    AEGP_LayerFlag_LOOK_AT_CAMERA = 0x00001000,
    AEGP_LayerFlag_LOOK_AT_POI = 0x00002000,
    AEGP_LayerFlag_SOLO = 0x00004000,
    AEGP_LayerFlag_MARKERS_LOCKED = 0x00008000,
    AEGP_LayerFlag_NULL_LAYER = 0x00010000,
    AEGP_LayerFlag_HIDE_LOCKED_MASKS = 0x00020000,
    AEGP_LayerFlag_GUIDE_LAYER = 0x00040000,
    AEGP_LayerFlag_ADVANCED_FRAME_BLENDING = 0x00080000,
    AEGP_LayerFlag_SUBLAYERS_RENDER_SEPARATELY = 0x00100000,
    AEGP_LayerFlag_ENVIRONMENT_LAYER = 0x00200000
};

typedef A_long AEGP_KeyframeInterpolationType;
enum {
    AEGP_KeyInterp_NONE = 0,
    AEGP_KeyInterp_LINEAR = 1,
    AEGP_KeyInterp_BEZIER = 2,
    AEGP_KeyInterp_HOLD = 3,
    AEGP_Interp_NUM_VALUES = 4
};

// Only the layer streams whose values we rely on; the host appends new ones, never renumbers.
typedef A_long AEGP_LayerStream;
enum {
    AEGP_LayerStream_NONE = -1,
    AEGP_LayerStream_ANCHORPOINT = 0,
    AEGP_LayerStream_POSITION = 1,
    AEGP_LayerStream_SCALE = 2,
    AEGP_LayerStream_ROTATION = 3,
    AEGP_LayerStream_ROTATE_Z = AEGP_LayerStream_ROTATION,
    AEGP_LayerStream_OPACITY = 4,
    AEGP_LayerStream_AUDIO = 5,
    AEGP_LayerStream_MARKER = 6,
    AEGP_LayerStream_TIME_REMAP = 7,
    AEGP_LayerStream_ROTATE_X = 8,
    AEGP_LayerStream_ROTATE_Y = 9,
    AEGP_LayerStream_ORIENTATION = 10
};

typedef A_long AEGP_MaskStream;
enum {
    AEGP_MaskStream_OUTLINE = 400,
    AEGP_MaskStream_OPACITY = 401,
    AEGP_MaskStream_FEATHER = 402,
    AEGP_MaskStream_EXPANSION = 403
};

typedef A_LegacyEnumType AEGP_CollectionItemType;
enum {
    AEGP_CollectionItemType_NONE = 0,
    AEGP_CollectionItemType_LAYER = 1,
    AEGP_CollectionItemType_MASK = 2,
    AEGP_CollectionItemType_EFFECT = 3,
    AEGP_CollectionItemType_STREAM = 4,
    AEGP_CollectionItemType_KEYFRAME = 5,
    AEGP_CollectionItemType_MASK_VERTEX = 6,
    AEGP_CollectionItemType_STREAMREF = 7,  // the item's union is unused for this type
    AEGP_CollectionItemType_END = 8
};

typedef A_long AEGP_StreamCollectionItemType;
enum {
    AEGP_StreamCollectionItemType_NONE = 0,
    AEGP_StreamCollectionItemType_LAYER = 1,
    AEGP_StreamCollectionItemType_MASK = 2,
    AEGP_StreamCollectionItemType_EFFECT = 3,
    AEGP_StreamCollectionItemType_END = 4
};

typedef A_long AEGP_WorldType;
enum {
    AEGP_WorldType_NONE = 0,
    AEGP_WorldType_8 = 1,
    AEGP_WorldType_16 = 2,
    AEGP_WorldType_32 = 3
};

typedef A_LegacyEnumType AEGP_MenuID;
enum {
    AEGP_Menu_NONE = 0,
    AEGP_Menu_APPLE = 1,
    AEGP_Menu_FILE = 2,
    AEGP_Menu_EDIT = 3,
    AEGP_Menu_COMPOSITION = 4,
    AEGP_Menu_LAYER = 5,
    AEGP_Menu_EFFECT = 6,
    AEGP_Menu_WINDOW = 7,
    AEGP_Menu_FLOATERS = 8,
    AEGP_Menu_KF_ASSIST = 9,
    AEGP_Menu_IMPORT = 10,
    AEGP_Menu_SAVE_FRAME_AS = 11,
    AEGP_Menu_PREFS = 12,
    AEGP_Menu_EXPORT = 13,
    AEGP_Menu_ANIMATION = 14,
    AEGP_Menu_PURGE = 15,
    AEGP_Menu_NEW = 16
};

// Positions for InsertMenuCommand's after_itemL.
#define AEGP_MENU_INSERT_SORTED (-2)
#define AEGP_MENU_INSERT_AT_BOTTOM (-1)
#define AEGP_MENU_INSERT_AT_TOP 0

typedef A_LegacyEnumType AEGP_WindowType;
enum {
    AEGP_WindType_NONE = 0,
    AEGP_WindType_PROJECT = 1,
    AEGP_WindType_COMP = 2,
    AEGP_WindType_TIME_LAYOUT = 3,
    AEGP_WindType_LAYER = 4,
    AEGP_WindType_FOOTAGE = 5,
    AEGP_WindType_RENDER_QUEUE = 6,
    AEGP_WindType_QT = 7,
    AEGP_WindType_DIALOG = 8,
    AEGP_WindType_FLOWCHART = 9,
    AEGP_WindType_EFFECT = 10,
    AEGP_WindType_OTHER = 11
};

typedef A_u_long AEGP_HookPriority;
enum { AEGP_HP_BeforeAE = 0x1, AEGP_HP_AfterAE = 0x2 };

typedef A_long AEGP_Command;
#define AEGP_Command_ALL 0

typedef A_long AEGP_MemFlag;
enum { AEGP_MemFlag_NONE = 0x0, AEGP_MemFlag_CLEAR = 0x1, AEGP_MemFlag_QUIET = 0x2 };
typedef A_u_long AEGP_MemSize;

#define AEGP_REORDER_LAYER_TO_END (-1)
#define AEGP_MAX_ITEM_NAME_SIZE 32

// The four-char code 'AEgx', written numerically to avoid multi-character constant warnings.
#define AEGP_PLUGIN_TYPE 0x41456778
#define AEGP_INITFUNC_MAJOR_VERSION 1
#define AEGP_INITFUNC_MINOR_VERSION 9

/* ---- Stream values ---- */

typedef struct {
    A_FpLong x, y, z;
} AEGP_ThreeDVal;

typedef struct {
    A_FpLong x, y;
} AEGP_TwoDVal;

typedef A_FpLong AEGP_OneDVal;
typedef A_FpLong AEGP_FourDVal[4];

typedef struct {
    A_FpLong alphaF, redF, greenF, blueF;
} AEGP_ColorVal;

typedef union {
    AEGP_FourDVal four_d;
    AEGP_ThreeDVal three_d;
    AEGP_TwoDVal two_d;
    AEGP_OneDVal one_d;
    AEGP_ColorVal color;
    AEGP_ArbBlockVal arbH;
    AEGP_MarkerValP markerP;
    AEGP_LayerIDVal layer_id;
    AEGP_MaskIDVal mask_id;
    AEGP_MaskOutlineValH mask;
    AEGP_TextDocumentH text_documentH;
} AEGP_StreamVal2;

typedef struct {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal2 val;
} AEGP_StreamValue2;

typedef PF_PathVertex AEGP_MaskVertex;

// A composition's preview resolution: 1 full, 2 half, ... on each axis.
typedef struct {
    A_short xS;
    A_short yS;
} AEGP_DownsampleFactor;

/* ---- Collection items ---- */

typedef struct {
    AEGP_LayerH layerH;
} AEGP_LayerCollectionItem;

typedef struct {
    AEGP_LayerH layerH;
    AEGP_MaskIndex index;
} AEGP_MaskCollectionItem;

typedef struct {
    AEGP_LayerH layerH;
    AEGP_EffectIndex index;
} AEGP_EffectCollectionItem;

typedef struct {
    AEGP_LayerH layerH;
    AEGP_LayerStream layer_stream;
} AEGP_LayerStreamCollectionItem;

typedef struct {
    AEGP_MaskCollectionItem mask_sel;
    AEGP_MaskStream mask_stream;
} AEGP_MaskStreamCollectionItem;

typedef struct {
    AEGP_EffectCollectionItem effect_sel;
    A_long param_index;
} AEGP_EffectStreamCollectionItem;

typedef struct {
    AEGP_StreamCollectionItemType type;
    union {
        AEGP_LayerStreamCollectionItem layer_stream;
        AEGP_MaskStreamCollectionItem mask_stream;
        AEGP_EffectStreamCollectionItem effect_stream;
    } u;
} AEGP_StreamCollectionItem;

typedef struct {
    AEGP_MaskCollectionItem mask_sel;
    AEGP_VertexIndex index;
} AEGP_MaskVertexCollectionItem;

typedef struct {
    AEGP_StreamCollectionItem stream_coll;
    AEGP_KeyframeIndex index;
} AEGP_KeyframeCollectionItem;

typedef struct {
    AEGP_CollectionItemType type;
    union {
        AEGP_LayerCollectionItem layer;
        AEGP_MaskCollectionItem mask;
        AEGP_EffectCollectionItem effect;
        AEGP_StreamCollectionItem stream;
        AEGP_MaskVertexCollectionItem mask_vertex;
        AEGP_KeyframeCollectionItem keyframe;
    } u;
    AEGP_StreamRefH stream_refH;
} AEGP_CollectionItemV2;

/* ---- Entry point and hooks ---- */

typedef A_Err(AEGP_PluginInitFuncPrototype)(struct SPBasicSuite* pica_basicP,
                                            A_long driver_major_versionL,
                                            A_long driver_minor_versionL,
                                            AEGP_PluginID aegp_plugin_id,
                                            AEGP_GlobalRefcon* plugin_refconP);
typedef AEGP_PluginInitFuncPrototype* AEGP_PluginInitFunc;

// hook_priority is currently always AEGP_HP_BeforeAE.
typedef A_Err (*AEGP_CommandHook)(AEGP_GlobalRefcon plugin_refconP, AEGP_CommandRefcon refconP,
                                  AEGP_Command command, AEGP_HookPriority hook_priority,
                                  A_Boolean already_handledB, A_Boolean* handledPB);

typedef A_Err (*AEGP_UpdateMenuHook)(AEGP_GlobalRefcon plugin_refconP,
                                     AEGP_UpdateMenuRefcon refconP, AEGP_WindowType active_window);

// max_sleepPL is in/out, in 1/60 s units.
typedef A_Err (*AEGP_IdleHook)(AEGP_GlobalRefcon plugin_refconP, AEGP_IdleRefcon refconP,
                               A_long* max_sleepPL);

typedef A_Err (*AEGP_DeathHook)(AEGP_GlobalRefcon plugin_refconP, AEGP_DeathRefcon refconP);

typedef A_Err (*AEGP_RenderSuiteCheckForCancel)(void* refcon, A_Boolean* cancelPB);

// Stand-in type for suite members whose parameters we have not confirmed. It keeps every slot
// pointer-sized so that the members after it sit at the host's offsets; never call through it.
typedef A_Err(SPAPI* AEGP_UndeclaredFunc)(void);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#include "AE_GeneralPlugSuites_App.h"
#include "AE_GeneralPlugSuites_Project.h"
#include "AE_GeneralPlugSuites_Layer.h"

#endif  // ZENTRIM_SDK_AE_GENERALPLUG_H
