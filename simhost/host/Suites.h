// Registration of the simulator's suite tables, and helpers shared by the suite files.
#pragma once

#include <string>

#include "Host.h"

namespace sim {

void registerAppSuites(Host& host);      // Command, Register, Utility
void registerDataSuites(Host& host);     // Persistent Data, Memory
void registerProjectSuites(Host& host);  // Item, Proj, Comp, Collection
void registerLayerSuites(Host& host);    // Layer, Mask, Mask Outline, Stream, Keyframe
void registerRenderSuites(Host& host);   // Render Options, Render, World

// A new memory handle holding a copy of `bytes` (the plug-in frees it with AEGP_FreeMemHandle).
AEGP_MemHandle newMemHandle(Host& h, const void* bytes, size_t size, const std::string& what);

// A_Time from an exact time and back; a time with scale 0 is refused.
A_Time toATime(Rational t, A_u_long scale);
Rational fromATime(const A_Time& t);

}  // namespace sim
