// Project texts shared by the command tests.
#pragma once

#include <string>

namespace simtest {

// "P" (400 x 300) holds a red box: 60 x 40 at (150, 120), so its pixels are x 120..179, y 100..139.
// "Main" (800 x 600, active) uses P through the layer "Use" at (400, 300) and has a backdrop.
// Extra layers for Main go before the backdrop; `selectUse` selects "Use".
inline std::string scene(bool selectUse, const std::string& extraMainLayers = "",
                         const std::string& extraItems = "", const std::string& pExtra = "") {
    return std::string(R"({
  "format": "zentrim-project", "version": 1, "bitsPerChannel": 8, "activeItem": "Main",
  "items": [
    {"type": "solid", "name": "Red", "width": 60, "height": 40, "color": [1, 0, 0, 1]},
    {"type": "solid", "name": "Grey", "width": 800, "height": 600, "color": [0.3, 0.3, 0.3, 1]},
    )") + extraItems +
           R"(
    {"type": "comp", "name": "P", "width": 400, "height": 300, "frameRate": 30, "duration": 2)" +
           pExtra + R"(,
     "layers": [{"name": "Box", "source": "Red", "position": [150, 120, 0]}]},
    {"type": "comp", "name": "Main", "width": 800, "height": 600, "frameRate": 30, "duration": 2,
     "layers": [
       {"name": "Use", "source": "P", "position": [400, 300, 0], "selected": )" +
           (selectUse ? "true" : "false") + "},\n" + extraMainLayers + R"(
       {"name": "Backdrop", "source": "Grey"}
     ]}
  ]
})";
}

// "Inner" (active, 400 x 300) holds a static box, a box moving over time, a parented pair and a
// camera; it is used by "Main" twice (plain, with an open outline and a frame whose closing edge
// curves into the content; and scaled and rotated) and by "Other", inside a folder, through a layer
// with a keyframed mask and a time offset.
inline std::string usedThreeWays() {
    return R"({
  "format": "zentrim-project", "version": 1, "bitsPerChannel": 8, "activeItem": "Inner",
  "items": [
    {"type": "folder", "name": "Nest"},
    {"type": "solid", "name": "Red", "width": 60, "height": 40, "color": [1, 0, 0, 1]},
    {"type": "solid", "name": "Blue", "width": 30, "height": 30, "color": [0, 0, 1, 1]},
    {"type": "solid", "name": "Green", "width": 10, "height": 10, "color": [0, 1, 0, 1]},
    {"type": "comp", "name": "Inner", "width": 400, "height": 300, "frameRate": 10, "duration": 2,
     "layers": [
       {"name": "Box", "source": "Red", "position": [150, 120, 0]},
       {"name": "Mover", "source": "Blue", "position": {"keyframes": [
          {"time": 0, "value": [130, 100, 0]}, {"time": 1, "value": [180, 140, 0], "in": "hold"}]}},
       {"name": "Parent", "source": "Green", "position": [170, 150, 0], "rotation": 90},
       {"name": "Child", "source": "Green", "parent": 2, "position": [20, 0, 0]},
       {"name": "Cam", "kind": "camera", "position": [200, 150, -500]}
     ]},
    {"type": "comp", "name": "Main", "width": 800, "height": 600, "frameRate": 10, "duration": 2,
     "layers": [
       {"name": "Use A", "source": "Inner", "position": [400, 300, 0],
        "masks": [{"name": "Open", "mode": "add", "path": {"closed": false,
          "vertices": [[0, 0], [300, 20], [350, 280]], "inTangents": [[0, 0], [0, 0], [-5, 3]],
          "outTangents": [[4, 1], [0, 0], [0, 0]]}},
                  {"name": "Frame", "mode": "add", "path": {
          "vertices": [[90, 70], [260, 70], [260, 200], [90, 200]],
          "inTangents": [[60, 10], [0, 0], [0, 0], [0, 0]], "outTangents": [[0, 0], [0, 0], [0, 0], [50, -10]]}}]},
       {"name": "Use B", "source": "Inner", "position": [200, 150, 0], "scale": [50, 50, 100], "rotation": 90}
     ]},
    {"type": "comp", "name": "Other", "folder": "Nest", "width": 500, "height": 400, "frameRate": 10,
     "duration": 2,
     "layers": [
       {"name": "Use C", "source": "Inner", "position": [250, 200, 0], "startTime": -0.5,
        "anchorPoint": {"keyframes": [{"time": 0, "value": [200, 150, 0], "in": "linear", "out": "hold"},
                                       {"time": 1, "value": [180, 140, 0], "in": "bezier", "out": "bezier"},
                                       {"time": 1.5, "value": [210, 160, 0], "in": "bezier", "out": "linear"}]},
        "masks": [{"name": "Mask 1", "mode": "add", "path": {"keyframes": [
          {"time": 0, "value": {"vertices": [[110, 90], [200, 90], [200, 160], [110, 160]],
                                "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
                                "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}},
          {"time": 1, "value": {"vertices": [[120, 95], [190, 95], [190, 150], [120, 150]],
                                "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
                                "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}}]}}]}
     ]}
  ]
})";
}

}  // namespace simtest
