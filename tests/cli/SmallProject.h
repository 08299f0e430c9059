// A small valid project for the command-line tests: "P" used by the selected layer "Use" of the
// active "Main", so that a command that ran would crop and write its outputs.
#pragma once

namespace simtest {

inline const char* const kSmallProject =
    R"({"format": "zentrim-project", "version": 1, "activeItem": "Main",
  "items": [
    {"type": "solid", "name": "Red", "width": 12, "height": 8, "color": [1, 0, 0, 1]},
    {"type": "comp", "name": "P", "width": 64, "height": 48, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Box", "source": "Red", "position": [30, 20, 0]}]},
    {"type": "comp", "name": "Main", "width": 80, "height": 60, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Use", "source": "P", "position": [40, 30, 0], "selected": true}]}
  ]})";

}  // namespace simtest
