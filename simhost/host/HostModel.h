// What the simulated host does where the host's documentation is silent: one choice per question,
// the most plausible one by default, each alternative playable per run (--host-model KEY=VALUE).
#pragma once

#include <string>
#include <vector>

namespace sim {

struct HostModel {
    // What resizing a composition does to the layers of other compositions that show it.
    enum class ResizeUses {
        Proportional,  // anchor x by new/old width, y and z by height; mask points likewise
        Unchanged,     // nothing
    };
    // What resizing a composition does to the positions of the children of its uses.
    enum class ResizeChildren {
        Unchanged,     // nothing
        Proportional,  // rescaled like the use's anchor point
    };
    // What writing vertex 0 of a mask outline does to the outline's last vertex.
    enum class Vertex0 {
        Independent,  // nothing: every vertex owns both its tangents
        Coupled,      // the last vertex's out-tangent is set from vertex 0's in-tangent
    };
    // The downsample factors AEGP_NewFromItem starts with.
    enum class RenderDownsample {
        Preview,  // the composition's preview resolution
        Full,     // full resolution (1, 1)
    };
    // A number a script saved with savePrefAsFloat, read back with AEGP_GetLong.
    enum class FloatAsLong {
        Truncate,  // truncated toward zero
        Zero,      // 0 (the entry is not a long)
    };
    // What AEGP_ExecuteScript returns for a script that throws.
    enum class ScriptError {
        Error,   // an error code, with the error text
        Silent,  // 0, with the error text in the error handle and an empty result
    };

    ResizeUses resizeUses = ResizeUses::Proportional;
    ResizeChildren resizeChildren = ResizeChildren::Unchanged;
    Vertex0 vertex0 = Vertex0::Independent;
    RenderDownsample renderDownsample = RenderDownsample::Preview;
    FloatAsLong floatAsLong = FloatAsLong::Truncate;
    ScriptError scriptError = ScriptError::Error;
};

// One question of the model as the command line names it: its key and its values, the default
// first.
struct HostModelKey {
    std::string key;
    std::vector<std::string> values;
};

// Every question, in a fixed order.
const std::vector<HostModelKey>& hostModelKeys();

// Sets one answer from "KEY=VALUE" text. Returns false, with a message naming what was wrong,
// for an unknown key or value.
bool setHostModel(HostModel& model, const std::string& keyEqualsValue, std::string* error);

// The value the model holds for `key` ("" for an unknown key).
std::string hostModelValue(const HostModel& model, const std::string& key);

}  // namespace sim
