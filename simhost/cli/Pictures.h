// Pictures of compositions before and after a command, for people to look at.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "Host.h"

namespace sim {

// The file names of the pictures of one folder: one base name per composition, made of the
// characters of its name that are safe in a file name, with "-2", "-3", ... added when another
// composition's name (compared without case, so that they stay apart on every file system)
// already gave that base.
class PictureNames {
  public:
    std::string base(Id comp, const std::string& name);

  private:
    std::map<Id, std::string> bases_;
    std::set<std::string> used_;  // lower case
};

// Renders a composition at `time` (its current time when omitted) to an 8-bit PNG; with
// `checkerboard` the transparent parts show a grey checkerboard so that the frame's extent is
// visible.
void writeCompPicture(const Project& project, Id comp, const std::string& path, bool checkerboard);
void writeCompPicture(const Project& project, Id comp, Rational time, const std::string& path,
                      bool checkerboard);

// For every resized composition and every composition using one: <dir>/<base>-before.png and
// <dir>/<base>-after.png. Returns the names of the files written, relative to `dir`.
std::vector<std::string> writeChangedPictures(const Project& before, const Project& after,
                                              const std::vector<ResizeRecord>& resized,
                                              const std::string& dir, PictureNames& names);

// Refuses (BadInput) a picture destination in `dir` that exists and is not a regular file, for
// the pictures any composition of `project` could get; checked before the command runs.
void checkPictureDestinations(const Project& project, const std::string& dir);

}  // namespace sim
