// The plug-in's string table: menu names, undo-group names and the preference section and keys.
#pragma once

typedef enum {
    StrID_NONE = 0,
    StrID_Name,               // "Zentrim": standard menu name and undo group
    StrID_Duration,           // "Zentrim Duration"
    StrID_MultipleLayers,     // "Multiple layers not allowed"
    StrID_Preferences,        // "Zentrim Preferences"
    StrID_MaskCrop,           // "Mask Crop"
    StrID_Description,        // unused row kept for the table's numbering
    StrID_GenericError,       // entry-point failure report
    StrID_PrefSection,        // "Zentrim"
    StrID_PrefPadding,        // "Padding"
    StrID_PrefPaddingAmount,  // "PaddingAmount"
    StrID_PrefDeleteMask,     // "DeleteMask"
    StrID_PrefIncludeMasks,   // "IncludeMasks"
    StrID_PrefExpand,         // "Expand"
    StrID_PrefExpandAmount,   // "ExpandAmount"
    StrID_PrefResolution,     // "Resolution"
    StrID_PrefThreeD,         // "ThreeD"
    StrID_PrefPanelRun,       // "Panel_Run"
    StrID_PrefMenuCmd,        // "Menu_Cmd"
    StrID_Reserved19,
    StrID_Reserved20,
    StrID_NullName,  // "Zentrim Null"
    StrID_NUMTYPES
} StrIDType;

typedef struct {
    unsigned long index;
    char str[256];
} TableString;

extern const TableString g_strs[StrID_NUMTYPES];

// The text of row `index`; callers pass only the table's indices.
const char* GetStringPtr(int index);
