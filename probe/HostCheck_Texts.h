// The Host Check's own words: its names in the host, where its report goes, and what each outcome
// of a check means for the plug-in.
#pragma once

#include <string>

namespace hostcheck {

extern const char* const kName;            // the menu command, the undo step, alert titles
extern const char* const kVersion;         // the plug-in's version it checks for
extern const char* const kFolderName;      // the folder holding everything the checks make
extern const char* const kPrefSection;     // the preference section the checks write and remove
extern const char* const kReportFileName;  // in the user's Documents folder (else the temporary)

// What the outcome `matches` ("none" included) of the check `name` means for the plug-in.
std::string meaningOf(const std::string& name, const std::string& matches);
// What a check that could not run means.
extern const char* const kCouldNotRun;

}  // namespace hostcheck
