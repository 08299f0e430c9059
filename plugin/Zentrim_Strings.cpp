// The plug-in's string table.
#include "Zentrim_Strings.h"

const TableString g_strs[StrID_NUMTYPES] = {
    {StrID_NONE, ""},
    {StrID_Name, "Zentrim"},
    {StrID_Duration, "Zentrim Duration"},
    {StrID_MultipleLayers, "Multiple layers not allowed"},
    {StrID_Preferences, "Zentrim Preferences"},
    {StrID_MaskCrop, "Mask Crop"},
    {StrID_Description, "Invoke Text Twiddler"},
    {StrID_GenericError, "Zentrim: Problems encountered during twiddling."},
    {StrID_PrefSection, "Zentrim"},
    {StrID_PrefPadding, "Padding"},
    {StrID_PrefPaddingAmount, "PaddingAmount"},
    {StrID_PrefDeleteMask, "DeleteMask"},
    {StrID_PrefIncludeMasks, "IncludeMasks"},
    {StrID_PrefExpand, "Expand"},
    {StrID_PrefExpandAmount, "ExpandAmount"},
    {StrID_PrefResolution, "Resolution"},
    {StrID_PrefThreeD, "ThreeD"},
    {StrID_PrefPanelRun, "Panel_Run"},
    {StrID_PrefMenuCmd, "Menu_Cmd"},
    {StrID_Reserved19, ""},
    {StrID_Reserved20, ""},
    {StrID_NullName, "Zentrim Null"},
};

const char* GetStringPtr(int index) {
    return g_strs[index].str;
}
