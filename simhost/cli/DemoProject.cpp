// The demo's sample project, built as project-file text.
#include "DemoProject.h"

#include <sstream>

namespace sim {

namespace {

// A closed Bezier circle of four vertices, as mask path JSON.
std::string circle(double cx, double cy, double r) {
    const double k = 0.5523 * r;
    std::ostringstream o;
    o << R"({"vertices": [[)" << cx << ", " << cy - r << "], [" << cx + r << ", " << cy << "], ["
      << cx << ", " << cy + r << "], [" << cx - r << ", " << cy << "]], "
      << R"("inTangents": [[)" << -k << ", 0], [0, " << -k << "], [" << k << ", 0], [0, " << k
      << "]], "
      << R"("outTangents": [[)" << k << ", 0], [0, " << k << "], [" << -k << ", 0], [0, " << -k
      << "]]}";
    return o.str();
}

}  // namespace

std::string demoProjectText() {
    std::ostringstream o;
    o << R"({
  "format": "zentrim-project", "version": 1, "bitsPerChannel": 8,
  "activeItem": "Main", "selectedItems": [],
  "items": [
    {"type": "folder", "name": "Precomps"},
    {"type": "solid", "name": "Ring Solid", "width": 300, "height": 300, "color": [0.96, 0.55, 0.1, 1]},
    {"type": "solid", "name": "Core Solid", "width": 110, "height": 110, "color": [0.1, 0.7, 0.75, 1]},
    {"type": "solid", "name": "Bar Solid", "width": 360, "height": 44, "color": [0.42, 0.3, 0.78, 1]},
    {"type": "solid", "name": "Backdrop", "width": 1920, "height": 1080, "color": [0.12, 0.14, 0.2, 1]},
    {"type": "comp", "name": "Logo", "folder": "Precomps", "width": 1920, "height": 1080, "frameRate": 30,
     "duration": 5, "currentTime": 1,
     "layers": [
       {"name": "Core", "source": "Core Solid", "position": [1450, 330, 0], "rotation": 45},
       {"name": "Ring", "source": "Ring Solid", "position": [1450, 330, 0],
        "masks": [{"name": "Outer", "mode": "add", "path": )"
      << circle(150, 150, 150) << R"(},
                  {"name": "Inner", "mode": "subtract", "path": )"
      << circle(150, 150, 95) << R"(}]},
       {"name": "Bar", "source": "Bar Solid", "position": [1450, 540, 0]}
     ]},
    {"type": "comp", "name": "Main", "width": 1920, "height": 1080, "frameRate": 30, "duration": 5,
     "currentTime": 1,
     "layers": [
       {"name": "Logo", "source": "Logo", "selected": true},
       {"name": "Backdrop", "source": "Backdrop"}
     ]}
  ]
})";
    return o.str();
}

}  // namespace sim
