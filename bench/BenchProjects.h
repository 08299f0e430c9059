// Simulated projects the benchmarks run on, built in code so their size is a parameter.
#pragma once

#include <string>

#include "Model.h"

namespace bench {

// A 3840 x 2160, 30 fps, 10 s composition "Shot" (the active item, nothing selected) where five
// small solids move, turn and appear over time, so every frame's scan has margins to cross.
sim::Project durationProject(int bitsPerChannel);

// durationProject(8) with a full-frame solid over everything from frame 10 on: from then on no
// frame can widen the crop.
sim::Project coveredDurationProject();

// `comps` compositions of `layersPerComp` layers each, mostly solids. The first, "Cropped", is
// the composition being cropped; one layer in every (comps - 1) / uses of the others uses it, for
// `uses` uses in all. A quarter of the uses have a rectangular mask, another quarter a mask
// animated over three keyframes, and every fifth use a keyframed anchor point.
sim::Project usesProject(int comps, int layersPerComp, int uses);

// A 1920 x 1080 composition "Frame" of ten layers: a full-frame background, seven solids (moved,
// scaled, turned, one half transparent), a nested 1280 x 720 composition of three solids, and a
// solid under a curved mask.
sim::Project renderProject(int bitsPerChannel);

// A small composition "Tiny" (64 x 36) at 100 fps lasting frames / 100 seconds, the active item,
// where a solid crosses from corner to corner: a long crop over the duration with little to draw.
sim::Project longDurationProject(int frames);

// `items` items in all: "Main" (1920 x 1080) showing the precomposition "Logo" (a solid off its
// centre), and the rest folders of solids and, one item in ten, compositions of two solid layers:
// a project whose walk is long and whose crop is small.
sim::Project manyItemsProject(int items);

// A 1920 x 1080 composition "Crowd", the active item with nothing selected, of `layers` small
// solids spread over its middle: a standard crop whose carrying of the layers (a parent for each,
// then the parent deleted) is the host's work per layer.
sim::Project manyLayersProject(int layers);

// The id of the item with this name; throws std::runtime_error when there is none.
sim::Id itemId(const sim::Project& project, const std::string& name);

}  // namespace bench
