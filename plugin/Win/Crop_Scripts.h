// The script texts the crop engine hands to the host: its alerts and its dialogs.
#pragma once

namespace crop {

extern const char* const kNoLayersToCropAlert;
extern const char* const kNothingToCropAlert;
// Format text: "%s" takes the skipped-layer list ("2,7": 0-based layer indices).
extern const char* const kSkippedLayersReportFormat;
// Format text: "%s" takes the resolution name ("half", "third", "quarter", "less than quarter").
extern const char* const kLowResolutionDialogFormat;
extern const char* const kThreeDDialog;
// Format text: the composition's name (escaped for a quoted script string), then the width and
// the height the crop would give it.
extern const char* const kSizeOutOfRangeAlertFormat;
// The same, said when the command had already changed the project before this crop.
extern const char* const kSizeOutOfRangeAfterChangesAlertFormat;
extern const char* const kChooseMaskDialog;

}  // namespace crop
