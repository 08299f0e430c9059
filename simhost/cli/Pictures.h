// Pictures of compositions before and after a command, for people to look at.
#pragma once

#include <string>
#include <vector>

#include "Host.h"

namespace sim {

// Renders a composition at its current time to an 8-bit PNG; with `checkerboard` the transparent
// parts show a grey checkerboard so that the frame's extent is visible.
void writeCompPicture(const Project& project, Id comp, const std::string& path, bool checkerboard);

// For every resized composition and every composition using one: <dir>/<name>-before.png and
// <dir>/<name>-after.png. Returns the files written.
std::vector<std::string> writeChangedPictures(const Project& before, const Project& after,
                                              const std::vector<ResizeRecord>& resized,
                                              const std::string& dir);

}  // namespace sim
