// Utilities of the crop engine: text functions, host scripts, selection, 3D handling and the layer
// geometry the crop applies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

namespace cropUtil {

// ---- Text ----

// Formats into `buffer`, writing at most `size` bytes including the terminator. Returns 0 when the
// whole text fit, A_Err_PARAMETER when it had to be cut short (the buffer is still terminated) or
// the arguments are unusable.
A_Err SprintOS(char* buffer, int size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Converts a wide literal to UTF-16 with a terminating 0: `out` must hold wcslen(in) + 1 units.
// Characters outside the Basic Multilingual Plane become U+FFFD so the output never exceeds that.
void copyConvertStringLiteralIntoUTF16(const wchar_t* in, A_UTF16Char* out);

// A host text (UTF-16, terminated) as the inside of a quoted script string: UTF-8, with quotes,
// backslashes, control characters and line separators escaped, so that a name can never end the
// string or the script line. A lone surrogate becomes U+FFFD.
std::string ScriptStringFromUTF16(const A_UTF16Char* text);

// ---- Host scripts ----

// Runs a script that only shows something (an alert); its error, if any, is returned.
A_Err RunAlertScript(SPBasicSuite* basic, AEGP_PluginID pluginId, const char* script);

// Runs a dialog script and copies the start of its result text (UTF-8) into `answer`, always
// terminated. The result handle is released on every path. When the script fails, its error is
// returned and `answer` is left empty.
A_Err RunDialogScript(SPBasicSuite* basic, AEGP_PluginID pluginId, const char* script, char* answer,
                      size_t answerSize);

// Readers of a dialog's answer text.
// A digit answer: the first character's value minus '0' ("1" gives 1); -1 for an empty text.
int DigitAnswer(const char* text);
// A boolean answer: true when the text starts with 't' (the script's last value was true).
bool BooleanAnswer(const char* text);
// A decimal integer answer ("-1", "2"); text that is no number reads as 0.
long IntegerAnswer(const char* text);

// ---- Layer geometry ----

// Sets a layer's Position at one composition time; keyframes are not handled (the stream's single
// value is written).
A_Err SetLayerPosition(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_LayerH layer, A_Time time,
                       const AEGP_ThreeDVal& position);

// ---- Project walk ----

// Appends every layer, in every composition of the project, whose source is `item`.
A_Err FindAllCompUses(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH item,
                      std::vector<AEGP_LayerH>* uses);

// ---- Selection ----

// The active item, its composition, and a new collection of that composition's selection (the
// caller disposes of it). The count stays as the caller set it when there is no composition.
A_Err GetSelectedLayers(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                        AEGP_CompH* compP, AEGP_Collection2H* collectionP, A_u_long* countP);
// Leaves only the layers whose source is a composition, in their order; rewrites the count.
A_Err RemoveNonPrecomps(SPBasicSuite* basic, AEGP_Collection2H* collectionP, A_u_long* countP);
// The kind of a collection item (layer, mask, ...). Only the type's low byte is compared: the
// host's type is one byte wide on some platforms, and the rest of the word is then undefined.
A_long CollectionItemKind(const AEGP_CollectionItemV2& item);
// Whether a layer shows a composition. Host errors make the answer false.
bool LayerIsPrecomp(SPBasicSuite* basic, AEGP_LayerH layer);

// Turns the mode flags' menu command on or off.
A_Err EnableDisableMenu(SPBasicSuite* basic, int command, bool enable);

// ---- Numbers and times ----

// floor(v) as a 32-bit integer; values beyond the range are clamped (and NaN gives 0) instead of
// being converted with undefined behaviour.
int32_t FloorToInt32(double v);
// Compares two times as rationals, whatever their scales: -1, 0 or 1.
int CompareTimes(const A_Time& a, const A_Time& b);
// a + b: in their scale when the scales agree, else in the product of the scales, halved until the
// value and scale fit the host's types.
A_Time AddTimes(const A_Time& a, const A_Time& b);
// Seconds as a time the host can be handed, in a scale that holds a thousandth of a frame of the
// given length (at least), rounded to the nearest step of that scale; the scale is halved while the
// value does not fit. Not-a-number and infinite seconds read as 0.
A_Time SecondsToTime(double seconds, const A_Time& frame);

// ---- 3D layers ----

extern A_long threeDPref;  // 0 ask, 1 pre-compose, other: leave as it is
extern A_Boolean
    checkPrefsThreeD;  // set: load threeDPref from the preference at the next 3D composition

// Sets *flagP for a 3D layer (a camera counts when its video switch is on).
A_Err LayerIsThreeD(SPBasicSuite* basic, AEGP_LayerH layer, A_Boolean* flagP);
// When the composition holds a 3D layer: asks or follows the preference, and may pre-compose.
A_Err ThreeDInItem(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_ItemH* itemP,
                   A_Boolean* checkPrefsP);
// ThreeDInItem for the source of every layer of a collection.
A_Err CheckForThreeD(SPBasicSuite* basic, AEGP_PluginID pluginId, AEGP_Collection2H collection,
                     A_u_long count, A_Boolean* checkPrefsP);
// Moves the composition's contents into a duplicate nested in it as its only layer; the
// composition is renamed with the suffix " - Zentrim PreComp", the duplicate takes its name.
A_Err PreCompose(AEGP_PluginID pluginId, SPBasicSuite* basic, AEGP_CompH comp, A_u_long numLayers);

// ---- Preferences ----

// A one-byte flag of the "Zentrim" section; an absent key reads as false.
A_Err ReadPrefFlag(SPBasicSuite* basic, const char* key, A_Boolean* valueP);
// A long of the "Zentrim" section with its default.
A_Err ReadPrefLong(SPBasicSuite* basic, const char* key, A_long fallback, A_long* valueP);
// The padding the crops add on every side: "PaddingAmount" when "Padding" is set (read only then),
// else 0; a negative amount counts as 0.
A_Err ReadPadding(SPBasicSuite* basic, A_long* paddingP);

}  // namespace cropUtil
