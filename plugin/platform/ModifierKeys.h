// Reading the modifier keys the command's modes are chosen by.
#pragma once

namespace cropUtil {

// Shift, and the Command key on macOS (Ctrl on Windows).
void ReadModifierKeys(bool* shiftDown, bool* commandDown);

}  // namespace cropUtil
