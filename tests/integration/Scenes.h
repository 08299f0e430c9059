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

}  // namespace simtest
