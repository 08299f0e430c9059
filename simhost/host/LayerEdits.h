// The host's edits of a composition's layers, shared by the suites that add or remove layers.
#pragma once

#include <string>

#include "AE_GeneralPlug.h"
#include "Model.h"

namespace sim {

// Each edit throws HostError when the host would refuse it.

// Whether adding the item to the composition is allowed (not a folder, not a comp into itself
// or into a comp it contains).
bool canAddLayer(const Project& project, const Item& item, const Item& intoComp,
                 std::string* why = nullptr);
// Adds the item as the top layer, placed as the host places it; returns the new layer's id.
Id addLayer(Project& project, const Item& item, Item& intoComp);
void reorderLayer(Item& comp, Id layerId, A_long index);
void setLayerParent(Project& project, Id layerId, Id parentId);
// Removes a layer. Its children keep appearing where they were: its own transform is folded
// into each child's position, rotation and scale (keyframes at their times, static values at
// the composition's current time), and they take its parent (none when it had none).
void deleteLayer(Project& project, Id layerId);

}  // namespace sim
