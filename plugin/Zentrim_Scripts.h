// The script texts the shell hands to the host: the preferences dialog and the panel's alerts.
#pragma once

// The preferences dialog; it also defines the script function ZENTRIM_openPanelPrefs, which opens
// the panel-preferences dialog.
extern const char* const kPreferencesDialog;
// A panel request without the command number.
extern const char* const kPanelRequestFailedAlert;
// A panel request the selection does not allow.
extern const char* const kInvalidSelectionAlert;
