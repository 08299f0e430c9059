// What a command changed in a project, value by value, for people (zentrim-host run --diff).
// The exact comparison declared in Model.h walks the project the same way.
#pragma once

#include <string>
#include <vector>

#include "Model.h"

namespace sim {

// One changed value: where it is ("comp \"Logo\"", "layer \"Logo\" in \"Main\""), what it is
// ("size", "anchor point", "position keyframe 1 at 1/2 s", "mask \"Outer\" vertex 0") and its
// text before and after; or a thing that was added (its text after, if any) or removed.
struct ValueChange {
    enum Kind { Changed, Added, Removed } kind = Changed;
    std::string where, what, before, after;
};

// The changes from `before` to `after`: items, layers and masks are matched by id; for each,
// names, composition sizes, layers' anchor points, positions, scales, rotations and parents
// (static values and keyframes), and mask vertices and tangents, plus whatever was added or
// removed. In the order of `after`, then what was removed.
std::vector<ValueChange> diffProjects(const Project& before, const Project& after);

// "comp \"Logo\": size: 1920x1080 -> 360x382"
std::string describeChange(const ValueChange& change);

}  // namespace sim
