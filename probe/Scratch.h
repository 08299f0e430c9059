// The scratch items the checks make in the Host Check's own folder, and reading and writing their
// values. Every function runs only while `steps` has no failure, and notes the first one; what it
// gives back is zero when it did not run.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Probe.h"

namespace hostcheck {

// A host name (UTF-16, terminated) from ASCII text.
std::vector<A_UTF16Char> hostName(const char* ascii);

// The scratch folder, at the project's root.
AEGP_ItemH makeFolder(const Probe& p, Steps& s, const char* name);
// A composition in the scratch folder: square pixels, 30 frames a second, four seconds.
AEGP_CompH makeComp(const Probe& p, Steps& s, const char* name, A_long width, A_long height);
// A layer showing `source` on top of `comp`: a use of it.
AEGP_LayerH addUse(const Probe& p, Steps& s, AEGP_CompH source, AEGP_CompH comp);
// A null on top of `comp`, made as the crop makes its own: no duration given.
AEGP_LayerH makeNull(const Probe& p, Steps& s, AEGP_CompH comp, const char* name);
void setParent(const Probe& p, Steps& s, AEGP_LayerH child, AEGP_LayerH parent);
void resizeComp(const Probe& p, Steps& s, AEGP_CompH comp, A_long width, A_long height);

// A layer's static value of a three-dimensional stream (anchor point, position, scale) or a
// one-dimensional one (rotation), at time 0.
AEGP_ThreeDVal readPoint(const Probe& p, Steps& s, AEGP_LayerH layer, AEGP_LayerStream which);
void writePoint(const Probe& p, Steps& s, AEGP_LayerH layer, AEGP_LayerStream which,
                const AEGP_ThreeDVal& value);
void writeNumber(const Probe& p, Steps& s, AEGP_LayerH layer, AEGP_LayerStream which, double value);

// A new closed mask on the layer with these vertices. When the host's new mask does not start
// empty the step fails, named after what was found.
void addMask(const Probe& p, Steps& s, AEGP_LayerH layer, const std::vector<AEGP_MaskVertex>& v);
// Runs `use` on the outline of the layer's mask `mask` as the host reads it now, without writing
// it back.
void withMaskOutline(const Probe& p, Steps& s, AEGP_LayerH layer, A_long mask,
                     const std::function<void(AEGP_MaskOutlineValH)>& use);
// Vertex `index` of that outline.
AEGP_MaskVertex readMaskVertex(const Probe& p, Steps& s, AEGP_LayerH layer, A_long mask,
                               AEGP_VertexIndex index);

// The ids of every item of the project, in the host's order.
std::vector<A_long> projectItems(const Probe& p, Steps& s);
// Deletes every item of the project that is not in `before`, the last first; gives the names of
// those that are still there afterwards. When the project cannot be read again, `s` says so and
// what is left is not known.
std::vector<std::string> removeItemsSince(const Probe& p, Steps& s,
                                          const std::vector<A_long>& before);

}  // namespace hostcheck
