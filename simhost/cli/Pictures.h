// Pictures of compositions before and after a command, for people to look at.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "Host.h"

namespace sim {

// The file names of the pictures of one folder: one base name per composition (and per view of
// it, such as "itself"), made of its name with letters and digits of any script kept, every other
// character written as "_", and long names shortened to fit any file system (a picture's name
// stays well below 255 bytes); "-2", "-3", ... are added when another composition's name
// (compared without case, so that they stay apart on every file system) already gave that base.
// Made for a whole project, every base is known before anything is written.
class PictureNames {
  public:
    PictureNames() = default;
    // Every composition of the project, and its view as itself, gets its base now, in project
    // order.
    explicit PictureNames(const Project& project);
    std::string base(Id comp, const std::string& name, const std::string& view = "");
    // The composition name whose picture (<base>-before.png, -after.png, -diff-<time>.png,
    // -cut-<time>.png) a file of this name would be; "" when none.
    std::string pictureOwner(const std::string& fileName) const;

  private:
    std::map<std::pair<Id, std::string>, std::string> bases_;
    std::map<std::string, std::string> owners_;  // lower-case base -> composition name
};

// A composition name as a file name: letters and digits of any script, "-" and "_" kept, every
// other character one "_", at most `maxBytes` bytes (whole characters). Never empty.
std::string pictureSafeName(const std::string& name, size_t maxBytes = 120);

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
// the before and after pictures any composition of `project` could get; checked before the
// command runs.
void checkPictureDestinations(const PictureNames& names, const Project& project,
                              const std::string& dir);

}  // namespace sim
