// Utilities of the crop engine: text functions, host scripts, selection, 3D handling and the layer
// geometry the crop applies.
#pragma once

#include <cstddef>
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

}  // namespace cropUtil
